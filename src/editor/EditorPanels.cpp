// The editor's one file of SDL, OpenGL and Dear ImGui calls.
#include "editor/EditorPanels.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>
#include <imgui_internal.h>
#include <imgui_stdlib.h>

#include <cfloat>
#include <utility>

#include "editor/LevelEditor.h"
#include "engine/Component.h"
#include "engine/GameObject.h"
#include "engine/Report.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "platform/WindowsSystem.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

// The panels' places the first time they show; the designer may move them.
constexpr float kMargin = 10.0f;
constexpr float kLevelWidth = 230.0f;
constexpr float kLevelHeight = 320.0f;
constexpr float kObjectWidth = 330.0f;
// Below the editor's cursor and archetype texts.
constexpr float kObjectTop = 90.0f;
// Drag speed of numbers, per pixel the mouse moves.
constexpr float kDragSpeed = 0.1f;

// A '#' in a value would make the line read back as a list header.
int NoListMark(ImGuiInputTextCallbackData* data) {
    return data->EventChar == '#' ? 1 : 0;
}

// The inspector's widgets: groups as headers and tree nodes, numbers as
// drags, bools as checkboxes, texts as text boxes, lists as tree nodes.
class ImGuiWidgets : public FieldWidgets {
public:
    bool Open(std::string_view name) override {
        ImGui::PushID(next++);
        const std::string label(name);
        // Components are headers; groups inside them are tree nodes.
        const bool header = pops.empty();
        const bool open =
            header ? ImGui::CollapsingHeader(label.c_str(), ImGuiTreeNodeFlags_DefaultOpen)
                   : ImGui::TreeNodeEx(label.c_str(), ImGuiTreeNodeFlags_DefaultOpen);
        if (!open) {
            ImGui::PopID();
            return false;
        }
        pops.push_back(!header);
        return true;
    }
    void Close() override {
        if (pops.back())
            ImGui::TreePop();
        pops.pop_back();
        ImGui::PopID();
    }
    bool Bool(std::string_view name, bool& value) override {
        return Widget(name, [&](const char* label) { return ImGui::Checkbox(label, &value); });
    }
    bool Text(std::string_view name, std::string& value) override {
        return Widget(name, [&](const char* label) {
            return ImGui::InputText(label, &value, ImGuiInputTextFlags_CallbackCharFilter,
                                    NoListMark);
        });
    }
    bool Double(std::string_view name, double& value) override {
        return Widget(name, [&](const char* label) {
            return ImGui::DragScalar(label, ImGuiDataType_Double, &value, kDragSpeed, nullptr,
                                     nullptr, "%.6g");
        });
    }
    bool Float(std::string_view name, float& value) override {
        return Widget(name, [&](const char* label) {
            return ImGui::DragFloat(label, &value, kDragSpeed, 0.0f, 0.0f, "%.6g");
        });
    }
    bool Unsigned(std::string_view name, uint32_t& value) override {
        return Widget(name, [&](const char* label) {
            return ImGui::DragScalar(label, ImGuiDataType_U32, &value, 1.0f);
        });
    }
    bool Int(std::string_view name, int32_t& value) override {
        return Widget(name, [&](const char* label) { return ImGui::DragInt(label, &value); });
    }
    bool Point(std::string_view name, Vec2& value) override {
        return Widget(name, [&](const char* label) {
            float xy[2] = {value.x, value.y};
            if (!ImGui::DragFloat2(label, xy, kDragSpeed, 0.0f, 0.0f, "%.6g"))
                return false;
            value = Vec2(xy[0], xy[1]);
            return true;
        });
    }
    bool OpenList(std::string_view name, std::size_t size) override {
        ImGui::PushID(next++);
        const std::string label = std::string(name) + " (" + std::to_string(size) + ")";
        if (!ImGui::TreeNode(label.c_str())) {
            ImGui::PopID();
            return false;
        }
        return true;
    }
    int Resize(std::size_t size) override {
        int resize = ImGui::SmallButton("+") ? 1 : 0;
        if (size > 0) {
            ImGui::SameLine();
            if (ImGui::SmallButton("-"))
                resize = -1;
        }
        return resize;
    }
    void CloseList() override {
        ImGui::TreePop();
        ImGui::PopID();
    }

private:
    template <typename Draw> bool Widget(std::string_view name, Draw draw) {
        ImGui::PushID(next++);
        const std::string label(name);
        ImGui::SetNextItemWidth(ImGui::GetContentRegionAvail().x * 0.6f);
        const bool changed = draw(label.c_str());
        ImGui::PopID();
        return changed;
    }

    // Every widget and node has an id of its own: names repeat (two
    // "CollisionSet" lists, "X" in two components).
    int next = 0;
    // Per open group: whether it is a tree node to pop.
    std::vector<bool> pops;
};

// What the outline calls an object: its sprite's animation, else its
// first component's class.
std::string ObjectName(const GameObject& object) {
    if (const auto* sprite = object.Get<GraphicsComponent>(); sprite && !sprite->animation.empty())
        return sprite->animation;
    return object.components.empty() ? "GameObject" : object.components.front()->GetName();
}

int ButtonIndex(uint8_t button) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    default:
        return -1;
    }
}

bool Shown() {
    const LevelEditor* editor = LevelEditor::Instance();
    return editor && editor->IsOpen() && !SpaceManager::Active(Spaces::SaveDialog);
}

} // namespace

EditorPanels::EditorPanels() {
    mouseX = mouseY = -FLT_MAX;
}

EditorPanels::~EditorPanels() {
    Stop();
}

void EditorPanels::Initialize() {
    if (GraphicsSystem* graphics = GraphicsSystem::Instance())
        graphics->SetEditorHook([this] { Draw(); });
    if (WindowsSystem* windows = WindowsSystem::Instance())
        windows->SetEventHook([this](const SDL_Event& event) { return TakeEvent(event); });
}

void EditorPanels::Free() {
    if (GraphicsSystem* graphics = GraphicsSystem::Instance())
        graphics->SetEditorHook(nullptr);
    if (WindowsSystem* windows = WindowsSystem::Instance())
        windows->SetEventHook(nullptr);
    pendingEdit.reset();
    Stop();
}

bool EditorPanels::Start() {
    if (started || failed)
        return started;
    const WindowsSystem* windows = WindowsSystem::Instance();
    if (!windows || !windows->Window() || !windows->GLContext()) {
        failed = true;
        return false;
    }
    IMGUI_CHECKVERSION();
    context = ImGui::CreateContext();
    ImGui::SetCurrentContext(context);
    ImGuiIO& io = ImGui::GetIO();
    // Nothing written into the player's folder.
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    // The window shows and hides the pointer as the editor opens and closes.
    io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
    // A click in a panel's body is a click, not the start of moving it.
    io.ConfigWindowsMoveFromTitleBarOnly = true;
    ImGui::StyleColorsDark();
    started = ImGui_ImplSDL2_InitForOpenGL(windows->Window(), windows->GLContext());
    if (started && !ImGui_ImplOpenGL3_Init("#version 330 core")) {
        ImGui_ImplSDL2_Shutdown();
        started = false;
    }
    if (!started) {
        Warn("the editor's panels could not start; the editor works without them");
        ImGui::DestroyContext(context);
        context = nullptr;
        failed = true;
        return false;
    }
    archetypes = LevelEditor::Archetypes();
    return true;
}

void EditorPanels::Stop() {
    if (!started)
        return;
    ImGui::SetCurrentContext(context);
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(context);
    context = nullptr;
    started = false;
}

bool EditorPanels::TakeEvent(const SDL_Event& event) {
    if (!started || !Shown())
        return false;
    ImGui::SetCurrentContext(context);
    ImGui_ImplSDL2_ProcessEvent(&event);
    // What ImGui wanted as of the last frame drawn: the panel under the
    // pointer, the text box being typed in.
    const ImGuiIO& io = ImGui::GetIO();
    switch (event.type) {
    case SDL_MOUSEMOTION:
        mouseX = static_cast<float>(event.motion.x);
        mouseY = static_cast<float>(event.motion.y);
        // The editor keeps following the pointer (its readouts); a move
        // drags nothing unless the world had the press.
        return false;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const int i = ButtonIndex(event.button.button);
        if (i < 0)
            return false;
        const auto at = static_cast<std::size_t>(i);
        mouseX = static_cast<float>(event.button.x);
        mouseY = static_cast<float>(event.button.y);
        if (event.type == SDL_MOUSEBUTTONDOWN) {
            held[at] = pressed[at] = true;
            // Judged where the press is, not where ImGui last saw the
            // pointer: a move and a press can come in one frame.
            taken[at] = OverPanel(mouseX, mouseY);
            return taken[at];
        }
        held[at] = false;
        released[at] = true;
        // A release goes where its press went, so the editor never sees
        // half a click (the middle button's release places an archetype).
        return std::exchange(taken[at], false);
    }
    case SDL_MOUSEWHEEL:
        return OverPanel(mouseX, mouseY);
    case SDL_KEYDOWN:
    case SDL_TEXTINPUT:
        // Key releases always pass: a key the game saw go down must be
        // seen to come up, and one it never saw changes nothing.
        return io.WantCaptureKeyboard;
    default:
        return false;
    }
}

bool EditorPanels::OverPanel(float x, float y) const {
    // An open list takes the click that closes it, wherever it lands.
    if (popupOpen)
        return true;
    for (const auto& r : panelRects)
        if (r[0] <= x && x < r[2] && r[1] <= y && y < r[3])
            return true;
    return false;
}

void EditorPanels::Draw() {
    const GraphicsSystem* graphics = GraphicsSystem::Instance();
    if (!graphics || !Shown() || !Start())
        return;
    ImGui::SetCurrentContext(context);
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    // The panels are drawn into the back buffer, at its size; the pointer
    // is where the events put it.
    ImGuiIO& io = ImGui::GetIO();
    io.DisplaySize = ImVec2(static_cast<float>(graphics->BackBufferWidth()),
                            static_cast<float>(graphics->BackBufferHeight()));
    io.DisplayFramebufferScale = ImVec2(1.0f, 1.0f);
    io.MousePos = ImVec2(mouseX, mouseY);
    for (std::size_t i = 0; i < held.size(); ++i) {
        if (io.MouseDown[i] && released[i]) {
            // Up for a frame between two clicks, or ImGui would see one
            // long press (a drag); a new press waits for the next frame.
            io.MouseDown[i] = false;
        } else {
            // A press and release within one frame still makes a click.
            io.MouseDown[i] = held[i] || pressed[i];
            pressed[i] = false;
        }
        released[i] = false;
    }
    ImGui::NewFrame();
    DrawLevel();
    DrawObject();
    if (!ImGui::IsAnyItemActive())
        editStepTaken = false;
    // Where the panels (and any open list of theirs) are on screen now.
    panelRects.clear();
    for (const ImGuiWindow* window : GImGui->Windows)
        // Not ImGui's own implicit "Debug" window, which is never shown.
        if (window->Active && !window->Hidden && !window->IsFallbackWindow)
            panelRects.push_back({window->Pos.x, window->Pos.y, window->Pos.x + window->Size.x,
                                  window->Pos.y + window->Size.y});
    popupOpen = !GImGui->OpenPopupStack.empty();
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

void EditorPanels::DrawLevel() {
    LevelEditor* editor = LevelEditor::Instance();
    const Factory* factory = Factory::Instance();
    ImGui::SetNextWindowPos(ImVec2(kMargin, kMargin), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(kLevelWidth, kLevelHeight), ImGuiCond_FirstUseEver);
    if (ImGui::Begin("Level") && editor && factory) {
        if (ImGui::BeginCombo("Archetype", editor->Archetype().c_str())) {
            // Read again as the list opens: a file added meanwhile shows.
            if (ImGui::IsWindowAppearing())
                archetypes = LevelEditor::Archetypes();
            for (const std::string& name : archetypes)
                if (ImGui::Selectable(name.c_str(), name == editor->Archetype()))
                    editor->SetArchetype(name);
            ImGui::EndCombo();
        }
        ImGui::Separator();
        ImGui::BeginChild("Objects");
        for (const auto& entry : factory->objects) {
            ImGui::PushID(entry.first);
            const std::string label =
                std::to_string(entry.first) + "  " + ObjectName(*entry.second);
            if (ImGui::Selectable(label.c_str(), editor->Selected() == entry.first))
                pendingCentre = entry.first;
            ImGui::PopID();
        }
        ImGui::EndChild();
    }
    ImGui::End();
}

void EditorPanels::DrawObject() {
    const LevelEditor* editor = LevelEditor::Instance();
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x - kObjectWidth - kMargin, kObjectTop),
                            ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(kObjectWidth, io.DisplaySize.y - kObjectTop - kMargin),
                             ImGuiCond_FirstUseEver);
    if (ImGui::Begin("Object") && editor) {
        GameObject* object = editor->SelectedObject();
        std::string line = "Selected: none";
        if (object) {
            const std::string archetype = editor->PlacedArchetype(object->id);
            line = "Selected: " + std::to_string(object->id) + "  " + ObjectName(*object) +
                   "  archetype: " + (archetype.empty() ? "-" : archetype);
        }
        ImGui::TextUnformatted(line.c_str());
        if (object) {
            if (ImGui::BeginCombo("Add component", "")) {
                for (const Component* prototype : GetComponentRegistry().order) {
                    // One of each class: the factory reads one per name.
                    if (object->GetComponent(prototype->GetTypeId()))
                        continue;
                    const std::string name = prototype->GetName();
                    if (ImGui::Selectable(name.c_str())) {
                        addTo = object->id;
                        addComponent = name;
                    }
                }
                ImGui::EndCombo();
            }
            ImGui::Separator();
            Inspect();
        }
    }
    ImGui::End();
}

void EditorPanels::Inspect() {
    GameObject* object = LevelEditor::Instance()->SelectedObject();
    ImGuiWidgets widgets;
    WidgetSerializer walker(widgets);
    walker.Walk(*object);
    if (!walker.Edit())
        return;
    // The first change of a widget held (a drag, a text being typed) is
    // the one undo step of the whole edit.
    pendingEdit = PendingEdit{object->id, *walker.Edit(), !editStepTaken};
    editStepTaken = true;
}

void EditorPanels::Update(float) {
    const std::optional<PendingEdit> edit = std::exchange(pendingEdit, std::nullopt);
    const int32_t centre = std::exchange(pendingCentre, -1);
    const std::string component = std::exchange(addComponent, std::string());
    LevelEditor* editor = LevelEditor::Instance();
    Factory* factory = Factory::Instance();
    if (!editor || !factory || !editor->IsOpen())
        return;
    if (centre >= 0)
        editor->CentreOn(centre);
    if (edit)
        if (GameObject* object = factory->FindObject(edit->object)) {
            if (edit->newStep)
                editor->PushUndo();
            ApplyEdit(*object, edit->edit);
        }
    if (!component.empty())
        if (GameObject* object = factory->FindObject(addTo)) {
            editor->PushUndo();
            factory->RebuildObject(*object, ObjectTextWith(*object, component));
        }
}

} // namespace Flurr
