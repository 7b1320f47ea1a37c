# frames: 6
# The glowing checkpoint arch (about 120 x 160 units, drawn at 1 px per
# unit): a gold ring on two posts, its glow swelling and fading.
awk -v n="$1" -v c="$2" 'BEGIN {
    g = (1 - cos(2 * 3.14159265 * n / c)) / 2
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"120\" height=\"160\" viewBox=\"0 0 120 160\">"
    print "<defs><filter id=\"b\" x=\"-30%\" y=\"-30%\" width=\"160%\" height=\"160%\"><feGaussianBlur stdDeviation=\"5\"/></filter></defs>"
    printf "<ellipse cx=\"60\" cy=\"66\" rx=\"44\" ry=\"52\" fill=\"none\" stroke=\"#ffd166\" stroke-width=\"%.1f\" opacity=\"%.2f\" filter=\"url(#b)\"/>\n", 10 + 8 * g, 0.5 + 0.4 * g
    printf "<ellipse cx=\"60\" cy=\"66\" rx=\"38\" ry=\"46\" fill=\"#fff3c4\" opacity=\"%.2f\"/>\n", 0.08 + 0.12 * g
    print "<g stroke=\"#3b2a22\" stroke-linejoin=\"round\">"
    print "<path d=\"M30 108 L26 156 L40 156 L40 110 M90 108 L94 156 L80 156 L80 110\" fill=\"#8a5a3b\" stroke-width=\"4\"/>"
    print "<ellipse cx=\"60\" cy=\"66\" rx=\"40\" ry=\"48\" fill=\"none\" stroke-width=\"14\"/>"
    print "<ellipse cx=\"60\" cy=\"66\" rx=\"40\" ry=\"48\" fill=\"none\" stroke=\"#ebc323\" stroke-width=\"7\"/>"
    printf "<path d=\"M28 40 Q38 22 58 19\" fill=\"none\" stroke=\"#fff3c4\" stroke-width=\"3\" stroke-linecap=\"round\" opacity=\"%.2f\"/>\n", 0.6 + 0.4 * g
    print "</g></svg>"
}'
