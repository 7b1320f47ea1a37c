# frames: 6
# A rising column of wind, drawn for additive blending: soft pale streaks
# and motes drifting up, fading out at the ends of the column. The streaks
# repeat every 128 pixels, so six frames of 128/6 pixels each loop
# seamlessly. Additive blending adds the colour and ignores alpha, so the
# picture is built on black (adding nothing) and the alpha is then made
# from the brightness, which keeps it right under normal blending as well.
n=$1
count=$2
awk -v n="$n" -v c="$count" 'BEGIN {
    period = 128
    shift = period * n / c
    printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"256\" viewBox=\"0 0 128 256\">\n"
    print "<defs>"
    print "<filter id=\"glow\" x=\"-0.2\" y=\"-0.1\" width=\"1.4\" height=\"1.2\"><feGaussianBlur stdDeviation=\"2.6\"/></filter>"
    print "<filter id=\"alpha\" color-interpolation-filters=\"sRGB\" x=\"0\" y=\"0\" width=\"1\" height=\"1\"><feColorMatrix type=\"matrix\" values=\"1 0 0 0 0  0 1 0 0 0  0 0 1 0 0  0.2 0.4 0.4 0 0\"/></filter>"
    print "<linearGradient id=\"fadeY\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" stop-color=\"#000\"/><stop offset=\"0.22\" stop-color=\"#fff\"/><stop offset=\"0.78\" stop-color=\"#fff\"/><stop offset=\"1\" stop-color=\"#000\"/></linearGradient>"
    print "<linearGradient id=\"fadeX\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"0\"><stop offset=\"0\" stop-color=\"#000\"/><stop offset=\"0.2\" stop-color=\"#fff\"/><stop offset=\"0.8\" stop-color=\"#fff\"/><stop offset=\"1\" stop-color=\"#000\"/></linearGradient>"
    print "<mask id=\"fadeMaskX\" maskContentUnits=\"userSpaceOnUse\"><rect width=\"128\" height=\"256\" fill=\"url(#fadeX)\"/></mask>"
    print "<mask id=\"fade\" maskContentUnits=\"userSpaceOnUse\"><rect width=\"128\" height=\"256\" fill=\"url(#fadeY)\" mask=\"url(#fadeMaskX)\"/></mask>"
    print "</defs>"
    print "<g filter=\"url(#alpha)\">"
    print "<rect width=\"128\" height=\"256\" fill=\"#000000\"/>"
    print "<g mask=\"url(#fade)\"><g filter=\"url(#glow)\" stroke-linecap=\"round\" fill=\"none\">"
    # streaks: x, start y within the period, length, width, brightness, sway
    split("22 40 54 70 86 102 33 62 95 78", xs, " ")
    split("10 70 40 100 20 84 110 6 58 30", ys, " ")
    split("70 90 60 100 76 66 56 84 62 94", ls, " ")
    split("2.6 4 2.2 4.5 3 2.6 2.2 3.6 2.2 4", ws, " ")
    split("0.3 0.45 0.28 0.5 0.38 0.3 0.25 0.42 0.28 0.45", bs, " ")
    for (i = 1; i <= 10; i++) {
        # wrap first, so frame c would be frame 0 again exactly
        base = ys[i] - shift
        base -= period * int(base / period)
        if (base < 0) base += period
        for (k = -1; k <= 2; k++) {
            y0 = base + k * period
            y1 = y0 + ls[i]
            if (y1 < -10 || y0 > 266) continue
            # a gentle S-sway, the same for every copy so the loop is seamless
            sw = (i % 2 ? 4 : -4)
            printf "<path d=\"M%.1f %.1f C%.1f %.1f %.1f %.1f %.1f %.1f\" stroke=\"#c8eef8\" stroke-width=\"%s\" opacity=\"%s\"/>\n", \
                xs[i], y1, xs[i] + sw, y1 - ls[i] * 0.35, xs[i] - sw, y0 + ls[i] * 0.35, xs[i], y0, ws[i], bs[i]
            printf "<path d=\"M%.1f %.1f L%.1f %.1f\" stroke=\"#ffffff\" stroke-width=\"%s\" opacity=\"%s\"/>\n", \
                xs[i], y0 + ls[i] * 0.2, xs[i], y0 + ls[i] * 0.45, ws[i] * 0.45, bs[i]
        }
    }
    # motes rising a little faster than the streaks, looping over the same period
    split("30 48 66 80 98 40 90 58", mx, " ")
    split("20 90 50 120 8 64 36 100", my, " ")
    for (i = 1; i <= 8; i++)
        for (k = -1; k <= 2; k++) {
            base = my[i] - 2 * shift
            base -= period * int(base / period)
            if (base < 0) base += period
            y = base + k * period
            if (y < -6 || y > 262) continue
            printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%s\" fill=\"#ffffff\" opacity=\"0.5\"/>\n", mx[i] + 3 * sin(6.2831853 * (my[i] - 2 * shift) / period), y, (i % 3 ? 2.2 : 3)
        }
    print "</g></g></g>"
    print "</svg>"
}'
