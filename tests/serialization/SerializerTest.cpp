// Saving and loading through the four serializers: round trips of every
// field and list type, number texts, bad numbers, missing files, file name
// checks and the atomic save.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "serialization/DataFiles.h"
#include "serialization/Serializer.h"

#include <unistd.h>

namespace Flurr {
namespace {

using EngineTest::TempDir;
using Testing::ReadFile;
using Testing::WriteFile;

// One record of every field and list type, plus repeated child objects,
// serialised with the same calls in both directions.
struct Sample {
    struct Item {
        int32_t number = 0;
        std::string label;
    };

    bool flag = false;
    std::string text;
    double precise = 0.0;
    float amount = 0.0f;
    uint32_t mask = 0;
    int32_t count = 0;
    std::vector<Vec2> points;
    std::vector<std::string> names;
    std::vector<bool> switches;
    std::vector<double> doubles;
    std::vector<float> floats;
    std::vector<uint32_t> unsigneds;
    std::vector<int32_t> ints;
    std::vector<Item> items;
    int32_t after = 0;

    void Serialize(ASerializer& s) {
        s.Begin("Root");
        s.BoolField("Flag", flag);
        s.StringField("Text", text);
        s.DoubleField("Precise", precise);
        s.FloatField("Amount", amount);
        s.UnsignedField("Mask", mask);
        s.IntField("Count", count);
        s.Vec2List("Points", points);
        s.StringList("Names", names);
        s.BoolList("Switches", switches);
        s.DoubleList("Doubles", doubles);
        s.FloatList("Floats", floats);
        s.UnsignedList("Unsigneds", unsigneds);
        s.IntList("Ints", ints);
        if (s.IsSaving()) {
            for (Item& item : items) {
                s.Begin("Item");
                s.IntField("Number", item.number);
                s.StringField("Label", item.label);
                s.End("Item");
            }
        } else {
            while (s.Begin("Item")) {
                Item item;
                s.IntField("Number", item.number);
                s.StringField("Label", item.label);
                items.push_back(item);
                s.End("Item");
            }
            s.End("Item");
        }
        // Read after the repeated objects: the balancing End must have put
        // the loader back to normal reading.
        s.IntField("After", after);
        s.End("Root");
    }
};

Sample MakeSample() {
    Sample s;
    s.flag = true;
    s.text = "Hello: world #2, colour #ff9f1c";
    s.precise = 1.0 / 3.0;
    s.amount = 123456.7f;
    s.mask = std::numeric_limits<uint32_t>::max();
    s.count = std::numeric_limits<int32_t>::min();
    s.points = {{-1.0f, 1.0f}, {0.1f, 20675.3f}, {1234567.0f, -1e-7f}};
    s.names = {"plain", "with: colon", "with #hash", "List#2:NotAList", "-Other", "", "Value:x"};
    s.switches = {true, false, true};
    s.doubles = {0.1, 1e300, -2.5e-310, 123456789.123456789};
    s.floats = {0.1f, 1e-7f, std::numeric_limits<float>::max(),
                std::numeric_limits<float>::denorm_min()};
    s.unsigneds = {0u, 7u, 4294967295u};
    s.ints = {-2147483647 - 1, 0, 2147483647};
    s.items = {{1, "first"}, {2, "second: with colon"}, {3, ""}};
    s.after = 42;
    return s;
}

void ExpectSame(const Sample& a, const Sample& b) {
    EXPECT_EQ(a.flag, b.flag);
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.precise, b.precise);
    EXPECT_EQ(a.amount, b.amount);
    EXPECT_EQ(a.mask, b.mask);
    EXPECT_EQ(a.count, b.count);
    ASSERT_EQ(a.points.size(), b.points.size());
    for (std::size_t i = 0; i < a.points.size(); ++i) {
        EXPECT_EQ(a.points[i].x, b.points[i].x) << "point " << i;
        EXPECT_EQ(a.points[i].y, b.points[i].y) << "point " << i;
    }
    EXPECT_EQ(a.names, b.names);
    EXPECT_EQ(a.switches, b.switches);
    EXPECT_EQ(a.doubles, b.doubles);
    EXPECT_EQ(a.floats, b.floats);
    EXPECT_EQ(a.unsigneds, b.unsigneds);
    EXPECT_EQ(a.ints, b.ints);
    ASSERT_EQ(a.items.size(), b.items.size());
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        EXPECT_EQ(a.items[i].number, b.items[i].number) << "item " << i;
        EXPECT_EQ(a.items[i].label, b.items[i].label) << "item " << i;
    }
    EXPECT_EQ(a.after, b.after);
}

TEST(Serializer, EveryTypeRoundTripsThroughFileAndString) {
    Sample original = MakeSample();

    TempDir dir;
    const std::string path = dir.Path("sample.zorvel");
    {
        ASaver saver(path);
        original.Serialize(saver);
        ASSERT_TRUE(saver.Finish());
    }
    Sample fromFile;
    {
        ALoader loader(path);
        fromFile.Serialize(loader);
    }
    ExpectSame(original, fromFile);

    StringSaveSerializer stringSaver;
    original.Serialize(stringSaver);
    ASSERT_TRUE(stringSaver.Finish());
    // The same tree gives the same text either way, less the final feed.
    EXPECT_EQ(stringSaver.Result() + "\n", ReadFile(path));
    Sample fromString;
    StringLoadSerializer stringLoader(stringSaver.Result());
    fromString.Serialize(stringLoader);
    ExpectSame(original, fromString);

    // Saving what was read gives the same file again.
    StringSaveSerializer again;
    fromFile.Serialize(again);
    again.Finish();
    EXPECT_EQ(again.Result(), stringSaver.Result());
}

TEST(Serializer, ListsAppendAndMissingFieldsKeepTheirValues) {
    StringLoadSerializer loader("Root\n"
                                "List#1:Ints\n"
                                "5\n"
                                "-Ints\n"
                                "-Root\n");
    std::vector<int32_t> ints{1, 2};
    std::string text = "kept";
    float amount = 2.5f;
    bool flag = true;
    std::vector<Vec2> points{{1.0f, 2.0f}};
    ASSERT_TRUE(loader.Begin("Root"));
    loader.IntList("Ints", ints);
    loader.StringField("Missing", text);
    loader.FloatField("Missing", amount);
    loader.BoolField("Missing", flag);
    loader.Vec2List("Missing", points);
    // Reads inside a missing object keep their values too, and its End
    // returns the loader to normal reading.
    EXPECT_FALSE(loader.Begin("Absent"));
    int32_t inside = 9;
    loader.IntField("Ints", inside);
    loader.End("Absent");
    loader.End("Root");
    EXPECT_EQ(ints, (std::vector<int32_t>{1, 2, 5}));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(amount, 2.5f);
    EXPECT_TRUE(flag);
    EXPECT_EQ(points.size(), 1u);
    EXPECT_EQ(inside, 9);
}

TEST(Serializer, NumbersKeepTheGLookAndReadBackExactly) {
    EXPECT_EQ(FormatFloat(0.1f), "0.1");
    EXPECT_EQ(FormatFloat(0.5f), "0.5");
    EXPECT_EQ(FormatFloat(1e-7f), "1e-07");
    EXPECT_EQ(FormatFloat(100000.0f), "100000");
    EXPECT_EQ(FormatFloat(1e6f), "1e+06");
    EXPECT_EQ(FormatFloat(-3.0f), "-3");
    EXPECT_EQ(FormatFloat(20675.3f), "20675.3");
    // Six digits would save these as different numbers.
    EXPECT_EQ(FormatFloat(123456.7f), "123456.7");
    EXPECT_EQ(FormatFloat(1234567.0f), "1234567");
    EXPECT_EQ(FormatDouble(0.1), "0.1");
    EXPECT_EQ(FormatDouble(2.0), "2");

    for (float f : {20675.3f, 1234567.0f, 123456.7f, 16777217.0f, 3.14159274f, -0.0f, 1e38f,
                    std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min(),
                    std::numeric_limits<float>::lowest()}) {
        float back = 0.0f;
        ASSERT_TRUE(ParseFloat(FormatFloat(f), back)) << FormatFloat(f);
        EXPECT_EQ(back, f) << FormatFloat(f);
        EXPECT_EQ(std::signbit(back), std::signbit(f)) << FormatFloat(f);
    }
    for (double d :
         {1.0 / 3.0, 0.1 + 0.2, 1e-300, 123456789.123456789, 9007199254740993.0,
          std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()}) {
        double back = 0.0;
        ASSERT_TRUE(ParseDouble(FormatDouble(d), back)) << FormatDouble(d);
        EXPECT_EQ(back, d) << FormatDouble(d);
    }

    // Infinities and NaN survive a save.
    const float inf = std::numeric_limits<float>::infinity();
    float readInf = 0.0f, readNegInf = 0.0f, readNan = 0.0f;
    EXPECT_TRUE(ParseFloat(FormatFloat(inf), readInf));
    EXPECT_TRUE(ParseFloat(FormatFloat(-inf), readNegInf));
    EXPECT_TRUE(ParseFloat(FormatFloat(std::numeric_limits<float>::quiet_NaN()), readNan));
    EXPECT_EQ(readInf, inf);
    EXPECT_EQ(readNegInf, -inf);
    EXPECT_TRUE(std::isnan(readNan));

    // Stream-like reading: leading space and '+' are taken, a number prefix
    // is read and the rest ignored; unsigned takes a minus and wraps.
    int32_t i = 0;
    EXPECT_TRUE(ParseInt("  12abc", i));
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(ParseInt("+7", i));
    EXPECT_EQ(i, 7);
    EXPECT_FALSE(ParseInt("2147483648", i));
    EXPECT_EQ(i, 7);
    uint32_t u = 0;
    EXPECT_TRUE(ParseUnsigned("-1", u));
    EXPECT_EQ(u, 4294967295u);
    double d = 0.0;
    EXPECT_TRUE(ParseDouble(" 2.5e3x", d));
    EXPECT_EQ(d, 2500.0);
}

TEST(Serializer, NonNumberWarnsAndKeepsTheVariable) {
    TempDir dir;
    const std::string path = dir.Path("bad.zorvel");
    WriteFile(path, "Root\n"
                    "  Speed:fast\n"
                    "  Lives:many\n"
                    "  Mask:\n"
                    "  Scale:2x\n"
                    "  Ratio:-\n"
                    "-Root\n");
    float speed = 7.5f;
    int32_t lives = 3;
    uint32_t mask = 9;
    float scale = 1.0f;
    double ratio = 0.25;
    EngineTest::WarningLog log;
    {
        ALoader loader(path);
        loader.Begin("Root");
        loader.FloatField("Speed", speed);
        loader.IntField("Lives", lives);
        loader.UnsignedField("Mask", mask);
        loader.FloatField("Scale", scale);
        loader.DoubleField("Ratio", ratio);
        loader.End("Root");
    }
    EXPECT_EQ(speed, 7.5f);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(mask, 9u);
    EXPECT_EQ(scale, 2.0f); // a number prefix is a number
    EXPECT_EQ(ratio, 0.25);
    for (const char* said : {":2: value of \"Speed\"", ":3: value of \"Lives\"",
                             ":4: value of \"Mask\"", ":6: value of \"Ratio\""})
        EXPECT_TRUE(log.Contains(path + said)) << log;
    EXPECT_FALSE(log.Contains("\"Scale\"")) << log;

    // An item that is not a number keeps its place, as 0, so the ones
    // after it stay where they were.
    StringLoadSerializer list("List#3:F\n1\noops\n3\n-F\n");
    std::vector<float> floats;
    list.FloatList("F", floats);
    EXPECT_TRUE(log.Contains("oops")) << log;
    EXPECT_EQ(floats, (std::vector<float>{1.0f, 0.0f, 3.0f}));
}

TEST(Serializer, MissingOrEmptyFileNeverReads) {
    TempDir dir;
    const std::string empty = dir.Path("empty.zorvel");
    WriteFile(empty, "");
    for (const std::string& path : {dir.Path("missing.zorvel"), empty}) {
        ALoader loader(path);
        EXPECT_TRUE(loader.IsFileMissing()) << path;
        int32_t value = 5;
        // End at the root does nothing.
        loader.End("Root");
        EXPECT_FALSE(loader.Begin("Root")) << path;
        loader.IntField("X", value);
        loader.End("Root");
        // Balancing the failed Begin must not make the loader readable.
        EXPECT_FALSE(loader.Begin("Root")) << path;
        EXPECT_FALSE(loader.HasChild("Root")) << path;
        loader.End("Root");
        loader.IntField("X", value);
        EXPECT_EQ(value, 5) << path;
        EXPECT_TRUE(loader.Finish());
    }
    StringLoadSerializer none("");
    EXPECT_TRUE(none.IsFileMissing());
    EXPECT_FALSE(none.Begin("Root"));
    none.End("Root");
    EXPECT_FALSE(none.Begin("Root"));

    // End at the root of a saver does nothing either.
    StringSaveSerializer saver;
    saver.End("Root");
    saver.Begin("Root");
    saver.End("Root");
    saver.End("Root");
    int32_t v = 1;
    saver.IntField("Top", v);
    saver.Finish();
    EXPECT_EQ(saver.Result(), "Root\n-Root\nTop:1");
}

TEST(Serializer, FileNamesNeedADataExtension) {
    for (const char* bad : {"level.txt", "", "Resources\\Levels\\Town", "zorvel", "a.zorv"}) {
        try {
            ALoader loader(bad);
            ADD_FAILURE() << "no error for \"" << bad << "\"";
        } catch (const DataFileError& e) {
            EXPECT_STREQ(e.what(), "Error, not valid .zorvel or .zoml file");
            EXPECT_EQ(e.File(), bad);
        }
        EXPECT_THROW(ASaver saver(bad), DataFileError) << bad;
    }
    TempDir dir;
    // Either extension, anywhere in the name.
    for (const char* good : {"a.zorvel", "a.zoml", "a.zorvel.bak"}) {
        const std::string path = dir.Path(good);
        WriteFile(path, "Root\nV:1\n-Root\n");
        ALoader loader(path);
        int32_t v = 0;
        EXPECT_TRUE(loader.Begin("Root")) << good;
        loader.IntField("V", v);
        EXPECT_EQ(v, 1) << good;
    }
    EXPECT_NO_THROW(StringLoadSerializer("Root"));
    EXPECT_NO_THROW(StringSaveSerializer());
}

bool SaveValue(const std::string& path, int32_t value) {
    ASaver saver(path);
    saver.Begin("Root");
    saver.IntField("V", value);
    saver.End("Root");
    return saver.Finish();
}

bool HasTmpFile(const std::filesystem::path& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".tmp")
            return true;
    return false;
}

TEST(Serializer, SaveIsAtomic) {
    TempDir dir;
    const std::string path = dir.Path("level.zorvel");
    ASSERT_TRUE(SaveValue(path, 1));
    ASSERT_TRUE(SaveValue(path, 2));
    EXPECT_EQ(ReadFile(path), "Root\n  V:2\n-Root\n");
    EXPECT_FALSE(HasTmpFile(dir.Root()));

    EngineTest::WarningLog log;
    // A directory that does not exist.
    EXPECT_FALSE(SaveValue(dir.Path("nowhere/level.zorvel"), 3));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("nowhere")));

    // The target is a directory: the temporary file is written, the rename
    // fails, and the temporary file goes.
    const std::string blocked = dir.Path("blocked.zorvel");
    std::filesystem::create_directories(blocked + "/inside");
    EXPECT_FALSE(SaveValue(blocked, 4));
    EXPECT_TRUE(std::filesystem::is_directory(blocked + "/inside"));
    EXPECT_FALSE(HasTmpFile(dir.Root()));
    EXPECT_TRUE(log.Contains("nowhere/level.zorvel") && log.Contains("blocked.zorvel")) << log;

    // When the new text cannot be written at all the old file stays as
    // it was: here the temporary name is taken by a directory...
    const std::string kept = dir.Path("kept.zorvel");
    ASSERT_TRUE(SaveValue(kept, 5));
    std::filesystem::create_directories(kept + ".tmp/inside");
    EXPECT_FALSE(SaveValue(kept, 6));
    EXPECT_EQ(ReadFile(kept), "Root\n  V:5\n-Root\n");
    std::filesystem::remove_all(kept + ".tmp");

    // ...and here the directory is read-only (which only binds a user
    // without the rights to ignore it).
    TempDir readOnly;
    const std::string level = readOnly.Path("level.zorvel");
    ASSERT_TRUE(SaveValue(level, 7));
    std::filesystem::permissions(readOnly.Root(), std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_exec);
    if (::access(readOnly.Root().c_str(), W_OK) != 0) {
        EXPECT_FALSE(SaveValue(level, 8));
        EXPECT_EQ(ReadFile(level), "Root\n  V:7\n-Root\n");
        EXPECT_FALSE(HasTmpFile(readOnly.Root()));
    }
    std::filesystem::permissions(readOnly.Root(), std::filesystem::perms::owner_all);
}

TEST(Serializer, BackslashPathsOpen) {
    TempDir dir;
    std::string windowsStyle = dir.Path("Levels.zorvel");
    for (char& c : windowsStyle)
        if (c == '/')
            c = '\\';
    ASSERT_TRUE(SaveValue(windowsStyle, 11));
    EXPECT_EQ(ReadFile(dir.Path("Levels.zorvel")), "Root\n  V:11\n-Root\n");
    ALoader loader(windowsStyle);
    int32_t v = 0;
    ASSERT_TRUE(loader.Begin("Root"));
    loader.IntField("V", v);
    EXPECT_EQ(v, 11);
}

TEST(Serializer, HasChildDoesNotConsume) {
    StringLoadSerializer loader("Root\n"
                                "Rotator\n"
                                "Speed:2\n"
                                "-Rotator\n"
                                "Name:x\n"
                                "List#1:Points\n"
                                "1,2\n"
                                "-Points\n"
                                "-Root\n");
    EXPECT_FALSE(loader.HasChild("Rotator")); // not at this level
    ASSERT_TRUE(loader.Begin("Root"));
    EXPECT_TRUE(loader.HasChild("Rotator"));
    EXPECT_TRUE(loader.HasChild("Rotator"));
    // Values and lists are not objects a component could be read from.
    EXPECT_FALSE(loader.HasChild("Name"));
    EXPECT_FALSE(loader.HasChild("Points"));
    EXPECT_FALSE(loader.HasChild("Graphics"));
    ASSERT_TRUE(loader.Begin("Rotator"));
    int32_t speed = 0;
    loader.IntField("Speed", speed);
    EXPECT_EQ(speed, 2);
    loader.End("Rotator");
    EXPECT_FALSE(loader.HasChild("Rotator"));
    // A failed Begin makes the loader skip, and nothing is "there" then.
    EXPECT_FALSE(loader.Begin("Missing"));
    EXPECT_FALSE(loader.HasChild("Name"));
    loader.End("Missing");
    std::string name;
    loader.StringField("Name", name);
    EXPECT_EQ(name, "x");
}

TEST(Serializer, LineBreaksInTextAreSavedAsSpaces) {
    StringSaveSerializer saver;
    saver.Begin("Root");
    std::string text = "two\nlines\r\n";
    std::vector<std::string> items{"a\nb"};
    EngineTest::WarningLog log;
    saver.StringField("Text", text);
    saver.StringList("Items", items);
    saver.End("Root");
    saver.Finish();
    EXPECT_EQ(saver.Result(), "Root\n  Text:two lines  \n  List#1:Items\n    a b\n  -Items\n-Root");
    EXPECT_TRUE(log.Contains("\"Text\"") && log.Contains("\"Items\"")) << log;
}

TEST(Serializer, ListItemThatWouldCloseItsListIsNotWritten) {
    // The format has no escapes: an item equal to the list's closing line
    // would end the list there and spill the rest into the parent. The
    // saver keeps the file's shape and says so.
    StringSaveSerializer saver;
    saver.Begin("Root");
    std::vector<std::string> names{"a", "-Names", "b"};
    int32_t after = 7;
    EngineTest::WarningLog log;
    saver.StringList("Names", names);
    saver.IntField("After", after);
    saver.End("Root");
    saver.Finish();
    EXPECT_TRUE(log.Contains("\"Names\"")) << log;

    StringLoadSerializer loader(saver.Result());
    std::vector<std::string> read;
    int32_t readAfter = 0;
    ASSERT_TRUE(loader.Begin("Root"));
    loader.StringList("Names", read);
    loader.IntField("After", readAfter);
    EXPECT_EQ(read, (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(readAfter, 7);
}

} // namespace
} // namespace Flurr
