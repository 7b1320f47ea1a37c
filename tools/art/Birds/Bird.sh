# The small town birds, every colour and pose from one drawing:
#
#   sh Bird.sh COLOUR POSE N COUNT
#
# prints the SVG of frame N of COUNT. COLOUR is Black, Blue or Red; POSE is
# fly (wings swing from up to down and back), idle (sitting, breathing, the
# head bobbing) or peck (frame 0 head down at the ground, then back up).
# 56 x 56 pixels: a bird of 28 units drawn at 2 pixels per unit, facing
# right, its feet at the bottom edge when it sits. Each COLOUR's
# <Colour>Bird*.frames.sh beside this file names the frame count.
colour=$1
pose=$2
n=$3
count=$4

case "$colour" in
Black) body="#4a4650"; wing="#34313a"; belly="#8a8590" ;;
Blue) body="#5b6c8f"; wing="#44537a"; belly="#d9e6ee" ;;
Red) body="#c8553d"; wing="#97402e"; belly="#f2e3c6" ;;
*) echo "unknown colour $colour" >&2; exit 1 ;;
esac

calc() { awk -v n="$n" -v c="$count" "BEGIN { pi = 3.14159265; $1 }"; }

head() { # cx cy: the head with its eye and beak
    cat <<SVG
    <circle cx="$1" cy="$2" r="6.5" fill="$body"/>
    <path d="M$(calc "printf \"%.2f %.2f L%.2f %.2f L%.2f %.2f\", $1 + 5.5, $2 - 1.5, $1 + 12, $2 + 0.5, $1 + 5.5, $2 + 2.5") Z" fill="#ebc323"/>
SVG
}
eye() {
    echo "  <circle cx=\"$(calc "printf \"%.2f\", $1 + 2")\" cy=\"$(calc "printf \"%.2f\", $2 - 1.5")\" r=\"1.5\" fill=\"#3b2a22\"/>"
}

echo '<svg xmlns="http://www.w3.org/2000/svg" width="56" height="56" viewBox="0 0 56 56">'
echo '  <g stroke="#3b2a22" stroke-width="3" stroke-linejoin="round" stroke-linecap="round">'
case "$pose" in
fly)
    # The wing tip's rise above the shoulder, in pixels.
    lift=$(calc 'printf "%.2f", -16 * cos(2 * pi * n / c)')
    tip=$(calc "printf \"%.2f\", 28 + $lift")
    tipfar=$(calc "printf \"%.2f\", 28 + $lift * 0.7")
    cat <<SVG
    <path d="M28 28 Q 24 $tipfar 14 $tipfar Q 20 33 30 31 Z" fill="$wing"/>
    <path d="M6 26 L14 30 L6 34 Z" fill="$wing"/>
    <ellipse cx="25" cy="31" rx="14" ry="8" fill="$body"/>
    <path d="M16 33 Q 26 39 36 33" fill="$belly" stroke-width="2"/>
SVG
    head 39 26
    cat <<SVG
    <path d="M32 29 Q 28 $tip 18 $tip Q 24 35 34 33 Z" fill="$wing"/>
  </g>
SVG
    eye 39 26
    ;;
idle | peck)
    if [ "$pose" = idle ]; then
        breath=$(calc 'printf "%.2f", 0.8 * sin(2 * pi * n / c)')
        hx=37
        hy=$(calc "printf \"%.2f\", 18 - $breath")
    else
        # Frame 0 at the ground, then rising back up.
        hx=$(calc 'printf "%.2f", 44 - 6 * n / (c - 1)')
        hy=$(calc 'printf "%.2f", 38 - 20 * n / (c - 1)')
        breath=0
    fi
    ry=$(calc "printf \"%.2f\", 10 + $breath")
    cat <<SVG
    <path d="M24 44 L23 53 M30 44 L31 53" fill="none" stroke-width="2.5"/>
    <path d="M14 36 L4 46 L10 47 Z" fill="$wing"/>
    <ellipse cx="26" cy="34" rx="13" ry="$ry" fill="$body" transform="rotate(-20 26 34)"/>
    <path d="M20 40 Q 30 45 37 33" fill="$belly" stroke-width="2"/>
    <path d="M32 29 Q 24 27 14 39 Q 24 40 33 35 Z" fill="$wing"/>
SVG
    head "$hx" "$hy"
    echo '  </g>'
    eye "$hx" "$hy"
    ;;
*)
    echo "unknown pose $pose" >&2
    exit 1
    ;;
esac
echo '</svg>'
