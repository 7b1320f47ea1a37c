// Data-format benchmarks on a large level: 10,000 game objects, each with
// its transform and three components of a dozen mixed fields and a
// 20-point list.
//
//   BM_LoadLevel       Factory::LoadLevel: parse, create, read components
//   BM_SaveLevel       every object's Save through an ASaver, file written
//   BM_ParseLoader     ALoader construction alone (read + parse), MB/s
//   BM_ParseString     StringLoadSerializer on the text in memory, MB/s
//   BM_ParseRapidJson  the same content as JSON, rapidjson::Document::Parse
//   BM_ParseNlohmann   the same JSON, nlohmann::json::parse
//
// The level is generated once into a temporary directory.

#include <benchmark/benchmark.h>

#include <rapidjson/document.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/GameObject.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace {

using namespace Flurr;

constexpr int kObjects = 10000;
constexpr int kPoints = 20;

// Three component classes with the same shape of data under different
// names, so an object's element holds three component objects.
template <typename Name> class BenchComponent : public ComponentBase<BenchComponent<Name>, Name> {
public:
    void Serialize(ASerializer& s) override {
        s.Begin(Name::value);
        s.FloatField("Mass", mass);
        s.FloatField("Friction", friction);
        s.FloatField("Restitution", restitution);
        s.BoolField("Static", isStatic);
        s.UnsignedField("Layer", layer);
        s.IntField("Group", group);
        s.StringField("Material", material);
        s.DoubleField("Density", density);
        s.FloatField("OffsetX", offsetX);
        s.FloatField("OffsetY", offsetY);
        s.BoolField("Sensor", sensor);
        s.IntField("Shape", shape);
        s.Vec2List("Points", points);
        s.End(Name::value);
    }

    float mass = 1.0f;
    float friction = 0.5f;
    float restitution = 0.0f;
    bool isStatic = false;
    uint32_t layer = 0;
    int32_t group = 0;
    std::string material;
    double density = 1.0;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    bool sensor = false;
    int32_t shape = 0;
    std::vector<Vec2> points;
};

struct BodyName {
    static constexpr const char* value = "BenchBody";
};
struct SpriteName {
    static constexpr const char* value = "BenchSprite";
};
struct BrainName {
    static constexpr const char* value = "BenchBrain";
};
using BenchBody = BenchComponent<BodyName>;
using BenchSprite = BenchComponent<SpriteName>;
using BenchBrain = BenchComponent<BrainName>;

// Designer-typed values: two decimals.
float Typed(std::mt19937& rng, float range) {
    std::uniform_int_distribution<int> d(static_cast<int>(-range * 100),
                                         static_cast<int>(range * 100));
    return static_cast<float>(d(rng)) / 100.0f;
}

template <typename T> void Fill(T& c, std::mt19937& rng) {
    c.mass = Typed(rng, 100.0f);
    c.friction = Typed(rng, 1.0f);
    c.restitution = Typed(rng, 1.0f);
    c.isStatic = rng() % 2 == 0;
    c.layer = rng() % 16;
    c.group = static_cast<int32_t>(rng() % 200) - 100;
    c.material = rng() % 2 ? "Stone" : "Cloud fluff";
    c.density = Typed(rng, 10.0f);
    c.offsetX = Typed(rng, 50.0f);
    c.offsetY = Typed(rng, 50.0f);
    c.sensor = rng() % 3 == 0;
    c.shape = static_cast<int32_t>(rng() % 4);
    c.points.clear();
    for (int i = 0; i < kPoints; ++i)
        c.points.emplace_back(Typed(rng, 500.0f), Typed(rng, 500.0f));
}

template <typename T> void AddComponent(GameObject* object, std::mt19937& rng) {
    auto* c = new T();
    Fill(*c, rng);
    c->owner = object;
    object->components.push_back(c);
}

template <typename T> nlohmann::json ComponentJson(const T& c) {
    nlohmann::json points = nlohmann::json::array();
    for (const Vec2& p : c.points)
        points.push_back({p.x, p.y});
    return {{"Mass", c.mass},         {"Friction", c.friction}, {"Restitution", c.restitution},
            {"Static", c.isStatic},   {"Layer", c.layer},       {"Group", c.group},
            {"Material", c.material}, {"Density", c.density},   {"OffsetX", c.offsetX},
            {"OffsetY", c.offsetY},   {"Sensor", c.sensor},     {"Shape", c.shape},
            {"Points", points}};
}

// JSON laid out like a data file: one member per line, two spaces per
// level, and a point ("[x, y]") per line, so both texts spend about the
// same share of their bytes on layout.
void WriteJson(const nlohmann::json& j, int indent, std::string& out) {
    const auto pad = [&out](int n) { out.append(static_cast<std::size_t>(n), ' '); };
    const auto scalars = [](const nlohmann::json& a) {
        for (const auto& e : a)
            if (e.is_structured())
                return false;
        return true;
    };
    if (j.is_object()) {
        out += "{\n";
        std::size_t i = 0;
        for (auto it = j.begin(); it != j.end(); ++it, ++i) {
            pad(indent + 2);
            out += nlohmann::json(it.key()).dump();
            out += ": ";
            WriteJson(it.value(), indent + 2, out);
            out += i + 1 < j.size() ? ",\n" : "\n";
        }
        pad(indent);
        out += "}";
    } else if (j.is_array() && scalars(j)) {
        out += "[";
        for (std::size_t i = 0; i < j.size(); ++i)
            out += (i ? ", " : "") + j[i].dump();
        out += "]";
    } else if (j.is_array()) {
        out += "[\n";
        for (std::size_t i = 0; i < j.size(); ++i) {
            pad(indent + 2);
            WriteJson(j[i], indent + 2, out);
            out += i + 1 < j.size() ? ",\n" : "\n";
        }
        pad(indent);
        out += "]";
    } else {
        out += j.dump();
    }
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    return buf.str();
}

// Everything the benchmarks share, built on first use.
struct Level {
    std::filesystem::path dir;
    std::string path;
    std::string text;
    std::string json;
    Core* core = nullptr;
    Factory* factory = nullptr;

    Level() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "cloudmere-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        dir = pattern;
        path = (dir / "BigLevel.zorvel").string();

        core = new Core();
        factory = new Factory();
        RegisterComponent<BenchBody>();
        RegisterComponent<BenchSprite>();
        RegisterComponent<BenchBrain>();

        std::mt19937 rng(20260);
        nlohmann::json objects = nlohmann::json::array();
        for (int i = 0; i < kObjects; ++i) {
            GameObject* o = factory->CreateGameObject();
            o->x = Typed(rng, 5000.0f);
            o->y = Typed(rng, 5000.0f);
            o->width = static_cast<int32_t>(rng() % 512) + 1;
            o->height = static_cast<int32_t>(rng() % 512) + 1;
            o->xScale = Typed(rng, 4.0f);
            o->yScale = Typed(rng, 4.0f);
            o->rotation = Typed(rng, 360.0f);
            AddComponent<BenchBody>(o, rng);
            AddComponent<BenchSprite>(o, rng);
            AddComponent<BenchBrain>(o, rng);
            objects.push_back({{"X", o->x},
                               {"Y", o->y},
                               {"WIDTH", o->width},
                               {"HEIGHT", o->height},
                               {"XSCALE", o->xScale},
                               {"YSCALE", o->yScale},
                               {"ROT", o->rotation},
                               {"BenchBody", ComponentJson(*o->Get<BenchBody>())},
                               {"BenchSprite", ComponentJson(*o->Get<BenchSprite>())},
                               {"BenchBrain", ComponentJson(*o->Get<BenchBrain>())}});
        }
        if (!factory->SaveLevel(path, "Sky"))
            std::abort();
        factory->Free();
        text = ReadWhole(path);
        WriteJson(nlohmann::json{{"Root", {{"Background", "Sky"}, {"GameObject", objects}}}}, 0,
                  json);
    }
    ~Level() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Level& TheLevel() {
    static Level level;
    return level;
}

void BM_LoadLevel(benchmark::State& state) {
    Level& level = TheLevel();
    for (auto _ : state) {
        level.factory->LoadLevel(level.path);
        state.PauseTiming();
        if (level.factory->objects.size() != kObjects)
            state.SkipWithError("wrong object count");
        level.factory->Free();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(level.text.size()));
}
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);

void BM_SaveLevel(benchmark::State& state) {
    Level& level = TheLevel();
    level.factory->LoadLevel(level.path);
    const std::string out = (level.dir / "Saved.zorvel").string();
    for (auto _ : state) {
        ASaver saver(out);
        saver.Begin("Root");
        std::string background = "Sky";
        saver.StringField("Background", background);
        for (auto& [id, object] : level.factory->objects)
            object->Save(saver);
        saver.End("Root");
        if (!saver.Finish())
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(level.text.size()));
    if (ReadWhole(out) != level.text)
        state.SkipWithError("saved level differs from the loaded one");
    level.factory->Free();
}
BENCHMARK(BM_SaveLevel)->Unit(benchmark::kMillisecond);

void BM_ParseLoader(benchmark::State& state) {
    Level& level = TheLevel();
    for (auto _ : state) {
        ALoader loader(level.path);
        benchmark::DoNotOptimize(loader.Root().children.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(level.text.size()));
}
BENCHMARK(BM_ParseLoader)->Unit(benchmark::kMillisecond);

void BM_ParseString(benchmark::State& state) {
    Level& level = TheLevel();
    for (auto _ : state) {
        StringLoadSerializer loader(level.text);
        benchmark::DoNotOptimize(loader.Root().children.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(level.text.size()));
}
BENCHMARK(BM_ParseString)->Unit(benchmark::kMillisecond);

void BM_ParseRapidJson(benchmark::State& state) {
    Level& level = TheLevel();
    for (auto _ : state) {
        rapidjson::Document doc;
        doc.Parse(level.json.c_str(), level.json.size());
        if (doc.HasParseError())
            state.SkipWithError("rapidjson parse error");
        benchmark::DoNotOptimize(doc.IsObject());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(level.json.size()));
}
BENCHMARK(BM_ParseRapidJson)->Unit(benchmark::kMillisecond);

void BM_ParseNlohmann(benchmark::State& state) {
    Level& level = TheLevel();
    for (auto _ : state) {
        nlohmann::json doc = nlohmann::json::parse(level.json);
        benchmark::DoNotOptimize(doc.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(level.json.size()));
}
BENCHMARK(BM_ParseNlohmann)->Unit(benchmark::kMillisecond);

} // namespace
