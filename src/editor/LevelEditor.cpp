#include "editor/LevelEditor.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

#include "editor/PhysicsEditor.h"
#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"
#include "menus/PauseSystem.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "platform/Clipboard.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"
#include "world/Route.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

constexpr const char* kSelectTime = "SelectTime";
// The pause menu's entry that opens the editor.
constexpr const char* kEditLevelCommand = "EditLevel";

void SetSpace(const char* name, bool active) {
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(name, active);
}

bool Is(Action action, uint8_t key) {
    return Core::Actions().IsKey(action, key);
}

// Whether the text holds one of our objects: a "Root" with a "GameObject".
bool HoldsObject(const std::string& text) {
    StringLoadSerializer loader(text, "<clipboard>");
    return loader.Begin("Root") && loader.HasChild("GameObject");
}

void DrawText(const std::string& text, int32_t top) {
    DrawTextMessage m;
    m.text = text;
    m.left = 400;
    m.top = top;
    m.font = "DebugText";
    Core::Broadcast(m);
}

} // namespace

LevelEditor::LevelEditor()
    : physicsEditor(std::make_unique<PhysicsEditor>(*this)), timers(TimerClock::Game) {}

LevelEditor::~LevelEditor() = default;

void LevelEditor::Initialize() {
    if (Core* core = Core::Instance())
        for (int32_t id : {MessageId::KeyTriggered, MessageId::KeyReleased, MessageId::KeyPressed,
                           MessageId::MouseClicked, MessageId::MouseReleased, MessageId::MouseMoved,
                           MessageId::SetBackground, MessageId::SaveDialogSave,
                           MessageId::SaveDialogCloseWithoutSaving, MessageId::MoveCamera,
                           MessageId::SetCamera, MessageId::ScreenSize, MessageId::ButtonInput})
            core->RegisterForMessage(this, id);
    if (SpaceManager* spaces = SpaceManager::Instance()) {
        spaces->GetOrCreateSpace(Spaces::LevelEditor);
        spaces->SetSpaceActive(Spaces::LevelEditor, false);
        spaces->GetOrCreateSpace(Spaces::PhysicsEditor);
        spaces->SetSpaceActive(Spaces::PhysicsEditor, false);
    }
    timers.Start(kSelectTime);
    const std::vector<std::string> archetypes = Archetypes();
    archetypeName = archetypes.empty() ? "GameObject" : archetypes.front();
}

void LevelEditor::Free() {
    physicsEditor->Close();
    selected = kNone;
    undo.clear();
    redo.clear();
    pending = Pending::None;
    pendingText.clear();
}

bool LevelEditor::IsOpen() const {
    return SpaceManager::Active(Spaces::LevelEditor);
}

std::vector<std::string> LevelEditor::Archetypes() {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(DataPath(kArchetypeFolder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::path& file = it->path();
        if (file.extension() == ".zorvel")
            names.push_back(file.stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

GameObject* LevelEditor::SelectedObject() const {
    Factory* factory = Factory::Instance();
    return factory && selected != kNone ? factory->FindObject(selected) : nullptr;
}

std::string LevelEditor::LevelFile() const {
    const Core* core = Core::Instance();
    const auto* route = core ? dynamic_cast<const Route*>(core->Route()) : nullptr;
    return route ? route->levelFile : std::string();
}

void LevelEditor::Screen(int32_t& width, int32_t& height) const {
    if (screenFromMessage && screenWidth > 0 && screenHeight > 0) {
        width = screenWidth;
        height = screenHeight;
        return;
    }
    GraphicsSystem::ScreenSize(width, height);
}

float LevelEditor::WorldPerPixel() const {
    int32_t width, height;
    Screen(width, height);
    // The view is kViewHeight tall at the eye's distance at zoom 0; zooming
    // out moves the eye back, and the depth-0 plane grows with the distance.
    return kViewHeight / static_cast<float>(height) * (kEyeDistance + cameraZoom) / kEyeDistance;
}

Vec2 LevelEditor::CursorWorld() const {
    int32_t width, height;
    Screen(width, height);
    const float scale = WorldPerPixel();
    return Vec2(cameraX + static_cast<float>(mouseX - width / 2) * scale,
                cameraY + static_cast<float>(height / 2 - mouseY) * scale);
}

bool LevelEditor::UnderCursor(const GameObject& object, Vec2 at) const {
    const auto x = static_cast<int32_t>(at.x);
    const auto y = static_cast<int32_t>(at.y);
    const float halfW = static_cast<float>(object.width / 2);
    const float halfH = static_cast<float>(object.height / 2);
    return object.x - halfW <= static_cast<float>(x) && static_cast<float>(x) <= object.x + halfW &&
           object.y - halfH <= static_cast<float>(y) && static_cast<float>(y) <= object.y + halfH;
}

void LevelEditor::SendMessage(Message* message) {
    // The camera, the screen and the level's background are followed
    // whatever is going on, so they are right the moment the editor opens.
    if (const auto* move = As<MoveCameraMessage>(message)) {
        cameraX += move->dx;
        cameraY += move->dy;
        cameraZoom = std::clamp(cameraZoom + move->dzoom, 0.0f, GraphicsSystem::kMaxZoom);
        return;
    }
    if (const auto* set = As<SetCameraMessage>(message)) {
        cameraX = set->x;
        cameraY = set->y;
        cameraZoom = std::clamp(set->zoom, 0.0f, GraphicsSystem::kMaxZoom);
        return;
    }
    if (const auto* size = As<ScreenSizeMessage>(message)) {
        screenFromMessage = true;
        screenWidth = size->width;
        screenHeight = size->height;
        return;
    }
    if (const auto* background = As<SetBackgroundMessage>(message)) {
        backgroundName = background->path;
        return;
    }
    if (const auto* moved = As<MouseMovedMessage>(message)) {
        // Kept while the dialog is up too, so the cursor is right after it.
        MouseMoved(moved->x, moved->y, moved->leftHeld);
        return;
    }
    // Modifiers are followed through the dialog too, so none sticks.
    if (const auto* key = As<KeyMessage>(message); key && message->id != MessageId::KeyPressed) {
        const bool down = message->id == MessageId::KeyTriggered;
        if (Is(Action::EditorCtrl, key->key))
            ctrlHeld = down;
        if (Is(Action::EditorShift, key->key))
            shiftHeld = down;
    }
    if (SpaceManager::Active(Spaces::SaveDialog))
        return;
    if (message->id == MessageId::SaveDialogSave ||
        message->id == MessageId::SaveDialogCloseWithoutSaving) {
        if (IsOpen())
            Leave(message->id == MessageId::SaveDialogSave);
        return;
    }
    if (const auto* input = As<ButtonInputMessage>(message)) {
        PauseSystem* pause = PauseSystem::Instance();
        if (input->name == kEditLevelCommand && pause && pause->IsOpen() && !IsOpen() &&
            !playtesting) {
            pause->CloseMenu();
            Enter();
            fromPause = true;
        }
        return;
    }
    if (const auto* key = As<KeyTriggeredMessage>(message)) {
        KeyTriggered(key->key);
        return;
    }
    if (const auto* key = As<KeyPressedMessage>(message)) {
        if (IsOpen())
            CameraKey(key->key);
        return;
    }
    if (const auto* key = As<KeyReleasedMessage>(message)) {
        KeyReleased(key->key);
        return;
    }
    if (!IsOpen())
        return;
    if (const auto* click = As<MouseClickedMessage>(message))
        MouseClicked(click->button);
    else if (const auto* release = As<MouseReleasedMessage>(message))
        MouseReleased(release->button);
}

void LevelEditor::KeyTriggered(uint8_t key) {
    // Copy and paste work in play too: a designer may take an object from
    // the running game into the level. Not over the outline editor.
    if (ctrlHeld && Is(Action::EditorCopy, key) && !physicsEditor->IsOpen()) {
        Copy();
        return;
    }
    if (ctrlHeld && Is(Action::EditorPaste, key) && !physicsEditor->IsOpen()) {
        Paste();
        return;
    }
    if (playtesting) {
        if (Is(Action::EditorPlaytest, key) || Is(Action::Pause, key))
            EndPlaytest();
        return;
    }
    if (!IsOpen()) {
        // Only over the level in play: not over the logo, a menu or a fade.
        if (Is(Action::EditorToggle, key) && SpaceManager::Active(Spaces::Game) &&
            !SpaceManager::Active(Spaces::Pause) && !SpaceManager::Active(Spaces::Logo) &&
            !SpaceManager::Active(Spaces::Transition))
            Enter();
        return;
    }
    if (Is(Action::EditorToggle, key)) {
        // Leaving goes through the dialog: save, leave without saving, or
        // stay.
        SaveDialogBackgroundMessage open;
        Core::Broadcast(open);
        return;
    }
    if (Is(Action::EditorPlaytest, key)) {
        StartPlaytest();
        return;
    }
    if (Is(Action::EditorDebugDraw, key)) {
        debugDraw = !debugDraw;
        return;
    }
    if (Is(Action::EditorOutline, key) && !ctrlHeld) {
        if (physicsEditor->IsOpen())
            physicsEditor->Close();
        else if (pending == Pending::None)
            physicsEditor->Open();
        return;
    }
    if (ctrlHeld && Is(Action::EditorUndo, key)) {
        if (shiftHeld)
            Redo();
        else
            Undo();
        return;
    }
    if (ctrlHeld && Is(Action::EditorRedo, key)) {
        Redo();
        return;
    }
    CameraKey(key);
}

void LevelEditor::KeyReleased(uint8_t key) {
    if (IsOpen() && physicsEditor->IsOpen())
        physicsEditor->KeyReleased(key);
    else if (IsOpen() && Is(Action::EditorDelete, key))
        DeleteSelected();
}

void LevelEditor::CameraKey(uint8_t key) {
    // Zero as a digit, not the "0" of a Ctrl combination.
    if (ctrlHeld)
        return;
    const auto step = static_cast<float>(PanStep());
    if (Is(Action::EditorPanLeft, key)) {
        Core::Broadcast(MoveCameraMessage(-step, 0.0f, 0.0f));
    } else if (Is(Action::EditorPanUp, key)) {
        Core::Broadcast(MoveCameraMessage(0.0f, step, 0.0f));
    } else if (Is(Action::EditorPanRight, key)) {
        Core::Broadcast(MoveCameraMessage(step, 0.0f, 0.0f));
    } else if (Is(Action::EditorPanDown, key)) {
        Core::Broadcast(MoveCameraMessage(0.0f, -step, 0.0f));
    } else if (Is(Action::EditorZoomReset, key)) {
        Core::Broadcast(SetCameraZoomMessage(0.0f));
        cameraZoom = 0.0f;
        zoomSteps = 0;
    } else if (Is(Action::EditorZoomIn, key)) {
        Core::Broadcast(MoveCameraMessage(0.0f, 0.0f, -1.0f));
        zoomSteps = std::max(zoomSteps - 1, 0);
    } else if (Is(Action::EditorZoomOut, key)) {
        Core::Broadcast(MoveCameraMessage(0.0f, 0.0f, 1.0f));
        zoomSteps = std::min(zoomSteps + 1, kMaxZoomSteps);
    }
}

void LevelEditor::MouseMoved(int32_t x, int32_t y, bool held) {
    const int32_t dx = x - mouseX;
    const int32_t dy = y - mouseY;
    previousMouseX = mouseX;
    previousMouseY = mouseY;
    mouseX = x;
    mouseY = y;
    if (!IsOpen() || pending != Pending::None || SpaceManager::Active(Spaces::SaveDialog))
        return;
    // Screen pixels become world units at the view's zoom, so the world
    // follows the mouse whatever the zoom.
    const float scale = WorldPerPixel();
    if (rightDragging) {
        Core::Broadcast(MoveCameraMessage(static_cast<float>(-dx) * scale,
                                          static_cast<float>(dy) * scale, 0.0f));
        return;
    }
    if (physicsEditor->IsOpen()) {
        physicsEditor->MouseMoved(dx, dy);
        return;
    }
    GameObject* object = SelectedObject();
    if (!held || !object || (dx == 0 && dy == 0))
        return;
    if (!dragRecorded) {
        PushUndo();
        dragRecorded = true;
    }
    object->x += static_cast<float>(dx) * scale;
    object->y -= static_cast<float>(dy) * scale;
    // A body would put the object back where it was at the next step.
    if (auto* physics = object->Get<PhysicsComponent>(); physics && physics->body)
        physics->body->position = Vec2(object->x, object->y);
}

void LevelEditor::MouseClicked(uint8_t button) {
    if (pending != Pending::None)
        return;
    if (physicsEditor->IsOpen()) {
        if (button == MouseButton::Right)
            rightDragging = true;
        else
            physicsEditor->MouseClicked();
        return;
    }
    if (button == MouseButton::Right) {
        rightDragging = true;
        selected = kNone;
        return;
    }
    Factory* factory = Factory::Instance();
    if (!factory)
        return;
    const Vec2 at = CursorWorld();
    GameObject* current = SelectedObject();
    if (current && UnderCursor(*current, at)) {
        if (timers.GetTime(kSelectTime) > kCycleSeconds || ctrlHeld) {
            timers.Reset(kSelectTime);
            return; // kept: the designer can drag it now
        }
        // A second click soon after: the next object under the cursor.
        timers.Reset(kSelectTime);
        for (auto it = factory->objects.upper_bound(selected); it != factory->objects.end(); ++it)
            if (UnderCursor(*it->second, at)) {
                selected = it->first;
                return;
            }
    }
    selected = kNone;
    for (const auto& [id, object] : factory->objects)
        if (UnderCursor(*object, at)) {
            selected = id;
            timers.Reset(kSelectTime);
            break;
        }
}

void LevelEditor::MouseReleased(uint8_t button) {
    timers.Reset(kSelectTime);
    dragRecorded = false;
    if (button == MouseButton::Right)
        rightDragging = false;
    else if (physicsEditor->IsOpen())
        physicsEditor->MouseReleased();
    else if (button == MouseButton::Middle)
        PlaceArchetype();
}

void LevelEditor::Copy() {
    GameObject* object = SelectedObject();
    if (!object)
        return;
    StringSaveSerializer saver;
    saver.Begin("Root");
    object->Save(saver);
    saver.End("Root");
    saver.Finish();
    clipboardText = saver.Result();
    // Without a system clipboard the copy still pastes here.
    SetClipboardText(clipboardText);
}

void LevelEditor::Paste() {
    Factory* factory = Factory::Instance();
    if (!factory || pending != Pending::None)
        return;
    std::string text;
    // A clipboard that cannot be read at all: our own last copy.
    if (!GetClipboardText(text))
        text = clipboardText;
    if (text.empty()) {
        Warn("nothing pasted: the clipboard holds no text");
        return;
    }
    if (text.size() > kMaxClipboardBytes) {
        Warn("nothing pasted: the clipboard holds " + std::to_string(text.size()) +
             " bytes, more than an object");
        return;
    }
    if (!HoldsObject(text)) {
        Warn("nothing pasted: the clipboard holds no object");
        return;
    }
    const std::string before = Snapshot();
    GameObject* object = factory->CreateObjectFromText(text);
    if (!object)
        return;
    PushUndo(before);
    clipboardText = text;
    PutAtCursor(*object);
}

void LevelEditor::PlaceArchetype() {
    Factory* factory = Factory::Instance();
    if (!factory || archetypeName.empty() || pending != Pending::None)
        return;
    const std::string before = Snapshot();
    GameObject* object = factory->LoadObject(kArchetypeFolder + archetypeName + ".zorvel");
    if (!object) {
        ShowErrorBox(kMissingArchetypeText);
        return;
    }
    PushUndo(before);
    placedFrom[object->id] = archetypeName;
    PutAtCursor(*object);
}

void LevelEditor::CentreOn(int32_t id) {
    Factory* factory = Factory::Instance();
    const GameObject* object = factory ? factory->FindObject(id) : nullptr;
    if (!object)
        return;
    selected = id;
    Core::Broadcast(SetCameraMessage(object->x, object->y, cameraZoom));
}

std::string LevelEditor::PlacedArchetype(int32_t id) const {
    auto it = placedFrom.find(id);
    return it == placedFrom.end() ? std::string() : it->second;
}

void LevelEditor::DeleteSelected() {
    Factory* factory = Factory::Instance();
    GameObject* object = SelectedObject();
    if (!factory || !object || pending != Pending::None)
        return;
    PushUndo();
    // Its components leave their systems now; the memory goes in the
    // factory's next update, after whoever is walking them has finished.
    factory->DestroyLater(object);
    selected = kNone;
}

std::string LevelEditor::Snapshot() {
    Factory* factory = Factory::Instance();
    return factory ? factory->LevelText(backgroundName) : std::string();
}

void LevelEditor::PushUndo() {
    PushUndo(Snapshot());
}

void LevelEditor::PushUndo(std::string before) {
    undo.push_back(std::move(before));
    if (undo.size() > kUndoSteps)
        undo.pop_front();
    redo.clear();
}

void LevelEditor::PutAtCursor(GameObject& object) {
    const Vec2 at = CursorWorld();
    object.x = at.x;
    object.y = at.y;
    if (auto* physics = object.Get<PhysicsComponent>(); physics && physics->body)
        physics->body->position = at;
    selected = object.id;
}

void LevelEditor::Undo() {
    if (undo.empty() || pending != Pending::None)
        return;
    redo.push_back(Snapshot());
    std::string text = std::move(undo.back());
    undo.pop_back();
    RestoreLater(std::move(text));
}

void LevelEditor::Redo() {
    if (redo.empty() || pending != Pending::None)
        return;
    undo.push_back(Snapshot());
    std::string text = std::move(redo.back());
    redo.pop_back();
    RestoreLater(std::move(text));
}

void LevelEditor::RestoreLater(std::string text) {
    outlinePlace = physicsEditor->CloseForRestore();
    pending = Pending::Restore;
    pendingText = std::move(text);
    selected = kNone;
    rightDragging = false;
    dragRecorded = false;
}

void LevelEditor::Enter() {
    if (IsOpen() || playtesting)
        return;
    SetSpace(Spaces::Game, false);
    SetSpace(Spaces::LevelEditor, true);
    if (const GraphicsSystem* graphics = GraphicsSystem::Instance()) {
        cameraX = graphics->Camera().x;
        cameraY = graphics->Camera().y;
        cameraZoom = graphics->Camera().zoom;
    }
    physicsEditor->Close();
    selected = kNone;
    zoomSteps = 0;
    rightDragging = false;
    dragRecorded = false;
    fromPause = false;
    undo.clear();
    redo.clear();
    timers.Start(kSelectTime);
}

void LevelEditor::StartPlaytest() {
    if (pending != Pending::None)
        return;
    physicsEditor->Close();
    playtestLevel = Snapshot();
    playtesting = true;
    editCameraX = cameraX;
    editCameraY = cameraY;
    editCameraZoom = cameraZoom;
    SetSpace(Spaces::LevelEditor, false);
    SetSpace(Spaces::Game, true);
    // Rebuilt from the edited text, so every body starts where its object
    // was put.
    RestoreLater(playtestLevel);
    openAfterPending = false;
}

void LevelEditor::EndPlaytest() {
    playtesting = false;
    SetSpace(Spaces::Game, false);
    SetSpace(Spaces::Pause, false);
    SetSpace(Spaces::LevelEditor, true);
    RestoreLater(playtestLevel);
    // Back where the designer left the view.
    openAfterPending = true;
}

bool LevelEditor::SaveLevel() {
    namespace fs = std::filesystem;
    Factory* factory = Factory::Instance();
    const std::string file = LevelFile();
    if (!factory || file.empty()) {
        ShowErrorBox("The level cannot be saved: no level file is being played.");
        return false;
    }
    const fs::path path = DataPath(file);
    std::error_code ec;
    if (fs::exists(path, ec)) {
        fs::path backup = path;
        backup += ".bak";
        fs::copy_file(path, backup, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            ShowErrorBox("The level was not saved: its backup " + backup.string() +
                         " could not be written (" + ec.message() +
                         "). The level file is as it was and your edits are still here.");
            return false;
        }
    }
    if (!factory->SaveLevel(file, backgroundName)) {
        ShowErrorBox("The level could not be saved to " + path.string() +
                     ". The file is as it was and your edits are still here.");
        return false;
    }
    return true;
}

void LevelEditor::Leave(bool save) {
    // The outlines go back to their object before anything is written.
    physicsEditor->Close();
    if (save && !SaveLevel())
        return; // the editor stays open with every edit
    Core::Broadcast(SaveDialogCloseMessage());
    SetSpace(Spaces::LevelEditor, false);
    SetSpace(Spaces::Game, true);
    selected = kNone;
    undo.clear();
    redo.clear();
    rightDragging = false;
    dragRecorded = false;
    // The level is read again from its file: what was saved comes back,
    // what was not is gone.
    pending = Pending::Reload;
}

void LevelEditor::RunPending() {
    const Pending what = std::exchange(pending, Pending::None);
    Factory* factory = Factory::Instance();
    Core* core = Core::Instance();
    if (what == Pending::None || !factory)
        return;
    if (what == Pending::Reload) {
        // As the loop starts a level: only the game's space, every object
        // gone, the route's level read again and announced.
        if (core)
            for (IGameSystem* system : core->Systems())
                system->BeforeLevel();
        factory->Free();
        if (core && core->Route())
            core->Route()->Load();
        if (std::exchange(fromPause, false))
            Core::Broadcast(InitPauseScreen());
        return;
    }
    const std::string text = std::move(pendingText);
    pendingText.clear();
    factory->Free();
    factory->LoadLevelText(text, "<edited level>");
    Core::Broadcast(LevelChangeMessage());
    if (std::exchange(openAfterPending, false))
        Core::Broadcast(SetCameraMessage(editCameraX, editCameraY, editCameraZoom));
    physicsEditor->ReopenAt(std::exchange(outlinePlace, -1));
}

void LevelEditor::Update(float) {
    RunPending();
    if (IsOpen() && !SpaceManager::Active(Spaces::SaveDialog))
        DrawOverlay();
}

void LevelEditor::DrawOverlay() {
    if (debugDraw)
        Core::Broadcast(DebugDrawMessage());
    const Vec2 at = CursorWorld();
    DrawText("WorldX: " + std::to_string(static_cast<int32_t>(std::lround(at.x))), 30);
    DrawText("WorldY: " + std::to_string(static_cast<int32_t>(std::lround(at.y))), 50);
    DrawText("Archetype: " + archetypeName, 70);
    Factory* factory = Factory::Instance();
    if (!factory)
        return;
    auto rect = [](const GameObject& object) {
        return DebugRectMessage(object.x - static_cast<float>(object.width / 2),
                                -object.y - static_cast<float>(object.height / 2),
                                static_cast<float>(object.width),
                                static_cast<float>(object.height));
    };
    Core::Broadcast(DebugSetColorMessage(64.0f, 128.0f, 64.0f, 255.0f));
    for (const auto& [id, object] : factory->objects) {
        (void)id;
        Core::Broadcast(rect(*object));
    }
    if (GameObject* object = SelectedObject()) {
        Core::Broadcast(DebugSetColorMessage(255.0f, 0.0f, 0.0f, 255.0f));
        Core::Broadcast(rect(*object));
    }
    if (physicsEditor->IsOpen())
        physicsEditor->Draw();
}

} // namespace Flurr
