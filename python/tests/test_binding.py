"""The binding against vxl.h, and failures turned into exceptions."""

import re
from pathlib import Path

import pytest

import vxl
from vxl import api

HEADER = Path(__file__).resolve().parents[2] / "include" / "vxl.h"


def test_every_export_is_bound_with_its_arity_and_every_key_named():
    text = HEADER.read_text()
    declared = {}
    for name, args in re.findall(r"VXL_API\s+[\w\s\*]+?\b(\w+)\(([^)]*)\);", text, re.S):
        args = args.strip()
        declared[name] = 0 if args in ("", "void") else args.count(",") + 1
    bound = {name: len(arguments) for name, _, arguments, _ in api.SIGNATURES}
    assert bound == declared
    keys = {n if not n[0].isdigit() else "DIGIT" + n: int(v, 16)
            for n, v in re.findall(r"#define VXL_KEY_(\w+) (0x[0-9A-Fa-f]+)", text)}
    assert {k.name: k.value for k in vxl.Key} == keys


# action, words of the library's text, whether a display is open
FAILURES = [
    (lambda: vxl.Buffer(8, 8), "[TBufferVx]Create -> No display open", False),
    (lambda: vxl.set_font("/no/such/font.ttf", 12), "font", False),
    (lambda: vxl.Buffer.load("missing.png"), "missing.png", True),
    (lambda: vxl.Buffer(4, 4).save("no/such/folder/x.png"), "x.png", True),
    (lambda: vxl.Buffer(4, 4).save("x.tga"), "[TBufferVx]SaveImage", True),
]


@pytest.mark.parametrize("action, text, with_display", FAILURES)
def test_failures_raise_with_the_library_text_and_the_interpreter_lives(action, text, with_display):
    display = vxl.Display(320, 240) if with_display else None
    with pytest.raises(vxl.VxlError, match=re.escape(text)):
        action()
    assert api.VxlLastError() == b""  # raised once, then forgotten
    if display:
        display.close()
