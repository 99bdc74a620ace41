#!/usr/bin/python3
"""A screen reader's timing through a private speech-dispatcher, sd_orvanel side by side with
espeak-ng's module (where speech-dispatcher-espeak-ng is installed): the first sound of
sentences of 50, 250 and 1,000 characters after speak(), the end event after the last sound,
the silences between three short sentences sent one after another, and the RMS at the
server's volumes -50, 0 and +50. Every figure is measured ROUNDS times; the median is printed
with the range.

Usage: bench/speechd_latency.py --module [LABEL=]SD_ORVANEL... --conf ORVANEL_CONF [--rounds N]
Several --module give a column each (for instance an older build labelled "before"), each under
a server of its own. Needs a PulseAudio null sink (ORVANEL_TEST_SINK, XDG_RUNTIME_DIR;
scripts/sound-server.sh starts one) and what tests/speechd/speechd_e2e.py needs.
"""

import argparse
import os
import shutil
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "speechd"))
import speechd_e2e as e2e  # noqa: E402


def spread(values):
    values = [v for v in values if v is not None]
    if not values:
        return "-"
    return "%.0f (%.0f..%.0f)" % (statistics.median(values), min(values), max(values))


def measure(server, module, sink, rounds):
    client = server.client("bench-" + module)
    client.set_output_module(module)
    events = e2e.Events()
    rows = {}
    try:
        for length in (50, 250, 1000):
            text = e2e.sentence_of(length)
            rows["first sound, %d characters (ms)" % len(text)] = spread(
                [e2e.time_first_sound(client, events, sink, text) for _ in range(rounds)])
        rows["end event after the last sound (ms)"] = spread(
            [e2e.time_end_event(client, events, sink, e2e.END_SENTENCE) for _ in range(rounds)])
        gaps = []
        for _ in range(rounds):
            gaps += e2e.time_gaps(client, events, sink, e2e.SHORTS)
        rows["silence between short sentences (ms)"] = spread(gaps)
        for volume in (-50, 0, 50):
            rows["RMS at volume %+d" % volume] = spread(
                [e2e.level(client, events, sink, volume, e2e.SENTENCE) for _ in range(rounds)])
        client.set_volume(100)
    finally:
        client.close()
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--module", required=True, action="append")
    parser.add_argument("--conf", required=True)
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    sink = os.environ.get("ORVANEL_TEST_SINK")
    if not sink or e2e.speechd is None:
        print("needs ORVANEL_TEST_SINK (scripts/sound-server.sh) and python3-speechd")
        return 77
    e2e.ALL_EVENTS = [e2e.speechd.CallbackType.BEGIN, e2e.speechd.CallbackType.END,
                      e2e.speechd.CallbackType.CANCEL]
    results = {}
    for number, module in enumerate(args.module):
        label, _, path = module.rpartition("=")
        work = tempfile.mkdtemp(prefix="orvanel_speechd_bench_")
        server = e2e.Server(work, path, args.conf)
        try:
            results[label or "orvanel"] = measure(server, "orvanel", sink, args.rounds)
            if server.peer and number == 0:
                results[e2e.PEER] = measure(server, e2e.PEER, sink, args.rounds)
        finally:
            server.stop()
            shutil.rmtree(work, ignore_errors=True)
    columns = list(results)
    print("%-42s" % ("median (range) of %d" % args.rounds) +
          "".join("%-24s" % c for c in columns))
    for row in results[columns[0]]:
        print("%-42s" % row + "".join("%-24s" % results[c][row] for c in columns))
    return 0


if __name__ == "__main__":
    sys.exit(main())
