# frames: 8
# Coloured confetti for the screen-wide cheers: one piece per frame, each
# its own colour of the town (roof red, gold, sky blue, grass green, rose,
# cream, slate, flame), some square, some ribbon-like. Effects pick a frame
# at random and spin it; a darker edge gives each piece its flip.
n=$1
set -- "#c8553d #a9432f" "#ebc323 #c9a21c" "#5fa8d3 #3f7fa8" "#7fb069 #4e7d4a" \
    "#e88aa0 #c0637b" "#f2e3c6 #d8c39a" "#7487ad #5b6c8f" "#ff9f1c #d97f0c"
shift "$n"
fill=${1% *}
edge=${1#* }
if [ $((n % 2)) -eq 0 ]; then w=12; x=6; h=10; y=3; else w=18; x=3; h=6; y=5; fi
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="24" height="16" viewBox="0 0 24 16">
  <rect x="$x" y="$y" width="$w" height="$h" rx="1.2" fill="$fill"/>
  <rect x="$x" y="$((y + h - 3))" width="$w" height="3" rx="1" fill="$edge"/>
</svg>
SVG
