#!/usr/bin/python3
"""Docs tool: draws docs/voice/fast-300.png and docs/voice/fast-400.png, one sentence spoken by
`orvanel-say --rate R` above espeak-ng's Turkish voice at the `-s` whose speaking time (first to
last sample above a thirtieth of the peak) is the same within 3 %, both at 22050 Hz, 0-6 kHz, on
one time axis. Prints the speaking times and the espeak-ng speeds.

Needs python3-numpy, python3-matplotlib and espeak-ng from Debian.
Usage: bench/fast_speech_spectrograms.py ORVANEL_SAY [OUTDIR]   (OUTDIR: docs/voice)
"""
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np
import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

TEXT = "Bugün hava çok güzel, yarın da yağmur yağacak."
RATE = 22050


def read(path):
    with wave.open(path, "rb") as w:
        x = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(float) / 32768.0
        rate = w.getframerate()
    if rate != RATE:  # espeak-ng speaks at 22050 Hz too; resample anything else
        t = np.arange(int(len(x) * RATE / rate)) * rate / RATE
        x = np.interp(t, np.arange(len(x)), x)
    return x


def speaking(x):
    loud = np.nonzero(np.abs(x) > np.max(np.abs(x)) / 30)[0]
    return x[loud[0]: loud[-1] + 1]


def espeak(speed, work):
    path = os.path.join(work, "e%d.wav" % speed)
    subprocess.run(["espeak-ng", "-v", "tr", "-s", str(speed), "-w", path, TEXT], check=True)
    return speaking(read(path))


def main():
    say = sys.argv[1]
    out = sys.argv[2] if len(sys.argv) > 2 else "docs/voice"
    with tempfile.TemporaryDirectory() as work:
        for rate in (300, 400):
            path = os.path.join(work, "o%d.wav" % rate)
            subprocess.run([say, "--rate", str(rate), "-w", path, TEXT], check=True)
            ours = speaking(read(path))
            lo, hi, theirs, speed = 80, 1400, None, 0
            while lo <= hi:
                speed = (lo + hi) // 2
                theirs = espeak(speed, work)
                if abs(len(theirs) / len(ours) - 1) <= 0.03:
                    break
                if len(theirs) > len(ours):
                    lo = speed + 1
                else:
                    hi = speed - 1
            print("rate %d: orvanel %.2f s, espeak-ng -s %d %.2f s" % (
                rate, len(ours) / RATE, speed, len(theirs) / RATE))
            length = max(len(ours), len(theirs)) / RATE
            fig, axes = plt.subplots(2, 1, figsize=(12, 6), sharex=True)
            for ax, x, name in ((axes[0], ours, "Orvanel, --rate %d" % rate),
                                (axes[1], theirs, "espeak-ng -v tr -s %d" % speed)):
                ax.specgram(x, NFFT=256, Fs=RATE, noverlap=240, cmap="magma", vmin=-130, vmax=-30)
                ax.set_ylim(0, 6000)
                ax.set_xlim(0, length)
                ax.set_ylabel("Hz")
                ax.set_title("%s: %.2f s" % (name, len(x) / RATE), fontsize=10)
            axes[1].set_xlabel("s")
            fig.suptitle(TEXT, fontsize=11)
            fig.tight_layout()
            fig.savefig(os.path.join(out, "fast-%d.png" % rate), dpi=80)
            plt.close(fig)


if __name__ == "__main__":
    main()
