#include "world/Factory.h"

#include <algorithm>

#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "serialization/Serializer.h"

namespace Flurr {

Factory::Factory() {
    if (Core* core = Core::Instance())
        core->RegisterForMessage(this, MessageId::Command);
}

Factory::~Factory() {
    Free();
}

void Factory::Record(GameObject* object) {
    objects[object->id] = object;
}

GameObject* Factory::CreateGameObject() {
    auto* object = new GameObject();
    Record(object);
    return object;
}

void Factory::DestroyObject(GameObject* object) {
    if (!object)
        return;
    auto it = objects.find(object->id);
    if (it == objects.end() || it->second != object)
        return;
    objects.erase(it);
    object->Destroy();
    delete object;
}

void Factory::DestroyLater(GameObject* object) {
    if (!object)
        return;
    auto it = objects.find(object->id);
    if (it == objects.end() || it->second != object)
        return; // already dying, already gone, or not ours
    objects.erase(it);
    pendingDestruction.push_back(object);
    // Components stop working now, so nothing drives a dying object.
    for (auto c = object->components.rbegin(); c != object->components.rend(); ++c)
        (*c)->Free();
}

GameObject* Factory::FindObject(int32_t id) const {
    auto it = objects.find(id);
    return it == objects.end() ? nullptr : it->second;
}

void Factory::ReadObjectBody(LoaderBase& loader, GameObject* object) {
    object->SerializeTransform(loader);
    for (Component* prototype : GetComponentRegistry().order) {
        const std::string name = prototype->GetName();
        if (!loader.HasChild(name))
            continue;
        Component* c = CreateComponent(name);
        if (!c)
            continue;
        object->AddComponent(c);
        c->Initialize();
        c->Serialize(loader);
    }
}

void Factory::ReadKeepingUnread(LoaderBase& loader, GameObject* object, const char* endName) {
    const std::size_t depth = loader.Depth();
    ReadObjectBody(loader, object);
    loader.End(endName);
    for (KeptElement& k : loader.TakeKept())
        if (k.path.size() >= depth) {
            k.path.erase(k.path.begin(), k.path.begin() + static_cast<std::ptrdiff_t>(depth));
            object->kept.push_back(std::move(k));
        }
}

void Factory::LoadLevel(const std::string& path) {
    ALoader loader(path);
    if (loader.IsFileMissing() && !loader.IsRefused())
        Warn("level file " + NativePath(path) + " is missing or empty; the level has no objects");
    ReadLevel(loader);
}

void Factory::LoadLevelText(const std::string& text, const std::string& name) {
    StringLoadSerializer loader(text, name);
    ReadLevel(loader);
}

void Factory::ReadLevel(LoaderBase& loader) {
    loader.KeepUnread(true);
    loader.Begin("Root");
    background.clear();
    loader.StringField("Background", background);
    if (Core* core = Core::Instance()) {
        SetBackgroundMessage m(background);
        core->SendMessage(&m);
    }
    while (loader.Begin("GameObject")) {
        GameObject* object = CreateGameObject();
        ReadKeepingUnread(loader, object, "GameObject");
    }
    loader.End("GameObject");
    loader.End("Root");
    levelKept = loader.TakeKept();
    for (KeptElement& k : levelKept)
        if (!k.path.empty())
            k.path.erase(k.path.begin());
}

GameObject* Factory::LoadObject(const std::string& path) {
    ALoader loader(path);
    loader.KeepUnread(true);
    if (loader.IsFileMissing())
        return nullptr;
    loader.Begin("Root");
    GameObject* object = CreateGameObject();
    ReadKeepingUnread(loader, object, "Root");
    return object;
}

void Factory::ReadObjectList(const std::string& path, std::vector<GameObject*>& out, bool record) {
    ALoader loader(path);
    loader.KeepUnread(true);
    loader.Begin("Root");
    while (loader.Begin("GameObject")) {
        GameObject* object = record ? CreateGameObject() : new GameObject();
        out.push_back(object);
        ReadKeepingUnread(loader, object, "GameObject");
    }
    loader.End("GameObject");
    loader.End("Root");
}

void Factory::LoadObjects(const std::string& path, std::vector<GameObject*>& out) {
    ReadObjectList(path, out, true);
}

void Factory::LoadUnrecordedObjects(const std::string& path, std::vector<GameObject*>& out) {
    ReadObjectList(path, out, false);
}

GameObject* Factory::CreateObjectFromText(const std::string& text) {
    StringLoadSerializer loader(text, "<pasted object>");
    loader.KeepUnread(true);
    GameObject* object = nullptr;
    if (loader.Begin("Root")) {
        object = CreateGameObject();
        if (loader.Begin("GameObject"))
            ReadKeepingUnread(loader, object, "GameObject");
        else
            loader.End("GameObject");
    }
    loader.End("Root");
    return object;
}

bool Factory::RebuildObject(GameObject& object, const std::string& text) {
    StringLoadSerializer loader(text, "<edited object>");
    loader.KeepUnread(true);
    const bool holds = loader.Begin("Root") && loader.HasChild("GameObject");
    if (holds) {
        loader.Begin("GameObject");
        object.Destroy();
        object.kept.clear();
        ReadKeepingUnread(loader, &object, "GameObject");
    }
    loader.End("Root");
    return holds;
}

bool Factory::SaveLevel(const std::string& path, const std::string& backgroundName) {
    if (!HasDataExtension(path)) {
        ReportError("cannot save the level as " + path + ": the name must end in .zorvel or .zoml");
        return false;
    }
    ASaver saver(path);
    WriteLevel(saver, backgroundName);
    return saver.Finish();
}

std::string Factory::LevelText(const std::string& backgroundName) {
    StringSaveSerializer saver;
    WriteLevel(saver, backgroundName);
    saver.Finish();
    return saver.Result();
}

void Factory::WriteLevel(ASerializer& saver, const std::string& backgroundName) {
    saver.Begin("Root");
    std::string bg = backgroundName;
    saver.StringField("Background", bg);
    for (auto& [id, object] : objects) {
        (void)id;
        if (object->savedWithLevel)
            object->Save(saver);
    }
    for (const KeptElement& k : levelKept)
        saver.WriteKept(k);
    saver.End("Root");
}

void Factory::SendMessage(Message* message) {
    const auto* command = As<CommandMessage>(message);
    if (!command)
        return;
    const std::string& text = command->command;
    if (text.rfind("LoadLevel", 0) == 0 || text.rfind("UnloadLevel", 0) == 0)
        pendingCommands.push_back(text); // carried out in Update, between frames' work
}

void Factory::RunCommand(const std::string& text) {
    if (text.rfind("LoadLevel", 0) == 0) {
        // The file name starts after "LoadLevel" and one separator.
        if (text.size() <= 10) {
            Warn("command \"" + text + "\" names no level file; ignored");
            return;
        }
        const std::string file = text.substr(10);
        if (!HasDataExtension(file)) {
            Warn("command \"" + text + "\": not a .zorvel or .zoml file; ignored");
            return;
        }
        LoadLevel(file);
    } else if (text.rfind("UnloadLevel", 0) == 0) {
        Free();
    }
}

void Factory::Update(float) {
    // Handlers of the notification may queue further objects; they are
    // taken in the same pass.
    while (!pendingDestruction.empty()) {
        std::vector<GameObject*> batch;
        batch.swap(pendingDestruction);
        for (GameObject* object : batch) {
            if (Core* core = Core::Instance()) {
                GODestructionNotifyMessage m(object);
                core->SendMessage(&m);
            }
            object->Destroy();
            delete object;
        }
    }
    std::vector<std::string> commands;
    commands.swap(pendingCommands);
    for (const std::string& command : commands)
        RunCommand(command);
}

void Factory::Free() {
    // A component's Free() may destroy other objects, at once or through
    // DestroyLater(); go round until neither list has anything left, so no
    // object outlives this call (at shutdown, the systems its components
    // talk to go next).
    while (!pendingDestruction.empty() || !objects.empty()) {
        std::vector<GameObject*> dying;
        dying.swap(pendingDestruction);
        for (GameObject* object : dying) {
            object->Destroy();
            delete object;
        }
        // One at a time, for the same reason.
        while (!objects.empty()) {
            auto first = objects.begin();
            GameObject* object = first->second;
            objects.erase(first);
            object->Destroy();
            delete object;
        }
    }
}

} // namespace Flurr
