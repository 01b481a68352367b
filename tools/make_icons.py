#!/usr/bin/env python3
"""Draws the program's icons into resources/icons/ and writes resources/icons.qrc.

Plain Python only (zlib and struct): each icon is a few filled shapes drawn
on a 4x oversampled canvas and averaged down to 32 x 32 pixels.
Run: python3 tools/make_icons.py

The resource file gives each one its ":/icons/<name>.png" path.
"""

import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "icons")
SIZE = 32
SS = 4
N = SIZE * SS


class Canvas:
    def __init__(self):
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(N * N)]

    def _blend(self, x, y, c):
        r, g, b, a = c
        p = self.px[y * N + x]
        if a == 0.0:
            # A fully transparent colour erases what is below it.
            p[0] = p[1] = p[2] = p[3] = 0.0
            return
        inv = 1.0 - a
        p[0] = r * a + p[0] * inv
        p[1] = g * a + p[1] * inv
        p[2] = b * a + p[2] * inv
        p[3] = a + p[3] * inv

    def shape(self, inside, bbox, color):
        x0, y0, x1, y1 = [int(v * SS) for v in bbox]
        x0, y0 = max(0, x0 - 1), max(0, y0 - 1)
        x1, y1 = min(N, x1 + 1), min(N, y1 + 1)
        c = rgba(color)
        for yy in range(y0, y1):
            fy = (yy + 0.5) / SS
            for xx in range(x0, x1):
                if inside((xx + 0.5) / SS, fy):
                    self._blend(xx, yy, c)

    def rect(self, x, y, w, h, color, r=0.0):
        def inside(px, py):
            if px < x or px > x + w or py < y or py > y + h:
                return False
            if r <= 0:
                return True
            cx = min(max(px, x + r), x + w - r)
            cy = min(max(py, y + r), y + h - r)
            return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
        self.shape(inside, (x, y, x + w, y + h), color)

    def circle(self, cx, cy, rad, color, inner=0.0):
        def inside(px, py):
            d = (px - cx) ** 2 + (py - cy) ** 2
            return inner * inner <= d <= rad * rad
        self.shape(inside, (cx - rad, cy - rad, cx + rad, cy + rad), color)

    def line(self, x0, y0, x1, y1, width, color):
        dx, dy = x1 - x0, y1 - y0
        ln = dx * dx + dy * dy or 1e-9
        hw = width / 2.0

        def inside(px, py):
            t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / ln))
            qx, qy = x0 + t * dx, y0 + t * dy
            return (px - qx) ** 2 + (py - qy) ** 2 <= hw * hw
        self.shape(inside, (min(x0, x1) - hw, min(y0, y1) - hw, max(x0, x1) + hw,
                            max(y0, y1) + hw), color)

    def poly(self, pts, color):
        def inside(px, py):
            c = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.shape(inside, (min(xs), min(ys), max(xs), max(ys)), color)

    def png(self):
        rows = []
        for y in range(SIZE):
            row = bytearray([0])
            for x in range(SIZE):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SS):
                    for sx in range(SS):
                        p = self.px[(y * SS + sy) * N + x * SS + sx]
                        acc[0] += p[0] * p[3]
                        acc[1] += p[1] * p[3]
                        acc[2] += p[2] * p[3]
                        acc[3] += p[3]
                a = acc[3]
                if a > 0:
                    row += bytes([int(acc[0] / a * 255 + 0.5), int(acc[1] / a * 255 + 0.5),
                                  int(acc[2] / a * 255 + 0.5), int(a / (SS * SS) * 255 + 0.5)])
                else:
                    row += bytes(4)
            rows.append(bytes(row))
        raw = b"".join(rows)

        def chunk(tag, data):
            c = struct.pack(">I", len(data)) + tag + data
            return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
        ihdr = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9))
                + chunk(b"IEND", b""))


def rgba(c):
    if len(c) == 7:
        c = c + "ff"
    return tuple(int(c[i:i + 2], 16) / 255.0 for i in (1, 3, 5, 7))


BLUE, DARK, GREEN, RED = "#2f6db5", "#333b48", "#3a9a3a", "#c8372d"
YELLOW, GREY, WHITE, ORANGE = "#f2c230", "#8a939e", "#ffffff", "#e9812b"


def folder(c, color="#e8b84a"):
    c.rect(3, 8, 12, 5, color, 1.5)
    c.rect(3, 10, 26, 17, color, 2)
    c.rect(3, 13, 26, 14, "#f4cf6b", 2)


def sheet(c, color=WHITE):
    c.poly([(7, 3), (20, 3), (26, 9), (26, 29), (7, 29)], DARK)
    c.poly([(8, 4), (19.5, 4), (25, 9.5), (25, 28), (8, 28)], color)
    c.poly([(19.5, 4), (25, 9.5), (19.5, 9.5)], "#c9ced6")


def chip(c):
    for i in range(4):
        y = 8 + i * 5.3
        c.rect(2, y, 28, 2, GREY)
        c.rect(8 + i * 5.3, 2, 2, 28, GREY)
    c.rect(6, 6, 20, 20, DARK, 2)
    c.rect(10, 10, 12, 12, "#5b6b80", 1)


def lock(c, closed):
    if closed:
        c.circle(16, 11, 7, GREY, inner=4.5)
    else:
        c.circle(22, 9, 6.5, GREY, inner=4.2)
        c.rect(14, 9, 6, 6, "#00000000")
    c.rect(7, 14, 18, 15, YELLOW if closed else GREEN, 2)
    c.circle(16, 20, 2.2, DARK)
    c.rect(15.2, 20, 1.6, 5, DARK)


def plug(c):
    c.rect(6, 11, 14, 10, DARK, 2)
    c.rect(20, 13, 8, 2.5, GREY)
    c.rect(20, 17, 8, 2.5, GREY)
    c.line(2, 16, 6, 16, 3, DARK)


ICONS = {}


def icon(name):
    def deco(f):
        ICONS[name] = f
        return f
    return deco


@icon("hardwarechip.png")
def _(c):
    chip(c)


@icon("open.png")
def _(c):
    folder(c)
    c.poly([(16, 2), (22, 8), (18, 8), (18, 13), (14, 13), (14, 8), (10, 8)], GREEN)


@icon("save.png")
def _(c):
    c.rect(4, 4, 24, 24, BLUE, 2)
    c.rect(9, 4, 14, 9, WHITE)
    c.rect(18, 5.5, 3, 6, BLUE)
    c.rect(8, 17, 16, 11, "#dfe6ef")


@icon("exit.png")
def _(c):
    c.rect(4, 3, 14, 26, "#8b5a2b", 1)
    c.circle(15, 16, 1.3, YELLOW)
    c.line(16, 16, 28, 16, 3, RED)
    c.poly([(29, 16), (23, 10), (23, 22)], RED)


@icon("serial_unlock.png")
def _(c):
    lock(c, False)


@icon("serial_lock.png")
def _(c):
    lock(c, True)


@icon("opts.png")
def _(c):
    c.circle(16, 16, 11, GREY, inner=0)
    for k in range(8):
        a = k * math.pi / 4
        c.circle(16 + 12 * math.cos(a), 16 + 12 * math.sin(a), 3, GREY)
    c.circle(16, 16, 5, WHITE)


@icon("test.png")
def _(c):
    c.rect(3, 5, 26, 22, DARK, 2)
    c.rect(5, 7, 22, 18, "#0d2a12")
    c.line(6, 18, 11, 18, 2, "#3be06a")
    c.line(11, 18, 14, 10, 2, "#3be06a")
    c.line(14, 10, 18, 22, 2, "#3be06a")
    c.line(18, 22, 21, 16, 2, "#3be06a")
    c.line(21, 16, 26, 16, 2, "#3be06a")


@icon("password.png")
def _(c):
    c.circle(10, 16, 7, YELLOW, inner=3)
    c.rect(16, 14.5, 13, 3, YELLOW)
    c.rect(23, 17, 2.5, 5, YELLOW)
    c.rect(27, 17, 2.5, 4, YELLOW)


@icon("ReadEEPROM.png")
def _(c):
    chip(c)
    c.poly([(16, 28), (9, 20), (13.5, 20), (13.5, 12), (18.5, 12), (18.5, 20), (23, 20)], GREEN)


@icon("file warning.png")
def _(c):
    sheet(c)
    c.poly([(16, 10), (25, 27), (7, 27)], YELLOW)
    c.rect(15, 15, 2, 6, DARK)
    c.rect(15, 23, 2, 2, DARK)


@icon("folder doc.png")
def _(c):
    folder(c)
    c.rect(10, 5, 12, 14, WHITE)
    for i in range(3):
        c.rect(12, 8 + i * 3, 8, 1.3, GREY)
    c.rect(3, 15, 26, 12, "#f4cf6b", 2)


@icon("Help.png")
def _(c):
    c.circle(16, 16, 13, BLUE)
    c.circle(16, 12, 5, WHITE, inner=2.6)
    c.rect(10, 9, 6, 6, BLUE)
    c.rect(14.7, 15, 2.6, 4, WHITE)
    c.circle(16, 23, 1.8, WHITE)


@icon("About.png")
def _(c):
    c.circle(16, 16, 13, BLUE)
    c.circle(16, 9.5, 2, WHITE)
    c.rect(14.5, 13, 3, 11, WHITE, 1)


@icon("ChoosePort.png")
def _(c):
    plug(c)
    c.circle(24, 25, 6, BLUE)
    c.line(21, 25, 27, 25, 1.6, WHITE)
    c.line(24, 22, 24, 28, 1.6, WHITE)


@icon("openport.png")
def _(c):
    plug(c)
    c.circle(24, 25, 6, GREEN)


@icon("Programming.png")
def _(c):
    chip(c)
    c.poly([(16, 4), (9, 12), (13.5, 12), (13.5, 20), (18.5, 20), (18.5, 12), (23, 12)], ORANGE)


@icon("Sounds.png")
def _(c):
    c.rect(4, 12, 6, 8, DARK)
    c.poly([(9, 12), (17, 5), (17, 27), (9, 20)], DARK)
    c.circle(17, 16, 8, BLUE, inner=6.5)
    c.rect(9, 4, 9, 24, "#00000000")
    c.circle(17, 16, 12, BLUE, inner=10.5)


@icon("qtcreator_logo_48.png")
def _(c):
    c.poly([(6, 2), (30, 2), (30, 24), (24, 30), (2, 30), (2, 6)], "#41cd52")
    c.circle(15, 15, 7, WHITE, inner=4.3)
    c.line(17, 17, 24, 24, 3, WHITE)


@icon("burn.png")
def _(c):
    c.poly([(16, 2), (24, 14), (26, 22), (22, 28), (10, 28), (6, 22), (8, 14), (12, 18)], ORANGE)
    c.poly([(16, 12), (21, 20), (20, 26), (12, 26), (11, 20)], YELLOW)


@icon("DossierBleu Images.png")
def _(c):
    folder(c, "#3f7fd0")
    c.rect(9, 14, 14, 10, WHITE)
    c.poly([(10, 23), (14, 17), (17, 21), (19, 19), (22, 23)], GREEN)
    c.circle(19.5, 16.5, 1.4, YELLOW)


@icon("DossierBleu Documents.png")
def _(c):
    folder(c, "#3f7fd0")
    c.rect(10, 13, 12, 12, WHITE)
    for i in range(3):
        c.rect(12, 16 + i * 3, 8, 1.3, GREY)


@icon("DossierBleu Download.png")
def _(c):
    folder(c, "#3f7fd0")
    c.poly([(16, 27), (9, 19), (13.5, 19), (13.5, 12), (18.5, 12), (18.5, 19), (23, 19)], GREEN)


@icon("Clock.png")
def _(c):
    c.circle(16, 16, 13, DARK)
    c.circle(16, 16, 11, WHITE)
    c.line(16, 16, 16, 8, 2.2, DARK)
    c.line(16, 16, 22, 19, 2.2, DARK)
    c.circle(16, 16, 1.6, RED)


@icon("thermometer.png")
def _(c):
    c.rect(12.5, 2, 7, 22, DARK, 3.5)
    c.circle(16, 24, 6, DARK)
    c.rect(14, 3.5, 4, 19, WHITE, 2)
    c.rect(14.5, 10, 3, 14, RED)
    c.circle(16, 24, 4.5, RED)


@icon("addd.png")
def _(c):
    c.circle(16, 16, 13, GREEN)
    c.rect(14, 8, 4, 16, WHITE)
    c.rect(8, 14, 16, 4, WHITE)


@icon("closeport.png")
def _(c):
    plug(c)
    c.circle(24, 25, 6, RED)
    c.rect(21, 24, 6, 2, WHITE)


@icon("apply.png")
def _(c):
    c.line(6, 17, 13, 24, 5, GREEN)
    c.line(13, 24, 26, 8, 5, GREEN)


@icon("cancel.png")
def _(c):
    c.circle(16, 16, 13, RED)
    c.line(10, 10, 22, 22, 4, WHITE)
    c.line(22, 10, 10, 22, 4, WHITE)


@icon("remove.png")
def _(c):
    c.circle(16, 16, 13, RED)
    c.rect(8, 14, 16, 4, WHITE)


@icon("forward.png")
def _(c):
    c.poly([(4, 12), (17, 12), (17, 5), (28, 16), (17, 27), (17, 20), (4, 20)], BLUE)


@icon("search.png")
def _(c):
    c.circle(13, 13, 9, DARK, inner=6)
    c.circle(13, 13, 6, "#cfe3f7")
    c.line(19, 19, 28, 28, 4.5, DARK)


def stored_name(name):
    return name


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in ICONS.items():
        c = Canvas()
        draw(c)
        with open(os.path.join(OUT, stored_name(name)), "wb") as f:
            f.write(c.png())
    lines = ['<!DOCTYPE RCC><RCC version="1.0">', '<qresource prefix="/">']
    for name in sorted(ICONS):
        lines.append(f'    <file alias="icons/{name}">icons/{stored_name(name)}</file>')
    lines += ["</qresource>", "</RCC>"]
    with open(os.path.join(ROOT, "resources", "icons.qrc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
