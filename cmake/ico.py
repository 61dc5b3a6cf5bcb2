"""Packs PNG images into one Windows icon file: ico.py OUT.ico IMAGE.png...
An .ico may hold PNG images as they are; each entry gives the size, which
for 256 pixels and more is written as 0."""
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
HEADER_SIZE, ENTRY_SIZE = 6, 16
ICON_TYPE, PLANES, BITS_PER_PIXEL = 1, 1, 32


def png_size(data, name):
    if data[:8] != PNG_SIGNATURE or data[12:16] != b"IHDR":
        sys.exit("%s: not a PNG image" % name)
    width, height = struct.unpack(">II", data[16:24])
    if width != height or width > 256:
        sys.exit("%s: an icon image must be square and at most 256 pixels, not %dx%d"
                 % (name, width, height))
    return width


def main(out, names):
    images = []
    for name in names:
        with open(name, "rb") as f:
            data = f.read()
        images.append((png_size(data, name), data))
    images.sort(key=lambda image: image[0])
    header = struct.pack("<HHH", 0, ICON_TYPE, len(images))
    entries, offset = b"", HEADER_SIZE + ENTRY_SIZE * len(images)
    for size, data in images:
        side = size % 256  # 256 is written as 0
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, PLANES, BITS_PER_PIXEL, len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(header + entries + b"".join(data for _, data in images))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
