#!/usr/bin/python3
"""Docs tool (not used by the build or the tests): draws docs/units/spectrogram.png from the
committed units, concatenated by hand the way the renderer plays them (onset, repeated vowel
periods, coda), and writes docs/units/units.md, the table of every unit's level and, for the
vowels, LPC F1/F2 against tools/unitgen/vowel_targets.csv.

With --voice RENDER (the orvanel-voicerender program of a build), draws instead
docs/voice/pitch.png and docs/voice/rate.png: one sentence through the controlled rendering at
-6, 0 and +6 semitones and at rate 50, 100 and 300.

Needs python3-numpy and python3-matplotlib from Debian.
Usage: tools/spectrogram.py [REPO]   or   tools/spectrogram.py --voice RENDER [REPO]
   or   tools/spectrogram.py --prosody PROSODY_RENDER [REPO]  (docs/prosody/pitch-tracks.png: the
        F0 measured on speech rendered through the prosody path, over its spectrogram, beside the
        pitch targets of every vowel)
"""
import csv
import os
import sys

import numpy as np
import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

RATE = 22050
VOICE = len(sys.argv) > 2 and sys.argv[1] == "--voice"
PROSODY = len(sys.argv) > 2 and sys.argv[1] == "--prosody"
ARGS = sys.argv[3:] if VOICE or PROSODY else sys.argv[1:]
REPO = ARGS[0] if ARGS else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
UNITS = os.path.join(REPO, "units")


def unit(name):
    return np.fromfile(os.path.join(UNITS, name), "<i2").astype(float) / 32768.0


def word(parts):
    """parts: unit names, or (name, count) for a vowel period repeated count times."""
    out = []
    for p in parts:
        name, count = (p, 1) if isinstance(p, str) else p
        out.extend([unit(name)] * count)
    return np.concatenate(out)


# "Bee" (no front mark, so the back-set onset): B_PRE + 28 periods of e (255 ms at speed 50).
WORDS = [
    ("Bee", ["B_PRE", ("E_1", 28)]),
    ("Kırk", ["K_PRE", ("I_1", 14), "R", "K_POST"]),
    ("DoKuz", ["D_PRE", ("O_1", 14), "K_PRE", ("U_1", 14), "Z_POST"]),
]


def lpc(x, order=24, pre=0.9):
    y = np.append(x[0], x[1:] - pre * x[:-1]) * np.hamming(len(x))
    r = np.array([np.dot(y[: len(y) - k], y[k:]) for k in range(order + 1)])
    a = np.zeros(order + 1)
    a[0] = 1.0
    err = r[0]
    for i in range(1, order + 1):
        k = -(r[i] + np.dot(a[1:i], r[i - 1 : 0 : -1])) / err
        a[1:i] = a[1:i] + k * a[i - 1 : 0 : -1]
        a[i] = k
        err *= 1 - k * k
    return a


def formants(period):
    a = lpc(np.tile(period, 8))
    f = np.arange(100, 5200, 2.0)
    w = 2 * np.pi * f / RATE
    p = 1.0 / np.abs(np.exp(-1j * np.outer(w, np.arange(len(a)))) @ a) ** 2
    peaks = [f[i] for i in range(1, len(f) - 1) if 150 <= f[i] <= 5000 and p[i] > p[i - 1] and p[i] >= p[i + 1]]
    return peaks[:2]


def db(v):
    return 20 * np.log10(max(v, 1e-12))


def spectrogram(path):
    fig, axes = plt.subplots(len(WORDS), 1, figsize=(10, 9))
    for ax, (title, parts) in zip(axes, WORDS):
        x = word(parts)
        ax.specgram(x, NFFT=256, Fs=RATE, noverlap=224, cmap="magma", vmin=-140, vmax=-40)
        ax.set_title(f'"{title}": ' + " + ".join(p if isinstance(p, str) else f"{p[1]}×{p[0]}" for p in parts))
        ax.set_ylabel("Hz")
        ax.set_ylim(0, 8000)
        t = 0.0
        for p in parts:
            name, count = (p, 1) if isinstance(p, str) else p
            t += count * len(unit(name)) / RATE
            ax.axvline(t, color="cyan", lw=0.6, alpha=0.6)
    axes[-1].set_xlabel("s")
    fig.tight_layout()
    fig.savefig(path, dpi=90)


def table(path):
    targets = {}
    with open(os.path.join(REPO, "tools", "unitgen", "vowel_targets.csv"), encoding="utf-8") as f:
        rows = [line for line in f if not line.startswith("#") and line.strip()]
    for row in csv.DictReader(rows):
        targets[row["unit"]] = row
    lines = ["# The 56 sound units", "",
             "Made by `orvanel-unitgen` (tools/unitgen). Levels over the whole unit; for the vowels,",
             "F1/F2 measured by LPC (order 24, pre-emphasis 0.9) on the period tiled 8 times, as",
             "`tests/units` measures them, against `tools/unitgen/vowel_targets.csv`.",
             "Regenerate this table and `spectrogram.png` with `tools/spectrogram.py`.", "",
             "| unit | samples | ms | RMS dBFS | peak dBFS | F1 Hz (target) | F2 Hz (target) |",
             "|---|---|---|---|---|---|---|"]
    names = sorted(os.listdir(UNITS), key=lambda n: (not n.endswith("_1"), n))
    for n in names:
        if n.endswith((".md", ".txt", ".csv")):
            continue
        x = unit(n)
        rms, peak = db(np.sqrt(np.mean(x ** 2))), db(np.abs(x).max())
        f1 = f2 = ""
        if n in targets:
            m = formants(x)
            t = targets[n]
            f1 = f"{m[0]:.0f} ({t['f1_hz']})"
            f2 = f"{m[1]:.0f} ({t['f2_hz']})"
        lines.append(f"| {n} | {len(x)} | {1000 * len(x) / RATE:.1f} | {rms:.1f} | {peak:.1f} | {f1} | {f2} |")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


SENTENCE = "Bugün hava çok güzel, yarın da yağmur yağacak."


def rendered(render, rate, semitones):
    import subprocess
    import tempfile

    with tempfile.NamedTemporaryFile(suffix=".raw") as f:
        subprocess.run([render, str(rate), str(semitones), f.name, SENTENCE], check=True,
                       stdout=subprocess.DEVNULL)
        return np.fromfile(f.name, "<i2").astype(float) / 32768.0


def voice_spectrograms(render, out):
    for name, cases in (("pitch", [(100, -6), (100, 0), (100, 6)]),
                        ("rate", [(50, 0), (100, 0), (300, 0)])):
        signals = [rendered(render, r, st) for r, st in cases]
        fig, axes = plt.subplots(len(cases), 1, figsize=(11, 9))
        for ax, (r, st), x in zip(axes, cases, signals):
            ax.specgram(x, NFFT=512, Fs=RATE, noverlap=448, cmap="magma", vmin=-140, vmax=-40)
            ax.set_title(f'"{SENTENCE}"  rate {r} %, {st:+d} semitones, {len(x) / RATE:.2f} s')
            ax.set_ylabel("Hz")
            ax.set_ylim(0, 5000 if name == "pitch" else 8000)
            ax.set_xlim(0, len(x) / RATE)  # each on its own time scale, to see its structure
        axes[-1].set_xlabel("s")
        fig.tight_layout()
        fig.savefig(os.path.join(out, f"{name}.png"), dpi=80)
        plt.close(fig)
    # The low band of the pitch figure in detail: the harmonics show the pitch, the formants
    # (the dark bands between them) the vowel quality.
    fig, axes = plt.subplots(3, 1, figsize=(11, 8))
    for ax, st in zip(axes, (-6, 0, 6)):
        x = rendered(render, 100, st)
        ax.specgram(x[: RATE * 2], NFFT=1024, Fs=RATE, noverlap=960, cmap="magma", vmin=-140, vmax=-40)
        ax.set_title(f"first 2 s, {st:+d} semitones: harmonics up to 1500 Hz")
        ax.set_ylim(0, 1500)
        ax.set_ylabel("Hz")
    axes[-1].set_xlabel("s")
    fig.tight_layout()
    fig.savefig(os.path.join(out, "pitch-harmonics.png"), dpi=80)
    plt.close(fig)


PROSODY_SENTENCES = [
    ("statement", "Annem bugün eve geldi."),
    ("yes/no question with mI", "Annem bugün eve geldi mi?"),
    ("question word", "Annem bugün nereye gitti?"),
    ("list with commas", "Elma, armut, muz ve üzüm aldım."),
    ("exclamation", "Annem bugün eve geldi!"),
]


def f0_track(x, hop=110, window=662):
    """F0 every 5 ms by normalised autocorrelation over 30 ms (70..180 Hz); NaN where unvoiced."""
    lo, hi = int(RATE / 180), int(RATE / 70)
    times, f0 = [], []
    level = np.sqrt(np.mean(x ** 2)) if len(x) else 0
    for start in range(0, len(x) - window - hi, hop):
        a = x[start:start + window]
        if np.sqrt(np.mean(a ** 2)) < 0.1 * level:
            times.append((start + window / 2) / RATE)
            f0.append(np.nan)
            continue
        r = np.array([np.dot(a, x[start + lag:start + lag + window]) /
                      np.sqrt(np.dot(a, a) * np.dot(x[start + lag:start + lag + window],
                                                    x[start + lag:start + lag + window]) + 1e-20)
                      for lag in range(lo, hi + 1)])
        best = int(np.argmax(r))
        # the shortest lag nearly as good as the best one: no doubled periods
        for k in range(1, best):
            if r[k] >= 0.9 * r[best] and r[k] >= r[k - 1] and r[k] >= r[k + 1]:
                best = k
                break
        times.append((start + window / 2) / RATE)
        f0.append(RATE / (lo + best) if r[best] > 0.8 else np.nan)
    f0 = np.array(f0)
    # a 5-frame median: single frames across a consonant join are no pitch
    smooth = np.full_like(f0, np.nan)
    for i in range(2, len(f0) - 2):
        w = f0[i - 2:i + 3]
        if not np.isnan(w).any():
            smooth[i] = np.median(w)
    return np.array(times), smooth


def prosody_tracks(render, out):
    import subprocess
    import tempfile

    fig, axes = plt.subplots(len(PROSODY_SENTENCES), 1, figsize=(11, 13))
    base = RATE / 194.0
    for ax, (kind, sentence) in zip(axes, PROSODY_SENTENCES):
        with tempfile.TemporaryDirectory() as d:
            raw, targets = os.path.join(d, "s.raw"), os.path.join(d, "t.csv")
            subprocess.run([render, sentence, raw, targets], check=True, stdout=subprocess.DEVNULL)
            x = np.fromfile(raw, "<i2").astype(float) / 32768.0
            with open(targets, encoding="utf-8") as f:
                rows = list(csv.DictReader(f))
        end = len(x) / RATE
        ax.specgram(x, NFFT=2048, Fs=RATE, noverlap=1980, cmap="magma", vmin=-140, vmax=-40)
        ax.set_ylim(60, 200)  # the first harmonic: the pitch itself
        ax.set_ylabel("Hz")
        t, f0 = f0_track(x)
        ax.plot(t, f0, color="cyan", lw=2, label="F0 measured on the audio")
        for i, row in enumerate(rows):
            t0, t1 = float(row["start_ms"]) / 1000, float(row["end_ms"]) / 1000
            y0 = base * 2 ** (float(row["start_st"]) / 12)
            y1 = base * 2 ** (float(row["end_st"]) / 12)
            ax.plot([t0, t1], [y0, y1], color="white", lw=1, ls="--",
                    label="vowel targets" if i == 0 else None)
        voiced = f0[~np.isnan(f0)]
        peak_t = t[np.nanargmax(f0)] if len(voiced) else 0
        ax.axvline(peak_t, color="yellow", lw=0.8, alpha=0.8)
        ax.set_title(f'{kind}: "{sentence}"  F0 {np.nanmin(f0):.0f}-{np.nanmax(f0):.0f} Hz, '
                     f"peak at {peak_t:.2f} s")
        ax.set_xlim(0, end - 0.6)  # without most of the closing pause
        ax.legend(loc="upper right", fontsize=8)
    axes[-1].set_xlabel("s")
    fig.tight_layout()
    fig.savefig(os.path.join(out, "pitch-tracks.png"), dpi=80)
    plt.close(fig)


if __name__ == "__main__" and PROSODY:
    out = os.path.join(REPO, "docs", "prosody")
    os.makedirs(out, exist_ok=True)
    prosody_tracks(sys.argv[2], out)
elif __name__ == "__main__" and VOICE:
    out = os.path.join(REPO, "docs", "voice")
    os.makedirs(out, exist_ok=True)
    voice_spectrograms(sys.argv[2], out)
elif __name__ == "__main__":
    out = os.path.join(REPO, "docs", "units")
    os.makedirs(out, exist_ok=True)
    spectrogram(os.path.join(out, "spectrogram.png"))
    table(os.path.join(out, "units.md"))
