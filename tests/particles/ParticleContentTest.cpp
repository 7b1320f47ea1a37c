// The game's own effect files and particle art: every file in
// "Resources/ParticleEffects" reads without a word on stderr, keeps its
// particle count modest, and names only animations of the bank whose
// frame images exist; every one-shot effect is over within a few seconds;
// the trails emit while on and die out when switched off, without ever
// ending on their own.

#include "particles/ParticleTestSupport.h"

#include <filesystem>
#include <set>

namespace Flurr {
namespace {

using namespace ParticleTest;
namespace fs = std::filesystem;

class ParticleContent : public ParticleGame {};

TEST_F(ParticleContent, EveryEffectReadsCleanlyNamesBankArtAndEndsOrTrails) {
    const fs::path source = CLOUDMERE_SOURCE_DIR;
    // Names only: frames are checked on disk below.
    graphics->Bank()->LoadAnimationBank((source / "Resources/Banks/AnimationBank").string(), false);
    particles->SetEffectFolder((source / "Resources/ParticleEffects").string() + "/");
    // The player's trails, on while it flies; every other effect is a
    // one-shot.
    const std::set<std::string> trailNames = {"dashpack", "firepack", "flurr_trail"};
    std::vector<std::string> oneShots;
    std::vector<ParticleEffectComponent*> trails;
    GameObject* player = nullptr;
    EngineTest::WarningLog log;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(source / "Resources/ParticleEffects")) {
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        ASSERT_EQ(entry.path().extension(), ".zorvel");
        const ParticleEffectDescription& d = particles->Describe(name);
        EXPECT_EQ(log.Count(), 0) << log;
        EXPECT_TRUE(d.found);
        EXPECT_GT(d.maxParticles, 0u);
        EXPECT_LE(d.maxParticles, 200u);
        EXPECT_FALSE(d.emitters.empty());
        ASSERT_FALSE(d.initializers.empty());
        ASSERT_NE(dynamic_cast<AnimationInitializer*>(d.initializers[0].get()), nullptr)
            << "the sprite comes first";
        for (const auto& initializer : d.initializers)
            if (auto* a = dynamic_cast<AnimationInitializer*>(initializer.get())) {
                const Animation* found = graphics->Bank()->FindAnimation(a->name);
                ASSERT_NE(found, nullptr) << a->name;
                for (const std::string& frame : found->frames)
                    EXPECT_TRUE(fs::is_regular_file(source / frame)) << frame;
            }
        if (trailNames.count(name))
            trails.push_back(Holder(name, 0.0f, 0.0f, &player));
        else
            oneShots.push_back(name);
    }
    ASSERT_EQ(trails.size(), trailNames.size());

    // Every one-shot shows something and is over within six seconds.
    std::vector<uint32_t> ids;
    for (const std::string& name : oneShots) {
        ParticleEffect* e = particles->CreateEffect(name, 0.0f, 0.0f);
        if (name == "dash_burst")
            e->SetDirection(0.0f, 1.0f);
        ids.push_back(e->id);
    }
    std::vector<std::size_t> most(oneShots.size(), 0);
    for (int frame = 0; frame < 6 * 60; ++frame) {
        // The trails fly along for the first second.
        if (frame < 60)
            player->x += 5.0f;
        Frame(1.0f / 60.0f);
        for (std::size_t k = 0; k < ids.size(); ++k)
            if (ParticleEffect* e = particles->FindEffect(ids[k]))
                most[k] = std::max(most[k], e->particles.size());
        if (frame == 59)
            for (ParticleEffectComponent* trail : trails) {
                SCOPED_TRACE(trail->effectName);
                EXPECT_GT(trail->effect->particles.size(), 10u);
                EXPECT_LE(trail->effect->particles.size(), trail->effect->maxParticles);
                trail->effect->active = false;
            }
    }
    for (std::size_t k = 0; k < ids.size(); ++k) {
        EXPECT_EQ(particles->FindEffect(ids[k]), nullptr) << oneShots[k] << " still live after 6 s";
        EXPECT_GT(most[k], 0u) << oneShots[k] << " showed nothing";
    }
    // Switched off, the trails die out but wait to be switched on again.
    for (ParticleEffectComponent* trail : trails) {
        SCOPED_TRACE(trail->effectName);
        EXPECT_TRUE(trail->effect->particles.empty());
        EXPECT_FALSE(trail->effect->Spent());
    }
    EXPECT_EQ(factory->objects.size(), trails.size()) << "only the trails' owners are left";
    EXPECT_EQ(log.Count(), 0) << log;
}

} // namespace
} // namespace Flurr
