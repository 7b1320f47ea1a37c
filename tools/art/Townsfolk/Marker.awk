# Map markers over the townsfolk who have work, shown when the camera pulls
# back to the whole map: the courier's pin shape, but in roof red with a
# cream disc showing the person's tool, gently pulsing (4 frames). The tip
# is the bottom centre. Used with Folk.awk, whose props draw the tools.
function marker(icon, n, c,    q, pulse, s, tx, ty, cx, cy, r, d, al, pin, body, shade, hi) {
    init_folk()
    q = 2 * PI * n / c
    pulse = (1 - cos(q)) / 2
    s = 0.93 + 0.07 * pulse
    tx = 65.5; ty = 141; cx = 65.5; cy = 55; r = 45
    body = RED; shade = RED_D; hi = "#f0a08c"
    if (icon == "unknown") { body = "#b8b2a7"; shade = "#9b958a"; hi = "#e4e0d8" }
    d = ty - cy
    al = atan2(sqrt(d * d - r * r), r)
    svg_open(131, 145, 1)
    printf "<circle cx=\"%s\" cy=\"%s\" r=\"%s\" fill=\"%s\" opacity=\"%s\"/>\n", f(cx), f(cy + 2), f(50 + 12 * pulse), GOLD, f(0.12 + 0.2 * pulse)
    printf "<g transform=\"translate(%s) scale(%s) translate(%s)\" stroke-linejoin=\"round\">\n", p(tx, ty), f(s), p(-tx, -ty)
    pin = sprintf("M%s L%s A%s %s 0 1 0 %s Z", p(tx, ty - 3), p(cx + r * sin(al), cy + r * cos(al)), f(r), f(r), p(cx - r * sin(al), cy + r * cos(al)))
    printf "<path d=\"%s\" fill=\"%s\" stroke=\"%s\" stroke-width=\"7\"/>\n", pin, body, OUT
    printf "<path d=\"M%s A%s %s 0 0 1 %s L%s Q%s %s Z\" fill=\"%s\"/>\n", p(cx + 27, cy - 35), f(r - 4), f(r - 4), \
        p(cx + r * sin(al) - 4, cy + r * cos(al) - 1), p(tx + 1, ty - 12), p(cx + 30, cy + 14), p(cx + 27, cy - 35), shade
    printf "<path d=\"M%s Q%s %s\" stroke=\"%s\" stroke-width=\"5\" fill=\"none\" stroke-linecap=\"round\"/>\n", p(cx - 37, cy - 5), p(cx - 34, cy - 32), p(cx - 14, cy - 39), hi
    printf "<circle cx=\"%s\" cy=\"%s\" r=\"33\" fill=\"%s\" stroke=\"%s\" stroke-width=\"5\"/>\n", f(cx), f(cy), CREAM, OUT
    icon_draw(icon, cx, cy)
    print "</g>"
    svg_close()
}

function icon_draw(icon, cx, cy,    k) {
    k = (icon == "tongs" || icon == "saw" || icon == "hammer") ? 1.3 : 1.55
    printf "<g transform=\"translate(%s) scale(%s)\">\n", p(cx, cy), f(k)
    if (icon == "hammer") prop("hammer", -2, 16, 35)
    else if (icon == "cleaver") prop("cleaver", -6, 14, 20)
    else if (icon == "saw") prop("saw", -10, 12, 40)
    else if (icon == "tongs") { GLOW = 1; prop("tongs", -10, 20, 38) }
    else if (icon == "loaf") prop("loaf", 0, 7, -15)
    else if (icon == "ball") { GLOW = 0.6; prop("ball", 0, 9, 0) }
    else if (icon == "book") { prop("book", -2, 2, -10); prop("pencil", 10, 8, 30) }
    else if (icon == "coin") {
        printf "<g stroke=\"%s\" stroke-width=\"2.4\" stroke-linejoin=\"round\">\n", OUT
        printf "<path d=\"M-13,16 Q-18,-2 -6,-8 L6,-8 Q18,-2 13,16 Z\" fill=\"%s\"/>\n", WOOD
        printf "<path d=\"M-7,-8 Q-10,-15 -4,-14 L4,-14 Q10,-15 7,-8\" fill=\"%s\"/>\n", WOOD_D
        printf "<path d=\"M-8,-8 L8,-8\" stroke=\"%s\" stroke-width=\"3\"/>\n", RED
        printf "<circle cx=\"6\" cy=\"8\" r=\"7\" fill=\"%s\"/><path d=\"M6,4 L6,12\" stroke=\"%s\" stroke-width=\"2\"/>\n", GOLD, GOLD_D
        print "</g>"
    } else if (icon == "anchor") {
        printf "<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n"
        printf "<path d=\"M0,-12 L0,16 M-8,-6 L8,-6 M-15,6 Q-13,17 0,17 Q13,17 15,6\" stroke=\"%s\" stroke-width=\"8\"/>\n", OUT
        printf "<path d=\"M0,-12 L0,16 M-8,-6 L8,-6 M-15,6 Q-13,17 0,17 Q13,17 15,6\" stroke=\"%s\" stroke-width=\"3.5\"/>\n", "#2f3a52"
        printf "<circle cx=\"0\" cy=\"-16\" r=\"4.5\" stroke=\"%s\" stroke-width=\"7\"/><circle cx=\"0\" cy=\"-16\" r=\"4.5\" stroke=\"%s\" stroke-width=\"2.8\"/>\n", OUT, GOLD
        print "</g>"
    } else if (icon == "unknown") {
        printf "<text x=\"0\" y=\"14\" text-anchor=\"middle\" font-family=\"DejaVu Sans\" font-weight=\"bold\" font-size=\"40\" fill=\"%s\" stroke=\"%s\" stroke-width=\"1\">?</text>\n", "#7d776d", OUT
    }
    print "</g>"
}
