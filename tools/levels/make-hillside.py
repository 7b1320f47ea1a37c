#!/usr/bin/env python3
"""Writes Resources/Levels/Hillside.zorvel, the first playable level.

The level was laid out here rather than by hand so its geometry (ground,
slopes, the wall-jump shaft, platforms, the updraft) can be moved as a
whole while the feel is tuned. Once the editor exists, edit the level file
there and stop re-running this script, or it will overwrite the edits.

    python3 tools/levels/make-hillside.py
"""
import os

from levelkit import num, Obj, box

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "Resources", "Levels", "Hillside.zorvel")
PLAYER = os.path.join(ROOT, "Resources", "Objects", "Player.zorvel")


objects = []


def solid(x0, y0, x1, y1, anim=None, zorder=0):
    cx, cy, sets = box(x0, y0, x1, y1)
    o = Obj(cx, cy, x1 - x0, y1 - y0).body(sets)
    if anim:
        o.sprite(anim, zorder=zorder)
    objects.append(o)
    return o


def scenery(x, y, w, h, anim, zpos=0, zorder=-10, rate=0, opacity=1, additive=False,
            shader=0, xscale=1):
    objects.append(Obj(x, y, w, h, xscale=xscale).sprite(
        anim, zpos=zpos, zorder=zorder, rate=rate, opacity=opacity, additive=additive,
        shader=shader))


# --- far scenery: clouds and the town behind the hill -----------------------
for i, (x, y, w) in enumerate([(-700, 700, 560), (400, 900, 420), (1500, 760, 600),
                               (2600, 1100, 480), (3600, 820, 560), (4700, 1250, 620),
                               (5800, 950, 500), (6600, 1500, 600), (2000, 1600, 520),
                               (4300, 1900, 560)]):
    scenery(x, y, w, w * 0.47, "Cloud", zpos=-30 - 10 * (i % 3), zorder=-50)
# The far houses stand on a meadow that runs the whole level at their
# depth, so they stay grounded whatever the camera's height and zoom.
FAR = -20
for x in range(-2200, 8200, 600):
    scenery(x, -280, 600, 600, "FarMeadow", zpos=FAR, zorder=-31)
scenery(-650, 180, 420, 360, "House", zpos=FAR, zorder=-30)
scenery(2650, 165, 380, 330, "House", zpos=FAR, zorder=-30)
# Lampposts and pinwheels stand on the ground, so they are drawn at its
# depth: behind it, the camera's climb would lift them off the grass.
# The first one stands clear of where the far house shows at the start.
for x in (-80, 2400, 4900):
    scenery(x, 80, 48, 160, "Lamppost", zorder=-20)
    scenery(x, 150, 40, 48, "Flame", zorder=-19, rate=10, additive=True)
# Their feet on the meadow, the plateau and the chimney's top platform.
for x, y in ((250, 55), (1700, 255), (3900, 1055)):
    scenery(x, y, 64, 110, "Pinwheel", zorder=-20, rate=12, shader=2)
for x, y in ((-100, 420), (-40, 460), (1200, 640), (4600, 1000)):
    scenery(x, y, 30, 30, "BirdFlap", zorder=-5, rate=8, shader=1)

# --- signs: each shows its hint while the player stands near it -------------
# A hint is read in passing, so it is short and stands where players slow
# down or must go by: at the start, inside the chimney (where the climb
# begins) and at both ways to the updraft (the ground and the platforms).
def sign(x, y, hint):
    objects.append(Obj(x, y, 96, 96).sprite("Sign", zorder=-5).component(
        "TextTrigger", [("Text", hint), ("TriggerRadius", 200)]))


SIGNS = [(150, 48), (3225, 48), (5150, 48), (5090, 608)]
sign(*SIGNS[0], "Welcome to Hillside! A and D walk, Shift runs, Space jumps: hold it "
     "to jump higher.")
sign(*SIGNS[1], "Climb with wall jumps: slide down one wall, jump off it.")
UPDRAFT_HINT = "Step into the updraft: the wind lifts you. Drift right onto the platform."
sign(*SIGNS[2], UPDRAFT_HINT)
sign(*SIGNS[3], UPDRAFT_HINT)


def mood(x0, y0, x1, y1, fields):
    """A ghost area that changes the look of the screen while the player is in it."""
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    pts = [(-hw, -hh), (hw, -hh), (hw, hh), (-hw, hh)]
    objects.append(Obj(cx, cy).body([(pts, [False] * 4)], ghost=True, floor=False)
                   .component("PostProcessTrigger", fields))

# Around the houses at the start the light is warm and soft. The warmth
# lifts the shadows towards red and yellow and leaves the whites alone, and
# the glow is faint: taking blue out of the whites, or a strong glow over
# the bright sky, turns the sky mint rather than the scene warm.
mood(-1200, 0, 450, 900, [("TransitionTime", 1), ("Bloom Factor", 1.05),
                          ("Black Out (Red)", 0.07), ("Black Out (Green)", 0.035)])

# --- ground -----------------------------------------------------------------
LEFT, RIGHT = -1300, 7100
cx, cy, sets = box(LEFT, -600, RIGHT, 0)
objects.append(Obj(cx, cy, 1, 1).body(sets))
for x in range(LEFT, RIGHT, 400):
    scenery(x + 200, -100, 400, 200, "Ground", zorder=5)
    scenery(x + 200, -400, 400, 400, "GroundFill", zorder=4)

# Boundary walls: tall enough that only flight gets near their tops.
solid(LEFT - 100, 0, LEFT + 100, 2600, "Wall")
solid(RIGHT - 100, 0, RIGHT + 100, 2600, "Wall")

def hill_picture():
    """The slopes and the plateau in one picture at one pixel a unit, so its
    stones keep their shape; it reaches 70 below ground level to cover the
    grass of the ground tiles the hill stands on, and 60 past each foot."""
    scenery(1450, 65, 1820, 270, "Hill", zorder=6)


# --- a gentle slope up (14 degrees), a plateau, a steep slope down (34) ----
# Triangle corners counter-clockwise; edge j runs from vertex j-1 to j.
up = [(600, 0), (1400, 0), (1400, 200)]  # edge 0 (vertex 2 -> 0) is the slope
o = Obj(1000, 100, 800, 200).body([([(px - 1000, py - 100) for px, py in up],
                                    [True, False, False])])
objects.append(o)
solid(1400, 0, 2000, 200)
down = [(2000, 0), (2300, 0), (2000, 200)]  # edge 2 (vertex 1 -> 2) is the slope
o = Obj(2150, 100, 300, 200, xscale=-1).body([([(px - 2150, py - 100) for px, py in down],
                                               [False, False, True])])
objects.append(o)
hill_picture()

# --- the wall-jump shaft: walk in under the left wall, climb between -------
solid(3000, 190, 3100, 800, "Wall", zorder=6)
solid(3350, 0, 3450, 1000, "Wall", zorder=6)
solid(3450, 960, 3950, 1000, "Platform", zorder=6)
# Inside the chimney the light turns cool and dim.
mood(3100, 0, 3350, 960, [("TransitionTime", 0.8), ("Bloom Factor", 1),
                          ("Black Out (Red)", 0.02), ("Black Out (Green)", 0.03),
                          ("Black Out (Blue)", 0.08), ("White Out (Red)", 0.6),
                          ("White Out (Green)", 0.68), ("White Out (Blue)", 0.88)])

# --- floating platforms stepping down, and one only flight reaches ---------
for x0, y in ((4050, 850), (4450, 700), (4850, 560)):
    solid(x0, y - 40, x0 + 300, y, "Platform", zorder=6)
solid(4200, 1460, 4500, 1500, "Platform", zorder=6)

# --- the updraft: two stacked force areas lift whoever walks into them -----
UPDRAFT_X = 5500
for y in (260, 760):
    objects.append(Obj(UPDRAFT_X, y).body([], ghost=True, floor=False, area={
        "dx": 0, "dy": 1, "force": 900, "radius": 300}))
scenery(UPDRAFT_X, 560, 420, 1120, "Updraft", zorder=8, rate=12, opacity=0.7, additive=True)
# Riding it, the light glows and the air shimmers.
mood(UPDRAFT_X - 210, 0, UPDRAFT_X + 210, 1120,
     [("TransitionTime", 0.6), ("Bloom Factor", 1.4), ("Distortion", "true")])
# Beside the column, just below where the lift gives out: drift right onto it.
solid(5720, 1110, 6020, 1150, "Platform", zorder=6)

# --- room to fly: high platforms towards the right -------------------------
for x0, y in ((5950, 1750), (6500, 2150), (5200, 2300)):
    solid(x0, y - 40, x0 + 320, y, "Platform", zorder=6)

# --- the way on: past the updraft's platform, a ledge with the gate to the
# town. From the platform beside the column one drops onto it; from the
# ground it is out of reach, so the gate comes after the updraft. ---------
EXIT_LEDGE = (6040, 7000, 700)
solid(EXIT_LEDGE[0], EXIT_LEDGE[2] - 40, EXIT_LEDGE[1], EXIT_LEDGE[2], "Platform", zorder=6)
GATE_X = 6800
objects.append(Obj(GATE_X, EXIT_LEDGE[2] + 130, 200, 260).sprite("Gate", zorder=-6)
               .body([([(-60, -100), (60, -100), (60, 100), (-60, 100)], [False] * 4)],
                     ghost=True, floor=False)
               .component("LevelExit", []))
sign(6420, EXIT_LEDGE[2] + 48, "The gate to Cloudmere, the town below the hill: walk "
     "through it to go on.")


# --- birds: perches in reach of each other (under 500 units), so a bird
# taking fright sets off the ones around it --------------------------------
# A perch is where a sitting bird's centre goes: 14 units above what it
# stands on (the bird is 28 units tall, its feet at the bottom).
def perch(x, top):
    objects.append(Obj(x, top + 14).component("BirdPerch", []))


for x, top in ((-650, 315), (-548, 322), (-80, 158), (150, 96),       # first houses
               (2400, 158), (2650, 289), (2742, 295),                 # before the chimney
               (3050, 800), (3400, 1000),                             # the chimney's tops
               (4200, 850), (4600, 700), (5000, 560), (4900, 158)):   # the stepping platforms
    perch(x, top)
for x, y in SIGNS[1:]:  # each sign's top
    perch(x, y + 48)
# The birds start on the wing and settle after a few seconds; the colour of
# each is picked when the level starts.
for x, y in ((-900, 520), (-300, 640), (300, 560), (700, 700),
             (2200, 600), (2600, 760), (2900, 560), (3300, 1300),
             (4100, 1200), (4500, 1000), (5100, 900), (5400, 1100)):
    objects.append(Obj(x, y, 28, 28).sprite("BlackBird", zorder=1, rate=6)
                   .component("BirdComponent", []))

# --- the map view looks at the whole level from here ------------------------
objects.append(Obj(2900, 1100).camera("MapOverview"))

# --- the raven, the flight meter and the mouse pointer ------------------------
# The raven starts where it idles, above and right of the player; the meter
# and the pointer place themselves on the screen every frame.
objects.append(Obj(100, 152, 60, 60).sprite("Raven", zorder=11, rate=8)
               .component("Raven", []))
objects.append(Obj(0, 0, 120, 120).sprite("FlurrMeter", zpos=1, zorder=5, shader=2)
               .component("FlurrMeter", []))
objects.append(Obj(0, 0, 32, 32).sprite("MouseCursor", zpos=3)
               .component("MouseCursor", [("Rotate", 0)]))

# --- the drifting clouds: the machine's default area and density fit the
# hillside (about twenty clouds behind the whole level) ----------------------
objects.append(Obj(0, 0).component("CloudMachineComponent", [("CloudDensity", "1e-07")]))

# --- the player, from its archetype ------------------------------------------
with open(PLAYER) as f:
    body = [line.rstrip("\n") for line in f]
assert body[0] == "Root" and body[-1] == "-Root"
player = ["  GameObject"] + ["  " + line for line in body[1:-1]] + ["  -GameObject"]

with open(OUT, "w") as f:
    f.write("Root\n  Background:Resources/Images/Backgrounds/Sky.png\n")
    for o in objects:
        f.write(o.text() + "\n")
    f.write("\n".join(player) + "\n")
    f.write("-Root\n")
print(OUT)
