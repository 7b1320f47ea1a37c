# frames: 2
# The balloon business's yard, seen side on (1950 x 622 units at 1 px per
# unit): a picket fence, three striped hot-air balloons tethered to stakes,
# the "MERCURY BALLOONS" banner on its posts, and crates. It appears with a
# slow cross-fade from frame 0 to frame 1; the fade mixes both frames with
# their alpha, so frame 0 is the same picture almost transparent rather than
# empty (an empty frame would darken the picture half way through).
awk -v n="$1" 'BEGIN {
    OUT = "#3b2a22"
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1950\" height=\"622\" viewBox=\"0 0 1950 622\">"
    printf "<g opacity=\"%s\" stroke=\"%s\" stroke-width=\"4\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n", (n == 0 ? "0.08" : "1"), OUT
    # the yard: a strip of trodden ground
    print "<path d=\"M10 600 Q975 588 1940 600 L1940 618 L10 618 Z\" fill=\"#b8b2a7\"/>"
    print "<path d=\"M14 604 Q975 594 1936 604\" fill=\"none\" stroke=\"#d6d1c7\" stroke-width=\"3\"/>"
    # back fence rail behind everything
    print "<path d=\"M20 548 L1930 548 M20 574 L1930 574\" stroke-width=\"12\"/>"
    print "<path d=\"M20 548 L1930 548 M20 574 L1930 574\" stroke=\"#a87352\" stroke-width=\"6\"/>"
    balloon(360, 190, 150, "#c8553d", "#a9432f", "#f2e3c6", -4)
    balloon(1030, 190, 165, "#ebc323", "#c9a21c", "#5b6c8f", 2)
    balloon(1650, 210, 135, "#5b6c8f", "#4a587a", "#f2e3c6", 5)
    # pickets in front
    for (x = 30; x <= 1920; x += 38) {
        printf "<path d=\"M%d 600 L%d 530 L%d 518 L%d 530 L%d 600 Z\" fill=\"#f2e3c6\"/>\n", x - 9, x - 9, x, x + 9, x + 9
        printf "<path d=\"M%d 596 L%d 534\" stroke=\"#e3cfa9\" stroke-width=\"5\" stroke-linecap=\"butt\"/>\n", x + 5, x + 5
    }
    # the banner between two posts
    print "<rect x=\"600\" y=\"330\" width=\"16\" height=\"272\" fill=\"#8a5a3b\"/>"
    print "<rect x=\"1424\" y=\"330\" width=\"16\" height=\"272\" fill=\"#8a5a3b\"/>"
    print "<path d=\"M616 350 Q1020 372 1424 350 L1424 438 Q1020 460 616 438 Z\" fill=\"#c8553d\"/>"
    print "<path d=\"M616 362 Q1020 384 1424 362\" fill=\"none\" stroke=\"#ebc323\" stroke-width=\"5\"/>"
    print "<path d=\"M616 428 Q1020 450 1424 428\" fill=\"none\" stroke=\"#ebc323\" stroke-width=\"5\"/>"
    print "<text x=\"1020\" y=\"420\" text-anchor=\"middle\" font-family=\"DejaVu Serif\" font-weight=\"bold\" font-size=\"58\" fill=\"#f2e3c6\" stroke=\"#3b2a22\" stroke-width=\"3\" paint-order=\"stroke\">MERCURY BALLOONS</text>"
    print "<circle cx=\"608\" cy=\"326\" r=\"12\" fill=\"#ebc323\"/><circle cx=\"1432\" cy=\"326\" r=\"12\" fill=\"#ebc323\"/>"
    # crates and sacks
    crate(120, 600, 90); crate(210, 600, 70); crate(160, 510, 64)
    crate(1790, 600, 96); crate(1880, 600, 60)
    sack(520, 600); sack(1520, 600); sack(1560, 600)
    print "</g></svg>"
}
function balloon(cx, cy, r, a, ad, b, lean,    i, x0, x1, by, k) {
    by = 470
    # tethers to stakes
    printf "<path d=\"M%d %d L%d 598 M%d %d L%d 598\" stroke-width=\"3\" fill=\"none\"/>\n", cx - 28, by + 20, cx - 120, cx + 28, by + 20, cx + 120
    printf "<path d=\"M%d 586 L%d 602 M%d 586 L%d 602\" stroke-width=\"8\" stroke=\"#6f4630\"/>\n", cx - 120, cx - 120, cx + 120, cx + 120
    printf "<g transform=\"rotate(%d %d %d)\">\n", lean, cx, by
    # ropes from envelope to basket
    printf "<path d=\"M%d %d L%d %d M%d %d L%d %d M%d %d L%d %d\" stroke-width=\"3\" fill=\"none\"/>\n", cx - r * 0.55, cy + r * 0.95, cx - 30, by - 30, cx + r * 0.55, cy + r * 0.95, cx + 30, by - 30, cx, cy + r * 1.2, cx, by - 30
    # envelope: a teardrop of gores
    env = sprintf("M%d %d C%d %d %d %d %d %d C%d %d %d %d %d %d C%d %d %d %d %d %d C%d %d %d %d %d %d Z", \
        cx, cy - r, cx + r * 0.75, cy - r, cx + r * 1.05, cy - r * 0.35, cx + r * 0.9, cy + r * 0.45, \
        cx + r * 0.75, cy + r * 0.9, cx + r * 0.35, cy + r * 1.2, cx + r * 0.22, cy + r * 1.35, \
        cx - r * 0.35, cy + r * 1.2, cx - r * 0.75, cy + r * 0.9, cx - r * 0.9, cy + r * 0.45, \
        cx - r * 1.05, cy - r * 0.35, cx - r * 0.75, cy - r, cx, cy - r)
    printf "<defs><clipPath id=\"env%d\"><path d=\"%s\"/></clipPath></defs>\n", cx, env
    printf "<path d=\"%s\" fill=\"%s\"/>\n", env, a
    printf "<g clip-path=\"url(#env%d)\" stroke=\"none\">\n", cx
    for (i = -3; i <= 3; i += 2) {
        x0 = cx + i * r * 0.28; x1 = cx + i * r * 0.3
        printf "<path d=\"M%d %d Q%d %d %d %d L%d %d Q%d %d %d %d Z\" fill=\"%s\"/>\n", cx + i * 4, cy - r, x0 - r * 0.14, cy, cx + i * 2, cy + r * 1.4, cx + i * 2 + r * 0.12, cy + r * 1.4, x1 + r * 0.02, cy, cx + i * 4 + 6, cy - r, b
    }
    printf "<path d=\"M%d %d Q%d %d %d %d L%d %d Z\" fill=\"%s\" opacity=\"0.6\"/>\n", cx + r * 0.3, cy - r, cx + r * 1.3, cy, cx + r * 0.2, cy + r * 1.4, cx + r * 1.2, cy + r * 1.4, ad
    printf "<path d=\"M%d %d Q%d %d %d %d\" fill=\"none\" stroke=\"#ffffff\" stroke-width=\"10\" opacity=\"0.45\" stroke-linecap=\"round\"/>\n", cx - r * 0.75, cy - r * 0.1, cx - r * 0.7, cy - r * 0.7, cx - r * 0.25, cy - r * 0.88
    print "</g>"
    printf "<path d=\"%s\" fill=\"none\" stroke-width=\"5\"/>\n", env
    # burner and basket
    printf "<rect x=\"%d\" y=\"%d\" width=\"40\" height=\"14\" rx=\"3\" fill=\"#8d98a3\"/>\n", cx - 20, by - 44
    printf "<path d=\"M%d %d L%d %d L%d %d L%d %d Z\" fill=\"#a87352\"/>\n", cx - 38, by - 30, cx + 38, by - 30, cx + 32, by + 24, cx - 32, by + 24
    printf "<path d=\"M%d %d L%d %d M%d %d L%d %d M%d %d L%d %d\" stroke=\"#8a5a3b\" stroke-width=\"3\"/>\n", cx - 36, by - 12, cx + 36, by - 12, cx - 34, by + 6, cx + 34, by + 6, cx, by - 28, cx, by + 22
    printf "<rect x=\"%d\" y=\"%d\" width=\"84\" height=\"10\" rx=\"4\" fill=\"#6f4630\"/>\n", cx - 42, by - 36
    print "</g>"
}
function crate(x, y, s) {
    printf "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#a87352\"/>\n", x - s / 2, y - s, s, s
    printf "<path d=\"M%d %d L%d %d M%d %d L%d %d\" stroke=\"#8a5a3b\" stroke-width=\"6\"/>\n", x - s / 2 + 6, y - s + 6, x + s / 2 - 6, y - 6, x - s / 2 + 6, y - 6, x + s / 2 - 6, y - s + 6
    printf "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\"/>\n", x - s / 2, y - s, s, s
}
function sack(x, y) {
    printf "<path d=\"M%d %d Q%d %d %d %d L%d %d Q%d %d %d %d Q%d %d %d %d Z\" fill=\"#d8c39a\"/>\n", x - 22, y, x - 30, y - 40, x - 8, y - 52, x - 12, y - 62, x, y - 58, x + 12, y - 62, x + 30, y - 40, x + 22, y
    printf "<path d=\"M%d %d L%d %d\" stroke-width=\"5\"/>\n", x - 9, y - 52, x + 9, y - 52
}'
