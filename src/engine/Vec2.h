#pragma once
// Two-float vector shared by every subsystem: world positions, velocities,
// forces, and the items of Vec2 lists in data files. Value semantics, 32-bit
// floats throughout, so the physics gives the same numbers on every build.

#include <cmath>

namespace Flurr {

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2() = default;
    constexpr Vec2(float x_, float y_) : x(x_), y(y_) {}

    // NaN compares unequal, like the floats it is made of: the physics uses
    // `v != v` to find a velocity that went NaN.
    constexpr bool operator==(const Vec2& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Vec2& o) const { return !(*this == o); }

    constexpr Vec2& operator+=(const Vec2& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr Vec2& operator-=(const Vec2& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    constexpr Vec2 operator-() const { return {-x, -y}; }

    constexpr float LengthSquared() const { return x * x + y * y; }
    float Length() const { return std::sqrt(LengthSquared()); }

    // Divides by the length; the zero vector is left as it is, so callers
    // never see a NaN from it.
    void Normalize() {
        if (x == 0.0f && y == 0.0f)
            return;
        const float length = Length();
        x = x / length;
        y = y / length;
    }
};

constexpr Vec2 operator+(const Vec2& a, const Vec2& b) {
    return {a.x + b.x, a.y + b.y};
}
constexpr Vec2 operator-(const Vec2& a, const Vec2& b) {
    return {a.x - b.x, a.y - b.y};
}
constexpr Vec2 operator*(const Vec2& a, float s) {
    return {a.x * s, a.y * s};
}
constexpr Vec2 operator/(const Vec2& a, float s) {
    return {a.x / s, a.y / s};
}

constexpr float Dot(const Vec2& a, const Vec2& b) {
    return a.x * b.x + a.y * b.y;
}
// The z of the 3D cross product: positive when b lies counter-clockwise of a.
constexpr float Cross(const Vec2& a, const Vec2& b) {
    return a.x * b.y - a.y * b.x;
}
constexpr float DistanceSquared(const Vec2& a, const Vec2& b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    return dx * dx + dy * dy;
}
inline float Distance(const Vec2& a, const Vec2& b) {
    return std::sqrt(DistanceSquared(a, b));
}
constexpr Vec2 Midpoint(const Vec2& a, const Vec2& b) {
    return (a + b) * 0.5f;
}
// Turned a quarter counter-clockwise.
constexpr Vec2 Perpendicular(const Vec2& a) {
    return {-a.y, a.x};
}
inline Vec2 Normalized(Vec2 a) {
    a.Normalize();
    return a;
}

// As Rotate(v, angle) below, given cos(angle) and sin(angle), for turning
// many vectors by one angle.
inline Vec2 Rotate(const Vec2& v, float c, float s) {
    float rx = v.x * c - v.y * s;
    float ry = v.x * s + v.y * c;
    if (rx > -1e-5f && rx < 1e-5f)
        rx = 0.0f;
    if (ry > -1e-5f && ry < 1e-5f)
        ry = 0.0f;
    return {rx, ry};
}
// Counter-clockwise by `angle` radians. Components within 1e-5 of zero are
// snapped to exactly zero, so a quarter turn of (1, 0) is exactly (0, 1)
// and outlines at right angles stay axis-aligned.
inline Vec2 Rotate(const Vec2& v, float angle) {
    return Rotate(v, std::cos(angle), std::sin(angle));
}

} // namespace Flurr
