# The courier: the one drawing of the player character that every frame
# script in this folder poses. A frame script sets the pose globals in a
# BEGIN block and calls side_view() (on foot, facing right) or back_view()
# (flying straight up, seen from behind), between svg_open() and
# svg_close(). Keeping the drawing here, and only the pose in the frame
# scripts, is what keeps proportions, palette and outline the same in every
# animation.
#
# Conventions (image coordinates, y runs down):
#   side view: the hip centre (HX, HY); LEAN tilts the body forward in
#   degrees (clockwise). Limb angles are measured from straight down,
#   positive swinging forward (to the right); a knee bends the shin back,
#   an elbow bends the forearm forward. Foot angles are absolute, positive
#   turning the toes down. GROUND = 1 drops the figure until its lowest
#   sole, outline included, stands on the baseline y = 114.
#   back view: the pack centre (BX, BY), ROLL leans the whole figure
#   (negative = to the left), wings spread 0 (folded) to 1.
#   scarf: SCARF_DIR is the direction the tail streams (degrees, 0 = right,
#   90 = down, 180 = left, 270 = up), SCARF_AMP its flutter, SCARF_PH the
#   flutter phase in radians.

function init_palette() {
    OUT = "#3b2a22"
    SKIN = "#f5cfa5"; SKIN_D = "#e0ad84"
    JACKET = "#5b6c8f"; JACKET_D = "#4a587a"; JACKET_L = "#7487ad"
    TROUSER = "#d8c39a"; TROUSER_D = "#b9a47c"
    BOOT = "#6b4430"; BOOT_D = "#553423"
    CAP = "#8a5a3b"; CAP_D = "#6f4630"; CAP_L = "#a87352"
    SCARF = "#c8553d"; SCARF_D = "#a9432f"
    BRASS = "#dcaa35"; BRASS_D = "#a97e2a"; BRASS_L = "#ffd166"
    FABRIC = "#f2e3c6"; FABRIC_D = "#e3cfa9"; RIB = "#8a5a3b"
    LENS = "#9fd3e8"; HAIR = "#d07a3a"; GOLD = "#ebc323"
    FLAME_O = "#ff9f1c"; FLAME_I = "#ffd166"; FLAME_C = "#fff4d6"
    OW = 3
    PI = 3.14159265358979
}

# Pose defaults: a relaxed stand. Frame scripts override what they move.
function init_pose() {
    init_palette()
    HX = 66; HY = 72; GROUND = 1; LIFT = 0
    LEAN = 2; HEAD_TILT = 0; HEAD_BOB = 0; BREATH = 0
    N_THIGH = 5; N_KNEE = 2; N_FOOT = 0
    F_THIGH = -5; F_KNEE = 2; F_FOOT = 0
    N_ARM = -6; N_ELBOW = 14; F_ARM = 8; F_ELBOW = 12
    N_OPEN = 0; F_OPEN = 0
    SCARF_DIR = 165; SCARF_AMP = 2.5; SCARF_PH = 0; SCARF_LEN = 27
    SCARF_FRONT = 0
    HEM = 0; FLAP = 0; EYES = "open"; MOUTH = "smile"
    WING_LOOSE = 0
    # back view
    BX = 64; BY = 50; ROLL = 0; BEND = 0
    WL_S = 1; WR_S = 1; WL_DIP = 0; WR_DIP = 0; WL_K = 1; WR_K = 1; FLEX = 0
    FLAME = 30; FLAME_W = 1; FLAME_BEND = 0; FLICK = 0
    LEG_SPREAD = 5; KICK = 0; TUCK = 0; ARM_OUT = 0
    SPEED_LINES = 0; SPEED_PH = 0; PUFF = 0; FLASH = 0
}

function rad(d) { return d * PI / 180 }
function f(x) { return sprintf("%.2f", x) }
function p(x, y) { return f(x) "," f(y) }

function svg_open(w, h) {
    printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n", w, h, w, h
}
function svg_close() { print "</svg>" }

# Torso frame of the side view: local (x, y) around the hip, rotated by
# LEAN. Results in TX, TY.
function torso_pt(x, y,    c, s) {
    c = cos(rad(LEAN)); s = sin(rad(LEAN))
    TX = HX + x * c - y * s
    TY = HY + x * s + y * c
}

# A limb as one outlined stroke: the outline is a wider stroke under the
# fill so that joints have no seam.
function limb(pts, width, fill) {
    printf "<path d=\"M%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"%s\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n", pts, OUT, f(width + 2 * OW)
    printf "<path d=\"M%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"%s\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n", pts, fill, f(width)
}

# Two-bone reach from (ax, ay) towards (tx, ty); bend = +1 puts the middle
# joint forward (knee), -1 back (elbow of an arm reaching forward). Gives
# IK1 and IK2: the absolute angles of the two bones in the limb convention.
function ik2(ax, ay, tx, ty, l1, l2, bend,    dx, dy, d, a0, cb) {
    dx = tx - ax; dy = ty - ay
    d = sqrt(dx * dx + dy * dy)
    if (d > l1 + l2 - 0.01) d = l1 + l2 - 0.01
    if (d < 0.01) d = 0.01
    a0 = atan2(dx, dy) * 180 / PI
    cb = (l1 * l1 + d * d - l2 * l2) / (2 * l1 * d)
    if (cb > 1) cb = 1
    if (cb < -1) cb = -1
    IK1 = a0 + bend * acos_deg(cb)
    IK2 = atan2(tx - (ax + l1 * sin(rad(IK1))), ty - (ay + l1 * cos(rad(IK1)))) * 180 / PI
}
function acos_deg(x) { return atan2(sqrt(1 - x * x), x) * 180 / PI }

# ---------------------------------------------------------------- side view

function leg_pts(hx, hy, thigh, knee) {
    KX = hx + 19 * sin(rad(thigh)); KY = hy + 19 * cos(rad(thigh))
    AX = KX + 18 * sin(rad(thigh - knee)); AY = KY + 18 * cos(rad(thigh - knee))
}

# Lowest point of a boot at (ax, ay) turned by angle a.
function sole_low(ax, ay, a,    s, c, y1, y2) {
    s = sin(rad(a)); c = cos(rad(a))
    y1 = ay + (-6) * s + 5 * c
    y2 = ay + 12 * s + 5 * c
    return y1 > y2 ? y1 : y2
}

function boot(ax, ay, a, fill, shade) {
    printf "<g transform=\"translate(%s) rotate(%s)\" stroke=\"%s\" stroke-width=\"%d\" stroke-linejoin=\"round\">\n", p(ax, ay), f(a), OUT, OW
    printf "<path d=\"M-5,-8 L4,-8 L5,-2 Q11,-2 12,2 L12,5 L-6,5 Q-7,-1 -5,-8 Z\" fill=\"%s\"/>\n", fill
    printf "<path d=\"M-5.5,3.5 L11,3.5\" stroke=\"%s\" stroke-width=\"2\"/>\n", shade
    print "</g>"
}

function leg(which, thigh, knee, foot,    hx, hy, fill, bootc, bshade) {
    torso_pt(which == "near" ? 1.5 : -1.5, -3)
    hx = TX; hy = TY
    leg_pts(hx, hy, thigh, knee)
    fill = which == "near" ? TROUSER : TROUSER_D
    bootc = which == "near" ? BOOT : BOOT_D
    bshade = which == "near" ? BOOT_D : "#452a1c"
    limb(p(hx, hy) " L" p(KX, KY) " L" p(AX, AY), 10, fill)
    boot(AX, AY, foot, bootc, bshade)
}

function arm(which, upper, elbow, open,    sx, sy, ex, ey, hx, hy, fill, skin, fa) {
    torso_pt(which == "near" ? 1 : -2, -23 + BREATH)
    sx = TX; sy = TY
    ex = sx + 13 * sin(rad(upper)); ey = sy + 13 * cos(rad(upper))
    fa = upper + elbow
    hx = ex + 11 * sin(rad(fa)); hy = ey + 11 * cos(rad(fa))
    fill = which == "near" ? JACKET : JACKET_D
    skin = which == "near" ? SKIN : SKIN_D
    limb(p(sx, sy) " L" p(ex, ey) " L" p(hx, hy), 8, fill)
    hx += 2.5 * sin(rad(fa)); hy += 2.5 * cos(rad(fa))
    if (open) {
        # An open hand for waving: a mitten with a thumb.
        printf "<g transform=\"translate(%s) rotate(%s)\" stroke=\"%s\" stroke-width=\"2.5\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n", p(hx, hy), f(-fa), OUT
        printf "<path d=\"M4,-1 Q10,0 9,4 Q7,6 4,4\" fill=\"%s\"/>\n", skin
        printf "<path d=\"M-5,-3 Q-6.5,9 0,10 Q6.5,9 5,-3 Z\" fill=\"%s\"/>\n", skin
        printf "<path d=\"M-1.8,5 L-1.8,9 M1.8,5 L1.8,9\" stroke-width=\"1.4\"/>\n"
        print "</g>"
    } else {
        printf "<circle cx=\"%s\" cy=\"%s\" r=\"4.6\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", f(hx), f(hy), skin, OUT
    }
}

# The folded glider wings, strapped along the pack with their tips peeking
# up behind the head: the wooden spar outside, the furled cloth inside.
# In the torso frame; WING_LOOSE lets them swing back a little.
function folded_wings(    rx, ry, tx, ty) {
    rx = -13; ry = -14
    tx = rx - 42 * sin(rad(24)); ty = ry - 42 * cos(rad(24))
    printf "<g transform=\"rotate(%s %s)\" stroke-linejoin=\"round\" stroke-linecap=\"round\">\n", f(-12 * WING_LOOSE), p(rx, ry)
    printf "<path d=\"M%s L%s C%s %s %s Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", p(rx, ry), p(tx, ty), \
        p(tx + 12, ty + 2), p(rx + 6, ry - 26), p(rx + 5, ry - 8), FABRIC, OUT, OW
    printf "<path d=\"M%s L%s M%s L%s\" stroke=\"%s\" stroke-width=\"1.5\" opacity=\"0.75\"/>\n", p(rx + 1, ry), p(tx + 7, ty + 5), \
        p(rx + 2, ry), p(rx + 1, ry - 26), RIB
    printf "<path d=\"M%s Q%s %s\" stroke=\"%s\" stroke-width=\"2.5\" fill=\"none\"/>\n", p(tx + 9, ty + 6), p(rx + 4, ry - 20), p(rx + 4, ry - 6), FABRIC_D
    printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"5\"/>\n", p(rx + 1, ry + 2), p(tx, ty), OUT
    printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"2.4\"/>\n", p(rx + 1, ry + 2), p(tx, ty), RIB
    print "</g>"
}

function pack_side() {
    printf "<g stroke=\"%s\" stroke-width=\"%d\" stroke-linejoin=\"round\">\n", OUT, OW
    # nozzle bell under the tank
    printf "<path d=\"M-17,-6 L-11,-6 L-9.5,1 L-18.5,1 Z\" fill=\"%s\"/>\n", BRASS_D
    printf "<rect x=\"-21\" y=\"-28\" width=\"12\" height=\"23\" rx=\"4.5\" fill=\"%s\"/>\n", BRASS
    printf "<path d=\"M-13,-26 L-13,-7\" stroke=\"%s\" stroke-width=\"3\" stroke-linecap=\"round\"/>\n", BRASS_D
    printf "<path d=\"M-18.5,-24 L-18.5,-14\" stroke=\"%s\" stroke-width=\"2\" stroke-linecap=\"round\"/>\n", BRASS_L
    printf "<path d=\"M-21,-16 L-9,-16\" stroke-width=\"2.5\"/>\n"
    print "</g>"
}

function torso_side(    hemy) {
    hemy = 2
    printf "<g transform=\"translate(%s) rotate(%s)\">\n", p(HX, HY), f(LEAN)
    printf "<g stroke=\"%s\" stroke-width=\"%d\" stroke-linejoin=\"round\">\n", OUT, OW
    # jacket: flared hem, the back corner lifted by HEM when the wind catches it
    printf "<path d=\"M-11,%s Q-12,-12 -8,%s Q-2,%s 4,%s Q11,%s 11,-15 L12,%s Q1,%s -11,%s Z\" fill=\"%s\"/>\n", \
        f(hemy - HEM), f(-26 + BREATH), f(-30 + BREATH), f(-29 + BREATH), f(-27 + BREATH), f(hemy + HEM * 0.3), \
        f(hemy + 3), f(hemy - HEM), JACKET
    print "</g>"
    # shade on the front, away from the light
    printf "<path d=\"M6,-22 Q10,-19 9.5,-12 L10,%s L5,%s Q7,-10 6,-22 Z\" fill=\"%s\"/>\n", f(hemy + 1.5), f(hemy + 2), JACKET_D
    # light on the back
    printf "<path d=\"M-8.5,-22 Q-10,-12 -9,-2\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" stroke-linecap=\"round\"/>\n", JACKET_L
    # the pack harness across the chest, with a brass buckle
    printf "<path d=\"M-6,%s Q2,-18 9,-7\" stroke=\"%s\" stroke-width=\"7\" fill=\"none\" stroke-linecap=\"round\"/>\n", f(-27 + BREATH), OUT
    printf "<path d=\"M-6,%s Q2,-18 9,-7\" stroke=\"%s\" stroke-width=\"3.5\" fill=\"none\" stroke-linecap=\"round\"/>\n", f(-27 + BREATH), CAP
    printf "<rect x=\"1\" y=\"-17\" width=\"5\" height=\"5\" rx=\"1\" fill=\"%s\" stroke=\"%s\" stroke-width=\"1.5\" transform=\"rotate(35 3.5 -14.5)\"/>\n", BRASS, OUT
    # belt
    printf "<path d=\"M-10.5,-3 L11,-3\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", OUT
    print "</g>"
}

# The scarf tail: a ribbon from (x0, y0) streaming along SCARF_DIR with a
# travelling flutter, ending in a fork.
function scarf_tail(x0, y0, len, dir, amp, ph, w0, fill,    i, k, t, px, py, nx, ny, dx, dy, off, w, left, right, lx, ly, rx, ry, path) {
    k = 7
    dx = cos(rad(dir)); dy = sin(rad(dir))
    nx = -dy; ny = dx
    left = ""; right = ""
    for (i = 0; i <= k; i++) {
        t = i / k
        off = amp * t * sin(ph - i * 1.15)
        px[i] = x0 + dx * len * t + nx * off
        py[i] = y0 + dy * len * t + ny * off
        w = w0 * (1 - 0.3 * t) / 2
        lx[i] = px[i] + nx * w; ly[i] = py[i] + ny * w
        rx[i] = px[i] - nx * w; ry[i] = py[i] - ny * w
    }
    path = "M" p(lx[0], ly[0])
    for (i = 1; i <= k; i++) path = path " L" p(lx[i], ly[i])
    # forked end
    path = path " L" p(px[k] - dx * 4, py[k] - dy * 4) " L" p(rx[k], ry[k])
    for (i = k - 1; i >= 0; i--) path = path " L" p(rx[i], ry[i])
    printf "<path d=\"%s Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\" stroke-linejoin=\"round\"/>\n", path, fill, OUT, f(OW - 0.5)
    # a stripe across near the end, like a knitted band
    i = k - 2
    printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"2\" opacity=\"0.8\"/>\n", p(lx[i], ly[i]), p(rx[i], ry[i]), FABRIC
}

# The head in its own frame: centre at the origin, facing right.
function head_side(cx, cy, tilt) {
    printf "<g transform=\"translate(%s) rotate(%s)\" stroke-linejoin=\"round\">\n", p(cx, cy), f(tilt)
    # face
    printf "<circle r=\"14\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", SKIN, OUT, OW
    printf "<path d=\"M-3,12 Q6,14 11,7\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" opacity=\"0.7\"/>\n", SKIN_D
    # ginger fringe under the cap
    printf "<path d=\"M1,-7 Q6,-3 7,-7 Q10,-3 12.5,-6 L12,-10 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", HAIR, OUT
    # leather flying cap over the top and back, ear flap hanging down
    printf "<path d=\"M12.5,-9 A15 15 0 0 0 -14.5,5 L-9,7.5 Q-8,-3 0,-6.5 Q6,-9 12.5,-9 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", CAP, OUT, OW
    printf "<path d=\"M-3,-13.5 Q-10.5,-11 -12,-2\" stroke=\"%s\" stroke-width=\"2.5\" fill=\"none\" stroke-linecap=\"round\"/>\n", CAP_L
    printf "<g transform=\"rotate(%s -4 -3)\">\n", f(FLAP)
    printf "<path d=\"M-8.5,-3 Q-2,-5 -1,1 L-1.5,8 Q-5,11.5 -8.5,8 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", CAP_D, OUT
    printf "<path d=\"M-4.5,9.5 L-4,14\" stroke=\"%s\" stroke-width=\"2\" stroke-linecap=\"round\"/>\n", OUT
    print "</g>"
    # goggles pushed up on the cap
    printf "<path d=\"M-14.5,-4 Q-5,-13 7,-13\" stroke=\"%s\" stroke-width=\"3.5\" fill=\"none\"/>\n", OUT
    printf "<path d=\"M-14.5,-4 Q-5,-13 7,-13\" stroke=\"%s\" stroke-width=\"1.6\" fill=\"none\"/>\n", CAP_D
    printf "<circle cx=\"7.5\" cy=\"-13\" r=\"5.5\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", BRASS, OUT
    printf "<circle cx=\"7.5\" cy=\"-13\" r=\"3\" fill=\"%s\"/>\n", LENS
    printf "<circle cx=\"6.5\" cy=\"-14.3\" r=\"1.1\" fill=\"#ffffff\"/>\n"
    # eye, cheek, nose, mouth
    if (EYES == "closed")
        printf "<path d=\"M5,0 Q7.5,2.5 10,0\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" stroke-linecap=\"round\"/>\n", OUT
    else if (EYES == "happy")
        printf "<path d=\"M5,1.5 Q7.5,-2.5 10,1.5\" stroke=\"%s\" stroke-width=\"2.2\" fill=\"none\" stroke-linecap=\"round\"/>\n", OUT
    else if (EYES == "squint")
        printf "<path d=\"M5,1 L10,0\" stroke=\"%s\" stroke-width=\"2.2\" fill=\"none\" stroke-linecap=\"round\"/>\n", OUT
    else {
        printf "<ellipse cx=\"8\" cy=\"0\" rx=\"2\" ry=\"2.8\" fill=\"%s\"/>\n", OUT
        printf "<circle cx=\"8.6\" cy=\"-1\" r=\"0.8\" fill=\"#ffffff\"/>\n"
    }
    printf "<circle cx=\"5\" cy=\"6\" r=\"3\" fill=\"%s\" opacity=\"0.35\"/>\n", SCARF
    printf "<circle cx=\"14\" cy=\"3\" r=\"2.6\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", SKIN, OUT
    if (MOUTH == "o")
        printf "<ellipse cx=\"10.5\" cy=\"8.5\" rx=\"1.6\" ry=\"2\" fill=\"%s\"/>\n", OUT
    else if (MOUTH == "grin")
        printf "<path d=\"M7,6.5 Q10,13 13.5,6 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"1.5\" stroke-linejoin=\"round\"/>\n", SCARF_D, OUT
    else if (MOUTH == "grit")
        printf "<path d=\"M8,9 L12.5,8\" stroke=\"%s\" stroke-width=\"2\" stroke-linecap=\"round\"/>\n", OUT
    else
        printf "<path d=\"M8,8 Q10.5,10.5 12.5,7.5\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" stroke-linecap=\"round\"/>\n", OUT
    print "</g>"
}

function scarf_wrap() {
    printf "<g transform=\"translate(%s) rotate(%s)\" stroke=\"%s\" stroke-width=\"%s\" stroke-linejoin=\"round\">\n", p(HX, HY), f(LEAN), OUT, f(OW - 0.5)
    printf "<path d=\"M-8,%s Q1,%s 8,%s L7.5,%s Q0,%s -8,%s Z\" fill=\"%s\"/>\n", f(-31 + BREATH), f(-34 + BREATH), f(-32 + BREATH), \
        f(-25 + BREATH), f(-24 + BREATH), f(-26 + BREATH), SCARF
    printf "<circle cx=\"-8\" cy=\"%s\" r=\"3.6\" fill=\"%s\"/>\n", f(-28 + BREATH), SCARF_D
    print "</g>"
}

# The tail normally streams behind the furled wings; when it flies up over
# them (falling) it is drawn in front.
function side_scarf_tail() {
    torso_pt(-8, -28 + BREATH)
    scarf_tail(TX, TY, SCARF_LEN * 0.8, SCARF_DIR + 14, SCARF_AMP, SCARF_PH + 1.3, 5.5, SCARF_D)
    scarf_tail(TX, TY, SCARF_LEN, SCARF_DIR, SCARF_AMP, SCARF_PH, 7, SCARF)
}

function side_view(    low, a, b, hx, hy, kx, tilt) {
    if (GROUND) {
        # Drop the figure so the lower boot stands on the baseline.
        HY = 0
        torso_pt(1.5, -3); leg_pts(TX, TY, N_THIGH, N_KNEE); a = sole_low(AX, AY, N_FOOT)
        torso_pt(-1.5, -3); leg_pts(TX, TY, F_THIGH, F_KNEE); b = sole_low(AX, AY, F_FOOT)
        low = a > b ? a : b
        # the outline stroke reaches 1.5 px below the sole
        HY = 112.5 - low
    }
    HY -= LIFT
    print "<g id=\"courier\">"
    arm("far", F_ARM, F_ELBOW, F_OPEN)
    leg("far", F_THIGH, F_KNEE, F_FOOT)
    if (!SCARF_FRONT) side_scarf_tail()
    printf "<g transform=\"translate(%s) rotate(%s)\">\n", p(HX, HY), f(LEAN)
    folded_wings()
    pack_side()
    print "</g>"
    if (SCARF_FRONT) side_scarf_tail()
    leg("near", N_THIGH, N_KNEE, N_FOOT)
    torso_side()
    torso_pt(2, -44 + BREATH + HEAD_BOB)
    head_side(TX, TY, LEAN * 0.5 + HEAD_TILT)
    scarf_wrap()
    arm("near", N_ARM, N_ELBOW, N_OPEN)
    print "</g>"
}

# ---------------------------------------------------------------- back view
# Flying straight up, seen from behind: the pack in the middle of the back,
# the wings spread from its hinges, the flame from its nozzle between the
# boots. All in the figure frame: origin at the pack centre, y down.

# One wing; side = +1 right, -1 left. Spread s from folded (0) to open (1),
# dip turns it down (degrees), k shortens it (seen edge-on when dipped).
function wing(side, s, dip, k,    i, a, l, x, y, rx, ry, cloth, fa, fl, sa, sl, mx, my) {
    split("12 19 26 33", fa, " "); split("36 33 29 25", fl, " ")
    split("70 90 110 130", sa, " "); split("54 50 41 31", sl, " ")
    rx = side * 9; ry = -10
    for (i = 0; i < 4; i++) {
        a = fa[i + 1] + (sa[i + 1] - fa[i + 1]) * s + dip + FLEX * (i + 1) * 0.6
        l = (fl[i + 1] + (sl[i + 1] - fl[i + 1]) * s) * k
        x[i] = rx + side * l * sin(rad(a)); y[i] = ry - l * cos(rad(a))
    }
    printf "<g stroke-linejoin=\"round\" stroke-linecap=\"round\">\n"
    # cloth: each panel between two ribs, scalloped towards the root, in
    # alternating tones so the fan reads at a distance
    for (i = 0; i < 3; i++) {
        mx = (x[i] + x[i + 1]) / 2 * 0.78 + rx * 0.22
        my = (y[i] + y[i + 1]) / 2 * 0.78 + ry * 0.22
        printf "<path d=\"M%s L%s Q%s %s Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", p(rx, ry), p(x[i], y[i]), \
            p(mx, my), p(x[i + 1], y[i + 1]), (i % 2 ? FABRIC_D : FABRIC), OUT, OW
    }
    # the last panel closes onto the body
    mx = (x[3] + rx + side * 2) / 2 * 0.85 + rx * 0.15
    my = (y[3] + ry + 16) / 2
    printf "<path d=\"M%s L%s Q%s %s Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", p(rx, ry), p(x[3], y[3]), \
        p(mx + side * 3, my + 4), p(rx + side * 1, ry + 16), FABRIC, OUT, OW
    for (i = 1; i < 4; i++)
        printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"1.8\"/>\n", p(rx, ry), p(x[i], y[i]), RIB
    # the leading spar
    printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"5.5\"/>\n", p(rx, ry), p(x[0], y[0]), OUT
    printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"2.6\"/>\n", p(rx, ry), p(x[0], y[0]), RIB
    print "</g>"
}

# A boot seen from behind (heel towards the viewer).
function heel(x, y) {
    printf "<path d=\"M%s Q%s %s L%s Q%s %s Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\" stroke-linejoin=\"round\"/>\n", \
        p(x - 5.5, y - 6), p(x - 6, y + 6), p(x, y + 6.5), p(x, y + 6.5), p(x + 6, y + 6), p(x + 5.5, y - 6), BOOT, OUT, OW
    printf "<path d=\"M%s L%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", p(x - 4.5, y + 3.5), p(x + 4.5, y + 3.5), BOOT_D
}

function back_leg(side, spread, bend,    hx, hy, kx, ky, ax, ay, fore) {
    hx = side * 6; hy = 13
    # a bent knee swings the shin towards or away from the viewer: shorter
    fore = cos(rad(bend))
    kx = hx + side * 17 * sin(rad(spread)); ky = hy + 17 * cos(rad(spread))
    ax = kx + side * 15 * fore * sin(rad(spread * 1.3)); ay = ky + 15 * fore * cos(rad(spread * 1.3))
    limb(p(hx, hy) " L" p(kx, ky) " L" p(ax, ay), 10, side < 0 ? TROUSER : TROUSER_D)
    heel(ax, ay + 2)
}

function back_arm(side, out, elbow,    sx, sy, ex, ey, hx, hy) {
    sx = side * 14; sy = -11
    ex = sx + side * 13 * sin(rad(out)); ey = sy + 13 * cos(rad(out))
    hx = ex + side * 11 * sin(rad(out - elbow)); hy = ey + 11 * cos(rad(out - elbow))
    limb(p(sx, sy) " L" p(ex, ey) " L" p(hx, hy), 8, side < 0 ? JACKET : JACKET_D)
    hx += side * 2.5 * sin(rad(out - elbow)); hy += 2.5 * cos(rad(out - elbow))
    printf "<circle cx=\"%s\" cy=\"%s\" r=\"4.6\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", f(hx), f(hy), SKIN, OUT
}

function flame_shape(y0, len, w, bend, wob, fill, op) {
    printf "<path d=\"M%s C%s %s %s C%s %s %s Z\" fill=\"%s\" opacity=\"%s\"/>\n", p(-w, y0), \
        p(-w * 1.45 + wob, y0 + len * 0.38), p(-w * 0.55 + bend * 0.55, y0 + len * 0.8), p(bend, y0 + len), \
        p(w * 0.55 + bend * 0.55, y0 + len * 0.8), p(w * 1.45 - wob, y0 + len * 0.38), p(w, y0), fill, op
}

function jet_flame(    y0, wob) {
    if (FLAME <= 0) return
    y0 = 17
    wob = 1.5 * sin(FLICK)
    printf "<circle cx=\"0\" cy=\"%s\" r=\"%s\" fill=\"%s\" opacity=\"0.35\"/>\n", f(y0 + 4), f(9 * FLAME_W), FLAME_I
    flame_shape(y0, FLAME, 6 * FLAME_W, FLAME_BEND, wob, FLAME_O, 0.95)
    flame_shape(y0, FLAME * (0.68 + 0.05 * sin(FLICK * 1.5)), 4 * FLAME_W, FLAME_BEND * 0.7, -wob * 0.6, FLAME_I, 1)
    flame_shape(y0, FLAME * 0.32, 2.2 * FLAME_W, FLAME_BEND * 0.3, 0, FLAME_C, 1)
}

function pack_back() {
    printf "<g stroke=\"%s\" stroke-width=\"%d\" stroke-linejoin=\"round\">\n", OUT, OW
    # hinge bar the wings turn on
    printf "<rect x=\"-13\" y=\"-13\" width=\"26\" height=\"6\" rx=\"3\" fill=\"%s\"/>\n", RIB
    printf "<path d=\"M-5,9 L5,9 L7.5,17.5 L-7.5,17.5 Z\" fill=\"%s\"/>\n", BRASS_D
    printf "<rect x=\"-9\" y=\"-15\" width=\"18\" height=\"26\" rx=\"6\" fill=\"%s\"/>\n", BRASS
    printf "<path d=\"M3.5,-12 L3.5,8\" stroke=\"%s\" stroke-width=\"3.5\" stroke-linecap=\"round\"/>\n", BRASS_D
    printf "<path d=\"M-5,-11 L-5,-1\" stroke=\"%s\" stroke-width=\"2.2\" stroke-linecap=\"round\"/>\n", BRASS_L
    printf "<path d=\"M-9,-3 L9,-3\" stroke-width=\"2.5\"/>\n"
    printf "<circle cx=\"-11\" cy=\"-10\" r=\"2.6\" fill=\"%s\" stroke-width=\"2\"/>\n", BRASS
    printf "<circle cx=\"11\" cy=\"-10\" r=\"2.6\" fill=\"%s\" stroke-width=\"2\"/>\n", BRASS
    print "</g>"
}

function torso_back() {
    printf "<path d=\"M-15,-9 Q-16,-16 -9,-17 L9,-17 Q16,-16 15,-9 L12.5,13 Q0,16.5 -12.5,13 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\" stroke-linejoin=\"round\"/>\n", JACKET, OUT, OW
    printf "<path d=\"M9,-15 Q14,-14 13,-8 L11,12 L7,13 Z\" fill=\"%s\"/>\n", JACKET_D
    printf "<path d=\"M-12,9.5 L12,9.5\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", OUT
}

function head_back() {
    printf "<g transform=\"translate(0,-30)\" stroke-linejoin=\"round\">\n"
    printf "<circle r=\"14\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", SKIN, OUT, OW
    # ginger hair at the nape
    printf "<path d=\"M-7,6 Q-4,13 -1,9 Q1,14 4,9 Q6,12 7,6 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", HAIR, OUT
    printf "<path d=\"M-14.5,4 A14.5 14.5 0 0 1 14.5,4 Q0,8.5 -14.5,4 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", CAP, OUT, OW
    printf "<path d=\"M-6,-11 Q-11,-7 -11,0\" stroke=\"%s\" stroke-width=\"2.5\" fill=\"none\" stroke-linecap=\"round\"/>\n", CAP_L
    printf "<path d=\"M-0.5,-14 L-0.5,6\" stroke=\"%s\" stroke-width=\"1.6\" opacity=\"0.7\"/>\n", CAP_D
    # ear flaps, lifted by the rushing air
    printf "<path d=\"M-15,-1 Q-18,8 %s Q-10,12 -10,3 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", p(-15 - FLAP * 0.1, 12), CAP_D, OUT
    printf "<path d=\"M15,-1 Q18,8 %s Q10,12 10,3 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", p(15 + FLAP * 0.1, 12), CAP_D, OUT
    # goggle strap round the back with its buckle
    printf "<path d=\"M-14.5,-3 Q0,1 14.5,-3\" stroke=\"%s\" stroke-width=\"4.5\" fill=\"none\"/>\n", OUT
    printf "<path d=\"M-14.5,-3 Q0,1 14.5,-3\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\"/>\n", CAP_D
    printf "<rect x=\"-3\" y=\"-3.5\" width=\"6\" height=\"5\" rx=\"1\" fill=\"%s\" stroke=\"%s\" stroke-width=\"1.5\"/>\n", BRASS, OUT
    print "</g>"
}

function scarf_back() {
    printf "<path d=\"M-9,-19.5 Q0,-21.5 9,-19.5 L9,-14 Q0,-12 -9,-14 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%s\" stroke-linejoin=\"round\"/>\n", SCARF, OUT, f(OW - 0.5)
    # knotted at the side of the neck so the tails stream clear of the pack
    scarf_tail(7, -16, SCARF_LEN * 0.8, SCARF_DIR - 14, SCARF_AMP, SCARF_PH + 1.3, 5.5, SCARF_D)
    scarf_tail(7, -16, SCARF_LEN, SCARF_DIR, SCARF_AMP, SCARF_PH, 7, SCARF)
    printf "<circle cx=\"7\" cy=\"-16.5\" r=\"3.6\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", SCARF_D, OUT
}

# Pale streaks of rushing air along the sides, sliding down with SPEED_PH.
function speed_lines(    i, x, y, l, span) {
    if (SPEED_LINES <= 0) return
    split("-40 -27 30 44 -50 52", xs, " "); split("0 0.45 0.2 0.7 0.85 0.35", ys, " ")
    span = 150
    for (i = 1; i <= 6; i++) {
        y = (ys[i] + SPEED_PH) % 1 * span - 40
        l = 18 + 10 * (i % 3)
        printf "<path d=\"M%s L%s\" stroke=\"#ffffff\" stroke-width=\"%s\" stroke-linecap=\"round\" opacity=\"%s\"/>\n", \
            p(xs[i], y), p(xs[i], y + l * SPEED_LINES), f(2.5 + (i % 2)), f(0.75 * SPEED_LINES)
    }
}

# Smoke of the lift-off billowing out round the nozzle: one cloud, so the
# outline pass goes under the fill pass.
function launch_puffs(    i, pass, x, y, r) {
    if (PUFF <= 0) return
    split("-15 -6 4 14 -24 24", px, " "); split("56 62 61 56 50 50", py, " "); split("9 11 10 9 6 6", pr, " ")
    for (pass = 0; pass < 2; pass++)
        for (i = 1; i <= 6; i++) {
            x = px[i] * (0.7 + 0.5 * PUFF); y = py[i] + 4 * PUFF; r = pr[i] * (0.6 + 0.6 * PUFF)
            if (pass == 0)
                printf "<circle cx=\"%s\" cy=\"%s\" r=\"%s\" fill=\"%s\"/>\n", f(x), f(y), f(r + 2.5), OUT
            else
                printf "<circle cx=\"%s\" cy=\"%s\" r=\"%s\" fill=\"%s\"/>\n", f(x), f(y), f(r), (i % 2 ? "#ffffff" : "#e8f0f4")
        }
}

function launch_flash(    i, a, r, pts) {
    if (FLASH <= 0) return
    pts = ""
    for (i = 0; i < 16; i++) {
        a = rad(i * 22.5)
        r = (i % 2 ? 10 : 24) * FLASH
        pts = pts (i ? " L" : "M") p(sin(a) * r, 22 + cos(a) * r)
    }
    printf "<path d=\"%s Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\" stroke-linejoin=\"round\"/>\n", pts, FLAME_I, FLAME_O
}

function back_view() {
    # air streaks run along the flight path, so they do not roll
    printf "<g transform=\"translate(%s)\">\n", p(BX, BY)
    speed_lines()
    print "</g>"
    printf "<g id=\"courier\" transform=\"translate(%s) rotate(%s)\">\n", p(BX, BY), f(ROLL)
    launch_puffs()
    printf "<g transform=\"rotate(%s 0 13)\">\n", f(BEND)
    back_leg(-1, LEG_SPREAD + KICK, TUCK + (KICK > 0 ? KICK * 3 : 0))
    back_leg(1, LEG_SPREAD - KICK, TUCK + (KICK < 0 ? -KICK * 3 : 0))
    print "</g>"
    back_arm(-1, 14 + ARM_OUT, 12)
    back_arm(1, 14 + ARM_OUT, 12)
    torso_back()
    wing(-1, WL_S, WL_DIP, WL_K)
    wing(1, WR_S, WR_DIP, WR_K)
    launch_flash()
    jet_flame()
    pack_back()
    head_back()
    scarf_back()
    print "</g>"
}

# ---------------------------------------------------------------- front face
# The courier's head seen from the front, for badges: centre at the origin,
# the same size as the side view's head.
function head_front() {
    printf "<g stroke-linejoin=\"round\">\n"
    # ear flaps behind the face
    printf "<path d=\"M-16,-2 Q-19,9 -15,15 Q-10,16 -10,6 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", CAP_D, OUT
    printf "<path d=\"M16,-2 Q19,9 15,15 Q10,16 10,6 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", CAP_D, OUT
    printf "<circle r=\"14\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", SKIN, OUT, OW
    printf "<path d=\"M-8,-6 Q-4,-2 -2,-6 Q1,-1 4,-6 Q7,-2 9,-6 L8,-10 L-8,-10 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2\"/>\n", HAIR, OUT
    printf "<path d=\"M-15,-1 A15.5 15.5 0 0 1 15,-1 Q0,-9 -15,-1 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"%d\"/>\n", CAP, OUT, OW
    printf "<path d=\"M-9,-11 Q-12,-7 -13,-3\" stroke=\"%s\" stroke-width=\"2.5\" fill=\"none\" stroke-linecap=\"round\"/>\n", CAP_L
    # goggles up on the cap
    printf "<path d=\"M-15,-6 Q0,-13 15,-6\" stroke=\"%s\" stroke-width=\"3.5\" fill=\"none\"/>\n", OUT
    printf "<circle cx=\"-6\" cy=\"-10\" r=\"5\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", BRASS, OUT
    printf "<circle cx=\"6\" cy=\"-10\" r=\"5\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", BRASS, OUT
    printf "<circle cx=\"-6\" cy=\"-10\" r=\"2.7\" fill=\"%s\"/><circle cx=\"6\" cy=\"-10\" r=\"2.7\" fill=\"%s\"/>\n", LENS, LENS
    printf "<circle cx=\"-7\" cy=\"-11\" r=\"1\" fill=\"#ffffff\"/><circle cx=\"5\" cy=\"-11\" r=\"1\" fill=\"#ffffff\"/>\n"
    # face
    printf "<ellipse cx=\"-5\" cy=\"1\" rx=\"1.9\" ry=\"2.6\" fill=\"%s\"/><ellipse cx=\"5\" cy=\"1\" rx=\"1.9\" ry=\"2.6\" fill=\"%s\"/>\n", OUT, OUT
    printf "<circle cx=\"-4.4\" cy=\"0\" r=\"0.8\" fill=\"#ffffff\"/><circle cx=\"5.6\" cy=\"0\" r=\"0.8\" fill=\"#ffffff\"/>\n"
    printf "<circle cx=\"-8.5\" cy=\"5.5\" r=\"2.8\" fill=\"%s\" opacity=\"0.35\"/><circle cx=\"8.5\" cy=\"5.5\" r=\"2.8\" fill=\"%s\" opacity=\"0.35\"/>\n", SCARF, SCARF
    printf "<path d=\"M-3.5,7 Q0,10.5 3.5,7\" stroke=\"%s\" stroke-width=\"2\" fill=\"none\" stroke-linecap=\"round\"/>\n", OUT
    # the scarf at the chin
    printf "<path d=\"M-11,11 Q0,17 11,11 L10,17 Q0,21 -10,17 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"2.5\"/>\n", SCARF, OUT
    print "</g>"
}
