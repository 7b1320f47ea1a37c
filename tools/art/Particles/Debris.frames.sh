# frames: 4
# Bits that rain down after the grand opening: a wood splinter, a brass
# rivet, a scrap of striped balloon cloth and a twist of gold ribbon.
# Outlined like the rest of the town; effects pick a frame and spin it.
n=$1
case $n in
0) body='<path d="M3 11 L8 6 L27 4 L29 7 L12 12 Z" fill="#8a5a3b"/><path d="M9 9 L25 6" stroke="#6f4630" stroke-width="1.5"/>' ;;
1) body='<circle cx="16" cy="8" r="5.5" fill="#dcaa35"/><circle cx="14.5" cy="6.5" r="1.8" fill="#ffd166" stroke="none"/>' ;;
2) body='<path d="M5 3 L26 5 L24 13 L7 12 Z" fill="#f2e3c6"/><path d="M12 3.5 L12 12.5 M19 4.2 L18 12.8" stroke="#c8553d" stroke-width="3"/>' ;;
*) body='<path d="M3 10 Q9 2 15 8 Q21 14 29 5" fill="none" stroke="#3b2a22" stroke-width="6" stroke-linecap="round"/><path d="M3 10 Q9 2 15 8 Q21 14 29 5" fill="none" stroke="#ebc323" stroke-width="3" stroke-linecap="round"/>' ;;
esac
cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="16" viewBox="0 0 32 16">
  <g stroke="#3b2a22" stroke-width="2" stroke-linejoin="round">$body</g>
</svg>
SVG
