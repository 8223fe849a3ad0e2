"""Compares the library's spectra and filters with numpy and scipy.

Usage: check_against_numpy.py <dsp_reference_dump program>

The dump program writes seeded inputs and the library's outputs; this script
computes the same quantities independently:
  * power spectra: the one-sided density |X|^2 / N (doubled above bin 0,
    divided by fs) of the windowed block, with numpy.fft; error below 1e-4 of
    the spectrum's maximum;
  * IIR filters: |H| of the impulse response against the textbook Butterworth
    and Chebyshev type I responses built from scipy's analog prototypes, with
    the pass-band attenuation Ap at the cut frequency and (even Chebyshev
    orders) unit gain in the pass band; within 1e-4 on a frequency grid;
  * FIR filters: the Kaiser-window taps from their formula (scipy's I0), tap
    for tap, and the filtered block against numpy.convolve;
  * polynomial smoothing: inside the block, scipy's Savitzky-Golay filter of
    degree 2 over the same window;
  * auto- and cross-correlation: the mean-removed circular correlation over
    the energies, computed directly with numpy.
"""
import os
import subprocess
import sys
import tempfile

import numpy as np
from scipy import signal, special

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def load(folder, name, what):
    return np.fromfile(os.path.join(folder, f"{name}.{what}.f32"), dtype="<f4").astype(np.float64)


def window(n, kind):
    i = np.arange(n)
    m = n - 1
    if kind == 1:
        return 0.54 - 0.46 * np.cos(2 * np.pi * i / m)
    if kind == 2:
        return 0.5 - 0.5 * np.cos(2 * np.pi * i / m)
    if kind == 3:
        return 0.423 - 0.498 * np.cos(2 * np.pi * i / m) + 0.0792 * np.cos(4 * np.pi * i / m)
    if kind == 4:
        c = n // 10
        w = np.ones(n)
        w[:c] = (1 - np.cos(np.pi * i[:c] / c)) / 2
        w[n - c:] = (1 - np.cos(np.pi * (n - 1 - i[n - c:]) / c)) / 2
        return w
    return np.ones(n)


def check_fft(folder, name, n, kind, unit, fs):
    x = load(folder, name, "in")
    ours = load(folder, name, "out")
    if kind != 0:
        x = (x - x.mean()) * window(n, kind)
    spectrum = np.fft.fft(x)[: n // 2 + 1]
    p = np.abs(spectrum) ** 2 / n
    p[1:] *= 2
    p /= fs
    if unit == 1:
        p = np.sqrt(p)
    error = np.max(np.abs(ours - p)) / np.max(p)
    check(error < 1e-4, f"{name}: spectrum error {error:.2e} of the maximum, expected below 1e-4")


def check_iir(folder, name, prototype, process, fs, e1, e2, ap, as_, c1, c2, order):
    h = load(folder, name, "out")
    check(np.max(np.abs(h[-2048:])) < 1e-7, f"{name}: impulse response has not decayed")
    ours = np.abs(np.fft.rfft(h))
    bins = np.linspace(1, len(ours) - 2, 400).astype(int)
    omega = 2 * np.pi * bins / len(h)
    if prototype == 0:
        eps = np.sqrt(10 ** (ap / 10) - 1)
        z, p, k = signal.buttap(order)
        z, p, k = signal.lp2lp_zpk(z, p, k, wo=eps ** (-1.0 / order))
    else:
        z, p, k = signal.cheb1ap(order, ap)
    warp = lambda f: 2 * np.tan(np.pi * f / fs)  # bilinear transform with T = 1
    lo, hi = sorted((min(c1, fs / 2), min(c2, fs / 2)))
    if process == 0:
        z, p, k = signal.lp2lp_zpk(z, p, k, wo=warp(c1))
    elif process == 1:
        z, p, k = signal.lp2hp_zpk(z, p, k, wo=warp(c1))
    elif process == 2:
        z, p, k = signal.lp2bp_zpk(z, p, k, wo=np.sqrt(warp(lo) * warp(hi)), bw=warp(hi) - warp(lo))
    else:
        z, p, k = signal.lp2bs_zpk(z, p, k, wo=np.sqrt(warp(lo) * warp(hi)), bw=warp(hi) - warp(lo))
    z, p, k = signal.bilinear_zpk(z, p, k, fs=1.0)
    _, reference = signal.freqz_zpk(z, p, k, worN=omega)
    reference = np.abs(reference)
    if prototype == 1 and order % 2 == 0:
        reference *= 10 ** (ap / 20)
    error = np.max(np.abs(ours[bins] - reference))
    check(error < 1e-4, f"{name} (prototype {prototype}, process {process}, order {order}): "
                        f"|H| differs by {error:.2e}, expected below 1e-4")


def fir_taps(kind, low, high, attn, taps, fs):
    half = taps // 2
    if kind == 0:
        fc = low
    elif kind == 1:
        fc = fs / 2 - low
    else:
        fc = (high - low) / 2
    if attn >= 50:
        beta = 0.1102 * (attn - 8.7)
    elif attn >= 21:
        beta = 0.5842 * (attn - 21) ** 0.4 + 0.07886 * (attn - 21)
    else:
        beta = 0.0
    j = np.arange(half + 1, dtype=np.float64)
    x = 2 * j / taps
    w = special.i0(beta * np.sqrt(1 - x ** 2)) / special.i0(beta)
    h = np.empty(half + 1)
    h[0] = 2 * fc / fs
    h[1:] = w[1:] * np.sin(2 * np.pi * j[1:] * fc / fs) / (np.pi * j[1:])
    h /= h[0] + 2 * np.sum(h[1:])
    if kind == 1:
        h *= (-1.0) ** j
    elif kind in (2, 3):
        w0 = np.pi * (high + low) / fs
        if kind == 2:
            h *= 2 * np.cos(w0 * j)
        else:
            h[1:] *= -2 * np.cos(w0 * j[1:])
            h[0] = 1 - 2 * h[0]
    return h


def check_fir(folder, name, kind, low, high, attn, taps, fs, n):
    ours = load(folder, name, "taps")
    h = fir_taps(kind, low, high, attn, taps, fs)
    error = np.max(np.abs(ours[: len(h)] - h))
    check(error < 1e-6, f"{name}: taps differ by {error:.2e}, expected below 1e-6")
    check(np.all(ours[len(h):] == 0), f"{name}: coefficients past L/2 are not zero")
    layout = np.array([h[abs(k - taps // 2)] for k in range(taps)])
    x = load(folder, name, "in")
    y = np.convolve(x, layout)[:n]
    error = np.max(np.abs(load(folder, name, "out") - y)) / np.max(np.abs(y))
    check(error < 1e-5, f"{name}: filtered block differs by {error:.2e} of its maximum")


def check_smoothing(folder, name, count):
    x = load(folder, name, "in")
    ours = load(folder, name, "out")
    m = count // 2
    reference = signal.savgol_filter(x, 2 * m + 1, 2, mode="interp")
    error = np.max(np.abs(ours[m:-m] - reference[m:-m]))
    check(error < 1e-5, f"{name}: smoothing differs by {error:.2e} inside the block")


def check_correlation(folder, name, n):
    x = load(folder, name, "x")
    y = load(folder, name, "y")
    x = x - x.mean()
    y = y - y.mean()
    lags = np.arange(n)
    auto = np.array([np.dot(np.roll(x, -k), x) for k in lags[: n // 2]]) / np.dot(x, x)
    cross = np.array([np.dot(np.roll(x, -k), y) for k in lags]) / np.sqrt(np.dot(x, x) * np.dot(y, y))
    error = np.max(np.abs(load(folder, name, "auto") - auto))
    check(error < 1e-5, f"autocorrelation differs by {error:.2e}")
    error = np.max(np.abs(load(folder, name, "cross") - cross))
    check(error < 1e-5, f"cross-correlation differs by {error:.2e}")


def main():
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([sys.argv[1], folder], check=True)
        counts = {}
        with open(os.path.join(folder, "cases.txt")) as cases:
            for line in cases:
                kind, name, *values = line.split()
                numbers = [float(v) for v in values]
                counts[kind] = counts.get(kind, 0) + 1
                if kind == "fft":
                    n, w, unit, fs = numbers
                    check_fft(folder, name, int(n), int(w), int(unit), fs)
                elif kind == "iir":
                    prototype, process, *rest, order = numbers
                    check_iir(folder, name, int(prototype), int(process), *rest, int(order))
                elif kind == "fir":
                    fkind, low, high, attn, taps, fs, n = numbers
                    check_fir(folder, name, int(fkind), low, high, attn, int(taps), fs, int(n))
                elif kind == "smooth":
                    check_smoothing(folder, name, int(numbers[0]))
                elif kind == "corr":
                    check_correlation(folder, name, int(numbers[0]))
    check(counts.get("fft", 0) == 30, f"expected 30 spectra, got {counts.get('fft', 0)}")
    check(counts.get("iir", 0) == 16, f"expected 16 IIR designs, got {counts.get('iir', 0)}")
    check(counts.get("fir", 0) == 5, f"expected 5 FIR designs, got {counts.get('fir', 0)}")
    check(counts.get("smooth", 0) == 3, f"expected 3 smoothings, got {counts.get('smooth', 0)}")
    check(counts.get("corr", 0) == 1, "the correlations are missing")
    for message in failures:
        print("FAIL:", message)
    print(f"{sum(counts.values())} cases compared, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
