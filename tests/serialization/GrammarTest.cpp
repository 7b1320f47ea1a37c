// The line grammar of data files as the loaders read it and the savers
// write it: what each kind of line means, the exact saved layout, and the
// odd inputs hand-edited files contain.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "serialization/DataFiles.h"
#include "serialization/Element.h"
#include "serialization/Serializer.h"

namespace Flurr {
namespace {

using EngineTest::TempDir;
using Testing::ReadFile;
using Testing::WriteFile;

TEST(Grammar, SaverLayoutIsExact) {
    auto write = [](ASerializer& s) {
        s.Begin("Root");
        s.Begin("Rotator");
        float amount = 0.5f;
        s.FloatField("RotationAmount", amount);
        s.End("Rotator");
        std::vector<Vec2> set{{-1.0f, 1.0f}, {1.0f, 1.0f}};
        s.Vec2List("CollisionSet", set);
        s.End("Root");
    };
    const std::string expected = "Root\n"
                                 "  Rotator\n"
                                 "    RotationAmount:0.5\n"
                                 "  -Rotator\n"
                                 "  List#2:CollisionSet\n"
                                 "    -1,1\n"
                                 "    1,1\n"
                                 "  -CollisionSet\n"
                                 "-Root\n";
    TempDir dir;
    ASaver file(dir.Path("example.zorvel"));
    write(file);
    ASSERT_TRUE(file.Finish());
    EXPECT_EQ(ReadFile(dir.Path("example.zorvel")), expected);
    StringSaveSerializer text;
    write(text);
    text.Finish();
    EXPECT_EQ(text.Result(), expected.substr(0, expected.size() - 1));

    // Children are grouped by name in first-appearance order; a value's
    // text is written as it is; empty and blank lines carry no indentation
    // (readers keep a line of only spaces as it is).
    StringSaveSerializer grouped;
    grouped.Begin("Root");
    int32_t a1 = 1, b = 2, a2 = 3;
    std::string empty, spaced = "  padded";
    std::vector<std::string> items{"", "x"};
    std::vector<bool> bools{true, false};
    std::vector<int32_t> none;
    grouped.IntField("A", a1);
    grouped.IntField("B", b);
    grouped.IntField("A", a2);
    grouped.StringField("Empty", empty);
    grouped.StringField("Spaced", spaced);
    grouped.StringList("Items", items);
    grouped.BoolList("Bools", bools);
    grouped.IntList("None", none);
    grouped.Begin("");
    grouped.End("");
    grouped.End("Root");
    grouped.Finish();
    EXPECT_EQ(grouped.Result(), "Root\n"
                                "  A:1\n"
                                "  A:3\n"
                                "  B:2\n"
                                "  Empty:\n"
                                "  Spaced:  padded\n"
                                "  List#2:Items\n"
                                "\n"
                                "    x\n"
                                "  -Items\n"
                                "  List#2:Bools\n"
                                "    true\n"
                                "    false\n"
                                "  -Bools\n"
                                "  List#0:None\n"
                                "  -None\n"
                                "\n"
                                "  -\n"
                                "-Root");

    StringLoadSerializer back(grouped.Result());
    ASSERT_TRUE(back.Begin("Root"));
    int32_t first = 0, second = 0;
    std::string readSpaced;
    std::vector<std::string> readItems;
    back.IntField("A", first);
    back.IntField("A", second);
    back.StringField("Spaced", readSpaced);
    back.StringList("Items", readItems);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(readSpaced, "  padded");
    EXPECT_EQ(readItems, items);
    EXPECT_TRUE(back.Begin(""));
    back.End("");
    back.End("Root");
}

TEST(Grammar, BlankItemsSurviveAFile) {
    // The file loader keeps a line of only blanks as it is, so such an
    // item must be written without indentation to come back unchanged.
    TempDir dir;
    const std::string path = dir.Path("blank.zorvel");
    std::vector<std::string> items{"  ", "\t", "x"};
    {
        ASaver saver(path);
        saver.Begin("Root");
        saver.StringList("Items", items);
        saver.End("Root");
        ASSERT_TRUE(saver.Finish());
    }
    ALoader loader(path);
    std::vector<std::string> read;
    ASSERT_TRUE(loader.Begin("Root"));
    loader.StringList("Items", read);
    EXPECT_EQ(read, items);
}

TEST(Grammar, ValuesSplitAtTheFirstColonAndKeepHashes) {
    StringLoadSerializer loader("Root\n"
                                "Text:a:b\n"
                                "Colour:#ff9f1c\n"
                                "Note:take #2: again\n"
                                "Tag:List#1:x\n"
                                ":no name\n"
                                "Empty:\n"
                                "-Root\n");
    std::string text, colour, note, tag, unnamed, empty = "was set";
    ASSERT_TRUE(loader.Begin("Root"));
    loader.StringField("Text", text);
    loader.StringField("Colour", colour);
    loader.StringField("Note", note);
    loader.StringField("Tag", tag);
    loader.StringField("", unnamed);
    loader.StringField("Empty", empty);
    loader.End("Root");
    EXPECT_EQ(text, "a:b");
    EXPECT_EQ(colour, "#ff9f1c");
    EXPECT_EQ(note, "take #2: again");
    EXPECT_EQ(tag, "List#1:x");
    EXPECT_EQ(unnamed, "no name");
    EXPECT_EQ(empty, "");

    // What a saver writes with '#' in a value reads back as that value.
    StringSaveSerializer saver;
    saver.Begin("Root");
    saver.StringField("Colour", colour);
    saver.StringField("Note", note);
    saver.End("Root");
    saver.Finish();
    StringLoadSerializer again(saver.Result());
    std::string colour2, note2;
    again.Begin("Root");
    again.StringField("Colour", colour2);
    again.StringField("Note", note2);
    EXPECT_EQ(colour2, colour);
    EXPECT_EQ(note2, note);
}

TEST(Grammar, ListsTakeItemsVerbatimAndIgnoreTheCount) {
    StringLoadSerializer loader("Root\n"
                                "List#9:Items\n"
                                "   key: value\n"
                                "#hash\n"
                                "List#1:Inner\n"
                                "-Inner\n"
                                "Root\n"
                                "-Root\n"
                                "-Items\n"
                                "List#3:Empty\n"
                                "-Empty\n"
                                "List#0:Two\n"
                                "a\n"
                                "b\n"
                                "-Two\n"
                                "List#x:Odd:Name\n"
                                "i\n"
                                "-Odd:Name\n"
                                "After:1\n"
                                "-Root\n");
    std::vector<std::string> items, empty{"kept"}, two, odd;
    int32_t after = 0;
    ASSERT_TRUE(loader.Begin("Root"));
    loader.StringList("Items", items);
    loader.StringList("Empty", empty);
    loader.StringList("Two", two);
    loader.StringList("Odd:Name", odd);
    loader.IntField("After", after);
    loader.End("Root");
    EXPECT_EQ(items, (std::vector<std::string>{"key: value", "#hash", "List#1:Inner", "-Inner",
                                               "Root", "-Root"}));
    EXPECT_EQ(empty, (std::vector<std::string>{"kept"}));
    EXPECT_EQ(two, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(odd, (std::vector<std::string>{"i"}));
    EXPECT_EQ(after, 1);

    // Only a line that begins with "List#" and has a colon is a header.
    StringLoadSerializer notHeaders("Root\n"
                                    "MyList#2:x\n"
                                    "List#\n"
                                    "-List#\n"
                                    "-Root\n");
    std::string myList;
    ASSERT_TRUE(notHeaders.Begin("Root"));
    notHeaders.StringField("MyList#2", myList);
    EXPECT_EQ(myList, "x");
    EXPECT_TRUE(notHeaders.HasChild("List#"));
}

TEST(Grammar, BlankLineSwallowsTheRestOfItsObject) {
    // A blank line is an object with an empty name, closed only by "-".
    StringLoadSerializer closed("Root\n"
                                "A:1\n"
                                "\n"
                                "B:2\n"
                                "-\n"
                                "C:3\n"
                                "-Root\n");
    int32_t a = 0, b = 0, c = 0, inner = 0;
    ASSERT_TRUE(closed.Begin("Root"));
    closed.IntField("A", a);
    closed.IntField("B", b);
    closed.IntField("C", c);
    ASSERT_TRUE(closed.Begin(""));
    closed.IntField("B", inner);
    closed.End("");
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(inner, 2);

    TempDir dir;
    const std::string path = dir.Path("blank.zorvel");
    WriteFile(path, "Root\n  A:1\n\n  B:2\n-Root\n");
    EngineTest::WarningLog log;
    ALoader open(path);
    a = b = 0;
    ASSERT_TRUE(open.Begin("Root"));
    open.IntField("A", a);
    open.IntField("B", b);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0);
    // The loader names the line that did it.
    EXPECT_TRUE(log.Contains(path + ":3:")) << log;
}

TEST(Grammar, IndentationIsIrrelevant) {
    const std::string flat = "Root\nObj\nV:1\n-Obj\nList#1:L\n2,3\n-L\n-Root\n";
    const std::string odd =
        "\t\t Root\n      Obj\n\tV:1\n -Obj\n  \t List#1:L\n2,3\n\t\t\t-L\n-Root\n";
    TempDir dir;
    for (const std::string& text : {flat, odd}) {
        WriteFile(dir.Path("i.zorvel"), text);
        ALoader file(dir.Path("i.zorvel"));
        StringLoadSerializer string(text);
        for (LoaderBase* loader : std::vector<LoaderBase*>{&file, &string}) {
            int32_t v = 0;
            std::vector<Vec2> l;
            ASSERT_TRUE(loader->Begin("Root"));
            ASSERT_TRUE(loader->Begin("Obj"));
            loader->IntField("V", v);
            loader->End("Obj");
            loader->Vec2List("L", l);
            EXPECT_EQ(v, 1);
            ASSERT_EQ(l.size(), 1u);
            EXPECT_EQ(l[0], Vec2(2.0f, 3.0f));
        }
    }
}

TEST(Grammar, BoolAndVec2Texts) {
    StringLoadSerializer loader("Root\n"
                                "T:true\n"
                                "Cap:True\n"
                                "One:1\n"
                                "Space:true \n"
                                "List#3:Bools\n"
                                "true\n"
                                "TRUE\n"
                                "yes\n"
                                "-Bools\n"
                                "List#7:Points\n"
                                "3\n"
                                "1.5,2\n"
                                "1.5, 2\n"
                                "1.5 ,2\n"
                                "x\n"
                                "-1e-07,+4\n"
                                "\n"
                                "-Points\n"
                                "-Root\n");
    bool t = false, cap = true, one = true, space = false;
    std::vector<bool> bools;
    std::vector<Vec2> points;
    ASSERT_TRUE(loader.Begin("Root"));
    loader.BoolField("T", t);
    loader.BoolField("Cap", cap);
    loader.BoolField("One", one);
    loader.BoolField("Space", space);
    loader.BoolList("Bools", bools);
    loader.Vec2List("Points", points);
    EXPECT_TRUE(t);
    EXPECT_FALSE(cap);
    EXPECT_FALSE(one);
    EXPECT_TRUE(space); // the in-memory loader trims line ends
    EXPECT_EQ(bools, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(points, (std::vector<Vec2>{{3.0f, 0.0f},
                                         {1.5f, 2.0f},
                                         {1.5f, 2.0f},
                                         {1.5f, 0.0f},
                                         {0.0f, 0.0f},
                                         {-1e-7f, 4.0f},
                                         {0.0f, 0.0f}}));
}

TEST(Grammar, RepeatedObjectsAreConsumedInOrder) {
    StringLoadSerializer loader("Root\n"
                                "GameObject\n"
                                "X:1\n"
                                "-GameObject\n"
                                "Background:sky\n"
                                "GameObject\n"
                                "X:2\n"
                                "-GameObject\n"
                                "-Root\n");
    ASSERT_TRUE(loader.Begin("Root"));
    std::vector<int32_t> xs;
    while (loader.Begin("GameObject")) {
        int32_t x = 0;
        loader.IntField("X", x);
        xs.push_back(x);
        loader.End("GameObject");
    }
    EXPECT_FALSE(loader.IsOk());
    // Fields inside a failed Begin read nothing, even ones that exist.
    std::string skipped;
    loader.StringField("Background", skipped);
    EXPECT_EQ(skipped, "");
    loader.End("GameObject");
    EXPECT_TRUE(loader.IsOk());
    std::string background;
    loader.StringField("Background", background);
    loader.End("Root");
    EXPECT_EQ(xs, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(background, "sky");

    // A field read twice takes the second element of that name, then none.
    StringLoadSerializer twice("Root\nV:1\nV:2\n-Root\n");
    int32_t v = 0;
    twice.Begin("Root");
    twice.IntField("V", v);
    EXPECT_EQ(v, 1);
    twice.IntField("V", v);
    EXPECT_EQ(v, 2);
    v = 9;
    twice.IntField("V", v);
    EXPECT_EQ(v, 9);

    // Skips nest: only the End matching the first failed Begin resumes.
    StringLoadSerializer nested("Root\nA\nV:1\n-A\n-Root\n");
    nested.Begin("Root");
    EXPECT_FALSE(nested.Begin("Missing"));
    EXPECT_FALSE(nested.Begin("A"));
    nested.End("A");
    EXPECT_FALSE(nested.IsOk());
    nested.End("Other");
    EXPECT_FALSE(nested.IsOk());
    nested.End("Missing");
    EXPECT_TRUE(nested.Begin("A"));
}

TEST(Grammar, OnlyTheFirstTopLevelElementIsRead) {
    StringLoadSerializer loader("Root\nV:1\n-Root\nRoot\nV:2\n-Root\nW:3\n");
    int32_t v = 0, w = 0;
    ASSERT_TRUE(loader.Begin("Root"));
    loader.IntField("V", v);
    loader.End("Root");
    EXPECT_FALSE(loader.Begin("Root"));
    loader.End("Root");
    loader.IntField("W", w);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(w, 0);
    ASSERT_FALSE(loader.Diagnostics().empty());
    EXPECT_EQ(loader.Diagnostics().back().line, 4);

    // A value or a list may be the top-level element too.
    StringLoadSerializer value("V:5\nRoot\n-Root\n");
    v = 0;
    value.IntField("V", v);
    EXPECT_EQ(v, 5);
    EXPECT_FALSE(value.Begin("Root"));
    StringLoadSerializer list("List#1:L\n7\n-L\nV:1\n");
    std::vector<int32_t> l;
    v = 0;
    list.IntList("L", l);
    list.IntField("V", v);
    EXPECT_EQ(l, (std::vector<int32_t>{7}));
    EXPECT_EQ(v, 0);
}

TEST(Grammar, MissingClosingLinesRunToTheEnd) {
    StringLoadSerializer loader("Root\n"
                                "Outer\n"
                                "V:1\n"
                                "Inner\n"
                                "W:2\n"
                                "List#2:L\n"
                                "a\n"
                                "-Outer\n"
                                "-Root");
    ASSERT_TRUE(loader.Begin("Root"));
    ASSERT_TRUE(loader.Begin("Outer"));
    int32_t v = 0, w = 0;
    std::vector<std::string> l;
    loader.IntField("V", v);
    ASSERT_TRUE(loader.Begin("Inner"));
    loader.IntField("W", w);
    loader.StringList("L", l);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(l, (std::vector<std::string>{"a", "-Outer", "-Root"}));

    // Every unclosed element is reported at its own line, and elements
    // know where they came from.
    std::vector<int32_t> lines;
    for (const DataDiagnostic& d : loader.Diagnostics())
        if (d.serious)
            lines.push_back(d.line);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<int32_t>{1, 2, 4, 6}));

    StringLoadSerializer single("Root");
    EXPECT_TRUE(single.Begin("Root"));
    EXPECT_EQ(single.Root().children.at(0).items.at(0)->line, 1);
}

TEST(Grammar, CarriageReturnsBeforeLineFeedsAreDropped) {
    const std::string text = "Root\r\n"
                             "  Name:abc\r\n"
                             "  Pad:x  \r\n"
                             "  List#1:L\r\n"
                             "    item\r\n"
                             "  -L\r\n"
                             "  Obj\r\n"
                             "  -Obj\r\n"
                             "-Root\r\n";
    TempDir dir;
    WriteFile(dir.Path("crlf.zorvel"), text);
    ALoader file(dir.Path("crlf.zorvel"));
    StringLoadSerializer string(text);
    for (LoaderBase* loader : std::vector<LoaderBase*>{&file, &string}) {
        std::string name, pad;
        std::vector<std::string> l;
        ASSERT_TRUE(loader->Begin("Root"));
        loader->StringField("Name", name);
        loader->StringField("Pad", pad);
        loader->StringList("L", l);
        EXPECT_TRUE(loader->Begin("Obj"));
        loader->End("Obj");
        loader->End("Root");
        EXPECT_EQ(name, "abc");
        EXPECT_EQ(l, (std::vector<std::string>{"item"}));
        EXPECT_TRUE(loader->Diagnostics().empty());
        // Only the in-memory loader trims the end of a line.
        EXPECT_EQ(pad, loader == &file ? "x  " : "x");
    }

    // Only one carriage return goes; a tree read from a file that had two
    // is written so that it reads back the same (the data tool's format).
    WriteFile(dir.Path("crcr.zorvel"), "Root\r\r\n  Name:abc\r\r\n-Root\r\r\n");
    ALoader twice(dir.Path("crcr.zorvel"));
    std::string out;
    WriteDataTree(twice.Root(), out);
    WriteFile(dir.Path("again.zorvel"), out);
    ALoader again(dir.Path("again.zorvel"));
    std::string name;
    ASSERT_TRUE(again.Begin("Root\r"));
    again.StringField("Name", name);
    EXPECT_EQ(name, "abc\r");
    EXPECT_TRUE(again.Diagnostics().empty());
}

TEST(Grammar, DeepNestingDoesNotExhaustTheStack) {
    // A hostile or broken file can nest objects as deep as it has lines.
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "a\n";
        return text;
    };
    {
        StringLoadSerializer loader(nested(300000));
        EXPECT_TRUE(loader.Begin("a"));
        EXPECT_TRUE(loader.Begin("a"));
    }
    // Written indentation grows with depth, so the writer gets a shallower
    // (but still recursion-hostile under sanitizers) tree.
    constexpr int depth = 3000;
    StringLoadSerializer loader(nested(depth));
    std::string out;
    WriteDataTree(loader.Root(), out);
    // Every object comes back with its closing line.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2 * depth);
    EXPECT_EQ(out.substr(0, 12), "a\n  a\n    a\n");
    EXPECT_EQ(out.substr(out.size() - 8), "  -a\n-a\n");
}

} // namespace
} // namespace Flurr
