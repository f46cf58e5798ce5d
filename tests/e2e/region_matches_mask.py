#!/usr/bin/env python3
"""Checks that what the pet shows is exactly one frame of the mask sheet, plain or
mirrored, and prints which.

  region_matches_mask.py region REGION MASK.bmp
      REGION: the window region as written by the probe (50 rows of 0/1).
  region_matches_mask.py screen SHOT.ppm LEFT TOP MASK.bmp
      SHOT: a screenshot of the screen around the pet, its top-left corner at (LEFT,
      TOP) on a screen covered by the probe's backdrop pattern (red = x mod 256, green
      = y mod 256, blue 77, a blue no colour of the cat has). Every pixel that differs
      from the pattern is taken as the pet's; together they must form one frame's
      outline, so a box around the cat, key-colour pixels or a backdrop snapshot taken
      from the wrong place all fail. Prints the screen position of the frame's cell."""
import struct
import sys

KEY = (0, 255, 255)


def read_mask(path):
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 1:
        sys.exit(f"mask is {bits} bits per pixel")
    entry0 = data[14 + struct.unpack_from("<I", data, 14)[0]:][:3]
    inverted = 1 if any(entry0) else 0
    stride = ((width + 31) // 32) * 4
    rows = []
    for y in range(abs(height)):
        line = y if height < 0 else abs(height) - 1 - y
        start = offset + line * stride
        rows.append([((data[start + x // 8] >> (7 - x % 8)) & 1) ^ inverted for x in range(width)])
    return width, abs(height), rows


def read_ppm(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:]
    return [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]


def seen_pixels(shot, left, top):
    """The screen positions of the pixels that differ from the backdrop pattern."""
    cyan = sum(pixel == KEY for row in shot for pixel in row)
    if cyan:
        print(f"{cyan} key-colour pixels")
        sys.exit(1)
    return {(left + x, top + y) for y, row in enumerate(shot) for x, pixel in enumerate(row)
            if pixel != ((left + x) & 255, (top + y) & 255, 77)}


def outlines(mask_path):
    """Every frame's opaque pixels, plain and mirrored, keyed by name."""
    width, height, rows = read_mask(mask_path)
    for image in range(170):
        left, top = image % (width // 50) * 50, image // (width // 50) * 50
        cell = [rows[top + y][left:left + 50] for y in range(50)]
        yield f"image {image} plain", cell
        yield f"image {image} mirrored", [r[::-1] for r in cell]


def find_frame(seen, mask_path):
    if not seen:
        print("nothing of the pet is seen")
        return 1
    seen_x, seen_y = min(x for x, _ in seen), min(y for _, y in seen)
    for name, cell in outlines(mask_path):
        points = {(x, y) for y in range(50) for x in range(50) if cell[y][x]}
        if len(points) != len(seen):
            continue
        # Line up the outline's top-left extent with what is seen.
        dx = seen_x - min(x for x, _ in points)
        dy = seen_y - min(y for _, y in points)
        if {(x + dx, y + dy) for x, y in points} == seen:
            print(f"{name} at {dx} {dy}")
            return 0
    print(f"{len(seen)} pixels differ from the backdrop and form no frame; what was seen:")
    right, bottom = max(x for x, _ in seen), max(y for _, y in seen)
    for y in range(seen_y, bottom + 1):
        print("".join("#" if (x, y) in seen else "." for x in range(seen_x, right + 1)))
    return 1


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "region":
        outline = [[int(c) for c in line.strip()] for line in open(sys.argv[2]) if line.strip()]
        for name, cell in outlines(sys.argv[3]):
            if cell == outline:
                print(name)
                return 0
        print("matches no frame of the mask")
        return 1
    if len(sys.argv) == 6 and sys.argv[1] == "screen":
        seen = seen_pixels(read_ppm(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]))
        return find_frame(seen, sys.argv[5])
    sys.exit(__doc__)


sys.exit(main())
