#!/usr/bin/python3
"""What speech-dispatcher hands an output module for a text, under a given server configuration.

Starts a private speech-dispatcher (its own socket, runtime and module folder; nothing of the
system's set-up is touched) with a stand-in output module that answers the module protocol,
sends no audio and records the data of every SPEAK, then speaks each text through
python3-speechd, as a screen reader does, and prints what the module received.

Usage: speechd_capture.py [--conf SPEECHD_CONF] [--punctuation none,some,most,all] TEXT...
  --conf          the server configuration to start from (default: Debian's
                  /etc/speech-dispatcher/speechd.conf, which has SymbolsPreproc "char")
  --punctuation   the client's punctuation levels to try (default: some)
Prints one line per text and level: the level, the text as sent and the module's data, each
as a Python string literal.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import speechd
except ImportError:
    speechd = None


def stand_in_module(record):
    """The module side: reads the protocol on stdin, appends each SPEAK's data to record."""
    out = sys.stdout.buffer
    inp = sys.stdin.buffer

    def send(text):
        out.write(text.encode())
        out.flush()

    while True:
        line = inp.readline()
        if not line:
            return
        command = line.rstrip(b"\n").decode("utf-8", "replace")
        if command == "INIT":
            send("299-capture ready\n299 OK LOADED SUCCESSFULLY\n")
        elif command in ("AUDIO", "LOGLEVEL", "SET"):
            send("207 OK RECEIVING SETTINGS\n")
            while inp.readline().rstrip(b"\n") != b".":
                pass
            send({"AUDIO": "203 OK AUDIO INITIALIZED\n", "LOGLEVEL": "203 OK LOGLEVEL SET\n",
                  "SET": "203 OK SETTINGS RECEIVED\n"}[command])
        elif command == "LIST VOICES":
            send("200-capture\ttr\tnone\n200 OK VOICE LIST SENT\n")
        elif command in ("SPEAK", "CHAR", "KEY", "SOUND_ICON"):
            send("202 OK RECEIVING MESSAGE\n")
            data = []
            while True:
                part = inp.readline().rstrip(b"\n")
                if part == b".":
                    break
                data.append(part[1:] if part.startswith(b"..") else part)
            send("200 OK SPEAKING\n")
            with open(record, "ab") as f:
                f.write(repr(b"\n".join(data).decode("utf-8", "replace")).encode() + b"\n")
            send("701 BEGIN\n702 END\n")
        elif command == "QUIT":
            send("210 OK QUIT\n")
            return
        elif command in ("STOP", "PAUSE"):
            pass
        else:
            send("300 ERR UNKNOWN COMMAND\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--conf", default="/etc/speech-dispatcher/speechd.conf")
    parser.add_argument("--punctuation", default="some")
    parser.add_argument("--stand-in", help=argparse.SUPPRESS)
    parser.add_argument("texts", nargs="*")
    args = parser.parse_args()
    if args.stand_in:
        stand_in_module(args.stand_in)
        return 0
    if speechd is None or not shutil.which("speech-dispatcher"):
        print("needs speech-dispatcher and python3-speechd", file=sys.stderr)
        return 1

    work = tempfile.mkdtemp(prefix="speechd_capture_")
    conf, mods = os.path.join(work, "conf"), os.path.join(work, "mods")
    os.makedirs(os.path.join(conf, "modules"))
    os.makedirs(mods)
    os.makedirs(os.path.join(work, "log"))
    record = os.path.join(work, "record")
    with open(args.conf) as f:
        base = f.read()
    # The configuration as given (its Include lines find nothing here), with the stand-in as the
    # only module.
    with open(os.path.join(conf, "speechd.conf"), "w") as f:
        f.write(base + '\nAddModule "capture" "sd_capture" "capture.conf"\n'
                'DefaultModule "capture"\nLanguageDefaultModule "tr" "capture"\n')
    open(os.path.join(conf, "modules", "capture.conf"), "w").close()
    module = os.path.join(mods, "sd_capture")
    with open(module, "w") as f:
        f.write("#!/bin/sh\nexec /usr/bin/python3 %s --stand-in %s\n"
                % (os.path.realpath(__file__), record))
    os.chmod(module, 0o755)
    env = dict(os.environ)
    env.setdefault("XDG_RUNTIME_DIR", work)
    socket = os.path.join(work, "spd.sock")
    pidfile = os.path.join(work, "spd.pid")
    subprocess.run(["speech-dispatcher", "-d", "-C", conf, "-m", mods, "-S", socket,
                    "-P", pidfile, "-L", os.path.join(work, "log"), "-t", "0"],
                   env=env, check=True, timeout=20)
    for _ in range(100):
        if os.path.exists(socket):
            break
        time.sleep(0.05)
    client = speechd.SSIPClient("capture", socket_path=socket, autospawn=False)
    status = 0
    try:
        client.set_output_module("capture")
        client.set_language("tr")
        for level in args.punctuation.split(","):
            client.set_punctuation(getattr(speechd.PunctuationMode, level.upper()))
            for text in args.texts:
                before = os.path.getsize(record) if os.path.exists(record) else 0
                client.speak(text)
                deadline = time.monotonic() + 5
                while time.monotonic() < deadline:
                    if os.path.exists(record) and os.path.getsize(record) > before:
                        break
                    time.sleep(0.02)
                time.sleep(0.05)
                with open(record, "rb") as f:
                    f.seek(before)
                    got = f.read().decode().strip()
                if not got:
                    status = 1
                print("%-5s %r -> %s" % (level, text, got or "(nothing)"), flush=True)
    finally:
        client.close()
        with open(pidfile) as f:
            pid = int(f.read().strip() or 0)
        if pid:
            try:
                os.kill(pid, 15)
            except ProcessLookupError:
                pass
        time.sleep(0.3)
        shutil.rmtree(work, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
