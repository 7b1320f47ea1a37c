# frames: 3
# A soft round puff of smoke or dust, three lumpy variants (frames) that
# effects pick from at random. White with the cloud shade underneath, so
# effects tint it (dust cream, smoke grey). Soft-edged, no outline.
n=$1
bumps=$(awk -v n="$n" 'BEGIN {
    # Five bumps round a core, each variant turned and sized its own way.
    a = 1.7 * n + 0.3
    for (k = 0; k < 5; k++) {
        t = a + k * 1.2566 + 0.35 * sin(3 * k + n)
        d = 10 + 3 * sin(2 * k + 2 * n)
        r = 8.5 + 3.5 * ((k * 7 + n * 3) % 4) / 3
        printf "    <circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\"/>\n", 32 + d * cos(t), 33 + 0.85 * d * sin(t), r
    }
}')
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
  <defs>
    <radialGradient id="body" cx="0.4" cy="0.35" r="0.75">
      <stop offset="0" stop-color="#ffffff"/>
      <stop offset="0.65" stop-color="#f4f8fa"/>
      <stop offset="1" stop-color="#d9e6ee"/>
    </radialGradient>
    <filter id="soft" x="-20%" y="-20%" width="140%" height="140%">
      <feGaussianBlur stdDeviation="2.4"/>
    </filter>
  </defs>
  <g filter="url(#soft)" fill="url(#body)" opacity="0.92">
    <circle cx="32" cy="33" r="13"/>
$bumps
  </g>
</svg>
SVG
