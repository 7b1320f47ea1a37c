#include "physics/ForceArea.h"

#include <cmath>

#include "physics/RigidBody.h"

namespace Flurr {

float ForceAreaRadius(float aoe, float taper, float quadTaper) {
    if (aoe != 0.0f)
        return aoe;
    const float t = taper * 0.1f;
    const float q = quadTaper * 0.1f;
    if (q == 0.0f)
        return 0.0f;
    const float radius = (std::fabs(t) - t) / (q + q);
    return std::isfinite(radius) ? radius : 0.0f;
}

bool ForceArea::Catches(const RigidBody& body) const {
    if (boundBody)
        return body.Touched(boundBody);
    const float radiusSquared = radius * radius;
    for (const CollisionPolygon& polygon : body.shape.worldPolygons)
        for (uint32_t k = 0; k < polygon.count; ++k)
            if (radiusSquared >= DistanceSquared(polygon.vertices[k], center))
                return true;
    return false;
}

void ForceArea::Apply(float) {
    for (RigidBody* member : members)
        member->force += Normalized(member->position - center) * force;
}

void AdvForceArea::Apply(float) {
    if (!enabled)
        return;
    if (boundBody)
        center = boundBody->position;
    const float a = quadTaper * 0.1f;
    const float b = taper * 0.1f;
    for (RigidBody* member : members) {
        Vec2 u = direction;
        if (u.x == 0.0f && u.y == 0.0f)
            u = member->position - center;
        Vec2 p = Perpendicular(u);
        u.Normalize();
        p.Normalize();
        const float d = Distance(center, member->position);
        for (const CollisionPolygon& polygon : member->shape.worldPolygons) {
            if (polygon.count == 0)
                continue;
            uint32_t low = 0, high = 0;
            float lowProjection = Dot(polygon.vertices[0], p);
            float highProjection = lowProjection;
            for (uint32_t k = 1; k < polygon.count; ++k) {
                const Vec2 v = polygon.vertices[k];
                const float projection = Dot(v, p);
                const float distance = DistanceSquared(center, v);
                if (projection < lowProjection ||
                    (projection == lowProjection &&
                     distance < DistanceSquared(center, polygon.vertices[low]))) {
                    low = k;
                    lowProjection = projection;
                }
                if (projection > highProjection ||
                    (projection == highProjection &&
                     distance < DistanceSquared(center, polygon.vertices[high]))) {
                    high = k;
                    highProjection = projection;
                }
            }
            const float dA = Distance(center, polygon.vertices[low]);
            const float dB = Distance(center, polygon.vertices[high]);
            const float nearest = std::fmin(dA, dB);
            const float furthest = std::fmax(dA, dB);
            // A polygon touching the centre has no ratio to taper by; it
            // gets nothing rather than an infinite push.
            if (!(nearest > 0.0f) || !(furthest > 0.0f))
                continue;
            float push, torque;
            if (taper == 0.0f && quadTaper == 0.0f) {
                push = nearest / furthest * force;
                torque = furthest / nearest * force;
                if (dA > dB)
                    torque = -torque;
            } else {
                push = d * (a * d + b) * (nearest / furthest);
                torque = nearest * (a * nearest + b) - furthest * (a * furthest + b);
            }
            if (!std::isfinite(push) || !std::isfinite(torque))
                continue;
            member->force += u * push;
            member->torque += torque;
        }
    }
}

} // namespace Flurr
