# The guiding raven, every pose from one drawing:
#
#   sh Raven.sh POSE N COUNT
#
# prints the SVG of frame N of COUNT. POSE is fly (idling beside the
# player: wings beat from high to low and back) or point (leaning towards
# the way to go, neck stretched, wings fluttering short and quick, a gold
# glint ahead of the beak pulsing). 120 x 120 pixels: a raven of 60 units
# drawn at 2 pixels per unit, facing right (the game flips it). Raven.frames.sh
# and RavenPoint.frames.sh beside this file name the frame counts.
pose=$1
n=$2
count=$3

body="#3d3a4a"
wing="#2c2a36"
sheen="#5b6c8f"
outline="#3b2a22"

calc() { awk -v n="$n" -v c="$count" "BEGIN { pi = 3.14159265; $1 }"; }

case "$pose" in
fly)
    # Wing tip rise above the shoulder (pixels), a full beat per cycle; the
    # body bobs against the beat.
    lift=$(calc 'printf "%.2f", 30 * cos(2 * pi * n / c)')
    bob=$(calc 'printf "%.2f", -3 * cos(2 * pi * n / c)')
    lean=0
    neck=0
    ;;
point)
    lift=$(calc 'printf "%.2f", 8 + 10 * cos(2 * pi * n / c)')
    bob=$(calc 'printf "%.2f", -1.5 * cos(2 * pi * n / c)')
    lean=-14
    neck=3
    ;;
*)
    echo "unknown pose $pose" >&2
    exit 1
    ;;
esac

v() { calc "printf \"%.2f\", $1"; }

# Shoulder at (56, 58 + bob); the far wing is a darker, shorter copy.
sy=$(v "58 + $bob")
tip=$(v "$sy - $lift")
tipfar=$(v "$sy - $lift * 0.75")
mid=$(v "$sy - $lift * 0.55")
midfar=$(v "$sy - $lift * 0.4")
hx=$(v "84 + $neck")
hy=$(v "$sy - 12 + $neck * 0.3")

echo '<svg xmlns="http://www.w3.org/2000/svg" width="120" height="120" viewBox="0 0 120 120">'
echo "  <g transform=\"rotate($lean 60 60)\" stroke=\"$outline\" stroke-width=\"3.5\" stroke-linejoin=\"round\" stroke-linecap=\"round\">"
cat <<SVG
    <path d="M58 $sy Q 50 $midfar 30 $tipfar L 40 $(v "$tipfar + 6") L 28 $(v "$tipfar + 10") Q 46 $(v "$sy + 4") 64 $(v "$sy + 6") Z" fill="$wing"/>
    <path d="M34 $(v "$sy + 2") L 12 $(v "$sy - 6") L 16 $(v "$sy + 4") L 10 $(v "$sy + 12") L 36 $(v "$sy + 12") Z" fill="$wing"/>
    <ellipse cx="56" cy="$(v "$sy + 6")" rx="26" ry="14" fill="$body"/>
    <path d="M40 $(v "$sy + 12") Q 58 $(v "$sy + 22") 74 $(v "$sy + 10")" fill="none" stroke="$sheen" stroke-width="2.5"/>
    <circle cx="$hx" cy="$hy" r="12" fill="$body"/>
    <path d="M$(v "$hx + 9") $(v "$hy - 4") L $(v "$hx + 26") $(v "$hy + 2") L $(v "$hx + 9") $(v "$hy + 6") Z" fill="#ebc323"/>
    <path d="M62 $sy Q 54 $mid 26 $tip L 38 $(v "$tip + 7") L 24 $(v "$tip + 13") L 36 $(v "$tip + 17") Q 50 $(v "$sy + 8") 70 $(v "$sy + 8") Z" fill="$wing"/>
    <path d="M50 $(v "$sy + 4") Q 44 $(v "($mid + $sy) / 2 + 4") 34 $(v "($tip + $sy) / 2 + 6")" fill="none" stroke="$sheen" stroke-width="2"/>
  </g>
SVG
# The eye, outside the outlined group: a dark bead with a light catch.
echo "  <g transform=\"rotate($lean 60 60)\">"
echo "    <circle cx=\"$(v "$hx + 3")\" cy=\"$(v "$hy - 3")\" r=\"3\" fill=\"$outline\"/>"
echo "    <circle cx=\"$(v "$hx + 4")\" cy=\"$(v "$hy - 4")\" r=\"1\" fill=\"#ffffff\"/>"
if [ "$pose" = point ]; then
    glow=$(calc 'printf "%.2f", 3 + 2 * sin(2 * pi * n / c)')
    gx=$(v "$hx + 27")
    gy=$(v "$hy - 9")
    echo "    <path d=\"M$gx $(v "$gy - $glow - 3") L $(v "$gx + 2") $(v "$gy - 2") L $(v "$gx + $glow + 3") $gy L $(v "$gx + 2") $(v "$gy + 2") L $gx $(v "$gy + $glow + 3") L $(v "$gx - 2") $(v "$gy + 2") L $(v "$gx - $glow - 3") $gy L $(v "$gx - 2") $(v "$gy - 2") Z\" fill=\"#ffd166\" stroke=\"#ebc323\" stroke-width=\"1\"/>"
fi
echo '  </g>'
echo '</svg>'
