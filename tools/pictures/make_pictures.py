#!/usr/bin/python3
"""Draws every picture Dromlin loads, plus a contact sheet of them.

Run from anywhere:  /usr/bin/python3 tools/pictures/make_pictures.py
Writes assets/*.png, assets/buttons/, assets/fonts/, the menu icons in
packaging/icons/ and docs/pictures.png.

Everything is seeded, and PNGs are written without metadata, so a second run
rewrites byte-identical files.

Sizes matter more than usual here: at the starting zoom a 128 px tile is shown
at about 25 px with plain linear filtering and no mipmaps, so one screen pixel
samples roughly one texel in five. Any feature that must survive that (ring
strokes, the dead mark, wall mortar) is drawn at least 5-6 texels wide.
"""

import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
ASSETS = os.path.join(ROOT, "assets")
DOCS = os.path.join(ROOT, "docs")
ICON_SIZES = (16, 32, 48, 64, 128, 256)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# Pictures are drawn this many times larger, then reduced.
SS = 4
TILE = 128

RED = {"main": (218, 44, 38), "dark": (105, 14, 12), "light": (255, 150, 128),
       "helmet": (172, 26, 22)}
BLUE = {"main": (38, 112, 240), "dark": (12, 36, 110), "light": (150, 200, 255),
        "helmet": (24, 78, 196)}
OUTLINE = (16, 14, 14)
GOLD = (242, 196, 72)


# ---------------------------------------------------------------- helpers

def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def canvas(w, h, colour=(0, 0, 0, 0)):
    return Image.new("RGBA", (w, h), colour)


def bleed(img):
    """Give fully transparent pixels the colour of their nearest opaque
    neighbours, so a linearly filtered texture does not grow dark fringes."""
    alpha = img.getchannel("A")
    spread = img.convert("RGBa")
    for radius in (2, 6, 16):
        spread = spread.filter(ImageFilter.GaussianBlur(radius))
    spread = spread.convert("RGBA").convert("RGB")
    solid = alpha.point(lambda a: 255 if a > 0 else 0)
    rgb = Image.composite(img.convert("RGB"), spread, solid)
    rgb.putalpha(alpha)
    return rgb


def reduce(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


def save(img, rel, keep_fringe=False):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if img.mode == "RGBA" and not keep_fringe:
        lo, hi = img.getchannel("A").getextrema()
        if lo == 0 and hi > 0:
            img = bleed(img)
    img.save(path, "PNG", optimize=True)
    return img


def periodic_noise(rng, size, cells):
    """Smooth greyscale noise that wraps around at the image edges."""
    small = Image.new("L", (cells, cells))
    small.putdata([rng.randrange(256) for _ in range(cells * cells)])
    tiled = Image.new("L", (cells * 3, cells * 3))
    for i in range(3):
        for j in range(3):
            tiled.paste(small, (i * cells, j * cells))
    big = tiled.resize((size * 3, size * 3), Image.BICUBIC)
    return big.crop((size, size, size * 2, size * 2))


def fractal_noise(rng, size, octaves):
    """Several periodic noise layers blended, coarse ones weighted most."""
    out = periodic_noise(rng, size, octaves[0])
    weight = 1.0
    for cells in octaves[1:]:
        weight *= 0.5
        layer = periodic_noise(rng, size, cells)
        out = Image.blend(out, layer, weight / (1.0 + weight))
    return out


def tint(noise, dark, light):
    """Map greyscale noise onto a dark..light colour ramp, stretched about
    the middle so the pattern stays visible."""
    lo, hi = noise.getextrema()
    span = max(1, hi - lo)
    lut = []
    for band in range(3):
        for v in range(256):
            t = min(1.0, max(0.0, (v - lo) / span))
            lut.append(int(dark[band] + (light[band] - dark[band]) * t + 0.5))
    return Image.merge("RGB", [noise] * 3).point(lut)


def wrapped(draw_fn, size):
    """Call draw_fn(dx, dy) for the nine wrap-around offsets so shapes that
    cross a tile edge reappear on the opposite edge."""
    for dx in (-size, 0, size):
        for dy in (-size, 0, size):
            draw_fn(dx, dy)


def soft_shadow(size, box, blur, opacity):
    shadow = canvas(size, size)
    ImageDraw.Draw(shadow).ellipse(box, fill=(0, 0, 0, opacity))
    return shadow.filter(ImageFilter.GaussianBlur(blur))


def radial(size, stops):
    """A round glow: stops are (radius as a fraction of half the size,
    (r, g, b, a)) from the centre outwards, linearly blended between."""
    img = canvas(size, size)
    px = img.load()
    c = (size - 1) / 2.0
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c) / (size / 2.0)
            colour = stops[-1][1]
            for (r0, c0), (r1, c1) in zip(stops, stops[1:]):
                if r0 <= d <= r1:
                    t = (d - r0) / (r1 - r0)
                    colour = tuple(int(a + (b - a) * t + 0.5) for a, b in zip(c0, c1))
                    break
            if d > stops[-1][0]:
                colour = (stops[-1][1][0], stops[-1][1][1], stops[-1][1][2], 0)
            px[x, y] = colour
    return img


def text_centre(draw, xy, text, fnt, fill, anchor="mm", **kw):
    draw.text(xy, text, font=fnt, fill=fill, anchor=anchor, **kw)


# ---------------------------------------------------------------- tiles

def floor_tile():
    """Dusty olive ground with small stones and a faint tile seam, so the
    player can count tiles when giving orders."""
    rng = random.Random(1601)
    size = TILE * SS
    noise = fractal_noise(rng, size, [4, 8, 16, 32, 64])
    img = tint(noise, (88, 96, 62), (134, 140, 98))
    d = ImageDraw.Draw(img, "RGBA")  # blends, since img is still RGB
    for _ in range(46):
        x, y = rng.randrange(size), rng.randrange(size)
        r = rng.uniform(4, 10)
        shade = rng.choice([(70, 76, 50, 130), (136, 138, 104, 90), (92, 96, 66, 140)])

        def stone(dx, dy, x=x, y=y, r=r, shade=shade):
            d.ellipse((x + dx - r, y + dy - r * 0.8, x + dx + r, y + dy + r * 0.8), fill=shade)
        wrapped(stone, size)
    img = img.convert("RGBA")
    seam = canvas(size, size)
    sd = ImageDraw.Draw(seam)
    # One texel wide: visible close up, gone at the starting zoom.
    sd.rectangle((0, 0, size - 1, SS - 1), fill=(40, 44, 26, 60))
    sd.rectangle((0, 0, SS - 1, size - 1), fill=(40, 44, 26, 60))
    img = Image.alpha_composite(img, seam)
    return reduce(img, TILE, TILE)


def wall_tile():
    """Dressed stone blocks in two offset courses: dark, bevelled and
    grey, so walls read as raised and solid next to the olive floor."""
    rng = random.Random(1702)
    size = TILE * SS
    img = canvas(size, size, (26, 24, 24, 255))  # mortar
    grain = fractal_noise(rng, size, [8, 16, 32, 64])
    course = size // 2
    gap = 3 * SS
    bevel = 5 * SS
    blocks = []
    for row in range(2):
        shift = 0 if row == 0 else size // 4
        for col in range(-1, 2):
            x0 = col * (size // 2) + shift
            blocks.append((x0, row * course))
    for x0, y0 in blocks:
        base = rng.randint(-8, 8)
        face = tuple(c + base for c in (76, 74, 72))
        hi = tuple(c + base for c in (140, 136, 128))
        lo = tuple(c + base for c in (44, 42, 42))
        layer = canvas(size, size)
        ld = ImageDraw.Draw(layer)
        x1, y1 = x0 + size // 2 - gap, y0 + course - gap
        xa, ya = x0 + gap, y0 + gap

        def block(dx, dy):
            ld.rectangle((xa + dx, ya + dy, x1 + dx, y1 + dy), fill=lo)
            ld.polygon([(xa + dx, ya + dy), (x1 + dx, ya + dy), (x1 - bevel + dx, ya + bevel + dy),
                        (xa + bevel + dx, ya + bevel + dy), (xa + bevel + dx, y1 - bevel + dy),
                        (xa + dx, y1 + dy)], fill=hi)
            ld.rectangle((xa + bevel + dx, ya + bevel + dy, x1 - bevel + dx, y1 - bevel + dy), fill=face)
        wrapped(block, size)
        img = Image.alpha_composite(img, layer)
    texture = tint(grain, (0, 0, 0), (60, 60, 60))
    img = ImageChops.add(img.convert("RGB"), texture, 1.0, -30).convert("RGBA")
    return reduce(img, TILE, TILE)


def void_tile():
    rng = random.Random(1803)
    size = TILE
    noise = fractal_noise(rng, size, [4, 8, 16])
    return tint(noise, (8, 8, 12), (20, 20, 26)).convert("RGBA")


# ---------------------------------------------------------------- soldiers

def soldier(team):
    """A helmeted soldier seen from above, rifle held forward (up), on a
    soft ground shadow. Team colour covers helmet and shoulders so the two
    sides are told apart even at a few pixels."""
    size = TILE * SS
    c = size // 2
    img = soft_shadow(size, (c - 150 + 14, c - 100 + 22, c + 150 + 14, c + 140 + 22), 16, 110)
    d = ImageDraw.Draw(img)
    ow = 5 * SS  # outline width, thick enough to survive a 5:1 reduction

    # Backpack behind the shoulders.
    d.rounded_rectangle((c - 70, c + 50, c + 70, c + 156), 28, fill=team["dark"],
                        outline=OUTLINE, width=ow)
    # Shoulders.
    d.rounded_rectangle((c - 156, c - 70, c + 156, c + 90), 80, fill=team["main"],
                        outline=OUTLINE, width=ow)
    # Sleeves, darker than the shoulders, reach forward to the rifle.
    gx = c + 40
    sleeve = tuple((m + k) // 2 for m, k in zip(team["main"], team["dark"]))
    hands = ((gx, c - 170), (gx + 4, c - 92))
    for start, hand in zip(((c - 118, c - 20), (c + 122, c - 16)), hands):
        d.line([start, hand], fill=OUTLINE, width=58)
        d.line([start, hand], fill=sleeve, width=38)
    # Rifle held forward, barrel well past the helmet.
    d.rounded_rectangle((gx - 20, c - 206, gx + 20, c + 10), 10, fill=(50, 50, 54),
                        outline=OUTLINE, width=ow)
    d.rectangle((gx - 10, c - 236, gx + 10, c - 200), fill=OUTLINE)
    for hx, hy in hands:
        d.ellipse((hx - 25, hy - 25, hx + 25, hy + 25), fill=(70, 54, 40), outline=OUTLINE, width=SS * 2)
    # Helmet with a highlight so it reads as a dome.
    hr, hx, hy = 88, c - 16, c + 4
    d.ellipse((hx - hr, hy - hr, hx + hr, hy + hr), fill=team["helmet"], outline=OUTLINE, width=ow)
    d.ellipse((hx - hr + 26, hy - hr + 20, hx + 8, hy - 2), fill=team["main"])
    d.ellipse((hx - hr + 40, hy - hr + 32, hx - 22, hy - 30), fill=team["light"])
    return reduce(img, TILE, TILE)


def dead_mark():
    """Drawn over a fallen soldier's team body: a grey veil that drains
    the colour, and a heavy dark X that still reads at 25 px."""
    size = TILE * SS
    c = size // 2
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.ellipse((c - 190, c - 190, c + 190, c + 190), fill=(46, 46, 48, 165))
    arm = 150
    for w, colour in ((96, (214, 214, 210, 255)), (60, (28, 26, 26, 255))):
        d.line([(c - arm, c - arm), (c + arm, c + arm)], fill=colour, width=w)
        d.line([(c - arm, c + arm), (c + arm, c - arm)], fill=colour, width=w)
    return reduce(img, TILE, TILE)


# ---------------------------------------------------------------- markers

def selection_ring():
    size = TILE * SS
    c = size // 2
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    r = 228
    d.ellipse((c - r - 10, c - r - 10, c + r + 10, c + r + 10), outline=(10, 40, 10, 170), width=58)
    d.ellipse((c - r, c - r, c + r, c + r), outline=(150, 255, 96, 255), width=38)
    return reduce(img, TILE, TILE)


def aim_marker():
    """Red corner brackets with inward ticks: the enemy a selected soldier
    is going after. Lies under the soldier, so the middle stays empty."""
    size = TILE * SS
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    inset, arm = 26, 130
    for w, colour in ((56, (40, 0, 0, 190)), (32, (255, 46, 32, 255))):
        for sx in (0, 1):
            for sy in (0, 1):
                x = inset if sx == 0 else size - 1 - inset
                y = inset if sy == 0 else size - 1 - inset
                ex = x + arm if sx == 0 else x - arm
                ey = y + arm if sy == 0 else y - arm
                d.line([(ex, y), (x, y), (x, ey)], fill=colour, width=w, joint="curve")
        m = size // 2
        for (x0, y0, x1, y1) in ((m, inset, m, inset + 70), (m, size - inset, m, size - inset - 70),
                                 (inset, m, inset + 70, m), (size - inset, m, size - inset - 70, m)):
            d.line([(x0, y0), (x1, y1)], fill=colour, width=w)
    return reduce(img, TILE, TILE)


def destination_marker():
    """A yellow flag on a ground ring: where selected soldiers are headed.
    Drawn over everything, fog included, so it stays small and open."""
    size = TILE * SS
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    bx, by = 236, 404
    d.ellipse((bx - 118, by - 44, bx + 118, by + 44), outline=(30, 26, 0, 200), width=40)
    d.ellipse((bx - 112, by - 38, bx + 112, by + 38), outline=(255, 222, 40, 255), width=24)
    flag = [(bx + 8, 92), (bx + 196, 150), (bx + 8, 228)]
    d.polygon(flag, fill=(255, 216, 30, 255), outline=OUTLINE)
    d.line(flag + [flag[0]], fill=OUTLINE, width=18, joint="curve")
    d.line([(bx, 70), (bx, by)], fill=OUTLINE, width=34)
    d.line([(bx, 76), (bx, by - 4)], fill=(240, 236, 220, 255), width=16)
    return reduce(img, TILE, TILE)


def path_square(team):
    """A small translucent team-coloured square per waypoint; it is drawn
    over soldiers too, so it stays small and lets the floor show."""
    size = TILE * SS
    c = size // 2
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    r = 17 * SS
    d.rounded_rectangle((c - r, c - r, c + r, c + r), 5 * SS, fill=team["main"] + (175,),
                        outline=team["light"] + (240,), width=4 * SS)
    return reduce(img, TILE, TILE)


def bullet(size, halo, core):
    """A glowing tracer dot, centred, about 40% of the picture across."""
    big = size * 16
    img = radial(big, [(0.0, core + (255,)), (0.32, core + (255,)), (0.46, halo + (235,)),
                       (0.7, halo + (90,)), (0.95, halo + (0,))])
    return reduce(img, size, size)


def health_frame():
    """Outline one pixel outside the 89 x 8 bar that sits at (19, 8)."""
    img = canvas(TILE, TILE)
    ImageDraw.Draw(img).rectangle((18, 7, 108, 16), outline=(12, 12, 12, 235), width=1)
    return img


def pixel(colour):
    return Image.new("RGBA", (1, 1), colour + (255,))


# ---------------------------------------------------------------- screen furniture

BANNERS = {
    "red": {"title": "RED TEAM VIEW", "sub": "you see what red sees  \u00b7  red soldiers take your orders",
            "top": (170, 36, 32), "bottom": (96, 14, 12), "accent": (255, 86, 70),
            "text": (255, 240, 236), "emblem": [RED["main"]]},
    "blue": {"title": "BLUE TEAM VIEW", "sub": "you see what blue sees  \u00b7  blue soldiers take your orders",
             "top": (34, 82, 186), "bottom": (12, 32, 96), "accent": (96, 160, 255),
             "text": (236, 244, 255), "emblem": [BLUE["main"]]},
    "all": {"title": "ALL TEAMS VIEW", "sub": "no fog  \u00b7  both teams fight on their own  \u00b7  g / h hurt / heal",
            "top": (74, 70, 60), "bottom": (34, 32, 28), "accent": GOLD,
            "text": GOLD, "emblem": [RED["main"], BLUE["main"]]},
}


def banner(kind):
    """Top-of-screen strip naming the view. Opaque: the map scrolls under it,
    and soldiers or walls showing through would muddle its words. The right
    end stays plain because the help button sits there."""
    look = BANNERS[kind]
    s = 2
    w, h = 1024 * s, 64 * s
    img = canvas(w, h)
    d = ImageDraw.Draw(img, "RGBA")
    for y in range(h - 4 * s):
        t = y / (h - 4 * s)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(look["top"], look["bottom"]))
        d.line([(0, y), (w, y)], fill=colour + (255,))
    d.rectangle((0, h - 4 * s, w, h), fill=look["accent"] + (255,))
    d.line([(0, 0), (w, 0)], fill=look["accent"] + (255,), width=s)
    # Emblem: a team disc, split in two for the all-teams view.
    ex, ey, er = 34 * s, 30 * s, 21 * s
    d.ellipse((ex - er - 3 * s, ey - er - 3 * s, ex + er + 3 * s, ey + er + 3 * s), fill=(245, 240, 230, 255))
    if len(look["emblem"]) == 1:
        d.ellipse((ex - er, ey - er, ex + er, ey + er), fill=look["emblem"][0] + (255,))
    else:
        d.pieslice((ex - er, ey - er, ex + er, ey + er), 90, 270, fill=look["emblem"][0] + (255,))
        d.pieslice((ex - er, ey - er, ex + er, ey + er), 270, 90, fill=look["emblem"][1] + (255,))
    d.ellipse((ex - 9 * s, ey - 9 * s, ex + 9 * s, ey + 9 * s), fill=(20, 18, 18, 255))
    words = canvas(w, h)
    d = ImageDraw.Draw(words)
    title = font("DejaVuSans-Bold.ttf", 34 * s)
    d.text((72 * s + 2 * s, 31 * s + 2 * s), look["title"], font=title, fill=(0, 0, 0, 170), anchor="lm")
    d.text((72 * s, 31 * s), look["title"], font=title, fill=look["text"] + (255,), anchor="lm")
    sub = font("DejaVuSans.ttf", 15 * s)
    d.text((900 * s, 33 * s), look["sub"], font=sub, fill=(235, 230, 220, 230), anchor="rm")
    img.alpha_composite(words)
    return reduce(img, 1024, 64)


def help_button():
    s = SS
    w, h = 150 * s, 100 * s
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((4 * s, 6 * s, w - 2 * s, h - 1 * s), 24 * s, fill=(0, 0, 0, 120))
    d.rounded_rectangle((2 * s, 2 * s, w - 5 * s, h - 6 * s), 22 * s, fill=(232, 226, 210, 255))
    d.rounded_rectangle((7 * s, 7 * s, w - 10 * s, h - 11 * s), 18 * s, fill=(46, 52, 62, 255))
    d.rounded_rectangle((7 * s, 7 * s, w - 10 * s, 40 * s), 18 * s, fill=(64, 72, 86, 255))
    d.rectangle((7 * s, 30 * s, w - 10 * s, 44 * s), fill=(46, 52, 62, 255))
    cx, cy, r = 38 * s, 46 * s, 25 * s
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=GOLD + (255,), outline=(30, 24, 8, 255), width=3 * s)
    text_centre(d, (cx + s, cy + 2 * s), "?", font("DejaVuSans-Bold.ttf", 40 * s), (30, 24, 10, 255))
    text_centre(d, (99 * s, 47 * s), "HELP", font("DejaVuSans-Bold.ttf", 24 * s), (245, 240, 230, 255))
    return reduce(img, 150, 100)


MOUSE_HELP = [
    ("left drag", "select the soldiers in the box (a click picks one)"),
    ("shift + left drag", "add them to the selection"),
    ("ctrl + left drag", "toggle them in or out of the selection"),
    ("right click ground", "move there"),
    ("right click soldier", "attack an enemy / follow a team-mate"),
    ("ctrl + right click", "advance: move there, fighting on the way"),
    ("alt + right click", "put a wall on the tile, or take it away"),
    ("help button", "open this screen (the battle pauses)"),
]

KEY_HELP = [
    ("+  =", "zoom in"),
    ("-  _", "zoom out"),
    ("w a s d", "scroll up / left / down / right"),
    ("r R", "next view: red \u2192 blue \u2192 all teams;\nclears the selection and every path"),
    ("`", "clear every soldier's path"),
    ("i", "selected soldiers flee"),
    ("e", "selected soldiers explore"),
    ("p", "explore and engage enemies"),
    ("g h", "g hurts, h heals the selected by 5\n(all-teams view only)"),
]


def keycap(d, x, y, label, fnt, s):
    """Draw label in small key boxes, one per space-separated key; returns
    the x after the last box."""
    for part in label.split():
        tw = d.textlength(part, font=fnt)
        bw = max(tw + 12 * s, 22 * s)
        d.rounded_rectangle((x, y - 11 * s, x + bw, y + 11 * s), 5 * s, fill=(64, 70, 82),
                            outline=(150, 156, 168), width=s)
        d.text((x + bw / 2, y + s), part, font=fnt, fill=(250, 246, 236), anchor="mm")
        x += bw + 5 * s
    return x


def help_screen():
    s = 2
    w, h = 800 * s, 446 * s
    img = Image.new("RGB", (w, h), (26, 30, 36))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=GOLD, width=3 * s)
    d.rectangle((3 * s, 3 * s, w - 4 * s, 44 * s), fill=(40, 46, 56))
    d.line([(3 * s, 44 * s), (w - 4 * s, 44 * s)], fill=GOLD, width=2 * s)
    d.text((20 * s, 24 * s), "DROMLIN  \u2014  HOW TO COMMAND", font=font("DejaVuSans-Bold.ttf", 24 * s),
           fill=GOLD, anchor="lm")
    d.text((w - 20 * s, 25 * s), "you command the team you are viewing",
           font=font("DejaVuSans.ttf", 14 * s), fill=(200, 204, 212), anchor="rm")

    head = font("DejaVuSans-Bold.ttf", 16 * s)
    key = font("DejaVuSansMono-Bold.ttf", 14 * s)
    body = font("DejaVuSans.ttf", 14 * s)
    bold = font("DejaVuSans-Bold.ttf", 14 * s)
    green = (150, 255, 96)
    ink = (236, 234, 228)

    # Mouse column: the gesture on one line, what it does below it.
    x0, y = 18 * s, 62 * s
    d.text((x0, y), "MOUSE", font=head, fill=green, anchor="lm")
    y += 25 * s
    for what, effect in MOUSE_HELP:
        x = x0
        if what.startswith(("shift", "ctrl", "alt")):
            modifier, rest = what.split(" + ", 1)
            x = keycap(d, x, y, modifier, key, s)
            d.text((x, y), "+", font=bold, fill=(200, 196, 186), anchor="lm")
            x += 14 * s
            d.text((x, y), rest, font=bold, fill=green, anchor="lm")
        else:
            d.text((x, y), what, font=bold, fill=green, anchor="lm")
        d.text((x0, y + 18 * s), effect, font=body, fill=ink, anchor="lm")
        y += 40 * s

    d.line([(376 * s, 56 * s), (376 * s, 402 * s)], fill=(70, 76, 88), width=s)

    # Keyboard column.
    x0, y = 390 * s, 62 * s
    d.text((x0, y), "KEYS", font=head, fill=green, anchor="lm")
    d.text((x0 + 56 * s, y + s), "(other letters: lower case only)", font=body, fill=(200, 204, 212), anchor="lm")
    y += 27 * s
    for label, effect in KEY_HELP:
        keycap(d, x0, y, label, key, s)
        lines = effect.split("\n")
        for i, line in enumerate(lines):
            d.text((x0 + 114 * s, y + i * 18 * s), line, font=body, fill=ink, anchor="lm")
        y += (18 * len(lines) + 13) * s

    d.rectangle((3 * s, 410 * s, w - 4 * s, h - 4 * s), fill=(40, 46, 56))
    d.line([(3 * s, 410 * s), (w - 4 * s, 410 * s)], fill=(70, 76, 88), width=s)
    text_centre(d, (w / 2, 427 * s), "Click anywhere to close", font("DejaVuSans-Bold.ttf", 16 * s), GOLD)
    return reduce(img, 800, 446).convert("RGBA")


# ---------------------------------------------------------------- fonts

FONTS = [
    ("fonts/arialSpriteFontBlack.png", "DejaVuSans.ttf", (0, 0, 0)),
    ("fonts/digitalSpriteFontBlack.png", "DejaVuSansMono-Bold.ttf", (0, 0, 0)),
    ("fonts/schwabenSpriteFontWhite.png", "DejaVuSerif-Bold.ttf", (255, 255, 255)),
    ("fonts/arialSpriteFontRed.png", "DejaVuSans.ttf", (220, 20, 20)),
]


def font_sheet(face, colour):
    """ASCII 0..127 in 64 x 64 cells, 16 to a row, glyphs centred on a
    common baseline; control codes stay empty."""
    s = 2
    img = canvas(1024 * s, 512 * s)
    d = ImageDraw.Draw(img)
    fnt = font(face, 44 * s)
    for code in range(33, 127):
        cx = (code % 16) * 64 * s + 32 * s
        top = (code // 16) * 64 * s
        d.text((cx, top + 48 * s), chr(code), font=fnt, fill=colour + (255,), anchor="ms")
    out = reduce(img, 1024, 512)
    # The glyph colour is uniform; only coverage varies.
    solid = Image.new("RGB", out.size, colour)
    solid.putalpha(out.getchannel("A"))
    return solid


# ---------------------------------------------------------------- unused slots

# Pictures the game loads at start-up but never draws; small plain ones keep
# start-up quiet without weighing down the repository.
UNUSED = {
    "buttons/tamblo.png": (60, 60, 66),
    "marbleNormal.png": (180, 180, 186),
    "emptyPeg.png": (60, 50, 40),
    "marbleBlue.png": (40, 80, 200),
    "possibleMove.png": (80, 200, 80),
    "pyramid.png": (150, 120, 70),
    "undoButton.png": (70, 70, 80),
    "resetButton.png": (80, 70, 70),
    "hintButton.png": (70, 80, 70),
    "rpsBackground.png": (30, 30, 40),
    "rock.png": (120, 110, 100),
    "paper.png": (230, 228, 220),
    "scissors.png": (180, 180, 190),
    "playerWins.png": (40, 160, 60),
    "cpuWins.png": (160, 40, 40),
    "tieHand.png": (160, 160, 60),
    "entityArrow.png": (230, 230, 230),
    "entityBlueN.png": BLUE["main"],
    "entityRedN.png": RED["main"],
}


def plain(colour):
    img = Image.new("RGBA", (16, 16), colour + (255,))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, 15, 15), outline=tuple(max(0, c - 40) for c in colour) + (255,))
    return img


# ---------------------------------------------------------------- menu icon

def menu_icon():
    """The desktop menu's icon: a red and a blue soldier facing each other
    across a wall on the game's own floor, in a rounded badge. Drawn large
    once and reduced, so every size shows the same picture; the soldiers
    fill most of the badge so their colours still tell at 48 px."""
    size = 256 * SS
    rounding = 44 * SS
    badge = canvas(size, size)
    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, size - 1, size - 1), rounding, fill=255)
    floor = floor_tile().convert("RGB").resize((size // 2, size // 2), Image.LANCZOS)
    for x in (0, size // 2):
        for y in (0, size // 2):
            badge.paste(floor, (x, y))
    badge.putalpha(mask)
    wall = wall_tile().resize((size // 4, size // 4), Image.LANCZOS)
    for i in range(4):
        x = size // 2 - size // 8
        badge.paste(wall, (x, i * size // 4), mask.crop((x, i * size // 4, x + size // 4, (i + 1) * size // 4)))
    big = int(size * 0.56)
    red = soldier(RED).resize((big, big), Image.LANCZOS).rotate(-90)
    blue = soldier(BLUE).resize((big, big), Image.LANCZOS).rotate(90)
    badge.alpha_composite(red, (-int(size * 0.07), int(size * 0.40)))
    badge.alpha_composite(blue, (size - big + int(size * 0.07), int(size * 0.04)))
    border = canvas(size, size)
    ImageDraw.Draw(border).rounded_rectangle((0, 0, size - 1, size - 1), rounding, outline=OUTLINE,
                                             width=6 * SS)
    badge.alpha_composite(border)
    badge.putalpha(ImageChops.multiply(badge.getchannel("A"), mask))
    return {px: reduce(badge, px, px) for px in ICON_SIZES}


# ---------------------------------------------------------------- all pictures

def build_all():
    """Every file the game loads, by path relative to assets/."""
    pics = {
        "baseTile.png": floor_tile(),
        "obstacle.png": wall_tile(),
        "nullTile.png": void_tile(),
        "blackTile.png": Image.new("RGBA", (TILE, TILE), (0, 0, 0, 255)),
        "entityRed.png": soldier(RED),
        "entityBlue.png": soldier(BLUE),
        "zolEntityDead.png": dead_mark(),
        "entitySelected.png": selection_ring(),
        "entityTarget.png": destination_marker(),
        "entityTargetEntity.png": aim_marker(),
        "zolRedPath.png": path_square(RED),
        "zolBluePath.png": path_square(BLUE),
        "zolBulletOrange.png": bullet(16, (255, 128, 16), (255, 236, 190)),
        "zolBulletYellow.png": bullet(16, (255, 226, 40), (255, 255, 235)),
        "zolBulletShotgun.png": bullet(8, (255, 196, 110), (255, 250, 230)),
        "zolHealthBorder.png": health_frame(),
        "greenPixel.png": pixel((40, 224, 64)),
        "redPixel.png": pixel((204, 28, 28)),
        "yellowPixel.png": pixel((244, 212, 40)),
        "zolFog.png": Image.new("RGBA", (TILE, TILE), (0, 0, 0, 255)),
        "zolRedActive.png": banner("red"),
        "zolBlueActive.png": banner("blue"),
        "zolGodActive.png": banner("all"),
        "helpButton.png": help_button(),
        "zolHelpScreen.png": help_screen(),
    }
    for name, colour in UNUSED.items():
        pics[name] = plain(colour)
    for name, face, colour in FONTS:
        pics[name] = font_sheet(face, colour)
    return pics


# ---------------------------------------------------------------- contact sheet

def place(dst, sprite, w, h, x, y, intensity=1.0, gl=False):
    """Mimics the game's sprite drawing: scale to w x h and blend at (x, y).
    intensity scales colour and alpha together, as the faded draw does.
    gl=True samples like linear filtering without mipmaps, the worst case
    the game may show."""
    if w <= 0 or h <= 0:
        return
    if gl:
        # Pad by wrapping, as the default repeat mode does at the edges.
        sw, sh = sprite.size
        padded = canvas(sw + 2, sh + 2)
        for dx in (-sw, 0, sw):
            for dy in (-sh, 0, sh):
                padded.paste(sprite, (1 + dx, 1 + dy))
        spr = padded.transform((w, h), Image.AFFINE, (sw / w, 0, 1, 0, sh / h, 1), Image.BILINEAR)
    else:
        spr = sprite.resize((w, h), Image.LANCZOS) if sprite.size != (w, h) else sprite
    spr = spr.convert("RGBA")
    if intensity != 1.0:
        r, g, b, a = spr.split()
        f = lambda v: int(v * intensity + 0.5)
        spr = Image.merge("RGBA", (r.point(f), g.point(f), b.point(f), a.point(f)))
    layer = canvas(*dst.size)
    layer.paste(spr, (x, y))
    dst.alpha_composite(layer)


MOCK_MAP = [
    "....................",
    ".###.......#........",
    ".#.........#....##..",
    ".#..R......#.....#..",
    "......R.........B#..",
    "..r.......####......",
    "..........#.....B...",
    "...###....#...b.....",
    "............##......",
    "....................",
]


def mock_battlefield(p, zoom, gl, fog=True):
    """A small scene drawn in the game's order: tiles, bullets, aim and
    selection markers, soldiers with paths and health, fog, destination,
    selection box."""
    t = int(TILE * zoom)
    cols, rows = len(MOCK_MAP[0]) + 2, len(MOCK_MAP) + 2
    img = canvas(cols * t, rows * t, (0, 0, 0, 255))

    def at(cx, cy):
        return int(zoom * TILE * cx), int(zoom * TILE * cy)

    soldiers = []
    for y in range(rows):
        for x in range(cols):
            ch = "void"
            if 0 < y < rows - 1 and 0 < x < cols - 1:
                ch = MOCK_MAP[y - 1][x - 1]
            name = {"void": "nullTile.png", "#": "obstacle.png"}.get(ch, "baseTile.png")
            place(img, p[name], t, t, *at(x, y), gl=gl)
            if ch in "RBrb":
                soldiers.append((x, y, ch))
    bx, by = at(8.3, 4.4)
    place(img, p["zolBulletYellow.png"], int(16 * zoom * 3), int(16 * zoom * 3), bx, by, gl=gl)
    bx, by = at(13.2, 6.6)
    place(img, p["zolBulletOrange.png"], int(16 * zoom * 3), int(16 * zoom * 3), bx, by, gl=gl)
    for dx, dy in ((0, 0), (0.25, 0.12), (0.1, 0.3)):
        bx, by = at(16.1 + dx, 5.2 + dy)
        place(img, p["zolBulletShotgun.png"], int(8 * zoom * 3), int(8 * zoom * 3), bx, by, gl=gl)
    # Red soldiers at (5,4) and (7,5) are selected; one aims at the blue at (17,5).
    place(img, p["entityTargetEntity.png"], t, t, *at(17, 5), gl=gl)
    for sx, sy in ((5, 4), (7, 5)):
        place(img, p["entitySelected.png"], t, t, *at(sx, sy), gl=gl)
    health = {(5, 4): 100, (7, 5): 55, (17, 5): 30, (17, 7): 85, (3, 6): 0, (15, 8): 0}
    for sx, sy, ch in sorted(soldiers, key=lambda s: health[(s[0], s[1])] > 0):
        body = p["entityRed.png"] if ch in "Rr" else p["entityBlue.png"]
        place(img, body, t, t, *at(sx, sy), gl=gl)
        if (sx, sy) == (5, 4):
            for wx, wy in ((5, 4), (6, 4), (7, 4), (8, 4), (9, 3), (10, 3)):
                place(img, p["zolRedPath.png"], t, t, *at(wx, wy), gl=gl)
        if (sx, sy) == (17, 7):
            for wx, wy in ((17, 7), (16, 8), (15, 9), (14, 9)):
                place(img, p["zolBluePath.png"], t, t, *at(wx, wy), gl=gl)
        hp = health[(sx, sy)]
        if hp <= 0:
            place(img, p["zolEntityDead.png"], t, t, *at(sx, sy), gl=gl)
            continue
        h = hp / 100.0
        left, top = zoom * TILE * sx + 19 * zoom, zoom * TILE * sy + 8 * zoom
        wdt, hgt = zoom * 89 * h, 8 * zoom
        lx, ty = int(left), int(top)
        bw, bh = int(left + wdt) - lx, int(top + hgt) - ty
        place(img, p["redPixel.png"], bw, bh, lx, ty, gl=gl)
        place(img, p["greenPixel.png"], bw, bh, lx, ty, intensity=h, gl=gl)
        place(img, p["zolHealthBorder.png"], t, t, *at(sx, sy), gl=gl)
    if fog:
        # Red's view: the east edge undiscovered, a band beyond it only remembered.
        for y in range(rows):
            for x in range(cols):
                a = 1.0 if x >= 19 else 0.5 if x >= 16 and y >= 6 else max(0.0, (x - 12) / 10.0)
                if a > 0:
                    fx, fy = zoom * TILE * x, zoom * TILE * y
                    place(img, p["zolFog.png"], int(fx + zoom * TILE) - int(fx),
                          int(fy + zoom * TILE) - int(fy), int(fx), int(fy), intensity=a, gl=gl)
    place(img, p["entityTarget.png"], t, t, *at(10, 3), gl=gl)
    x0, y0 = at(1.6, 2.5)
    x1, y1 = at(8.4, 6.6)
    for args in ((x1 - x0, 2, x0, y0), (2, y1 - y0, x1, y0), (x1 - x0, 2, x0, y1), (2, y1 - y0, x0, y0)):
        place(img, p["greenPixel.png"], *args)
    return img


def contact_sheet(p):
    W = 1800
    sheet = Image.new("RGBA", (W, 3000), (44, 46, 52, 255))
    d = ImageDraw.Draw(sheet)
    label_font = font("DejaVuSans.ttf", 14)
    head_font = font("DejaVuSans-Bold.ttf", 20)

    def label(x, y, text):
        d.text((x, y), text, font=label_font, fill=(220, 220, 214))

    def head(x, y, text):
        d.text((x, y), text, font=head_font, fill=GOLD)

    head(20, 14, "Dromlin pictures \u2014 as the game draws them")

    # Battlefield at the starting zoom and at zoom 0.5, both in red's view.
    y = 50
    small = mock_battlefield(p, 0.2, gl=True)
    sheet.alpha_composite(small, (20, y + 22))
    label(20, y, "start zoom 0.2, red team view (linear filter, no mipmaps)")
    part = small.crop((0, 0, small.width // 2, small.height))
    enlarged = part.resize((part.width * 2, part.height * 2), Image.NEAREST)
    sheet.alpha_composite(enlarged, (20, y + 22 + small.height + 30))
    label(20, y + small.height + 30, "its left half, enlarged 2x")
    mid = mock_battlefield(p, 0.5, gl=False).crop((64 * 4, 0, 64 * 20, 64 * 12))
    mx = 20 + small.width + 30
    sheet.alpha_composite(mid, (mx, y + 22))
    label(mx, y, "zoom 0.5: two selected reds, path, aim marker on a blue, flag, fog, selection box")
    y += 22 + max(mid.height, small.height * 3 + 30) + 30

    big = mock_battlefield(p, 1.0, gl=False, fog=False).crop((128 * 2, 128 * 2, 128 * 11, 128 * 7))
    sheet.alpha_composite(big, (20, y + 22))
    label(20, y, "zoom 1.0 (no fog)")

    # Tiles, soldiers and markers at 128 px and at 25 px.
    x = 20 + big.width + 30
    names = ["baseTile.png", "obstacle.png", "nullTile.png", "entityRed.png", "entityBlue.png",
             "zolEntityDead.png", "entitySelected.png", "entityTargetEntity.png", "entityTarget.png",
             "zolRedPath.png", "zolBluePath.png", "zolHealthBorder.png"]
    label(x, y, "each at 128 px and 25 px (+ 3x); markers over floor, dead mark over a blue body")
    for i, name in enumerate(names):
        cx = x + (i % 4) * 150
        cy = y + 44 + (i // 4) * 230
        under = [] if name in ("baseTile.png", "obstacle.png", "nullTile.png") else [p["baseTile.png"]]
        if name == "zolEntityDead.png":
            under.append(p["entityBlue.png"])
        for layer in under + [p[name]]:
            place(sheet, layer, 128, 128, cx, cy)
        tiny = canvas(25, 25)
        for layer in under + [p[name]]:
            place(tiny, layer, 25, 25, 0, 0, gl=True)
        sheet.alpha_composite(tiny, (cx, cy + 134))
        sheet.alpha_composite(tiny.resize((75, 75), Image.NEAREST), (cx + 40, cy + 134))
        label(cx, cy - 18, name.replace(".png", ""))
    y += 22 + max(big.height, 3 * 230) + 30

    # Health bars, fog levels, bullets, colour pixels, help button.
    head(20, y, "health, fog, bullets (top-left of each: at zoom 0.2), help button")
    y += 34
    for i, hp in enumerate((100, 50)):
        cx = 20 + i * 150
        place(sheet, p["baseTile.png"], 128, 128, cx, y)
        place(sheet, p["entityRed.png"], 128, 128, cx, y)
        h = hp / 100.0
        w = int(cx + 19 + 89 * h) - (cx + 19)
        place(sheet, p["redPixel.png"], w, 8, cx + 19, y + 8)
        place(sheet, p["greenPixel.png"], w, 8, cx + 19, y + 8, intensity=h)
        place(sheet, p["zolHealthBorder.png"], 128, 128, cx, y)
        label(cx, y + 132, "health %d" % hp)
    for i, a in enumerate((1.0, 0.5)):
        cx = 320 + i * 150
        place(sheet, p["baseTile.png"], 128, 128, cx, y)
        place(sheet, p["entityBlue.png"], 128, 128, cx, y)
        place(sheet, p["zolFog.png"], 128, 128, cx, y, intensity=a)
        label(cx, y + 132, "fog %.1f" % a)
    cx = 630
    for name, side in (("zolBulletOrange.png", 48), ("zolBulletYellow.png", 48), ("zolBulletShotgun.png", 24)):
        place(sheet, p["baseTile.png"], 128, 128, cx, y)
        place(sheet, p[name], side, side, cx + 40, y + 40)
        place(sheet, p[name], max(1, side // 5), max(1, side // 5), cx + 10, y + 10, gl=True)
        label(cx, y + 132, name.replace(".png", "").replace("zolBullet", "").lower() + ", %d px" % side)
        cx += 170
    for i, name in enumerate(("greenPixel.png", "redPixel.png", "yellowPixel.png")):
        place(sheet, p[name], 40, 40, cx + 10, y + i * 44)
        label(cx + 56, y + 12 + i * 44, name.replace(".png", ""))
    cx += 190
    place(sheet, p["helpButton.png"], 75, 50, cx, y)
    place(sheet, p["helpButton.png"], 150, 100, cx + 90, y)
    label(cx, y + 132, "help button, 75 x 50 and 150 x 100")
    y += 170

    head(20, y, "view banners over the map, help picture, font pictures")
    y += 34
    strip = mock_battlefield(p, 0.5, gl=False)
    for i, name in enumerate(("zolRedActive.png", "zolBlueActive.png", "zolGodActive.png")):
        part = strip.crop((0, 64 * i, 1024, 64 * i + 64))
        part.alpha_composite(p[name])
        part.alpha_composite(p["helpButton.png"].resize((75, 50), Image.LANCZOS), (924, 5))
        sheet.alpha_composite(part, (20, y + i * 70))
    y += 3 * 70 + 10
    sheet.alpha_composite(p["zolHelpScreen.png"], (20, y))
    fx = 850
    for i, (name, _, colour) in enumerate(FONTS):
        fy = y + i * 112
        bg = (230, 230, 226, 255) if colour != (255, 255, 255) else (60, 64, 72, 255)
        d.rectangle((fx, fy, fx + 512, fy + 100), fill=bg)
        glyphs = p[name].resize((512, 256), Image.LANCZOS).crop((0, 64, 512, 160))
        sheet.alpha_composite(glyphs, (fx, fy + 2))
        label(fx + 520, fy + 40, name.replace("fonts/", "").replace(".png", "") + " (half size, rows 2-4)")
    return sheet.crop((0, 0, W, y + 446 + 20)).convert("RGB")


def main():
    pics = build_all()
    for name, img in pics.items():
        save(img, os.path.join("assets", name))
    # The contact sheet looks at the pictures exactly as written.
    written = {name: Image.open(os.path.join(ASSETS, name)).convert("RGBA") for name in pics}
    sheet = contact_sheet(written)
    sheet = sheet.quantize(256, method=Image.FASTOCTREE)
    save(sheet, os.path.join("docs", "pictures.png"))
    for px, img in menu_icon().items():
        save(img, os.path.join("packaging", "icons", "dromlin-%d.png" % px))
    return 0


if __name__ == "__main__":
    sys.exit(main())
