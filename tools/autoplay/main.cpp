// cloudmere-autoplay: plays the game from a plan and writes an ordinary
// recording of the run, so a job's recording is made again by one command
// after the game changes instead of by writing input lists by hand.
//
// usage: cloudmere-autoplay PLAN RECORDING
//
// The game runs headless in this process with the systems the program
// has, as a replay whose frames are written as it plays: before each tick
// the pilot looks at the world the previous tick left, decides which keys
// and mouse buttons are down and where the pointer is, and adds that
// tick's frame. The run is recorded as `--replay ... --record` records
// one, so `cloudmere --replay RECORDING` plays the same ticks again.
//
// A plan is a data file:
//   Root
//     Seed:2024
//     Route:Resources/Levels/Routes/Town.zorvel
//     JobsDone:Distance1,GoFast1
//     Unlock:
//     Size:400x300
//     StepTicks:1800
//     List#4:Steps
//       run 1250
//       press E
//       walk 2600
//       job HotBuns Done
//     -Steps
//   -Root
// Steps, each a line:
//   walk X, run X     to world x X (Shift held to run), jumping when blocked
//   press KEY         down for one tick, then up (E, Q, Enter, Space, ...)
//   hold KEY N        down for N ticks, then up
//   wait N            N ticks with nothing held
//   job NAME STATE    until the job is Open, Running or Done
//   fly X Y           to the point (X, Y), pointer aimed, left button held
//                     (out of fuel it glides on; landed, or caught under
//                     something, it lets go until the pack has filled;
//                     pressed against a wall or roof with fuel left, it
//                     takes a short detour up, or away and up)
//   patrol X1 X2 Y    flies to (X1, Y), (X2, Y), back and forth without
//                     braking at the ends, landing to refuel as fly does;
//                     only its "until" ends it (for the jobs that count
//                     distance or time at speed)
//   race              flies to each marked delivery point of the race in
//                     turn until the race's time is up
//   level             until the route moves to another level
// A step may end "... until NAME STATE": it is then also over as soon as
// that job is in that state (at once if it already is).
// A step not over within StepTicks ticks (default 1800) ends the run with
// status 1 and a message; a step may give its own limit as "... within N",
// written last.
// The recording ends at the first checkpoint after the last step, so it
// shows what the plan achieved. CLOUDMERE_AUTOPLAY_TRACE set in the
// environment prints where the player is every half second.

#include <SDL.h>

#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/InputCodes.h"
#include "engine/LaunchOptions.h"
#include "engine/Random.h"
#include "game/GameSetup.h"
#include "gameplay/DeliveryNode.h"
#include "gameplay/LogicSystem.h"
#include "jobs/JobSystem.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "platform/InputRecording.h"
#include "platform/WindowMessages.h"
#include "player/PlayerComponent.h"
#include "serialization/DataFolder.h"
#include "serialization/Serializer.h"

#ifndef CLOUDMERE_SOURCE_DATA
#define CLOUDMERE_SOURCE_DATA ""
#endif

namespace {

using namespace Flurr;

constexpr float kStep = 1.0f / 60.0f;
// Close enough to a point flown to, world units.
constexpr float kFlyReach = 80.0f;
// Thrusting this many ticks without getting further than kPressedReach is
// being pressed against something; the detour then taken lasts so many
// ticks.
// (Pressed against a wall the body shakes by a few tens of units.)
constexpr int32_t kPressedTicks = 30;
constexpr float kPressedReach = 50.0f;
constexpr int32_t kDetourTicks = 45;
// Close enough to turn at an end of a patrol.
constexpr float kTurnReach = 300.0f;
// How far ahead a flight looks at where it is going, seconds, once within
// kLeadDistance of its point.
constexpr float kLeadSeconds = 0.4f;
constexpr float kLeadDistance = 500.0f;

struct Plan {
    uint32_t seed = 2024;
    std::string route, jobsDone, unlock, size;
    int32_t stepTicks = 1800;
    std::vector<std::string> steps;
};

std::optional<uint8_t> KeyNamed(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(name[0])));
    const std::pair<const char*, uint8_t> named[] = {
        {"Space", KeyCode::Space},         {"Enter", KeyCode::Return},
        {"Escape", KeyCode::Escape},       {"Tab", KeyCode::Tab},
        {"Shift", KeyCode::Shift},         {"Left", KeyCode::Left},
        {"Right", KeyCode::Right},         {"Up", KeyCode::Up},
        {"Down", KeyCode::Down},           {"MouseLeft", MouseButton::Left},
        {"MouseRight", MouseButton::Right}};
    for (const auto& [text, key] : named)
        if (name == text)
            return key;
    return std::nullopt;
}

struct Step {
    enum Kind { Walk, Run, Hold, Wait, Job, Fly, Patrol, Race, Level } kind = Wait;
    std::string text;
    float x = 0.0f, y = 0.0f, x2 = 0.0f;
    int32_t ticks = 0;
    uint8_t key = 0;
    std::string job, state;
    // "... until NAME STATE": also over once that job is in that state.
    std::string untilJob, untilState;
    int32_t limit = 0;
};

bool IsJobState(const std::string& word) {
    return word == "Open" || word == "Running" || word == "Done";
}

// Reads one step line; false with `error` set when it is not one.
bool ParseStep(const std::string& line, int32_t defaultLimit, Step& step, std::string& error) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;)
        w.push_back(word);
    step = Step{};
    step.text = line;
    step.limit = defaultLimit;
    if (w.size() >= 2 && w[w.size() - 2] == "within") {
        step.limit = std::atoi(w.back().c_str());
        w.resize(w.size() - 2);
    }
    if (w.size() >= 4 && w[w.size() - 3] == "until") {
        step.untilJob = w[w.size() - 2];
        step.untilState = w.back();
        w.resize(w.size() - 3);
        if (!IsJobState(step.untilState)) {
            error = "\"" + line + "\" is not a step";
            return false;
        }
    }
    auto number = [&](std::size_t i, float& out) {
        if (i >= w.size())
            return false;
        char* end = nullptr;
        out = std::strtof(w[i].c_str(), &end);
        return end && *end == '\0' && std::isfinite(out);
    };
    float n = 0.0f;
    bool ok = false;
    if (w.empty()) {
        ok = false;
    } else if ((w[0] == "walk" || w[0] == "run") && w.size() == 2) {
        step.kind = w[0] == "walk" ? Step::Walk : Step::Run;
        ok = number(1, step.x);
    } else if (w[0] == "press" && w.size() == 2) {
        step.kind = Step::Hold;
        step.ticks = 1;
        const auto key = KeyNamed(w[1]);
        ok = key.has_value();
        step.key = key.value_or(0);
    } else if (w[0] == "hold" && w.size() == 3) {
        step.kind = Step::Hold;
        const auto key = KeyNamed(w[1]);
        ok = key.has_value() && number(2, n) && n >= 1.0f;
        step.key = key.value_or(0);
        step.ticks = static_cast<int32_t>(n);
    } else if (w[0] == "wait" && w.size() == 2) {
        step.kind = Step::Wait;
        ok = number(1, n) && n >= 0.0f;
        step.ticks = static_cast<int32_t>(n);
    } else if (w[0] == "job" && w.size() == 3) {
        step.kind = Step::Job;
        step.job = w[1];
        step.state = w[2];
        ok = IsJobState(step.state);
    } else if (w[0] == "fly" && w.size() == 3) {
        step.kind = Step::Fly;
        ok = number(1, step.x) && number(2, step.y);
    } else if (w[0] == "patrol" && w.size() == 4) {
        // Only an "until" ends it.
        step.kind = Step::Patrol;
        ok = number(1, step.x) && number(2, step.x2) && number(3, step.y) && !step.untilJob.empty();
    } else if (w[0] == "race" && w.size() == 1) {
        step.kind = Step::Race;
        ok = true;
    } else if (w[0] == "level" && w.size() == 1) {
        step.kind = Step::Level;
        ok = true;
    }
    if (!ok)
        error = "\"" + line + "\" is not a step";
    return ok && step.limit > 0;
}

bool ReadPlan(const std::string& file, Plan& plan, std::string& error) {
    ALoader loader(file);
    if (loader.IsFileMissing() || !loader.Begin("Root")) {
        error = "the plan \"" + file + "\" could not be read";
        return false;
    }
    loader.UnsignedField("Seed", plan.seed);
    loader.StringField("Route", plan.route);
    loader.StringField("JobsDone", plan.jobsDone);
    loader.StringField("Unlock", plan.unlock);
    loader.StringField("Size", plan.size);
    loader.IntField("StepTicks", plan.stepTicks);
    loader.StringList("Steps", plan.steps);
    loader.End("Root");
    if (plan.steps.empty()) {
        error = "the plan \"" + file + "\" has no Steps";
        return false;
    }
    return true;
}

std::string JobState(const std::string& name) {
    const JobSystem* jobs = JobSystem::Instance();
    if (!jobs)
        return "";
    const auto found = jobs->jobs.find(name);
    if (found == jobs->jobs.end())
        return "";
    return found->second.completed ? "Done" : jobs->currentJob == name ? "Running" : "Open";
}

// The player's body, or null between levels and in levels without one.
const RigidBody* PlayerBody() {
    const PlayerComponent* player = JobWorld::Player();
    const PhysicsComponent* physics =
        player && player->owner ? player->owner->Get<PhysicsComponent>() : nullptr;
    return physics ? physics->body : nullptr;
}

// Decides each tick's input from the world, one step at a time.
class Pilot {
public:
    Pilot(std::vector<Step> steps_, int32_t width_, int32_t height_)
        : steps(std::move(steps_)), width(width_), height(height_) {
        held.fill(false);
    }

    // The events of the next tick, as the world stands now.
    std::vector<PlatformEvent> Decide(int64_t tick) {
        std::array<bool, 256> want{};
        std::vector<PlatformEvent> events;
        if (tick == 1)
            events.push_back(PlatformEvent::FocusState(true));
        int32_t pointerX = pointer[0], pointerY = pointer[1];
        while (current < steps.size() && failure.empty()) {
            if (!begun) {
                Begin(tick);
                begun = true;
            }
            if (!Drive(tick, want, pointerX, pointerY))
                break;
            ++current;
            begun = false;
            want.fill(false);
            pointerX = pointer[0];
            pointerY = pointer[1];
        }
        if (current < steps.size() && failure.empty() && tick - stepStart > steps[current].limit) {
            failure = "step " + std::to_string(current + 1) + " (" + steps[current].text +
                      ") not reached by tick " + std::to_string(tick);
        }
        if (trace && tick % 30 == 0)
            Trace(tick);
        if (current >= steps.size() && finishedAt == 0)
            finishedAt = tick;
        // The pointer first, so a press this tick aims where it points.
        const bool left = want[MouseButton::Left];
        if (pointerX != pointer[0] || pointerY != pointer[1]) {
            pointer = {pointerX, pointerY};
            events.push_back(PlatformEvent::WindowMessage(WM::MouseMove, left ? Mk::LButton : 0,
                                                          PackPoint(pointerX, pointerY)));
        }
        for (int32_t vk = 0; vk < 256; ++vk)
            if (want[vk] != held[vk]) {
                held[vk] = want[vk];
                events.push_back(PlatformEvent::KeyState(static_cast<uint8_t>(vk), want[vk]));
            }
        return events;
    }

    bool Done() const { return current >= steps.size(); }
    int64_t FinishedAt() const { return finishedAt; }
    const std::string& Failure() const { return failure; }

    // Where the player is every half second, on stderr: for writing a plan.
    bool trace = false;

private:
    void Trace(int64_t tick) const {
        const RigidBody* body = PlayerBody();
        const PlayerComponent* player = JobWorld::Player();
        std::cerr << "tick " << tick << " step " << current + 1;
        if (body && player)
            std::cerr << " x " << body->position.x << " y " << body->position.y << " vx "
                      << body->velocity.x << " vy " << body->velocity.y << " fuel " << player->fuel
                      << (player->flying ? " flying" : "") << (player->onGround ? " ground" : "")
                      << (player->wallHang ? " wall" : "");
        if (const LogicSystem* logic = LogicSystem::Instance();
            logic && !logic->deliveryNodes.empty()) {
            std::cerr << " race " << logic->timeLeft << "s, " << logic->deliveries << " done";
            if (logic->target && logic->target->owner)
                std::cerr << ", to " << logic->target->owner->x << " " << logic->target->owner->y;
        }
        if (JobSystem* jobs = JobSystem::Instance())
            for (const std::string& text : jobs->GetActiveObjectiveTexts())
                std::cerr << " | " << text;
        std::cerr << "\n";
    }

    void Begin(int64_t tick) {
        stepStart = tick;
        const Core* core = Core::Instance();
        entry = core && core->Route() ? core->Route()->Entry() : "";
        const RigidBody* body = PlayerBody();
        startX = body ? body->position.x : 0.0f;
        lastX = startX;
        stillTicks = 0;
        jumpTicks = 0;
        restTicks = 0;
        recharging = false;
        patrolBack = false;
        pressedTicks = 0;
        detourTicks = 0;
        detourAway = true;
        bestDistance = 1e30f;
    }

    // Sets what this step holds now; true once it is over (nothing it
    // wanted is then kept).
    bool Drive(int64_t tick, std::array<bool, 256>& want, int32_t& px, int32_t& py) {
        const Step& step = steps[current];
        const int64_t ticks = tick - stepStart;
        if (!step.untilJob.empty() && JobState(step.untilJob) == step.untilState)
            return true;
        switch (step.kind) {
        case Step::Wait:
            return ticks >= step.ticks;
        case Step::Hold:
            if (ticks >= step.ticks)
                return true;
            want[step.key] = true;
            return false;
        case Step::Job:
            return JobState(step.job) == step.state;
        case Step::Level: {
            const Core* core = Core::Instance();
            return core && core->Route() && core->Route()->Entry() != entry;
        }
        case Step::Walk:
        case Step::Run:
            return Walk(step, want);
        case Step::Fly:
            return Fly(step.x, step.y, kFlyReach, true, want, px, py);
        case Step::Race:
            return Race(want, px, py);
        case Step::Patrol:
            // At one end, on to the other.
            if (Fly(patrolBack ? step.x2 : step.x, step.y, kTurnReach, false, want, px, py)) {
                patrolBack = !patrolBack;
                bestDistance = 1e30f;
                stillTicks = 0;
            }
            return false;
        }
        return true;
    }

    bool Walk(const Step& step, std::array<bool, 256>& want) {
        const RigidBody* body = PlayerBody();
        if (!body)
            return false;
        const float x = body->position.x;
        const float dir = step.x >= startX ? 1.0f : -1.0f;
        if ((x - step.x) * dir >= 0.0f)
            return true;
        want[dir > 0.0f ? 'D' : 'A'] = true;
        want[KeyCode::Shift] = step.kind == Step::Run;
        // Held against something: a jump, held long enough to go high,
        // then let go so the next can be pressed.
        stillTicks = std::abs(x - lastX) < 0.5f ? stillTicks + 1 : 0;
        lastX = x;
        if (jumpTicks > 0) {
            want[KeyCode::Space] = true;
            if (--jumpTicks == 0)
                restTicks = 4;
        } else if (restTicks > 0) {
            --restTicks;
        } else if (stillTicks >= 8) {
            jumpTicks = 20;
            stillTicks = 0;
            want[KeyCode::Space] = true;
        }
        return false;
    }

    // The race's marked point in turn until its time is up (once it has
    // begun: the level may still be coming in).
    bool Race(std::array<bool, 256>& want, int32_t& px, int32_t& py) {
        const LogicSystem* logic = LogicSystem::Instance();
        if (!logic || logic->deliveryNodes.empty())
            return false;
        if (logic->timeLeft <= 0.0f)
            return true;
        const GameObject* at = logic->target ? logic->target->owner : nullptr;
        if (!at)
            return false;
        if (at != raceTarget) {
            raceTarget = at;
            bestDistance = 1e30f;
            stillTicks = 0;
        }
        Fly(at->x, at->y, 0.0f, true, want, px, py);
        return false;
    }

    // Towards (x, y); true once within `near` of it. A flight that is to
    // stop there brakes coming in; one that turns there (`brake` false)
    // keeps its speed.
    bool Fly(float x, float y, float near, bool brake, std::array<bool, 256>& want, int32_t& px,
             int32_t& py) {
        const RigidBody* body = PlayerBody();
        if (!body)
            return false;
        const float dx = x - body->position.x;
        const float dy = y - body->position.y;
        const float distance = std::sqrt(dx * dx + dy * dy);
        const PlayerComponent* player = JobWorld::Player();
        // A point on the ground is reached by landing near it.
        if (distance <= near || (player && player->onGround && std::abs(dx) < 2.0f * kFlyReach &&
                                 std::abs(dy) < 3.0f * kFlyReach))
            return true;
        // The camera keeps the player near the middle of the screen: the
        // pointer off the middle towards the point aims the jet pack there.
        // Aimed where the point will be from where the player is going
        // (a velocity unit is about ten world units a second), so it
        // brakes coming in instead of sailing past.
        const float lead = brake && distance < kLeadDistance ? kLeadSeconds * 10.0f : 0.0f;
        float ax = dx - body->velocity.x * lead;
        float ay = dy - body->velocity.y * lead;
        // Pressed against a wall or roof, thrusting and not moving: a
        // detour straight up, and the next time away from the point and
        // up, before it aims at the point again.
        const bool thrusting = player && !recharging && player->fuel > 0.0f;
        const float moved =
            std::abs(body->position.x - pressedX) + std::abs(body->position.y - pressedY);
        if (thrusting && moved < kPressedReach) {
            ++pressedTicks;
        } else {
            pressedTicks = 0;
            pressedX = body->position.x;
            pressedY = body->position.y;
        }
        if (pressedTicks > kPressedTicks) {
            pressedTicks = 0;
            detourTicks = kDetourTicks;
            detourAway = !detourAway;
        }
        if (detourTicks > 0) {
            --detourTicks;
            ax = detourAway ? (dx > 0.0f ? -1.0f : 1.0f) : 0.0f;
            ay = 1.0f;
        }
        const float aim = std::max(std::sqrt(ax * ax + ay * ay), 1.0f);
        const float reach = 0.2f * static_cast<float>(height);
        px = static_cast<int32_t>(std::lround(width / 2.0f + ax / aim * reach));
        py = static_cast<int32_t>(std::lround(height / 2.0f - ay / aim * reach));
        // Out of fuel the wings glide on; landed, or caught under
        // something, the button is let go until the pack has filled again.
        stillTicks = distance > bestDistance - 1.0f ? stillTicks + 1 : 0;
        bestDistance = std::min(bestDistance, distance);
        if (player && player->fuel <= 0.0f && (player->onGround || stillTicks > 30))
            recharging = true;
        if (player && recharging && player->fuel >= 0.95f * player->fuelMax)
            recharging = false;
        want[MouseButton::Left] = !recharging;
        return false;
    }

    std::vector<Step> steps;
    int32_t width, height;
    std::size_t current = 0;
    bool begun = false;
    int64_t stepStart = 0;
    int64_t finishedAt = 0;
    std::string entry;
    float startX = 0.0f, lastX = 0.0f;
    int32_t stillTicks = 0, jumpTicks = 0, restTicks = 0;
    bool recharging = false, patrolBack = false;
    const GameObject* raceTarget = nullptr;
    float pressedX = 0.0f, pressedY = 0.0f;
    int32_t pressedTicks = 0, detourTicks = 0;
    bool detourAway = true;
    float bestDistance = 1e30f;
    std::array<bool, 256> held;
    std::array<int32_t, 2> pointer{-1, -1};
    std::string failure;
};

int Play(const Plan& plan, const std::string& out) {
    // The options as the program reads them, so the recording says no
    // more than the command line could.
    std::vector<std::string> args{"cloudmere", "--windowed"};
    for (const auto& [option, value] : {std::pair{"--route", plan.route},
                                        {"--jobs-done", plan.jobsDone},
                                        {"--unlock", plan.unlock},
                                        {"--size", plan.size}})
        if (!value.empty()) {
            args.push_back(option);
            args.push_back(value);
        }
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    LaunchOptions options;
    std::string error;
    if (!ParseLaunchOptions(static_cast<int>(argv.size()), argv.data(), options, error)) {
        std::cerr << "cloudmere-autoplay: the plan's options: " << error << "\n";
        return 1;
    }
    std::vector<Step> steps;
    for (const std::string& line : plan.steps) {
        Step step;
        if (!ParseStep(line, plan.stepTicks, step, error)) {
            std::cerr << "cloudmere-autoplay: " << error << "\n";
            return 1;
        }
        steps.push_back(step);
    }

    DataPlaces places;
    if (const char* chosen = std::getenv("CLOUDMERE_DATA"))
        places.chosen = chosen;
    std::error_code ec;
    places.working = std::filesystem::current_path(ec).string();
    places.source = CLOUDMERE_SOURCE_DATA;
    const DataSearch data = FindDataFolder(places);
    if (!data.found) {
        std::cerr << "cloudmere-autoplay: " << NoDataFolderText(data) << "\n";
        return 1;
    }

    InputRecorder recorder(plan.seed);
    recorder.SetOptions(OptionsToRecord(options));
    InputReplay replay;
    GameConfig config;
    config.paths.dataRoot = data.root;
    config.window.windowed = true;
    config.window.width = options.width;
    config.window.height = options.height;
    config.window.recorder = &recorder;
    config.window.replay = &replay;
    config.unlockFlight = options.unlockFlight;
    config.unlockDash = options.unlockDash;
    config.jobsDone = options.jobsDone;
    config.startRoute = options.route;
    config.settingsKeys = false;
    // It plays unpaced: nobody could watch, and drawing is nearly all of
    // a software driver's time. The world is the same drawn or not.
    config.drawFrames = false;

    Core core;
    const GameSystems systems = AddSystems(core, config);
    if (!systems.ok || !systems.windows)
        return 1;
    SeedRandom(recorder.Seed());
    recorder.SetWorldReader(ReadWorldState);
    Pilot pilot(std::move(steps), systems.windows->ClientWidth(), systems.windows->ClientHeight());
    pilot.trace = std::getenv("CLOUDMERE_AUTOPLAY_TRACE") != nullptr;
    // Each tick: the pilot's frame added to the replay, then run as the
    // replay runs it (the window system's own step, done here).
    int64_t tick = 0;
    core.SetTickStep(
        [&](float) {
            ++tick;
            replay.Append(RecordedFrame{kStep, pilot.Decide(tick), {}});
            // Over at the first checkpoint after the plan: the frame
            // that begins after a checkpoint's tick takes it.
            if (!pilot.Failure().empty() ||
                (pilot.Done() && tick > pilot.FinishedAt() && (tick - 1) % kCheckpointTicks == 0))
                replay.Close();
            const float dt = replay.BeginFrame();
            recorder.BeginFrame(dt);
            return dt;
        },
        true);
    core.SetFixedDt(kStep);
    core.Initialize();
    core.GameLoop();
    const bool routeFailed = core.Route() && core.Route()->Failed();
    core.Shutdown();
    if (!pilot.Failure().empty()) {
        std::cerr << "cloudmere-autoplay: " << pilot.Failure() << "\n";
        return 1;
    }
    if (!pilot.Done()) {
        std::cerr << "cloudmere-autoplay: the game ended at tick " << tick
                  << " before the plan did\n";
        return 1;
    }
    if (routeFailed || !recorder.Save(out))
        return 1;
    std::cout << "cloudmere-autoplay: " << out << ": " << recorder.Frames().size()
              << " frames, plan done at tick " << pilot.FinishedAt() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: cloudmere-autoplay PLAN RECORDING\n";
        return 2;
    }
    // Headless unless told otherwise.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Plan plan;
    std::string error;
    try {
        if (!ReadPlan(argv[1], plan, error)) {
            std::cerr << "cloudmere-autoplay: " << error << "\n";
            return 1;
        }
        return Play(plan, std::filesystem::absolute(argv[2]).string());
    } catch (const std::exception& e) {
        std::cerr << "cloudmere-autoplay: " << e.what() << "\n";
    }
    return 1;
}
