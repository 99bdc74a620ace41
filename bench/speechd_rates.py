#!/usr/bin/python3
"""Speaking time of one sentence through a private speech-dispatcher at rates -100, -50, 0, +50 and
+100, for sd_orvanel and, when it is installed, espeak-ng's module (Debian's
speech-dispatcher-espeak-ng; needed for this measurement only), in one run.

Uses the machinery of tests/speechd/speechd_e2e.py: a private server with its own configuration
and socket, the sink's monitor recorded with parecord; the speaking time is the loud region of the
recording (first to last sample above a tenth of the peak). Needs a PulseAudio null sink in
ORVANEL_TEST_SINK, as scripts/run-tests.sh makes; bench/speechd_rates.sh starts a private one.

Usage: speechd_rates.py --module SD_ORVANEL --conf ORVANEL_CONF [--text TEXT]
"""
import argparse
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "speechd"))
import speechd_e2e as e2e  # noqa: E402

ESPEAK_MODULE = "/usr/lib/speech-dispatcher-modules/sd_espeak-ng"
ESPEAK_CONF = "/etc/speech-dispatcher/modules/espeak-ng.conf"
RATES = (-100, -50, 0, 50, 100)
TEXT = "Bugün hava çok güzel, yarın da yağmur yağacak."


def espeak_server(work):
    """A private server whose Turkish module is espeak-ng's."""
    server = e2e.Server.__new__(e2e.Server)
    os.makedirs(os.path.join(work, "conf", "modules"))
    os.makedirs(os.path.join(work, "mods"))
    with open(os.path.join(work, "conf", "speechd.conf"), "w") as f:
        f.write(e2e.SPEECHD_CONF.replace('"orvanel" "sd_orvanel" "orvanel.conf"',
                                         '"espeak-ng" "sd_espeak-ng" "espeak-ng.conf"')
                .replace('"orvanel"', '"espeak-ng"'))
    with open(os.path.join(work, "conf", "modules", "espeak-ng.conf"), "w") as f:
        if os.path.exists(ESPEAK_CONF):  # Debian's settings: 80, 170 and 449 words a minute
            with open(ESPEAK_CONF) as system:
                f.write(system.read())
    os.symlink(ESPEAK_MODULE, os.path.join(work, "mods", "sd_espeak-ng"))
    server.work, server.confdir, server.moddir = work, os.path.join(work, "conf"), os.path.join(work, "mods")
    server.socket = os.path.join(work, "spd.sock")
    server.pidfile = os.path.join(work, "spd.pid")
    server.logdir = os.path.join(work, "log")
    os.makedirs(server.logdir)
    server.env = dict(os.environ)
    server.env["SPEECHD_ADDRESS"] = "unix_socket:" + server.socket
    e2e.subprocess.run(["speech-dispatcher", "-d", "-C", server.confdir, "-m", server.moddir,
                        "-S", server.socket, "-P", server.pidfile, "-L", server.logdir, "-t", "0"],
                       env=server.env, check=True, timeout=20)
    for _ in range(100):
        if os.path.exists(server.socket):
            break
        e2e.time.sleep(0.05)
    return server


def measure(server, module, sink, work, text):
    client = e2e.speechd.SSIPClient("rates", socket_path=server.socket, autospawn=False)
    client.set_output_module(module)
    client.set_language("tr")
    events = e2e.Events()
    seconds = {}
    for rate in RATES:
        client.set_rate(rate)
        best = 0.0
        for attempt in range(2):  # the shorter of two: a stalled stream only lengthens
            rec = e2e.Recorder(sink, os.path.join(work, "%s-%d-%d.wav" % (module, rate, attempt)))
            e2e.speak_and_wait(client, events, text)
            b, e = e2e.loud_region(rec.stop())
            s = (e - b) / e2e.RATE
            best = s if best == 0.0 or s < best else best
        seconds[rate] = best
    client.close()
    return seconds


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--module", required=True)
    ap.add_argument("--conf", required=True)
    ap.add_argument("--text", default=TEXT)
    args = ap.parse_args()
    sink = os.environ.get("ORVANEL_TEST_SINK")
    if not sink or e2e.speechd is None:
        sys.exit("needs ORVANEL_TEST_SINK (a PulseAudio null sink) and python3-speechd")
    rows = {}
    with tempfile.TemporaryDirectory() as work:
        server = e2e.Server(os.path.join(work, "orvanel"), args.module, args.conf)
        try:
            rows["sd_orvanel"] = measure(server, "orvanel", sink, work, args.text)
        finally:
            server.stop()
        if os.path.exists(ESPEAK_MODULE):
            server = espeak_server(os.path.join(work, "espeak"))
            try:
                rows["sd_espeak-ng"] = measure(server, "espeak-ng", sink, work, args.text)
            finally:
                server.stop()
    print("| module | " + " | ".join("rate %+d" % r for r in RATES) + " |")
    print("|---|" + "---|" * len(RATES))
    for name, seconds in rows.items():
        print("| %s | " % name + " | ".join("%.2f s" % seconds[r] for r in RATES) + " |")


if __name__ == "__main__":
    main()
