# Town house facades for level designers: one drawing, set by the frame
# script (width W in units, storeys, roof colour, door side, shop sign), so
# every house shares the cottage's palette and outline. Drawn at 1 px per
# unit; the house stands on the bottom edge of its picture.
function facade(W, storeys, roof, roofd, door, sign,    H, wallh, top, i, j, x, y, nw, ww, gap, rh) {
    OUT = "#3b2a22"
    wallh = 30 + storeys * 120
    rh = W * 0.32
    H = wallh + rh + 40
    printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n", W, H, W, H
    printf "<g stroke=\"%s\" stroke-width=\"4\" stroke-linejoin=\"round\">\n", OUT
    top = H - wallh
    printf "<rect x=\"%d\" y=\"%d\" width=\"30\" height=\"%d\" fill=\"#b8b2a7\"/>\n", W * 0.7, top - rh - 10, rh
    printf "<rect x=\"%d\" y=\"%d\" width=\"38\" height=\"10\" fill=\"#9b958a\"/>\n", W * 0.7 - 4, top - rh - 14
    printf "<rect x=\"22\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#f2e3c6\"/>\n", top, W - 44, wallh - 2
    printf "<path d=\"M%d %d L%d %d L%d %d Z\" fill=\"#e3cfa9\" stroke=\"none\"/>\n", W * 0.78, top + 2, W - 24, top + 2, W - 24, H - 4
    printf "<path d=\"M%d %d L%d %d L%d %d L%d %d Z\" fill=\"#e3cfa9\" stroke=\"none\"/>\n", W * 0.78, top + 2, W - 24, top + 2, W - 24, H - 4, W * 0.78, H - 4
    # timber band between storeys
    for (i = 1; i < storeys; i++)
        printf "<path d=\"M22 %d L%d %d\" stroke=\"#8a5a3b\" stroke-width=\"8\"/>\n", H - 30 - i * 120 + 6, W - 22, H - 30 - i * 120 + 6
    printf "<path d=\"M4 %d L%d %d L%d %d L%d %d Z\" fill=\"%s\"/>\n", top + 6, W * 0.25, top - rh, W * 0.75, top - rh, W - 4, top + 6, roof
    printf "<path d=\"M%d %d L%d %d L%d %d Z\" fill=\"%s\" stroke=\"none\"/>\n", W * 0.75, top - rh + 2, W - 8, top + 4, W * 0.8, top + 4, roofd
    for (j = 1; j < 4; j++)
        printf "<path d=\"M%d %d L%d %d\" stroke=\"%s\" stroke-width=\"3\"/>\n", 4 + (W * 0.25 - 4) * j / 4, top + 6 - (rh + 6) * j / 4, W - 4 - (W * 0.25 - 4) * j / 4, top + 6 - (rh + 6) * j / 4, roofd
    printf "<path d=\"M4 %d L%d %d L%d %d L%d %d Z\" fill=\"none\"/>\n", top + 6, W * 0.25, top - rh, W * 0.75, top - rh, W - 4, top + 6
    # windows: as many as fit each storey
    nw = int((W - 60) / 110); if (nw < 2) nw = 2
    for (i = 0; i < storeys; i++) {
        y = H - 30 - (i + 1) * 120 + 34
        for (j = 0; j < nw; j++) {
            x = 30 + (W - 60) * (j + 0.5) / nw - 26
            if (i == 0 && j == (door == "left" ? 0 : nw - 1)) continue
            window(x, y)
        }
    }
    x = door == "left" ? 30 + (W - 60) * 0.5 / nw - 30 : 30 + (W - 60) * (nw - 0.5) / nw - 30
    printf "<rect x=\"%d\" y=\"%d\" width=\"60\" height=\"104\" rx=\"26\" fill=\"#8a5a3b\"/>\n", x, H - 108
    printf "<path d=\"M%d %d L%d %d\" stroke=\"#6f4630\" stroke-width=\"3\"/>\n", x + 30, H - 100, x + 30, H - 4
    printf "<rect x=\"%d\" y=\"%d\" width=\"76\" height=\"8\" fill=\"#b8b2a7\"/>\n", x - 8, H - 8
    print "</g>"
    printf "<circle cx=\"%d\" cy=\"%d\" r=\"4\" fill=\"#ebc323\"/>\n", x + 48, H - 52
    if (sign != "") {
        printf "<g stroke=\"%s\" stroke-width=\"4\"><rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"40\" rx=\"6\" fill=\"#8a5a3b\"/></g>\n", OUT, W / 2 - 90, top + 8, 180
        printf "<text x=\"%d\" y=\"%d\" text-anchor=\"middle\" font-family=\"DejaVu Serif\" font-weight=\"bold\" font-size=\"24\" fill=\"#ebc323\">%s</text>\n", W / 2, top + 37, sign
    }
    printf "<path d=\"M16 %d L%d %d\" stroke=\"%s\" stroke-width=\"5\"/>\n", H - 2, W - 16, H - 2, OUT
    print "</svg>"
}
function window(x, y) {
    printf "<rect x=\"%d\" y=\"%d\" width=\"52\" height=\"58\" fill=\"#5b6c8f\"/>\n", x, y
    printf "<path d=\"M%d %d L%d %d M%d %d L%d %d\" stroke-width=\"3\"/>\n", x + 26, y, x + 26, y + 58, x, y + 29, x + 52, y + 29
    printf "<rect x=\"%d\" y=\"%d\" width=\"18\" height=\"20\" fill=\"#ffd166\" opacity=\"0.5\" stroke=\"none\"/>\n", x + 4, y + 4
    printf "<rect x=\"%d\" y=\"%d\" width=\"64\" height=\"8\" fill=\"#8a5a3b\" stroke-width=\"3\"/>\n", x - 6, y + 58
}
