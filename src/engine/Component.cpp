#include "engine/Component.h"

#include "engine/Report.h"

namespace Flurr {

ComponentRegistry& GetComponentRegistry() {
    static ComponentRegistry registry;
    return registry;
}

void RegisterComponentPrototype(std::unique_ptr<Component> prototype) {
    ComponentRegistry& r = GetComponentRegistry();
    const int32_t id = prototype->GetTypeId();
    if (r.componentPrototypes.count(id))
        return;
    r.componentTypeIds[prototype->GetName()] = id;
    r.order.push_back(prototype.get());
    r.componentPrototypes[id] = std::move(prototype);
}

Component* CreateComponent(const std::string& name) {
    ComponentRegistry& r = GetComponentRegistry();
    auto idIt = r.componentTypeIds.find(name);
    if (idIt == r.componentTypeIds.end()) {
        Warn("no component class is called \"" + name + "\"; skipped");
        return nullptr;
    }
    auto protoIt = r.componentPrototypes.find(idIt->second);
    if (protoIt == r.componentPrototypes.end())
        return nullptr;
    return protoIt->second->Clone();
}

} // namespace Flurr
