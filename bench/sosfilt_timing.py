"""Times scipy.signal.sosfilt on the 24-hour, 500 Hz channel of bench_dsp, for
comparison with BM_IirBandPass24h and BM_IirNotch50Hz24h (same orders: a
band-pass 0.5 .. 35 Hz of prototype order 4 and a 48 .. 52 Hz band-stop of
prototype order 2). Run by hand: /usr/bin/python3 bench/sosfilt_timing.py
"""
import time

import numpy as np
from scipy import signal

fs = 500.0
n = int(24 * 3600 * fs)
rng = np.random.default_rng(7)
x = (rng.normal(0, 20, n) + 30 * np.sin(2 * np.pi * 50 * np.arange(n) / fs)).astype(np.float32)
filters = {
    "band-pass 0.5-35 Hz, order 4": signal.butter(4, [0.5, 35], btype="bandpass", fs=fs, output="sos"),
    "band-stop 48-52 Hz, order 2": signal.butter(2, [48, 52], btype="bandstop", fs=fs, output="sos"),
}
for name, sos in filters.items():
    for dtype in (np.float32, np.float64):
        data = x.astype(dtype)
        best = float("inf")
        for _ in range(3):
            start = time.perf_counter()
            signal.sosfilt(sos, data)
            best = min(best, time.perf_counter() - start)
        print(f"sosfilt {name} ({np.dtype(dtype).name}): {best * 1000:.0f} ms")
