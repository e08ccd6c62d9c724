#!/usr/bin/python3
"""Checks the game's pictures: every file the game loads is present with the
right pixel size, the few pictures whose look the game relies on have it, and
the generator rewrites identical bytes when run again.

    /usr/bin/python3 tools/pictures/check_pictures.py          # runs the generator twice
    /usr/bin/python3 tools/pictures/check_pictures.py --quick  # checks the files only

The expected list is written out here on purpose rather than taken from the
generator, so a picture the generator forgets is caught.
"""

import hashlib
import os
import subprocess
import sys

from PIL import Image, ImageChops, ImageStat

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
ASSETS = os.path.join(ROOT, "assets")
GENERATOR = os.path.join(ROOT, "tools", "pictures", "make_pictures.py")
ICONS = os.path.join(ROOT, "packaging", "icons")
ICON_SIZES = (16, 32, 48, 64, 128, 256)  # the .ico of the Windows build has them all

T = (128, 128)
SMALL = (16, 16)  # pictures the game loads but never draws
EXPECTED = {
    "buttons/tamblo.png": SMALL, "marbleNormal.png": SMALL, "emptyPeg.png": SMALL,
    "marbleBlue.png": SMALL, "possibleMove.png": SMALL, "pyramid.png": SMALL,
    "undoButton.png": SMALL, "resetButton.png": SMALL, "hintButton.png": SMALL,
    "rpsBackground.png": SMALL, "rock.png": SMALL, "paper.png": SMALL, "scissors.png": SMALL,
    "playerWins.png": SMALL, "cpuWins.png": SMALL, "tieHand.png": SMALL,
    "baseTile.png": T, "obstacle.png": T, "nullTile.png": T, "blackTile.png": T,
    "entityArrow.png": SMALL, "entityBlue.png": T, "entityBlueN.png": SMALL,
    "entityRed.png": T, "entityRedN.png": SMALL, "entitySelected.png": T,
    "entityTarget.png": T, "greenPixel.png": (1, 1), "zolRedPath.png": T,
    "zolBluePath.png": T, "entityTargetEntity.png": T,
    "zolRedActive.png": (1024, 64), "zolBlueActive.png": (1024, 64), "zolGodActive.png": (1024, 64),
    "zolFog.png": T, "redPixel.png": (1, 1), "yellowPixel.png": (1, 1),
    "zolEntityDead.png": T, "zolHealthBorder.png": T,
    "zolBulletOrange.png": (16, 16), "zolBulletYellow.png": (16, 16), "zolBulletShotgun.png": (8, 8),
    "zolHelpScreen.png": (800, 446), "helpButton.png": (150, 100),
    "fonts/arialSpriteFontBlack.png": (1024, 512), "fonts/digitalSpriteFontBlack.png": (1024, 512),
    "fonts/schwabenSpriteFontWhite.png": (1024, 512), "fonts/arialSpriteFontRed.png": (1024, 512),
}

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def load(name):
    return Image.open(os.path.join(ASSETS, name)).convert("RGBA")


def mean_rgb(img, box=None):
    region = img.crop(box) if box else img
    return tuple(round(v) for v in ImageStat.Stat(region.convert("RGB")).mean)


def alpha_range(img, box=None):
    return (img.crop(box) if box else img).getchannel("A").getextrema()


def seam_ok(img):
    """The step across the wrap-around edge should look like any other step
    between neighbouring columns (and rows)."""
    rgb = img.convert("L")
    w, h = rgb.size

    def step(a, b, vertical):
        if vertical:
            return ImageStat.Stat(ImageChops.difference(rgb.crop((a, 0, a + 1, h)),
                                                        rgb.crop((b, 0, b + 1, h)))).mean[0]
        return ImageStat.Stat(ImageChops.difference(rgb.crop((0, a, w, a + 1)),
                                                    rgb.crop((0, b, w, b + 1)))).mean[0]

    for vertical in (True, False):
        inner = max(step(i, i + 1, vertical) for i in range(w - 1))
        if step(w - 1, 0, vertical) > inner * 1.5 + 2:
            return False
    return True


def check_files():
    for name, size in EXPECTED.items():
        path = os.path.join(ASSETS, name)
        if not os.path.isfile(path):
            check(False, "missing: assets/" + name)
            continue
        with Image.open(path) as img:
            check(img.format == "PNG", name + ": not a PNG")
            check(img.size == size, "%s: %s, expected %s" % (name, img.size, size))

    if failures:
        return
    floor, wall, void = load("baseTile.png"), load("obstacle.png"), load("nullTile.png")
    for name, img in (("baseTile.png", floor), ("obstacle.png", wall), ("nullTile.png", void)):
        check(alpha_range(img) == (255, 255), name + ": tiles must be opaque")
        check(seam_ok(img), name + ": does not tile seamlessly")
    f, w = mean_rgb(floor), mean_rgb(wall)
    check(sum(f) - sum(w) > 60, "wall %s not clearly darker than floor %s" % (w, f))
    check(sum(mean_rgb(void)) < 75, "void tile is not near-black")

    fog = load("zolFog.png")
    check(fog.getextrema()[:3] == ((0, 0),) * 3 and alpha_range(fog) == (255, 255),
          "zolFog.png must be opaque black")

    # Soldiers: transparent corners, team colour in the middle.
    for name, team in (("entityRed.png", 0), ("entityBlue.png", 2)):
        img = load(name)
        check(alpha_range(img, (0, 0, 8, 8))[1] == 0, name + ": corners must be transparent")
        r, g, b = mean_rgb(img, (44, 44, 84, 84))
        dominant = (r, g, b)[team]
        check(dominant > max((r, g, b)[i] for i in range(3) if i != team) + 40,
              "%s: middle %s is not clearly team coloured" % (name, (r, g, b)))
    # Markers that lie under a soldier must leave the middle open.
    for name in ("entitySelected.png", "zolRedPath.png", "zolBluePath.png"):
        check(alpha_range(load(name), (0, 0, 10, 10))[1] == 0, name + ": corner must be transparent")
    for name in ("entitySelected.png", "entityTargetEntity.png"):
        check(alpha_range(load(name), (40, 40, 88, 88))[1] == 0, name + ": middle must be transparent")

    # Health frame: a one-pixel outline just outside the bar at (19, 8), 89 x 8.
    frame = load("zolHealthBorder.png")
    check(frame.getpixel((18, 7))[3] > 128 and frame.getpixel((108, 16))[3] > 128,
          "zolHealthBorder.png: outline corners missing")
    check(alpha_range(frame, (19, 8, 108, 16))[1] == 0, "zolHealthBorder.png: bar area must be clear")
    check(alpha_range(frame, (0, 20, 128, 128))[1] == 0, "zolHealthBorder.png: stray pixels")

    # Banners: red, blue and neither, in the middle of the strip.
    reds = {}
    for name in ("zolRedActive.png", "zolBlueActive.png", "zolGodActive.png"):
        # The map scrolls under the banner: nothing may show through its words.
        check(alpha_range(load(name)) == (255, 255), name + ": banners must be opaque")
        reds[name] = mean_rgb(load(name), (200, 10, 700, 50))
    r, g, b = reds["zolRedActive.png"]
    check(r > g + 60 and r > b + 60, "red banner is not red: %s" % (reds["zolRedActive.png"],))
    r, g, b = reds["zolBlueActive.png"]
    check(b > r + 60 and b > g + 30, "blue banner is not blue: %s" % (reds["zolBlueActive.png"],))
    r, g, b = reds["zolGodActive.png"]
    check(abs(r - b) < 60 and abs(r - g) < 40, "all-teams banner leans red or blue: %s" % ((r, g, b),))

    check(alpha_range(load("zolHelpScreen.png")) == (255, 255), "zolHelpScreen.png must be opaque")

    for name in ("zolBulletOrange.png", "zolBulletYellow.png", "zolBulletShotgun.png"):
        img = load(name)
        cx, cy = img.width // 2, img.height // 2
        check(img.getpixel((cx, cy))[3] == 255 and img.getpixel((0, 0))[3] == 0,
              name + ": needs a solid centre and clear corners")

    # Fonts: glyph colour per name, nothing in the control-code cells.
    for name, colour in (("fonts/arialSpriteFontBlack.png", (0, 0, 0)),
                         ("fonts/digitalSpriteFontBlack.png", (0, 0, 0)),
                         ("fonts/schwabenSpriteFontWhite.png", (255, 255, 255)),
                         ("fonts/arialSpriteFontRed.png", (220, 20, 20))):
        img = load(name)
        check(alpha_range(img, (0, 0, 1024, 128))[1] == 0, name + ": control codes must be empty")
        a_cell = img.crop(((65 % 16) * 64, (65 // 16) * 64, (65 % 16) * 64 + 64, (65 // 16) * 64 + 64))
        check(alpha_range(a_cell)[1] == 255, name + ": no glyph for 'A'")
        px = [p for p in a_cell.getdata() if p[3] == 255]
        check(px and px[0][:3] == colour, name + ": glyph colour is not %s" % (colour,))


def check_icons():
    for px in ICON_SIZES:
        path = os.path.join(ICONS, "dromlin-%d.png" % px)
        if not os.path.isfile(path):
            check(False, "missing: packaging/icons/dromlin-%d.png" % px)
            continue
        with Image.open(path) as img:
            check(img.size == (px, px), "%s: %s, expected %s" % (path, img.size, (px, px)))
            icon = img.convert("RGBA")
        # A rounded badge: clear corners, a red soldier at the lower left and a blue one at
        # the upper right, each covering a good part of its quarter even at 48 px.
        # At 16 px the rounding is under three pixels, and the corner pixel keeps a trace.
        clear = 8 if px >= 32 else 32
        check(icon.getpixel((0, 0))[3] < clear, "dromlin-%d.png: corners must be clear" % px)
        half = px // 2
        for team, box, where in ((0, (0, half, half, px), "red soldier at the lower left"),
                                 (2, (half, 0, px, half), "blue soldier at the upper right")):
            coloured = sum(1 for p in icon.crop(box).getdata()
                           if p[3] > 200 and p[team] > max(p[i] for i in range(3) if i != team) + 60)
            check(coloured > half * half // 10, "dromlin-%d.png: no %s" % (px, where))


def digest():
    out = {}
    for base in (ASSETS, os.path.join(ROOT, "docs"), ICONS):
        for folder, _, files in os.walk(base):
            for f in files:
                if f.endswith(".png"):
                    path = os.path.join(folder, f)
                    with open(path, "rb") as fh:
                        out[os.path.relpath(path, ROOT)] = hashlib.sha256(fh.read()).hexdigest()
    return out


def check_deterministic():
    runs = []
    for _ in range(2):
        subprocess.run([sys.executable, GENERATOR], check=True)
        runs.append(digest())
    changed = sorted(k for k in set(runs[0]) | set(runs[1]) if runs[0].get(k) != runs[1].get(k))
    check(not changed, "generator is not deterministic: " + ", ".join(changed))
    check("docs/pictures.png" in runs[1], "docs/pictures.png was not written")


def main():
    if "--quick" not in sys.argv:
        check_deterministic()
    check_files()
    check_icons()
    total = sum(os.path.getsize(os.path.join(f, n)) for f, _, ns in os.walk(ASSETS) for n in ns
                if n.endswith(".png"))
    check(total < 5 * 1024 * 1024, "pictures take %d bytes" % total)
    for message in failures:
        print("FAIL:", message)
    print("%d pictures and %d icons checked, %d bytes, %s" % (len(EXPECTED), len(ICON_SIZES), total, "ok" if not failures else "FAILED"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
