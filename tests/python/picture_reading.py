"""Reading saved plot pictures as a user looks at them: the rectangles drawn in black (the
plot's frame, the legend's box), curve pixels (coloured ones), and what lies near the edges."""
WHITE = (255, 255, 255, 255)


def is_dark(pixel):
    return max(pixel[:3]) < 140 and max(pixel[:3]) - min(pixel[:3]) < 30


def is_coloured(pixel):
    return max(pixel[:3]) - min(pixel[:3]) > 60


def is_line(pixel):
    """Along a black line: not background (curves crossing it blend with it)."""
    return min(pixel[:3]) < 235


def _long_runs(rows, shortest):
    runs = []
    for r, row in enumerate(rows):
        c, width = 0, len(row)
        while c < width:
            if not is_dark(row[c]):
                c += 1
                continue
            start = c
            while c < width and is_line(row[c]):
                c += 1
            while not is_dark(row[c - 1]):
                c -= 1
            if c - start >= shortest:
                runs.append((r, start, c - 1))
    return runs


def rectangles(rows, shortest=30):
    """Black rectangles as (left, right, top, bottom) pixel positions, top = first row: two long
    horizontal runs of the same span joined by lines at both ends, largest first."""
    runs = _long_runs(rows, shortest)
    found = []
    for i, (r0, s0, e0) in enumerate(runs):
        for r1, s1, e1 in runs[i + 1:]:
            if r1 - r0 < 8 or abs(s1 - s0) > 1 or abs(e1 - e0) > 1:
                continue
            between = range(r0 + 1, r1)
            sides = sum(is_line(rows[r][s0]) and is_line(rows[r][e0]) for r in between)
            if sides >= 0.9 * len(between):
                box = (s0, e0, r0, r1)
                if not any(all(abs(box[k] - f[k]) <= 2 for k in range(4)) for f in found):
                    found.append(box)
    found.sort(key=lambda b: (b[1] - b[0]) * (b[3] - b[2]), reverse=True)
    return found


def area(box):
    return (box[1] - box[0]) * (box[3] - box[2])


def inside(inner, outer):
    return (inner[0] >= outer[0] and inner[1] <= outer[1] and inner[2] >= outer[2]
            and inner[3] <= outer[3])


def overlap(a, b):
    return a[0] <= b[1] and b[0] <= a[1] and a[2] <= b[3] and b[2] <= a[3]


def edge_pixels_drawn(rows, reach=2):
    """Pixels within `reach` of an edge that are not the white background."""
    height, width = len(rows), len(rows[0])
    drawn = 0
    for r in range(height):
        for c in range(width):
            near_edge = r < reach or c < reach or r >= height - reach or c >= width - reach
            drawn += near_edge and rows[r][c] != WHITE
    return drawn


def curve_pixels_under(rows, box, entries):
    """Coloured pixels inside a legend box that are not its line samples. The samples are
    horizontal lines left of the entries' texts, at most three pixel rows each: a curve under
    the box shows as coloured rows beyond those or as colour right of where the texts start."""
    left, right, top, bottom = box
    interior = [(r, c) for r in range(top + 2, bottom - 1) for c in range(left + 2, right - 1)]
    coloured = [(r, c) for r, c in interior if is_coloured(rows[r][c])]
    if not coloured:
        return 0
    sample_rows = sorted({r for r, _ in coloured})[:3 * entries]
    near = range(sample_rows[0] - 4, sample_rows[-1] + 5)
    text = min((c for r, c in interior if r in near and max(rows[r][c][:3]) < 100),
               default=right)  # texts are black: darker than any curve colour
    return sum(1 for r, c in coloured if r not in sample_rows or c >= text)
