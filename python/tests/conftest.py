"""Shared set-up: the library under test (VXL_LIBRARY, set by the build), SDL's dummy driver unless a
test asks for a real display, and a scratch working folder so VXL_ERR.txt lands somewhere disposable."""

import os

import pytest

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")


@pytest.fixture(autouse=True)
def scratch(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    return tmp_path


@pytest.fixture
def display():
    import vxl

    with vxl.Display(320, 240) as d:
        yield d
