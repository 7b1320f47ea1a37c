# frames: 6
# The travelling trader: a wide-brimmed hat, a green coat with a sash,
# a tall pack with a bedroll and a pot on his back; he holds up a coin as
# if naming his price, bobbing it.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 1.0; BW = 12; FW = 12; BELLY = 1; COATLEN = 14
    COAT = "#4e7d4a"; COAT_D = "#3f6a3c"; SHIRT = "#f2e3c6"; BELT = RED
    N_SLEEVE = COAT; F_SLEEVE = COAT_D
    SKIN = "#c98f63"; SKIN_D = "#ad7550"; HAIR = "#3b2a22"; HAIRSTYLE = "short"; BEARD = "moustache"; BEARD_C = "#3b2a22"
    HAT = "wide"; HAT_C = "#8a5a3b"; BACK = "pack"
    TROUSER = "#b9a47c"; TROUSER_D = "#a08c66"
    F_ARM = 0; F_ELBOW = 10
    N_ARM = 38 + 6 * b; N_ELBOW = 92 - 8 * b
    N_PROP = "coin"; N_PROP_A = -10
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
