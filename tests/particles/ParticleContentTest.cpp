// The game's own effect files and particle art: every file in
// "Resources/ParticleEffects" reads without a word on stderr, keeps its
// particle count modest, and names only animations of the bank whose
// frame images exist; every one-shot effect is over within a few seconds;
// the trails emit while on and die out when switched off, without ever
// ending on their own.

#include "particles/ParticleTestSupport.h"

#include <filesystem>

namespace Flurr {
namespace {

using namespace ParticleTest;
namespace fs = std::filesystem;

class ParticleContent : public ParticleGame {
protected:
    void SetUp() override {
        ParticleGame::SetUp();
        source = CLOUDMERE_SOURCE_DIR;
        // Names only: frames are checked on disk below.
        graphics->Bank()->LoadAnimationBank((source / "Resources/Banks/AnimationBank").string(),
                                            false);
        particles->SetEffectFolder((source / "Resources/ParticleEffects").string() + "/");
    }
    fs::path source;
};

constexpr float kFrame = 1.0f / 60.0f;

TEST_F(ParticleContent, EveryEffectFileReadsCleanlyAndNamesBankAnimations) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(source / "Resources/ParticleEffects"))
        if (entry.path().extension() == ".zorvel")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {
        "confetti_1", "confetti_2",  "confetti_3",   "confetti_4",    "dash_burst",    "dashpack",
        "firepack",   "flurr_trail", "lifdoff_fire", "lifdoff_flash", "lifdoff_smoke", "runstep"};
    EXPECT_EQ(names, expected);

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EngineTest::WarningLog log;
        const ParticleEffectDescription& d = particles->Describe(name);
        EXPECT_EQ(log.Count(), 0) << log;
        EXPECT_TRUE(d.found);
        EXPECT_GT(d.maxParticles, 0u);
        EXPECT_LE(d.maxParticles, 200u);
        EXPECT_FALSE(d.emitters.empty());
        ASSERT_FALSE(d.initializers.empty());
        auto* animation = dynamic_cast<AnimationInitializer*>(d.initializers[0].get());
        ASSERT_NE(animation, nullptr) << "the sprite comes first";
        for (const auto& initializer : d.initializers)
            if (auto* a = dynamic_cast<AnimationInitializer*>(initializer.get())) {
                const Animation* found = graphics->Bank()->FindAnimation(a->name);
                ASSERT_NE(found, nullptr) << a->name;
                for (const std::string& frame : found->frames)
                    EXPECT_TRUE(fs::is_regular_file(source / frame)) << frame;
            }
    }
}

TEST_F(ParticleContent, OneShotsEndWithinSecondsAndTrailsOnlyWhenOff) {
    const std::vector<std::string> oneShots = {"runstep",       "lifdoff_flash", "lifdoff_fire",
                                               "lifdoff_smoke", "dash_burst",    "confetti_1",
                                               "confetti_2",    "confetti_3",    "confetti_4"};
    EngineTest::WarningLog log;
    std::vector<uint32_t> ids;
    for (const std::string& name : oneShots) {
        ParticleEffect* e = particles->CreateEffect(name, 0.0f, 0.0f);
        if (name == "dash_burst")
            e->SetDirection(0.0f, 1.0f);
        ids.push_back(e->id);
    }
    std::vector<std::size_t> most(oneShots.size(), 0);
    for (int frame = 0; frame < 6 * 60; ++frame) {
        Frame(kFrame);
        for (std::size_t k = 0; k < ids.size(); ++k)
            if (ParticleEffect* e = particles->FindEffect(ids[k]))
                most[k] = std::max(most[k], e->particles.size());
    }
    for (std::size_t k = 0; k < ids.size(); ++k) {
        EXPECT_EQ(particles->FindEffect(ids[k]), nullptr) << oneShots[k] << " still live after 6 s";
        EXPECT_GT(most[k], 0u) << oneShots[k] << " showed nothing";
    }
    EXPECT_TRUE(factory->objects.empty());

    // The player's trails: on while it flies, off when it lands.
    std::vector<ParticleEffectComponent*> trails;
    GameObject* player = nullptr;
    for (const char* name : {"flurr_trail", "firepack", "dashpack"})
        trails.push_back(Holder(name, 0.0f, 0.0f, &player));
    for (int frame = 0; frame < 60; ++frame) {
        player->x += 5.0f;
        Frame(kFrame);
    }
    for (ParticleEffectComponent* trail : trails) {
        SCOPED_TRACE(trail->effectName);
        EXPECT_GT(trail->effect->particles.size(), 10u);
        EXPECT_LE(trail->effect->particles.size(), trail->effect->maxParticles);
        trail->effect->active = false;
    }
    for (int frame = 0; frame < 3 * 60; ++frame)
        Frame(kFrame);
    for (ParticleEffectComponent* trail : trails) {
        SCOPED_TRACE(trail->effectName);
        EXPECT_TRUE(trail->effect->particles.empty());
        EXPECT_FALSE(trail->effect->Spent()) << "a trail waits to be switched on again";
    }
    EXPECT_EQ(log.Count(), 0) << log;
}

} // namespace
} // namespace Flurr
