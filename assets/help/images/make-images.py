#!/usr/bin/env python3
"""Draws the help pictures with ImageMagick: the main window and the clock-settings dialog.

Both are sketches of the windows at 20 twips to a pixel (three quarters of their size at 96 dpi), with yellow
numbered markers that the help pages explain. The main window has no words of the interface, so both help
files show the same picture; the clock-settings dialog is drawn in Japanese here and in English for the
English help (../en/images/). Run from this folder:  python3 make-images.py
Needs ImageMagick 6 (convert), the DejaVu fonts and IPAGothic (fonts-ipafont-gothic).
"""
import math
import subprocess

SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
TITLE_BLUE = "#3a6ea5"
SECOND_HAND = "#c00000"


def hands(cx, cy, hour, minute, second):
    """Hour, minute and second hands of one dial, as MVG lines from the centre."""
    out = []
    for angle, length, colour in (((hour % 12 + minute / 60) * 30, 20, "black"),
                                  ((minute + second / 60) * 6, 28, "black"),
                                  (second * 6, 30, SECOND_HAND)):
        a = math.radians(angle)
        out.append(f"stroke '{colour}' stroke-width 2 line {cx:.1f},{cy:.1f} "
                   f"{cx + length * math.sin(a):.1f},{cy - length * math.cos(a):.1f}")
    return out


def marker(n, x, y):
    return [f"fill '#ffd800' stroke black stroke-width 1 circle {x},{y} {x + 6},{y}",
            f"stroke none fill black font '{BOLD}' font-size 9 text {x - 3},{y + 3.5} '{n}'"]


def main_window():
    # Client area starts at (1, 38): title bar and menu bar above it.
    m = ["stroke none", f"fill '{TITLE_BLUE}' rectangle 1,1 300,19",
         f"fill white font '{BOLD}' font-size 10 text 6,14 '++ Pelkin Horavista ++'",
         "fill '#f7f7f7' rectangle 1,20 300,36",
         f"fill black font '{SANS}' font-size 10 text 6,32 'File    Option    Help'",
         "fill '#f0f0f0' rectangle 1,38 300,247",
         "fill none stroke black stroke-width 1",
         "rectangle 7.5,44.5 86.5,123.5", "rectangle 9.5,46.5 88.5,125.5",
         "rectangle 211.5,134.5 290.5,213.5", "rectangle 213.5,136.5 292.5,215.5"]
    m += hands(46.75, 83.75, 10, 8, 30) + hands(252.25, 173.25, 2, 8, 30)
    m += ["stroke none fill black", f"font '{SANS}' font-size 8",
          "text 41,56 '12'", "text 77,87 '3'", "text 44,120 '6'", "text 13,87 '9'",
          "text 245,146 '12'", "text 282,176 '3'", "text 249,210 '6'", "text 217,176 '9'",
          "text 28,142 '10:08:30'", "text 35,152 'Tokyo'",
          "text 237,111 'London'", "text 233,122 '02:08:30'",
          "fill red rectangle 229,208 294,219", "fill white text 233,217 'Summer+Time'",
          # the dial picture: a small landscape
          "fill '#b8d8f0' stroke '#808080' rectangle 94.5,79.5 203.5,189.5",
          "stroke none fill '#6a9a50' polygon 95,189 128,142 150,166 170,132 203,178 203,189",
          "fill '#f0c040' circle 178,100 178,108",
          # the city list
          "fill white stroke '#808080' rectangle 7.5,224.5 294.5,240.5",
          "rectangle 280.5,225.5 293.5,239.5",
          "stroke none fill black text 11,236 'London'", "polygon 284,230 291,230 287.5,235"]
    for n, x, y in ((1, 96, 50), (2, 17, 147), (3, 103, 89), (4, 224, 110), (5, 286, 126),
                    (6, 221, 213), (7, 150, 232)):
        m += marker(n, x, y)
    return (302, 249), m, 32


# The dialog's words: its title, and each button's caption with its offset from the button's left edge.
DIALOG_WORDS = {
    "ja": (GOTHIC, "++ 時計設定 ++", (("キャンセル", 3.5), ("設定", 16))),
    "en": (SANS, "++ Clock Settings ++", (("Cancel", 8), ("Set", 16))),
}


def settings_dialog(language):
    font, title, captions = DIALOG_WORDS[language]
    ox, oy = 1, 21  # client area origin below the title bar

    def p(x, y):
        return f"{x + ox:.1f},{y + oy:.1f}"

    def rect(x, y, w, h):
        return f"rectangle {x + ox + .5:.1f},{y + oy + .5:.1f} {x + w + ox - .5:.1f},{y + h + oy - .5:.1f}"

    m = ["stroke none", f"fill '{TITLE_BLUE}' rectangle 1,1 229,20",
         f"fill white font '{font}' font-size 11 text 8,15 '{title}'",
         "fill white rectangle 1,21 229,207",
         # a hint of the pale world map behind the dials
         "fill '#e4e4e4'",
         f"ellipse {p(40, 60)} 30 22 0 360", f"ellipse {p(60, 120)} 14 30 0 360",
         f"ellipse {p(115, 55)} 22 16 0 360", f"ellipse {p(118, 105)} 15 28 0 360",
         f"ellipse {p(175, 50)} 40 20 0 360", f"ellipse {p(200, 120)} 15 10 0 360",
         "fill none stroke black stroke-width 1",
         rect(6.75, 5.25, 79, 79), rect(9, 7.5, 79, 79),
         rect(139.5, 44.25, 79, 79), rect(141.75, 46.5, 79, 79)]
    for line in hands(45.75, 45.75, 10, 8, 30) + hands(181.25, 83.75, 2, 8, 30):
        # hands() works in client coordinates here; shift them below the title bar
        head, coords = line.split(" line ")
        (x1, y1), (x2, y2) = (map(float, c.split(",")) for c in coords.split())
        m.append(f"{head} line {p(x1, y1)} {p(x2, y2)}")
    m += ["stroke none fill black", f"font '{SANS}' font-size 8"]
    for x, y, t in ((41, 18, "12"), (77, 48, "3"), (44, 80, "6"), (12, 48, "9"),
                    (174, 56, "12"), (210, 87, "3"), (178, 118, "6"), (145, 87, "9"),
                    (29, 100, "10:08:30"), (162, 37, "02:08:30")):
        m.append(f"text {p(x, y)} '{t}'")
    for x, y, t in ((5.25, 105.75, "Tokyo"), (138.75, 9.75, "London")):
        m += ["fill white stroke '#808080'", rect(x, y, 87.75, 17.25), rect(x + 74, y + 1.5, 12.5, 14.25),
              "stroke none fill black", f"text {p(x + 4, y + 12)} '{t}'",
              f"polygon {p(x + 77, y + 6)} {p(x + 84, y + 6)} {p(x + 80.5, y + 11)}"]
    for x, ticked in ((11.25, False), (141, True)):
        m += ["fill white stroke '#404040'", rect(x, 136, 11, 11)]
        if ticked:
            m.append(f"stroke black stroke-width 1.5 fill none polyline {p(x + 2.5, 141.5)} "
                     f"{p(x + 5, 144.5)} {p(x + 9, 138.5)}")
        m += ["stroke none fill black", f"font '{SANS}' font-size 8", f"text {p(x + 13, 145)} 'Summer+Time'"]
    for x, (caption, dx) in zip((114.75, 170.25), captions):
        m += ["fill '#e8e8e8' stroke '#707070' stroke-width 1", rect(x, 160.5, 50.25, 17.25),
              f"stroke none fill black font '{font}' font-size 9", f"text {p(x + dx, 172.5)} '{caption}'"]
    for n, x, y in ((1, 98, 36), (2, 99, 136), (3, 17, 181), (4, 130, 39), (5, 134, 163), (6, 108, 190)):
        m += marker(n, x, y)
    return (230, 208), m, 64


def render(name, size, mvg, colours):
    subprocess.run(["convert", "-size", f"{size[0]}x{size[1]}", "xc:#a0a0a0", "-draw", "\n".join(mvg),
                    "-strip", "+dither", "-colors", str(colours), "-define", "png:compression-level=9",
                    f"PNG8:{name}"], check=True)


if __name__ == "__main__":
    render("mainwindow.png", *main_window())
    render("settime.png", *settings_dialog("ja"))
    render("../en/images/settime.png", *settings_dialog("en"))
