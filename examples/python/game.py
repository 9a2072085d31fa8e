#!/usr/bin/env python3
"""Star catcher: a small but complete VXL game in Python.

Arrow keys (or a gamepad's left stick) move the basket, the mouse wheel changes its speed, a click
drops a star where the pointer is; catch the falling stars. Escape or closing the window ends it.
Sprites come from sprites.png (the basket and the star side by side, magenta for transparent).
Without a display it plays itself for a few seconds on SDL's dummy driver and writes some frames to
game-frames/ as PNG files.
"""

import os
import random
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "python"))  # run from the source tree without installing

HEADLESS = not (os.environ.get("DISPLAY") or os.environ.get("WAYLAND_DISPLAY"))
if HEADLESS:
    os.environ.setdefault("SDL_VIDEODRIVER", "dummy")

import vxl  # noqa: E402

W, H, FPS = 640, 480, 60


def main(frames: int = -1) -> int:
    with vxl.Display(W, H, title="Star catcher") as display:
        magenta = vxl.rgb(255, 0, 255)
        sheet = vxl.Buffer.load(HERE / "sprites.png")
        basket, star = vxl.Buffer(48, 24), vxl.Buffer(16, 16)
        basket.blit_part(sheet, (0, 0, 47, 23), 0, 0)
        star.blit_part(sheet, (48, 0, 63, 15), 0, 0)
        frame, glow = vxl.Buffer(W, H), vxl.Buffer(W, 40)
        glow.shaded_rect(0, 0, W, 40, (vxl.rgb(0, 0, 0), vxl.rgb(0, 0, 0), vxl.rgb(60, 40, 120),
                                       vxl.rgb(60, 40, 120)))
        clock, rng = vxl.Clock(), random.Random(7)
        x, speed, score, missed = W // 2 - 24, 6, 0, 0
        stars = []
        if HEADLESS:
            Path("game-frames").mkdir(exist_ok=True)
        n = 0
        while display.poll() and not vxl.key_down(vxl.Key.ESCAPE) and n != frames:
            # Input: held keys and the pad move, taps are counted, the wheel sets the speed.
            speed = max(2, min(16, speed + vxl.mouse_wheel()))
            pad = vxl.Pad(0) if vxl.pad_count() else None
            move = (vxl.key_down(vxl.Key.RIGHT) - vxl.key_down(vxl.Key.LEFT)) * speed
            if pad:
                move += pad.axis(0) * speed // 32768
            if HEADLESS and stars:  # plays itself: follows the lowest star
                move = max(-speed, min(speed, stars[0][0] - 16 - x))
            x = max(0, min(W - 48, x + move))
            for _ in range(vxl.mouse_hits(0)):
                stars.append([vxl.mouse_position()[0], 0])
            if rng.random() < 0.04:
                stars.append([rng.randrange(8, W - 24), -16])
            for s in stars:
                s[1] += 3
            caught = [s for s in stars if H - 40 <= s[1] <= H - 20 and x - 12 <= s[0] <= x + 44]
            score += len(caught)
            missed += sum(1 for s in stars if s[1] > H)
            stars = [s for s in stars if s not in caught and s[1] <= H]

            # Drawing: background, a glow blended in, sprites with their key, text.
            frame.fill(vxl.rgb(8, 8, 32))
            frame.blend(glow, 0, H - 40, 160)
            for sx, sy in stars:
                frame.blit(star, sx, sy, key=magenta)
            frame.blit(basket, x, H - 32, key=magenta)
            frame.text(8, 8, f"Caught {score}   missed {missed}   speed {speed}", vxl.rgb(255, 255, 255))
            display.flip(frame)
            if HEADLESS and n % 60 == 30:
                frame.save(f"game-frames/frame{n:03d}.png")
            clock.tick(FPS)
            n += 1
        print(f"caught {score}, missed {missed}")
    return 0


if __name__ == "__main__":
    sys.exit(main(int(sys.argv[1]) if len(sys.argv) > 1 else (240 if HEADLESS else -1)))
