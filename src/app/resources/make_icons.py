#!/usr/bin/env python3
"""Draws the tool bar images and cursors of the editor as SVG files.

One small vocabulary for all of them: a light canvas for wave pictures, blue
waves, dark outlines, orange for what a command adds or changes, red for
what it removes, green for what it starts. Run it after changing a picture;
the SVG files it writes are the resources the program is built with.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
INK, WAVE, ACC, RED, GREEN = "#27313d", "#1f6fd1", "#e8820c", "#d63b3b", "#2f9e44"
CANVAS, SEL, PAPER, GREY = "#f2f6fb", "#bcd6fb", "#ffffff", "#8a96a3"
FONT = "DejaVu Sans, Arial, sans-serif"


def svg(body, size=24):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {size} {size}">{body}</svg>\n')


def path(d, color=WAVE, width=1.8, fill="none", extra=""):
    return (f'<path d="{d}" fill="{fill}" stroke="{color}" stroke-width="{width}" '
            f'stroke-linecap="round" stroke-linejoin="round"{extra}/>')


def poly(points, color=WAVE, width=1.8, fill="none", close=False):
    d = "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in points) + (" Z" if close else "")
    return path(d, color, width, fill)


def rect(x, y, w, h, fill=CANVAS, stroke=INK, width=1.2, r=1.5):
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{fill}" '
            f'stroke="{stroke}" stroke-width="{width}"/>')


def circle(cx, cy, r, fill, stroke="none", width=1.2):
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{fill}" stroke="{stroke}" stroke-width="{width}"/>'


def text(x, y, s, size=10, color=INK, weight="bold", anchor="middle", family=FONT):
    return (f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" font-weight="{weight}" '
            f'fill="{color}" text-anchor="{anchor}">{s}</text>')


def canvas(x=1.5, y=3.5, w=21, h=17):
    return rect(x, y, w, h)


def curve(f, x0=3, x1=21, cy=12, amp=6, steps=48, color=WAVE, width=1.8):
    pts = [(x0 + (x1 - x0) * i / steps, cy - amp * f(i / steps)) for i in range(steps + 1)]
    return poly(pts, color, width)


def sine(x0=3, x1=21, cy=12, amp=6, periods=2, color=WAVE, width=1.8, phase=0.0):
    return curve(lambda t: math.sin(2 * math.pi * (periods * t + phase)), x0, x1, cy, amp,
                 color=color, width=width)


def square(x0=3, x1=21, cy=12, amp=5, periods=2, color=WAVE):
    pts, step = [], (x1 - x0) / (2 * periods)
    for i in range(2 * periods):
        y = cy - amp if i % 2 == 0 else cy + amp
        pts += [(x0 + i * step, y), (x0 + (i + 1) * step, y)]
    return poly(pts, color)


def triangle(x0=3, x1=21, cy=12, amp=6, periods=2, color=WAVE):
    n = 4 * periods
    pts = [(x0 + (x1 - x0) * i / n, cy - amp * [0, 1, 0, -1][i % 4]) for i in range(n + 1)]
    return poly(pts, color)


NOISE = [0.1, 0.9, -0.6, 0.4, -1.0, 0.7, -0.2, 0.95, -0.8, 0.3, -0.4, 0.85, -0.95, 0.2, 0.6, -0.7]


def noise(x0=3, x1=21, cy=12, amp=6, color=WAVE):
    n = len(NOISE) - 1
    return poly([(x0 + (x1 - x0) * i / n, cy - amp * v) for i, v in enumerate(NOISE)], color, 1.4)


def arrow(x1, y1, x2, y2, color=ACC, width=2.0, head=3.2):
    a = math.atan2(y2 - y1, x2 - x1)
    h1 = (x2 - head * math.cos(a - 0.5), y2 - head * math.sin(a - 0.5))
    h2 = (x2 - head * math.cos(a + 0.5), y2 - head * math.sin(a + 0.5))
    return (poly([(x1, y1), (x2, y2)], color, width) +
            poly([h1, (x2, y2), h2], color, width))


def badge_plus(cx=18, cy=18, color=GREEN):
    return circle(cx, cy, 4.6, color, PAPER, 1) + path(
        f"M{cx - 2.4},{cy} H{cx + 2.4} M{cx},{cy - 2.4} V{cy + 2.4}", PAPER, 1.6)


def badge_x(cx=18, cy=18, color=RED):
    d = 2.1
    return circle(cx, cy, 4.6, color, PAPER, 1) + path(
        f"M{cx - d},{cy - d} L{cx + d},{cy + d} M{cx + d},{cy - d} L{cx - d},{cy + d}", PAPER, 1.6)


def page(x=4, y=2, w=14, h=19):
    fold = 4
    return path(f"M{x},{y} H{x + w - fold} L{x + w},{y + fold} V{y + h} H{x} Z", INK, 1.2, PAPER) + \
        path(f"M{x + w - fold},{y} V{y + fold} H{x + w}", INK, 1.0)


def folder():
    return path("M2,7 V19 H19 L22,10 H6 L3,19", INK, 1.2, "#f7d27a") + \
        path("M2,19 V5 H8 L10,7 H18 V10", INK, 1.2, "#f2c14e")


def note(x, y, stem=True, filled=True, flags=0, color=INK, scale=1.0):
    body = f'<ellipse cx="{x}" cy="{y}" rx="{3.0 * scale}" ry="{2.2 * scale}" ' \
           f'transform="rotate(-20 {x} {y})" fill="{color if filled else PAPER}" ' \
           f'stroke="{color}" stroke-width="1.4"/>'
    sx = x + 2.7 * scale
    top = y - 13 * scale
    if stem:
        body += path(f"M{sx},{y - 0.5} V{top}", color, 1.4)
    for i in range(flags):
        fy = top + i * 3.0 * scale
        body += path(f"M{sx},{fy} q{3.5 * scale},{1.5 * scale} {3.2 * scale},{5 * scale}", color, 1.4)
    return body


def magnifier(cx=10, cy=10, r=6):
    return circle(cx, cy, r, "#e8f1fd", INK, 1.6) + path(f"M{cx + r * 0.7},{cy + r * 0.7} L21,21", INK, 2.6)


def pencil(x=13, y=17, color=ACC):
    return (f'<g transform="rotate(-45 {x} {y})">'
            f'<rect x="{x}" y="{y - 2}" width="11" height="4" fill="{color}" stroke="{INK}" stroke-width="1"/>'
            f'<path d="M{x},{y - 2} L{x - 4},{y} L{x},{y + 2} Z" fill="#f5deb3" stroke="{INK}" stroke-width="1"/>'
            f'</g>')


def floppy(color=WAVE):
    return path("M3,3 H18 L21,6 V21 H3 Z", INK, 1.2, color) + rect(7, 3.5, 9, 6, PAPER, INK, 1, 0.5) + \
        rect(6, 13, 12, 8, PAPER, INK, 1, 0.5)


def scissors():
    return circle(7, 17, 3, "none", INK, 1.6) + circle(17, 17, 3, "none", INK, 1.6) + \
        path("M9,15 L17,3 M15,15 L7,3", INK, 1.6)


def clipboard():
    return rect(4, 4, 16, 18, "#e9d6b3", INK, 1.2, 1.5) + rect(8, 2.5, 8, 4, PAPER, INK, 1, 1)


def selection(x0, x1):
    return f'<rect x="{x0}" y="4.1" width="{x1 - x0}" height="15.8" fill="{SEL}"/>'


def speaker(color=INK):
    return path("M3,9 H7 L12,5 V19 L7,15 H3 Z", color, 1.2, GREY)


ICONS = {}


def icon(name):
    def register(fn):
        ICONS[name] = fn
        return fn
    return register


# --- Basic -------------------------------------------------------------------
ICONS["FileNewWave"] = lambda: page() + sine(6, 16, 12, 4, 1.5, width=1.5) + badge_plus()
ICONS["FileOpenWave"] = lambda: folder() + sine(7, 19, 14, 3, 1.5, width=1.5)
ICONS["FileNewMuz"] = lambda: page() + note(9, 16, flags=1, scale=0.8) + badge_plus()
ICONS["FileOpenMuz"] = lambda: folder() + note(11, 16, flags=1, scale=0.7)
ICONS["FileSave"] = lambda: floppy()
ICONS["FileSaveAs"] = lambda: floppy() + pencil(15, 16)
ICONS["FileProperties"] = lambda: canvas() + path("M6,8 H18 M6,12 H18 M6,16 H18", GREY, 1.4) + \
    circle(9, 8, 1.8, ACC, INK, 1) + circle(15, 12, 1.8, ACC, INK, 1) + circle(11, 16, 1.8, ACC, INK, 1)
ICONS["Undo"] = lambda: path("M8,6 H15 A5,5 0 0 1 15,16 H6", ACC, 2.2) + poly([(11, 2), (7, 6), (11, 10)], ACC, 2.2)
ICONS["DeleteUndo"] = lambda: path("M8,6 H14 A4,4 0 0 1 14,14 H6", GREY, 2.0) + \
    poly([(11, 2.5), (7, 6), (11, 9.5)], GREY, 2.0) + badge_x()
ICONS["FilePlay"] = lambda: path("M7,4 L19,12 L7,20 Z", INK, 1.2, GREEN)
ICONS["FileStop"] = lambda: rect(5.5, 5.5, 13, 13, INK, INK, 1.2, 1.5)
ICONS["FilePause"] = lambda: rect(6, 5, 4.5, 14, INK, INK, 1, 1) + rect(13.5, 5, 4.5, 14, INK, INK, 1, 1)
ICONS["FileRecord"] = lambda: circle(12, 12, 7, RED, INK, 1.2)

# --- View --------------------------------------------------------------------
ICONS["ViewWave"] = lambda: canvas() + sine(3, 21, 12, 6, 2)
ICONS["ViewVold"] = lambda: rect(1.5, 3.5, 21, 17, "#101820") + "".join(
    f'<rect x="{3 + 3 * i}" y="{6 + ((i * 5) % 9)}" width="2.6" height="{12 - ((i * 5) % 9)}" '
    f'fill="{["#ff5a3c", "#ffb02e", "#ffe066", "#7bd389", "#4dabf7", "#9775fa"][i]}"/>' for i in range(6))
ICONS["ZoomIn"] = lambda: magnifier() + path("M7,10 H13 M10,7 V13", INK, 1.8)
ICONS["NoZoom"] = lambda: magnifier() + path("M7,10 H13", INK, 1.8)
ICONS["SelectWave"] = lambda: canvas() + selection(8, 16) + sine(3, 21, 12, 5, 2) + \
    path("M8,4 V20 M16,4 V20", ACC, 1.6)
ICONS["SplitH"] = lambda: rect(1.5, 5, 9, 14) + rect(13.5, 5, 9, 14) + sine(3, 9, 12, 4, 1, width=1.4) + \
    sine(15, 21, 12, 4, 1, width=1.4, phase=0.5) + path("M12,2 V22", RED, 1.6, extra=' stroke-dasharray="2 2"')
ICONS["MergeH"] = lambda: rect(1.5, 5, 21, 14) + sine(3, 21, 12, 4, 2, width=1.4) + \
    arrow(2, 2.5, 9, 2.5, ACC, 1.6, 2.4) + arrow(22, 2.5, 15, 2.5, ACC, 1.6, 2.4)
ICONS["SplitV"] = lambda: rect(1.5, 2, 21, 9) + rect(1.5, 13, 21, 9) + sine(3, 21, 6.5, 3, 2, RED, 1.4) + \
    sine(3, 21, 17.5, 3, 2, "#0c8a8a", 1.4)
ICONS["MergeV"] = lambda: rect(1.5, 3.5, 21, 17) + sine(3, 21, 8.5, 3, 2, RED, 1.4) + \
    sine(3, 21, 15.5, 3, 2, "#0c8a8a", 1.4)
ICONS["EditDelete"] = lambda: canvas() + selection(8, 16) + sine(3, 21, 12, 5, 2) + badge_x(12, 12)
ICONS["EditTrim"] = lambda: canvas() + sine(8, 16, 12, 5, 1) + path("M3,12 H7 M17,12 H21", GREY, 1.4) + \
    path("M7.5,4 V20 M16.5,4 V20", RED, 1.6)
ICONS["EditCut"] = lambda: scissors()
ICONS["EditCopy"] = lambda: rect(2.5, 2.5, 12, 14, PAPER) + rect(9.5, 7.5, 12, 14, PAPER) + \
    sine(11, 20, 14.5, 3, 1, width=1.4)
ICONS["EditPaste"] = lambda: clipboard() + rect(8, 9, 10, 10, PAPER, INK, 1, 0.5) + sine(9, 17, 14, 3, 1, width=1.4)
ICONS["EditSwap"] = lambda: arrow(3, 8, 20, 8, ACC) + arrow(21, 16, 4, 16, WAVE)
ICONS["EditExtract"] = lambda: canvas() + selection(8, 16) + sine(3, 8, 12, 5, 0.75) + \
    path("M8,12 H16", ACC, 1.8) + sine(16, 21, 12, 5, 0.75, phase=0.25)
ICONS["EditMix"] = lambda: canvas() + sine(3, 21, 12, 5, 1, width=1.4) + \
    sine(3, 21, 12, 3, 3, ACC, 1.4) + badge_plus(18, 18, ACC)
ICONS["EditClearClipboard"] = lambda: clipboard() + badge_x(16, 17)

# --- Make Waves --------------------------------------------------------------
ICONS["MakeSilence"] = lambda: canvas() + path("M3,12 H21", WAVE, 2)
ICONS["MakeLine"] = lambda: canvas() + path("M3,18 L21,6", WAVE, 2)
ICONS["MakeBlock"] = lambda: canvas() + square()
ICONS["MakeTriangle"] = lambda: canvas() + triangle()
ICONS["MakeSinus"] = lambda: canvas() + sine()
ICONS["MakeNoise"] = lambda: canvas() + noise()
ICONS["MakeMFreq"] = lambda: canvas() + curve(lambda t: 0.6 * math.sin(4 * math.pi * t) + 0.4 * math.sin(14 * math.pi * t))
ICONS["DrawWaveLin"] = lambda: canvas() + poly([(3, 14), (7, 7), (11, 16), (15, 9)], WAVE) + pencil(15, 9)
ICONS["DrawWave3G"] = lambda: canvas() + path("M3,14 C6,4 9,20 15,9", WAVE) + pencil(15, 9)
ICONS["Duplicate"] = lambda: rect(2, 2.5, 14, 12, CANVAS) + rect(8, 9.5, 14, 12, CANVAS) + \
    sine(9.5, 20.5, 15.5, 3.5, 1, width=1.4)
ICONS["Volume"] = lambda: canvas() + curve(lambda t: (0.2 + 0.8 * t) * math.sin(8 * math.pi * t), amp=7)
ICONS["MaxVolume"] = lambda: canvas() + path("M3,4.5 H21 M3,19.5 H21", RED, 1, extra=' stroke-dasharray="1.5 1.5"') + \
    sine(3, 21, 12, 7.5, 2)
ICONS["Up"] = lambda: canvas() + sine(3, 21, 14, 4, 2) + arrow(12, 14, 12, 5, ACC)
ICONS["Distort"] = lambda: canvas() + curve(lambda t: max(-0.55, min(0.55, 1.3 * math.sin(4 * math.pi * t))), amp=8)
ICONS["Block"] = lambda: canvas() + poly([(3, 12), (5, 12), (5, 7), (8, 7), (8, 9), (11, 9), (11, 16), (14, 16),
                                          (14, 13), (17, 13), (17, 8), (19, 8), (19, 12), (21, 12)])
ICONS["Length"] = lambda: canvas() + sine(3, 21, 14, 3.5, 2, width=1.4) + arrow(12, 7, 3.5, 7, ACC, 1.6, 2.6) + \
    arrow(12, 7, 20.5, 7, ACC, 1.6, 2.6)
ICONS["Reverse"] = lambda: canvas() + curve(lambda t: (1 - t) * math.sin(6 * math.pi * t), cy=14, amp=5) + \
    arrow(19, 6, 5, 6, ACC, 1.6, 2.6)
ICONS["Rotate"] = lambda: path("M18,8 A7,7 0 1 0 19,14", ACC, 2.2) + poly([(14, 7), (18.5, 8), (19, 3.5)], ACC, 2.2) + \
    sine(8, 16, 12, 2.5, 1, width=1.4)
ICONS["RollOut"] = lambda: canvas() + curve(lambda t: (1 - t) * math.sin(6 * math.pi * t), amp=6) + \
    arrow(14, 16, 21, 16, ACC, 1.6, 2.4)
ICONS["RollIn"] = lambda: canvas() + curve(lambda t: t * math.sin(6 * math.pi * t), amp=6) + \
    arrow(21, 16, 14, 16, ACC, 1.6, 2.4)

# --- Complex Manipulations ---------------------------------------------------
ICONS["Balance"] = lambda: path("M12,4 V20 M7,20 H17", INK, 1.6) + path("M4,8 L20,6", INK, 1.6) + \
    text(6, 15, "L", 7, RED) + text(18, 13, "R", 7, "#0c8a8a")
ICONS["MixLeftRight"] = lambda: sine(3, 21, 8, 3, 2, RED, 1.4) + sine(3, 21, 16, 3, 2, "#0c8a8a", 1.4) + \
    arrow(12, 9, 12, 15, ACC, 1.4, 2)
ICONS["TempoPitch"] = lambda: path("M8,21 L11,3 H13 L16,21 Z", INK, 1.2, "#e9d6b3") + path("M12,18 L18,7", ACC, 1.8) + \
    circle(17, 9, 1.7, ACC)
ICONS["PerEcho"] = lambda: canvas() + "".join(path(f"M{x},12 V{12 - h} M{x},12 V{12 + h}", WAVE, 2)
                                             for x, h in ((5, 7), (10, 5), (15, 3.2), (20, 2)))
ICONS["RndEcho"] = lambda: canvas() + "".join(path(f"M{x},12 V{12 - h} M{x},12 V{12 + h}", WAVE, 2)
                                             for x, h in ((4.5, 7), (7.5, 3), (12.5, 4.5), (14.5, 2), (19.5, 2.8)))


def response(f):
    return canvas() + path("M3,19 H21", GREY, 1) + curve(f, cy=19, amp=13, color=ACC, width=2)


ICONS["FilterLow"] = lambda: response(lambda t: 1.0 if t < 0.45 else max(0.0, 1 - (t - 0.45) * 2.6))
ICONS["FilterHigh"] = lambda: response(lambda t: 1.0 if t > 0.55 else max(0.0, 1 - (0.55 - t) * 2.6))
ICONS["FilterRes"] = lambda: response(lambda t: 0.08 + 0.92 * math.exp(-((t - 0.5) / 0.1) ** 2))
ICONS["FilterNotch"] = lambda: response(lambda t: 0.9 - 0.88 * math.exp(-((t - 0.5) / 0.1) ** 2))
ICONS["FilterBlock"] = lambda: response(lambda t: 0.9 if 0.3 < t < 0.7 else 0.08)

# --- Music -------------------------------------------------------------------
NOTE_FLAGS = {1: 0, 2: 0, 4: 0, 8: 1, 16: 2, 32: 3, 64: 4}
for value, flags in NOTE_FLAGS.items():
    ICONS[f"MusicNote{value}"] = (lambda v=value, f=flags: path("M2,16.5 H22", GREY, 0.8) + note(
        10, 16.5, stem=v != 1, filled=v >= 4, flags=f))


def rest(value):
    staff = path("M2,9 H22 M2,15 H22", GREY, 0.8)
    if value == 1:
        return staff + rect(7, 9, 10, 3, INK, INK, 0.5, 0)
    if value == 2:
        return staff + rect(7, 12, 10, 3, INK, INK, 0.5, 0)
    if value == 4:
        return staff + path("M10,4 L14,9 L10,13 L14,18 Q9,16 12,21", INK, 1.8)
    flags = {8: 1, 16: 2, 32: 3, 64: 4}[value]
    top = 4.5

    def stem_x(y):
        return 16 - (y - top) * 0.3

    body = path(f"M{stem_x(top)},{top} L{stem_x(21)},21", INK, 1.5)
    for i in range(flags):
        y = top + 0.5 + i * 3.8
        body += circle(stem_x(y) - 5, y + 1.2, 1.6, INK) + \
            path(f"M{stem_x(y) - 5},{y + 2.4} Q{stem_x(y) - 2},{y + 3} {stem_x(y)},{y}", INK, 1.2)
    return staff + body


for value in NOTE_FLAGS:
    ICONS[f"MusicSilence{value}"] = lambda v=value: rest(v)

for name, letter in (("MusicKeyG", "G"), ("MusicKeyC", "C"), ("MusicKeyF", "F")):
    ICONS[name] = lambda c=letter: path("M2,7 H22 M2,12 H22 M2,17 H22", GREY, 0.8) + \
        text(12, 19, c, 16, INK, "bold", family="DejaVu Serif, serif")
for name, sign in (("MusicNSDCross", "x"), ("MusicNSCross", "\u266f"), ("MusicNSNormal", "\u266e"),
                   ("MusicNSMol", "\u266d"), ("MusicNSDMol", "\u266d\u266d")):
    ICONS[name] = lambda s=sign: text(12, 18, s, 16 if len(s) == 1 else 12, INK)


def box_arrow(dx, dy, color=ACC):
    cx, cy = 12, 12
    return rect(8, 8, 8, 8, SEL, INK, 1, 1) + arrow(cx + dx * 4, cy + dy * 4, cx + dx * 10, cy + dy * 10, color, 1.8, 2.6)


for direction, (dx, dy) in (("Up", (0, -1)), ("Down", (0, 1)), ("Prev", (-1, 0)), ("Next", (1, 0))):
    ICONS[f"MusicSelect{direction}"] = lambda dx=dx, dy=dy: box_arrow(dx, dy, WAVE)
    ICONS[f"MusicMove{direction}"] = lambda dx=dx, dy=dy: note(8, 16, flags=0, scale=0.8) + \
        arrow(17.5 - dx * 3.5, 11.5 - dy * 5.5, 17.5 + dx * 3.5, 11.5 + dy * 5.5, ACC, 1.8, 2.6)
ICONS["MusicMoveOctUp"] = lambda: note(9, 18, scale=0.8) + text(17, 10, "8", 9, ACC) + arrow(17, 22, 17, 13, ACC, 1.6, 2.4)
ICONS["MusicMoveOctDown"] = lambda: note(9, 18, scale=0.8) + text(17, 22, "8", 9, ACC) + arrow(17, 3, 17, 12, ACC, 1.6, 2.4)
ICONS["MusicPointAdd"] = lambda: note(9, 16, scale=0.8) + circle(15.5, 17, 1.8, INK) + badge_plus(18, 6)
ICONS["MusicPointDelete"] = lambda: note(9, 16, scale=0.8) + circle(15.5, 17, 1.8, INK) + badge_x(18, 6)
ICONS["MusicGenerate"] = lambda: note(6, 10, scale=0.7) + arrow(10, 13, 14, 13, ACC, 1.6, 2.4) + \
    rect(13.5, 7, 9, 12) + sine(14.5, 21.5, 13, 3, 1, width=1.3)
ICONS["MusicDialog"] = lambda: rect(2.5, 3.5, 19, 17, PAPER) + path("M2.5,7.5 H21.5", INK, 1.2) + \
    note(10, 16, scale=0.6) + path("M14,12 H19 M14,16 H19", GREY, 1.4)
ICONS["MusicModeAdd"] = lambda: note(9, 16, scale=0.8) + badge_plus(17, 7)
ICONS["MusicModeEdit"] = lambda: note(8, 17, scale=0.8) + pencil(14, 10)
ICONS["MusicModeDelete"] = lambda: note(9, 16, scale=0.8) + badge_x(17, 7)
ICONS["MusicDelete"] = lambda: rect(5, 6, 14, 15, PAPER, INK, 1.2, 1.5) + path("M3,6 H21 M9,6 V3 H15 V6 M9,10 V17 M15,10 V17", INK, 1.4)
ICONS["MusicPlayNote"] = lambda: note(8, 16, scale=0.8) + path("M14,7 L21,11.5 L14,16 Z", INK, 1, GREEN)
ICONS["MusicAutoPlay"] = lambda: note(8, 16, scale=0.8) + path("M14,7 L21,11.5 L14,16 Z", INK, 1, GREEN) + \
    text(17.5, 23, "A", 7, INK)
ICONS["MusicNoteGroupPrev"] = lambda: note(13, 11, scale=0.6) + note(13, 19, scale=0.6) + arrow(8, 12, 2, 12, ACC, 1.8, 2.6)
ICONS["MusicNoteGroupNext"] = lambda: note(7, 11, scale=0.6) + note(7, 19, scale=0.6) + arrow(15, 12, 22, 12, ACC, 1.8, 2.6)

# --- the program's own icon --------------------------------------------------
ICONS["tonbrisk"] = lambda: rect(1, 1, 22, 22, "#1f3b5c", "#1f3b5c", 1, 4) + \
    sine(3, 21, 14, 5, 2, "#8fd0ff", 1.8) + note(15, 10, scale=0.7, color=ACC)

CURSORS = {
    # 32 x 32; the hot spots are set where the program loads them.
    # the pencil's tip at (1, 31)
    "draw": f'<g transform="scale(2)">{pencil(3.5, 12.8, ACC)}</g>',
    "reject": circle(16, 16, 10, "none", RED, 3) + path("M9,23 L23,9", RED, 3),
    "delete": path("M8,8 L24,24 M24,8 L8,24", PAPER, 6) + path("M8,8 L24,24 M24,8 L8,24", RED, 3),
    "query": circle(16, 16, 11, PAPER, INK, 1.5) + text(16, 22, "?", 17, WAVE),
    "note": note(12, 24, flags=1, color=INK, scale=1.2),
}


def main():
    for name, draw in ICONS.items():
        with open(os.path.join(HERE, "icons", f"{name}.svg"), "w") as f:
            f.write(svg(draw()))
    for name, body in CURSORS.items():
        with open(os.path.join(HERE, "cursors", f"{name}.svg"), "w") as f:
            f.write(svg(body, 32))


if __name__ == "__main__":
    main()
