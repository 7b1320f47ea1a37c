#!/usr/bin/env python3
"""Writes the menus: the six pause-menu screens and the title level.

    python3 tools/levels/make-menus.py

Each screen is an object list: a dim over the game, a card (the title and
any text, one picture) and the entries. An entry is a PauseElement (a
Button on the title) with its command and an element id; its four
navigation commands say where the stick, the arrow keys and the pad's
cross go from it, and they wrap round so no entry is a dead end. Element
0 is selected when a screen opens. Sizes are world units at 1 per pixel of
an 800 x 600 screen; the pictures are drawn at twice that for large
displays.
"""
import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LEVELS = os.path.join(ROOT, "Resources", "Levels")

# In front of the world and the fuel meter (1), behind the pointer (3).
DIM_Z, CARD_Z, ENTRY_Z = 2.0, 2.1, 2.2


def num(v):
    v = float(v)
    return str(int(v)) if v == int(v) else ("%g" % v)


def obj(x, y, w, h, anim, zpos=0, zorder=0, extra=()):
    lines = ["GameObject", "  X:" + num(x), "  Y:" + num(y), "  WIDTH:%d" % w,
             "  HEIGHT:%d" % h, "  XSCALE:1", "  YSCALE:1", "  ROT:0",
             "  GraphicsComponent", "    ZPos:" + num(zpos), "    ZOrder:" + num(zorder),
             "    FrameRate:0", "    Animation:" + anim, "    Loop:1", "    Opacity:1",
             "  -GraphicsComponent"]
    lines += ["  " + line for line in extra]
    lines.append("-GameObject")
    return lines


def entry(x, y, w, h, label, command, eid, left="NOP", right="NOP", down="NOP", up="NOP"):
    def nav(target):
        return target if isinstance(target, str) else "NextElement:%d" % target
    element = ["PauseElement", "  Command:" + command, "  Max:1.2", "  ElementID:%d" % eid,
               "  LeftCommand:" + nav(left), "  RightCommand:" + nav(right),
               "  DownCommand:" + nav(down), "  UpCommand:" + nav(up), "-PauseElement"]
    return obj(x, y, w, h, "MenuLabel" + label, ENTRY_Z, 0, element)


def write(path, objects, background=None):
    lines = ["Root"]
    if background is not None:
        lines.append("  Background:" + background)
    for o in objects:
        lines += ["  " + line for line in o]
    lines.append("-Root")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def dim():
    # Wide enough for any screen shape the game runs at.
    return obj(0, 0, 2400, 700, "MenuDim", DIM_Z)


def column(labels, top, step, w=240, h=51):
    """Entries one above the other, ids from 0, up and down wrapping."""
    n = len(labels)
    out = []
    for i, (label, command) in enumerate(labels):
        out.append(entry(0, top - i * step, w, h, label, command, i,
                         down=(i + 1) % n, up=(i - 1) % n))
    return out


def pause_screens():
    pause = [dim(), obj(0, 0, 400, 514, "MenuPauseCard", CARD_Z)]
    pause += column([("Resume", "Resume"), ("Restart", "Restart"), ("Options", "OptionsPauseMenu"),
                     ("HowToPlay", "HowToPlay"), ("Credits", "Credits"), ("Quit", "Quit"),
                     ("EditLevel", "EditLevel")],
                    top=125, step=55)
    write(os.path.join(LEVELS, "Pause", "Pause.zorvel"), pause)

    # Two columns: the display on the left (full screen, resolution, and
    # below them what is in use, drawn by the game as text), the sound on
    # the right (a row for the music -- quieter, mute, louder -- and one for
    # the effects, each under its level drawn as text); along the bottom
    # the controls screen and back. Sideways moves along a row and across
    # the columns; ids 0-5 keep the entries they always had.
    options = [dim(), obj(0, 0, 720, 500, "MenuOptionsCard", CARD_Z),
               entry(-180, 105, 240, 51, "Fullscreen", "Fullscreen", 0,
                     left=4, right=2, down=1, up=8),
               entry(-180, 40, 240, 51, "Resolution", "ChangeResolution", 1,
                     left=7, right=6, down=8, up=0),
               entry(70, 105, 104, 51, "MusicQuieter", "LowerMusic", 2,
                     left=0, right=3, down=6, up=5),
               entry(180, 105, 104, 51, "MusicMute", "MuteMusic", 3, left=2, right=4, down=6, up=5),
               entry(290, 105, 104, 51, "MusicLouder", "RaiseMusic", 4,
                     left=3, right=0, down=7, up=5),
               entry(130, -170, 200, 51, "Back", "Back", 5, left=8, right=8, down=2, up=7),
               entry(70, -15, 104, 51, "MusicQuieter", "LowerEffects", 6,
                     left=1, right=7, down=5, up=2),
               entry(290, -15, 104, 51, "MusicLouder", "RaiseEffects", 7,
                     left=6, right=1, down=5, up=4),
               entry(-130, -170, 200, 51, "Controls", "Controls", 8,
                     left=5, right=5, down=0, up=1)]
    write(os.path.join(LEVELS, "Pause", "OptionsMenu.zorvel"), options)

    # The rebindable actions, one above the other; the game draws each
    # one's key to its right and a line of help above "Back".
    actions = [("MoveLeft", "MoveLeft"), ("MoveRight", "MoveRight"), ("Jump", "Jump"),
               ("Run", "Run"), ("Map", "Map"), ("Objectives", "Objectives")]
    controls = [dim(), obj(0, 0, 600, 560, "MenuControlsCard", CARD_Z)]
    n = len(actions) + 1
    for i, (label, action) in enumerate(actions):
        controls.append(entry(-140, 156 - i * 52, 220, 44, label, "Rebind:" + action, i,
                              down=(i + 1) % n, up=(i - 1) % n))
    controls.append(entry(0, -230, 200, 43, "Back", "Back", n - 1, down=0, up=n - 2))
    write(os.path.join(LEVELS, "Pause", "Controls.zorvel"), controls)

    howto = [dim(), obj(0, 10, 760, 575, "MenuHowToPlayCard", CARD_Z),
             entry(0, -243, 200, 43, "Back", "Back", 0)]
    write(os.path.join(LEVELS, "Pause", "HowToPlay.zorvel"), howto)

    # "No" is element 0: what is selected first must not end the game.
    quit_ = [dim(), obj(0, 20, 440, 249, "MenuQuitCard", CARD_Z),
             entry(100, -50, 180, 38, "No", "ConfirmNo", 0, left=1, right=1),
             entry(-100, -50, 180, 38, "Yes", "ConfirmYes", 1, left=0, right=0)]
    write(os.path.join(LEVELS, "Pause", "QuitConfirm.zorvel"), quit_)

    credits = [dim(), obj(0, 10, 680, 573, "MenuCreditsCard", CARD_Z),
               entry(0, -243, 200, 43, "Back", "Back", 0)]
    write(os.path.join(LEVELS, "Credits", "Credits.zorvel"), credits)


def town_square():
    """Clouds high over the town, then the far roofs, the houses either side
    of the square and the cobbles along the bottom; the middle stays open."""
    objects = []
    for x, y, s in [(-390, 205, 1.0), (400, 235, 0.8), (90, 272, 0.6), (-80, 40, 0.5)]:
        objects.append(obj(x, y, 300 * s, 140 * s, "Cloud", 0, -4))
    objects.append(obj(0, 100, 2048, 400, "Skyline", 0, -3))
    for x, w, h, anim in [(-470, 150, 203, "TownHouseNarrow"), (-300, 250, 295, "TownHouseWide"),
                          (300, 190, 215, "TownHouseSlate"), (470, 210, 162, "TownHouseLow"),
                          (-640, 210, 162, "TownHouseLow"), (640, 150, 203, "TownHouseNarrow")]:
        objects.append(obj(x, -240 + h / 2, w, h, anim, 0, -2))
    for i in range(-3, 4):
        objects.append(obj(i * 200, -290, 200, 100, "CobbleStreet", 0, -1))
    return objects


def title():
    def button(y, label, command, eid):
        b = ["Button", "  Command:" + command, "  ElementID:%d" % eid, "-Button"]
        return obj(0, y, 240, 51, "MenuLabel" + label, 0, 3, b)
    objects = town_square()
    objects.append(obj(0, 170, 560, 163, "MenuTitleName", 0, 1))
    # "Continue" is taken away by the game when there is no saved game;
    # the others then move up a place.
    for eid, (label, command) in enumerate([("Continue", "Continue"), ("NewGame", "NewGame"),
                                            ("Options", "Options"), ("Quit", "Quit")]):
        objects.append(button(45 - 65 * eid, label, command, eid))
    cursor = ["MouseCursor", "  Rotate:0", "-MouseCursor"]
    objects.append(obj(0, 0, 32, 32, "MouseCursor", 3, 0, cursor))
    write(os.path.join(LEVELS, "Title.zorvel"), objects,
          background="Resources/Images/Backgrounds/Sky.png")


def ending():
    """After the race: the town square, and the pause menu's credits card
    rising through it from below the screen until it and the final score
    under it have left at the top, then the title."""
    objects = town_square()
    roll = ["CreditsRoll", "  Speed:70", "  EndY:680", "-CreditsRoll"]
    objects.append(obj(0, -620, 680, 573, "MenuCreditsCard", 0, 2, roll))
    # A dark band under the closing line ("Space, Enter or A: back to the
    # title"): the card rolls up through it, and the line must read over the
    # card's own text as well as over the cobbles.
    band = obj(0, -272, 2400, 44, "Black", 0, 6)
    band[band.index("    Opacity:1")] = "    Opacity:0.55"
    objects.append(band)
    write(os.path.join(LEVELS, "Ending.zorvel"), objects,
          background="Resources/Images/Backgrounds/Sky.png")


pause_screens()
title()
ending()
