#!/usr/bin/python3
"""Fast speech against espeak-ng at the same speaking time, on the shared intelligibility proxy.

For every rate R given, speaks the proxy's word list with `orvanel-say --rate R`, measures the
active speech per word, finds the espeak-ng `-s` whose active speech per word is the same (within
3 %, by bisection on the speed), then scores the two sets one after the other in the same run and
prints one table row: active speech per word, forced choice on vowels and on consonants, broad
PER, for both. Active speech of a word: from the first to the last 10 ms frame whose energy is
within 40 dB of the word's loudest frame (the leading and trailing silence do not count; closures
inside the word do). Orvanel's rate 100 is its neutral rendering.

Usage (Debian's python3; the proxy's packages installed, see its README):
  bench/fast_speech_proxy.py --say build/release/cli/orvanel-say \
      --proxy ../shared/tools/intelligibility --work /tmp/fast [--rates 100,150,200,300,400]
      [--repeats 3] [--name LABEL] [--extra "--prosody"]
The figures go to WORK/table.md (appended) and WORK/<label>-<rate>.json.
"""
import argparse
import json
import os
import shlex
import subprocess
import sys
import wave

import numpy as np


def active_seconds(path, frame_s=0.010, floor_db=40.0):
    with wave.open(path, "rb") as w:
        rate = w.getframerate()
        x = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64)
    n = int(rate * frame_s)
    k = len(x) // n
    if k == 0:
        return 0.0
    e = np.mean(x[: k * n].reshape(k, n) ** 2, axis=1) + 1e-9
    edb = 10 * np.log10(e)
    on = np.nonzero(edb > edb.max() - floor_db)[0]
    return (on[-1] - on[0] + 1) * frame_s


def mean_active(folder):
    files = sorted(f for f in os.listdir(folder) if f.endswith(".wav"))
    return float(np.mean([active_seconds(os.path.join(folder, f)) for f in files]))


def synth(proxy, outdir, cmd):
    subprocess.run([sys.executable, os.path.join(proxy, "asr_proxy.py"), "synth", "--outdir", outdir,
                    "--cmd", cmd], check=True, stdout=subprocess.DEVNULL)
    return mean_active(outdir)


def score(proxy, folder, out, repeats, name):
    subprocess.run([sys.executable, os.path.join(proxy, "asr_proxy.py"), "score", "--dir", folder,
                    "--out", out, "--repeats", str(repeats), "--name", name], check=True,
                   stdout=subprocess.DEVNULL)
    with open(out, encoding="utf-8") as f:
        return json.load(f)["summary"]


def espeak_matching(proxy, work, target, tolerance=0.03):
    """The espeak-ng speed (words a minute) whose active speech per word is `target` seconds."""
    lo, hi = 80, 1400
    best = None
    for _ in range(9):
        mid = (lo + hi) // 2
        folder = os.path.join(work, "espeak-s%d" % mid)
        if not os.path.isdir(folder):
            synth(proxy, folder, "espeak-ng -v tr -s %d -w {wav} {text}" % mid)
        got = mean_active(folder)
        if best is None or abs(got - target) < abs(best[1] - target):
            best = (mid, got, folder)
        if abs(got / target - 1) <= tolerance:
            break
        if got > target:
            lo = mid + 1
        else:
            hi = mid - 1
        if lo > hi:
            break
    return best


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--say", required=True)
    ap.add_argument("--proxy", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--rates", default="100,150,200,300,400")
    ap.add_argument("--repeats", type=int, default=3)
    ap.add_argument("--name", default="orvanel")
    ap.add_argument("--extra", default="", help="further orvanel-say options")
    args = ap.parse_args()
    say = os.path.realpath(args.say)
    proxy = os.path.realpath(args.proxy)
    os.makedirs(args.work, exist_ok=True)
    table = os.path.join(args.work, "table.md")
    for rate in [int(r) for r in args.rates.split(",")]:
        label = "%s-%d" % (args.name, rate)
        ours = os.path.join(args.work, label)
        cmd = "%s %s --rate %d -w {wav} {text}" % (shlex.quote(say), args.extra, rate)
        t_ours = synth(proxy, ours, cmd)
        speed, t_espeak, theirs = espeak_matching(proxy, args.work, t_ours)
        s_ours = score(proxy, ours, os.path.join(args.work, label + ".json"), args.repeats, label)
        done = os.path.join(args.work, "espeak-s%d.json" % speed)
        if os.path.exists(done):  # scored in this folder before, at the same settings
            with open(done, encoding="utf-8") as f:
                s_esp = json.load(f)["summary"]
        else:
            s_esp = score(proxy, theirs, done, args.repeats, "espeak-s%d" % speed)
        row = "| %s %d | %.3f | %.1f | %.1f | %.1f | espeak-ng -s %d | %.3f | %.1f | %.1f | %.1f |" % (
            args.name, rate, t_ours, 100 * s_ours["fc_vowel_acc"], 100 * s_ours["fc_consonant_acc"],
            100 * s_ours["per_broad"], speed, t_espeak, 100 * s_esp["fc_vowel_acc"],
            100 * s_esp["fc_consonant_acc"], 100 * s_esp["per_broad"])
        print(row, flush=True)
        with open(table, "a", encoding="utf-8") as f:
            f.write(row + "\n")


if __name__ == "__main__":
    main()
