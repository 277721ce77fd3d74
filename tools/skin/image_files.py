"""Writers for the two file formats the resource compiler takes:
24-bit BMP (BI_RGB, bottom-up) and ICO with palettized or 32-bit images."""
import struct

from PIL import Image

MAGENTA = (255, 0, 255)


def write_bmp24(image, path):
    """Writes an RGB image as an uncompressed 24-bit bottom-up BMP."""
    image = image.convert("RGB")
    width, height = image.size
    stride = (width * 3 + 3) & ~3
    pixels = image.tobytes()
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(pixels[y * width * 3:(y + 1) * width * 3])
        row[0::3], row[2::3] = row[2::3], row[0::3]  # RGB -> BGR
        rows.append(bytes(row) + b"\0" * (stride - width * 3))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def _and_mask(opaque, width, height):
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if not opaque[y * width + x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _icon_image(rgba, bits):
    """One icon image (BITMAPINFOHEADER, palette, XOR and AND bitmaps)."""
    width, height = rgba.size
    alpha = rgba.getchannel("A").tobytes()
    opaque = [a >= 128 for a in alpha]
    if bits == 32:
        palette = b""
        stride = width * 4
        raw = rgba.tobytes()
        xor = bytearray()
        for y in range(height - 1, -1, -1):
            for x in range(width):
                r, g, b, a = raw[(y * width + x) * 4:(y * width + x) * 4 + 4]
                xor += bytes((b, g, r, a))
    else:
        colours = 16 if bits == 4 else 256
        rgb = rgba.convert("RGB")
        if bits == 4:
            pal_image = Image.new("P", (1, 1))
            pal_image.putpalette([c for rgb3 in VGA16 for c in rgb3] + [0] * (768 - 48))
            indexed = rgb.quantize(palette=pal_image, dither=Image.Dither.NONE)
            pal = VGA16
        else:
            indexed = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
            flat = indexed.getpalette()[:765]
            pal = [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
            pal += [(0, 0, 0)] * (256 - len(pal))
        index = bytearray(indexed.tobytes())
        if bits == 8:
            # Masked-out pixels must be black in the colour bitmap: give
            # them the last palette entry, kept black for this purpose.
            pal[255] = (0, 0, 0)
            for i, o in enumerate(opaque):
                if not o:
                    index[i] = 255
        else:
            for i, o in enumerate(opaque):
                if not o:
                    index[i] = 0
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in pal[:colours])
        stride = ((width * bits + 31) // 32) * 4
        xor = bytearray()
        for y in range(height - 1, -1, -1):
            row = bytearray(stride)
            for x in range(width):
                v = index[y * width + x]
                if bits == 8:
                    row[x] = v
                else:
                    row[x // 2] |= v << (4 if x % 2 == 0 else 0)
            xor += row
    mask = _and_mask(opaque, width, height)
    colours_used = 0 if bits == 32 else (16 if bits == 4 else 256)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, colours_used, 0)
    return header + palette + bytes(xor) + mask


def write_ico(images, path):
    """images: list of (RGBA image, bits per pixel 4, 8 or 32)."""
    blobs = [(_icon_image(img, bits), img.size, bits) for img, bits in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for blob, (w, h), bits in blobs:
        colour_count = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colour_count, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(b for b, _, _ in blobs))
