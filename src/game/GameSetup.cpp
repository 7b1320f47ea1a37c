#include "game/GameSetup.h"

#include <cstdio>
#include <memory>

#include "editor/EditorPanels.h"
#include "editor/LevelEditor.h"
#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/Message.h"
#include "engine/Settings.h"
#include "gameplay/BirdComponent.h"
#include "gameplay/BirdPerch.h"
#include "gameplay/BirdSystem.h"
#include "gameplay/CloudComponent.h"
#include "gameplay/CloudMachineComponent.h"
#include "gameplay/DeliveryNode.h"
#include "gameplay/FlurrMeter.h"
#include "gameplay/LogicSystem.h"
#include "gameplay/LogoLogicComponent.h"
#include "gameplay/MouseCursor.h"
#include "gameplay/Raven.h"
#include "gameplay/RouteComponents.h"
#include "gameplay/Triggers.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "jobs/JobEntityComponent.h"
#include "jobs/JobGiverComponent.h"
#include "jobs/JobSystem.h"
#include "menus/Button.h"
#include "menus/ButtonSystem.h"
#include "menus/PauseElement.h"
#include "menus/PauseSystem.h"
#include "menus/SaveDialogElement.h"
#include "menus/SaveDialogSystem.h"
#include "menus/TransitionSystem.h"
#include "particles/ParticleEffectComponent.h"
#include "particles/ParticleSystem.h"
#include "physics/Physics.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "platform/InputSystem.h"
#include "platform/Platform.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"
#include "serialization/Serializer.h"
#include "sound/SoundSystem.h"
#include "world/Factory.h"
#include "world/Route.h"
#include "world/SpaceManager.h"

namespace Flurr {

void RegisterComponents() {
    // A loaded object's components are made, initialised and read in this
    // order, whatever their order in the file: the sprite exists before the
    // body that moves it, the body before the player that steers it, and
    // gameplay pieces after all three; the menus' elements come right
    // after the camera, before the gameplay pieces. The job components come
    // after the sprite and body whose state they set; the birds come last,
    // after the sprite they turn and animate.
    RegisterComponent<GraphicsComponent>();
    RegisterComponent<PhysicsComponent>();
    RegisterComponent<PlayerComponent>();
    RegisterComponent<CameraComponent>();
    RegisterComponent<SaveDialogElement>();
    RegisterComponent<PauseElement>();
    RegisterComponent<Button>();
    RegisterComponent<DeliveryNode>();
    RegisterComponent<BasicTrigger>();
    RegisterComponent<PostProcessTrigger>();
    RegisterComponent<CloudMachineComponent>();
    RegisterComponent<CloudComponent>();
    RegisterComponent<LogoLogicComponent>();
    RegisterComponent<FlurrMeter>();
    RegisterComponent<MouseCursor>();
    RegisterComponent<Raven>();
    RegisterComponent<Rotator>();
    RegisterComponent<TextTrigger>();
    RegisterComponent<LevelExit>();
    RegisterComponent<AbilityGrant>();
    RegisterComponent<CreditsRoll>();
    RegisterComponent<JobGiverComponent>();
    RegisterComponent<JobEntityComponent>();
    RegisterComponent<ParticleEffectComponent>();
    RegisterComponent<BirdComponent>();
    RegisterComponent<BirdPerch>();
}

GameSystems AddSystems(Core& core, const GameConfig& config) {
    RegisterComponents();
    SetDataRoot(config.paths.dataRoot);
    const GameSystemSet& want = config.systems;
    GameSystems made;

    // Every tick runs the systems in this order:
    // - the space manager first: every other system asks it which spaces
    //   are active;
    // - the window, then graphics: the window pumps the events (on a drawn
    //   frame's first tick) and the renderer steps sprite animations and
    //   draws what the previous tick left (on a drawn frame's last tick),
    //   so a frame shows the state one tick behind the input;
    // - input, which turns the pumped events into key, mouse and pad
    //   messages, before anything that reacts to them;
    // - the factory, which destroys what was queued and runs level
    //   commands between frames' updates, never in the middle of one;
    // - the save dialog right after it: it floats over the world and
    //   keeps to the camera of the last frame, and a dialog closed by a
    //   click has had its objects deleted by the factory just before;
    // - physics, then the player (which reads the bodies physics moved and
    //   steers them for the next step), then the camera (which follows the
    //   player where it now is);
    // - the level editor after the camera, whose view it takes over while
    //   open, and before the pause menu, so the keys and clicks it acts
    //   on (F1, Escape ending a playtest, the menu's "EditLevel") are
    //   settled before the menu looks at them; anything that frees the
    //   level waits for its update, out of every click;
    // - the editor's panels right after it: what they asked for in the
    //   frame just drawn (an edit, a component, a selection) is carried
    //   out here, out of the drawing, and after an undo the editor ran;
    // - the pause menu, then the title's buttons: both place their elements
    //   by the camera that has just moved, and the pause menu goes first
    //   so that input arriving in the tick it closes stays its own;
    // - the logic system (triggers, the race), which reads where the player
    //   and camera are;
    // - jobs right after it: givers and entities read where the player is
    //   and what physics touched, and the objectives are drawn over what
    //   the level showed;
    // - particles, which follow the objects that moved this frame;
    // - sound, so the sounds every system asked for start this frame;
    // - the transitions after the menus that start them and the camera
    //   that zooms for them, so a fade and a level change follow the same
    //   frame's "Play" and zoom;
    // - the birds last: the player's alarm reaches them (and starts their
    //   calls) as the player updates, and nothing else reads where they
    //   fly, so they steer after everyone else.
    // The player's settings, before the window that takes their display.
    PlayerSettings player;
    LoadSettings(config.settingsFile, player);
    if (config.settingsKeys)
        player.ApplyKeys(core.MutableActions());
    WindowSettings window = config.window;
    const bool sizeGiven = window.width > 0 && window.height > 0;
    if (!window.windowed && player.hasFullscreen)
        window.windowed = !player.fullscreen;
    // A window is made at the size chosen; the full-screen window covers
    // the desktop and the renderer takes the size below.
    if (player.hasResolution && !sizeGiven && window.windowed) {
        window.width = player.width;
        window.height = player.height;
    }

    made.spaces = new SpaceManager();
    core.AddSystem(made.spaces);
    if (want.window) {
        ReadScreenSize();
        made.windows = new WindowsSystem(window);
        core.AddSystem(made.windows);
        if (made.windows->Failed()) {
            made.ok = false;
            return made;
        }
    }
    if (want.graphics) {
        GraphicsSettings settings;
        if (config.drawInto || !made.windows) {
            settings.window = config.drawInto;
            settings.width = config.drawWidth;
            settings.height = config.drawHeight;
            settings.windowed = true;
            settings.present = config.present ? config.present : [] {};
        } else {
            WindowsSystem* windows = made.windows;
            settings.window = windows->Window();
            settings.width = windows->ClientWidth();
            settings.height = windows->ClientHeight();
            settings.windowed = window.windowed;
            settings.present =
                config.present ? config.present : [windows] { windows->SwapWindow(); };
        }
        settings.animationBanks = config.paths.animationBanks;
        settings.fontBanks = config.paths.fontBanks;
        made.graphics = new GraphicsSystem(settings);
        core.AddSystem(made.graphics);
        if (player.hasResolution && !sizeGiven && !window.windowed && !config.drawInto) {
            SetResolutionMessage size(player.width, player.height);
            made.graphics->SendMessage(&size);
        }
        made.graphics->SetScreenshotFolder(config.screenshotFolder);
        if (config.screenshotAt > 0)
            made.graphics->ScreenshotAtFrame(config.screenshotAt);
        made.graphics->SetDrawing(config.drawFrames);
    }
    if (want.input && made.windows) {
        made.input = new InputSystem(&made.windows->Input());
        core.AddSystem(made.input);
    }
    made.factory = new Factory();
    core.AddSystem(made.factory);
    core.SetLevelOwner(made.factory);
    if (want.saveDialog) {
        made.saveDialog = new SaveDialogSystem(config.paths.saveDialog);
        core.AddSystem(made.saveDialog);
    }
    if (want.physics) {
        made.physics = new Physics(config.paths.collisionBank);
        core.AddSystem(made.physics);
    }
    if (want.players) {
        made.players = new PlayerController();
        made.players->startWithFlight = config.unlockFlight;
        made.players->startWithDash = config.unlockDash;
        if (WindowsSystem* windows = made.windows)
            made.players->warpPointer = [windows](int32_t x, int32_t y) {
                windows->WarpPointer(x, y);
            };
        core.AddSystem(made.players);
    }
    if (want.camera) {
        made.camera = new CameraController();
        core.AddSystem(made.camera);
    }
    if (want.editor) {
        made.editor = new LevelEditor();
        core.AddSystem(made.editor);
        if (want.panels && made.windows && made.graphics) {
            made.panels = new EditorPanels();
            core.AddSystem(made.panels);
        }
    }
    if (want.pause) {
        made.pause = new PauseSystem(config.settingsFile, player);
        // A run that left the file's keys off must not write the table's
        // over them unless the player rebinds.
        made.pause->keysInTable = config.settingsKeys;
        core.AddSystem(made.pause);
    }
    if (want.buttons) {
        made.buttons = new ButtonSystem();
        core.AddSystem(made.buttons);
    }
    if (want.logic) {
        made.logic = new LogicSystem();
        core.AddSystem(made.logic);
    }
    if (want.jobs) {
        made.jobs = new JobSystem(config.paths.jobBank);
        made.jobs->KeepProgressIn(config.progressFile);
        made.jobs->startDone = config.jobsDone;
        core.AddSystem(made.jobs);
    }
    if (want.particles) {
        made.particles = new ParticleSystem(config.paths.particleEffects);
        core.AddSystem(made.particles);
    }
    if (want.sound) {
        made.sound = new SoundSystem(config.paths.soundBank,
                                     {player.musicVolume, player.effectsVolume, player.musicMuted});
        core.AddSystem(made.sound);
    }
    if (want.transitions) {
        made.transitions = new TransitionSystem(config.paths.transitions);
        core.AddSystem(made.transitions);
    }
    if (want.birds) {
        made.birds = new BirdSystem();
        core.AddSystem(made.birds);
    }
    if (config.playRoute)
        core.SetRoute(std::make_unique<Route>(config.paths.firstRouteFile, config.startRoute));
    return made;
}

} // namespace Flurr

namespace Flurr {

namespace {

// Exact: reads back to the same float.
std::string Exact(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

// A line's words hold no spaces.
std::string OneWord(std::string name) {
    for (char& c : name)
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            c = '_';
    return name.empty() ? "-" : name;
}

} // namespace

WorldState ReadWorldState() {
    WorldState state;
    if (const Factory* factory = Factory::Instance())
        for (const auto& [id, object] : factory->objects) {
            const PhysicsComponent* physics = object->Get<PhysicsComponent>();
            const RigidBody* body = physics ? physics->body : nullptr;
            if (!body || body->density == 0.0f)
                continue;
            std::string name = "Player";
            if (!object->Get<PlayerComponent>()) {
                const GraphicsComponent* graphics = object->Get<GraphicsComponent>();
                name = graphics ? OneWord(graphics->animation) : "-";
            }
            state.push_back(std::to_string(id) + " " + name + " X=" + Exact(body->position.x) +
                            " Y=" + Exact(body->position.y) + " VX=" + Exact(body->velocity.x) +
                            " VY=" + Exact(body->velocity.y));
        }
    if (const JobSystem* jobs = JobSystem::Instance())
        for (const auto& [name, job] : jobs->jobs)
            state.push_back("job " + OneWord(name) + " State=" +
                            (job.completed              ? "Done"
                             : jobs->currentJob == name ? "Running"
                                                        : "Open"));
    return state;
}

} // namespace Flurr
