#!/usr/bin/env python3
"""Writes Resources/Levels/Town.zorvel and Resources/Banks/JobBank.zorvel.

Cloudmere is a town on a hillside that steps down eastwards to a harbour.
The level and the jobs its townsfolk hand out are laid out together here,
because every checkpoint, region and crate in the level belongs to a node of
a job: generating both from one script keeps their ids and job names in step,
and the check at the end refuses to write anything that does not match.

    python3 tools/levels/make-town.py

Once the editor exists, edit the level file there and stop re-running this
script, or it will overwrite the edits.

World y grows upwards. The player is 100 units tall, walks up slopes of up to
34 degrees, jumps about 200 units (240 with Shift) and wall-jumps between
walls 150-250 units apart.
"""
import math
import os
import sys

from levelkit import num, Obj as KitObj, rect

# Every picture the town uses, by what it shows. Most are stand-ins from the
# first level until the town's own pieces are drawn: change the names here
# and re-run the script.
ART = {
    # the ground
    "street": "Ground",            # top strip of every street and terrace
    "earth": "GroundFill",         # the hill below the streets
    "slope": "Slope",              # a street running down to the next terrace
    "stair_step": "Platform",      # one step of the Long Stair and the Harbour Steps
    "quay": "Ground",              # the harbour's stone quay
    # buildings and their solid parts
    "house_wide": "TownHouseLow",
    "house_tall": "TownHouseSlate",
    "bakery": "Bakery",
    "observatory": "TownHouseNarrow",
    "market_stall": "MarketStall",
    "gypsy_tent": "MarketStall",
    "forge": "TownHouseSlate",
    "foundry": "TownHouseLow",
    "cold_store": "TownHouseLow",
    "timber_shed": "TownHouseWide",
    "warehouse": "TownHouseSlate",
    "ship": "Dock",
    "far_house": "House",          # houses on the far hills behind the town
    "roof": "RoofLedge",            # a roof one can run across
    "ledge": "RoofLedge",           # balconies, decks, the office ledge
    "alley_wall": "AlleyWall",          # the walls of an alley one wall-jumps up
    "boundary_wall": "AlleyWall",       # the town's two end walls
    "fence": "Wall",               # the pen's fence, the foundry's hearth
    "post": "Wall",                # posts under ledges (scenery)
    "crane": "AlleyWall",
    # objects of the jobs
    "crate": "Crate",           # a pushable crate
    "checkpoint": "Checkpoint",     # a place to touch
    "horseshoe": "CheckpointRing",
    "weather_vane": "CheckpointRing",
    "cat": "Kitty",
    # life
    "sign": "Sign",
    "lamppost": "Lamppost",
    "flame": "Flame",
    "cloud": "Cloud",
    "pinwheel": "Pinwheel",
    "bird": "BirdFlap",
    "far_meadow": "FarMeadow",
}

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "Resources", "Levels", "Town.zorvel")
BANK = os.path.join(ROOT, "Resources", "Banks", "JobBank.zorvel")
PLAYER = os.path.join(ROOT, "Resources", "Objects", "Player.zorvel")


class Obj(KitObj):
    # The town's pictures are scaled to sizes between whole units: round.
    SIZE = staticmethod(lambda v: int(round(v)))


objects = []


def solid(x0, y0, x1, y1, anim=None, zorder=0, floor_top=True):
    """A static box in world corners; only its top edge is a floor."""
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    o = Obj(cx, cy, x1 - x0, y1 - y0).body([(rect(hw, hh), [False, False, False, floor_top])])
    if anim:
        o.sprite(anim, zorder=zorder)
    objects.append(o)
    return o


def scenery(x, y, w, h, anim, zpos=0, zorder=-10, rate=0, opacity=1, additive=False,
            shader=0, xscale=1):
    o = Obj(x, y, w, h, xscale=xscale).sprite(anim, zpos=zpos, zorder=zorder, rate=rate,
                                              opacity=opacity, additive=additive, shader=shader)
    objects.append(o)
    return o


def standing(x, ground, w, h, anim, zpos=0, zorder=-10, **kw):
    """A picture whose bottom edge stands on the ground at `ground`."""
    return scenery(x, ground + h / 2, w, h, anim, zpos=zpos, zorder=zorder, **kw)


# ---------------------------------------------------------------------------
# The hill: terraces, the slopes between them and two flights of steps
# ---------------------------------------------------------------------------
WEST, EAST = -300, 22300     # inner faces of the two end walls
BOTTOM = -11000              # every ground mass reaches down to here, below the map view
SKY = 100000                 # the end walls reach up to here: no flying round them

# Street levels (the tops of the ground), west to east.
HILLTOP = 0            # Hilltop Street: the bakery, the observatory, the start
MARKET = -600          # Market Square: the Trader, the rooftops, the Gypsy's tent
SMITHY = -1200         # Smithy Row: the forge and the foundry
OVERLOOK = -1800       # the Overlook, at the head of the Long Stair
SITE = -3198           # the empty lot where the balloon business will open
YARD = -3800           # Tobrin's Timber Yard
FISH = -4400           # Fish Street: the butcher and the cold store
QUAY = -6300           # the harbour

# (x0, x1, top) of each flat, and (x0, x1, top at x0, top at x1) of each slope.
FLATS = [(WEST, 2800, HILLTOP), (3700, 6600, MARKET), (7500, 10000, SMITHY),
         (10900, 11300, OVERLOOK), (12200, 14600, SITE), (15500, 17100, YARD),
         (18000, 18900, FISH), (20300, EAST, QUAY)]
SLOPES = [(2800, 3700, HILLTOP, MARKET), (6600, 7500, MARKET, SMITHY),
          (10000, 10900, SMITHY, OVERLOOK), (14600, 15500, SITE, YARD),
          (17100, 18000, YARD, FISH)]
# Steps too steep for a slope: (x0, x1, top at x0, top at x1, count).
STAIRS = [(11300, 12200, OVERLOOK, SITE, 10),      # the Long Stair
          (18900, 20300, FISH, QUAY, 15)]          # the Harbour Steps


def ground_at(x):
    """The street level under x (the top of the ground), for placing things."""
    for x0, x1, top in FLATS:
        if x0 <= x <= x1:
            return top
    for x0, x1, t0, t1 in SLOPES:
        if x0 <= x <= x1:
            return t0 + (t1 - t0) * (x - x0) / (x1 - x0)
    for x0, x1, t0, t1, n in STAIRS:
        if x0 <= x <= x1:
            k = min(int((x - x0) / ((x1 - x0) / n)), n - 1)
            return t0 + (t1 - t0) * (k + 1) / n
    raise ValueError("no ground at x=%g" % x)


def earth(x0, x1, top, strip=True):
    """Fill under a street: the top strip, then the hill down to the bottom."""
    if strip:
        x = x0
        while x < x1 - 1:
            w = min(400, x1 - x)
            scenery(x + w / 2, top - 100, w, 200, ART["street"], zorder=5)
            x += w
    x = x0
    while x < x1 - 1:
        w = min(800, x1 - x)
        y = top - (200 if strip else 0)
        while y > BOTTOM + 1:
            h = min(800, y - BOTTOM)
            scenery(x + w / 2, y - h / 2, w, h, ART["earth"], zorder=4)
            y -= h
        x += w


# A stair's last step is level with the street at its foot. Two boxes
# meeting flush there catch a walker coming down the steps, who then stands
# stuck against the seam; so the street's ground reaches under the last
# step instead, and the stair below it is one box less.
STAIR_FOOT = {x1: x1 - (x1 - x0) / n for x0, x1, hi, lo, n in STAIRS}
for x0, x1, top in FLATS:
    solid(STAIR_FOOT.get(x0, x0), BOTTOM, x1, top)
    earth(x0, x1, top)

for x0, x1, hi, lo in SLOPES:
    # The lower terrace's ground runs on under the slope ...
    solid(x0, BOTTOM, x1, lo)
    earth(x0, x1, lo, strip=False)
    # ... and the slope is a triangle on it: corners counter-clockwise, so
    # edge 2 (vertex 1 -> 2) is the slope.
    cx, cy = (x0 + x1) / 2, (hi + lo) / 2
    tri = [(x0, lo), (x1, lo), (x0, hi)]
    objects.append(Obj(cx, cy, x1 - x0, hi - lo, xscale=-1).body(
        [([(px - cx, py - cy) for px, py in tri], [False, False, True])]).sprite(
        ART["slope"], zorder=6))

for x0, x1, hi, lo, n in STAIRS:
    # The mass of the stair is drawn as one slope through the steps' inner
    # corners, each step a block standing out of it.
    run, rise = (x1 - x0) / n, (hi - lo) / n
    cx, cy = (x0 + x1) / 2, (hi + lo) / 2 - rise
    scenery(cx, cy, x1 - x0, hi - lo, ART["slope"], zorder=5, xscale=-1)
    earth(x0, x1, lo - rise, strip=False)
    for k in range(n):
        sx0, sx1 = x0 + k * run, x0 + (k + 1) * run
        top = hi - (k + 1) * rise
        if k < n - 1:
            solid(sx0, BOTTOM, sx1, top)
        scenery((sx0 + sx1) / 2, top - rise / 2, sx1 - sx0, rise, ART["stair_step"], zorder=6)


# The town's end walls, tall enough that no one flies round them.
solid(WEST - 200, BOTTOM, WEST, SKY)
solid(EAST, BOTTOM, EAST + 200, SKY)
for x in (WEST - 100, EAST + 100):
    for y in range(-6800, 1600, 800):
        scenery(x, y, 200, 800, ART["boundary_wall"], zorder=7)


def alley(x_left, x_right, ground, top_left, top_right, thickness=60, gap=190):
    """Two walls, `x_right - x_left` apart inside, to wall-jump up between.

    Both hang `gap` above the street so people and crates pass under them;
    their tops are floors to stand on.
    """
    solid(x_left - thickness, ground + gap, x_left, top_left, ART["alley_wall"], zorder=6)
    solid(x_right, ground + gap, x_right + thickness, top_right, ART["alley_wall"], zorder=6)


def fence_pair(deck, height=110, thickness=40):
    """Fences at both ends of a deck: people hop over them, crates stay on it."""
    x0, x1, top = deck
    solid(x0, top, x0 + thickness, top + height, ART["fence"], zorder=6)
    solid(x1 - thickness, top, x1, top + height, ART["fence"], zorder=6)


def ledge(x0, x1, top, anim=None, posts=True, thickness=40):
    """A roof, balcony or deck: solid, a floor on top; posts are only pictures."""
    solid(x0, top - thickness, x1, top, anim or ART["ledge"], zorder=6)
    if posts:
        g = ground_at((x0 + x1) / 2)
        h = top - thickness - g
        for px in (x0 + 20, x1 - 20):
            scenery(px, g + h / 2, 24, h, ART["post"], zorder=-8)


# ---------------------------------------------------------------------------
# Far scenery and life
# ---------------------------------------------------------------------------
FAR = -20
# The far hillside falls with the town, so its meadow is one tilted band,
# two tiles deep: seen from the harbour, one row's tilted lower edge would
# leave a wedge of sky under the steps.
FALL = (QUAY - HILLTOP) / (EAST - 0)
for x in range(-1200, 24000, 1000):
    for depth in (0, 1100):
        objects.append(Obj(x, HILLTOP + FALL * x - 250 - depth, 1200, 1200,
                           rot=math.atan(FALL)).sprite(ART["far_meadow"], zpos=FAR, zorder=-31))
for i, x in enumerate(range(-800, 23000, 1300)):
    scenery(x, HILLTOP + FALL * x + 200 + 60 * (i % 3), 420, 360, ART["far_house"], zpos=FAR,
            zorder=-30)
for i, x in enumerate(range(-600, 23000, 900)):
    y = ground_at(min(max(x, WEST), EAST)) + 900 + 350 * (i % 4)
    w = 380 + 60 * (i % 5)
    scenery(x, y, w, w * 0.47, ART["cloud"], zpos=-30 - 10 * (i % 3), zorder=-50)
# Lamp posts stand in the gaps between buildings: before a wall, a lamp's
# flame lands on a window and reads as a house on fire.
LAMPPOSTS = (600, 2060, 4725, 6100, 8300, 9990, 11100, 13000, 14300, 15755, 18280, 21200)
for x in LAMPPOSTS:
    g = ground_at(x)
    standing(x, g, 48, 200, ART["lamppost"], zorder=-20)
    scenery(x, g + 170, 40, 48, ART["flame"], zorder=-19, rate=10, additive=True)
for x, dy in ((200, 60), (1900, 260), (5000, 420), (7900, 380), (12600, 700), (16500, 500),
              (19600, 300), (21900, 900)):
    standing(x, ground_at(x) + dy, 64, 110, ART["pinwheel"], zorder=-20, rate=12, shader=2)
for x, dy in ((900, 420), (960, 460), (5600, 700), (9400, 600), (13900, 900), (21000, 800)):
    scenery(x, ground_at(x) + dy, 30, 30, ART["bird"], zorder=-5, rate=8, shader=1)


def sign(x, hint):
    standing(x, ground_at(x), 96, 96, ART["sign"], zorder=-5).component(
        "TextTrigger", [("Text", hint), ("TriggerRadius", 200)])


def mood(x0, y0, x1, y1, fields):
    """A ghost area that changes the look of the screen while the player is in it."""
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    objects.append(Obj(cx, cy).body([(rect(hw, hh), [False] * 4)], ghost=True, floor=False)
                   .component("PostProcessTrigger", fields))


# ---------------------------------------------------------------------------
# The town, street by street
# ---------------------------------------------------------------------------
# Hilltop Street (WEST .. 2800): the start, Baker Pim's bakery, the observatory.
standing(-40, HILLTOP, 420, 360, ART["house_wide"])
standing(900, HILLTOP, 480, 420, ART["bakery"])
standing(1800, HILLTOP, 380, 330, ART["house_wide"])
standing(2450, HILLTOP, 340, 520, ART["observatory"])
sign(150, "Welcome to Cloudmere! Talk to the townsfolk: press E near someone with a '!'")
sign(650, "Press Q to open the list of your objectives. Tab shows the map of the town.")
# Warm morning light round the bakery.
mood(WEST, HILLTOP, 1400, HILLTOP + 900, [("TransitionTime", 1), ("Bloom Factor", 1.3),
                                         ("Black Out (Red)", 0.04), ("White Out (Blue)", 0.94)])

# Market Square (3700 .. 6600): an alley up to a row of roofs to run across.
standing(3950, MARKET, 300, 260, ART["market_stall"])
alley(4160, 4320, MARKET, MARKET + 520, MARKET + 330)
ROOFS = [(4320, 4680, MARKET + 330), (4770, 5130, MARKET + 380), (5220, 5580, MARKET + 330),
         (5670, 6030, MARKET + 420)]
for x0, x1, top in ROOFS:
    standing((x0 + x1) / 2, MARKET, x1 - x0, top - MARKET - 20, ART["house_tall"])
    ledge(x0, x1, top, ART["roof"], posts=False)
standing(6350, MARKET, 320, 280, ART["gypsy_tent"])
sign(4050, "An alley: jump at one wall, then off it to the other, to climb onto the roofs.")

# Smithy Row (7500 .. 10000): the forge, the foundry's chimney alley and its balcony.
standing(7950, SMITHY, 420, 360, ART["forge"])
alley(8660, 8860, SMITHY, SMITHY + 700, SMITHY + 620)
ledge(8860, 9060, SMITHY + 620)                        # a cap on the chimney
standing(9600, SMITHY, 640, 300, ART["foundry"])
BALCONY = (9200, 9960, SMITHY + 350)                   # the foundry's loading balcony
ledge(*BALCONY)
# Fenced at both ends, so its crates can never be lost over the edge.
fence_pair(BALCONY)
# The furnace hatch at the east end takes two crates side by side; the
# third, pushed up behind them, stays clear of it.
HATCH = (9780, 9920)
scenery((HATCH[0] + HATCH[1]) / 2, BALCONY[2] + 90, 110, 160, ART["flame"], zorder=-9, rate=9,
        additive=True)
# In the foundry's glow the light turns hot.
mood(8600, SMITHY, 10000, SMITHY + 800, [("TransitionTime", 0.8), ("Bloom Factor", 1.4),
                                         ("White Out (Blue)", 0.85)])

# The Overlook (10900 .. 11300), the Long Stair down to the lot.
sign(11000, "The Long Stair: to climb back up, jump from step to step.")

# The lot (12200 .. 14600): open ground where the balloon business will stand.
# Nothing solid may stand in the lot (x 12240 .. 14190 above the ground) but
# the ledge the office will sit on, its top at y -2586.
OFFICE_LEDGE = (13390, 13725, -2586)
ledge(*OFFICE_LEDGE)
sign(12300, "A fine empty lot above the harbour. Somebody ought to build something here.")

# Timber Yard (15500 .. 17100): Tobrin's lumber deck with its pen.
standing(16300, YARD, 900, 560, ART["timber_shed"], zorder=-12)
DECK = (15700, 16900, YARD + 300)
ledge(*DECK)
fence_pair(DECK)
# The pen at the deck's east end holds three crates against the fence; the
# fourth, pushed up behind them, stays just outside.
PEN = (16640, 16860)

# Fish Street (18000 .. 18900): the butcher and the cold store's flat roof.
standing(18550, FISH, 440, 320, ART["cold_store"])
COLD_ROOF = (18330, 18770, FISH + 340)
ledge(*COLD_ROOF)

# The harbour (20300 .. EAST): a warehouse with the cat's roof, a crane, the ship.
CAT = (20675, -5773)
WAREHOUSE_ROOF = (20450, 20900, CAT[1] - 50)
standing(20675, QUAY, 450, WAREHOUSE_ROOF[2] - QUAY - 30, ART["warehouse"])
# The harbourmaster's tower hangs over the foot of the steps: whoever runs
# down them at full tilt hits it and drops to the quay instead of sailing on
# onto the warehouse roof.
solid(20340, QUAY + 190, 20400, QUAY + 1000, ART["alley_wall"], zorder=6)
ledge(*WAREHOUSE_ROOF, posts=False)
# The warehouse's east wall and the crane's tower make an alley up to the roof.
alley(20900, 21100, QUAY, WAREHOUSE_ROOF[2] - 40, QUAY + 800, thickness=40)
standing(21130, QUAY + 800, 60, 500, ART["crane"])
standing(22000, QUAY, 500, 420, ART["ship"], zorder=-12)
SHIP_HOLD = (21750, EAST)
sign(20360, "The harbour. Tall things here are best climbed through the alley or flown over.")
# Cool sea light on the quay.
mood(20300, QUAY, EAST, QUAY + 1400, [("TransitionTime", 1), ("Black Out (Blue)", 0.06),
                                      ("White Out (Red)", 0.9), ("White Out (Green)", 0.95)])

# The map view looks at the town from its middle, a little towards the
# harbour: on a 4:3 screen its fixed zoom shows about 21,000 units across,
# and the quay with the cat and the ship matters more than the west end of
# Hilltop Street.
objects.append(Obj(11600, -2700).camera("MapOverview"))


# ---------------------------------------------------------------------------
# Townsfolk and job entities
# ---------------------------------------------------------------------------
givers = {}      # animation name -> list of jobs
entities = []    # (job, type, entity id) of every job entity in the level


def townsperson(name, x, jobs, ground=None):
    g = ground_at(x) if ground is None else ground
    # The townsfolk pictures are 160 units square with the feet 18 units
    # above the bottom edge.
    o = Obj(x, g + 62, 160, 160).sprite(name, zorder=8, rate=6)
    o.string_list("JobGiverComponent", "Jobs", jobs)
    objects.append(o)
    givers[name] = list(jobs)


def job_entity(o, job, kind, eid, pre, act, post, effect=""):
    o.component("JobEntityComponent", [("EntityID", eid), ("JobName", job),
                                       ("PreActivationState", pre),
                                       ("ActivationAction", act),
                                       ("PostCompletionAction", post), ("Type", kind),
                                       ("CompletionEffect", effect)])
    entities.append((job, kind, eid))
    objects.append(o)


# The size and frame rate each kind of place to touch is drawn at (its
# touchable box is the same for all).
MARKS = {"checkpoint": (60, 120, 8), "horseshoe": (90, 120, 8),
         "weather_vane": (90, 120, 8), "cat": (60, 48, 6)}


# Entity state bits: 1 visible, 2 solid.
def checkpoint(job, eid, x, y=None, art="checkpoint", effect="dash_burst", seen=False):
    """A place to touch: hidden until its objective opens (or, `seen`, in
    sight all along, like the cat on its roof), then shown but a ghost."""
    if y is None:
        y = ground_at(x) + 60
    w, h, rate = MARKS.get(art, (60, 120, 8))
    o = Obj(x, y, w, h).sprite(ART[art], zorder=7, opacity=1 if seen else 0, rate=rate)
    o.body([(rect(50, 70), [False] * 4)], ghost=True, floor=False)
    job_entity(o, job, "Checkpoint", eid, 1 if seen else 0, 1, 0, effect)


def region(job, eid, x0, x1, y0, y1):
    """An area counting crates; a ghost whatever the job's state."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    o = Obj(cx, cy, x1 - x0, y1 - y0).body([(rect((x1 - x0) / 2, (y1 - y0) / 2), [False] * 4)],
                                           ghost=True, floor=False)
    job_entity(o, job, "ObjectRegion", eid, 0, 0, 0)


def crate(job, eid, x, ground):
    """A crate to push: solid and in sight before, during and after its job."""
    o = Obj(x, ground + 40, 80, 80).sprite(ART["crate"], zorder=7)
    o.body([(rect(40, 40), [False, False, False, True])], density=1, floor=False)
    job_entity(o, job, "RegionObject", eid, 3, 3, 3)


# A townsperson with two jobs lists the later one first. The later needs the
# earlier, so the earlier is still offered first; but once both are done a
# giver repeats the outro of the first finished job in its list, and that
# should be the thanks for the job just done, not for the one before it.
townsperson("Baker", 1300, ["HotBuns", "GoFast1"])
townsperson("Professor", 2250, ["VaneCalibration", "Distance1"])
townsperson("Trader", 3820, ["MarketErrands"])
townsperson("Gypsy", 6250, ["KittyJob", "FortuneRun"])
townsperson("Smith", 8150, ["HorseshoeHunt"])
townsperson("Metallurgist", 9150, ["FurnaceFeed"])
townsperson("Tobrin", 15580, ["BalloonJob", "TimberYard"])
townsperson("ButcherNPC", 18150, ["ClearTheDoor"])
townsperson("Captain", 20560, ["LoadTheShip"])

# Baker Pim's hot buns: three doorsteps, any order.
checkpoint("HotBuns", 1, 2600)                 # the observatory's door
checkpoint("HotBuns", 2, 5400)                 # under the Market roofs
checkpoint("HotBuns", 3, 8000)                 # the forge

# The Trader's letters, down through the town.
checkpoint("MarketErrands", 1, 7700)
checkpoint("MarketErrands", 2, 11100)
checkpoint("MarketErrands", 3, 15560 + 250)

# The Smith's horseshoes: on a roof, the chimney cap, a stair, the cold store.
checkpoint("HorseshoeHunt", 1, 5850, ROOFS[3][2] + 60, art="horseshoe")
checkpoint("HorseshoeHunt", 2, 8960, SMITHY + 680, art="horseshoe")
checkpoint("HorseshoeHunt", 3, 11950, art="horseshoe")
checkpoint("HorseshoeHunt", 4, 18700, COLD_ROOF[2] + 60, art="horseshoe")

# The Metallurgist's ore: three crates on the balcony; two go to the hatch.
for x in (9460, 9540, 9620):
    crate("FurnaceFeed", 41, x, BALCONY[2])
region("FurnaceFeed", 40, HATCH[0], HATCH[1], BALCONY[2], BALCONY[2] + 200)

# The Professor's weather vanes, high over the town (flight needed).
checkpoint("VaneCalibration", 1, 3000, 1400, art="weather_vane")
checkpoint("VaneCalibration", 2, 9000, 200, art="weather_vane")
checkpoint("VaneCalibration", 3, 15000, -1600, art="weather_vane")
checkpoint("VaneCalibration", 4, 21600, -4300, art="weather_vane")

# The Gypsy's race to the harbour.
checkpoint("FortuneRun", 1, 9000)
checkpoint("FortuneRun", 2, 11000)
checkpoint("FortuneRun", 3, 16000)
checkpoint("FortuneRun", 4, 20550)

# The Gypsy's cat.
checkpoint("KittyJob", 1, CAT[0], CAT[1], art="cat", seen=True)

# Tobrin's pen: three of the four crates on his deck. Pushed all the way,
# the row always leaves exactly three in the pen.
for x in (15950, 16080, 16210, 16340):
    crate("TimberYard", 11, x, DECK[2])
region("TimberYard", 10, PEN[0], PEN[1], DECK[2], DECK[2] + 200)
checkpoint("TimberYard", 12, 15800)

# The butcher's cold store: its roof swept clear.
for x in (18450, 18560, 18670):
    crate("ClearTheDoor", 21, x, COLD_ROOF[2])
region("ClearTheDoor", 20, COLD_ROOF[0], COLD_ROOF[1], COLD_ROOF[2], COLD_ROOF[2] + 200)

# The Captain's cargo: both crates into the ship's hold, then the bell.
for x in (21250, 21420):
    crate("LoadTheShip", 31, x, QUAY)
region("LoadTheShip", 30, SHIP_HOLD[0], SHIP_HOLD[1], QUAY, QUAY + 200)
checkpoint("LoadTheShip", 32, 20600)

# The opening: everyone meets at the lot.
checkpoint("BalloonJob", 1, 12700, effect="")


# ---------------------------------------------------------------------------
# The jobs
# ---------------------------------------------------------------------------
def node(kind, desc="", children=(), **k):
    # A region's counter, "(Objects: n)", comes without a space of its own.
    if kind == "ObjectRegion" and k.get("Counter") and desc:
        desc += " "
    n = {"Type": kind, "Description": desc, "children": list(children)}
    n.update(k)
    return n


def cp(eid, desc, **k):
    return node("Checkpoint", desc, ID=eid, **k)


JOBS = []


def job(name, prereqs, intro, outro, root):
    JOBS.append({"Name": name, "PreReqJobs": prereqs, "IntroText": intro,
                 "OutroText": outro, "root": root})


job("Distance1", [],
    "Professor: Ah, a volunteer! This is the Deroze Personal Flight Unit. Strap it on and "
    "fly 250 meters for my notebook. Hold the left mouse button. Do try not to land in the sea.",
    "Professor: Splendid data! Keep the unit, my friend. Science owes you one, and so, "
    "I suspect, does the whole town.",
    node("Sequence", "Test the Professor's flight unit", [
        node("Special", "Fly 250 meters.", ID=1, CompletionSound="JobComplete")]))

# Faster than 200 is only reached in the air: running tops out near 90.
# So the Professor's flight unit comes first, and the Baker wants it shown off.
job("GoFast1", ["Distance1"],
    "Baker Pim: Oh, the buns are rising and I am SO bored. Is that the Professor's "
    "flying contraption? Show me something fast, dearie! Ten whole seconds of it!",
    "Baker Pim: Ha! Flour everywhere! Here, take my old dash-boots: the right mouse "
    "button, or the pad's left shoulder, and off you pop.",
    node("Sequence", "Entertain Baker Pim", [
        node("Special", "Go faster than 200 for 10 seconds!", ID=1,
             CompletionSound="JobComplete")]))

job("HotBuns", ["GoFast1"],
    "Baker Pim: Three orders, and the buns go cold in a minute! The Professor's door, the "
    "market and the forge, any order you like. Go, go, go!",
    "Baker Pim: All three, and still steaming! You've got a baker's heart, you have.",
    node("Collect", "Deliver hot buns before they go cold", [
        cp(1, "The Professor's door"),
        cp(2, "The market, under the roofs"),
        cp(3, "The Smith's forge"),
    ], Counter=True, Timer={"Mode": "COUNTDOWN", "Time": 60}, CompletionSound="JobComplete"))

job("MarketErrands", ["Distance1"],
    "Trader: Letters, friend, letters! Down the hill they go: Smithy Row, the Overlook, "
    "then Tobrin's yard. Follow the raven, it knows the way. A small fee? We'll talk.",
    "Trader: Delivered? Every one? Then the town knows your face now. Good for business, "
    "yours and mine.",
    node("Sequence", "Deliver the Trader's letters", [
        cp(1, "Smithy Row, at the foot of the hill", RavenGuide=True),
        cp(2, "The Overlook, above the Long Stair", RavenGuide=True, Hide="HIDEUNTILACTIVE"),
        cp(3, "Tobrin's Timber Yard", RavenGuide=True, Hide="HIDEUNTILACTIVE",
           CompletionSound="JobComplete"),
    ], Hide="DONTHIDE"))

job("FortuneRun", ["MarketErrands"],
    "Gypsy: The cards say you will reach the harbour swiftly. How swiftly, they won't "
    "tell. Run, and let the stars keep the time.",
    "Gypsy: Hm. Exactly as the cards foretold. Well, nearly. The stars were kind to you.",
    node("Sequence", "Race to the harbour", [
        cp(1, "The foundry", RavenGuide=True),
        cp(2, "The Overlook", RavenGuide=True),
        cp(3, "The Timber Yard", RavenGuide=True),
        cp(4, "The foot of the Harbour Steps", RavenGuide=True, CompletionSound="JobComplete"),
    ], Timer={"Mode": "COUNTUP", "Time": 0}))

job("HorseshoeHunt", ["MarketErrands"],
    "Smith: Lost four horseshoes. Don't ask how. Roofs, chimneys, who knows. Bring them "
    "back and I'll owe you.",
    "Smith: All four. Hmph. Good work. Very good work.",
    node("Collect", "Find the Smith's four lost horseshoes", [
        cp(1, "A horseshoe on a market roof", Hide="HIDEUNTILCOMPLETE"),
        cp(2, "A horseshoe on the foundry chimney", Hide="HIDEUNTILCOMPLETE"),
        cp(3, "A horseshoe on the Long Stair", Hide="HIDEUNTILCOMPLETE"),
        cp(4, "A horseshoe on the cold store", Hide="HIDEUNTILCOMPLETE"),
    ], Counter=True, CompletionSound="JobComplete"))

job("FurnaceFeed", ["HorseshoeHunt"],
    "Metallurgist: The furnace takes two crates of ore. Precisely two! Push them up to "
    "the hatch on my balcony and leave the third outside, for the Smith.",
    "Metallurgist: Two in, one out, to the gram. Beautiful. The alloy will be perfect.",
    node("Sequence", "Feed the foundry furnace", [
        node("ObjectRegion", "Leave just one ore crate outside the hatch", ID=40, ObjectID=41,
             Condition="EXCLUDE_NUMBER", Number=1, Counter=True,
             CompletionSound="JobComplete"),
    ]))

job("VaneCalibration", ["Distance1", "FurnaceFeed"],
    "Professor: My weather vanes sit where only birds and brave people go. Fly up and "
    "touch each in turn; the instruments will do the rest.",
    "Professor: Wind from the west, steady and strong. Perfect weather for... something "
    "big. Something that floats.",
    node("Sequence", "Calibrate the Professor's weather vanes", [
        cp(1, "The vane high over the Market", RavenGuide=True, CompletionSound="JobComplete"),
        cp(2, "The vane over the foundry", RavenGuide=True, Hide="HIDEUNTILACTIVE",
           CompletionSound="JobComplete"),
        cp(3, "The vane over the Timber Yard", RavenGuide=True, Hide="HIDEUNTILACTIVE",
           CompletionSound="JobComplete"),
        cp(4, "The vane over the harbour", RavenGuide=True, Hide="HIDEUNTILACTIVE",
           CompletionSound="JobComplete"),
    ]))

job("KittyJob", ["FortuneRun", "Distance1"],
    "Gypsy: My cat Mistral has wandered off again, somewhere high near the harbour. "
    "Listen for her: the closer you are, the louder she complains.",
    "Gypsy: Mistral! You found her! The cards never mentioned you, and yet here you are.",
    node("Sequence", "Find Mistral the cat", [
        cp(1, "Follow the meows", CompletionSound="JobComplete"),
    ]))

job("TimberYard", ["MarketErrands"],
    "Tobrin: Crates up on my deck. Three go in the pen by the fence. They're heavy: "
    "run at them. Then come and tell me.",
    "Tobrin: Good pen. Good crates. I've some building to do now. Come back later.",
    node("Sequence", "Help Tobrin in the Timber Yard", [
        node("ObjectRegion", "Push three crates into the pen", ID=10, ObjectID=11,
             Condition="INCLUDE_NUMBER", Number=3, Counter=True,
             CompletionSound="JobComplete"),
        cp(12, "Tell Tobrin"),
    ]))

job("ClearTheDoor", ["TimberYard"],
    "Butcher: Some fool stacked his crates on my cold-store roof! It'll cave in! Knock "
    "every last one off it, quick!",
    "Butcher: HA! That's the way! Roof's saved and so's my sausages. You're welcome here "
    "any day!",
    node("Sequence", "Save the butcher's roof", [
        node("ObjectRegion", "Clear every crate off the cold-store roof", ID=20,
             ObjectID=21, Condition="EMPTY", Number=0, Counter=True,
             CompletionSound="JobComplete"),
    ]))

job("LoadTheShip", ["ClearTheDoor", "Distance1"],
    "Captain: Tide turns in forty-five seconds, matey! Both crates into my hold, then "
    "ring the bell by the steps. Lively now!",
    "Captain: Loaded and rung, with time to spare! You'd make a fine sailor, if you ever "
    "came down out of the sky.",
    node("Sequence", "Load the Captain's ship", [
        node("ObjectRegion", "Push every crate into the ship's hold", ID=30, ObjectID=31,
             Condition="FULL", Number=0, Counter=True,
             Timer={"Mode": "COUNTDOWN", "Time": 45}),
        cp(32, "Ring the bell by the Harbour Steps", Hide="HIDEUNTILACTIVE",
           CompletionSound="JobComplete"),
    ]))

OTHER_JOBS = [j["Name"] for j in JOBS]
job("BalloonJob", OTHER_JOBS,
    "Tobrin: The whole town's talking. You fly, you fetch, you fix. So we built you "
    "something. Meet us at the empty lot.",
    "Tobrin: Open for business. Cloudmere's own balloon company. Suits you.",
    node("Sequence", "Open the balloon business", [
        cp(1, "Go to the empty lot above the harbour", RavenGuide=True),
        node("Special", "Open for business!", ID=320),
    ]))


# ---------------------------------------------------------------------------
# Consistency: every objective has its things in the level, every job a giver
# ---------------------------------------------------------------------------
def walk(n):
    yield n
    for c in n["children"]:
        yield from walk(c)


def check():
    errors = []
    names = [j["Name"] for j in JOBS]
    if len(set(names)) != len(names):
        errors.append("a job name is used twice")
    have = {}
    for jname, kind, eid in entities:
        have.setdefault((jname, kind), set()).add(eid)
    for j in JOBS:
        for p in j["PreReqJobs"]:
            if p not in names:
                errors.append("%s: prerequisite %s is not a job" % (j["Name"], p))
        ids = set()
        for n in walk(j["root"]):
            kind = n["Type"]
            if kind == "Checkpoint" and n["ID"] not in have.get((j["Name"], "Checkpoint"), ()):
                errors.append("%s: no checkpoint with id %d" % (j["Name"], n["ID"]))
            if kind == "ObjectRegion":
                if n["ID"] not in have.get((j["Name"], "ObjectRegion"), ()):
                    errors.append("%s: no region with id %d" % (j["Name"], n["ID"]))
                if n["ObjectID"] not in have.get((j["Name"], "RegionObject"), ()):
                    errors.append("%s: no objects with id %d" % (j["Name"], n["ObjectID"]))
                ids.add(n["ObjectID"])
            if kind in ("Checkpoint", "ObjectRegion", "Special"):
                ids.add(n["ID"])
        for (jname, kind), eids in have.items():
            if jname == j["Name"] and eids - ids:
                errors.append("%s: %s entities %s belong to no node" %
                              (jname, kind, sorted(eids - ids)))
    for jname, kind, eid in entities:
        if jname not in names:
            errors.append("an entity names job %s, which does not exist" % jname)
    given = [jn for jobs in givers.values() for jn in jobs]
    for jn in given:
        if jn not in names:
            errors.append("a giver offers %s, which is not in the bank" % jn)
    for jn in names:
        if given.count(jn) != 1:
            errors.append("%s has %d givers" % (jn, given.count(jn)))
    # The fixed points of the special jobs.
    specials = {j["Name"]: [n for n in walk(j["root"]) if n["Type"] == "Special"] for j in JOBS}
    for jn, sid in (("GoFast1", 1), ("Distance1", 1), ("BalloonJob", 320)):
        if [n["ID"] for n in specials.get(jn, [])] != [sid]:
            errors.append("%s needs one Special node with id %d" % (jn, sid))
    for who, jobs in givers.items():
        for first, then in zip(jobs, jobs[1:]):
            j = next((x for x in JOBS if x["Name"] == first), None)
            if j and then not in closure(j, names):
                errors.append("%s lists %s before %s, which it does not need" %
                              (who, first, then))
    if "GoFast1" not in givers.get("Baker", []):
        errors.append("Baker Pim gives GoFast1")
    balloon = [n for n in specials.get("BalloonJob", []) if n["ID"] == 320]
    if not balloon or balloon[0]["Description"] != "Open for business!":
        errors.append('BalloonJob\'s special node must read "Open for business!"')
    last = [j for j in JOBS if j["Name"] == "BalloonJob"]
    if not last or set(last[0]["PreReqJobs"]) != set(names) - {"BalloonJob"}:
        errors.append("BalloonJob needs every other job first")
    for jn in names:
        j = next(x for x in JOBS if x["Name"] == jn)
        if jn not in ("GoFast1", "Distance1") and "Distance1" not in closure(j, names):
            errors.append("%s comes before flight" % jn)
    kitty = [o for o in objects if ("KittyJob" in o.text() and "Checkpoint" in o.text())]
    if len(kitty) != 1 or dict(kitty[0].t)["X"] != CAT[0] or dict(kitty[0].t)["Y"] != CAT[1]:
        errors.append("the cat's checkpoint must be at %s" % (CAT,))
    # Every mode and condition the jobs can use is used somewhere.
    used = set()
    for j in JOBS:
        for n in walk(j["root"]):
            used.add(n["Type"])
            used.add(n.get("Hide", "DONTHIDE"))
            if n["Type"] == "ObjectRegion":
                used.add(n["Condition"])
            if "Timer" in n:
                used.add(n["Timer"]["Mode"])
    for want in ("Sequence", "Collect", "Checkpoint", "ObjectRegion", "Special", "DONTHIDE",
                 "HIDEUNTILACTIVE", "HIDEUNTILCOMPLETE", "EMPTY", "EXCLUDE_NUMBER",
                 "INCLUDE_NUMBER", "FULL", "COUNTDOWN", "COUNTUP"):
        if want not in used:
            errors.append("no job uses %s" % want)
    # Texts are single lines of the data format and fit the giver's band.
    for j in JOBS:
        for key in ("IntroText", "OutroText"):
            if "\n" in j[key] or len(j[key]) > 200:
                errors.append("%s: %s must be one line of at most 200 characters" %
                              (j["Name"], key))
    if errors:
        sys.exit("make-town: the level and the job bank disagree:\n  " + "\n  ".join(errors))


def closure(j, names):
    seen, todo = set(), list(j["PreReqJobs"])
    while todo:
        p = todo.pop()
        if p in seen:
            continue
        seen.add(p)
        todo += next(x for x in JOBS if x["Name"] == p)["PreReqJobs"]
    return seen


check()


# ---------------------------------------------------------------------------
# Writing
# ---------------------------------------------------------------------------
def node_lines(n, depth):
    pad = "  " * depth
    out = [pad + "Node", pad + "  Type:" + n["Type"]]
    if n["Description"]:
        out.append(pad + "  Description:" + n["Description"])
    if n.get("Counter"):
        out.append(pad + "  Counter:true")
    if "Hide" in n:
        out.append(pad + "  Hide:" + n["Hide"])
    if n.get("RavenGuide"):
        out.append(pad + "  RavenGuide:true")
    if "ID" in n:
        out.append(pad + "  ID:%d" % n["ID"])
    if n["Type"] == "ObjectRegion":
        out += [pad + "  ObjectID:%d" % n["ObjectID"], pad + "  Condition:" + n["Condition"],
                pad + "  Number:%d" % n["Number"]]
    if "Timer" in n:
        out += [pad + "  Timer", pad + "    Mode:" + n["Timer"]["Mode"],
                pad + "    Time:%d" % n["Timer"]["Time"], pad + "  -Timer"]
    if n.get("CompletionSound"):
        out.append(pad + "  CompletionSound:" + n["CompletionSound"])
    for c in n["children"]:
        out += node_lines(c, depth + 1)
    out.append(pad + "-Node")
    return out


bank = ["Root"]
for j in JOBS:
    bank += ["  Job", "    Name:" + j["Name"], "    List#%d:PreReqJobs" % len(j["PreReqJobs"])]
    bank += ["      " + p for p in j["PreReqJobs"]]
    bank += ["    -PreReqJobs", "    IntroText:" + j["IntroText"],
             "    OutroText:" + j["OutroText"], "    LogicTree"]
    bank += node_lines(j["root"], 3)
    bank += ["    -LogicTree", "  -Job"]
bank.append("-Root")

# --- the raven, the flight meter and the mouse pointer ------------------------
# The raven starts where it idles, above and right of the player; the meter
# and the pointer place themselves on the screen every frame.
objects.append(Obj(400, 152, 60, 60).sprite("Raven", zorder=11, rate=8)
               .component("Raven", []))
objects.append(Obj(0, 0, 120, 120).sprite("FlurrMeter", zpos=1, zorder=5, shader=2)
               .component("FlurrMeter", []))
objects.append(Obj(0, 0, 32, 32).sprite("MouseCursor", zpos=3)
               .component("MouseCursor", [("Rotate", 0)]))

# --- birds: perches on the roofs, the chimney cap, lamp posts and signs,
# in clusters within 500 units of each other so a fright spreads along a
# street. A perch is where a sitting bird's centre goes: 14 units above what
# it stands on (the bird is 28 units tall, its feet at the bottom) ---------
def perch(x, top):
    objects.append(Obj(x, top + 14).component("BirdPerch", []))


# Roof ridges sit about seven eighths of the way up a house's picture.
for x, h in ((-40, 360), (1800, 330)):
    perch(x, HILLTOP + 0.875 * h)
perch(900 - 120, HILLTOP + 0.8 * 420)                     # the bakery's chimney side
for x0, x1, top in ROOFS:                                 # the Market's rooftops
    perch(x0 + 60, top)
perch(8960, SMITHY + 620)                                 # the foundry chimney's cap
perch(9300, SMITHY + 350)                                 # the foundry's balcony
perch(7950 + 100, SMITHY + 0.875 * 360)                   # the forge
perch(COLD_ROOF[0] + 80, COLD_ROOF[2])                    # the cold store's roof
perch(WAREHOUSE_ROOF[1] - 80, WAREHOUSE_ROOF[2])          # the warehouse, far from the cat
for x in LAMPPOSTS[:3] + (8300, 13000, 15755, 21200):     # lamp posts
    perch(x, ground_at(x) + 198)
for x in (150, 650, 11000, 12300):                        # signs
    perch(x, ground_at(x) + 96)
# The birds start on the wing above the streets and settle after a few
# seconds; the colour of each is picked when the level starts.
for x, dy in ((100, 620), (800, 700), (1900, 560), (4300, 900), (5000, 1000), (5800, 820),
              (8200, 760), (9200, 1100), (12800, 640), (16200, 900), (18500, 800),
              (21000, 700)):
    objects.append(Obj(x, ground_at(x) + dy, 28, 28).sprite("BlackBird", zorder=1, rate=6)
                   .component("BirdComponent", []))

# --- the drifting clouds over the whole town, from beyond the west wall to
# past the ship, down to the harbour's sky ---------------------------------
objects.append(Obj(0, 0).component("CloudMachineComponent", [
    ("CloudDensity", "1e-07"), ("AreaLeft", -6000), ("AreaRight", 28000),
    ("AreaBottom", -11000), ("AreaTop", 7000)]))

with open(PLAYER) as f:
    body = [line.rstrip("\n") for line in f]
assert body[0] == "Root" and body[-1] == "-Root" and body[1] == "  X:0"
body[1] = "  X:300"  # the start: on Hilltop Street, by the first sign
player = ["  GameObject"] + ["  " + line for line in body[1:-1]] + ["  -GameObject"]

with open(OUT, "w") as f:
    f.write("Root\n  Background:Resources/Images/Backgrounds/Sky.png\n")
    for o in objects:
        f.write(o.text() + "\n")
    f.write("\n".join(player) + "\n")
    f.write("-Root\n")
with open(BANK, "w") as f:
    f.write("\n".join(bank) + "\n")
print(OUT)
print(BANK)
