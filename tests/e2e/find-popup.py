#!/usr/bin/python3
# Where a popup appeared on the screen, for the end-to-end tests on Wayland,
# where only the compositor knows where a window or a popup is:
#   find-popup.py BEFORE.ppm AFTER.ppm WIDTH HEIGHT
# prints "X Y" of the rectangle of WIDTH x HEIGHT that is in AFTER and not in
# BEFORE and whose one-pixel frame has one colour (the program's menus draw
# such a frame), or nothing when there is none. The screenshots are binary
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

    def px(x, y):
        i = (y * width + x) * 3
        return after[i:i + 3]

    def changed(x, y):
        i = (y * width + x) * 3
        return before[i:i + 3] != after[i:i + 3]

    def framed(x, y):
        colour = px(x, y)
        if px(x + w - 1, y) != colour or px(x, y + h - 1) != colour or px(x + w - 1, y + h - 1) != colour:
            return False
        if after[(y * width + x) * 3:(y * width + x + w) * 3] != colour * w:
            return False
        bottom = y + h - 1
        if after[(bottom * width + x) * 3:(bottom * width + x + w) * 3] != colour * w:
            return False
        return all(px(x, row) == colour and px(x + w - 1, row) == colour for row in range(y, y + h))

    for y in range(height - h + 1):
        row = y * width * 3
        if before[row:row + width * 3] == after[row:row + width * 3]:
            continue
        for x in range(width - w + 1):
            if changed(x, y) and framed(x, y):
                print(x, y)
                return


if __name__ == "__main__":
    main(sys.argv)
