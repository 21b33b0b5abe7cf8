#!/usr/bin/env python3
"""Draws the program's icons and bitmaps: our own art, reproducible byte for byte.

Usage: make_art.py OUTPUT_DIR
Writes app.ico (128), running.ico (147), stopped.ico (153), skin.bmp (158, 48 x 48, 16 colours)
and banner.bmp (122, 130 x 34, 24 bits). The running and stopped icons differ in shape as well as in
colour (a tick, and the "not available" sign), and the script fails when at 16 px they cannot be told
apart in greyscale or by a viewer without green cones. Each icon holds an image drawn for every size that the
display scales from 100 % to 300 % ask for (16, 20, 24, 32, 48 px); the program icon also a 256 px
one, stored as PNG as the .ico format allows from that size on.
"""
import os
import struct
import sys
import zlib

SUPERSAMPLE = 4
ICON_SIZES = (48, 32, 24, 20, 16)
LARGE_ICON = 256


class Canvas:
    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.width, self.height = width, height
        # Large pictures have smooth edges with fewer samples per pixel, and draw in a fraction of the time.
        self.samples = SUPERSAMPLE if max(width, height) <= 64 else 2
        self.pixels = [list(background) for _ in range(width * height)]

    def blend(self, x, y, colour, coverage):
        if not (0 <= x < self.width and 0 <= y < self.height) or coverage <= 0:
            return
        dst = self.pixels[y * self.width + x]
        alpha = colour[3] / 255.0 * coverage
        out_a = alpha + dst[3] / 255.0 * (1 - alpha)
        for i in range(3):
            src_c, dst_c = colour[i], dst[i]
            if out_a > 0:
                dst[i] = int(round((src_c * alpha + dst_c * dst[3] / 255.0 * (1 - alpha)) / out_a))
        dst[3] = int(round(out_a * 255))

    def shape(self, inside, colour, box=None):
        """Fills the pixels whose supersampled points satisfy inside(x, y) (unit: pixels)."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(max(0, int(y0)), min(self.height, int(y1) + 1)):
            for x in range(max(0, int(x0)), min(self.width, int(x1) + 1)):
                hits = 0
                for sy in range(self.samples):
                    for sx in range(self.samples):
                        if inside(x + (sx + 0.5) / self.samples, y + (sy + 0.5) / self.samples):
                            hits += 1
                self.blend(x, y, colour, hits / self.samples ** 2)

    def rect(self, x0, y0, x1, y1, colour):
        self.shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0 - 1, y0 - 1, x1 + 1, y1 + 1))

    def disc(self, cx, cy, r, colour):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour,
                   (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1))

    def rounded(self, x0, y0, x1, y1, r, colour):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.shape(inside, colour, (x0 - 1, y0 - 1, x1 + 1, y1 + 1))


WHITE = (255, 255, 255, 255)
INK = (40, 48, 64, 255)


def fax_glyph(c, s, body):
    """A fax machine seen from the front: a sheet rising from a body with a key pad."""
    c.rect(0.34 * s, 0.10 * s, 0.70 * s, 0.52 * s, WHITE)                  # the sheet
    for i in range(3):
        y = (0.20 + 0.09 * i) * s
        c.rect(0.40 * s, y, 0.64 * s, y + max(1, 0.04 * s), INK)           # lines of text
    c.rounded(0.12 * s, 0.44 * s, 0.88 * s, 0.86 * s, 0.08 * s, body)     # the body
    c.rect(0.30 * s, 0.48 * s, 0.74 * s, 0.54 * s, INK)                   # the paper slot
    for i in range(3):
        x = (0.56 + 0.09 * i) * s
        c.rect(x, 0.64 * s, x + 0.06 * s, 0.70 * s, WHITE)                # keys


def app_icon(s):
    c = Canvas(s, s)
    fax_glyph(c, s, (36, 84, 160, 255))
    return c


RUNNING_GREEN = (40, 170, 70, 255)
STOPPED_RED = (200, 30, 30, 255)
STOPPED_FACE = (50, 50, 50, 255)


def status_icon(s, disc_colour, mark):
    c = Canvas(s, s)
    c.disc(s / 2, s / 2, s * 0.48, disc_colour)
    inner = Canvas(s, s)
    fax_glyph(inner, s, (250, 250, 250, 255))
    for i, p in enumerate(inner.pixels):  # shrink the glyph slightly onto the disc
        if p[3]:
            c.blend(i % s, i // s, (p[0], p[1], p[2], 255), p[3] / 255.0 * 0.95)
    mark(c, s)
    return c


def segment(c, x0, y0, x1, y1, half_width, colour):
    """A straight stroke with round ends from (x0, y0) to (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half_width * half_width
    c.shape(inside, colour, (min(x0, x1) - half_width - 1, min(y0, y1) - half_width - 1,
                             max(x0, x1) + half_width + 1, max(y0, y1) + half_width + 1))


def running_mark(c, s):
    """A tick on a white badge: the service works."""
    c.disc(0.72 * s, 0.72 * s, 0.27 * s, WHITE)
    w = max(0.06 * s, 0.75)
    segment(c, 0.58 * s, 0.72 * s, 0.68 * s, 0.82 * s, w, RUNNING_GREEN)
    segment(c, 0.68 * s, 0.82 * s, 0.86 * s, 0.60 * s, w, RUNNING_GREEN)


def stopped_mark(c, s):
    """The sign for "not available": a red ring around the dark face and a bar across it, corner to corner."""
    ring = Canvas(s, s)
    r_out, r_in = s * 0.48, s * 0.36
    ring.shape(lambda x, y: r_in * r_in <= (x - s / 2) ** 2 + (y - s / 2) ** 2 <= r_out * r_out, STOPPED_RED)
    for i, p in enumerate(ring.pixels):
        if p[3]:
            c.blend(i % s, i // s, (p[0], p[1], p[2], 255), p[3] / 255.0)
    d = 0.34 * s * 0.7071
    segment(c, s / 2 - d, s / 2 - d, s / 2 + d, s / 2 + d, max(0.07 * s, 0.9), STOPPED_RED)


def luminance(p, background):
    """The grey a pixel shows over a background grey, as a greyscale display or print shows it."""
    a = p[3] / 255.0
    return (0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]) * a + background * (1 - a)


def deuteranope(p):
    """The colour a viewer without green cones sees (Vienot, Brettel and Mollon 1999, in linear RGB)."""
    lin = [(v / 255.0) ** 2.2 for v in p[:3]]
    r = 0.29275 * lin[0] + 0.70725 * lin[1]
    b = -0.02234 * lin[0] + 0.02234 * lin[1] + lin[2]
    return tuple(255.0 * max(0.0, min(1.0, v)) ** (1 / 2.2) for v in (r, r, b)) + (p[3],)


def share_told_apart(a, b, seen, threshold=48):
    """The share of pixels in which two icons differ by at least threshold levels of grey, over a dark,
    a middle and a light taskbar, as seen through the given view of a pixel."""
    told = 0
    for p, q in zip(a.pixels, b.pixels):
        p, q = seen(p), seen(q)
        if any(abs(luminance(p, bg) - luminance(q, bg)) >= threshold for bg in (32, 128, 224)):
            told += 1
    return told / len(a.pixels)


def check_status_icons(size=16, least=0.2):
    """The running and stopped icons must differ in shape, not in hue alone: compared in greyscale and
    as a deuteranope sees them, a fifth of their pixels at least must tell them apart."""
    running = status_icon(size, RUNNING_GREEN, running_mark)
    stopped = status_icon(size, STOPPED_FACE, stopped_mark)
    for view, seen in (("greyscale", lambda p: p), ("deuteranopia", deuteranope)):
        share = share_told_apart(running, stopped, seen)
        if share < least:
            sys.exit("make_art.py: the %d px running and stopped icons differ in only %.0f %% of their pixels in %s"
                     % (size, share * 100, view))


def png_bytes(c):
    """A PNG of the canvas: 8-bit RGBA, unfiltered rows."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(v for p in c.pixels[y * c.width:(y + 1) * c.width] for v in p)
                  for y in range(c.height))
    header = struct.pack(">IIBBBBB", c.width, c.height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def icon_bytes(images):
    """An .ico file with one 32-bit image (with AND mask) per canvas; 256 px images as PNG."""
    header = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for c in images:
        s = c.width
        if s >= LARGE_ICON:
            blob = png_bytes(c)
            entries += struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(blob), offset)
            blobs += blob
            offset += len(blob)
            continue
        rows = []
        for y in range(s - 1, -1, -1):
            rows.append(b"".join(struct.pack("<BBBB", p[2], p[1], p[0], p[3])
                                 for p in c.pixels[y * s:(y + 1) * s]))
        mask_stride = ((s + 31) // 32) * 4
        mask = b""
        for y in range(s - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(s):
                if c.pixels[y * s + x][3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        info = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 32, 0, 0, 0, 0, 0, 0)
        blob = info + b"".join(rows) + mask
        entries += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return header + entries + blobs


def bmp_bytes(c, bits, palette=None):
    w, h = c.width, c.height
    if bits == 24:
        stride = (w * 3 + 3) // 4 * 4
        rows = []
        for y in range(h - 1, -1, -1):
            row = b"".join(struct.pack("<BBB", p[2], p[1], p[0]) for p in c.pixels[y * w:(y + 1) * w])
            rows.append(row + b"\0" * (stride - len(row)))
        pal = b""
    else:  # 4 bits: nearest palette entry
        stride = (w // 2 + 3) // 4 * 4
        rows = []
        for y in range(h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(w):
                p = c.pixels[y * w + x]
                index = min(range(len(palette)),
                            key=lambda i: sum((palette[i][k] - p[k]) ** 2 for k in range(3)))
                row[x // 2] |= index << (4 if x % 2 == 0 else 0)
            rows.append(bytes(row))
        pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(data), 2835, 2835,
                       len(palette) if palette else 0, 0)
    offset = 14 + len(info) + len(pal)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + info + pal + data


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def skin():
    c = Canvas(48, 48, (192, 192, 192, 255))
    c.rect(0, 0, 48, 12, (0, 0, 128, 255))
    c.rect(1, 13, 47, 47, (255, 255, 255, 255))
    c.rect(4, 4, 8, 8, (255, 255, 0, 255))
    return c


def banner():
    c = Canvas(130, 34, (255, 255, 255, 255))
    for x in range(130):  # a horizontal gradient from the dialog's tint to white
        t = x / 129.0
        colour = (int(80 + (255 - 80) * t), int(80 + (255 - 80) * t), int(230 + (255 - 230) * t), 255)
        c.rect(x, 0, x + 1, 34, colour)
    glyph = Canvas(30, 30)
    fax_glyph(glyph, 30, (36, 84, 160, 255))
    for i, p in enumerate(glyph.pixels):
        if p[3]:
            c.blend(2 + i % 30, 2 + i // 30, (p[0], p[1], p[2], 255), p[3] / 255.0)
    for i, width in enumerate((70, 52, 60)):  # three signal bars
        c.rect(40, 8 + 7 * i, 40 + width, 12 + 7 * i, (255, 255, 255, 230))
    return c


def main():
    check_status_icons()
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        "app.ico": icon_bytes([app_icon(s) for s in (LARGE_ICON,) + ICON_SIZES]),
        "running.ico": icon_bytes([status_icon(s, RUNNING_GREEN, running_mark) for s in ICON_SIZES]),
        "stopped.ico": icon_bytes([status_icon(s, STOPPED_FACE, stopped_mark) for s in ICON_SIZES]),
        "skin.bmp": bmp_bytes(skin(), 4, VGA16),
        "banner.bmp": bmp_bytes(banner(), 24),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
