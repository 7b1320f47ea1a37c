// The data format. Its line grammar as tables of texts: what each reads as
// through both loaders, and for texts in the saved layout, that saving what
// was read (and writing the parsed tree, as the data tool does) gives the
// same text again; malformed texts with the warnings they must give. Then
// files on disk: names, missing files, the atomic save, and the savers'
// guards for texts the format cannot hold.

#include <cctype>
#include <memory>
#include <tuple>

#include "engine/EngineTestSupport.h"
#include "serialization/Element.h"

#include <unistd.h>

namespace Flurr {
namespace {

using EngineTest::TempDir;

// How a token shows a value read.
struct Token {
    static std::string Of(bool b) { return b ? "true" : "false"; }
    static std::string Of(const std::string& s) { return s; }
    static std::string Of(std::integral auto i) { return std::to_string(i); }
    static std::string Of(float f) { return FormatFloat(f); }
    static std::string Of(double d) { return FormatDouble(d); }
    // Both appended piece by piece: GCC 12 at -O3 takes a literal put in
    // front of a temporary string (`"(" + Of(...)`) for an overlapping copy,
    // a false -Wrestrict.
    static std::string Of(Vec2 v) {
        std::string out = "(";
        out += Of(v.x);
        out += ',';
        out += Of(v.y);
        return out + ")";
    }
    template <typename T> static std::string Of(const std::vector<T>& list) {
        std::string out = "[";
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i)
                out += ',';
            out += Of(static_cast<T>(list[i]));
        }
        return out + "]";
    }
};

// What a script's reads left, a slot of every type for each op that reads
// a field and for each list op (so every read of one list adds to the same
// list). Fields start at "?", true or 7, so a token shows whether a read
// wrote anything.
using Slots =
    std::tuple<std::string, bool, int32_t, uint32_t, float, double, std::vector<std::string>,
               std::vector<bool>, std::vector<int32_t>, std::vector<uint32_t>, std::vector<float>,
               std::vector<double>, std::vector<Vec2>>;
using Memory = std::map<std::string, Slots>;

// Plays a script of serializer calls, like a Serialize routine: a loader
// reads into `m`, a saver writes what `m` holds. Ops, split at spaces:
//   Name{ Begin, }Name End, ?Name HasChild, ok IsOk and IsFileMissing,
//   x:Name a field (b bool, s string, i int, u unsigned, f float, d double),
//   X:Name a list (B S I U F D, and P for points).
// Each read gives a token: the value ("[a,b]" for a list), "no Name" for a
// failed Begin, yes/no for HasChild, ok/skipping/no file for ok.
// The letters of the ops that read a field or list, and the calls that
// read them, both in the order of Slots.
constexpr std::string_view kTypes = "sbiufdSBIUFDP";
const auto kReads =
    std::tuple(&ASerializer::StringField, &ASerializer::BoolField, &ASerializer::IntField,
               &ASerializer::UnsignedField, &ASerializer::FloatField, &ASerializer::DoubleField,
               &ASerializer::StringList, &ASerializer::BoolList, &ASerializer::IntList,
               &ASerializer::UnsignedList, &ASerializer::FloatList, &ASerializer::DoubleList,
               &ASerializer::Vec2List);

std::vector<std::string> Play(ASerializer& s, const std::string& script, Memory& m) {
    std::vector<std::string> tokens;
    auto* loader = dynamic_cast<LoaderBase*>(&s);
    std::size_t k = 0;
    for (std::size_t at = 0; at < script.size(); ++k) {
        const std::size_t end = std::min(script.find(' ', at), script.size());
        const std::string op = script.substr(at, end - at);
        at = end + 1;
        const std::string name = op.size() >= 2 ? op.substr(2) : "";
        static const Slots fresh{"?", true, 7, 7, 7.0f, 7.0, {}, {}, {}, {}, {}, {}, {}};
        Slots& slots =
            m.try_emplace(std::isupper(op[0]) ? op : std::to_string(k), fresh).first->second;
        auto read = [&]<typename T>(void (ASerializer::*call)(std::string_view, T&)) {
            (s.*call)(name, std::get<T>(slots));
            tokens.push_back(Token::Of(std::get<T>(slots)));
        };
        if (op.back() == '{') {
            if (!s.Begin(op.substr(0, op.size() - 1)))
                tokens.push_back("no " + op.substr(0, op.size() - 1));
        } else if (op[0] == '}') {
            s.End(op.substr(1));
        } else if (op[0] == '?') {
            if (loader)
                tokens.push_back(loader->HasChild(op.substr(1)) ? "yes" : "no");
        } else if (op == "ok") {
            if (loader)
                tokens.push_back(loader->IsFileMissing() ? "no file"
                                 : loader->IsOk()        ? "ok"
                                                         : "skipping");
        } else if (const std::size_t type = kTypes.find(op[0]);
                   type != kTypes.npos && op[1] == ':') {
            std::apply(
                [&](auto... calls) {
                    std::size_t i = 0;
                    ((i++ == type ? read(calls) : void()), ...);
                },
                kReads);
        } else {
            ADD_FAILURE() << "no such op: " << op;
        }
    }
    return tokens;
}

enum : int {
    File = 1,      // read by ALoader from a file
    String = 2,    // read by StringLoadSerializer
    Both = 3,      //
    Saved = 4,     // both savers give the text back from what was read
    Rewritten = 8, // the file loader's tree, written back, gives the text
    Absent = 16,   // the file loader is given a file that does not exist
};

struct Case {
    const char* what;
    std::string text;
    std::string script;
    // The tokens the script reads; a saved case may leave them out, its
    // text being what it must read and save as.
    std::vector<std::string> reads;
    int how = Both;
    // The start of each warning after "<file>:", in any order. In-memory
    // loaders keep structural problems to Diagnostics(), so those count too.
    std::vector<std::string> warnings = {};
};

void Check(const Case& c) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = dir.Write("case.zorvel", c.text);
    for (int loaderKind : {File, String}) {
        if (!(c.how & loaderKind))
            continue;
        SCOPED_TRACE(loaderKind == File ? "file loader" : "in-memory loader");
        EngineTest::WarningLog log;
        const std::unique_ptr<LoaderBase> loader =
            loaderKind == File ? std::unique_ptr<LoaderBase>(
                                     new ALoader(c.how & Absent ? dir.Path("absent.zorvel") : path))
                               : std::make_unique<StringLoadSerializer>(c.text);
        Memory m;
        const std::vector<std::string> tokens = Play(*loader, c.script, m);
        if (!c.reads.empty()) {
            EXPECT_EQ(tokens, c.reads);
        }
        if (c.how & Saved) {
            ASaver saver(dir.Path("saved.zorvel"));
            StringSaveSerializer copy;
            for (ASerializer* out : std::initializer_list<ASerializer*>{&saver, &copy})
                Play(*out, c.script, m), out->Finish();
            EXPECT_EQ(dir.Read("saved.zorvel"), c.text);
            EXPECT_EQ(copy.Result() + "\n", c.text);
        }
        std::vector<std::string> said = log.Texts();
        if (loaderKind == String)
            for (const DataDiagnostic& d : loader->Diagnostics())
                if (d.serious)
                    said.push_back("<text>:" + std::to_string(d.line) + ": " + d.message);
        EXPECT_EQ(said.size(), c.warnings.size()) << testing::PrintToString(said);
        const std::string prefix = loader->DisplayName() + ":";
        for (const std::string& w : c.warnings)
            EXPECT_TRUE(std::ranges::any_of(
                said, [&](const std::string& t) { return t.starts_with(prefix + w); }))
                << w << " in " << testing::PrintToString(said);
    }
    if (c.how & (Saved | Rewritten)) {
        std::string out;
        WriteDataTree(ALoader(path, false).Root(), out);
        EXPECT_EQ(out, c.text);
    }
}

const std::string kCrlf = "Root\r\n  Name:abc\r\n  Pad:x  \r\n  List#1:L\r\n    item\r\n  -L\r\n"
                          "  Obj\r\n  -Obj\r\n-Root\r\n";

TEST(DataFormat, TextsReadAsTheyShouldAndSaveBackUnchanged) {
    const std::vector<Case> cases = {
        // Children are saved grouped by name in first-appearance order; a
        // line of only blanks (an empty item, an empty name) is saved without
        // indentation, since the file loader keeps such a line as it is.
        {"grouped children, texts as they are, blank items and names",
         "Root\n  A:1\n  A:3\n  B:2\n  Empty:\n  Spaced:  padded\n  List#2:Items\n\n    x\n"
         "  -Items\n  List#2:Bools\n    true\n    false\n  -Bools\n  List#0:None\n  -None\n"
         "\n  -\n-Root\n",
         "Root{ i:A i:B i:A s:Empty s:Spaced S:Items B:Bools I:None { } }Root",
         {"1", "2", "3", "", "  padded", "[,x]", "[true,false]", "[]"},
         Both | Saved,
         {"17: blank line"}},
        {"items of blanks survive a file",
         "Root\n  List#3:Items\n  \n\t\n    x\n  -Items\n-Root\n",
         "Root{ S:Items }Root",
         {"[  ,\t,x]"},
         File | Saved},
        // Only a line that begins with "List#" is a list header, so values
        // with '#' in them (colours, notes) read back as they were saved.
        {"values split at the first colon and keep their hashes",
         "Root\n  Text:a:b\n  Colour:#ff9f1c\n  Note:take #2: again\n  Tag:List#1:x\n"
         "  :no name\n  Empty:\n-Root\n",
         "Root{ s:Text s:Colour s:Note s:Tag s: s:Empty }Root",
         {"a:b", "#ff9f1c", "take #2: again", "List#1:x", "no name", ""},
         Both | Saved},
        // Numbers are saved with six significant digits like "%g" wherever
        // they read back as the same number, and just enough more where not.
        {"every field and list type, nested objects, items that look like lines, and numbers",
         "Root\n  Flag:true\n  Text:Hello: world #2, colour #ff9f1c\n  Precise:0.1\n"
         "  Amount:-2.5\n  Mask:4294967295\n  Count:-2147483648\n  List#2:Points\n"
         "    0.1,20675.3\n    1234567,-1e-07\n  -Points\n  List#7:Names\n    plain\n"
         "    with: colon\n    with #hash\n    List#2:NotAList\n    -Other\n\n    Value:x\n"
         "  -Names\n  List#3:Switches\n    true\n    false\n    true\n  -Switches\n"
         "  List#10:Doubles\n    0.1\n    2\n    0.3333333333333333\n    0.30000000000000004\n"
         "    1e-300\n    1e+300\n    123456789.12345679\n    9007199254740992\n"
         "    1.7976931348623157e+308\n    4.94066e-324\n  -Doubles\n  List#19:Floats\n    0.1\n"
         "    0.5\n    1e-07\n    100000\n    1e+06\n    -3\n    20675.3\n    123456.7\n"
         "    1234567\n    16777216\n    3.1415927\n    -0\n    1e+38\n    1.1754944e-38\n"
         "    1.4013e-45\n    -3.4028235e+38\n    inf\n    -inf\n    nan\n  -Floats\n"
         "  List#2:Unsigneds\n    0\n    4294967295\n  -Unsigneds\n  List#3:Ints\n"
         "    -2147483648\n    0\n    2147483647\n  -Ints\n  Item\n    Number:1\n"
         "    Label:second: with colon\n  -Item\n  Item\n    Number:2\n    Label:\n  -Item\n"
         "  After:42\n-Root\n",
         "Root{ b:Flag s:Text d:Precise f:Amount u:Mask i:Count P:Points S:Names B:Switches "
         "D:Doubles F:Floats U:Unsigneds I:Ints Item{ i:Number s:Label }Item Item{ i:Number "
         "s:Label }Item i:After }Root",
         {},
         Both | Saved},
        {"a number is the whole text but for blanks and a '+'; unsigned wraps",
         "Root\nA:  12abc\nB:+8 \nScale:2x\nU:-1\nD: 2.5e3x\nW:12.7e1\n-Root\n",
         "Root{ i:A i:B f:Scale u:U d:D i:W",
         {"7", "8", "7", "4294967295", "7", "7"},
         Both,
         {"2: value of \"A\" has text after its number (\"  12abc\")", "4: value of \"Scale\" has",
          "6: value of \"D\" has", "7: value of \"W\" has"}},
        {"bools are only \"true\"; points are x,y (y 0 when missing) or 0,0 with a warning",
         "Root\nT:true\nCap:True\nOne:1\nList#3:Bools\ntrue\nTRUE\nyes\n-Bools\nList#7:Points\n3\n"
         "1.5,2\n1.5, 2\n1.5 ,2\nx\n-1e-07,+4\n\n-Points\n-Root\n",
         "Root{ b:T b:Cap b:One B:Bools P:Points",
         {"true", "false", "false", "[true,false,false]",
          "[(3,0),(1.5,2),(1.5,2),(1.5,2),(0,0),(-1e-07,4),(0,0)]"},
         Both,
         {"15: list item is not a point (\"x\")", "17: list item is not a point"}},
        {"list items are verbatim up to the closing line, whatever the count says",
         "Root\nList#9:Items\n   key: value\n#hash\nList#1:Inner\n-Inner\nRoot\n-Root\n-Items\n"
         "List#3:Empty\n-Empty\nList#0:Two\na\nb\n-Two\nList#x:Odd:Name\ni\n-Odd:Name\n"
         "MyList#2:x\nList#\n-List#\nAfter:1\n-Root\n",
         "Root{ S:Items S:Empty S:Two S:Odd:Name s:MyList#2 ?List# i:After",
         {"[key: value,#hash,List#1:Inner,-Inner,Root,-Root]", "[]", "[a,b]", "[i]", "x", "yes",
          "1"}},
        {"indentation does not matter",
         "\t\t Root\n      Obj\n\tV:1\n -Obj\n  \t List#1:L\n2,3\n\t\t\t-L\n-Root\n",
         "Root{ Obj{ i:V }Obj P:L",
         {"1", "[(2,3)]"}},
        // While a Begin has failed nothing reads, not even fields that are
        // there; the End balancing it resumes reading.
        {"repeated objects and fields are read in order",
         "Root\nGameObject\nX:1\n-GameObject\nBackground:sky\nGameObject\nX:2\n-GameObject\n"
         "V:1\nV:2\n-Root\n",
         "Root{ GameObject{ i:X }GameObject GameObject{ i:X }GameObject GameObject{ ok "
         "s:Background }GameObject ok s:Background i:V i:V i:V",
         {"1", "2", "no GameObject", "skipping", "?", "ok", "sky", "1", "2", "7"}},
        {"skips nest: only the End of the first failed Begin resumes",
         "Root\nA\nV:1\n-A\n-Root\n",
         "Root{ Missing{ A{ }A ok Missing{ }Missing ok }Other ok }Missing ok A{ i:V",
         {"no Missing", "no A", "skipping", "no Missing", "skipping", "skipping", "ok", "1"}},
        {"lists add to what they hold; missing fields, lists and objects change nothing",
         "Root\nList#1:Ints\n5\n-Ints\nList#1:Ints\n6\n-Ints\n-Root\n",
         "Root{ I:Ints I:Ints I:Ints s:Missing f:Missing b:Missing Absent{ i:Ints }Absent "
         "}Root",
         {"[5]", "[5,6]", "[5,6]", "?", "7", "true", "no Absent", "7"}},
        // Values and lists are not objects a component could be read from.
        {"HasChild sees unread objects of the current one and consumes nothing",
         "Root\nRotator\nSpeed:2\n-Rotator\nName:x\nList#1:Points\n1,2\n-Points\n-Root\n",
         "?Rotator Root{ ?Rotator ?Rotator ?Name ?Points ?Graphics Rotator{ i:Speed }Rotator "
         "?Rotator Missing{ ?Name }Missing s:Name",
         {"no", "yes", "yes", "no", "no", "no", "2", "no", "no Missing", "no", "x"}},
        // Nothing to read stays nothing to read, even once a failed Begin
        // is balanced.
        {"an empty text",
         "",
         "ok }Root Root{ i:X }Root Root{ ?Root }Root i:X ok",
         {"no file", "no Root", "7", "no Root", "no", "7", "no file"}},
        {"a missing file",
         "",
         "ok }Root Root{ i:X }Root Root{ ?Root }Root i:X ok",
         {"no file", "no Root", "7", "no Root", "no", "7", "no file"},
         File | Absent},
        // The in-memory loader also trims the end of each line.
        {"a carriage return before a line feed is dropped (file)",
         kCrlf,
         "Root{ s:Name s:Pad S:L Obj{ }Obj }Root",
         {"abc", "x  ", "[item]"},
         File},
        {"a carriage return before a line feed is dropped (in memory)",
         kCrlf,
         "Root{ s:Name s:Pad S:L Obj{ }Obj }Root",
         {"abc", "x", "[item]"},
         String},
        // Lone carriage returns (old Mac files) end lines too.
        {"a lone carriage return ends a line",
         "Root\r  Name:abc\r  List#1:L\r    item\r  -L\r  Obj\r\n  -Obj\r-Root\r",
         "Root{ s:Name S:L Obj{ }Obj }Root",
         {"abc", "[item]"}},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(DataFormat, MalformedTextsWarnAndReadWhatTheyCan) {
    const std::vector<Case> cases = {
        {"a blank line opens an unnamed object that holds everything up to \"-\"",
         "Root\nA:1\n\nB:2\n-\nC:3\n-Root\n",
         "Root{ i:A i:B i:C { i:B",
         {"1", "7", "3", "2"},
         Both,
         {"3: blank line"}},
        {"missing closing lines run to the end, each reported at its opening line",
         "Root\nOuter\nV:1\nInner\nW:2\nList#2:L\na\n-Outer\n-Root",
         "Root{ Outer{ i:V Inner{ i:W S:L",
         {"1", "2", "[a,-Outer,-Root]"},
         Both,
         {"1: object \"Root\" has no closing line", "2: object \"Outer\"", "4: object \"Inner\"",
          "6: list \"L\" has no closing line"}},
        {"only the first top-level object is read",
         "Root\nV:1\n-Root\nRoot\nV:2\n-Root\nW:3\n",
         "Root{ i:V }Root Root{ }Root i:W",
         {"1", "no Root", "7"},
         Both,
         {"4: text after the end"}},
        {"only the first top-level value is read",
         "V:5\nRoot\n-Root\n",
         "i:V Root{",
         {"5", "no Root"},
         Both,
         {"2: text after the end"}},
        {"only the first top-level list is read",
         "List#1:L\n7\n-L\nV:1\n",
         "I:L i:V",
         {"[7]", "7"},
         Both,
         {"4: text after the end"}},
        // A value that is not a number keeps the variable; an item that is
        // not one reads as 0, so the items after it keep their places.
        {"numbers that are not numbers",
         "Root\n  Speed:fast\n  Lives:many\n  Mask:\n  Ratio:-\n  Big:2147483648\n  List#3:F\n"
         "    1\n    oops\n    3\n  -F\n-Root\n",
         "Root{ f:Speed i:Lives u:Mask d:Ratio i:Big F:F }Root",
         {"7", "7", "7", "7", "7", "[1,0,3]"},
         Both,
         {"2: value of \"Speed\" is not a number", "3: value of \"Lives\"", "4: value of \"Mask\"",
          "5: value of \"Ratio\"", "6: value of \"Big\"",
          "9: list item is not a number (\"oops\")"}},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(DataFormat, NestingDeeperThanTheLimitIsRefusedWhole) {
    // A hostile or broken file can nest objects as deep as it has lines;
    // saved again, its indentation alone would grow with the square.
    std::string nested;
    for (std::size_t i = 0; i < 300000; ++i)
        nested += "a\n";
    const std::size_t limit = kMaxDataDepth;
    for (std::size_t depth : {limit, limit + 1, std::size_t{300000}}) {
        StringLoadSerializer loader(nested.substr(0, 2 * depth));
        EXPECT_EQ(loader.IsRefused(), depth > limit) << depth;
        EXPECT_EQ(loader.Begin("a"), depth <= limit) << depth;
        if (depth > limit) {
            ASSERT_EQ(loader.Diagnostics().size(), 1u);
            EXPECT_EQ(loader.Diagnostics()[0].line, static_cast<int32_t>(limit + 1));
        } else {
            std::string out;
            WriteDataTree(loader.Root(), out);
            EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), static_cast<long>(2 * depth));
        }
    }
}

bool SaveValue(const std::string& path, int32_t value) {
    ASaver saver(path);
    saver.Begin("Root");
    saver.IntField("V", value);
    saver.End("Root");
    return saver.Finish();
}

int32_t LoadValue(const std::string& path) {
    ALoader loader(path);
    int32_t v = 0;
    loader.Begin("Root");
    loader.IntField("V", v);
    return v;
}

bool HasTmpFile(const std::filesystem::path& dir) {
    return std::ranges::any_of(std::filesystem::directory_iterator(dir), [](const auto& entry) {
        return entry.path().extension() == ".tmp";
    });
}

TEST(Serializer, FileNamesNeedADataExtensionAndMayUseBackslashes) {
    // (The program test reads the error's text and file name.)
    for (const char* bad : {"level.txt", "", "Resources\\Levels\\Town", "zorvel", "a.zorv"}) {
        EXPECT_THROW(ALoader loader(bad), DataFileError) << bad;
        EXPECT_THROW(ASaver saver(bad), DataFileError) << bad;
    }
    TempDir dir;
    // Either extension, anywhere in the name.
    for (const char* good : {"a.zorvel", "a.zoml", "a.zorvel.bak"}) {
        dir.Write(good, "Root\nV:1\n-Root\n");
        EXPECT_EQ(LoadValue(dir.Path(good)), 1) << good;
    }
    std::string windowsStyle = dir.Path("Levels.zorvel");
    std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');
    ASSERT_TRUE(SaveValue(windowsStyle, 11));
    EXPECT_EQ(dir.Read("Levels.zorvel"), "Root\n  V:11\n-Root\n");
    EXPECT_EQ(LoadValue(windowsStyle), 11);
}

TEST(Serializer, SaveIsAtomic) {
    TempDir dir;
    const std::string path = dir.Path("level.zorvel");
    ASSERT_TRUE(SaveValue(path, 1));
    ASSERT_TRUE(SaveValue(path, 2));
    EXPECT_EQ(dir.Read("level.zorvel"), "Root\n  V:2\n-Root\n");
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

    // A file of the user's beside it, named as a temporary file might be,
    // is left alone.
    const std::string kept = dir.Path("kept.zorvel");
    dir.Write("kept.zorvel.tmp", "notes\n");
    ASSERT_TRUE(SaveValue(kept, 5));
    EXPECT_EQ(dir.Read("kept.zorvel.tmp"), "notes\n");
    std::filesystem::remove(kept + ".tmp");

    // Saving through a symbolic link keeps the link and replaces what it
    // leads to (here through a second link, relative, in another folder).
    std::filesystem::create_directories(dir.Path("real"));
    dir.Write("real/target.zorvel", "Root\n  V:0\n-Root\n");
    std::filesystem::create_symlink("target.zorvel", dir.Path("real/inner.zorvel"));
    std::filesystem::create_symlink("real/inner.zorvel", dir.Path("link.zorvel"));
    ASSERT_TRUE(SaveValue(dir.Path("link.zorvel"), 6));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.zorvel")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("real/inner.zorvel")));
    EXPECT_EQ(dir.Read("real/target.zorvel"), "Root\n  V:6\n-Root\n");
    EXPECT_FALSE(HasTmpFile(dir.Root()) || HasTmpFile(dir.Path("real")));

    // When the new text cannot be written at all the old file stays as
    // it was: here the directory is read-only (which only binds a user
    // without the rights to ignore it).
    TempDir readOnly;
    const std::string level = readOnly.Path("level.zorvel");
    ASSERT_TRUE(SaveValue(level, 7));
    std::filesystem::permissions(readOnly.Root(), std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_exec);
    if (::access(readOnly.Root().c_str(), W_OK) != 0) {
        EXPECT_FALSE(SaveValue(level, 8));
        EXPECT_EQ(readOnly.Read("level.zorvel"), "Root\n  V:7\n-Root\n");
        EXPECT_FALSE(HasTmpFile(readOnly.Root()));
    }
    std::filesystem::permissions(readOnly.Root(), std::filesystem::perms::owner_all);
}

TEST(Serializer, SaverKeepsTheFileShapeWhateverTheText) {
    // The format has no escapes. A line break in a text would start a new
    // line, and an item equal to its list's closing line would end the list
    // there and spill the rest into the parent: the first becomes a space,
    // the second an empty item, and the developer hears of both.
    StringSaveSerializer saver;
    EngineTest::WarningLog log;
    saver.End("Root"); // at the root: does nothing
    saver.Begin("Root");
    std::string text = "two\nlines\r\n";
    std::vector<std::string> items{"a\nb"}, names{"a", "-Names", "b"};
    int32_t after = 7;
    saver.StringField("Text", text);
    saver.StringList("Items", items);
    saver.StringList("Names", names);
    saver.IntField("After", after);
    saver.End("Root");
    saver.End("Root");
    saver.IntField("Top", after);
    saver.Finish();
    EXPECT_EQ(saver.Result(), "Root\n  Text:two lines  \n  List#1:Items\n    a b\n  -Items\n"
                              "  List#3:Names\n    a\n\n    b\n  -Names\n  After:7\n-Root\nTop:7");
    EXPECT_EQ(log.Count(), 3) << log;
    EXPECT_TRUE(log.Contains("\"Text\"") && log.Contains("\"Items\"") && log.Contains("\"Names\""))
        << log;
}

} // namespace
} // namespace Flurr
