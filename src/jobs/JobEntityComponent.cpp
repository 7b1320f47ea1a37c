#include "jobs/JobEntityComponent.h"

#include "engine/GameObject.h"
#include "engine/Report.h"
#include "graphics/GraphicsComponent.h"
#include "particles/ParticleSystem.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "player/PlayerComponent.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {

// A solid entity falls as level objects do.
constexpr float kSolidGravity = -10.0f;

const char* const kTypeNames[] = {"Checkpoint", "ObjectRegion", "RegionObject"};

const PhysicsComponent* BodyOf(const GameObject* object) {
    const PhysicsComponent* physics = object ? object->Get<PhysicsComponent>() : nullptr;
    return physics && physics->body ? physics : nullptr;
}

} // namespace

JobEntityComponent::~JobEntityComponent() {
    Free();
}

void JobEntityComponent::Initialize() {
    Join({Spaces::Game});
}

void JobEntityComponent::Free() {
    Leave();
}

void JobEntityComponent::Serialize(ASerializer& s) {
    s.Begin("JobEntityComponent");
    s.IntField("EntityID", EntityID);
    s.StringField("JobName", JobName);
    s.UnsignedField("PreActivationState", PreActivationState);
    s.UnsignedField("ActivationAction", ActivationAction);
    s.UnsignedField("PostCompletionAction", PostCompletionAction);
    const auto typeIndex = static_cast<int32_t>(Type);
    std::string type = typeIndex >= 0 && typeIndex < 3 ? kTypeNames[typeIndex] : "";
    s.StringField("Type", type);
    for (int32_t i = 0; i < 3; ++i)
        if (type == kTypeNames[i])
            Type = static_cast<JobEntityType>(i);
    s.StringField("CompletionEffect", CompletionEffect);
    s.End("JobEntityComponent");
    // Reading starts the entity afresh; writing (a save, a copy) must not
    // hide a target the player is working on.
    if (!s.IsSaving()) {
        activated = false;
        if (!completed)
            ApplyState();
    }
}

void JobEntityComponent::ApplyState() {
    ApplyBits(activated ? ActivationAction : PreActivationState);
}

void JobEntityComponent::ApplyBits(uint32_t bits) {
    if (!owner)
        return;
    if (GraphicsComponent* sprite = owner->Get<GraphicsComponent>())
        sprite->Opacity = (bits & EntityState::Visible) ? 1.0f : 0.0f;
    if (PhysicsComponent* physics = owner->Get<PhysicsComponent>()) {
        const bool solid = (bits & EntityState::Solid) != 0;
        physics->ghost = !solid;
        physics->gravity = solid ? kSolidGravity : 0.0f;
        if (physics->body) {
            physics->body->ghost = !solid;
            physics->body->gravity = physics->gravity;
        }
    }
}

void JobEntityComponent::Complete() {
    completed = true;
    if (JobSystem* jobs = JobSystem::Instance())
        jobs->HandleJobEvent(
            {JobEventKind::EntityCompleted, JobName, {static_cast<uint32_t>(EntityID)}});
    activated = false;
    if (!CompletionEffect.empty() && owner)
        if (ParticleSystem* particles = ParticleSystem::Instance())
            particles->CreateEffect(CompletionEffect, owner->x, owner->y);
    ApplyBits(PostCompletionAction);
}

void JobEntityComponent::Reset() {
    completed = false;
    // A reset entity waits for the next start: it must not stay a visible,
    // solid target of a job that is no longer running.
    activated = false;
    ApplyState();
}

void JobEntityComponent::Update(float) {
    JobSystem* jobs = JobSystem::Instance();
    if (!activated || !jobs || !owner || JobName != jobs->currentJob)
        return;
    switch (Type) {
    case JobEntityType::Checkpoint: {
        const PhysicsComponent* mine = BodyOf(owner);
        PlayerComponent* player = JobWorld::Player();
        const PhysicsComponent* theirs = player ? BodyOf(player->owner) : nullptr;
        if (mine && theirs && mine->body->Touched(theirs->body))
            Complete();
        break;
    }
    case JobEntityType::ObjectRegion:
        CountRegion();
        break;
    default:
        break;
    }
}

void JobEntityComponent::CountRegion() {
    JobSystem* jobs = JobSystem::Instance();
    // Only a region node says which objects to count; without one the
    // job's data is wrong, and the region reports nothing.
    const std::vector<LogicNode*> nodes =
        jobs->GetJob(jobs->currentJob).tree.FindActiveNodes(static_cast<uint32_t>(EntityID));
    const LogicNode* region = nullptr;
    for (const LogicNode* node : nodes)
        if (node->type == NodeType::ObjectRegion && node->params.size() > LogicNode::ObjectId) {
            region = node;
            break;
        }
    if (!region) {
        WarnOnce(kNoObjectsText);
        return;
    }
    const uint32_t objectId = region->params[LogicNode::ObjectId];
    uint32_t inside = 0, outside = 0;
    if (const PhysicsComponent* mine = BodyOf(owner)) {
        for (JobEntityComponent* other : jobs->Entities()) {
            if (other->Type != JobEntityType::RegionObject || other->JobName != JobName ||
                static_cast<uint32_t>(other->EntityID) != objectId)
                continue;
            const PhysicsComponent* theirs = BodyOf(other->owner);
            if (theirs && mine->body->Touched(theirs->body))
                ++inside;
            else
                ++outside;
        }
    }
    jobs->HandleJobEvent(
        {JobEventKind::RegionCount, JobName, {static_cast<uint32_t>(EntityID), inside, outside}});
}

} // namespace Flurr
