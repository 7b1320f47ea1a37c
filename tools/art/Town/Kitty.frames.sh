# frames: 4
# Kitty, the cat hiding on a roof (about 40 units long, drawn at 2 px per
# unit): a ginger cat sitting, tail swishing, ears twitching, a slow blink.
awk -v n="$1" -v c="$2" 'BEGIN {
    ph = 2 * 3.14159265 * n / c
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"80\" height=\"64\" viewBox=\"0 0 80 64\">"
    print "<g stroke=\"#3b2a22\" stroke-width=\"3\" stroke-linejoin=\"round\" stroke-linecap=\"round\">"
    printf "<path d=\"M18 56 Q4 54 6 40 Q%.1f %.1f %.1f %.1f\" fill=\"none\" stroke-width=\"9\"/>\n", 6 + 4 * sin(ph), 30, 12 + 6 * sin(ph), 24 - 2 * cos(ph)
    printf "<path d=\"M18 56 Q4 54 6 40 Q%.1f %.1f %.1f %.1f\" fill=\"none\" stroke=\"#e0893a\" stroke-width=\"4\"/>\n", 6 + 4 * sin(ph), 30, 12 + 6 * sin(ph), 24 - 2 * cos(ph)
    print "<path d=\"M14 60 Q12 34 34 30 Q52 30 54 48 L56 60 Z\" fill=\"#e0893a\"/>"
    print "<path d=\"M24 40 Q28 36 32 40 M22 48 Q27 44 32 48\" fill=\"none\" stroke=\"#b8662a\" stroke-width=\"3\"/>"
    print "<path d=\"M40 60 L42 46 M50 60 L50 46\" stroke-width=\"3\"/>"
    printf "<path d=\"M44 22 L%.1f 6 L54 16 L62 14 L%.1f 4 L68 22 Q70 36 56 38 Q42 38 44 22 Z\" fill=\"#e0893a\"/>\n", 44 - (n == 2 ? 2 : 0), 68 + (n == 2 ? 2 : 0)
    if (n == 3) print "<path d=\"M52 24 Q54 26 56 24 M61 24 Q63 26 65 24\" fill=\"none\" stroke-width=\"2\"/>"
    else print "<ellipse cx=\"54\" cy=\"24\" rx=\"2\" ry=\"3\" fill=\"#3b2a22\" stroke=\"none\"/><ellipse cx=\"63\" cy=\"24\" rx=\"2\" ry=\"3\" fill=\"#3b2a22\" stroke=\"none\"/>"
    print "<path d=\"M57 29 L60 29 L58.5 31 Z\" fill=\"#c8553d\" stroke-width=\"1.5\"/>"
    print "<path d=\"M66 30 L76 28 M66 32 L76 33 M50 30 L42 28\" stroke-width=\"1.5\"/>"
    print "</g></svg>"
}'
