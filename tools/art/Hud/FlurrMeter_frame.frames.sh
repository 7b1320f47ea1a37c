# frames: 6
# The brass ring round the flight meter, with eight puffs of cloud that
# turn as the player flies: over the six frames the puffs move on by an
# eighth of a turn, so the loop joins up. 300 x 300 pixels: 150 units at
# 2 pixels per unit. The game places the ring 10 units above the dial, so
# its opening sits 20 pixels below the picture's centre, over the dial.
n=$1
count=$2
awk -v n="$n" -v c="$count" 'BEGIN {
    pi = 3.14159265
    cx = 150; cy = 170
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"300\" height=\"300\" viewBox=\"0 0 300 300\">"
    print "  <g stroke=\"#3b2a22\" stroke-width=\"4\" stroke-linejoin=\"round\">"
    # The ring: a wide gold band with a darker inner lip; the opening shows the dial.
    printf "    <path fill-rule=\"evenodd\" fill=\"#ebc323\" d=\"M%d %d m -124 0 a 124 124 0 1 0 248 0 a 124 124 0 1 0 -248 0 Z M%d %d m -108 0 a 108 108 0 1 1 216 0 a 108 108 0 1 1 -216 0 Z\"/>\n", cx, cy, cx, cy
    printf "    <path fill=\"none\" stroke=\"#8a5a3b\" stroke-width=\"3\" d=\"M%d %d m -112 0 a 112 112 0 1 0 224 0\"/>\n", cx, cy
    for (i = 0; i < 8; ++i) {
        a = 2 * pi * (i + n / c) / 8
        px = cx + 116 * sin(a); py = cy - 116 * cos(a)
        printf "    <g transform=\"translate(%.2f %.2f) rotate(%.2f) scale(0.8)\">", px, py, a * 180 / pi
        print "<path d=\"M-15 5 Q -17 -5 -8 -6 Q -5 -15 4 -12 Q 12 -14 14 -5 Q 20 1 14 6 Z\" fill=\"#ffffff\"/></g>"
    }
    print "  </g>"
    print "</svg>"
}'
