#pragma once
// Shared parts of the particle tests: a small game without a renderer
// (spaces, a graphics system that is never started, so sprites get its
// animation bank but nothing is drawn, the factory and the particle
// system) with its effect folder in a scratch directory, and a writer
// for effect files.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "engine/Core.h"
#include "engine/EngineTestSupport.h"
#include "engine/GameObject.h"
#include "engine/Random.h"
#include "game/TestGame.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ResourceBank.h"
#include "particles/ParticleEffect.h"
#include "particles/ParticleEffectComponent.h"
#include "particles/ParticleSystem.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace ParticleTest {

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

inline std::string EffectText(int maxParticles, const std::vector<Part>& emitters,
                              const std::vector<Part>& initializers = {},
                              const std::vector<Part>& operators = {}) {
    return "Root\n  ParticleEffect\n    MaxParticles:" + std::to_string(maxParticles) + "\n" +
           PartsText("Emitters", "Emitter", emitters) +
           PartsText("Initializers", "Initializer", initializers) +
           PartsText("Operators", "Operator", operators) + "  -ParticleEffect\n-Root\n";
}

inline Part Burst(int amount, const std::string& delay = "0") {
    return {"EmitInstantaneously", {{"Amount", std::to_string(amount)}, {"Delay", delay}}};
}

inline Part Stream(const std::string& rate, const std::string& duration = "0",
                   const std::string& delay = "0") {
    return {"EmitContinuously", {{"Rate", rate}, {"Duration", duration}, {"Delay", delay}}};
}

inline Part Sprite(const std::string& animation, const std::string& more = "") {
    Part p{"Animation", {{"Name", animation}, {"Rate", "5"}, {"Width", "16"}, {"Height", "12"}}};
    if (!more.empty())
        p.keys.push_back({"AdditiveBlend", more});
    return p;
}

class ParticleGame : public ::testing::Test {
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
        const GameSystems made = AddSystems(core, config);
        spaces = made.spaces;
        graphics = made.graphics;
        factory = made.factory;
        particles = made.particles;
        Animation tenFrames;
        tenFrames.frameRate = 8.0f;
        for (int k = 0; k < 10; ++k)
            tenFrames.frames.push_back("Resources/Images/Test/Frame" + std::to_string(k) + ".png");
        graphics->Bank()->AddAnimation("Ten", tenFrames);
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

    // True when the factory no longer has the object.
    bool Gone(const Flurr::Particle& p) const { return factory->FindObject(p.objectId) == nullptr; }

    // A recorded object with a component holding `effect`, initialised.
    Flurr::ParticleEffectComponent* Holder(const std::string& effect, float x, float y,
                                           Flurr::GameObject** ownerOut = nullptr) {
        Flurr::GameObject* owner = factory->CreateGameObject();
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
    Flurr::SpaceManager* spaces = nullptr;
    Flurr::GraphicsSystem* graphics = nullptr;
    Flurr::Factory* factory = nullptr;
    Flurr::ParticleSystem* particles = nullptr;
};

} // namespace ParticleTest
