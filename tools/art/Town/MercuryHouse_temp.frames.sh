# frames: 2
# The balloon business's office (447 x 397 units): a cream house with a
# slate roof, a round window, a sign over the door and a little balloon
# weathervane. Fades in with the yard, so frame 0 is the same picture almost
# transparent (see Mercury_temp).
awk -v n="$1" 'BEGIN {
    print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"447\" height=\"397\" viewBox=\"0 0 447 397\">"
    printf "<g opacity=\"%s\" stroke=\"#3b2a22\" stroke-width=\"4\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n", (n == 0 ? "0.08" : "1")
    # weathervane: a tiny balloon on a rod
    print "<path d=\"M300 70 L300 30\" stroke-width=\"4\"/>"
    print "<path d=\"M300 6 C314 6 318 22 308 32 L292 32 C282 22 286 6 300 6 Z\" fill=\"#c8553d\"/>"
    print "<rect x=\"294\" y=\"34\" width=\"12\" height=\"8\" fill=\"#a87352\" stroke-width=\"3\"/>"
    # chimney and walls
    print "<rect x=\"90\" y=\"60\" width=\"36\" height=\"70\" fill=\"#b8b2a7\"/>"
    print "<rect x=\"40\" y=\"170\" width=\"367\" height=\"221\" fill=\"#f2e3c6\"/>"
    print "<path d=\"M320 170 L407 170 L407 391 L320 391 Z\" fill=\"#e3cfa9\" stroke=\"none\"/>"
    print "<path d=\"M14 178 L120 72 L327 72 L433 178 Z\" fill=\"#5b6c8f\"/>"
    print "<path d=\"M327 72 L433 178 L330 178 Z\" fill=\"#4a587a\" stroke=\"none\"/>"
    print "<path d=\"M44 150 L403 150 M70 122 L377 122 M96 96 L351 96\" stroke=\"#4a587a\" stroke-width=\"3\"/>"
    print "<path d=\"M14 178 L120 72 L327 72 L433 178 Z\" fill=\"none\"/>"
    print "<circle cx=\"223\" cy=\"126\" r=\"22\" fill=\"#9fd3e8\"/><path d=\"M223 104 L223 148 M201 126 L245 126\" stroke-width=\"3\"/>"
    # sign over the door
    print "<rect x=\"128\" y=\"190\" width=\"190\" height=\"44\" rx=\"6\" fill=\"#c8553d\"/>"
    print "<text x=\"223\" y=\"222\" text-anchor=\"middle\" font-family=\"DejaVu Serif\" font-weight=\"bold\" font-size=\"26\" fill=\"#f2e3c6\" stroke=\"none\">MERCURY</text>"
    # door and windows
    print "<rect x=\"190\" y=\"262\" width=\"66\" height=\"129\" rx=\"30\" fill=\"#8a5a3b\"/>"
    print "<path d=\"M223 268 L223 391\" stroke=\"#6f4630\" stroke-width=\"3\"/><circle cx=\"244\" cy=\"330\" r=\"4\" fill=\"#ebc323\" stroke-width=\"2\"/>"
    print "<rect x=\"72\" y=\"262\" width=\"76\" height=\"70\" fill=\"#5b6c8f\"/><path d=\"M110 262 L110 332 M72 297 L148 297\" stroke-width=\"3\"/>"
    print "<rect x=\"298\" y=\"262\" width=\"76\" height=\"70\" fill=\"#5b6c8f\"/><path d=\"M336 262 L336 332 M298 297 L374 297\" stroke-width=\"3\"/>"
    print "<path d=\"M64 336 L156 336 M290 336 L382 336\" stroke=\"#8a5a3b\" stroke-width=\"10\"/>"
    print "<g fill=\"#c8553d\" stroke-width=\"2.5\"><circle cx=\"80\" cy=\"328\" r=\"6\"/><circle cx=\"96\" cy=\"330\" r=\"6\"/><circle cx=\"352\" cy=\"328\" r=\"6\"/><circle cx=\"366\" cy=\"330\" r=\"6\"/></g>"
    print "<g fill=\"#ffd166\" opacity=\"0.5\" stroke=\"none\"><rect x=\"78\" y=\"268\" width=\"26\" height=\"24\"/><rect x=\"304\" y=\"268\" width=\"26\" height=\"24\"/></g>"
    print "<path d=\"M30 391 L417 391\" stroke-width=\"5\"/>"
    print "</g></svg>"
}'
