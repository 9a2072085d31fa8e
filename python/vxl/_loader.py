"""Finds and loads ``libvxl.so``."""

from __future__ import annotations

import ctypes
import ctypes.util
import os
from pathlib import Path

_HELP = (
    "cannot find libvxl.so: build it (`make lib` in the VXL source tree) and set VXL_LIBRARY to its path "
    "(build-lib/src/libvxl.so), install it (`make install`, then `ldconfig`), or install this package with "
    "VXL_LIBRARY set so that it carries a copy"
)


def _candidates() -> list[str]:
    found = []
    if os.environ.get("VXL_LIBRARY"):
        found.append(os.environ["VXL_LIBRARY"])
    here = Path(__file__).resolve().parent
    found += sorted(str(p) for p in here.glob("libvxl.so*"))
    system = ctypes.util.find_library("vxl")
    if system:
        found.append(system)
    return found


def load() -> ctypes.CDLL:
    """The library: VXL_LIBRARY if set, else the copy next to this package, else the system's."""
    errors = []
    for path in _candidates():
        try:
            return ctypes.CDLL(path)
        except OSError as e:
            errors.append(f"{path}: {e}")
    raise ImportError(_HELP + ("" if not errors else " (tried " + "; ".join(errors) + ")"))
