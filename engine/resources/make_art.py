#!/usr/bin/env python3
"""Writes the engine's pictures (art/*.bmp, art/*.ico) from the drawings below.

Run it after changing a drawing; its output is kept in the tree so that a
build needs no Python.  Every 16-colour picture uses the standard 16-colour
palette and a white background; each mask is black where its picture is
opaque and white elsewhere, so '.' (background) and 'W' (white paint) differ
only in the mask.
"""
import math
import os
import struct

# Standard 16-colour palette (index: RGB) and the letters the drawings use.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
INK = {
    '.': 15, 'W': 15, 'k': 0, 'm': 1, 'd': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6,
    's': 7, 'g': 8, 'r': 9, 'G': 10, 'y': 11, 'b': 12, 'f': 13, 'c': 14,
}


def canvas(w, h):
    return [['.'] * w for _ in range(h)]


def paste(dst, art, x, y):
    for j, line in enumerate(art):
        for i, ch in enumerate(line):
            if ch != '.':
                dst[y + j][x + i] = ch


def rect(dst, x0, y0, x1, y1, ch):
    """Fills x0..x1, y0..y1 inclusive."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            dst[y][x] = ch


def check(art, w, h):
    assert len(art) == h, (len(art), h)
    for line in art:
        assert len(line) == w, line


# ---------------------------------------------------------------- lettering

FONT = {
    'K': ["X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"],
    'E': ["XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"],
    'L': ["X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"],
    'B': ["XXXX.", "X...X", "X...X", "XXXX.", "X...X", "X...X", "XXXX."],
    'R': ["XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"],
    'I': ["XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "XXXXX"],
    'N': ["X...X", "XX..X", "XX..X", "X.X.X", "X..XX", "X..XX", "X...X"],
    'V': ["X...X", "X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X.."],
    '1': ["..X..", ".XX..", "..X..", "..X..", "..X..", "..X..", ".XXX."],
    '0': [".XXX.", "X...X", "X..XX", "X.X.X", "XX..X", "X...X", ".XXX."],
    '.': ["..", "..", "..", "..", "..", "XX", "XX"],
}


def letter(dst, text, x, y, face, shade, gap=2):
    """Text at twice the font's size, with a shade one pixel down-right."""
    for ch in text:
        glyph = FONT[ch]
        for ink, dx in ((shade, 1), (face, 0)):
            for j, line in enumerate(glyph):
                for i, bit in enumerate(line):
                    if bit == 'X':
                        rect(dst, x + 2 * i + dx, y + 2 * j + dx,
                             x + 2 * i + dx + 1, y + 2 * j + dx + 1, ink)
        x += 2 * len(glyph[0]) + gap
    return x


def logo():
    art = canvas(120, 16)
    end = letter(art, "KELBRINE", 4, 0, 'n', 'c')
    rect(art, 4, 15, end - 2, 15, 'm')
    return art


def version():
    art = canvas(50, 16)
    letter(art, "V1.0", 5, 0, 'm', 'g')
    return art


# ------------------------------------------------------------ strip cells

# Check box and radio button; F is the frame, X the tick or dot.
CHECK = [
    "................",
    ".FFFFFFFFFFFFF..",
    ".FWWWWWWWWWWWF..",
    ".FWWWWWWWWWWWF..",
    ".FWWWWWWWWWXWF..",
    ".FWWWWWWWWXXWF..",
    ".FWWWWWWWXXXWF..",
    ".FWXWWWWXXXWWF..",
    ".FWXXWWXXXWWWF..",
    ".FWXXXXXXWWWWF..",
    ".FWWXXXXWWWWWF..",
    ".FWWWXXWWWWWWF..",
    ".FWWWWWWWWWWWF..",
    ".FFFFFFFFFFFFF..",
    "................",
    "................",
]
RADIO = [
    "................",
    ".....FFFFF......",
    "...FFWWWWWFF....",
    "..FWWWWWWWWWF...",
    "..FWWWWWWWWWF...",
    ".FWWWWXXXWWWWF..",
    ".FWWWXXXXXWWWF..",
    ".FWWWXXXXXWWWF..",
    ".FWWWXXXXXWWWF..",
    ".FWWWWXXXWWWWF..",
    "..FWWWWWWWWWF...",
    "..FWWWWWWWWWF...",
    "...FFWWWWWFF....",
    ".....FFFFF......",
    "................",
    "................",
]
FIXED = [
    "................",
    "................",
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kWWWWWWWWWWWWk.",
    ".kWsssssssssssk.",
    ".kWsssssssssssk.",
    ".kWsssssssGGssk.",
    ".kWsssssssssssk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
    "................",
    "................",
]
REMOVABLE = [
    "................",
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kWWWWWWWWWWWWk.",
    ".kWsssssssssssk.",
    ".kWskkkkkkkkssk.",
    ".kWsggggggggssk.",
    ".kWsssssssssssk.",
    ".kWsssssssGGssk.",
    ".kWsssssssssssk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
    "................",
]
NETWORK = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kWWWWWWWWWWWWk.",
    ".kWsssssssssssk.",
    ".kWsssssssGGssk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    ".......kk.......",
    ".......kk.......",
    ".......kk.......",
    ".kkkkkkkkkkkkkk.",
    "..kk...kk...kk..",
    ".kkkk.kkkk.kkkk.",
    ".knnk.knnk.knnk.",
    ".kkkk.kkkk.kkkk.",
    "................",
]
RAM = [
    "................",
    "................",
    "................",
    "................",
    "dddddddddddddddd",
    "dkkkkdkkkkdkkkkd",
    "dkkkkdkkkkdkkkkd",
    "dkkkkdkkkkdkkkkd",
    "dkkkkdkkkkdkkkkd",
    "dddddddddddddddd",
    "dddddddddddddddd",
    "y.y.y.y.y.y.y.y.",
    "y.y.y.y.y.y.y.y.",
    "................",
    "................",
    "................",
]


def disc():
    """A CD seen from above: rainbow sheen, grey ring, hole."""
    art = canvas(16, 16)
    for y in range(16):
        for x in range(16):
            r = math.hypot(x - 7.5, y - 7.5)
            if r > 7.4:
                continue
            if r > 6.5:
                art[y][x] = 'k'
            elif r < 1.6:
                art[y][x] = '.'
            elif r < 3.0:
                art[y][x] = 'g'
            elif x > y + 2:
                art[y][x] = 'c'
            elif x + 3 < y:
                art[y][x] = 'f'
            else:
                art[y][x] = 's'
    return art


def recolour(art, table):
    return [[table.get(ch, ch) for ch in row] for row in art]


def greyed(art):
    """The pressed look of a drive: the same shape in greys."""
    return [['.' if ch == '.' else 'W' if ch == 'W' else 'g' if INK[ch] in (0, 1, 2, 4, 5, 6) else 's'
             for ch in row] for row in art]


def strip():
    """Nine rows of two cells; returns the picture and its mask."""
    rows = [
        (CHECK, {'F': 'k', 'X': 'g'}, {'F': 'k', 'X': 'k'}),
        (RADIO, {'F': 'k', 'X': 'g'}, {'F': 'k', 'X': 'k'}),
        (CHECK, {'F': 'g', 'X': 'g'}, {'F': 'g', 'X': 'm'}),
        (RADIO, {'F': 'g', 'X': 'g'}, {'F': 'g', 'X': 'r'}),
    ]
    art = canvas(32, 144)
    mask = canvas(32, 144)
    for n, (shape, left, right) in enumerate(rows):
        a, b = recolour(shape, left), recolour(shape, right)
        paste(art, a, 0, 16 * n)
        paste(art, b, 16, 16 * n)
        paste(mask, a, 0, 16 * n)
        paste(mask, b, 16, 16 * n)
    for n, shape in enumerate([FIXED, REMOVABLE, NETWORK, disc(), RAM]):
        y = 16 * (n + 4)
        paste(art, shape, 0, y)
        paste(art, greyed(shape), 16, y)
        paste(mask, shape, 0, y)
        paste(mask, shape, 16, y)
    return art, mask


# ------------------------------------------------------------------ icons

def floppy(body, label):
    """A 3.5-inch disk, 32 x 32."""
    art = canvas(32, 32)
    rect(art, 2, 2, 29, 29, 'k')
    rect(art, 3, 3, 28, 28, body)
    for i in range(4):                       # the cut corner
        rect(art, 29 - i, 2 + i, 29, 2 + i, '.')
        art[2 + i][28 - i] = 'k'
    rect(art, 9, 3, 22, 12, 's')             # shutter
    rect(art, 9, 12, 22, 12, 'g')
    rect(art, 17, 5, 19, 10, body)
    rect(art, 6, 16, 25, 28, label)          # label
    for y in (19, 22, 25):
        rect(art, 8, y, 23, y, 'g')
    return art


def program_icon():
    """A carton with a disk going in."""
    art = canvas(32, 32)
    rect(art, 3, 14, 28, 30, 'k')
    rect(art, 4, 15, 27, 29, 'o')
    rect(art, 4, 15, 27, 17, 'y')
    rect(art, 13, 20, 18, 26, 'W')
    disk = floppy('n', 'W')
    for y in range(32):
        for x in range(32):
            ch = disk[y][x]
            sx, sy = 8 + x // 2, y // 2
            if ch != '.' and sy < 15:
                art[sy][sx] = ch
    for i in range(4):                       # arrow into the carton
        rect(art, 24 - i, 6 + i, 24 + i, 6 + i, 'r')
    rect(art, 23, 2, 25, 5, 'r')
    return art


# ----------------------------------------------------------------- writers

def pack4(row):
    data = bytearray()
    idx = [INK[ch] for ch in row]
    if len(idx) % 2:
        idx.append(15)
    for i in range(0, len(idx), 2):
        data.append(idx[i] << 4 | idx[i + 1])
    return data


def pack1(bits):
    data = bytearray()
    for i in range(0, len(bits), 8):
        byte = 0
        for j, bit in enumerate(bits[i:i + 8]):
            byte |= bit << (7 - j)
        data.append(byte)
    return data


def pad4(data):
    return data + bytes(-len(data) % 4)


def mask_bits(art):
    """1 (white) where transparent, 0 (black) where opaque."""
    return [[1 if ch == '.' else 0 for ch in row] for row in art]


def info_header(w, h, bits, colours, image_size):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, image_size, 0, 0, colours, 0)


def write_bmp(path, w, h, bits, palette, rows):
    pixels = b''.join(pad4(r) for r in reversed(rows))
    table = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset))
        f.write(info_header(w, h, bits, len(palette), len(pixels)) + table + pixels)


def write_picture(path, art):
    h, w = len(art), len(art[0])
    write_bmp(path, w, h, 4, PALETTE, [pack4(r) for r in art])


def write_mask(path, art):
    h, w = len(art), len(art[0])
    write_bmp(path, w, h, 1, [(0, 0, 0), (255, 255, 255)], [pack1(r) for r in mask_bits(art)])


def write_icon(path, art):
    check(art, 32, 32)
    # Transparent pixels are black in the colour image: the screen, ANDed
    # with the mask, is then XORed with nothing.
    opaque = [['k' if ch == '.' else ch for ch in row] for row in art]
    colour = b''.join(pad4(pack4(r)) for r in reversed(opaque))
    masks = b''.join(pad4(pack1(r)) for r in reversed(mask_bits(art)))
    table = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    image = info_header(32, 64, 4, 16, len(colour) + len(masks)) + table + colour + masks
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1))
        f.write(struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 22))
        f.write(image)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'art')
    os.makedirs(out, exist_ok=True)
    for shape in (CHECK, RADIO, FIXED, REMOVABLE, NETWORK, RAM):
        check(shape, 16, 16)
    cells, cell_mask = strip()
    for name, art, mask in (('logo', logo(), None), ('version', version(), None),
                            ('cells', cells, cell_mask)):
        write_picture(os.path.join(out, name + '.bmp'), art)
        write_mask(os.path.join(out, name + '_mask.bmp'), mask or art)
    write_icon(os.path.join(out, 'program.ico'), program_icon())
    write_icon(os.path.join(out, 'disk.ico'), floppy('n', 'W'))
    write_icon(os.path.join(out, 'disk_current.ico'), floppy('m', 'y'))


if __name__ == '__main__':
    main()
