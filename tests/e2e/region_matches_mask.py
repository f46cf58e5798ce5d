#!/usr/bin/env python3
"""Checks that what the pet shows is exactly one frame of the mask sheet, plain or
mirrored, and prints which.

  region_matches_mask.py region REGION MASK.bmp [SCALE]
      REGION: the window region as written by the probe (one row of 0/1 for each pixel
      row of the window). With SCALE, each mask pixel must be a SCALE x SCALE block.
  region_matches_mask.py screen SHOT.ppm LEFT TOP MASK.bmp [SCALE SPRITES.bmp]
      SHOT: a screenshot of the screen around the pet, its top-left corner at (LEFT,
      TOP) on a screen covered by the probe's backdrop pattern (red = x mod 256, green
      = y mod 256, blue 77, a blue no colour of the cat has). Every pixel that differs
      from the pattern is taken as the pet's; together they must form one frame's
      outline, so a box around the cat, key-colour pixels or a backdrop snapshot taken
      from the wrong place all fail. Prints the screen position of the frame's cell.
      With SCALE and the sprite sheet, the outline is the frame's scaled by SCALE and
      each of its blocks must be one solid colour, that of the frame's sprite pixel:
      nearest-neighbour enlargement, nothing blended."""
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


def read_sprites(path):
    """The colours of a 4-bit sprite sheet, plain or RLE4-compressed, top row first."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits, compression = struct.unpack_from("<HI", data, 28)
    if bits != 4:
        sys.exit(f"sprite sheet is {bits} bits per pixel")
    colours = struct.unpack_from("<I", data, 46)[0] or 16
    palette = [tuple(data[54 + 4 * i:57 + 4 * i][::-1]) for i in range(colours)]
    rows = [[None] * width for _ in range(height)]
    if compression == 0:
        stride = ((width * 4 + 31) // 32) * 4
        for line in range(height):
            start = offset + line * stride
            for x in range(width):
                rows[line][x] = (data[start + x // 2] >> (4 if x % 2 == 0 else 0)) & 15
    else:
        at, x, line = offset, 0, 0
        while at + 1 < len(data) and line < height:
            count, value = data[at], data[at + 1]
            at += 2
            if count:
                for i in range(count):
                    rows[line][x] = (value >> 4, value & 15)[i % 2]
                    x += 1
            elif value == 0:
                x, line = 0, line + 1
            elif value == 1:
                break
            elif value == 2:
                x, line = x + data[at], line + data[at + 1]
                at += 2
            else:
                for i in range(value):
                    rows[line][x] = (data[at + i // 2] >> (4 if i % 2 == 0 else 0)) & 15
                    x += 1
                at += ((value + 1) // 2 + 1) // 2 * 2
    if height > 0:
        rows.reverse()
    return [[palette[i] if i is not None else None for i in row] for row in rows]


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


def cells(sheet, per_row):
    """Every frame's 50 x 50 cell of a sheet, plain and mirrored, keyed by name."""
    for image in range(170):
        left, top = image % per_row * 50, image // per_row * 50
        cell = [sheet[top + y][left:left + 50] for y in range(50)]
        yield f"image {image} plain", cell
        yield f"image {image} mirrored", [r[::-1] for r in cell]


def outlines(mask_path, scale=1):
    """Every frame's opaque pixels, each as a scale x scale block, plain and mirrored."""
    width, _, rows = read_mask(mask_path)
    for name, cell in cells(rows, width // 50):
        yield name, [[v for v in row for _ in range(scale)] for row in cell for _ in range(scale)]


def find_frame(shot, left, top, mask_path, scale=1, sprites_path=None):
    seen = seen_pixels(shot, left, top)
    if not seen:
        print("nothing of the pet is seen")
        return 1
    colour = {(left + x, top + y): pixel for y, row in enumerate(shot) for x, pixel in enumerate(row)}
    pictures = dict(cells(read_sprites(sprites_path), 10)) if sprites_path else {}
    seen_x, seen_y = min(x for x, _ in seen), min(y for _, y in seen)
    complaint = None
    for name, cell in outlines(mask_path, scale):
        points = {(x, y) for y, row in enumerate(cell) for x, v in enumerate(row) if v}
        if len(points) != len(seen):
            continue
        # Line up the outline's top-left extent with what is seen.
        dx = seen_x - min(x for x, _ in points)
        dy = seen_y - min(y for _, y in points)
        if {(x + dx, y + dy) for x, y in points} != seen:
            continue
        complaint = blocks_wrong(colour, dx, dy, scale, cell, pictures.get(name))
        if complaint is None:
            print(f"{name} at {dx} {dy}")
            return 0
    if complaint:
        print(complaint)
        return 1
    print(f"{len(seen)} pixels differ from the backdrop and form no frame; what was seen:")
    right, bottom = max(x for x, _ in seen), max(y for _, y in seen)
    for y in range(seen_y, bottom + 1):
        print("".join("#" if (x, y) in seen else "." for x in range(seen_x, right + 1)))
    return 1


def blocks_wrong(colour, dx, dy, scale, outline, picture):
    """Why the frame's blocks at (dx, dy) are not solid sprite colours, or None."""
    if scale == 1 and picture is None:
        return None
    for y in range(0, len(outline), scale):
        for x in range(0, len(outline), scale):
            if not outline[y][x]:
                continue
            block = {colour[(dx + x + i, dy + y + j)] for j in range(scale) for i in range(scale)}
            if len(block) != 1:
                return f"the {scale} x {scale} block at {dx + x} {dy + y} holds {len(block)} colours"
            if picture is not None and block != {picture[y // scale][x // scale]}:
                return (f"the block at {dx + x} {dy + y} is {block.pop()}, "
                        f"its sprite pixel {picture[y // scale][x // scale]}")
    return None


def main():
    args = sys.argv[1:]
    if len(args) in (3, 4) and args[0] == "region":
        scale = int(args[3]) if len(args) == 4 else 1
        outline = [[int(c) for c in line.strip()] for line in open(args[1]) if line.strip()]
        for name, cell in outlines(args[2], scale):
            if cell == outline:
                print(name)
                return 0
        print(f"matches no frame of the mask at scale {scale}")
        return 1
    if len(args) in (5, 7) and args[0] == "screen":
        scale, sprites = (int(args[5]), args[6]) if len(args) == 7 else (1, None)
        return find_frame(read_ppm(args[1]), int(args[2]), int(args[3]), args[4], scale, sprites)
    sys.exit(__doc__)


sys.exit(main())
