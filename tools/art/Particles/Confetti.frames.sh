# frames: 4
# A confetti piece seen at four stages of a flip, white so that effects
# tint it; a darker edge on the turned-away side gives the flip its depth.
# Effects pick a frame at random and spin the piece.
n=$1
count=$2
eval "$(awk -v n="$n" -v c="$count" 'BEGIN {
    a = 3.14159265 * n / c
    w = 9 * cos(a); if (w < 0) w = -w; if (w < 1.5) w = 1.5
    printf "half=%.2f shade=%.2f", w, 0.15 + 0.5 * (1 - cos(a)) / 2
}')"
x=$(awk -v h="$half" 'BEGIN { printf "%.2f", 12 - h }')
w=$(awk -v h="$half" 'BEGIN { printf "%.2f", 2 * h }')
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="24" height="16" viewBox="0 0 24 16">
  <rect x="$x" y="3" width="$w" height="10" rx="1.2" fill="#ffffff"/>
  <rect x="$x" y="10" width="$w" height="3" rx="1" fill="#d9e6ee" opacity="$shade"/>
</svg>
SVG
