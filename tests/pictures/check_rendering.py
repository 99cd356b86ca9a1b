#!/usr/bin/env python3
"""Checks pictures written beside reports: each SVG is well-formed XML (xmllint), has no
script, renders to PNG (rsvg-convert), and every panel's plotting area (the rect of class
"frame") holds drawn colour, not only the white ground, the grid and the axes.

Usage: check_rendering.py [--png-out FILE] SVG...
--png-out writes the PNG of the first SVG to FILE (how README's picture is made)."""

import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zlib

SVG = "{http://www.w3.org/2000/svg}"
# The grid, the axes and the ground are grey; a series is coloured.
COLOURED = 40
# A panel holds its series when this share of its area is coloured.
SHARE = 0.004


def render(svg, png):
    subprocess.run(["rsvg-convert", "--format=png", "--output", png, svg], check=True)


def read_png(path):
    """Width, height and rows of (r, g, b, a) bytes of an 8-bit RGB or RGBA PNG."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + " is no PNG")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            idat += chunk
        pos += 12 + length
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(path + ": only 8-bit RGB(A), not interlaced")
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


def coloured_share(png, frame, scale):
    width, height, channels, rows = png
    left = int(frame[0] * scale) + 2
    top = int(frame[1] * scale) + 2
    right = min(width, int((frame[0] + frame[2]) * scale) - 2)
    bottom = min(height, int((frame[1] + frame[3]) * scale) - 2)
    coloured = total = 0
    for y in range(top, bottom):
        row = rows[y]
        for x in range(left, right):
            r, g, b = row[x * channels:x * channels + 3]
            total += 1
            if max(r, g, b) - min(r, g, b) > COLOURED:
                coloured += 1
    return coloured / total if total else 0


def check(svg, png_out=None):
    faults = []
    lint = subprocess.run(["xmllint", "--noout", svg], capture_output=True, text=True)
    if lint.returncode != 0:
        return [svg + ": not well-formed: " + lint.stderr.strip()]
    root = ET.parse(svg).getroot()
    if root.tag != SVG + "svg" or root.get("version") != "1.1":
        faults.append(svg + ": the root is no SVG 1.1 element")
    for element in root.iter():
        if element.tag in (SVG + "script", SVG + "foreignObject", SVG + "image"):
            faults.append(svg + ": holds " + element.tag)
        if any(name.startswith("on") for name in element.attrib):
            faults.append(svg + ": an event attribute on " + element.tag)
    frames = [r for r in root.iter(SVG + "rect") if r.get("class") in ("frame", "frame empty")]
    # A panel without values says so in words, and draws no legend over nothing.
    for group in root.iter(SVG + "g"):
        rects = [r for r in group.iter(SVG + "rect") if r.get("class") == "frame empty"]
        words = [t.text or "" for t in group.iter(SVG + "text") if t.get("class") == "no-data"]
        if rects and not any(w.startswith("no data") for w in words):
            faults.append("%s: an empty panel does not say \"no data\"" % svg)
    if not frames:
        faults.append(svg + ": no panel")
    with tempfile.TemporaryDirectory() as folder:
        png_path = png_out or folder + "/picture.png"
        render(svg, png_path)
        png = read_png(png_path)
    scale = png[0] / float(root.get("width"))
    for number, rect in enumerate(frames, 1):
        if rect.get("class") == "frame empty":
            continue
        frame = [float(rect.get(k)) for k in ("x", "y", "width", "height")]
        share = coloured_share(png, frame, scale)
        if share < SHARE:
            faults.append("%s: panel %d at %s holds almost nothing drawn (%.4f of its area)"
                          % (svg, number, frame, share))
    return faults


def main(arguments):
    png_out = None
    if arguments[:1] == ["--png-out"]:
        png_out, arguments = arguments[1], arguments[2:]
    if not arguments:
        print(__doc__)
        return 2
    faults = []
    for i, svg in enumerate(arguments):
        faults += check(svg, png_out if i == 0 else None)
    for fault in faults:
        print(fault)
    print("%d pictures checked, %d faults" % (len(arguments), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
