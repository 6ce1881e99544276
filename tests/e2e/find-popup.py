#!/usr/bin/python3
# Where a popup appeared on the screen, for the end-to-end tests on Wayland,
# where only the compositor knows where a window or a popup is:
#   find-popup.py BEFORE.ppm AFTER.ppm WIDTH HEIGHT
# prints "X Y" of the rectangle of WIDTH x HEIGHT whose one-pixel frame has
# one colour in AFTER and not in BEFORE (the program's menus draw such a
# frame), or nothing when there is none. The screenshots are binary
# PPM files (grim -t ppm) of the same output.
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
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
        raise SystemExit(f"{path}: not an 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def main(argv):
    width, height, before = read_ppm(argv[1])
    width2, height2, after = read_ppm(argv[2])
    if (width, height) != (width2, height2):
        raise SystemExit("the screenshots differ in size")
    w, h = int(argv[3]), int(argv[4])

    def row(data, x, y, length):
        start = (y * width + x) * 3
        return data[start:start + length * 3]

    def column(data, x, y):
        return b"".join(data[((row_y * width) + x) * 3:((row_y * width) + x) * 3 + 3] for row_y in range(y, y + h))

    def framed(data, x, y):
        colour = row(data, x, y, 1)
        if row(data, x + w - 1, y, 1) != colour or row(data, x, y + h - 1, 1) != colour \
                or row(data, x + w - 1, y + h - 1, 1) != colour:
            return False
        line = colour * w
        if row(data, x, y, w) != line or row(data, x, y + h - 1, w) != line:
            return False
        side = colour * h
        return column(data, x, y) == side and column(data, x + w - 1, y) == side

    for y in range(height - h + 1):
        # The popup's top edge changed something in its row.
        if row(before, 0, y, width) == row(after, 0, y, width):
            continue
        for x in range(width - w + 1):
            if framed(after, x, y) and not framed(before, x, y):
                print(x, y)
                return


if __name__ == "__main__":
    main(sys.argv)
