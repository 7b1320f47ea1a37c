# frames: 6
# A lantern flame for additive blending: it sways and breathes.
n=$1
count=$2
eval "$(awk -v n="$n" -v c="$count" 'BEGIN {
    a = 6.2831853 * n / c
    printf "sway=%.2f tall=%.2f", 6 * sin(a), 8 * sin(2 * a + 1)
}')"
top=$(awk -v t="$tall" 'BEGIN { printf "%.2f", 14 - t }')
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="96" viewBox="0 0 64 96">
  <defs>
    <radialGradient id="glow" cx="0.5" cy="0.7" r="0.6">
      <stop offset="0" stop-color="#ffd166" stop-opacity="1"/>
      <stop offset="0.6" stop-color="#ff9f1c" stop-opacity="0.8"/>
      <stop offset="1" stop-color="#ff9f1c" stop-opacity="0"/>
    </radialGradient>
  </defs>
  <path d="M32 90 C 8 86 8 60 20 44 C 26 36 $(awk -v s="$sway" 'BEGIN{printf "%.2f", 30 + s}') 28 $(awk -v s="$sway" 'BEGIN{printf "%.2f", 32 + s}') $top
           C 40 30 56 50 52 66 C 50 82 44 90 32 90 Z" fill="url(#glow)"/>
  <ellipse cx="32" cy="72" rx="9" ry="13" fill="#ffd166" opacity="0.9"/>
</svg>
SVG
