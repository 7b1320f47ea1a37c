# frames: 1
# The game's icon (the desktop entry and the window): the courier flying
# up out of a cloud bank on a round patch of sky, in the game's palette
# and outline, so it reads at 48 pixels as well as at 256.
here=$(dirname "$0")
awk -f "$here/../Player/Courier.awk" -f /dev/stdin <<'AWK'
function puff(x, y, r) {
    printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\" fill=\"#ffffff\" stroke=\"#3b2a22\" stroke-width=\"6\"/>\n", x, y, r
}
function puff_fill(x, y, r) {
    printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\" fill=\"#ffffff\"/>\n", x, y, r - 3
}
BEGIN {
    init_pose()
    FLEX = 1.5; FLAME = 38; FLICK = 0; FLAME_W = 1
    KICK = 2; LEG_SPREAD = 5
    SCARF_DIR = 60; SCARF_AMP = 4; SCARF_PH = 0.6; SCARF_LEN = 30
    FLAP = 3
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">"
    print "<defs><linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
    print "<stop offset=\"0\" stop-color=\"#9fd3e8\"/><stop offset=\"1\" stop-color=\"#e8f4f0\"/>"
    print "</linearGradient><clipPath id=\"disc\"><circle cx=\"128\" cy=\"128\" r=\"117\"/></clipPath></defs>"
    print "<circle cx=\"128\" cy=\"128\" r=\"117\" fill=\"url(#sky)\"/>"
    print "<g clip-path=\"url(#disc)\">"
    # A small far cloud behind the courier.
    puff(176, 64, 14); puff(194, 58, 18); puff(212, 68, 12)
    puff_fill(176, 64, 14); puff_fill(194, 58, 18); puff_fill(212, 68, 12)
    print "<g transform=\"translate(45 36) scale(1.3)\">"
    back_view()
    print "</g>"
    # The cloud bank the courier climbs out of: outlines first, then the
    # fills over them, so the heap has one outer outline.
    n = split("22 206 44|70 190 46|120 200 44|172 188 46|222 204 42|128 240 60", P, "|")
    for (i = 1; i <= n; i++) { split(P[i], c, " "); puff(c[1], c[2], c[3]) }
    for (i = 1; i <= n; i++) { split(P[i], c, " "); puff_fill(c[1], c[2], c[3]) }
    printf "<ellipse cx=\"128\" cy=\"236\" rx=\"120\" ry=\"22\" fill=\"#d9e6ee\"/>\n"
    print "</g>"
    print "<circle cx=\"128\" cy=\"128\" r=\"117\" fill=\"none\" stroke=\"#3b2a22\" stroke-width=\"8\"/>"
    print "</svg>"
}
AWK
