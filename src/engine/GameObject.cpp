#include "engine/GameObject.h"

#include <algorithm>

#include "engine/Component.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {
int32_t nextObjectId = 0;
}

int32_t GameObject::PeekNextId() {
    return nextObjectId;
}

GameObject::GameObject() : id(nextObjectId++) {}

GameObject::~GameObject() {
    Destroy();
}

Component* GameObject::GetComponent(int32_t typeId) const {
    for (Component* c : components)
        if (c->GetTypeId() == typeId)
            return c;
    return nullptr;
}

void GameObject::AddComponent(Component* component) {
    component->owner = this;
    components.push_back(component);
}

void GameObject::RemoveComponent(Component* component) {
    auto it = std::find(components.begin(), components.end(), component);
    if (it != components.end())
        components.erase(it);
}

void GameObject::SerializeTransform(ASerializer& s) {
    // A non-finite place, scale or turn would spread NaN through the
    // camera, the physics and every distance check; such a value is refused.
    s.FiniteFloatField("X", x);
    s.FiniteFloatField("Y", y);
    s.IntField("WIDTH", width);
    s.IntField("HEIGHT", height);
    s.FiniteFloatField("XSCALE", xScale);
    s.FiniteFloatField("YSCALE", yScale);
    s.FiniteFloatField("ROT", rotation);
}

void GameObject::Save(ASerializer& s) {
    s.Begin("GameObject");
    SerializeTransform(s);
    for (Component* c : components)
        c->Serialize(s);
    for (const KeptElement& k : kept)
        s.WriteKept(k);
    s.End("GameObject");
}

void GameObject::Destroy() {
    while (!components.empty()) {
        Component* c = components.back();
        components.pop_back();
        c->Free();
        delete c;
    }
}

} // namespace Flurr
