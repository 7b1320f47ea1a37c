#pragma once
// Shared parts for the engine, world and program tests: a temporary folder
// for real data files, a log of reports, a recording system, and three small
// component classes with a driving system, registered in a fixed order.
//
// Everything here lives in one named namespace (not an anonymous one):
// the component classes must be the same classes in every test file, or
// each file would register its own "TestSprite" under a different type id.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
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

namespace EngineTest {

// What components and systems did, in order, for tests about ordering.
inline std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A fresh folder under the system's temp directory, removed afterwards.
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
    TempDir& operator=(const TempDir&) = delete;

    // Absolute path of `relative` inside the folder.
    std::string Path(const std::string& relative) const { return (root / relative).string(); }

    // Writes `text` to `relative` (creating folders) and returns its path.
    std::string Write(const std::string& relative, const std::string& text) const {
        const std::filesystem::path file = root / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << text;
        return file.string();
    }

    std::string Read(const std::string& relative) const {
        std::ifstream in(root / relative, std::ios::binary);
        std::ostringstream buf;
        buf << in.rdbuf();
        return buf.str();
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

// A system that records every message it hears and every update, and runs
// optional hooks so a test can act from inside a frame or a delivery.
struct RecorderName {
    static constexpr const char* value = "TestRecorder";
};

class Recorder : public Flurr::ISystem<Recorder, RecorderName> {
public:
    explicit Recorder(std::string label_ = "Recorder") : label(std::move(label_)) {}
    ~Recorder() override { Events().push_back("~" + label); }

    void SendMessage(Flurr::Message* message) override {
        ids.push_back(message->id);
        log.push_back(Describe(message));
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

    // The id, plus the payload of the kinds the tests look at.
    static std::string Describe(Flurr::Message* message) {
        std::ostringstream out;
        out << message->id;
        if (const auto* m = Flurr::As<Flurr::PlaySoundMessage>(message))
            out << " " << m->name << " " << m->volume << " " << m->loops;
        if (const auto* m = Flurr::As<Flurr::ButtonInputMessage>(message))
            out << " " << m->name;
        if (const auto* m = Flurr::As<Flurr::SetBackgroundMessage>(message))
            out << " " << m->path;
        return out.str();
    }

    std::string label;
    int updates = 0;
    std::vector<float> steps;
    std::vector<int32_t> ids;
    std::vector<std::string> log;
    std::function<void(Flurr::Message*)> onMessage;
    std::function<void(float)> onUpdate;
};

// Drives TestProbe components the way the logic system drives gameplay
// components: they register in Initialize() and unregister in Free(); the
// update walks a snapshot and skips those unregistered meanwhile.
struct DriverName {
    static constexpr const char* value = "TestDriver";
};

class Driver : public Flurr::ISystem<Driver, DriverName> {
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

    void Add(Flurr::Component* c) { components.push_back(c); }
    void Remove(Flurr::Component* c) {
        components.erase(std::remove(components.begin(), components.end(), c), components.end());
    }
    void Update(float dt) override {
        const std::vector<Flurr::Component*> snapshot = components;
        for (Flurr::Component* c : snapshot)
            if (std::find(components.begin(), components.end(), c) != components.end())
                c->Update(dt);
    }
    void Free() override { Events().push_back("Free Driver"); }

    std::vector<Flurr::Component*> components;
};

// Registered first: a sprite-like component with a little data.
struct SpriteName {
    static constexpr const char* value = "TestSprite";
};
class Sprite : public Flurr::ComponentBase<Sprite, SpriteName> {
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
struct SpinnerName {
    static constexpr const char* value = "TestSpinner";
};
class Spinner : public Flurr::ComponentBase<Spinner, SpinnerName> {
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
struct ProbeName {
    static constexpr const char* value = "TestProbe";
};
class Probe : public Flurr::ComponentBase<Probe, ProbeName> {
public:
    void Initialize() override {
        if (Driver* d = Driver::Instance())
            d->Add(this);
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
        std::ostringstream out;
        out << "Probe::Free sprite=" << (owner && owner->Get<Sprite>() != nullptr)
            << " spinner=" << (owner && owner->Get<Spinner>() != nullptr)
            << " driver=" << (Driver::Instance() != nullptr);
        Events().push_back(out.str());
        if (Driver* d = Driver::Instance())
            d->Remove(this);
        // Like a perch that sends its birds away when it goes: removing
        // another object from inside Free().
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
// Every test that loads objects calls it before touching their type ids.
inline void RegisterTestComponents() {
    Flurr::RegisterComponent<Sprite>();
    Flurr::RegisterComponent<Probe>();
    Flurr::RegisterComponent<Spinner>();
}

// Type names of an object's components, in list order.
inline std::vector<std::string> ComponentNames(const Flurr::GameObject* object) {
    std::vector<std::string> names;
    for (Flurr::Component* c : object->components)
        names.push_back(c->GetName());
    return names;
}

inline std::vector<int32_t> RecordedIds(const Flurr::Factory& factory) {
    std::vector<int32_t> ids;
    for (const auto& [id, object] : factory.objects)
        ids.push_back(id);
    return ids;
}

// The text of a route file naming `level` and `next`.
inline std::string RouteText(const std::string& level, const std::string& next) {
    return "Root\n  LevelFile:" + level + "\n  NextFile:" + next +
           "\n  ImageBank:Town\n  SoundBank:Town\n  ConfigBank:Town\n-Root\n";
}

// Two levels on a route: A (two objects) leads to B (one object), and B's
// route file names itself, so B repeats. All paths are absolute.
struct RouteChain {
    RouteChain() {
        levelA = dir.Write("Levels/A.zorvel", "Root\n  Background:A.png\n"
                                              "  GameObject\n    X:1\n  -GameObject\n"
                                              "  GameObject\n    X:2\n  -GameObject\n"
                                              "-Root\n");
        levelB =
            dir.Write("Levels/B.zorvel",
                      "Root\n  Background:B.png\n  GameObject\n    X:3\n  -GameObject\n-Root\n");
        routeB = dir.Path("Routes/B.zorvel");
        dir.Write("Routes/B.zorvel", RouteText(levelB, routeB));
        routeA = dir.Write("Routes/A.zorvel", RouteText(levelA, routeB));
    }
    TempDir dir;
    std::string levelA, levelB, routeA, routeB;
};

} // namespace EngineTest
