# frames: 8
# A garden pinwheel on a wooden stick, turning a quarter turn over the
# cycle (four blades look the same after a quarter turn).
n=$1
count=$2
angle=$(awk -v n="$n" -v c="$count" 'BEGIN { printf "%.3f", 90 * n / c }')
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="96" height="160" viewBox="0 0 96 160">
  <rect x="44" y="48" width="8" height="108" rx="3" fill="#8a5a3b" stroke="#3b2a22" stroke-width="3"/>
  <g transform="translate(48 48) rotate($angle)" stroke="#3b2a22" stroke-width="3" stroke-linejoin="round">
    <path d="M0 0 L0 -42 Q 26 -30 0 0 Z" fill="#c8553d"/>
    <path d="M0 0 L42 0 Q 30 26 0 0 Z" fill="#ebc323"/>
    <path d="M0 0 L0 42 Q -26 30 0 0 Z" fill="#5b6c8f"/>
    <path d="M0 0 L-42 0 Q -30 -26 0 0 Z" fill="#7fb069"/>
    <circle r="6" fill="#f2e3c6"/>
  </g>
</svg>
SVG
