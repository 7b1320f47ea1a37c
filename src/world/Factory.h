#pragma once
// The Factory owns game objects. It creates them (empty, from an archetype
// file, a level file, a file of several objects, or text), records each
// by id, and destroys them one at a time or all at once at a level change.
//
// Driven by the Core: Update() runs once per frame and carries out what
// was asked for during the previous frame -- queued destructions (each
// announced with GODestructionNotifyMessage) and the id-47 commands
// "LoadLevel <file>" and "UnloadLevel" -- at a point where no component is
// in the middle of its own update.
//
// Removing an object from inside an update or a message handler must go
// through DestroyLater(): the object leaves `objects` at once, its
// components are freed at once (so they unregister), and its memory goes
// in the next Update. DestroyObject() deletes on the spot.
//
// Invariant: every object in `objects` is alive and not dying; every
// object in `pendingDestruction` is dying, unrecorded and listed once.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "serialization/Element.h"

namespace Flurr {

class GameObject;
class ASerializer;
class LoaderBase;

struct FactoryName {
    static constexpr const char* value = "Factory";
};

class Factory : public ISystem<Factory, FactoryName> {
public:
    Factory();
    ~Factory() override;

    // A new recorded object with the next id and the default transform.
    GameObject* CreateGameObject();
    // Un-records, frees and deletes at once. An object that is not
    // recorded (already destroyed, dying, or one the caller owns) is left
    // alone.
    void DestroyObject(GameObject* object);
    // Deferred destruction, safe from inside the object's own update.
    // Repeated calls do nothing.
    void DestroyLater(GameObject* object);
    // The recorded object with that id, or null: how a reference held as
    // an id is followed.
    GameObject* FindObject(int32_t id) const;

    // Reads a level file: "Background" (sent as SetBackgroundMessage, also
    // when empty) and every "GameObject". Objects already recorded stay.
    void LoadLevel(const std::string& path);
    // The same from level text (the editor's snapshots); `name` only
    // names the text in warnings.
    void LoadLevelText(const std::string& text, const std::string& name);
    // Reads an archetype file into one new recorded object; null when the
    // file is missing or unreadable.
    GameObject* LoadObject(const std::string& path);
    // Reads an object list file; the objects are recorded and appended to
    // `out`.
    void LoadObjects(const std::string& path, std::vector<GameObject*>& out);
    // As LoadObjects, but the objects are the caller's: not recorded, so
    // they survive Free() and level changes.
    void LoadUnrecordedObjects(const std::string& path, std::vector<GameObject*>& out);
    // Reads object text ("Root" holding one "GameObject") into one new
    // recorded object; null when the text has no "Root".
    GameObject* CreateObjectFromText(const std::string& text);
    // Reads object text ("Root" holding one "GameObject") into an object
    // already recorded, in place of its transform and components, as a
    // load would make them; the id stays. False (the object untouched)
    // when the text holds no object.
    bool RebuildObject(GameObject& object, const std::string& text);
    // Reads an object's transform and components from the loader's
    // current element, creating components in registration order.
    void ReadObjectBody(LoaderBase& loader, GameObject* object);

    // Writes every recorded object in id order in the level layout, except
    // those not saved with the level (particles).
    // Returns false when the file could not be written.
    bool SaveLevel(const std::string& path, const std::string& backgroundName);
    // What SaveLevel would write, as text.
    std::string LevelText(const std::string& backgroundName);
    // The background named by the last level loaded.
    const std::string& Background() const { return background; }

    void SendMessage(Message* message) override;
    void Update(float dt) override;
    // Destroys every recorded object and every queued one.
    void Free() override;

    std::vector<GameObject*> pendingDestruction;
    std::map<int32_t, GameObject*> objects;

private:
    void ReadLevel(LoaderBase& loader);
    void WriteLevel(ASerializer& saver, const std::string& backgroundName);
    void ReadObjectList(const std::string& path, std::vector<GameObject*>& out, bool record);
    // ReadObjectBody, then End(`endName`), then what the loader kept unread
    // of the object goes to the object, to be saved with it.
    void ReadKeepingUnread(LoaderBase& loader, GameObject* object, const char* endName);
    void Record(GameObject* object);
    void RunCommand(const std::string& command);

    std::vector<std::string> pendingCommands;
    std::string background;
    // What the last level's "Root" held that the game does not read.
    std::vector<KeptElement> levelKept;
};

} // namespace Flurr
