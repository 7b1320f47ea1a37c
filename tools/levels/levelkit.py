"""What the level scripts share: objects written in the game's data format.

`Obj` builds one game object (its transform, then its components in the
order they are added) and `text()` writes it as a level's lines; `box`
gives a static floor box's collision set and `rect` a box's corners. The scripts that write
Hillside, the town and the race import it from beside them.
"""


def num(v):
    v = float(v)
    return str(int(v)) if v == int(v) else ("%g" % v)


class Obj:
    # How a size becomes the whole number the format stores: cut, as the
    # first levels were written; a script may round instead.
    SIZE = int

    def __init__(self, x, y, w=1, h=1, xscale=1, yscale=1, rot=0):
        self.t = [("X", x), ("Y", y), ("WIDTH", self.SIZE(w)), ("HEIGHT", self.SIZE(h)),
                  ("XSCALE", xscale), ("YSCALE", yscale), ("ROT", rot)]
        self.parts = []

    def sprite(self, anim, zpos=0, zorder=0, rate=0, opacity=1, additive=False, shader=0):
        lines = ["GraphicsComponent", "  ZPos:" + num(zpos), "  ZOrder:" + num(zorder),
                 "  FrameRate:" + num(rate), "  Animation:" + anim, "  Loop:1",
                 "  Opacity:" + num(opacity)]
        if shader:
            lines.append("  Shader:%d" % shader)
        if additive:
            lines.append("  Additive:true")
        lines.append("-GraphicsComponent")
        self.parts.append(lines)
        return self

    def body(self, sets, density=0, floor=True, ghost=False, area=None):
        """sets: list of (points relative to the object, floor flags)."""
        lines = ["PhysicsComponent", "  CollisionSets"]
        for points, flags in sets:
            lines.append("    List#%d:CollisionSet" % len(points))
            lines += ["      %s,%s" % (num(px), num(py)) for px, py in points]
            lines.append("    -CollisionSet")
            lines.append("    List#%d:FloorSet" % len(flags))
            lines += ["      " + ("true" if f else "false") for f in flags]
            lines.append("    -FloorSet")
        lines.append("  -CollisionSets")
        lines += ["  Density:" + num(density), "  IsAFloor:" + ("true" if floor else "false"),
                  "  Ghost:" + ("true" if ghost else "false"), "  UseCustomGravity:false",
                  "  Gravity:-10"]
        a = area or {}
        lines += ["  ForceArea",
                  "    FADirX:" + num(a.get("dx", 0)), "    FADirY:" + num(a.get("dy", 0)),
                  "    FAForce:" + num(a.get("force", 0)), "    FATaper:0",
                  "    FAQuadTaper:0", "    FAAOE:" + num(a.get("radius", 0)),
                  "    FAHasForceArea:" + ("true" if area else "false"), "    FABind:false",
                  "  -ForceArea", "-PhysicsComponent"]
        self.parts.append(lines)
        return self

    def component(self, name, fields):
        """A component with plain key:value fields, in order."""
        self.parts.append([name] + ["  %s:%s" % (k, v) for k, v in fields] + ["-" + name])
        return self

    def string_list(self, component, key, items):
        self.parts.append([component, "  List#%d:%s" % (len(items), key)] +
                          ["    " + i for i in items] + ["  -" + key, "-" + component])
        return self

    def camera(self, name):
        self.parts.append(["CameraComponent", "  CameraTargetName:" + name,
                           "-CameraComponent"])
        return self

    def text(self):
        out = ["  GameObject"] + ["    %s:%s" % (k, num(v)) for k, v in self.t]
        for p in self.parts:
            out += ["    " + line for line in p]
        out.append("  -GameObject")
        return "\n".join(out)


def box(x0, y0, x1, y1, floor_top=True):
    """A static floor box in world corners; only its top edge is a floor."""
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    return cx, cy, [(rect(hw, hh), [False, False, False, floor_top])]


def rect(hw, hh):
    """A box's corners about its middle, counter-clockwise from bottom-left;
    edge j runs from vertex j-1 to j, so edge 3 (top-right to top-left) is
    the top."""
    return [(-hw, -hh), (hw, -hh), (hw, hh), (-hw, hh)]
