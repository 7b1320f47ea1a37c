#include "editor/PhysicsEditor.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "editor/LevelEditor.h"
#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/InputActions.h"
#include "engine/Message.h"
#include "physics/PhysicsComponent.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

// The banner stands 30 pixels above the bottom of the 800 x 600 layout.
constexpr int32_t kBannerLeft = 500;
constexpr int32_t kBannerTop = 600 - 30;

void Flip(std::vector<std::vector<Vec2>>& sets) {
    for (std::vector<Vec2>& set : sets)
        for (Vec2& point : set)
            point.y = -point.y;
}

void SetColour(float r, float g, float b) {
    Core::Broadcast(DebugSetColorMessage(r, g, b, 255.0f));
}

// A square of `side` centred on `at` (y pointing down, as the message has it).
void Square(Vec2 at, float side) {
    Core::Broadcast(DebugRectMessage(at.x - side / 2.0f, at.y - side / 2.0f, side, side));
}

} // namespace

PhysicsEditor::PhysicsEditor(LevelEditor& levelEditor_) : levelEditor(levelEditor_) {}

bool PhysicsEditor::IsOpen() const {
    return object != LevelEditor::kNone;
}

GameObject* PhysicsEditor::Edited() const {
    Factory* factory = Factory::Instance();
    return factory && IsOpen() ? factory->FindObject(object) : nullptr;
}

PhysicsComponent* PhysicsEditor::Component() const {
    GameObject* target = Edited();
    return target ? target->Get<PhysicsComponent>() : nullptr;
}

Vec2 PhysicsEditor::Cursor() const {
    const Vec2 at = levelEditor.CursorWorld();
    return Vec2(at.x, -at.y);
}

Vec2 PhysicsEditor::Place(const GameObject& target, Vec2 point) const {
    return Vec2(target.x + point.x, point.y - target.y);
}

bool PhysicsEditor::Hit(const GameObject& target, const Vertex& vertex, Vec2 cursor) const {
    const float reach = kPickPixels * levelEditor.WorldPerPixel();
    const Vec2 at = Place(target, workingSets[vertex.set][vertex.index]);
    return std::fabs(at.x - cursor.x) <= reach && std::fabs(at.y - cursor.y) <= reach;
}

void PhysicsEditor::Open() {
    GameObject* target = levelEditor.SelectedObject();
    if (!target || IsOpen())
        return;
    auto* physics = target->Get<PhysicsComponent>();
    if (!physics) {
        // Giving the object physics changes the level: a step of its own.
        levelEditor.PushUndo();
        const float w = static_cast<float>(target->width) / 2.0f;
        const float h = static_cast<float>(target->height) / 2.0f;
        physics = new PhysicsComponent();
        physics->collisionSets = {{Vec2(w, h), Vec2(w, -h), Vec2(-w, -h), Vec2(-w, h)}};
        physics->floorSets = {std::vector<bool>(4, false)};
        // No body and no place in the Physics system: both come when the
        // level is next loaded, like every other outline edited here.
        target->AddComponent(physics);
        physics->Initialize();
    }
    object = target->id;
    boxSelecting = draggingVertices = dragRecorded = false;
    selection.clear();
    currentSet = kNoSet;
    workingSets = physics->collisionSets;
    Flip(workingSets);
    // A flag per vertex: lists written by hand may be short (or long).
    workingFloorSets = physics->floorSets;
    workingFloorSets.resize(workingSets.size());
    for (std::size_t k = 0; k < workingSets.size(); ++k)
        workingFloorSets[k].resize(workingSets[k].size(), false);
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(Spaces::PhysicsEditor, true);
}

void PhysicsEditor::Close() {
    if (!IsOpen())
        return;
    WriteBack();
    object = LevelEditor::kNone;
    selection.clear();
    currentSet = kNoSet;
    workingSets.clear();
    workingFloorSets.clear();
    boxSelecting = draggingVertices = dragRecorded = false;
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(Spaces::PhysicsEditor, false);
}

int32_t PhysicsEditor::CloseForRestore() {
    Factory* factory = Factory::Instance();
    int32_t place = -1;
    if (factory && IsOpen()) {
        int32_t n = 0;
        for (const auto& [id, candidate] : factory->objects) {
            if (id == object) {
                place = n;
                break;
            }
            n += candidate->savedWithLevel ? 1 : 0;
        }
    }
    Close();
    return place;
}

void PhysicsEditor::ReopenAt(int32_t place) {
    Factory* factory = Factory::Instance();
    if (!factory || place < 0)
        return;
    int32_t n = 0;
    for (const auto& [id, candidate] : factory->objects) {
        if (!candidate->savedWithLevel)
            continue;
        if (n++ == place) {
            // The step undone may be the one that gave it physics.
            if (candidate->Get<PhysicsComponent>()) {
                levelEditor.Select(id);
                Open();
            }
            return;
        }
    }
}

bool PhysicsEditor::BeginEdit() {
    if (!Component()) {
        // The object went meanwhile: nothing to edit or write back.
        Close();
        return false;
    }
    levelEditor.PushUndo();
    return true;
}

void PhysicsEditor::WriteBack() {
    PhysicsComponent* physics = Component();
    if (!physics)
        return;
    // Every set turns back, whatever its size: a set of two points must
    // not come back mirrored.
    physics->collisionSets = workingSets;
    Flip(physics->collisionSets);
    physics->floorSets = workingFloorSets;
}

void PhysicsEditor::MouseMoved(int32_t dx, int32_t dy) {
    const float scale = levelEditor.WorldPerPixel();
    const Vec2 delta(static_cast<float>(dx) * scale, static_cast<float>(dy) * scale);
    if (levelEditor.ShiftHeld()) {
        boxEnd += delta;
        return;
    }
    if (selection.empty() || !draggingVertices || (dx == 0 && dy == 0))
        return;
    // One drag is one undo step.
    if (!dragRecorded) {
        if (!BeginEdit())
            return;
        dragRecorded = true;
    }
    for (const Vertex& vertex : selection)
        workingSets[vertex.set][vertex.index] += delta;
    WriteBack();
}

void PhysicsEditor::MouseClicked() {
    const GameObject* target = Edited();
    if (!target) {
        Close();
        return;
    }
    const Vec2 cursor = Cursor();
    if (levelEditor.ShiftHeld()) {
        boxSelecting = true;
        boxStart = Vec2(std::trunc(cursor.x), std::trunc(cursor.y));
        boxEnd = boxStart;
        selection.clear();
        return;
    }
    const bool ctrl = levelEditor.CtrlHeld();
    for (auto it = selection.begin(); it != selection.end(); ++it)
        if (Hit(*target, *it, cursor)) {
            if (ctrl)
                selection.erase(it);
            else
                draggingVertices = true;
            return;
        }
    if (!ctrl)
        selection.clear();
    for (std::size_t k = 0; k < workingSets.size(); ++k)
        for (std::size_t i = 0; i < workingSets[k].size(); ++i)
            if (Hit(*target, {k, i}, cursor)) {
                selection.push_back({k, i});
                currentSet = k;
                draggingVertices = true;
                return;
            }
}

void PhysicsEditor::MouseReleased() {
    boxSelecting = draggingVertices = dragRecorded = false;
    const GameObject* target = Edited();
    if (!target || !selection.empty())
        return;
    // A plain click that picked nothing looks in a 1 x 1 box at the last
    // box's corner; a box dragged up or left has no inside.
    const Vec2 size = levelEditor.ShiftHeld() ? boxEnd - boxStart : Vec2(1.0f, 1.0f);
    for (std::size_t k = 0; k < workingSets.size(); ++k)
        for (std::size_t i = 0; i < workingSets[k].size(); ++i) {
            const Vec2 at = Place(*target, workingSets[k][i]);
            if (at.x >= boxStart.x && at.x <= boxStart.x + size.x && at.y >= boxStart.y &&
                at.y <= boxStart.y + size.y) {
                selection.push_back({k, i});
                currentSet = k;
            }
        }
}

void PhysicsEditor::KeyReleased(uint8_t key) {
    const InputActions& actions = Core::Actions();
    if (actions.IsKey(Action::EditorDelete, key))
        DeleteSelected();
    else if (actions.IsKey(Action::EditorOutlineVertex, key))
        AddVertex();
    else if (actions.IsKey(Action::EditorOutlineFloor, key))
        ToggleFloor();
    else if (actions.IsKey(Action::EditorOutlineNew, key))
        NewOutline();
}

void PhysicsEditor::DeleteSelected() {
    if (selection.empty() || !BeginEdit())
        return;
    // From the back of each set, so the indices still to come stay good.
    std::vector<Vertex> doomed = selection;
    std::sort(doomed.begin(), doomed.end(), [](const Vertex& a, const Vertex& b) {
        return a.set != b.set ? a.set > b.set : a.index > b.index;
    });
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    for (const Vertex& vertex : doomed) {
        const auto at = static_cast<std::ptrdiff_t>(vertex.index);
        workingSets[vertex.set].erase(workingSets[vertex.set].begin() + at);
        workingFloorSets[vertex.set].erase(workingFloorSets[vertex.set].begin() + at);
    }
    selection.clear();
    // A set of one point or none outlines nothing; the current set
    // follows the sets that stay, or is none when its own went.
    for (std::size_t k = workingSets.size(); k-- > 0;) {
        if (workingSets[k].size() > 1)
            continue;
        workingSets.erase(workingSets.begin() + static_cast<std::ptrdiff_t>(k));
        workingFloorSets.erase(workingFloorSets.begin() + static_cast<std::ptrdiff_t>(k));
        if (currentSet == k)
            currentSet = kNoSet;
        else if (currentSet != kNoSet && currentSet > k)
            --currentSet;
    }
    WriteBack();
}

void PhysicsEditor::AddVertex() {
    const GameObject* target = Edited();
    if (currentSet == kNoSet || !target || !BeginEdit())
        return;
    assert(currentSet < workingSets.size() && "the current set is a working set");
    const Vec2 cursor = Cursor();
    workingSets[currentSet].push_back(Vec2(cursor.x - target->x, cursor.y + target->y));
    workingFloorSets[currentSet].push_back(false);
    WriteBack();
}

void PhysicsEditor::ToggleFloor() {
    if (selection.empty() || !BeginEdit())
        return;
    for (const Vertex& vertex : selection)
        workingFloorSets[vertex.set][vertex.index] = !workingFloorSets[vertex.set][vertex.index];
    WriteBack();
}

void PhysicsEditor::NewOutline() {
    const GameObject* target = Edited();
    if (!target || !BeginEdit())
        return;
    const Vec2 cursor = Cursor();
    const Vec2 c(cursor.x - target->x, cursor.y + target->y);
    const float h = kNewOutlineHalf;
    workingSets.push_back({Vec2(c.x + h, c.y + h), Vec2(c.x - h, c.y + h), Vec2(c.x - h, c.y - h),
                           Vec2(c.x + h, c.y - h)});
    workingFloorSets.emplace_back(4, false);
    WriteBack();
}

void PhysicsEditor::Draw() const {
    const GameObject* target = Edited();
    if (!target)
        return;
    SetColour(255.0f, 255.0f, 255.0f);
    DrawTextMessage banner;
    banner.text = "PhysicsEditorActive";
    banner.font = "DebugText";
    banner.left = kBannerLeft;
    banner.top = kBannerTop;
    Core::Broadcast(banner);
    if (boxSelecting)
        Core::Broadcast(
            DebugRectMessage(boxStart.x, boxStart.y, boxEnd.x - boxStart.x, boxEnd.y - boxStart.y));
    const float scale = levelEditor.WorldPerPixel();
    auto world = [&](Vec2 point) { return Vec2(target->x + point.x, target->y - point.y); };
    for (std::size_t k = 0; k < workingSets.size(); ++k) {
        const std::vector<Vec2>& set = workingSets[k];
        const std::size_t n = set.size();
        if (n == 0)
            continue;
        const Vec2 last = world(set[n - 1]);
        Core::Broadcast(DebugMoveToMessage(last.x, last.y));
        // Each edge in the colour of the vertex it ends at: red for a
        // floor, else a grey that darkens along the set, so its way round
        // shows.
        for (std::size_t i = 0; i < n; ++i) {
            const auto s = static_cast<float>(n == 1 ? 255 : 255 - (255 * i) / (n - 1));
            if (workingFloorSets[k][i])
                SetColour(255.0f, 0.0f, 0.0f);
            else
                SetColour(s, s, s);
            const Vec2 at = world(set[i]);
            Core::Broadcast(DebugLineToMessage(at.x, at.y));
            Square(Place(*target, set[i]), kHandlePixels * scale);
            Core::Broadcast(DebugMoveToMessage(at.x, at.y));
        }
    }
    // The set Space adds to: its handles in yellow.
    if (currentSet != kNoSet) {
        SetColour(255.0f, 255.0f, 0.0f);
        for (const Vec2& point : workingSets[currentSet])
            Square(Place(*target, point), kHandlePixels * scale);
    }
    SetColour(0.0f, 255.0f, 255.0f);
    for (const Vertex& vertex : selection)
        Square(Place(*target, workingSets[vertex.set][vertex.index]), kPickedPixels * scale);
}

} // namespace Flurr
