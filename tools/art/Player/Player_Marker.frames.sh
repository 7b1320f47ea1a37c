# frames: 4
# The map marker over the courier when the camera pulls back to show the
# whole level: a bold gold pin pointing down at the player, wearing the
# courier's face and cap, gently pulsing. Its tip is the bottom centre.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    q = 2 * PI * n / c
    pulse = (1 - cos(q)) / 2
    s = 0.92 + 0.08 * pulse
    tx = 50; ty = 100; cx = 50; cy = 40; r = 33
    d = ty - cy
    al = atan2(sqrt(d * d - r * r), r)
    svg_open(100, 104)
    # halo, breathing with the pulse
    printf "<circle cx=\"%s\" cy=\"%s\" r=\"%s\" fill=\"%s\" opacity=\"%s\"/>\n", f(cx), f(cy + 2), f(37 + 5 * pulse), GOLD, f(0.18 + 0.22 * pulse)
    printf "<g transform=\"translate(%s) scale(%s) translate(%s)\" stroke-linejoin=\"round\">\n", p(tx, ty), f(s), p(-tx, -ty)
    pin = sprintf("M%s L%s A%s %s 0 1 0 %s Z", p(tx, ty - 2), p(cx + r * sin(al), cy + r * cos(al)), f(r), f(r), p(cx - r * sin(al), cy + r * cos(al)))
    printf "<path d=\"%s\" fill=\"%s\" stroke=\"%s\" stroke-width=\"6\"/>\n", pin, GOLD, OUT
    # one shade tone on the right, a highlight on the upper left
    printf "<path d=\"M%s A%s %s 0 0 1 %s L%s Q%s %s Z\" fill=\"#c9a21c\"/>\n", p(cx + 20, cy - 26), f(r - 3), f(r - 3), \
        p(cx + r * sin(al) - 3, cy + r * cos(al) - 1), p(tx + 1, ty - 9), p(cx + 22, cy + 10), p(cx + 20, cy - 26)
    printf "<path d=\"M%s Q%s %s\" stroke=\"#fff0a8\" stroke-width=\"4\" fill=\"none\" stroke-linecap=\"round\"/>\n", p(cx - 27, cy - 4), p(cx - 25, cy - 24), p(cx - 10, cy - 29)
    printf "<circle cx=\"%s\" cy=\"%s\" r=\"24\" fill=\"%s\" stroke=\"%s\" stroke-width=\"4\"/>\n", f(cx), f(cy), FABRIC, OUT
    printf "<g transform=\"translate(%s) scale(1.18)\">\n", p(cx, cy - 1)
    head_front()
    print "</g>"
    print "</g>"
    svg_close()
}
AWK
