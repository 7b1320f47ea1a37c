#pragma once
// Shared parts of the particle tests: a small game without a renderer
// (the graphics system is never started: sprites get its animation bank,
// nothing is drawn) with its effect folder in a scratch directory, and a
// writer for effect files.

#include <cmath>
#include <utility>

#include "engine/EngineTestSupport.h"
#include "engine/Random.h"
#include "game/TestGame.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ResourceBank.h"
#include "particles/ParticleEffect.h"
#include "particles/ParticleEffectComponent.h"
#include "particles/ParticleSystem.h"

namespace ParticleTest {

// Several floats at once, each equal to its expected value up to float
// rounding.
inline testing::AssertionResult Floats(const std::vector<float>& actual,
                                       const std::vector<float>& expected) {
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (std::abs(actual[i] - expected[i]) > 1e-5f * std::max(1.0f, std::abs(expected[i])))
            return testing::AssertionFailure() << testing::PrintToString(actual) << " is not "
                                               << testing::PrintToString(expected);
    return testing::AssertionSuccess();
}

// One emitter, initializer or operator entry: its type and its keys.
struct Part {
    std::string type;
    std::vector<std::pair<std::string, std::string>> keys;
};

inline std::string PartsText(const char* group, const char* entry, const std::vector<Part>& parts) {
    std::string text = std::string("    ") + group + "\n";
    for (const Part& part : parts) {
        text += std::string("      ") + entry + "\n        Type:" + part.type + "\n";
        for (const auto& [key, value] : part.keys)
            text += "        " + key + ":" + value + "\n";
        text += std::string("      -") + entry + "\n";
    }
    return text + "    -" + group + "\n";
}

// An effect file; a negative `maxParticles` leaves the key out.
inline std::string EffectText(int maxParticles, const std::vector<Part>& emitters,
                              const std::vector<Part>& initializers = {},
                              const std::vector<Part>& operators = {}) {
    return "Root\n  ParticleEffect\n" +
           (maxParticles < 0 ? "" : "    MaxParticles:" + std::to_string(maxParticles) + "\n") +
           PartsText("Emitters", "Emitter", emitters) +
           PartsText("Initializers", "Initializer", initializers) +
           PartsText("Operators", "Operator", operators) + "  -ParticleEffect\n-Root\n";
}

inline Part Burst(uint32_t amount, const std::string& delay = "0") {
    return {"EmitInstantaneously", {{"Amount", std::to_string(amount)}, {"Delay", delay}}};
}

inline Part Stream(const std::string& rate, const std::string& duration = "0",
                   const std::string& delay = "0") {
    return {"EmitContinuously", {{"Rate", rate}, {"Duration", duration}, {"Delay", delay}}};
}

// A "<what>Random" initializer between "Minimum<what>" and "Maximum<what>".
inline Part Ranged(const std::string& what, const std::string& minimum,
                   const std::string& maximum) {
    return {what + "Random", {{"Minimum" + what, minimum}, {"Maximum" + what, maximum}}};
}

// A place in the ring between the two distances from the effect.
inline Part Ring(const std::string& minimum = "0", const std::string& maximum = "0") {
    return {"PositionWithinCircleRandom",
            {{"MinimumDistance", minimum}, {"MaximumDistance", maximum}}};
}

// One colour for every newborn.
inline Part Colour(const std::string& red, const std::string& green, const std::string& blue) {
    Part colour{"ColorRandom", {}};
    for (const Part& c :
         {Ranged("Red", red, red), Ranged("Green", green, green), Ranged("Blue", blue, blue)})
        colour.keys.insert(colour.keys.end(), c.keys.begin(), c.keys.end());
    return colour;
}

// One speed along (x, y) for every newborn.
inline Part Velocity(const std::string& speed, const std::string& x, const std::string& y = "0") {
    return {
        "VelocityRandom",
        {{"MinimumSpeed", speed}, {"MaximumSpeed", speed}, {"XDirection", x}, {"YDirection", y}}};
}

inline Part Sprite(const std::string& animation, const std::string& more = "") {
    Part p{"Animation", {{"Name", animation}, {"Rate", "5"}, {"Width", "16"}, {"Height", "12"}}};
    if (!more.empty())
        p.keys.push_back({"AdditiveBlend", more});
    return p;
}

class ParticleGame : public ::testing::Test, public Flurr::GameSystems {
protected:
    void SetUp() override {
        using namespace Flurr;
        Flurr::SeedRandom(12345);
        GameConfig config = TestGame::Config();
        // Graphics is never initialised (no window, no GL), but gives a
        // bank sprites can use.
        config.systems.graphics = true;
        config.systems.particles = true;
        config.paths.particleEffects = dir.Path("Effects") + "/";
        static_cast<GameSystems&>(*this) = AddSystems(core, config);
        // "Ten": ten frames, at 8 a second.
        graphics->Bank()->AddAnimation("Ten", {8.0f, std::vector<std::string>(10, "Frame.png")});
        factory->Initialize();
        particles->Initialize();
    }

    void Write(const std::string& name, const std::string& text) {
        dir.Write("Effects/" + name + ".zorvel", text);
    }

    // The factory's and the particle system's parts of a frame.
    void Frame(float dt) {
        factory->Update(dt);
        particles->Update(dt);
    }

    // An object with a component holding `effect`, initialised; recorded
    // by the factory, or else a screen object the test must delete.
    Flurr::ParticleEffectComponent* Holder(const std::string& effect, float x, float y,
                                           Flurr::GameObject** ownerOut = nullptr,
                                           bool recorded = true) {
        Flurr::GameObject* owner = recorded ? factory->CreateGameObject() : new Flurr::GameObject();
        owner->x = x;
        owner->y = y;
        auto* c = new Flurr::ParticleEffectComponent();
        c->effectName = effect;
        c->owner = owner;
        owner->components.push_back(c);
        c->Initialize();
        if (ownerOut)
            *ownerOut = owner;
        return c;
    }

    EngineTest::TempDir dir;
    Flurr::Core core;
};

} // namespace ParticleTest
