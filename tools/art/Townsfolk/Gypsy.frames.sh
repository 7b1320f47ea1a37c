# frames: 6
# The fortune teller: a patterned headscarf hung with coins, a hoop
# earring, a purple shawl over a long red skirt, both hands round a crystal
# ball that swells with light and dims again.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 0.96; BW = 12; FW = 11; COATLEN = 0; SKIRT = 44
    SKIRT_C = "#a9432f"; SKIRT_D = "#8a3424"
    COAT = "#7b4f8f"; COAT_D = "#643e75"; SHIRT = "#f2e3c6"
    N_SLEEVE = "#7b4f8f"; F_SLEEVE = "#643e75"
    SKIN = "#d9a57a"; SKIN_D = "#bf8a60"; HAIR = "#2b211c"; HAIRSTYLE = "long"
    HAT = "scarf"; HAT_C = "#ebc323"; HAT_D = "#c9a21c"; BROW = OUT
    TROUSER = SKIRT_C; TROUSER_D = SKIRT_D; BOOT = "#553423"; BOOT_D = "#452a1c"
    N_ARM = 28 + 2 * b; N_ELBOW = 70
    F_ARM = 36 + 2 * b; F_ELBOW = 58
    GLOW = b; N_PROP = "ball"; N_PROP_A = 0
    EYES = (n == 3) ? "closed" : "open"
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
