# frames: 1
# The end card: the courier waving from a grassy hill over the town under a
# gold banner that says thanks.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
function cloud(x, y, s) {
    printf "<g transform=\"translate(%s) scale(%s)\" stroke=\"%s\" stroke-width=\"4\" stroke-linejoin=\"round\">\n", p(x, y), f(s), OUT
    printf "<path d=\"M-50,10 Q-58,-8 -36,-10 Q-30,-32 -6,-26 Q8,-44 28,-26 Q52,-28 50,-6 Q62,10 44,14 L-40,14 Q-52,14 -50,10 Z\" fill=\"#ffffff\"/>\n"
    printf "<path d=\"M-40,12 L42,12 Q52,8 48,0 Q30,8 -40,6 Z\" fill=\"#d9e6ee\" stroke=\"none\"/>\n"
    print "</g>"
}
function envelope(x, y, a, s) {
    printf "<g transform=\"translate(%s) rotate(%s) scale(%s)\" stroke=\"%s\" stroke-width=\"3\" stroke-linejoin=\"round\">\n", p(x, y), f(a), f(s), OUT
    printf "<rect x=\"-16\" y=\"-11\" width=\"32\" height=\"22\" rx=\"2\" fill=\"%s\"/>\n", FABRIC
    printf "<path d=\"M-16,-10 L0,3 L16,-10\" fill=\"none\"/>\n"
    printf "<circle cx=\"0\" cy=\"3\" r=\"4\" fill=\"%s\" stroke-width=\"2\"/>\n", SCARF
    print "</g>"
}
function house(x, y, w, h, roof) {
    printf "<g stroke=\"%s\" stroke-width=\"3\" stroke-linejoin=\"round\">\n", OUT
    printf "<rect x=\"%s\" y=\"%s\" width=\"%s\" height=\"%s\" fill=\"#f2e3c6\"/>\n", f(x), f(y - h), f(w), f(h)
    printf "<path d=\"M%s L%s L%s Z\" fill=\"%s\"/>\n", p(x - 6, y - h + 2), p(x + w / 2, y - h - w * 0.55), p(x + w + 6, y - h + 2), roof
    printf "<rect x=\"%s\" y=\"%s\" width=\"10\" height=\"10\" fill=\"%s\" stroke-width=\"2\"/>\n", f(x + w / 2 - 5), f(y - h * 0.7), "#5b6c8f"
    print "</g>"
}
BEGIN {
    init_pose()
    W = 450
    svg_open(W, W)
    print "<defs>"
    print "<linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" stop-color=\"#9fd3e8\"/><stop offset=\"1\" stop-color=\"#e8f4f0\"/></linearGradient>"
    print "<clipPath id=\"card\"><rect x=\"6\" y=\"6\" width=\"438\" height=\"438\" rx=\"34\"/></clipPath>"
    print "</defs>"
    print "<g clip-path=\"url(#card)\">"
    print "<rect width=\"450\" height=\"450\" fill=\"url(#sky)\"/>"
    printf "<circle cx=\"360\" cy=\"150\" r=\"70\" fill=\"%s\" opacity=\"0.45\"/>\n", "#fffbe8"
    cloud(92, 168, 0.9); cloud(352, 208, 0.7)
    # the town far below the hill
    printf "<g opacity=\"0.9\">\n"
    house(26, 372, 44, 40, "#c8553d"); house(84, 366, 36, 52, "#5b6c8f"); house(322, 368, 40, 44, "#5b6c8f"); house(378, 372, 48, 36, "#c8553d")
    print "</g>"
    printf "<path d=\"M-10,470 L-10,380 Q110,350 225,352 Q340,350 460,384 L460,470 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"5\"/>\n", "#7fb069", OUT
    printf "<path d=\"M-10,470 L-10,410 Q120,392 225,396 Q330,392 460,414 L460,470 Z\" fill=\"%s\"/>\n", "#4e7d4a"
    printf "<path d=\"M40,370 Q120,356 190,357\" stroke=\"#9cc982\" stroke-width=\"6\" fill=\"none\" stroke-linecap=\"round\"/>\n"
    envelope(86, 262, -16, 1); envelope(372, 282, 14, 0.85); envelope(400, 150, -8, 0.7)
    # the courier, waving
    HX = 66; LEAN = -3; HEAD_TILT = -6
    N_ARM = 86; N_ELBOW = 60; N_OPEN = 1
    F_ARM = -10; F_ELBOW = 20
    N_THIGH = 8; N_KNEE = 4; F_THIGH = -8; F_KNEE = 4
    EYES = "happy"; MOUTH = "grin"
    SCARF_DIR = 175; SCARF_AMP = 4; SCARF_PH = 1; SCARF_LEN = 34
    printf "<g transform=\"translate(%s) scale(2.35)\">\n", p(225 - 64 * 2.35, 362 - 114 * 2.35)
    side_view()
    # wave marks beside the open hand
    printf "<g stroke=\"%s\" stroke-width=\"2\" fill=\"none\" stroke-linecap=\"round\">\n", OUT
    printf "<path d=\"M97,35 Q101,42 98,49\"/><path d=\"M102,31 Q108,41 103,52\"/>\n"
    print "</g>"
    print "</g>"
    # the banner
    printf "<g stroke=\"%s\" stroke-width=\"5\" stroke-linejoin=\"round\">\n", OUT
    printf "<path d=\"M44,64 L14,70 L28,92 L14,114 L56,108 Z\" fill=\"#c9a21c\"/>\n"
    printf "<path d=\"M406,64 L436,70 L422,92 L436,114 L394,108 Z\" fill=\"#c9a21c\"/>\n"
    printf "<path d=\"M40,46 Q225,30 410,46 L404,106 Q225,90 46,106 Z\" fill=\"%s\"/>\n", GOLD
    print "</g>"
    printf "<path d=\"M58,56 Q225,42 392,56\" stroke=\"#fff0a8\" stroke-width=\"4\" fill=\"none\" stroke-linecap=\"round\"/>\n"
    printf "<text x=\"225\" y=\"88\" text-anchor=\"middle\" font-family=\"DejaVu Sans\" font-weight=\"bold\" font-size=\"31\" fill=\"%s\">Thanks for playing!</text>\n", OUT
    print "</g>"
    printf "<rect x=\"6\" y=\"6\" width=\"438\" height=\"438\" rx=\"34\" fill=\"none\" stroke=\"%s\" stroke-width=\"8\"/>\n", OUT
    printf "<rect x=\"14\" y=\"14\" width=\"422\" height=\"422\" rx=\"27\" fill=\"none\" stroke=\"%s\" stroke-width=\"3\" opacity=\"0.9\"/>\n", GOLD
    svg_close()
}
AWK
