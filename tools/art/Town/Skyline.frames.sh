# frames: 1
# The town far away, for a distant layer (2048 x 400 units): hazy roofs of
# varied widths, a church spire, a clock tower and chimneys, washed towards
# the sky colour; the left and right edges meet at the same height so the
# picture can be laid side by side.
awk 'BEGIN {
    srand(7)
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2048\" height=\"400\" viewBox=\"0 0 2048 400\">"
    print "<g fill=\"#9bb3c2\" stroke=\"#7d93a3\" stroke-width=\"3\" stroke-linejoin=\"round\">"
    x = 0
    while (x < 2040) {
        w = 70 + int(rand() * 90); h = 90 + int(rand() * 120)
        if (x + w > 2048 || 2048 - (x + w) < 70) { w = 2048 - x; h = 110 }
        printf "<path d=\"M%d 400 L%d %d L%d %d L%d %d L%d 400 Z\"/>\n", x, x, 400 - h, x + w / 2, 400 - h - w * 0.45, x + w, 400 - h, x + w
        if (rand() < 0.5) printf "<rect x=\"%d\" y=\"%d\" width=\"14\" height=\"30\"/>\n", x + w * 0.7, 400 - h - w * 0.3 - 10
        x += w
    }
    print "<path d=\"M700 400 L700 170 L730 170 L730 400 Z\"/><path d=\"M690 172 L715 40 L740 172 Z\"/>"
    print "<rect x=\"1380\" y=\"150\" width=\"70\" height=\"250\"/><path d=\"M1372 152 L1415 96 L1458 152 Z\"/>"
    print "<circle cx=\"1415\" cy=\"190\" r=\"20\" fill=\"#c9d8e0\"/>"
    print "</g>"
    print "<rect width=\"2048\" height=\"400\" fill=\"#e8f4f0\" opacity=\"0.25\"/>"
    print "</svg>"
}'
