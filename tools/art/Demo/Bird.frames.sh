# frames: 4
# A small town bird flapping: the wings swing from up to down and back.
n=$1
count=$2
lift=$(awk -v n="$n" -v c="$count" 'BEGIN { printf "%.2f", -22 * cos(6.2831853 * n / c) }')
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
  <g stroke="#3b2a22" stroke-width="3" stroke-linejoin="round" stroke-linecap="round">
    <path d="M26 34 Q 16 $(awk -v l="$lift" 'BEGIN{printf "%.2f", 34 + l}') 4 $(awk -v l="$lift" 'BEGIN{printf "%.2f", 34 + l * 0.8}') Q 18 38 28 38 Z" fill="#5b6c8f"/>
    <ellipse cx="32" cy="38" rx="14" ry="9" fill="#b8b2a7"/>
    <circle cx="45" cy="31" r="7" fill="#b8b2a7"/>
    <path d="M51 30 L58 32 L51 34 Z" fill="#ebc323"/>
    <path d="M36 34 Q 44 $(awk -v l="$lift" 'BEGIN{printf "%.2f", 34 + l}') 56 $(awk -v l="$lift" 'BEGIN{printf "%.2f", 34 + l * 0.8}') Q 44 40 34 38 Z" fill="#5b6c8f"/>
  </g>
  <circle cx="47" cy="30" r="1.6" fill="#3b2a22"/>
</svg>
SVG
