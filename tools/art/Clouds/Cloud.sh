# The drifting clouds, every one from one drawing:
#
#   sh Cloud.sh KIND VARIANT
#
# prints the SVG of one cloud. KIND is small (Cloud1-Cloud7: 480 x 260
# pixels, five to seven puffs) or big (BigCloud1-BigCloud3: 900 x 420, a
# long bank of nine to twelve). VARIANT seeds where the puffs sit and how
# big they are. A flat-bottomed heap of round puffs, white lit from the
# upper left, a blue-grey shade along its underside, a soft dark-brown
# outline; the game stretches it to the cloud's size and pushes it back
# in depth, so it is drawn plainly and large enough to stay smooth.
kind=$1
variant=$2

case "$kind" in
small) w=480 h=260 puffs=$((5 + variant % 3)) ;;
big) w=900 h=420 puffs=$((9 + variant % 4)) ;;
*)
    echo "unknown kind $kind" >&2
    exit 1
    ;;
esac

awk -v w="$w" -v h="$h" -v puffs="$puffs" -v seed="$variant$kind" 'BEGIN {
    # A seed from the name, so every variant is its own cloud and stays it.
    s = 0
    for (i = 1; i <= length(seed); i++)
        s = s * 31 + index("abcdefghijklmnopqrstuvwxyz0123456789", substr(seed, i, 1))
    srand(s)
    outline = "#3b2a22"; white = "#ffffff"; body = "#f4f8fa"; shade = "#d9e6ee"
    pad = 10
    base = h - pad - 4                    # the flat underside
    # Puffs along the width: the biggest and highest in the middle, smaller
    # and lower towards the ends; none below the flat underside.
    inner = h - 2 * pad
    for (i = 0; i < puffs; i++) {
        t = (i + 0.5) / puffs
        bulge = sin(3.14159 * t)
        r[i] = (0.17 + 0.15 * bulge + 0.06 * rand()) * inner
        x[i] = pad + r[i] + (w - 2 * pad - 2 * r[i]) * t + (rand() - 0.5) * 0.2 * r[i]
        y[i] = base - r[i] - (0.12 * bulge + 0.04 * rand()) * inner
        if (y[i] - r[i] < pad + 4) y[i] = pad + 4 + r[i]
    }
    left = x[0]; right = x[puffs - 1]
    baseH = (h - 2 * pad) * 0.34
    printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n", w, h, w, h
    # The outline: the whole heap drawn fat in the outline colour, then the
    # body over it, so only its rim shows.
    printf "<defs><clipPath id=\"heap\">"
    heap(0)
    printf "</clipPath></defs>\n"
    printf "<g fill=\"%s\" stroke=\"%s\" stroke-width=\"8\" stroke-linejoin=\"round\">", outline, outline
    heap(0)
    printf "</g>\n<g fill=\"%s\">", body
    heap(0)
    printf "</g>\n"
    # Inside the heap each puff is shaded on its lower right and lit on its
    # upper left, from the back puffs to the front ones (the ends, then the
    # middle), so the puffs stand apart; the underside lies in shade.
    printf "<g clip-path=\"url(#heap)\">\n"
    for (k = 0; k < puffs; k++) {
        i = order(k)
        printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\" fill=\"%s\"/>\n", x[i], y[i], r[i], shade
        printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\" fill=\"%s\"/>\n", x[i] - r[i] * 0.1, y[i] - r[i] * 0.12, r[i] * 0.88, body
        printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\" fill=\"%s\"/>\n", x[i] - r[i] * 0.25, y[i] - r[i] * 0.3, r[i] * 0.5, white
    }
    printf "<rect x=\"0\" y=\"%.1f\" width=\"%d\" height=\"%.1f\" fill=\"%s\"/>\n", base - baseH * 0.55, w, baseH, shade
    printf "</g>\n</svg>\n"
}
# The k-th puff to paint: alternately from both ends towards the middle.
function order(k,   j) {
    j = int(k / 2)
    return k % 2 == 0 ? j : puffs - 1 - j
}
function heap(unused,   i) {
    for (i = 0; i < puffs; i++)
        printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\"/>", x[i], y[i], r[i]
    printf "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" rx=\"%.1f\"/>", left - r[0] * 0.6, base - baseH, right - left + 0.6 * (r[0] + r[puffs - 1]), baseH, baseH / 2
}'
