// libFuzzer target for the text data format.
//
// Each input is treated as a data file and goes through four checks:
//   1. the in-memory loader, walked element by element with every kind of
//      read the game makes (fields and lists of every type, objects,
//      repeated-object loops, missing elements, HasChild), the choice of
//      read driven by the input itself;
//   2. the Factory's paste path (CreateObjectFromText) with two fuzz-only
//      components that read fields and lists of every type;
//   3. a round trip: parse, write the tree the way the savers do, parse
//      that and write again -- the two texts must be identical, under the
//      in-memory loader's line rules and under the file loader's;
//   4. the saver with the input's lines as item and value texts: whatever
//      the texts, the saved file must keep its shape (every item comes
//      back and the field after the list is still found);
//   5. an object read from the input, saved, read again and saved again
//      gives the same text: what the game does not know (unknown
//      components, fields, a second component of a class) is kept in place
//      and nothing is lost on the way.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Report.h"
#include "serialization/Element.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace {

using namespace Flurr;

struct FuzzAlphaName {
    static constexpr const char* value = "FuzzAlpha";
};
struct FuzzBetaName {
    static constexpr const char* value = "FuzzBeta";
};

// Reads one field of every type and a point list, like a typical
// gameplay component.
class FuzzAlpha : public ComponentBase<FuzzAlpha, FuzzAlphaName> {
public:
    void Serialize(ASerializer& s) override {
        s.Begin("FuzzAlpha");
        s.BoolField("Flag", flag);
        s.StringField("Name", name);
        s.DoubleField("Precise", precise);
        s.FloatField("Speed", speed);
        s.UnsignedField("Mask", mask);
        s.IntField("Count", count);
        s.Vec2List("Points", points);
        s.End("FuzzAlpha");
    }

    bool flag = false;
    std::string name;
    double precise = 0.0;
    float speed = 0.0f;
    uint32_t mask = 0;
    int32_t count = 0;
    std::vector<Vec2> points;
};

// Every list type, and a nested object read with the repeated-object loop.
class FuzzBeta : public ComponentBase<FuzzBeta, FuzzBetaName> {
public:
    void Serialize(ASerializer& s) override {
        s.Begin("FuzzBeta");
        s.StringList("Names", names);
        s.BoolList("Bools", bools);
        s.DoubleList("Doubles", doubles);
        s.FloatList("Floats", floats);
        s.UnsignedList("Unsigneds", unsigneds);
        s.IntList("Ints", ints);
        if (s.IsSaving()) {
            // Written back as read, as every game component does: the
            // round trip of what the game does not know relies on it.
            for (int32_t id : ids) {
                s.Begin("Part");
                s.IntField("Id", id);
                s.End("Part");
            }
        } else {
            ids.clear();
            while (s.Begin("Part")) {
                int32_t id = 0;
                s.IntField("Id", id);
                ids.push_back(id);
                s.End("Part");
            }
            s.End("Part");
        }
        s.End("FuzzBeta");
    }

    std::vector<std::string> names;
    std::vector<bool> bools;
    std::vector<double> doubles;
    std::vector<float> floats;
    std::vector<uint32_t> unsigneds;
    std::vector<int32_t> ints;
    std::vector<int32_t> ids;
};

// The in-memory loader, with a view of where it stands so the walk can
// ask for what is actually there.
class WalkLoader : public StringLoadSerializer {
public:
    using StringLoadSerializer::StringLoadSerializer;
    const Element* Current() const { return current; }
};

// The file loader's line rules (no trimming of line ends) without a file.
class FileRulesLoader : public LoaderBase {
public:
    explicit FileRulesLoader(std::string_view text) : LoaderBase("fuzz.zorvel", "fuzz.zorvel") {
        ParseText(text, false);
    }
};

// Small deterministic generator seeded from the input, so a crash
// reproduces from the input alone.
struct Choice {
    uint64_t state;
    uint32_t Next(uint32_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>((state >> 33) % n);
    }
};

void ReadValueAs(ASerializer& s, const std::string& name, uint32_t how) {
    switch (how % 6) {
    case 0: {
        bool b = false;
        s.BoolField(name, b);
        break;
    }
    case 1: {
        std::string t;
        s.StringField(name, t);
        break;
    }
    case 2: {
        double d = 0.0;
        s.DoubleField(name, d);
        break;
    }
    case 3: {
        float f = 0.0f;
        s.FloatField(name, f);
        break;
    }
    case 4: {
        uint32_t u = 0;
        s.UnsignedField(name, u);
        break;
    }
    default: {
        int32_t i = 0;
        s.IntField(name, i);
        break;
    }
    }
}

void ReadListAs(ASerializer& s, const std::string& name, uint32_t how) {
    switch (how % 7) {
    case 0: {
        std::vector<Vec2> l;
        s.Vec2List(name, l);
        break;
    }
    case 1: {
        std::vector<std::string> l;
        s.StringList(name, l);
        break;
    }
    case 2: {
        std::vector<bool> l;
        s.BoolList(name, l);
        break;
    }
    case 3: {
        std::vector<double> l;
        s.DoubleList(name, l);
        break;
    }
    case 4: {
        std::vector<float> l;
        s.FloatList(name, l);
        break;
    }
    case 5: {
        std::vector<uint32_t> l;
        s.UnsignedList(name, l);
        break;
    }
    default: {
        std::vector<int32_t> l;
        s.IntList(name, l);
        break;
    }
    }
}

constexpr int kMaxWalkDepth = 64;

void Walk(WalkLoader& loader, Choice& choice, int depth) {
    const Element* here = loader.Current();
    // Names and kinds first: reading consumes the elements.
    struct Entry {
        std::string name;
        int32_t kind;
        std::size_t count;
    };
    std::vector<Entry> entries;
    for (const Element::Group& g : here->children)
        if (!g.Empty())
            entries.push_back({g.name, g.items[g.head]->kind, g.Remaining()});

    for (const Entry& e : entries) {
        for (std::size_t k = 0; k < e.count; ++k) {
            const uint32_t how = choice.Next(16);
            if (how == 15)
                continue; // leave it unread
            if (e.kind == Element::Value) {
                ReadValueAs(loader, e.name, how);
            } else if (e.kind == Element::List && how < 12) {
                ReadListAs(loader, e.name, how);
            } else if (how < 4 && depth < kMaxWalkDepth) {
                // The repeated-object loop, with its balancing End.
                (void)loader.HasChild(e.name);
                while (loader.Begin(e.name)) {
                    Walk(loader, choice, depth + 1);
                    loader.End(e.name);
                }
                loader.End(e.name);
                break;
            } else if (depth < kMaxWalkDepth) {
                if (loader.Begin(e.name))
                    Walk(loader, choice, depth + 1);
                loader.End(e.name);
            }
        }
    }
    // Reads of things that are not there, inside and outside a failed Begin.
    if (choice.Next(4) == 0) {
        ReadValueAs(loader, "Missing", choice.Next(6));
        if (!loader.Begin("Missing")) {
            ReadListAs(loader, "Value", choice.Next(7));
            loader.End("Other");
        }
        loader.End("Missing");
    }
}

[[noreturn]] void Fail(const char* what, const std::string& a, const std::string& b) {
    // fwrite: the texts may hold NUL bytes.
    std::fprintf(stderr, "%s\n--- first ---\n", what);
    std::fwrite(a.data(), 1, a.size(), stderr);
    std::fprintf(stderr, "\n--- second ---\n");
    std::fwrite(b.data(), 1, b.size(), stderr);
    std::fprintf(stderr, "\n--- end ---\n");
    __builtin_trap();
}

template <typename Loader> std::string Written(std::string_view text) {
    Loader loader{std::string(text)};
    std::string out;
    WriteDataTree(loader.Root(), out);
    return out;
}

template <typename Loader> void CheckRoundTrip(std::string_view text) {
    const std::string first = Written<Loader>(text);
    const std::string second = Written<Loader>(first);
    if (first != second)
        Fail("writing a parsed tree is not stable", first, second);
}

void CheckSaverKeepsShape(std::string_view text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size() && items.size() < 64) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        items.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::string first = items.empty() ? std::string() : items.front();
    int32_t after = 12345;

    StringSaveSerializer saver;
    saver.Begin("Root");
    saver.StringField("Text", first);
    saver.StringList("Items", items);
    saver.IntField("After", after);
    saver.End("Root");
    saver.Finish();

    StringLoadSerializer loader(saver.Result());
    std::vector<std::string> readItems;
    int32_t readAfter = 0;
    std::string readText;
    loader.Begin("Root");
    loader.StringField("Text", readText);
    loader.StringList("Items", readItems);
    loader.IntField("After", readAfter);
    loader.End("Root");
    if (readItems.size() != items.size() || readAfter != after)
        Fail("saved file changed shape", std::to_string(items.size()) + " items", saver.Result());
}

std::string SavedObject(const GameObject& object) {
    StringSaveSerializer saver;
    saver.Begin("Root");
    const_cast<GameObject&>(object).Save(saver);
    saver.End("Root");
    saver.Finish();
    return saver.Result();
}

void CheckObjectKeepsWhatItDoesNotKnow(Factory& factory, const std::string& text) {
    GameObject* object = factory.CreateObjectFromText(text);
    if (!object)
        return;
    const std::string first = SavedObject(*object);
    factory.DestroyObject(object);
    object = factory.CreateObjectFromText(first);
    if (!object)
        Fail("a saved object does not read back", text, first);
    const std::string second = SavedObject(*object);
    factory.DestroyObject(object);
    if (first != second)
        Fail("an object saved, read and saved again changed", first, second);
}

Factory& TheFactory() {
    // One core and factory for the whole run, as in the game.
    static Core* core = new Core();
    static Factory* factory = [] {
        (void)core;
        auto* f = new Factory();
        RegisterComponent<FuzzAlpha>();
        RegisterComponent<FuzzBeta>();
        return f;
    }();
    return *factory;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Bad numbers and odd texts are the point here; their warnings would
    // only slow the run down. Findings are reported through stdio.
    SetWarningSink([](const Warning&) {});
    TheFactory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    uint64_t seed = 1469598103934665603ull;
    for (std::size_t i = 0; i < size; ++i)
        seed = (seed ^ data[i]) * 1099511628211ull;

    {
        WalkLoader loader(text, "fuzz");
        Choice choice{seed};
        Walk(loader, choice, 0);
        loader.End("Root");
        loader.Finish();
        (void)loader.Begin("Root");
    }

    CheckObjectKeepsWhatItDoesNotKnow(TheFactory(), text);

    CheckRoundTrip<StringLoadSerializer>(text);
    CheckRoundTrip<FileRulesLoader>(text);
    CheckSaverKeepsShape(text);
    return 0;
}
