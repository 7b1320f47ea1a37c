# The townsfolk: one drawing of a grown-up townsperson, side on and facing
# right, in the courier's style (same outline colour and weight, light from
# the upper left, one shade tone per material). Each frame script sets the
# person's look (build, clothes, hat, hair, prop) and pose in a BEGIN block
# and calls folk(); keeping the drawing here is what keeps the nine people
# one family. The canvas is 160 x 160 units drawn at 2 px per unit; the
# feet stand on y = 142, so the sprite's centre is about the person's
# middle, as with the courier.
#
# Coordinates: units, y down. The hip centre is (HX, HY); torso points are
# given relative to it. Arm angles are measured from straight down,
# positive swinging forward (right); ELBOW bends the forearm forward.
# Prop angles are absolute degrees, 0 = the prop's "up" pointing up.

function init_folk() {
    OUT = "#3b2a22"; OW = 2.6; PI = 3.14159265358979
    SKIN = "#f5cfa5"; SKIN_D = "#e0ad84"
    HAIR = "#6b4430"; HAIR_D = "#553423"
    COAT = "#5b6c8f"; COAT_D = "#4a587a"; COAT_L = "#7487ad"
    SHIRT = "#f2e3c6"
    TROUSER = "#8a7a62"; TROUSER_D = "#74664f"
    BOOT = "#6b4430"; BOOT_D = "#553423"
    GOLD = "#ebc323"; GOLD_D = "#c9a21c"; BRASS = "#dcaa35"
    RED = "#c8553d"; RED_D = "#a9432f"
    CREAM = "#f2e3c6"; CREAM_D = "#e3cfa9"
    WOOD = "#8a5a3b"; WOOD_D = "#6f4630"; WOOD_L = "#a87352"
    STEEL = "#b8c2cc"; STEEL_D = "#8d98a3"
    HX = 78; GROUNDY = 142; LEG = 40; TORSO = 30; R = 15
    BW = 13; FW = 13; BELLY = 0; COATLEN = 12; SKIRT = 0; SCALE = 1
    LEAN = 1; BREATH = 0; HEAD_BOB = 0; HEAD_TILT = 0
    N_ARM = -4; N_ELBOW = 12; F_ARM = 6; F_ELBOW = 10; N_OPEN = 0; F_OPEN = 0
    N_SLEEVE = COAT; F_SLEEVE = COAT_D; N_FORE = ""; F_FORE = ""
    STANCE = 5; EYES = "open"; MOUTH = "smile"
    HAT = "none"; HAIRSTYLE = "short"; BEARD = "none"; GLASSES = 0
    APRON = "none"; APRON_C = "#8a5a3b"; APRON_D = "#6f4630"
    N_PROP = "none"; N_PROP_A = 0; F_PROP = "none"; F_PROP_A = 0; BACK = "none"
    GLOW = 0; PUFF_PH = 0
}

function rad(d) { return d * PI / 180 }
function f(x) { return sprintf("%.2f", x) }
function p(x, y) { return f(x) "," f(y) }
function mix(a, b, t,    r1, g1, b1, r2, g2, b2) {
    r1 = hexv(substr(a, 2, 2)); g1 = hexv(substr(a, 4, 2)); b1 = hexv(substr(a, 6, 2))
    r2 = hexv(substr(b, 2, 2)); g2 = hexv(substr(b, 4, 2)); b2 = hexv(substr(b, 6, 2))
    return sprintf("#%02x%02x%02x", r1 + (r2 - r1) * t, g1 + (g2 - g1) * t, b1 + (b2 - b1) * t)
}
function hexv(s,    i, v, c) {
    v = 0; s = tolower(s)
    for (i = 1; i <= length(s); i++) { c = index("0123456789abcdef", substr(s, i, 1)) - 1; v = v * 16 + c }
    return v
}

function svg_open(w, h, scale) {
    printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n", w * scale, h * scale, w, h
}
function svg_close() { print "</svg>" }

function torso_pt(x, y,    c, s) {
    c = cos(rad(LEAN)); s = sin(rad(LEAN))
    TX = HX + x * c - y * s
    TY = HY + x * s + y * c
}

function limb(pts, width, fill) {
    printf "<path d=\"M%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"%s\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n", pts, OUT, f(width + 2 * OW)
    printf "<path d=\"M%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"%s\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n", pts, fill, f(width)
}

function boot(x, y, fill, shade) {
    printf "<g transform=\"translate(%s)\" stroke=\"%s\" stroke-width=\"%s\" stroke-linejoin=\"round\">\n", p(x, y), OUT, f(OW)
    printf "<path d=\"M-6,-8 L5,-8 L6,-2 Q13,-2 14,2 L14,5 L-7,5 Q-8,-1 -6,-8 Z\" fill=\"%s\"/>\n", fill
    printf "<path d=\"M-6.5,3.5 L13,3.5\" stroke=\"%s\" stroke-width=\"2\"/>\n", shade
    print "</g>"
}

function leg(dx, fill, bootc, bshade,    hx, hy, ax) {
    torso_pt(dx, -2); hx = TX; hy = TY
    ax = HX + dx * 1.6
    limb(p(hx, hy) " L" p((hx + ax) / 2 + 1, (hy + GROUNDY - 5) / 2) " L" p(ax, GROUNDY - 5), 11, fill)
    boot(ax, GROUNDY - 5, bootc, bshade)
}

# Arm from the shoulder; leaves the hand centre in AHX, AHY and the
# forearm's angle in AFA.
function arm(which, upper, elbow, open, sleeve, fore,    sx, sy, ex, ey, hx, hy, skin, fa) {
    torso_pt(which == "near" ? 2 : -2, -TORSO + 3 + BREATH)
    sx = TX; sy = TY
    ex = sx + 16 * sin(rad(upper)); ey = sy + 16 * cos(rad(upper))
    fa = upper + elbow
    hx = ex + 13 * sin(rad(fa)); hy = ey + 13 * cos(rad(fa))
    skin = which == "near" ? SKIN : SKIN_D
    if (fore != "") {
        limb(p(sx, sy) " L" p(ex, ey) " L" p(hx, hy), 9.5, fore)
        limb(p(sx, sy) " L" p(ex, ey), 10, sleeve)
    } else
        limb(p(sx, sy) " L" p(ex, ey) " L" p(hx, hy), 10, sleeve)
    hx += 3 * sin(rad(fa)); hy += 3 * cos(rad(fa))
    AHX = hx; AHY = hy; AFA = fa
    if (open) {
        printf "<g transform=\"translate(%s) rotate(%s)\" stroke=\"%s\" stroke-width=\"2.4\" stroke-linejoin=\"round\">\n", p(hx, hy), f(-fa), OUT
        printf "<path d=\"M4,-1 Q11,0 10,5 Q8,7 4,4\" fill=\"%s\"/>\n", skin
        printf "<path d=\"M-5.5,-3 Q-7,10 0,11 Q7,10 5.5,-3 Z\" fill=\"%s\"/>\n", skin
        print "</g>"
    } else
        printf "<circle cx=\"%s\" cy=\"%s\" r=\"5.2\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.4\"/>\n", f(hx), f(hy), skin, OUT
}

# The body from hips to neck, with coat skirt, belly and apron.
function torso(    top, bl, fr, ap) {
    top = -TORSO + BREATH
    printf "<g transform=\"translate(%s) rotate(%s)\" stroke=\"%s\" stroke-width=\"%s\" stroke-linejoin=\"round\">\n", p(HX, HY), f(LEAN), OUT, f(OW)
    if (SKIRT > 0) {
        # a long skirt down to the ankles
        printf "<path d=\"M%s L%s Q%s %s L%s Z\" fill=\"%s\"/>\n", p(-BW + 1, -4), p(-BW - 8, SKIRT), p(2, SKIRT + 4), p(FW + 9, SKIRT), p(FW - 1, -4), SKIRT_C
        printf "<path d=\"M%s Q%s %s\" fill=\"none\" stroke=\"%s\" stroke-width=\"4\"/>\n", p(-BW - 7, SKIRT - 5), p(2, SKIRT - 1), p(FW + 8, SKIRT - 5), GOLD
        printf "<path d=\"M%s L%s M%s L%s\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" opacity=\"0.7\"/>\n", p(-2, 2), p(-5, SKIRT - 7), p(6, 2), p(8, SKIRT - 7), SKIRT_D
    }
    # body
    printf "<path d=\"M%s Q%s %s Q%s %s Q%s %s Q%s %s Z\" fill=\"%s\"/>\n", \
        p(-BW, 2), p(-BW - 2, top + 8), p(-BW + 6, top), p(2, top - 3), p(FW - 4, top), \
        p(FW + 2 + BELLY * 0.4, top + 6), p(FW + BELLY, top + 20), p(FW + BELLY, top + 28), p(FW - 1, 2), COAT
    # shade down the back
    printf "<path d=\"M%s Q%s %s L%s Z\" fill=\"%s\" stroke=\"none\"/>\n", p(-BW + 1, 0), p(-BW - 1, top + 8), p(-BW + 6, top + 1.5), p(-BW + 5, 0), COAT_D
    if (COATLEN > 0) {
        printf "<path d=\"M%s L%s L%s L%s Z\" fill=\"%s\"/>\n", p(-BW, -2), p(-BW - 4, COATLEN), p(FW + 3, COATLEN), p(FW - 1, -2), COAT
        printf "<path d=\"M%s L%s\" stroke-width=\"2\"/>\n", p(FW - 5, 0), p(FW - 3, COATLEN - 1)
    }
    # shirt at the collar
    printf "<path d=\"M%s L%s L%s Z\" fill=\"%s\" stroke-width=\"2\"/>\n", p(FW - 7, top + 1), p(FW - 1, top + 1), p(FW - 3, top + 9), SHIRT
    if (APRON != "none") {
        ap = APRON == "long" ? 26 : 14
        printf "<path d=\"M%s L%s Q%s %s L%s L%s Z\" fill=\"%s\"/>\n", p(FW - 9, top + 8), p(FW - 1, top + 8), p(FW + 2 + BELLY, -10), p(FW + 1 + BELLY * 0.5, 0), p(FW + 3, ap), p(-2, ap), APRON_C
        printf "<path d=\"M%s Q%s %s\" fill=\"none\" stroke-width=\"2\"/>\n", p(FW - 8, top + 8), p(-4, top + 2), p(-BW + 4, top + 3)
        if (APRON_STRIPE != "")
            for (i = 0; i < 3; i++)
                printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"2.6\"/>\n", p(FW - 6 + i * 4.5 + BELLY * 0.25 * i / 2, top + 11), p(1 + i * 4.5, ap - 1.5), APRON_STRIPE
        printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"2.2\" opacity=\"0.8\"/>\n", p(-1, ap - 3), p(FW + 2, ap - 3), APRON_D
    }
    # belt
    if (BELT != "")
        printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"3.5\"/><path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"1.6\"/>\n", p(-BW, -4), p(FW - 1 + BELLY * 0.3, -4), OUT, p(-BW + 1, -4), p(FW - 2 + BELLY * 0.3, -4), BELT
    if (BUTTONS != "")
        for (i = 0; i < 3; i++)
            printf "<circle cx=\"%s\" cy=\"%s\" r=\"1.6\" fill=\"%s\" stroke-width=\"1.2\"/>\n", f(FW - 3 + BELLY * 0.5 * (i > 0)), f(top + 10 + i * 7), BUTTONS
    print "</g>"
}

function head(    cx, cy) {
    torso_pt(3, -TORSO - 14 + BREATH + HEAD_BOB)
    cx = TX; cy = TY
    printf "<g transform=\"translate(%s) rotate(%s)\" stroke-linejoin=\"round\">\n", p(cx, cy), f(LEAN * 0.5 + HEAD_TILT)
    # neck
    printf "<path d=\"M-5,8 L-5,16 L6,16 L6,8 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\"/>\n", SKIN_D, OUT, f(OW)
    if (HAIRSTYLE == "long" || HAIRSTYLE == "bun")
        printf "<path d=\"M-6,-14 Q-20,-8 -17,14 Q-12,20 -4,14 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\"/>\n", HAIR, OUT, f(OW)
    printf "<circle r=\"%s\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\"/>\n", f(R), SKIN, OUT, f(OW)
    printf "<path d=\"M-3,13 Q7,15 12,8\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" opacity=\"0.7\"/>\n", SKIN_D
    # ear
    printf "<ellipse cx=\"-3\" cy=\"2\" rx=\"3.2\" ry=\"4\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", SKIN, OUT
    hair()
    # eye
    if (GLASSES == 2) {
        # goggles down over the eyes
        printf "<path d=\"M-15,-3 Q0,-6 8,-3\" stroke=\"%s\" stroke-width=\"4\" fill=\"none\"/>\n", OUT
        printf "<circle cx=\"9\" cy=\"-1\" r=\"5.5\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", BRASS, OUT
        printf "<circle cx=\"9.5\" cy=\"-1\" r=\"3.4\" fill=\"%s\"/>\n", mix("#3f5f6f", "#ffb347", GLOW * 0.6)
        printf "<circle cx=\"8.3\" cy=\"-2.4\" r=\"1.1\" fill=\"#ffffff\"/>\n"
    } else if (EYES == "closed")
        printf "<path d=\"M6,0 Q8.5,2.5 11,0\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" stroke-linecap=\"round\"/>\n", OUT
    else {
        printf "<ellipse cx=\"9\" cy=\"-1\" rx=\"2\" ry=\"2.8\" fill=\"%s\"/>\n", OUT
        printf "<circle cx=\"9.6\" cy=\"-2\" r=\"0.8\" fill=\"#ffffff\"/>\n"
    }
    if (BROW != "")
        printf "<path d=\"M5.5,-6 Q9,-8 12,-6\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" stroke-linecap=\"round\"/>\n", BROW
    if (GLASSES == 1) {
        printf "<circle cx=\"10\" cy=\"-1\" r=\"4.3\" fill=\"#e8f4f0\" fill-opacity=\"0.35\" stroke=\"%s\" stroke-width=\"1.8\"/>\n", OUT
        printf "<path d=\"M5.7,-2 L-2,-3\" stroke=\"%s\" stroke-width=\"1.5\"/>\n", OUT
    }
    # cheek, nose, mouth
    printf "<circle cx=\"6\" cy=\"6\" r=\"3.2\" fill=\"%s\" opacity=\"0.35\"/>\n", RED
    printf "<circle cx=\"%s\" cy=\"3\" r=\"%s\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", f(R - 0.5), f(NOSE ? NOSE : 2.8), SKIN, OUT
    beard()
    if (MOUTH != "hidden")
        printf "<path d=\"M8.5,9 Q11,11.5 13,8.3\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" stroke-linecap=\"round\"/>\n", OUT
    if (PIPE) pipe()
    hat()
    print "</g>"
}

function hair() {
    if (HAIRSTYLE == "bald") {
        printf "<path d=\"M-14.5,-1 Q-15,-9 -9,-10 Q-6,-5 -8,2 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", HAIR, OUT
        printf "<path d=\"M-4,-12 Q2,-14.5 7,-12.5\" stroke=\"#ffffff\" stroke-width=\"2.5\" fill=\"none\" stroke-linecap=\"round\" opacity=\"0.6\"/>\n"
    } else if (HAIRSTYLE == "short" || HAIRSTYLE == "long" || HAIRSTYLE == "bun") {
        printf "<path d=\"M10,-11 Q2,-19 -9,-13 Q-16,-8 -15,3 L-9,5 Q-10,-3 -5,-7 Q3,-6 6,-9 Q8,-6 12,-8 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.2\"/>\n", HAIR, OUT
        if (HAIRSTYLE == "bun")
            printf "<circle cx=\"-12\" cy=\"-12\" r=\"6\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.2\"/>\n", HAIR, OUT
    }
}

function beard() {
    if (BEARD == "full") {
        printf "<path d=\"M-6,4 Q-4,18 6,19 Q14,18 15,8 Q11,10 8,7 Q3,9 -1,5 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.2\"/>\n", BEARD_C, OUT
        MOUTH = "hidden"
        printf "<path d=\"M8,8.5 Q11,10.5 13.5,8.5\" stroke=\"%s\" stroke-width=\"1.8\" fill=\"none\" stroke-linecap=\"round\"/>\n", OUT
    } else if (BEARD == "moustache") {
        printf "<path d=\"M7,7 Q10,5 13,7 Q16,6 18,9 Q15,11 12.5,9 Q10,11 6,10 Q4,8 7,7 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"1.8\"/>\n", BEARD_C, OUT
        MOUTH = "hidden"
    }
}

function pipe(    k, ph, y) {
    printf "<path d=\"M12,10 L19,12 L19,6\" stroke=\"%s\" stroke-width=\"5\" fill=\"none\" stroke-linejoin=\"round\"/>\n", OUT
    printf "<path d=\"M12,10 L19,12\" stroke=\"%s\" stroke-width=\"2.2\" fill=\"none\"/>\n", WOOD_D
    printf "<rect x=\"16\" y=\"4\" width=\"6\" height=\"8\" rx=\"1.5\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", WOOD, OUT
    for (k = 0; k < 3; k++) {
        ph = (PUFF_PH + k / 3) % 1
        y = 2 - ph * 22
        printf "<circle cx=\"%s\" cy=\"%s\" r=\"%s\" fill=\"#ffffff\" opacity=\"%s\" stroke=\"#d9e6ee\" stroke-width=\"1\"/>\n", f(19 + 4 * sin(ph * 6 + k)), f(y), f(1.8 + 2.6 * ph), f(0.85 * (1 - ph))
    }
}

function hat() {
    if (HAT == "captain") {
        printf "<path d=\"M-15,-6 Q-16,-17 -6,-19 L12,-18 Q17,-16 15,-9 Z\" fill=\"#f4f4f0\" stroke=\"%s\" stroke-width=\"%s\"/>\n", OUT, f(OW)
        printf "<path d=\"M-15,-6 L15,-8 L15,-12 L-15,-10 Z\" fill=\"#2f3a52\" stroke=\"%s\" stroke-width=\"2.2\"/>\n", OUT
        printf "<path d=\"M13,-9 Q21,-9 23,-5 Q17,-5 12,-6 Z\" fill=\"#2f3a52\" stroke=\"%s\" stroke-width=\"2.2\"/>\n", OUT
        printf "<circle cx=\"9\" cy=\"-10\" r=\"2.6\" fill=\"%s\" stroke=\"%s\" stroke-width=\"1.4\"/>\n", GOLD, OUT
    } else if (HAT == "flatcap") {
        printf "<path d=\"M-15,-4 Q-16,-16 -3,-17 Q10,-17 14,-10 Q21,-9 22,-6 L12,-5 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\"/>\n", HAT_C, OUT, f(OW)
        printf "<path d=\"M-9,-13 Q-3,-15 4,-14\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" opacity=\"0.8\"/>\n", "#9a8a70"
    } else if (HAT == "toque") {
        printf "<path d=\"M-13,-8 L-14,-22 Q-22,-30 -13,-36 Q-8,-46 2,-40 Q10,-46 15,-37 Q23,-31 14,-22 L13,-9 Z\" fill=\"#ffffff\" stroke=\"%s\" stroke-width=\"%s\"/>\n", OUT, f(OW)
        printf "<path d=\"M-4,-38 Q-6,-28 -5,-20 M6,-38 Q7,-28 5,-20\" stroke=\"#d9e6ee\" stroke-width=\"2.5\" fill=\"none\"/>\n"
        printf "<path d=\"M-14,-10 L14,-11 L14,-16 L-14,-15 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.2\"/>\n", "#e8eef2", OUT
    } else if (HAT == "scarf") {
        printf "<path d=\"M-17,6 Q-19,-16 0,-17 Q13,-17 15,-6 L10,-7 Q0,-10 -8,-4 Q-11,2 -10,8 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\"/>\n", HAT_C, OUT, f(OW)
        printf "<path d=\"M-15,4 Q-22,14 -24,24 L-18,22 Q-15,14 -11,8 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.2\"/>\n", HAT_D, OUT
        for (k = 0; k < 5; k++)
            printf "<circle cx=\"%s\" cy=\"%s\" r=\"1.7\" fill=\"%s\" stroke=\"%s\" stroke-width=\"1\"/>\n", f(-9 + k * 5), f(-8.5 - 0.8 * (2 - (k - 2) * (k - 2) / 2)), GOLD, OUT
        printf "<circle cx=\"-3\" cy=\"9\" r=\"2.8\" fill=\"none\" stroke=\"%s\" stroke-width=\"3.8\"/><circle cx=\"-3\" cy=\"9\" r=\"2.8\" fill=\"none\" stroke=\"%s\" stroke-width=\"1.6\"/>\n", OUT, GOLD
    } else if (HAT == "wide") {
        printf "<path d=\"M-22,-6 Q0,-12 24,-7 Q26,-4 22,-3 Q0,-7 -22,-3 Q-25,-4 -22,-6 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.4\"/>\n", HAT_C, OUT
        printf "<path d=\"M-12,-8 Q-12,-22 0,-23 Q12,-22 12,-9 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\"/>\n", HAT_C, OUT, f(OW)
        printf "<path d=\"M-12,-11 Q0,-13 12,-12\" stroke=\"%s\" stroke-width=\"3\" fill=\"none\"/>\n", RED
    } else if (HAT == "goggles") {
        # a leather skullcap; the goggles are drawn with the eyes
        printf "<path d=\"M12,-8 A15 15 0 0 0 -15,2 L-9,4 Q-8,-4 0,-7 Q6,-9 12,-8 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\"/>\n", HAT_C, OUT, f(OW)
    }
}

# Props, in their own frame at the hand: y up the prop is negative.
function prop(kind, x, y, a,    k) {
    if (kind == "none") return
    printf "<g transform=\"translate(%s) rotate(%s)\" stroke=\"%s\" stroke-width=\"2.4\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n", p(x, y), f(a), OUT
    if (kind == "hammer") {
        printf "<rect x=\"-2.5\" y=\"-30\" width=\"5\" height=\"36\" rx=\"2\" fill=\"%s\"/>\n", WOOD
        printf "<path d=\"M-11,-38 L9,-38 L12,-35 L12,-27 L-11,-27 Z\" fill=\"#7b8692\"/>\n"
        printf "<path d=\"M-9,-36 L7,-36\" stroke=\"#c7d0d8\" stroke-width=\"2\"/>\n"
    } else if (kind == "cleaver") {
        printf "<rect x=\"-2.5\" y=\"-14\" width=\"5\" height=\"18\" rx=\"2\" fill=\"%s\"/>\n", WOOD_D
        printf "<path d=\"M-3,-13 L-3,-36 L19,-36 Q21,-24 17,-13 Z\" fill=\"%s\"/>\n", STEEL
        printf "<path d=\"M16,-34 Q18,-24 15,-15\" stroke=\"#eef2f5\" stroke-width=\"2\" fill=\"none\"/>\n"
        printf "<circle cx=\"3\" cy=\"-31\" r=\"2\" fill=\"#ffffff\" stroke-width=\"1.4\"/>\n"
    } else if (kind == "saw") {
        printf "<path d=\"M-5,-6 L-5,6 Q-5,10 0,10 L5,10 Q9,10 9,6 L9,-6 Z\" fill=\"%s\"/>\n", WOOD
        printf "<path d=\"M-2,-1 L5,-1 L5,5 L-2,5 Z\" fill=\"%s\" stroke-width=\"1.8\"/>\n", SKIN_D
        printf "<path d=\"M-5,-6 L9,-6 L5,-44 L-3,-44 Z\" fill=\"%s\"/>\n", STEEL
        for (k = 0; k < 7; k++)
            printf "<path d=\"M%s L%s\" stroke-width=\"1.6\"/>\n", p(9 - k * 0.55 - 1.2, -10 - k * 5), p(9 - k * 0.55 + 1.5, -12 - k * 5)
    } else if (kind == "plank") {
        printf "<rect x=\"-4.5\" y=\"-70\" width=\"9\" height=\"100\" rx=\"1.5\" fill=\"%s\"/>\n", WOOD_L
        printf "<path d=\"M1,-62 L1,-40 M-1,-10 L-1,18\" stroke=\"%s\" stroke-width=\"1.6\"/>\n", WOOD
    } else if (kind == "book") {
        printf "<rect x=\"-10\" y=\"-14\" width=\"20\" height=\"24\" rx=\"2\" fill=\"%s\"/>\n", RED_D
        printf "<rect x=\"-7\" y=\"-12\" width=\"16\" height=\"20\" rx=\"1\" fill=\"%s\" stroke-width=\"1.6\"/>\n", CREAM
        printf "<path d=\"M-4,-7 L6,-7 M-4,-3 L6,-3 M-4,1 L3,1\" stroke=\"%s\" stroke-width=\"1.2\" opacity=\"0.8\"/>\n", STEEL_D
    } else if (kind == "pencil") {
        printf "<path d=\"M-1.5,6 L-1.5,-16 L1.5,-16 L1.5,6 Z\" fill=\"%s\" stroke-width=\"1.8\"/>\n", GOLD
        printf "<path d=\"M-1.5,-16 L0,-21 L1.5,-16 Z\" fill=\"%s\" stroke-width=\"1.6\"/>\n", CREAM
    } else if (kind == "tongs") {
        printf "<path d=\"M-2,4 L-1,-34 M2,4 L3,-34\" stroke-width=\"5.5\" fill=\"none\"/>\n"
        printf "<path d=\"M-2,4 L-1,-34 M2,4 L3,-34\" stroke=\"%s\" stroke-width=\"2.4\" fill=\"none\"/>\n", "#5f6670"
        printf "<circle cx=\"1\" cy=\"-42\" r=\"%s\" fill=\"%s\" stroke=\"none\" opacity=\"%s\"/>\n", f(13 + 4 * GLOW), "#ffd166", f(0.25 + 0.25 * GLOW)
        printf "<rect x=\"-9\" y=\"-47\" width=\"20\" height=\"10\" rx=\"2\" fill=\"%s\"/>\n", mix("#ff9f1c", "#ffe08a", GLOW)
        printf "<path d=\"M-6,-44 L7,-44\" stroke=\"#fff4d6\" stroke-width=\"2\"/>\n"
    } else if (kind == "loaf") {
        printf "<path d=\"M-16,-3 Q-17,-15 -3,-16 L6,-16 Q19,-15 18,-3 Q17,3 1,3 Q-15,3 -16,-3 Z\" fill=\"#d79a4e\"/>\n"
        printf "<path d=\"M-9,-13 Q-6,-8 -8,-4 M-1,-15 Q2,-9 0,-4 M7,-14 Q10,-9 8,-4\" stroke=\"#a86a2c\" stroke-width=\"2\" fill=\"none\"/>\n"
        printf "<path d=\"M-12,-10 Q-8,-14 -2,-14\" stroke=\"#f0c488\" stroke-width=\"2\" fill=\"none\"/>\n"
    } else if (kind == "spyglass") {
        printf "<path d=\"M-3,8 L-3,-22 L3,-22 L3,8 Z\" fill=\"%s\"/>\n", BRASS
        printf "<path d=\"M-4.5,-22 L-4.5,-34 L4.5,-34 L4.5,-22 Z\" fill=\"%s\"/>\n", WOOD
        printf "<path d=\"M-3,-4 L3,-4 M-4.5,-30 L4.5,-30\" stroke-width=\"1.8\"/>\n"
    } else if (kind == "ball") {
        printf "<circle cx=\"0\" cy=\"-12\" r=\"%s\" fill=\"#c9b8ff\" stroke=\"none\" opacity=\"%s\"/>\n", f(15 + 4 * GLOW), f(0.2 + 0.3 * GLOW)
        printf "<path d=\"M-8,0 L8,0 L6,5 L-6,5 Z\" fill=\"%s\"/>\n", GOLD_D
        printf "<circle cx=\"0\" cy=\"-10\" r=\"11\" fill=\"%s\"/>\n", mix("#8fa4d8", "#d6c8ff", GLOW)
        printf "<circle cx=\"%s\" cy=\"-10\" r=\"4\" fill=\"#ffffff\" stroke=\"none\" opacity=\"%s\"/>\n", f(-2 + 4 * GLOW), f(0.3 + 0.4 * GLOW)
        printf "<path d=\"M-6,-16 Q-3,-19 1,-19\" stroke=\"#ffffff\" stroke-width=\"2.2\" fill=\"none\"/>\n"
    } else if (kind == "coin") {
        printf "<circle cx=\"0\" cy=\"-8\" r=\"5\" fill=\"%s\" stroke-width=\"2\"/>\n", GOLD
        printf "<path d=\"M0,-11 L0,-5\" stroke=\"%s\" stroke-width=\"1.6\"/>\n", GOLD_D
    }
    print "</g>"
}

function backpack(    x, y) {
    torso_pt(-BW - 9, -TORSO * 0.55 + BREATH)
    x = TX; y = TY
    printf "<g transform=\"translate(%s) rotate(%s)\" stroke=\"%s\" stroke-width=\"%s\" stroke-linejoin=\"round\">\n", p(x, y), f(LEAN), OUT, f(OW)
    # bedroll on top, pot hanging at the side
    printf "<rect x=\"-13\" y=\"-34\" width=\"26\" height=\"12\" rx=\"6\" fill=\"%s\"/>\n", RED
    printf "<path d=\"M-4,-34 L-4,-22 M5,-34 L5,-22\" stroke-width=\"2\"/>\n"
    printf "<rect x=\"-12\" y=\"-24\" width=\"24\" height=\"42\" rx=\"5\" fill=\"%s\"/>\n", WOOD
    printf "<path d=\"M-12,-8 L12,-8\" stroke-width=\"2\"/><rect x=\"-4\" y=\"-11\" width=\"8\" height=\"7\" rx=\"1\" fill=\"%s\" stroke-width=\"1.6\"/>\n", BRASS
    printf "<path d=\"M6,-22 L6,16\" stroke=\"%s\" stroke-width=\"3\"/>\n", WOOD_D
    printf "<path d=\"M-12,8 Q-20,10 -19,18 L-11,18 Z\" fill=\"%s\"/>\n", STEEL_D
    printf "<path d=\"M-22,14 Q-24,24 -16,25 Q-9,24 -11,14 Z\" fill=\"%s\"/>\n", "#8d98a3"
    print "</g>"
}

function plank_back(    x, y) {
    if (BACK != "plank") return
    torso_pt(-2, -TORSO + 2 + BREATH)
    prop("plank", TX, TY, 58)
}

function folk() {
    HY = GROUNDY - 5 - LEG
    printf "<g transform=\"translate(%s) scale(%s) translate(%s)\">\n", p(HX, GROUNDY), f(SCALE), p(-HX, -GROUNDY)
    plank_back()
    arm("far", F_ARM, F_ELBOW, F_OPEN, F_SLEEVE, F_FORE)
    FHX = AHX; FHY = AHY; FFA = AFA
    if (F_PROP != "none") prop(F_PROP, FHX, FHY, F_PROP_A)
    leg(-4, TROUSER_D, BOOT_D, "#452a1c")
    if (BACK == "pack") backpack()
    leg(4, TROUSER, BOOT, BOOT_D)
    torso()
    head()
    arm("near", N_ARM, N_ELBOW, N_OPEN, N_SLEEVE, N_FORE)
    if (N_PROP != "none") prop(N_PROP, AHX, AHY, N_PROP_A)
    # a hand in front of the prop it holds
    if (N_PROP != "none" && N_PROP != "ball" && N_PROP != "loaf" && N_PROP != "book")
        printf "<circle cx=\"%s\" cy=\"%s\" r=\"5.2\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.4\"/>\n", f(AHX), f(AHY), SKIN, OUT
    print "</g>"
}
