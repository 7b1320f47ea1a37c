#include "physics/CollisionPolygon.h"

#include <stdexcept>

namespace Flurr {

const Vec2& CollisionPolygon::Vertex(uint32_t i) const {
    if (i < count)
        return vertices[i];
    if (i - count < count)
        return vertices[i - count];
    throw std::out_of_range("collision polygon vertex index outside [0, 2 * count)");
}

Vec2& CollisionPolygon::Vertex(uint32_t i) {
    return const_cast<Vec2&>(static_cast<const CollisionPolygon&>(*this).Vertex(i));
}

bool CollisionPolygon::IsProperConvex() const {
    if (count < 3)
        return false;
    int sign = 0;
    for (uint32_t j = 0; j < count; ++j) {
        const Vec2 a = Vertex(j + count - 1);
        const Vec2 edge = vertices[j] - a;
        if (edge.LengthSquared() == 0.0f)
            continue;
        for (uint32_t k = 0; k < count; ++k) {
            const float side = Cross(edge, vertices[k] - a);
            if (side == 0.0f)
                continue;
            const int s = side > 0.0f ? 1 : -1;
            if (sign == 0)
                sign = s;
            else if (s != sign)
                return false;
        }
    }
    return sign != 0; // all on one line: no area
}

CollisionShape::CollisionShape(const CollisionShape& other) : localPolygons(other.localPolygons) {
    worldPolygons.reserve(localPolygons.size());
    for (const auto& local : localPolygons)
        worldPolygons.emplace_back(local ? local->count : 0u);
}

CollisionShape& CollisionShape::operator=(const CollisionShape& other) {
    if (this != &other) {
        CollisionShape copy(other);
        localPolygons = std::move(copy.localPolygons);
        worldPolygons = std::move(copy.worldPolygons);
        placed = false;
        ++placements;
    }
    return *this;
}

} // namespace Flurr
