#pragma once
// Two-float vector shared by every subsystem: world positions, velocities,
// forces, and the items of Vec2 lists in data files. Only the operations
// the engine core needs live here; the geometry code adds its own.

namespace Flurr {

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2() = default;
    constexpr Vec2(float x_, float y_) : x(x_), y(y_) {}

    // NaN compares unequal, like the floats it is made of.
    constexpr bool operator==(const Vec2& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Vec2& o) const { return !(*this == o); }
};

} // namespace Flurr
