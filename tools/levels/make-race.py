#!/usr/bin/env python3
"""Writes Resources/Levels/Race.zorvel, the delivery race over the town's roofs.

The race is the finale: two minutes to reach as many marked drop points as
possible, one at a time, each worth the distance flown to it. The roofs
stand on terraces of different heights with wide gaps between them, so a
walker who drops to the street is stuck there and the points are won by
flying and dashing; the player has both from the start. The houses and
their roofs are the town's own pictures.

    python3 tools/levels/make-race.py
"""
import os

from levelkit import num, Obj, rect, box

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "Resources", "Levels", "Race.zorvel")
PLAYER = os.path.join(ROOT, "Resources", "Objects", "Player.zorvel")


objects = []


def solid(x0, y0, x1, y1, anim=None, zorder=0):
    """A static box in world corners; only its top edge is a floor."""
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    o = Obj(cx, cy, x1 - x0, y1 - y0).body([(rect(hw, hh), [False, False, False, True])])
    if anim:
        o.sprite(anim, zorder=zorder)
    objects.append(o)
    return o


def scenery(x, y, w, h, anim, zpos=0, zorder=-10, rate=0, opacity=1, additive=False,
            shader=0):
    o = Obj(x, y, w, h).sprite(anim, zpos=zpos, zorder=zorder, rate=rate, opacity=opacity,
                               additive=additive, shader=shader)
    objects.append(o)
    return o


BOTTOM = -600        # the ground reaches down to here
LEFT, RIGHT = -900, 7400
SKY = 6000           # the end walls: no flying round them


def earth(x0, x1, top):
    """A street strip on top, the hill's fill below it down to the bottom."""
    x = x0
    while x < x1 - 1:
        w = min(400, x1 - x)
        scenery(x + w / 2, top - 100, w, 200, "Ground", zorder=5)
        x += w
    x = x0
    while x < x1 - 1:
        w = min(800, x1 - x)
        y = top - 200
        while y > BOTTOM + 1:
            h = min(800, y - BOTTOM)
            scenery(x + w / 2, y - h / 2, w, h, "GroundFill", zorder=4)
            y -= h
        x += w


# --- the street, the end walls ------------------------------------------------
solid(LEFT, BOTTOM, RIGHT, 0)
earth(LEFT, RIGHT, 0)
solid(LEFT - 200, BOTTOM, LEFT, SKY)
solid(RIGHT, BOTTOM, RIGHT + 200, SKY)
for x in (LEFT - 100, RIGHT + 100):
    for y in range(-200, 3000, 800):
        scenery(x, y, 200, 800, "AlleyWall", zorder=7)

# --- the houses: (left, right, terrace top, picture, house height) ------------
# Each stands on a terrace of its own; the roofs differ by 300 to 900 units
# and stand 400 apart, far more than a jump (about 200) takes.
HOUSES = [(-400, 300, 0, "TownHouseLow", 330),        # the start
          (700, 1150, 450, "TownHouseSlate", 420),
          (1550, 1900, 150, "TownHouseNarrow", 400),
          (2300, 2800, 800, "TownHouseWide", 500),
          (3200, 3650, 300, "Bakery", 420),
          (4050, 4450, 900, "TownHouseSlate", 420),
          (4850, 5250, 100, "TownHouseLow", 330),
          (5650, 6050, 1100, "TownHouseNarrow", 450),
          (6450, 6900, 400, "TownHouseWide", 430)]
ROOFS = []
for x0, x1, terrace, picture, height in HOUSES:
    if terrace > 0:
        solid(x0 - 40, BOTTOM, x1 + 40, terrace)
        earth(x0 - 40, x1 + 40, terrace)
    top = terrace + height
    # The picture stands on the terrace; the roof one runs across is solid.
    scenery((x0 + x1) / 2, terrace + (height - 20) / 2, x1 - x0, height - 20, picture)
    solid(x0, top - 40, x1, top, "RoofLedge", zorder=6)
    ROOFS.append(((x0 + x1) / 2, top))

# --- the drop points: on every roof but the start, and two in the open air ----
def drop_point(x, y):
    objects.append(Obj(x, y, 90, 90).sprite("DropPoint", zorder=-4)
                   .body([(rect(60, 60), [False] * 4)], ghost=True, floor=False)
                   .component("DeliveryNode", []))


for x, top in ROOFS[1:]:
    drop_point(x, top + 70)
drop_point(2050, 1500)
drop_point(5450, 2000)

# --- the first hint, beside the start -----------------------------------------
START = ROOFS[0]
objects.append(Obj(START[0] - 150, START[1] + 48, 96, 96).sprite("Sign", zorder=-5).component(
    "TextTrigger", [("Text", "The delivery race! Fly to each marked roof before time runs "
                             "out. Left mouse flies, right mouse dashes."),
                    ("TriggerRadius", 200)]))

# --- far scenery --------------------------------------------------------------
FAR = -20
for x in range(LEFT - 1200, RIGHT + 1200, 1000):
    for depth in (0, 1100):
        scenery(x, -250 - depth, 1200, 1200, "FarMeadow", zpos=FAR, zorder=-31)
for i, x in enumerate(range(LEFT, RIGHT, 1300)):
    scenery(x, 250 + 60 * (i % 3), 420, 360, "House", zpos=FAR, zorder=-30)
for i, x in enumerate(range(LEFT, RIGHT, 900)):
    w = 380 + 60 * (i % 5)
    scenery(x, 1600 + 350 * (i % 4), w, w * 0.47, "Cloud", zpos=-30 - 10 * (i % 3), zorder=-50)

# --- the map view, the raven, the flight meter and the mouse pointer ----------
objects.append(Obj(3250, 900).camera("MapOverview"))
objects.append(Obj(START[0] + 100, START[1] + 152, 60, 60).sprite("Raven", zorder=11, rate=8)
               .component("Raven", []))
objects.append(Obj(0, 0, 120, 120).sprite("FlurrMeter", zpos=1, zorder=5, shader=2)
               .component("FlurrMeter", []))
objects.append(Obj(0, 0, 32, 32).sprite("MouseCursor", zpos=3)
               .component("MouseCursor", [("Rotate", 0)]))
objects.append(Obj(0, 0).component("CloudMachineComponent", [
    ("CloudDensity", "1e-07"), ("AreaLeft", LEFT - 3000), ("AreaRight", RIGHT + 3000),
    ("AreaBottom", BOTTOM), ("AreaTop", 5000)]))

# --- flight and the dash from the start ---------------------------------------
objects.append(Obj(0, 0).component("AbilityGrant", [("Flight", "true"), ("Dash", "true")]))

# --- the player, from its archetype, on the first roof ------------------------
with open(PLAYER) as f:
    body = [line.rstrip("\n") for line in f]
assert body[0] == "Root" and body[-1] == "-Root"
assert body[1] == "  X:0" and body[2] == "  Y:52"
body[1] = "  X:%s" % num(START[0])
body[2] = "  Y:%s" % num(START[1] + 52)
player = ["  GameObject"] + ["  " + line for line in body[1:-1]] + ["  -GameObject"]

with open(OUT, "w") as f:
    f.write("Root\n  Background:Resources/Images/Backgrounds/Sky.png\n")
    for o in objects:
        f.write(o.text() + "\n")
    f.write("\n".join(player) + "\n")
    f.write("-Root\n")
print(OUT)
