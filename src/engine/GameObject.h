#pragma once
// A game object: an id, a 2D transform and an ordered list of owned
// components. It has no behaviour of its own. The Factory creates, records
// and destroys objects; ids come from one counter and are never reused in
// a run, so an id is a safe weak reference to an object.

#include <cstdint>
#include <vector>

#include "serialization/Element.h"

namespace Flurr {

class ASerializer;
class Component;

class GameObject {
public:
    GameObject();
    ~GameObject();
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    // The first component of that class type id, or null.
    Component* GetComponent(int32_t typeId) const;
    template <typename T> T* Get() const { return static_cast<T*>(GetComponent(T::TypeId())); }
    // Attaches a component the object then owns: sets its owner and
    // appends it. Initialising it is the caller's step.
    void AddComponent(Component* component);
    // Takes the pointer off the list; the component is not destroyed.
    void RemoveComponent(Component* component);
    // "X", "Y", "WIDTH", "HEIGHT", "XSCALE", "YSCALE", "ROT" at the
    // serializer's current level.
    void SerializeTransform(ASerializer& serializer);
    // "GameObject": the transform, then each component in list order, then
    // what was kept from reading it (below).
    void Save(ASerializer& serializer);
    // Frees and deletes the components, last first. Each is taken off the
    // list before its Free(), so a sibling looking it up meanwhile finds
    // nothing rather than a deleted object.
    void Destroy();

    std::vector<Component*> components;
    int32_t id;
    float x = 0.0f;
    float y = 0.0f;
    float rotation = 0.0f;
    float xScale = 1.0f;
    float yScale = 1.0f;
    int32_t width = 1;
    int32_t height = 1;
    // False for objects that live only while the game runs (particles):
    // a saved level leaves them out.
    bool savedWithLevel = true;
    // What its file held that this game does not read (a misspelt or newer
    // component, a field it does not know), each with its place below the
    // object: saved back as it was, so a level passing through this game
    // or its editor loses nothing.
    std::vector<KeptElement> kept;

    // The id the next object will get.
    static int32_t PeekNextId();
};

} // namespace Flurr
