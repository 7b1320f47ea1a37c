#pragma once
// Shared parts of the tests: a temporary folder for real data files, a log
// of reports, a system that records what it hears, a builder of level text,
// and three small component classes with a driving system. They live in a
// named namespace so that every test file registers the same classes.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <ranges>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/GameSystem.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace EngineTest {

// The name type the engine's system and component templates take.
template <const char* Name> struct Named { static constexpr const char* value = Name; };

// What components and systems did, in order.
inline std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The text an object's Save or a component's Serialize writes.
template <typename T> std::string SavedText(T& saved) {
    Flurr::StringSaveSerializer saver;
    if constexpr (std::is_same_v<T, Flurr::GameObject>)
        saved.Save(saver);
    else
        saved.Serialize(saver);
    saver.Finish();
    return saver.Result();
}

// Sends a message made on the spot to a core, a system or a component.
template <typename To> void Send(To& to, Flurr::Message&& message) {
    to.SendMessage(&message);
}

// A fresh temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root = std::filesystem::temp_directory_path() /
               ("cloudmere-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(root);
    }
    ~TempDir() {
        std::error_code ec;
        // A test may have made the folder read-only.
        std::filesystem::permissions(root, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(root, ec);
    }
    TempDir(const TempDir&) = delete;

    std::string Path(const std::string& relative) const { return (root / relative).string(); }

    std::string Write(const std::string& relative, const std::string& text) const {
        const std::filesystem::path file = root / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file.string();
    }

    std::string Read(const std::string& relative) const {
        std::ostringstream text;
        text << std::ifstream(root / relative, std::ios::binary).rdbuf();
        return text.str();
    }

    const std::filesystem::path& Root() const { return root; }

private:
    std::filesystem::path root;
};

// What the game reported, as data: while a WarningLog lives, warnings and
// errors come to it without their prefix instead of going to stderr, and boxes
// as "Error! <text>" (on stderr too). The old receivers get them back after.
class WarningLog {
public:
    WarningLog()
        : previous(Flurr::SetWarningSink([this](const auto& w) { texts.push_back(w.text); })),
          previousBox(Flurr::SetErrorBoxHandler([this](const auto& caption, const auto& text) {
              texts.push_back(caption + " " + text);
          })) {}
    ~WarningLog() {
        Flurr::SetWarningSink(std::move(previous));
        Flurr::SetErrorBoxHandler(std::move(previousBox));
    }
    WarningLog(const WarningLog&) = delete;

    const std::vector<std::string>& Texts() const { return texts; }
    // The texts holding `part`; all of them for an empty one.
    std::ptrdiff_t Count(const std::string& part = "") const {
        return std::ranges::count_if(
            texts, [&](const auto& text) { return EngineTest::Contains(text, part); });
    }
    bool Contains(const std::string& part) const { return Count(part) > 0; }
    friend std::ostream& operator<<(std::ostream& out, const WarningLog& log) {
        return out << testing::PrintToString(log.texts);
    }

private:
    Flurr::WarningSink previous;
    Flurr::ErrorBoxHandler previousBox;
    std::vector<std::string> texts;
};

// Records every message it hears as a readable line, and every update; its
// hooks act from inside a frame or a delivery, or note more state per line.
inline constexpr char kRecorderName[] = "TestRecorder";

class Recorder : public Flurr::ISystem<Recorder, Named<kRecorderName>> {
public:
    explicit Recorder(std::string label_ = "Recorder") : label(std::move(label_)) {}
    ~Recorder() override { Events().push_back("~" + label); }

    // A recorder added to `core` (which owns it), hearing `kinds`.
    static Recorder* AddTo(Flurr::Core& core, const std::vector<int32_t>& kinds = {},
                           std::string label = "Recorder") {
        auto* recorder = new Recorder(std::move(label));
        core.AddSystem(recorder);
        recorder->Hear(core, kinds);
        return recorder;
    }
    void Hear(Flurr::Core& core, const std::vector<int32_t>& kinds) {
        for (int32_t id : kinds)
            core.RegisterForMessage(this, id);
    }

    void SendMessage(Flurr::Message* message) override {
        ids.push_back(message->id);
        log.push_back(Describe(message) + (note ? note(message) : ""));
        if (onMessage)
            onMessage(message);
    }
    void Update(float dt) override {
        ++updates;
        steps.push_back(dt);
        Events().push_back("Update " + label);
        if (onUpdate)
            onUpdate(dt);
    }
    void Free() override { Events().push_back("Free " + label); }
    void Initialize() override { Events().push_back("Initialize " + label); }

    // The lines of the log that start with `start`.
    std::vector<std::string> Lines(const std::string& start) const {
        std::vector<std::string> lines;
        std::ranges::copy_if(log, std::back_inserter(lines),
                             [&](const std::string& line) { return line.starts_with(start); });
        return lines;
    }
    std::size_t Count(const std::string& start) const { return Lines(start).size(); }
    // The lines logged since the last call.
    std::vector<std::string> Take() {
        const std::size_t from = std::min(taken, log.size());
        taken = log.size();
        return {log.begin() + static_cast<std::ptrdiff_t>(from), log.end()};
    }

    // The kind of message and the payload the tests look at, in one line.
    static std::string Describe(const Flurr::Message* m) {
        using namespace Flurr;
        namespace Id = MessageId;
        // clang-format off
        static const std::map<int32_t, std::string> kinds = {
            {Id::DrawText, "Text"}, {Id::BasicTrigger, "Event"},
            {Id::PostProcessTransition, "PostProcess"}, {Id::CharacterTyped, "Char"},
            {Id::KeyTriggered, "KeyTriggered"}, {Id::KeyPressed, "KeyPressed"},
            {Id::KeyReleased, "KeyReleased"}, {Id::MouseMoved, "MouseMoved"},
            {Id::MouseClicked, "MouseClicked"}, {Id::MousePressed, "MousePressed"},
            {Id::MouseReleased, "MouseReleased"}, {Id::MouseScrolled, "Scrolled"},
            {Id::DoubleClick, "DoubleClick"}, {Id::XboxTriggered, "PadTriggered"},
            {Id::XboxPressed, "PadPressed"}, {Id::XboxReleased, "PadReleased"},
            {Id::XboxLThumbMoved, "LThumb"}, {Id::XboxRThumbMoved, "RThumb"},
            {Id::XboxTriggerMoved, "Triggers"}, {Id::PlaySound, "Play"}, {Id::StopSound, "Stop"},
            {Id::StopAllSounds, "StopAll"}, {Id::WM, "WM"}, {Id::SetBackground, "Background"},
            {Id::LevelChange, "LevelChange"}};
        // clang-format on
        const auto kind = kinds.find(m->id);
        std::ostringstream out;
        out << (kind == kinds.end() ? "id " + std::to_string(m->id) : kind->second);
        if (const auto* k = As<KeyMessage>(m))
            out << " " << int(k->key);
        else if (const auto* c = As<CharacterTypedMessage>(m))
            out << " " << int(static_cast<unsigned char>(c->character));
        else if (const auto* v = As<MouseMovedMessage>(m))
            out << " " << v->x << " " << v->y << " " << v->leftHeld;
        else if (const auto* b = As<MouseButtonMessage>(m))
            out << " " << b->x << " " << b->y << " " << int(b->button);
        else if (const auto* s = As<MouseScrolledMessage>(m))
            out << (s->up ? " up" : " down");
        else if (const auto* x = As<XboxButtonMessage>(m))
            out << " 0x" << std::hex << x->button;
        else if (const auto* t = As<XboxThumbMessage>(m))
            out << " " << t->x << " " << t->y << " " << t->level;
        else if (const auto* g = As<XboxTriggerMoved>(m))
            out << " " << g->rightLevel << " " << g->leftLevel;
        else if (const auto* w = As<WMMessage>(m))
            out << " 0x" << std::hex << w->code << std::dec << " " << w->wParam << " " << w->lParam;
        else if (const auto* p = As<PlaySoundMessage>(m))
            out << " " << p->name << " " << p->volume << " " << p->loops;
        else if (const auto* s = As<StopSoundMessage>(m))
            out << " " << s->name;
        else if (const auto* t = As<DrawTextMessage>(m))
            out << " " << t->text;
        else if (const auto* e = As<BasicTriggerMessage>(m))
            out << " " << e->name;
        else if (const auto* b = As<SetBackgroundMessage>(m))
            out << " " << b->path;
        else if (const auto* p = As<PostProcessTransitionMessage>(m))
            out << " " << p->record.duration;
        return out.str();
    }

    std::string label;
    int updates = 0;
    std::vector<float> steps;
    std::vector<int32_t> ids;
    std::vector<std::string> log;
    std::function<void(Flurr::Message*)> onMessage;
    std::function<void(float)> onUpdate;
    // Appended to each message's line: more of the game's state at that moment.
    std::function<std::string(const Flurr::Message*)> note;

private:
    std::size_t taken = 0;
};

// Drives TestProbes as the logic system drives its components: a snapshot,
// skipping those unregistered meanwhile.
inline constexpr char kDriverName[] = "TestDriver";

class Driver : public Flurr::ISystem<Driver, Named<kDriverName>> {
public:
    static Driver*& Instance() {
        static Driver* instance = nullptr;
        return instance;
    }
    Driver() { Instance() = this; }
    ~Driver() override {
        if (Instance() == this)
            Instance() = nullptr;
        Events().push_back("~Driver");
    }

    void Update(float dt) override {
        const std::vector<Flurr::Component*> snapshot = components;
        for (Flurr::Component* c : snapshot)
            if (std::ranges::count(components, c))
                c->Update(dt);
    }
    void Free() override { Events().push_back("Free Driver"); }

    std::vector<Flurr::Component*> components;
};

// Registered first: a sprite-like component with a little data.
inline constexpr char kSpriteName[] = "TestSprite";
class Sprite : public Flurr::ComponentBase<Sprite, Named<kSpriteName>> {
public:
    void Initialize() override { Events().push_back("Sprite::Initialize image=" + image); }
    void Free() override { Events().push_back("Sprite::Free"); }
    void Serialize(Flurr::ASerializer& s) override {
        s.Begin("TestSprite");
        s.StringField("Image", image);
        s.FloatField("Depth", depth);
        s.End("TestSprite");
        if (!s.IsSaving())
            Events().push_back("Sprite::Serialize image=" + image);
    }
    std::string image;
    float depth = 0.0f;
};

// Registered third: a rotator-like component.
inline constexpr char kSpinnerName[] = "TestSpinner";
class Spinner : public Flurr::ComponentBase<Spinner, Named<kSpinnerName>> {
public:
    void Initialize() override { Events().push_back("Spinner::Initialize"); }
    void Free() override { Events().push_back("Spinner::Free"); }
    void Serialize(Flurr::ASerializer& s) override {
        s.Begin("TestSpinner");
        s.FloatField("Speed", speed);
        s.End("TestSpinner");
        if (!s.IsSaving())
            Events().push_back("Spinner::Serialize");
    }
    float speed = 1.0f;
};

// Registered second: looks up its siblings when freed and reports whether
// its driving system still exists; can remove its own object mid-update.
inline constexpr char kProbeName[] = "TestProbe";
class Probe : public Flurr::ComponentBase<Probe, Named<kProbeName>> {
public:
    void Initialize() override {
        if (Driver* d = Driver::Instance())
            d->components.push_back(this);
    }
    void Update(float) override {
        ++updates;
        if (destroySelf) {
            Flurr::Factory* factory = Flurr::Factory::Instance();
            factory->DestroyLater(owner);
            factory->DestroyLater(owner); // a second request must change nothing
            // The object is still there to read after asking for its end.
            Events().push_back("Probe::Update destroyed " + std::to_string(owner->id));
        }
    }
    void Free() override {
        auto has = [](bool present) { return std::string(present ? "1" : "0"); };
        Events().push_back("Probe::Free sprite=" + has(owner && owner->Get<Sprite>()) +
                           " spinner=" + has(owner && owner->Get<Spinner>()) +
                           " driver=" + has(Driver::Instance()));
        if (Driver* d = Driver::Instance())
            std::erase(d->components, this);
        // Like a perch sending its birds away when it goes.
        if (takesWithIt >= 0)
            if (Flurr::Factory* factory = Flurr::Factory::Instance())
                factory->DestroyLater(factory->FindObject(takesWithIt));
    }
    void Serialize(Flurr::ASerializer& s) override {
        s.Begin("TestProbe");
        s.BoolField("DestroySelf", destroySelf);
        s.End("TestProbe");
    }
    bool destroySelf = false;
    int updates = 0;
    int32_t takesWithIt = -1; // id of an object to remove when this one goes
};

// Registers the three classes, in this order, the first time it runs.
inline void RegisterTestComponents() {
    Flurr::RegisterComponent<Sprite>();
    Flurr::RegisterComponent<Probe>();
    Flurr::RegisterComponent<Spinner>();
}

// (Plain loops: the sanitizer build's clang cannot compile libstdc++ 12's
// range views.)
inline std::vector<std::string> ComponentNames(const Flurr::GameObject* object) {
    std::vector<std::string> names;
    for (const Flurr::Component* c : object->components)
        names.push_back(c->GetName());
    return names;
}

inline std::vector<int32_t> RecordedIds(const Flurr::Factory& factory) {
    std::vector<int32_t> ids;
    for (const auto& [id, object] : factory.objects)
        ids.push_back(id);
    return ids;
}

// The names of the active spaces, in name order.
inline std::vector<std::string> ActiveSpaces(const Flurr::SpaceManager& spaces) {
    std::vector<std::string> names;
    for (const auto& [name, space] : spaces.spacesByName)
        if (space->active)
            names.push_back(name);
    return names;
}

// Every component of class T among the factory's objects, in the order
// the objects were made; the first of them, or null.
template <typename T> std::vector<T*> AllComponents(const Flurr::Factory& factory) {
    std::vector<T*> found;
    for (const auto& [id, object] : factory.objects)
        if (T* c = object->template Get<T>())
            found.push_back(c);
    return found;
}
template <typename T> T* FindComponent(const Flurr::Factory& factory) {
    const std::vector<T*> all = AllComponents<T>(factory);
    return all.empty() ? nullptr : all.front();
}

// Level text as the data files hold it: objects with a transform, components
// as blocks of keys, a physics body with a box outline. Objects() gives the
// objects alone (to add to another level), Text() a whole level.
class LevelText {
public:
    using Keys = std::vector<std::pair<std::string, std::string>>;
    // Moving (density 1), a floor with a top edge to stand on, a ghost, or
    // static.
    enum Body { Moving, Floor, Ghost, Static };

    static std::string Number(float v) {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
    }
    // Starts an object at (x, y); `keys` are more of its transform (WIDTH...).
    LevelText& Object(float x = 0, float y = 0, const Keys& keys = {}) {
        Close();
        text += "  GameObject\n    X:" + Number(x) + "\n    Y:" + Number(y) + "\n";
        for (const auto& [key, value] : keys)
            text += "    " + key + ":" + value + "\n";
        open = true;
        return *this;
    }
    LevelText& With(const std::string& component, const Keys& keys = {}) {
        text += "    " + component + "\n";
        for (const auto& [key, value] : keys)
            text += "      " + key + ":" + value + "\n";
        text += "    -" + component + "\n";
        return *this;
    }
    // A physics body of the current object: a `w` x `h` box centred on it,
    // with `more` (lines of its keys) in the component.
    LevelText& Box(float w, float h, Body body = Moving, const std::string& more = "") {
        const std::string x = Number(w / 2), y = Number(h / 2), set = "\n          ";
        text += "    PhysicsComponent\n      CollisionSets\n        List#4:CollisionSet" + set +
                "-" + x + ",-" + y + set + x + ",-" + y + set + x + "," + y + set + "-" + x + "," +
                y + "\n        -CollisionSet\n";
        if (body == Floor) // the top edge
            text += "        List#4:FloorSet" + set + "false" + set + "false" + set + "false" +
                    set + "true\n        -FloorSet\n";
        const char* kind[] = {"      Density:1\n", "      IsAFloor:true\n", "      Ghost:true\n",
                              ""};
        text += "      -CollisionSets\n" + (kind[body] + more) + "    -PhysicsComponent\n";
        return *this;
    }
    std::string Objects() const { return open ? text + "  -GameObject\n" : text; }
    std::string Text(const std::string& background = "") const {
        return "Root\n" + (background.empty() ? "" : "  Background:" + background + "\n") +
               Objects() + "-Root\n";
    }

private:
    void Close() {
        if (std::exchange(open, false))
            text += "  -GameObject\n";
    }
    std::string text;
    bool open = false;
};

// The text of a route file naming `level` and `next`.
inline std::string RouteText(const std::string& level, const std::string& next) {
    return "Root\n  LevelFile:" + level + "\n  NextFile:" + next +
           "\n  ImageBank:Town\n  SoundBank:Town\n  ConfigBank:Town\n-Root\n";
}

// Two levels on a route: A (two objects) leads to B (one object), and B's
// route file names itself, so B repeats. All paths are absolute.
struct RouteChain {
    RouteChain() {
        levelA = dir.Write("Levels/A.zorvel", LevelText().Object(1).Object(2).Text("A.png"));
        levelB = dir.Write("Levels/B.zorvel", LevelText().Object(3).Text("B.png"));
        routeB = dir.Write("Routes/B.zorvel", RouteText(levelB, dir.Path("Routes/B.zorvel")));
        routeA = dir.Write("Routes/A.zorvel", RouteText(levelA, routeB));
    }
    TempDir dir;
    std::string levelA, levelB, routeA, routeB;
};

} // namespace EngineTest
