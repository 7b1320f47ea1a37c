# frames: 5
# The tab that invites the player to open the objectives: a key cap and the
# pad's B button, then the word. Frame 0 is the calm look (shown when there
# is nothing new); the other frames make the tab glow gold and fade back,
# played round at a few frames per second while there is news. Drawn at
# twice the tab's size on screen.
KEY=Q
awk -v n="$1" -v c="$2" -v key="$KEY" 'BEGIN {
    PI = 3.14159265358979
    g = sin(PI * n / c); if (g < 0) g = 0
    OUT = "#3b2a22"
    # the word warms from cream to gold as the glow rises
    r = 242 + (235 - 242) * g; gr = 227 + (195 - 227) * g; b = 198 + (35 - 198) * g
    word = sprintf("#%02x%02x%02x", r, gr, b)
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"64\" viewBox=\"0 0 256 64\">"
    print "<defs><filter id=\"glow\" x=\"-10%\" y=\"-40%\" width=\"120%\" height=\"180%\"><feGaussianBlur stdDeviation=\"3\"/></filter></defs>"
    if (g > 0)
        printf "<rect x=\"4\" y=\"4\" width=\"248\" height=\"56\" rx=\"20\" fill=\"none\" stroke=\"#ebc323\" stroke-width=\"%.2f\" opacity=\"%.2f\" filter=\"url(#glow)\"/>\n", 4 + 4 * g, 0.9 * g
    # the tab, as the map prompt beside it: dark, rounded, a faint rim
    printf "<rect x=\"6\" y=\"6\" width=\"244\" height=\"52\" rx=\"18\" fill=\"%s\" stroke=\"%s\" stroke-width=\"3\"/>\n", OUT, (g > 0 ? sprintf("#%02x%02x%02x", 94 + (235 - 94) * g, 69 + (195 - 69) * g, 54 + (35 - 54) * g) : "#5e4536")
    print "<path d=\"M24 14 L232 14\" stroke=\"#6f5343\" stroke-width=\"2.5\" stroke-linecap=\"round\" opacity=\"0.8\"/>"
    # the key cap
    print "<g stroke=\"#1f1612\" stroke-width=\"2.5\" stroke-linejoin=\"round\">"
    print "<rect x=\"17\" y=\"15\" width=\"34\" height=\"36\" rx=\"7\" fill=\"#d8c39a\"/>"
    print "<rect x=\"17\" y=\"15\" width=\"34\" height=\"30\" rx=\"7\" fill=\"#f2e3c6\"/>"
    print "</g>"
    printf "<text x=\"34\" y=\"38.5\" text-anchor=\"middle\" font-family=\"DejaVu Sans\" font-weight=\"bold\" font-size=\"20\" fill=\"%s\">%s</text>\n", OUT, key
    # the pad button
    print "<circle cx=\"73\" cy=\"32\" r=\"17\" fill=\"#c8553d\" stroke=\"#1f1612\" stroke-width=\"2.5\"/>"
    print "<path d=\"M62 27 Q66 18 75 17\" stroke=\"#e8836c\" stroke-width=\"3\" fill=\"none\" stroke-linecap=\"round\"/>"
    print "<text x=\"73\" y=\"39.5\" text-anchor=\"middle\" font-family=\"DejaVu Sans\" font-weight=\"bold\" font-size=\"20\" fill=\"#ffffff\">B</text>"
    printf "<text x=\"167\" y=\"40\" text-anchor=\"middle\" font-family=\"DejaVu Sans\" font-weight=\"bold\" font-size=\"22\" fill=\"%s\">Objectives</text>\n", word
    # a glint that runs over the tab with the glow
    if (g > 0.3)
        printf "<path d=\"M%.1f 10 l3 8 l8 3 l-8 3 l-3 8 l-3 -8 l-8 -3 l8 -3 Z\" fill=\"#fff3c4\" opacity=\"%.2f\"/>\n", 100 + 120 * n / c, g
    print "</svg>"
}'
