#pragma once
// The one place that assembles the game: which component classes exist
// (in the order a loaded object's components are made), which systems run
// and in which order, and where their data is. The program and every test
// that needs a game build it here; a test may leave systems out.
//
// Adding a system: write it under src/<subsystem>/, give it a flag in
// GameSystemSet and a pointer in GameSystems, add it to AddSystems() at its
// place in the frame, and register its component classes in
// RegisterComponents() at their place in the list (ARCHITECTURE.md has the
// whole checklist).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/InputRecording.h"
#include "platform/WindowsSystem.h"

namespace Flurr {

class BirdSystem;
class ButtonSystem;
class Core;
class Factory;
class GraphicsSystem;
class InputSystem;
class LevelEditor;
class EditorPanels;
class JobSystem;
class LogicSystem;
class ParticleSystem;
class PauseSystem;
class Physics;
class PlayerController;
class CameraController;
class SaveDialogSystem;
class SoundSystem;
class SpaceManager;
class TransitionSystem;

// Where the game's data lives. Paths are relative to `dataRoot` (the folder
// holding "Resources"), as the data files themselves name them.
struct ResourcePaths {
    // Empty: the working directory.
    std::string dataRoot;
    std::string firstRouteFile = "Resources\\Levels\\Route.zorvel";
    std::string collisionBank = "Resources\\Banks\\CollisionBank.zorvel";
    std::string soundBank = "Resources/Banks/SoundBank.zorvel";
    std::string particleEffects = "Resources/ParticleEffects/";
    std::string animationBanks = "Resources/Banks/AnimationBank/";
    std::string fontBanks = "Resources/Banks/FontBank/";
    std::string jobBank = "Resources/Banks/JobBank.zorvel";
    std::string saveDialog = "Resources\\SaveDialog\\SaveDialog.zorvel";
    std::string transitions = "Resources\\Transitions\\Transitions.zorvel";
};

// Which systems a game has; the program has all of them. The space
// manager and the factory are always there.
struct GameSystemSet {
    // Only the space manager and the factory.
    static GameSystemSet None() {
        GameSystemSet none;
        for (bool* flag : {&none.window, &none.graphics, &none.input, &none.saveDialog,
                           &none.physics, &none.players, &none.camera, &none.editor, &none.pause,
                           &none.buttons, &none.logic, &none.jobs, &none.particles, &none.sound,
                           &none.transitions, &none.birds, &none.panels})
            *flag = false;
        return none;
    }
    bool window = true;
    bool graphics = true;
    // Needs the window.
    bool input = true;
    // The level editor's save dialog.
    bool saveDialog = true;
    bool physics = true;
    bool players = true;
    bool camera = true;
    // The level editor (F1 in play).
    bool editor = true;
    // The pause menu, and the title menu's buttons.
    bool pause = true;
    bool buttons = true;
    bool logic = true;
    bool jobs = true;
    bool particles = true;
    bool sound = true;
    // The zoom-out from the title menu into the game.
    bool transitions = true;
    bool birds = true;
    // The level editor's panels (need the window, the graphics and the
    // editor).
    bool panels = true;
};
// A flag added above belongs in None() too.
static_assert(sizeof(GameSystemSet) == 17);

struct GameConfig {
    ResourcePaths paths;
    GameSystemSet systems;
    // The window (size, decoration, input recording or replay).
    WindowSettings window;
    // Graphics without a window of the game's own: draw into this one
    // instead (a test's shared context), `width` x `height` pixels.
    SDL_Window* drawInto = nullptr;
    int32_t drawWidth = 800;
    int32_t drawHeight = 600;
    // Shows a finished frame; empty swaps the game window's buffers (or
    // does nothing with `drawInto`).
    std::function<void()> present;
    // Takes a screenshot after this many frames (0: never).
    int64_t screenshotAt = 0;
    // False: every system runs but no frame is drawn (a replay that only
    // checks the world it plays).
    bool drawFrames = true;
    // Developer unlocks for every player made.
    bool unlockFlight = false;
    bool unlockDash = false;
    // Jobs done from the start (named in the job bank).
    std::vector<std::string> jobsDone;
    // The route to play: the first route file's choice unless set; no
    // route at all when `playRoute` is false (a test that loads its own
    // level).
    bool playRoute = true;
    std::string startRoute;
    // The player's settings file (engine/Settings.h), read here and written
    // by the options and controls screens; empty (the tests' default): no
    // settings, the game's defaults, nothing written. A display choice on
    // the command line (`window.windowed`, a size) wins over the file's for
    // the run.
    std::string settingsFile;
    // The player's progress between runs (jobs/Progress.h); empty (the
    // tests' default): nothing read or kept.
    std::string progressFile;
    // Where F11 and --screenshot-at write; empty: the working directory.
    std::string screenshotFolder;
    // Whether the file's keys are put on the action map: not for a
    // recording or a replay, which play with the table's keys wherever
    // they run.
    bool settingsKeys = true;
};

// The systems AddSystems() made, null where left out. The core owns them.
struct GameSystems {
    SpaceManager* spaces = nullptr;
    WindowsSystem* windows = nullptr;
    GraphicsSystem* graphics = nullptr;
    InputSystem* input = nullptr;
    Factory* factory = nullptr;
    SaveDialogSystem* saveDialog = nullptr;
    Physics* physics = nullptr;
    PlayerController* players = nullptr;
    CameraController* camera = nullptr;
    LevelEditor* editor = nullptr;
    EditorPanels* panels = nullptr;
    PauseSystem* pause = nullptr;
    ButtonSystem* buttons = nullptr;
    LogicSystem* logic = nullptr;
    JobSystem* jobs = nullptr;
    ParticleSystem* particles = nullptr;
    SoundSystem* sound = nullptr;
    TransitionSystem* transitions = nullptr;
    BirdSystem* birds = nullptr;
    // False when a system that was asked for could not start (no window);
    // the error box has been shown.
    bool ok = true;
};

// Registers every component class, in the order a loaded object's
// components are created. Safe to call more than once.
void RegisterComponents();

// Registers the component classes, sets the data root, and adds the chosen
// systems to `core` in frame order, with the route unless left out.
// Nothing is initialised yet: the caller runs core.Initialize().
GameSystems AddSystems(Core& core, const GameConfig& config);

// The world as a recording's checkpoint holds it (platform/InputRecording.h):
// every object with a body that moves, by id, named "Player" or by its
// animation, with its body's position and velocity; then every job with
// its state ("Open", "Running" or "Done").
WorldState ReadWorldState();

} // namespace Flurr
