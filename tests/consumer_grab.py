#!/usr/bin/env python3
"""Reads two grabs of the downloads example, an early and a later one (PPM files), and checks what
its delegates painted: in the progress column (x 200 to 420 of the table, within its frame) the
bar's horizontal gradient, #658C4B to #A4DB64, and the track's, #C0CBDF to #DCE9FA, and the bar
nowhere else; in the status column the badges' blue; and more of the bar in the later grab than
in the early one, as the downloads move on."""
import sys

BAR = ((0x65, 0x8C, 0x4B), (0xA4, 0xDB, 0x64))
TRACK = ((0xC0, 0xCB, 0xDF), (0xDC, 0xE9, 0xFA))
BADGE = ((0x8D, 0xBD, 0xF5), (0x3C, 0x78, 0xC8))  # a running download's badge
PROGRESS = range(204, 417)  # the column, a few pixels in from either edge
STATUS = range(424, 560)


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum, with comments between
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"FAIL: {path} is not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:]
    return width, height, pixels


def on_gradient(pixel, ends, tolerance=14):
    """Whether the colour lies on the straight line between the gradient's two ends."""
    a, b = ends
    ab = [b[i] - a[i] for i in range(3)]
    t = sum((pixel[i] - a[i]) * ab[i] for i in range(3)) / sum(c * c for c in ab)
    if t < -0.05 or t > 1.05:
        return False
    return all(abs(pixel[i] - (a[i] + t * ab[i])) <= tolerance for i in range(3))


def count(path):
    width, height, pixels = read_ppm(path)
    found = {"bar": 0, "bar elsewhere": 0, "track": 0, "badge": 0}
    for y in range(30, height):  # below the header
        for x in range(width):
            p = pixels[3 * (y * width + x):3 * (y * width + x) + 3]
            if on_gradient(p, BAR):
                found["bar" if x in PROGRESS else "bar elsewhere"] += 1
            elif x in PROGRESS and on_gradient(p, TRACK, 6):
                found["track"] += 1
            elif x in STATUS and on_gradient(p, BADGE):
                found["badge"] += 1
    return found


def main(early_path, later_path):
    early, later = count(early_path), count(later_path)
    print(f"early grab: {early}\nlater grab: {later}")
    for name, found in (("early", early), ("later", later)):
        if found["bar"] < 500 or found["track"] < 500:
            sys.exit(f"FAIL: the {name} grab shows no progress bars in the progress column")
        if found["bar elsewhere"] > found["bar"] // 50:
            sys.exit(f"FAIL: the {name} grab has the bar's green outside the progress column")
        if found["badge"] < 100:
            sys.exit(f"FAIL: the {name} grab shows no status badge in the status column")
    if later["bar"] <= early["bar"]:
        sys.exit("FAIL: the bars did not move on between the two grabs")


if __name__ == "__main__":
    main(*sys.argv[1:])
