# frames: 6
# A checkpoint flag for jobs (60 x 120 units, drawn at 2 px per unit): a
# wooden pole with a gold-trimmed red pennant waving in the wind.
awk -v n="$1" -v c="$2" 'BEGIN {
    ph = 2 * 3.14159265 * n / c
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"120\" height=\"240\" viewBox=\"0 0 120 240\">"
    print "<g stroke=\"#3b2a22\" stroke-width=\"5\" stroke-linejoin=\"round\">"
    print "<rect x=\"14\" y=\"14\" width=\"10\" height=\"220\" rx=\"3\" fill=\"#8a5a3b\"/>"
    print "<path d=\"M6 236 L32 236 L28 224 L10 224 Z\" fill=\"#6f4630\"/>"
    top = ""; bot = ""
    for (i = 0; i <= 6; i++) {
        x = 24 + i * 15; w = 6 * sin(ph - i * 0.9) * i / 6
        top = top sprintf(" L%.1f %.1f", x, 22 + i * 4 + w)
        bot = sprintf(" L%.1f %.1f", x, 92 - i * 4 + w) bot
    }
    printf "<path d=\"M24 22 %s %s Z\" fill=\"#c8553d\"/>\n", top, bot
    printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"10\" fill=\"#ebc323\" stroke-width=\"4\"/>\n", 56, 57 + 5 * sin(ph - 2.7) * 0.5
    print "<circle cx=\"19\" cy=\"12\" r=\"9\" fill=\"#ebc323\"/>"
    print "</g></svg>"
}'
