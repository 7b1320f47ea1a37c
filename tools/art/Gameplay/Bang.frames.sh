# frames: 4
# The marker over the current delivery target: a bold gold exclamation mark
# that bobs up and down and swells a little, so it catches the eye from
# across the town. Drawn at twice its world size (20 x 50 units).
n=$1
count=$2
awk -v n="$n" -v c="$count" 'BEGIN {
    PI = 3.14159265
    q = 2 * PI * n / c
    bob = -3 * sin(q)
    s = 0.96 + 0.04 * cos(q)
    glow = 0.45 + 0.3 * cos(q)
    cx = 20; cy = 48
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"100\" viewBox=\"0 0 40 100\">"
    print "<defs><radialGradient id=\"halo\"><stop offset=\"0\" stop-color=\"#ffd166\"/><stop offset=\"0.6\" stop-color=\"#ffd166\" stop-opacity=\"0.6\"/><stop offset=\"1\" stop-color=\"#ffd166\" stop-opacity=\"0\"/></radialGradient></defs>"
    printf "<g transform=\"translate(0 %.2f) translate(%d %d) scale(%.3f) translate(%d %d)\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n", bob, cx, cy, s, -cx, -cy
    # a soft halo behind, breathing with the swell
    printf "<ellipse cx=\"20\" cy=\"48\" rx=\"19\" ry=\"44\" fill=\"url(#halo)\" opacity=\"%.2f\"/>\n", glow
    # the bar: wide and round at the top, narrowing to a rounded foot
    print "<path d=\"M8 16 Q8 6 20 6 Q32 6 32 16 L25.5 60 Q24.5 66 20 66 Q15.5 66 14.5 60 Z\" fill=\"#ebc323\" stroke=\"#3b2a22\" stroke-width=\"3.5\"/>"
    # one shade tone on the right, a highlight on the upper left
    print "<path d=\"M26 9.5 Q29.5 12 29.2 17 L23.4 59 Q22.8 62.5 20.5 63 Q22 40 26 9.5 Z\" fill=\"#c9a21c\"/>"
    print "<path d=\"M12.5 15 Q13 10 18 9.5\" stroke=\"#fff0a8\" stroke-width=\"3\" fill=\"none\"/>"
    print "<path d=\"M13.2 22 L15.6 44\" stroke=\"#fff0a8\" stroke-width=\"2.2\" fill=\"none\" opacity=\"0.8\"/>"
    # the dot
    print "<circle cx=\"20\" cy=\"81\" r=\"9\" fill=\"#ebc323\" stroke=\"#3b2a22\" stroke-width=\"3.5\"/>"
    print "<path d=\"M26 77 Q28 83 23 87.5 Q19 89 16 87.5 Q24 85 26 77 Z\" fill=\"#c9a21c\"/>"
    print "<path d=\"M15.5 79.5 Q16.5 76.5 19.5 76\" stroke=\"#fff0a8\" stroke-width=\"2.5\" fill=\"none\"/>"
    print "</g>"
    print "</svg>"
}'
