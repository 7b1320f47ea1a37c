// The inspector's core without a window: for every registered component
// class, a scripted widget edits one field and the edit goes back through
// the object's own Serialize; the text read back differs from the text
// before in that field's line alone. Also: F2 in the editor is one view.

#include <gtest/gtest.h>

#include <sstream>

#include "editor/WidgetSerializer.h"
#include "editor/LevelEditor.h"
#include "engine/Component.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "game/TestGame.h"
#include "physics/Physics.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

using namespace Flurr;
namespace {

// Every group open; the n-th value shown is changed, and the line it will
// be written as is kept.
class ScriptedWidgets : public FieldWidgets {
public:
    explicit ScriptedWidgets(int target_) : target(target_) {}

    bool Open(std::string_view) override { return true; }
    void Close() override {}
    bool Bool(std::string_view n, bool& v) override {
        return Change(
            n, v, [&] { v = !v; }, v ? "false" : "true");
    }
    bool Text(std::string_view n, std::string& v) override {
        return Change(
            n, v, [&] { v += "x"; }, v + "x");
    }
    bool Double(std::string_view n, double& v) override {
        return Change(
            n, v, [&] { v += 1.0; }, FormatDouble(v + 1.0));
    }
    bool Float(std::string_view n, float& v) override {
        return Change(
            n, v, [&] { v += 1.0f; }, FormatFloat(v + 1.0f));
    }
    bool Unsigned(std::string_view n, uint32_t& v) override {
        return Change(
            n, v, [&] { ++v; }, std::to_string(v + 1));
    }
    bool Int(std::string_view n, int32_t& v) override {
        return Change(
            n, v, [&] { ++v; }, std::to_string(v + 1));
    }
    bool Point(std::string_view n, Vec2& v) override {
        return Change(
            n, v, [&] { v.x += 1.0f; }, FormatFloat(v.x + 1.0f) + "," + FormatFloat(v.y));
    }
    bool OpenList(std::string_view, std::size_t) override {
        ++inList;
        return true;
    }
    int Resize(std::size_t) override { return 0; }
    void CloseList() override { --inList; }

    int shown = 0;
    std::string expectedLine;

private:
    template <typename T, typename Edit>
    bool Change(std::string_view name, T&, Edit edit, const std::string& text) {
        if (shown++ != target)
            return false;
        // A list item is its text alone; a value is "name:text".
        expectedLine = inList > 0 ? text : std::string(name) + ":" + text;
        edit();
        return true;
    }

    int target;
    int inList = 0;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(
            line.find_first_not_of(' ') == std::string::npos ? 0 : line.find_first_not_of(' ')));
    return lines;
}

// The lines that differ, as "before -> after"; a different count is one
// difference too.
std::vector<std::string> Differences(const std::string& before, const std::string& after) {
    const std::vector<std::string> a = Lines(before), b = Lines(after);
    std::vector<std::string> out;
    if (a.size() != b.size())
        out.push_back(std::to_string(a.size()) + " lines -> " + std::to_string(b.size()));
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            out.push_back(a[i] + " -> " + b[i]);
    return out;
}

// The transform's seven values come first in the walk.
constexpr int kTransformValues = 7;

TEST(Inspector, AnEditOfOneFieldOfEveryComponentClassChangesThatFieldAlone) {
    Core core;
    GameConfig config = TestGame::Config();
    config.systems = {.window = false, .graphics = false, .input = false, .sound = false};
    GameSystems systems = AddSystems(core, config);
    TestGame::Start(core);
    systems.spaces->ActivateOnlyGameSpace();
    Factory& factory = *systems.factory;

    struct Row {
        std::string component;
        int target; // which value shown is changed
    };
    std::vector<Row> rows = {{"GraphicsComponent", 0}}; // the transform's "X"
    for (const Component* prototype : GetComponentRegistry().order)
        rows.push_back({prototype->GetName(), kTransformValues});
    int edited = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.component + ", value " + std::to_string(row.target));
        GameObject* object = factory.CreateObjectFromText(
            "Root\n  GameObject\n    X:5\n    Y:-3\n    WIDTH:40\n    HEIGHT:30\n    " +
            row.component + "\n    -" + row.component + "\n  -GameObject\n-Root\n");
        ASSERT_NE(object, nullptr);
        ASSERT_NE(object->GetComponent(GetComponentRegistry().componentTypeIds[row.component]),
                  nullptr);
        const int32_t id = object->id;
        const std::string before = ObjectText(*object);

        ScriptedWidgets widgets(row.target);
        WidgetSerializer walker(widgets);
        walker.Walk(*object);
        // The walk shows what a save writes and changes nothing itself.
        EXPECT_EQ(ObjectText(*object), before);
        if (widgets.shown <= row.target) {
            // A class whose every field is an empty list: nothing to edit.
            EXPECT_FALSE(walker.Edit());
            continue;
        }
        ASSERT_TRUE(walker.Edit());
        ASSERT_TRUE(ApplyEdit(*object, *walker.Edit()));
        EXPECT_EQ(factory.FindObject(id), object) << "rebuilt in place, same id";
        const std::string after = ObjectText(*object);
        const std::vector<std::string> differences = Differences(before, after);
        ASSERT_EQ(differences.size(), 1u) << before << "\n---\n" << after;
        EXPECT_EQ(differences[0].substr(differences[0].find(" -> ") + 4), widgets.expectedLine);
        ++edited;
        factory.DestroyObject(object);
    }
    // A few classes keep nothing but lists, empty by default.
    EXPECT_GT(edited, static_cast<int>(rows.size()) / 2);
    core.Shutdown();
}

TEST(Inspector, F2InTheEditorTogglesTheEditorsOutlinesAlone) {
    Core core;
    GameConfig config = TestGame::Config();
    config.systems.editor = config.systems.physics = config.systems.saveDialog = true;
    GameSystems systems = AddSystems(core, config);
    TestGame::Start(core);
    systems.spaces->ActivateOnlyGameSpace();
    auto key = [&](uint8_t code) {
        KeyTriggeredMessage down(code);
        core.SendMessage(&down);
        KeyReleasedMessage up(code);
        core.SendMessage(&up);
    };
    key(KeyCode::F1);
    ASSERT_TRUE(systems.editor->IsOpen());
    key(KeyCode::F2);
    EXPECT_TRUE(systems.editor->debugDraw);
    EXPECT_FALSE(systems.physics->debugDraw) << "play's outlines are not switched on unasked";
    systems.spaces->ActivateOnlyGameSpace();
    key(KeyCode::F2);
    EXPECT_TRUE(systems.physics->debugDraw) << "in play F2 is still physics' own";
    core.Shutdown();
}

} // namespace
