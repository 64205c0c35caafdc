#!/usr/bin/python3
"""Build TIMES_K.ttf, the font Lamello uses for its special glyphs.

The font is Liberation Serif Regular (Debian package fonts-liberation2)
renamed to TIMES_K, with four ASCII glyphs redrawn as polarity-symbol pairs:

    #  two squares    (+ left, - right)
    $  two circles    (+ left, - right)
    ^  two triangles  (+ left, - right, signs in the lower part)
    &  two diamonds   (+ left, - right)

Everything else (Polish letters included) is kept as it is.

Usage: make_times_k.py [OUTPUT.ttf]
The default output is src/resources/fonts/TIMES_K.ttf in the repository.
Run it with Debian's /usr/bin/python3 (needs python3-fonttools).
The output is deterministic: rerunning it gives identical bytes.
"""

import math
import sys
from pathlib import Path

from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables import ttProgram
from fontTools.misc.timeTools import timestampFromString

SOURCE = Path("/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf")
REPO_ROOT = Path(__file__).resolve().parent.parent
DEFAULT_OUTPUT = REPO_ROOT / "src" / "resources" / "fonts" / "TIMES_K.ttf"

FAMILY = "TIMES_K"
SUBFAMILY = "Regular"
POSTSCRIPT_NAME = "TIMES_K"
FIXED_TIMESTAMP = timestampFromString("Mon Jan  1 00:00:00 2024")

# Geometry, in font units (unitsPerEm 2048, cap height of the source ~1341).
HEIGHT = 1350       # frames stand on the baseline and reach about cap height
STROKE = 120        # frame stroke and sign bar thickness
GAP = 300           # space between the two frames of a pair

# Advance widths of the redrawn glyphs; documents laid out with this font
# depend on them, so they are fixed numbers.
ADVANCE = {
    "#": 3693,
    "$": 3640,
    "^": 4022,
    "&": 3688,
}


# --- outline helpers -------------------------------------------------------
# TrueType fills by the non-zero rule with clockwise outer contours; holes are
# counter-clockwise.  All coordinates are y-up font units.

def polygon(pen, points):
    pts = [(round(x), round(y)) for x, y in points]
    pen.moveTo(pts[0])
    for p in pts[1:]:
        pen.lineTo(p)
    pen.closePath()


def is_clockwise(points):
    area = 0.0
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        area += x0 * y1 - x1 * y0
    return area < 0


def filled(pen, points):
    """Filled polygon (forced clockwise)."""
    pts = list(points)
    if not is_clockwise(pts):
        pts.reverse()
    polygon(pen, pts)


def hole(pen, points):
    """Hole polygon (forced counter-clockwise)."""
    pts = list(points)
    if is_clockwise(pts):
        pts.reverse()
    polygon(pen, pts)


def shrink_towards(points, centre, inset, inradius):
    """Polygon offset inwards by `inset` (for tangential polygons whose
    incircle has `inradius` and centre `centre`)."""
    cx, cy = centre
    k = (inradius - inset) / inradius
    return [(cx + (x - cx) * k, cy + (y - cy) * k) for x, y in points]


def plus(pen, cx, cy, arm):
    h = STROKE / 2
    filled(pen, [
        (cx - h, cy + arm), (cx + h, cy + arm), (cx + h, cy + h),
        (cx + arm, cy + h), (cx + arm, cy - h), (cx + h, cy - h),
        (cx + h, cy - arm), (cx - h, cy - arm), (cx - h, cy - h),
        (cx - arm, cy - h), (cx - arm, cy + h), (cx - h, cy + h),
    ])


def minus(pen, cx, cy, arm):
    h = STROKE / 2
    filled(pen, [(cx - arm, cy - h), (cx - arm, cy + h),
                 (cx + arm, cy + h), (cx + arm, cy - h)])


def circle_contour(pen, cx, cy, r, clockwise, segments=16):
    """Circle as quadratic B-splines: on-curve points on the circle, one
    off-curve control point per segment (tangent intersection)."""
    step = 2 * math.pi / segments
    sign = -1 if clockwise else 1
    ctrl_r = r / math.cos(step / 2)
    def on(i):
        a = math.pi / 2 + sign * i * step
        return (round(cx + r * math.cos(a)), round(cy + r * math.sin(a)))
    def off(i):
        a = math.pi / 2 + sign * (i + 0.5) * step
        return (round(cx + ctrl_r * math.cos(a)), round(cy + ctrl_r * math.sin(a)))
    pen.moveTo(on(0))
    for i in range(segments):
        pen.qCurveTo(off(i), on(i + 1))
    pen.closePath()


# --- frames ----------------------------------------------------------------
# Each frame function draws one frame whose bounding box starts at x0 and
# returns the point where its sign should be centred and the sign arm length.

def square_frame(pen, x0):
    s = HEIGHT
    outer = [(x0, 0), (x0, s), (x0 + s, s), (x0 + s, 0)]
    inner = [(x0 + STROKE, STROKE), (x0 + STROKE, s - STROKE),
             (x0 + s - STROKE, s - STROKE), (x0 + s - STROKE, STROKE)]
    filled(pen, outer)
    hole(pen, inner)
    return (x0 + s / 2, s / 2), 330


def square_width():
    return HEIGHT


def circle_frame(pen, x0):
    r = HEIGHT / 2
    cx, cy = x0 + r, r
    circle_contour(pen, cx, cy, r, clockwise=True)
    circle_contour(pen, cx, cy, r - STROKE, clockwise=False)
    return (cx, cy), 300


def circle_width():
    return HEIGHT


def triangle_width():
    return 2 * HEIGHT / math.sqrt(3)      # equilateral


def triangle_frame(pen, x0):
    w = triangle_width()
    cx = x0 + w / 2
    outer = [(x0, 0), (cx, HEIGHT), (x0 + w, 0)]
    inradius = HEIGHT / 3
    centre = (cx, inradius)
    filled(pen, outer)
    hole(pen, shrink_towards(outer, centre, STROKE, inradius))
    # The incircle sits in the lower third; the sign goes there, slightly
    # lowered so that it looks centred in the wide part of the triangle.
    return (cx, inradius - 10), 220


def diamond_width():
    return HEIGHT


def diamond_frame(pen, x0):
    d = HEIGHT / 2
    cx, cy = x0 + d, d
    outer = [(cx - d, cy), (cx, cy + d), (cx + d, cy), (cx, cy - d)]
    inradius = d / math.sqrt(2)
    filled(pen, outer)
    hole(pen, shrink_towards(outer, (cx, cy), STROKE, inradius))
    return (cx, cy), 260


FRAMES = {
    "#": (square_frame, square_width),
    "$": (circle_frame, circle_width),
    "^": (triangle_frame, triangle_width),
    "&": (diamond_frame, diamond_width),
}


def draw_pair(char):
    frame, width = FRAMES[char]
    w = width()
    advance = ADVANCE[char]
    margin = (advance - 2 * w - GAP) / 2
    pen = TTGlyphPen(None)
    (lx, ly), arm = frame(pen, margin)
    plus(pen, lx, ly, arm)
    (rx, ry), arm = frame(pen, margin + w + GAP)
    minus(pen, rx, ry, arm)
    glyph = pen.glyph()
    glyph.program = ttProgram.Program()
    glyph.program.fromBytecode(b"")
    return glyph


# --- font assembly ---------------------------------------------------------

def decompose_users(font, targets):
    """Composite glyphs that use one of the redrawn glyphs would change
    shape too; turn them into simple glyphs of the original outlines."""
    glyf = font["glyf"]
    glyph_set = font.getGlyphSet()
    for name in font.getGlyphOrder():
        g = glyf[name]
        if not g.isComposite():
            continue
        if not any(c.glyphName in targets for c in g.components):
            continue
        rec = DecomposingRecordingPen(glyph_set)
        glyph_set[name].draw(rec)
        pen = TTGlyphPen(None)
        rec.replay(pen)
        new = pen.glyph()
        new.program = ttProgram.Program()
        new.program.fromBytecode(b"")
        glyf[name] = new


def drop_kerning(font, targets):
    if "kern" in font:
        for sub in font["kern"].kernTables:
            table = getattr(sub, "kernTable", None)
            if table is None:
                continue
            for pair in [p for p in table if p[0] in targets or p[1] in targets]:
                del table[pair]


def layout_references(font, targets):
    """Names of GPOS/GSUB lookups touching the redrawn glyphs (for a warning;
    Liberation Serif 2.x has none)."""
    found = []
    for tag in ("GPOS", "GSUB"):
        if tag not in font:
            continue
        lookups = font[tag].table.LookupList
        for i, lookup in enumerate(lookups.Lookup if lookups else []):
            for st in lookup.SubTable:
                names = set()
                cov = getattr(st, "Coverage", None)
                if cov is not None:
                    names |= set(cov.glyphs)
                for attr in ("mapping", "alternates", "ligatures"):
                    names |= set(getattr(st, attr, None) or ())
                for cd in ("ClassDef1", "ClassDef2"):
                    cdef = getattr(st, cd, None)
                    if cdef is not None:
                        names |= set(cdef.classDefs)
                for ps in getattr(st, "PairSet", None) or ():
                    names |= {r.SecondGlyph for r in ps.PairValueRecord}
                if names & targets:
                    found.append(f"{tag} lookup {i}")
    return found


def rename(font):
    name = font["name"]
    version = name.getDebugName(5) or "Version 1.0"
    replacements = {
        1: FAMILY,
        2: SUBFAMILY,
        3: f"{FAMILY}: {version}",
        4: FAMILY,
        6: POSTSCRIPT_NAME,
        10: ("Liberation Serif with the glyphs #, $, ^ and & replaced by "
             "pairs of plus/minus symbols (squares, circles, triangles, "
             "diamonds). Made for Lamello."),
        16: FAMILY,
        17: SUBFAMILY,
    }
    for rec in name.names:
        if rec.nameID in replacements:
            rec.string = replacements[rec.nameID]
    # The trademark notice and the vendor links belong to the original font.
    name.names = [r for r in name.names if r.nameID not in (7, 8, 11, 12)]


def build(output):
    font = TTFont(str(SOURCE), recalcBBoxes=True, recalcTimestamp=False)
    cmap = font.getBestCmap()
    targets = {cmap[ord(ch)]: ch for ch in ADVANCE}

    decompose_users(font, set(targets))
    drop_kerning(font, set(targets))
    refs = layout_references(font, set(targets))
    if refs:
        print("warning: OpenType layout refers to redrawn glyphs:",
              ", ".join(refs), file=sys.stderr)

    glyf = font["glyf"]
    hmtx = font["hmtx"]
    for glyph_name, ch in targets.items():
        glyph = draw_pair(ch)
        glyph.recalcBounds(glyf)
        glyf[glyph_name] = glyph
        hmtx[glyph_name] = (ADVANCE[ch], glyph.xMin)

    rename(font)
    if "FFTM" in font:          # FontForge build timestamps
        del font["FFTM"]
    font["OS/2"].recalcAvgCharWidth(font)
    font["head"].created = FIXED_TIMESTAMP
    font["head"].modified = FIXED_TIMESTAMP

    output.parent.mkdir(parents=True, exist_ok=True)
    font.save(str(output))


def main(argv):
    if len(argv) > 2:
        sys.exit(__doc__)
    output = Path(argv[1]) if len(argv) == 2 else DEFAULT_OUTPUT
    build(output)
    print(f"written {output}")


if __name__ == "__main__":
    main(sys.argv)
