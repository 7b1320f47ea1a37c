# frames: 6
# The sea captain: a long navy coat with brass buttons, a white cap with
# a black peak, a white beard and a pipe whose smoke curls up; the far hand
# holds a spyglass at his side.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 1.02; BW = 13; FW = 13; BELLY = 4; COATLEN = 22
    COAT = "#2f3a52"; COAT_D = "#242d40"; BUTTONS = GOLD; SHIRT = "#ffffff"
    N_SLEEVE = COAT; F_SLEEVE = COAT_D
    HAIR = "#e8e8e8"; HAIRSTYLE = "short"; BEARD = "full"; BEARD_C = "#f4f4f0"
    HAT = "captain"; PIPE = 1; PUFF_PH = n / c
    TROUSER = "#3a4660"; TROUSER_D = "#2f3a52"; BOOT = "#2b211c"; BOOT_D = "#1f1814"
    N_ARM = 20 + 3 * b; N_ELBOW = 100 + 5 * b; N_OPEN = 0
    F_ARM = 4; F_ELBOW = 6
    F_PROP = "spyglass"; F_PROP_A = 170
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
