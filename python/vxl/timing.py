"""The library's stopwatch, and a clock that keeps a steady frame rate."""

from __future__ import annotations

import time

from . import api


def start_timer() -> None:
    api.StartTimer()


def stop_timer() -> None:
    api.StopTimer()


def reset_timer() -> None:
    api.ResetTimer()


def timer() -> float:
    """Milliseconds on the stopwatch since start_timer (held while stopped)."""
    return api.Timer()


class Clock:
    """Paces a loop: ``clock.tick(60)`` at the end of each frame sleeps what is left of a sixtieth of
    a second since the previous tick, and answers the seconds the frame took in all."""

    def __init__(self) -> None:
        self._last = time.perf_counter()

    def tick(self, fps: float) -> float:
        target = self._last + 1.0 / fps
        now = time.perf_counter()
        if now < target:
            time.sleep(target - now)
            now = time.perf_counter()
        elapsed = now - self._last
        # Frames are counted from their planned start, so the pace holds; after a long stall it
        # starts afresh instead of rushing to catch up.
        self._last = now if now - target > 0.1 else target
        return elapsed
