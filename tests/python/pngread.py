"""A small PNG reader for tests: 8-bit greyscale, RGB or RGBA, not interlaced (what Cairo
writes). Returns (width, height, rows) with rows[y][x] an (r, g, b, a) tuple, y from the top."""
import struct
import zlib


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    channels = {0: 1, 2: 3, 6: 4}[colour]
    if depth != 8 or interlace:
        raise ValueError("only 8-bit, non-interlaced images are read")
    raw, stride = zlib.decompress(idat), width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, cur = line[0], bytearray(line[1:])
        for i in range(stride):
            left = cur[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            predictor = (0, left, up, (left + up) // 2, _paeth(left, up, corner))[kind]
            cur[i] = (cur[i] + predictor) & 0xFF
        previous = cur
        pixels = [tuple(cur[x * channels:(x + 1) * channels]) for x in range(width)]
        if channels == 1:
            pixels = [(v[0], v[0], v[0], 255) for v in pixels]
        elif channels == 3:
            pixels = [v + (255,) for v in pixels]
        rows.append(pixels)
    return width, height, rows
