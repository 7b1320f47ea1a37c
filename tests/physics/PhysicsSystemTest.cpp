// The Physics system with real components loaded from text through the
// factory: keys, the fixed step only while the game runs, "SetRot", F2 and
// outline drawing, the collision bank, and components freed at awkward
// moments (mid-frame, at a level change, after the system itself).

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"

#include "physics/Physics.h"
#include "physics/PhysicsComponent.h"
#include "physics/PhysicsTestSupport.h"

namespace Flurr {
namespace {

using namespace EngineTest;

class PhysicsSystemTest : public ::testing::Test, public GameSystems {
protected:
    void SetUp() override {
        GameConfig config = TestGame::Config();
        config.systems.physics = true;
        config.paths.collisionBank = dir.Write(
            "Banks/CollisionBank.zorvel", "Root\n  CollisionSet\n    Name:Crate\n    List#3:Lines\n"
                                          "      0,0\n      1,0\n      0,1\n    -Lines\n"
                                          "  -CollisionSet\n-Root\n");
        static_cast<GameSystems&>(*this) = AddSystems(core, config);
        debug = Recorder::AddTo(
            core, {MessageId::DebugSetColor, MessageId::DebugMoveTo, MessageId::DebugLineTo});
        core.Initialize();
    }
    void Frame(int count = 1) {
        while (count-- > 0)
            for (IGameSystem* s : core.Systems())
                s->Update(0.1f); // the frame time does not matter to physics
    }

    TempDir dir;
    Core core;
    Recorder* debug = nullptr;
};

TEST_F(PhysicsSystemTest, LoadsKeysAndStepsOnlyWhileTheGameRuns) {
    EXPECT_EQ(physics->FindCollisionSet("Crate")->size(), 3u);
    EXPECT_EQ(physics->FindCollisionSet("Missing"), nullptr);

    GameObject* crate = factory->CreateObjectFromText(LevelText().Object(5, 100).Box(2, 2).Text());
    GameObject* floor =
        factory->CreateObjectFromText(LevelText().Object().Box(100, 100, LevelText::Floor).Text());
    GameObject* floaty = factory->CreateObjectFromText(
        LevelText()
            .Object(200, 0)
            .Box(2, 2, LevelText::Static, "      UseCustomGravity:true\n      Gravity:-1\n")
            .Text());
    auto* c = crate->Get<PhysicsComponent>();
    auto* f = floor->Get<PhysicsComponent>();
    auto* g = floaty->Get<PhysicsComponent>();
    ASSERT_TRUE(c && c->body && f && f->body && g && g->body);
    EXPECT_EQ(c->body->inverseMass, 2.5f); // 2 x 2 box of density 1
    EXPECT_TRUE(f->body->isFloor && f->body->isFloorForPlayer);
    EXPECT_EQ(f->body->floorEdges, (std::vector<std::pair<uint32_t, uint32_t>>{{3, 0}}));
    // A static body with its own gravity falls through everything.
    EXPECT_EQ(g->body->gravity, -1.0f);
    EXPECT_EQ(g->body->inverseMass, 0.0f);

    spaces->SetSpaceActive("GameSpace", false);
    Frame(5);
    EXPECT_EQ(c->body->position, Vec2(5, 100));
    EXPECT_EQ(crate->y, 100.0f);

    spaces->SetSpaceActive("GameSpace", true);
    Frame();
    EXPECT_FLOAT_EQ(c->body->position.y, 100.0f - 0.128f);
    EXPECT_EQ(crate->y, 100.0f); // copied before the step: one step behind
    Frame();
    EXPECT_FLOAT_EQ(crate->y, 100.0f - 0.128f);
    EXPECT_LT(floaty->y, 0.0f);
    EXPECT_EQ(floor->y, 0.0f);

    // The editor turns the object; "SetRot" hands the turn to the body.
    crate->rotation = 0.5f;
    EngineTest::Send(*c, CommandMessage("SetRot"));
    EXPECT_EQ(c->body->angle, 0.5f);
}

TEST_F(PhysicsSystemTest, SavesWhatItReadsWithMissingFloorFlagsPadded) {
    // Two sets, flags for neither: reads as "no floor edge", saves padded.
    const std::string inner = "      CollisionSets\n"
                              "        List#3:CollisionSet\n          0,0\n          2,0\n"
                              "          0,2\n        -CollisionSet\n"
                              "        List#0:CollisionSet\n        -CollisionSet\n"
                              "        List#1:FloorSet\n          true\n        -FloorSet\n"
                              "      -CollisionSets\n      Density:2\n      IsAFloor:true\n"
                              "      ForceArea\n        FAHasForceArea:true\n        FAAOE:7\n"
                              "      -ForceArea\n";
    GameObject* object =
        factory->CreateObjectFromText("Root\n  GameObject\n    PhysicsComponent\n" + inner +
                                      "    -PhysicsComponent\n  -GameObject\n-Root\n");
    auto* p = object->Get<PhysicsComponent>();
    ASSERT_EQ(p->collisionSets.size(), 2u);
    EXPECT_TRUE(p->collisionSets[1].empty());
    EXPECT_EQ(p->floorSets[0], (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(p->floorSets[1].empty());
    EXPECT_EQ(p->body->floorEdges, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 0}}));
    ASSERT_NE(p->forceArea, nullptr);
    EXPECT_EQ(p->forceArea->force, 0.0f); // no "FAForce": no push, not garbage
    EXPECT_EQ(p->forceArea->radius, 7.0f);

    GameObject* copy =
        factory->CreateObjectFromText("Root\n" + EngineTest::SavedText(*object) + "\n-Root\n");
    auto* q = copy->Get<PhysicsComponent>();
    EXPECT_EQ(q->collisionSets, p->collisionSets);
    EXPECT_EQ(q->floorSets, p->floorSets);
    EXPECT_EQ(q->density, 2.0f);
    EXPECT_TRUE(q->isAFloor);
    EXPECT_TRUE(q->faHasForceArea);
    EXPECT_EQ(q->faAOE, 7.0f);
    // The empty outline takes part in nothing.
    Frame(3);
}

TEST_F(PhysicsSystemTest, DebugDrawingThroughMessages) {
    factory->CreateObjectFromText(LevelText().Object(10, 20).Box(2, 2, LevelText::Static).Text());
    EngineTest::Send(core, DebugDrawMessage());
    // Colour, move to the first point, then a line to each point.
    ASSERT_EQ(debug->ids.size(), 6u);
    EXPECT_EQ(debug->ids[0], MessageId::DebugSetColor);
    EXPECT_EQ(debug->ids[1], MessageId::DebugMoveTo);

    debug->ids.clear();
    Frame();
    EXPECT_TRUE(debug->ids.empty());
    EngineTest::Send(core, KeyTriggeredMessage(kDebugDrawKey));
    Frame();
    // Four edges, each as colour, move, line there and back.
    EXPECT_EQ(debug->ids.size(), 16u);
    EngineTest::Send(core, KeyTriggeredMessage(kDebugDrawKey));
    debug->ids.clear();
    Frame();
    EXPECT_TRUE(debug->ids.empty());
}

TEST_F(PhysicsSystemTest, BodiesGoWithTheirObjectsWheneverThatHappensEvenAfterTheSystem) {
    // A bound force area on a pad, a crate on it, a player falling onto it.
    GameObject* pad = factory->CreateObjectFromText(
        LevelText()
            .Object()
            .Box(100, 100, LevelText::Floor,
                 "      ForceArea\n        FAHasForceArea:true\n        FABind:true\n"
                 "        FAForce:1\n        FADirY:1\n      -ForceArea\n")
            .Text());
    GameObject* crate = factory->CreateObjectFromText(LevelText().Object(0, 51).Box(2, 2).Text());
    GameObject* player =
        factory->CreateObjectFromText(LevelText().Object(20, 60).Box(10, 10).Text());
    PhysicsTest::Player(player->Get<PhysicsComponent>()->body);
    Frame(30);
    ASSERT_EQ(physics->world.Bodies().size(), 3u);

    // Destroyed mid-frame from inside the world's frame order.
    factory->DestroyLater(crate);
    EXPECT_EQ(physics->world.Bodies().size(), 2u);
    Frame();
    factory->DestroyObject(player);
    EXPECT_EQ(physics->world.Floor().player, nullptr);
    Frame(5);

    // The pad goes with its bound area; then a level change clears the rest.
    factory->DestroyObject(pad);
    EXPECT_TRUE(physics->world.ForceAreas().empty());
    factory->CreateObjectFromText(LevelText().Object().Box(2, 2).Text());
    factory->Free();
    EXPECT_TRUE(physics->world.Bodies().empty());
    EXPECT_TRUE(physics->components.Empty());
    Frame();

    // Components outliving the system forget their bodies.
    GameObject* object = factory->CreateObjectFromText(LevelText().Object().Box(2, 2).Text());
    auto* p = object->Get<PhysicsComponent>();
    physics->Free();
    EXPECT_EQ(p->body, nullptr);
    Frame();
    factory->DestroyObject(object); // frees the component: nothing to reach
}

} // namespace
} // namespace Flurr
