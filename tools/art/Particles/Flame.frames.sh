# frames: 4
# A small jet-pack flame tongue for additive blending (black background:
# it adds nothing). It flickers: the tip sways and stretches per frame.
n=$1
count=$2
eval "$(awk -v n="$n" -v c="$count" 'BEGIN {
    a = 6.2831853 * n / c
    printf "sway=%.2f tip=%.2f", 3 * sin(a), 6 + 4 * sin(2 * a + 0.7)
}')"
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="48" viewBox="0 0 32 48">
  <defs>
    <radialGradient id="hot" cx="0.5" cy="0.7" r="0.6">
      <stop offset="0" stop-color="#fffbe8"/>
      <stop offset="0.35" stop-color="#ffd166"/>
      <stop offset="0.75" stop-color="#ff9f1c" stop-opacity="0.6"/>
      <stop offset="1" stop-color="#ff9f1c" stop-opacity="0"/>
    </radialGradient>
    <filter id="soft" x="-30%" y="-30%" width="160%" height="160%">
      <feGaussianBlur stdDeviation="1.6"/>
    </filter>
  </defs>
  <rect width="32" height="48" fill="#000000"/>
  <path filter="url(#soft)" fill="url(#hot)"
        d="M16 44 C 5 42 4 30 10 22 C 13 17 $(awk -v s="$sway" 'BEGIN{printf "%.2f", 15 + s}') 12 $(awk -v s="$sway" 'BEGIN{printf "%.2f", 16 + s}') $tip
           C 19 14 28 24 26 32 C 25 40 22 44 16 44 Z"/>
</svg>
SVG
