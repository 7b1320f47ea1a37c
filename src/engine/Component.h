#pragma once
// Components: all behaviour of a game object lives in them. Each class is
// registered once, by name, with a prototype; loading an object clones the
// prototypes whose names appear in the object's element, in ascending type
// id (registration order) whatever the file order, attaches each clone,
// initialises it and then lets it read its data.
//
// Lifecycle: clone -> attached (owner set) -> Initialize() (register with
// the driving system) -> Serialize (read) -> frames -> Free() (unregister)
// -> destroyed with its object. Free() must be safe to call twice.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/TypeId.h"

namespace Flurr {

class ASerializer;
class GameObject;
class Message;

class Component {
public:
    Component() = default;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    virtual ~Component() = default;

    virtual void Initialize() {}
    virtual void Update(float dt) { (void)dt; }
    virtual void SendMessage(Message* message) { (void)message; }
    virtual void Free() {}
    // A new instance of the same class with default values (not a copy).
    virtual Component* Clone() const = 0;
    // By convention wraps the fields in an object named after the class.
    virtual void Serialize(ASerializer& serializer) { (void)serializer; }
    virtual std::string GetName() const = 0;
    virtual int32_t GetTypeId() const = 0;

    GameObject* owner = nullptr;
};

// Between Component and each concrete class; `ComponentName` is a tag type
// carrying the name: `struct RotatorName { static constexpr const char* value = "Rotator"; };`
template <typename ComponentClass, typename ComponentName> class ComponentBase : public Component {
public:
    static int32_t TypeId() { return ClassTypeId<ComponentClass>(); }
    static const char* Name() { return ComponentName::value; }
    Component* Clone() const override { return new ComponentClass(); }
    std::string GetName() const override { return ComponentName::value; }
    int32_t GetTypeId() const override { return TypeId(); }
};

// The process-wide registry of component classes. Filled at start-up and
// never emptied (prototypes live for the whole run). `order` lists the
// prototypes in registration order: the order in which a loaded object's
// components are made, initialised and read.
struct ComponentRegistry {
    std::map<std::string, int32_t> componentTypeIds;
    std::map<int32_t, std::unique_ptr<Component>> componentPrototypes;
    std::vector<Component*> order;
};

ComponentRegistry& GetComponentRegistry();

// Registers T once; later calls have no effect.
void RegisterComponentPrototype(std::unique_ptr<Component> prototype);
template <typename T> void RegisterComponent() {
    if (GetComponentRegistry().componentPrototypes.count(T::TypeId()))
        return;
    RegisterComponentPrototype(std::make_unique<T>());
}

// A fresh component of the registered class of that name; null (with a
// warning) for a name nobody registered.
Component* CreateComponent(const std::string& name);

} // namespace Flurr
