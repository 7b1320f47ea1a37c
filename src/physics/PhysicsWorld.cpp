#include "physics/PhysicsWorld.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace Flurr {

namespace {

// Speeds and spins below these do not move a body (a resting body's
// leftover from the impulse would otherwise creep).
constexpr float kMinSpeed = 0.0001f;
constexpr float kMinTurnPerStep = 1e-5f;
// A turn smaller than this does not count as laying the foot on a floor.
constexpr float kMinFloorTurn = 1e-9f;
// A player touching a floor edge further off than this (say, landing on its
// side) is held up but not turned to lie along it.
constexpr float kMaxFloorTurn = kPi / 3.0f;
// Foot-edge ends within this of each other along the normal count as level.
constexpr float kLevelFoot = 0.1f;
// The player is left this far (world units) into the floor it stands on.
// Pushed out exactly, it would touch by less than the narrow phase counts
// as contact and drop onto the floor again every other step, so its floor
// state would flicker while it stands still.
constexpr float kFloorSlop = 0.01f;
// Resting on the corner where the next floor piece begins, the player turns
// this share of the way towards lying along it each step: over a crest it
// tips onto the new floor rather than snapping.
constexpr float kCornerTurnShare = 0.25f;

// The smallest turn that lays direction `from` along the line of `to`,
// either way round, in (-pi/2, pi/2].
float TurnOntoLine(Vec2 from, Vec2 to) {
    float turn = std::atan2(Cross(from, to), Dot(from, to));
    if (turn > kPi * 0.5f)
        turn -= kPi;
    else if (turn <= -kPi * 0.5f)
        turn += kPi;
    return turn;
}

// The player's foot edge in the world, if it has one.
bool FootEdge(const RigidBody& player, Vec2& from, Vec2& to) {
    if (player.shape.worldPolygons.empty())
        return false;
    const CollisionPolygon& polygon = player.shape.worldPolygons[0];
    if (polygon.count < 2)
        return false;
    const uint32_t j = player.footEdge % polygon.count;
    from = polygon.Vertex(j + polygon.count - 1);
    to = polygon.vertices[j];
    return true;
}

// The player's foot edge as its outline stands now (the world outlines are
// those of the start of the step).
bool FootEdgeNow(const RigidBody& player, Vec2& from, Vec2& to) {
    if (player.shape.localPolygons.empty() || !player.shape.localPolygons[0])
        return false;
    const CollisionPolygon& polygon = *player.shape.localPolygons[0];
    if (polygon.count < 2)
        return false;
    const uint32_t j = player.footEdge % polygon.count;
    from = Rotate(polygon.Vertex(j + polygon.count - 1), player.angle) + player.position;
    to = Rotate(polygon.vertices[j], player.angle) + player.position;
    return true;
}

// A foot sunk this far (world units) into a floor edge still stands on it
// for the floor distance.
constexpr float kFloorProbeSink = 1.0f;

// How far the foot from `f0` to `f1` can go straight down before it meets
// a floor edge of `floorBody`, at most `nearest`. The whole foot counts, not
// only its middle: over a crest the middle may hang above the slope below
// while the rest of the foot still rests on the crest's corner.
float NearestFloorBelow(const RigidBody& floorBody, Vec2 f0, Vec2 f1, float nearest) {
    // The height of segment a-b at `x`, if it spans x and is not upright.
    auto heightAt = [](Vec2 a, Vec2 b, float x) -> std::optional<float> {
        if (a.x == b.x || x < std::fmin(a.x, b.x) || x > std::fmax(a.x, b.x))
            return std::nullopt;
        return a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x);
    };
    auto take = [&nearest](float below) {
        if (below >= -kFloorProbeSink)
            nearest = std::fmin(nearest, std::fmax(below, 0.0f));
    };
    for (const auto& [edge, set] : floorBody.floorEdges) {
        if (set >= floorBody.shape.worldPolygons.size())
            continue;
        const CollisionPolygon& polygon = floorBody.shape.worldPolygons[set];
        if (edge >= polygon.count)
            continue;
        const Vec2 e0 = polygon.Vertex(edge + polygon.count - 1);
        const Vec2 e1 = polygon.vertices[edge];
        // Two segments first meet, straight down, at an end of one of them.
        for (const Vec2 foot : {f0, f1})
            if (const auto y = heightAt(e0, e1, foot.x))
                take(foot.y - *y);
        for (const Vec2 end : {e0, e1})
            if (const auto y = heightAt(f0, f1, end.x))
                take(*y - end.y);
    }
    return nearest;
}

} // namespace

PhysicsWorld::~PhysicsWorld() {
    Clear();
}

RigidBody* PhysicsWorld::CreateBody(Vec2 position, float density, const CollisionShape& shape) {
    auto* body = new RigidBody();
    body->position = position;
    body->density = density;
    body->shape = shape;
    body->gravity = density != 0.0f ? kDefaultGravity : 0.0f;
    body->friction = kDefaultFriction;
    body->restitution = 0.0f;
    const MassProperties mass = ComputeMassProperties(body->shape, density);
    body->inverseMass = mass.inverseMass;
    body->inverseInertia = mass.inverseInertia;
    bodies.push_back(body);
    // Dynamic bodies first: swap each static body found from the front with
    // a dynamic one found from the back.
    std::size_t front = 0;
    std::size_t back = bodies.size();
    while (true) {
        while (front < back && bodies[front]->density != 0.0f)
            ++front;
        while (back > front && bodies[back - 1]->density == 0.0f)
            --back;
        if (back - front < 2)
            break;
        std::swap(bodies[front], bodies[back - 1]);
    }
    RewriteIndices();
    return body;
}

void PhysicsWorld::RewriteIndices() {
    for (std::size_t i = 0; i < bodies.size(); ++i)
        bodies[i]->index = static_cast<uint32_t>(i);
    solver.BodiesMoved();
}

void PhysicsWorld::RemoveBody(RigidBody* body) {
    auto it = std::find(bodies.begin(), bodies.end(), body);
    if (it == bodies.end())
        return;
    bodies.erase(it);
    RewriteIndices();
    for (RigidBody* other : bodies)
        other->contacts.erase(std::remove(other->contacts.begin(), other->contacts.end(), body),
                              other->contacts.end());
    for (auto& area : forceAreas) {
        if (area->boundBody == body)
            area->boundBody = nullptr;
        area->members.erase(std::remove(area->members.begin(), area->members.end(), body),
                            area->members.end());
    }
    if (floor.player == body)
        floor.player = nullptr;
    for (RigidBody* other : bodies)
        other->floorBodies.erase(
            std::remove(other->floorBodies.begin(), other->floorBodies.end(), body),
            other->floorBodies.end());
    solver.Forget(body);
    delete body;
}

AdvForceArea* PhysicsWorld::CreateForceArea(Vec2 center, float force, Vec2 direction, float taper,
                                            float quadTaper, float radius, RigidBody* boundBody) {
    auto area = std::make_unique<AdvForceArea>();
    area->center = center;
    area->force = force;
    area->direction = direction;
    area->taper = taper;
    area->quadTaper = quadTaper;
    area->radius = ForceAreaRadius(radius, taper, quadTaper);
    area->boundBody = boundBody;
    AdvForceArea* raw = area.get();
    forceAreas.push_back(std::move(area));
    return raw;
}

void PhysicsWorld::RemoveForceArea(ForceArea* area) {
    forceAreas.erase(std::remove_if(forceAreas.begin(), forceAreas.end(),
                                    [area](const auto& a) { return a.get() == area; }),
                     forceAreas.end());
}

void PhysicsWorld::Clear() {
    forceAreas.clear();
    for (RigidBody* body : bodies)
        delete body;
    bodies.clear();
    floor = FloorAccumulator();
    solver.Clear();
    debugLines.clear();
}

void PhysicsWorld::Step(float dt) {
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        RigidBody& b = *bodies[i];
        b.index = static_cast<uint32_t>(i);
        b.contacts.clear();
        if (b.isPlayer) {
            // The floor state describes this step only.
            b.onFloor = false;
            b.touchingFloor = false;
            b.floorSide = 0;
            b.floorBodies.clear();
        }
        TransformShape(b.shape, b.position, b.angle);
        b.acceleration = b.force * kForceScale * b.inverseMass + Vec2(0.0f, b.gravity);
        b.velocity += b.acceleration * dt;
        b.angularAcceleration = b.torque * kForceScale * b.inverseInertia;
        b.angularVelocity += b.angularAcceleration * dt;
    }

    CollisionPass();

    for (RigidBody* body : bodies) {
        RigidBody& b = *body;
        if (std::fabs(b.velocity.y) > kMinSpeed)
            b.position.y += dt * b.velocity.y * kPositionScale;
        if (std::fabs(b.velocity.x) > kMinSpeed)
            b.position.x += dt * b.velocity.x * kPositionScale;
        if (std::fabs(b.angularVelocity) * dt > kMinTurnPerStep)
            b.angle += dt * b.angularVelocity * kPositionScale;
        if (b.velocity != b.velocity)
            b.velocity = Vec2();
        if (b.angularVelocity != b.angularVelocity)
            b.angularVelocity = 0.0f;
        b.force = Vec2();
        b.torque = 0.0f;
        b.forceAreasIn = 0;
        for (auto& area : forceAreas)
            if (area->Catches(b)) {
                area->members.push_back(body);
                ++b.forceAreasIn;
            }
        if (b.isPlayer)
            players.push_back(body);
    }

    for (auto& area : forceAreas) {
        area->Apply(dt);
        area->members.clear();
    }

    for (RigidBody* player : players)
        UpdateFloorState(*player);
    players.clear();
}

void PhysicsWorld::UpdateFloorState(RigidBody& player) {
    if (player.onFloor)
        player.stepsOffFloor = 0;
    else if (player.stepsOffFloor != UINT32_MAX)
        ++player.stepsOffFloor;
    player.floorDistance = kFloorProbeDistance;
    Vec2 f0, f1;
    if (!FootEdgeNow(player, f0, f1))
        return;
    for (const RigidBody* other : bodies)
        if (other != &player && other->isFloor)
            player.floorDistance = NearestFloorBelow(*other, f0, f1, player.floorDistance);
}

void PhysicsWorld::CollisionPass() {
    const uint32_t n = static_cast<uint32_t>(bodies.size());
    if (n >= 2) {
        if (useBroadPhase)
            broadPhase.Build(bodies);
        for (uint32_t i = 0; i + 1 < n && bodies[i]->density != 0.0f; ++i) {
            if (!useBroadPhase) {
                for (uint32_t j = i + 1; j < n; ++j)
                    TestPair(i, j);
                continue;
            }
            broadPhase.Candidates(i, i, candidates);
            for (std::size_t c = 0; c < candidates.size(); ++c) {
                const uint32_t j = candidates[c];
                if (!broadPhase.CandidateMayTouch(i, j))
                    continue;
                TestPair(i, j);
                if (broadPhase.VelocitiesChanged(i, j)) {
                    broadPhase.Candidates(i, j, candidates);
                    c = static_cast<std::size_t>(-1);
                }
            }
        }
    }
    solver.Solve();
    if (floor.marked)
        ApplyFloorAccumulator();
}

void PhysicsWorld::TestPair(uint32_t i, uint32_t j) {
    RigidBody& a = *bodies[i];
    RigidBody& b = *bodies[j];
    if (a.inverseMass == 0.0f && b.inverseMass == 0.0f)
        return;
    if (a.collisionMask & b.collisionMask)
        return;
    Contact contact;
    const uint32_t na = static_cast<uint32_t>(a.shape.worldPolygons.size());
    const uint32_t nb = static_cast<uint32_t>(b.shape.worldPolygons.size());
    for (uint32_t pa = 0; pa < na; ++pa) {
        for (uint32_t pb = 0; pb < nb; ++pb) {
            NarrowPhase(a, pa, b, pb, contact);
            if (!contact.collided || contact.invalid)
                continue;
            a.contacts.push_back(&b);
            b.contacts.push_back(&a);
            HandleContact(contact);
        }
    }
}

void PhysicsWorld::HandleContact(Contact& c) {
    RigidBody& a = *c.bodyA;
    RigidBody& b = *c.bodyB;
    if (a.ghost || b.ghost || (a.inverseMass == 0.0f && b.inverseMass == 0.0f))
        return;
    if (!a.isPlayer && !b.isPlayer) {
        solver.Add(c, (a.restitution + b.restitution) * 0.5f, (a.friction + b.friction) * 0.5f);
        return;
    }
    RigidBody& player = a.isPlayer ? a : b;
    RigidBody& other = a.isPlayer ? b : a;
    bool onFloorEdge = false;
    if (other.isFloor)
        onFloorEdge = FloorContactCheck(c, other, player);
    if (other.isFloorForPlayer || player.isFloorForPlayer) {
        // A floor-edge contact is resolved through the accumulator; any other
        // contact with a floor body (its walls, its underside) here.
        if (!onFloorEdge)
            FloorResponse(c, player);
        return;
    }
    solver.Add(c, (a.restitution + b.restitution) * 0.5f, (a.friction + b.friction) * 0.5f);
}

namespace {

// Whether the middle of the foot from `f0` to `f1` stands over the floor
// edge between the two support points.
bool MiddleOver(Vec2 f0, Vec2 f1, const SupportPoints& support) {
    const float middle = Midpoint(f0, f1).x;
    return middle >= std::fmin(support.points[0].x, support.points[1].x) &&
           middle <= std::fmax(support.points[0].x, support.points[1].x);
}

// Marks the player as standing on the floor and adds the contact to the
// accumulator: with `cornerTurn`, the turn towards the floor's edge.
void AccumulateFloorContact(FloorAccumulator& floor, const Contact& c, RigidBody& floorBody,
                            RigidBody& player, std::optional<float> cornerTurn) {
    const bool floorIsA = c.bodyA == &floorBody;
    const SupportPoints& support = floorIsA ? c.supportA : c.supportB;
    player.onFloor = true;
    player.floorSide = 1;
    if (std::find(player.floorBodies.begin(), player.floorBodies.end(), &floorBody) ==
        player.floorBodies.end())
        player.floorBodies.push_back(&floorBody);
    // The correction and normal as they apply to the player.
    const float sign = floorIsA ? -1.0f : 1.0f;
    Vec2 translation = c.translation * sign;
    const Vec2 normal = c.normal * sign;
    if (cornerTurn) {
        if (player.followsFloor && std::fabs(*cornerTurn) >= kMinFloorTurn &&
            std::fabs(*cornerTurn) <= kMaxFloorTurn) {
            ++floor.count;
            floor.angle += *cornerTurn * kCornerTurnShare;
        }
    } else if (!c.edgeAgainstEdge) {
        const bool playerSingleVertex = floorIsA ? !c.singleVertexA : c.singleVertexA;
        Vec2 f0, f1;
        if (playerSingleVertex && player.followsFloor && FootEdge(player, f0, f1)) {
            const float turn = TurnOntoLine(f1 - f0, support.points[1] - support.points[0]);
            if (std::fabs(turn) < kMinFloorTurn || std::fabs(turn) > kMaxFloorTurn) {
            } else if (MiddleOver(f0, f1, support)) {
                ++floor.digCount;
                floor.digAngle += turn;
            } else if (normal.y >= std::cos(kMaxFloorTurn)) {
                // In the valley at a slope's foot the foot stays level until
                // its middle is over the slope: turned sooner, about its
                // middle, its other corner would sink into the floor it
                // leaves, which turns it back, every step. Meanwhile it rides
                // up on its corner as on a step, lifted straight up: pushed
                // out along the slope it would be thrown back downhill and a
                // walk from a standstill would stop before it got there.
                translation = Vec2(0.0f, translation.Length() / normal.y);
            }
        }
    } else if (Vec2 f0, f1;
               FootEdge(player, f0, f1) && std::fabs(Cross(normal, Normalized(f1 - f0))) >= 0.99f) {
        // The foot lies along this floor edge: does its middle stand over it?
        floor.footLaid |= MiddleOver(f0, f1, support);
    }
    const Vec2 floorPosition = floorBody.position;
    if (floor.contacts == 0) {
        floor.firstPoint = c.responsePoints[0];
        floor.secondPoint = c.responsePoints[1];
        floor.floorPosition = floorPosition;
    } else {
        floor.firstPoint = Midpoint(floor.firstPoint, c.responsePoints[0]);
        floor.secondPoint = Midpoint(floor.secondPoint, c.responsePoints[1]);
        floor.floorPosition = Midpoint(floor.floorPosition, floorPosition);
    }
    floor.translation += translation;
    floor.normal += normal;
    ++floor.contacts;
    floor.player = &player;
    floor.marked = true;
}

// True when a floor corner (the end of one of its floor edges) holds up
// the player's foot: it stands there and turns towards that floor.
bool FloorCornerCheck(FloorAccumulator& floor, const Contact& c, RigidBody& floorBody,
                      RigidBody& player) {
    // The foot resting on the corner where a floor edge ends: the player
    // is coming over a crest or onto the next floor piece. It stands there
    // and turns towards that floor; taken as a wall, the corner would hold
    // it back (a walk stalls at the seam, a run hops).
    const bool floorIsA = c.bodyA == &floorBody;
    const uint32_t polygonIndex = floorIsA ? c.polygonA : c.polygonB;
    if (polygonIndex >= floorBody.shape.worldPolygons.size() ||
        (floorIsA ? c.supportB : c.supportA).count != 2)
        return false;
    const CollisionPolygon& polygon = floorBody.shape.worldPolygons[polygonIndex];
    const Vec2 corner = (floorIsA ? c.supportA : c.supportB).points[0];
    const Vec2 normal = c.normal * (floorIsA ? -1.0f : 1.0f);
    Vec2 f0, f1;
    if (!FootEdge(player, f0, f1) || std::fabs(Cross(normal, Normalized(f1 - f0))) < 0.99f)
        return false; // not the foot that touches
    for (const auto& [edge, set] : floorBody.floorEdges) {
        if (set != polygonIndex || edge >= polygon.count)
            continue;
        const Vec2 e0 = polygon.Vertex(edge + polygon.count - 1);
        const Vec2 e1 = polygon.vertices[edge];
        if (corner != e0 && corner != e1)
            continue;
        // Only a floor the player could stand on from where it stands.
        const Vec2 up = Normalized(Vec2(e1.y - e0.y, e0.x - e1.x));
        if (Dot(up, normal) < std::cos(kMaxFloorTurn))
            continue;
        AccumulateFloorContact(floor, c, floorBody, player, TurnOntoLine(f1 - f0, e1 - e0));
        return true;
    }
    return false;
}

} // namespace

bool PhysicsWorld::FloorContactCheck(const Contact& c, RigidBody& floorBody, RigidBody& player) {
    const bool floorIsA = c.bodyA == &floorBody;
    const uint32_t polygonIndex = floorIsA ? c.polygonA : c.polygonB;
    const SupportPoints& support = floorIsA ? c.supportA : c.supportB;
    if (support.count == 1)
        return FloorCornerCheck(floor, c, floorBody, player);
    if (support.count != 2 || polygonIndex >= floorBody.shape.worldPolygons.size())
        return false;
    const CollisionPolygon& polygon = floorBody.shape.worldPolygons[polygonIndex];
    bool onEdge = false;
    for (const auto& [edge, set] : floorBody.floorEdges) {
        if (set != polygonIndex || edge >= polygon.count)
            continue;
        const Vec2 e0 = polygon.Vertex(edge + polygon.count - 1);
        const Vec2 e1 = polygon.vertices[edge];
        const Vec2 s0 = support.points[0];
        const Vec2 s1 = support.points[1];
        if ((s0 == e0 && s1 == e1) || (s0 == e1 && s1 == e0)) {
            onEdge = true;
            break;
        }
    }
    if (!onEdge)
        return false;
    AccumulateFloorContact(floor, c, floorBody, player, std::nullopt);
    return true;
}

void PhysicsWorld::FloorResponse(const Contact& c, RigidBody& player) {
    RigidBody& a = *c.bodyA;
    RigidBody& b = *c.bodyB;
    player.touchingFloor = true;
    const Vec2 normal = &player == &a ? c.normal : -c.normal;
    Vec2 f0, f1;
    if (FootEdge(player, f0, f1)) {
        const float p0 = Dot(f0, normal);
        const float p1 = Dot(f1, normal);
        player.floorSide = p0 < p1 ? 2 : 3;
        if (c.edgeAgainstEdge && std::fabs(p0 - p1) < kLevelFoot)
            player.angle += kPi * 0.5f;
    }
    const SupportPoints& own = &player == &a ? c.supportA : c.supportB;
    const bool turned = player.followsFloor && own.count == 1 && TurnAboutCorner(c, player, normal);
    // Once turned, the floor has set how the player lies: its push must not
    // spin the player off that footing again (as with the accumulator).
    const float inverseInertia = player.inverseInertia;
    Vec2 translation = c.translation;
    if (turned) {
        player.inverseInertia = 0.0f;
        // Now lying flat against the floor body, pushed out exactly it would
        // touch by less than counts as a contact and pass into it next step.
        const float depth = translation.Length();
        if (depth > 0.0f)
            translation -= translation * (std::fmin(depth, kFloorSlop) / depth);
    }
    ImpulseResponse(a, b, translation, c.normal, c.responsePoints,
                    (a.restitution + b.restitution) * 0.5f, (a.friction + b.friction) * 0.5f);
    player.inverseInertia = inverseInertia;
}

bool PhysicsWorld::TurnAboutCorner(const Contact& c, RigidBody& player, Vec2 normal) {
    const uint32_t polygonIndex = &player == c.bodyA ? c.polygonA : c.polygonB;
    if (polygonIndex >= player.shape.worldPolygons.size())
        return false;
    const CollisionPolygon& polygon = player.shape.worldPolygons[polygonIndex];
    if (polygon.count < 3)
        return false;
    // The support point lies where the corner meets the floor, which for a
    // contact still ahead is a little further along: pivot about the corner
    // itself.
    const Vec2 touch = (&player == c.bodyA ? c.supportA : c.supportB).points[0];
    uint32_t k = 0;
    for (uint32_t v = 1; v < polygon.count; ++v)
        if (DistanceSquared(polygon.vertices[v], touch) <
            DistanceSquared(polygon.vertices[k], touch))
            k = v;
    const Vec2 corner = polygon.vertices[k];
    // Of the two edges at the corner, the one nearer the floor's line comes
    // down onto it.
    const Vec2 along = Perpendicular(normal);
    const float before = TurnOntoLine(polygon.Vertex(k + polygon.count - 1) - corner, along);
    const float after = TurnOntoLine(polygon.Vertex(k + 1) - corner, along);
    const float turn = std::fabs(before) < std::fabs(after) ? before : after;
    if (std::fabs(turn) < kMinFloorTurn || std::fabs(turn) > kMaxFloorTurn)
        return false;
    const float cosine = std::cos(turn);
    const float sine = std::sin(turn);
    const Vec2 arm = player.position - corner;
    player.position = corner + Vec2(arm.x * cosine - arm.y * sine, arm.x * sine + arm.y * cosine);
    player.angle += turn;
    // The floor has set how the player lies; spin it kept would only strike
    // the floor again with the other corner.
    player.angularVelocity = 0.0f;
    return true;
}

void PhysicsWorld::ApplyFloorAccumulator() {
    if (floor.player) {
        RigidBody& p = *floor.player;
        Vec2 n = floor.translation;
        if (n.x == 0.0f && n.y == 0.0f)
            n = floor.normal; // contacts still ahead: only their normals say which way
        n.Normalize();
        const float depth = floor.translation.Length();
        p.position += floor.translation - n * std::fmin(depth, kFloorSlop);
        if (!floor.footLaid) {
            floor.angle += floor.digAngle;
            floor.count += floor.digCount;
        }
        if (floor.count != 0)
            p.angle += floor.angle / static_cast<float>(floor.count);
        // The floor sets how the player stands, so the floor's push does not
        // turn it (and any spin it had stops): the impulse acts once, between
        // the contacts, as on a body that cannot turn. Acting at two points
        // one after the other would trade spin for a slide every step.
        p.angularVelocity = 0.0f;
        const float inverseInertia = p.inverseInertia;
        p.inverseInertia = 0.0f;
        RigidBody ground; // immovable, at rest
        const Vec2 middle = Midpoint(floor.firstPoint, floor.secondPoint);
        const Vec2 points[2] = {middle, middle};
        ImpulseResponse(p, ground, Vec2(), n, points, p.restitution * 0.5f, p.friction * 0.5f);
        p.inverseInertia = inverseInertia;
    }
    ResetFloorAccumulator();
}

void PhysicsWorld::ResetFloorAccumulator() {
    RigidBody* player = floor.player;
    floor = FloorAccumulator();
    floor.player = player;
}

void ImpulseResponse(RigidBody& a, RigidBody& b, Vec2 translation, Vec2 n, const Vec2 points[2],
                     float e, float mu) {
    const float massSum = a.inverseMass + b.inverseMass;
    if (massSum > 0.0f) {
        a.position += translation * (a.inverseMass / massSum);
        b.position -= translation * (b.inverseMass / massSum);
    }
    for (int k = 0; k < 2; ++k) {
        const Vec2 p = points[k];
        const Vec2 rA = p - a.position;
        const Vec2 rB = p - b.position;
        const Vec2 vr = (a.velocity + Perpendicular(rA) * a.angularVelocity) -
                        (b.velocity + Perpendicular(rB) * b.angularVelocity);
        const float vn = Dot(vr, n);
        if (!(vn <= 0.0f))
            continue;
        const float crossAn = Cross(rA, n);
        const float crossBn = Cross(rB, n);
        const float normalDenominator =
            massSum + crossAn * crossAn * a.inverseInertia + crossBn * crossBn * b.inverseInertia;
        if (!(normalDenominator > 0.0f))
            continue; // neither body can be moved here
        const float jn = vn / normalDenominator;
        const Vec2 t = Normalized(n * vn - vr);
        const float crossAt = Cross(rA, t);
        const float crossBt = Cross(rB, t);
        const float tangentDenominator =
            massSum + crossAt * crossAt * a.inverseInertia + crossBt * crossBt * b.inverseInertia;
        float jt = tangentDenominator > 0.0f ? Dot(vr, t) / tangentDenominator : 0.0f;
        if (std::fabs(jn * mu) < std::fabs(jt))
            jt = jn * std::fabs(mu);
        const Vec2 impulse = n * (-(e + 1.0f) * jn) + t * (-jt);
        a.velocity += impulse * a.inverseMass;
        b.velocity -= impulse * b.inverseMass;
        a.angularVelocity += Cross(rA, impulse) * a.inverseInertia;
        b.angularVelocity -= Cross(rB, impulse) * b.inverseInertia;
    }
}

void PhysicsWorld::QueueDebugLine(Vec2 from, Vec2 to, float r, float g, float b) {
    debugLines.push_back({from, to, r, g, b});
}

void PhysicsWorld::DrawDebug() {
    if (debugLine) {
        for (const RigidBody* body : bodies) {
            for (const CollisionPolygon& polygon : body->shape.worldPolygons)
                for (uint32_t k = 0; k < polygon.count; ++k) {
                    const Vec2 a = polygon.Vertex(k + polygon.count - 1);
                    const Vec2 b = polygon.vertices[k];
                    debugLine(a.x, a.y, b.x, b.y, 0.0f, 0.0f, 0.0f);
                }
            Vec2 f0, f1;
            if (body->isPlayer && FootEdge(*body, f0, f1))
                debugLine(f0.x, f0.y, f1.x, f1.y, 255.0f, 0.0f, 0.0f);
        }
        for (const DebugLine& l : debugLines)
            debugLine(l.from.x, l.from.y, l.to.x, l.to.y, l.r, l.g, l.b);
    }
    debugLines.clear();
}

} // namespace Flurr
