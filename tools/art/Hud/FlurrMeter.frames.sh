# frames: 2
# The flight meter's dial: frame 0 a full tank, frame 1 an empty one. The
# clock wipe sweeps from the first to the second as fuel is spent, so both
# share one drawing and differ only in colour. 240 x 240 pixels: a dial of
# 120 units at 2 pixels per unit.
n=$1
if [ "$n" -eq 0 ]; then
    face="#ffd166"; rim="#ff9f1c"; wing="#ffffff"; shade="#ebc323"; feather="#d9e6ee"
else
    face="#d9e6ee"; rim="#b8b2a7"; wing="#e8f4f0"; shade="#c6ccd0"; feather="#b8b2a7"
fi
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="240" height="240" viewBox="0 0 240 240">
  <g stroke="#3b2a22" stroke-width="4" stroke-linejoin="round" stroke-linecap="round">
    <circle cx="120" cy="120" r="114" fill="$rim"/>
    <circle cx="120" cy="120" r="94" fill="$face"/>
    <path d="M40 140 A 84 84 0 0 0 200 140 A 96 70 0 0 1 40 140 Z" fill="$shade" stroke="none"/>
    <path d="M70 132 Q 92 78 156 74 Q 178 74 176 90 Q 164 92 160 98 Q 168 104 162 114 Q 150 114 144 120 Q 148 130 138 136 Q 104 146 70 132 Z" fill="$wing"/>
    <path d="M92 122 Q 118 104 148 100 M100 132 Q 124 120 142 118" fill="none" stroke="$feather" stroke-width="3"/>
  </g>
  <circle cx="84" cy="76" r="10" fill="#ffffff" opacity="0.5"/>
</svg>
SVG
