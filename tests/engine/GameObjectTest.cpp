// Game objects: ids, the load order of their components, and saving.

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"

using namespace Flurr;
namespace {

using namespace EngineTest;

TEST(GameObject, IdsRiseComponentsComeInRegistrationOrderAndASavedObjectReadsBack) {
    RegisterTestComponents();
    Core core;
    Factory* factory = AddSystems(core, TestGame::Config()).factory;
    Events().clear();
    GameObject* a = factory->CreateGameObject();
    EXPECT_EQ(GameObject::PeekNextId(), a->id + 1);
    GameObject* plain = factory->CreateObjectFromText("Root\nGameObject\n-GameObject\n-Root\n");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->id, a->id + 1);

    ASSERT_LT(Sprite::TypeId(), Probe::TypeId());
    ASSERT_LT(Probe::TypeId(), Spinner::TypeId());
    GameObject* object = factory->CreateObjectFromText(
        "Root\n  GameObject\n    TestSpinner\n      Speed:2.5\n    -TestSpinner\n"
        "    NotAComponent\n      Speed:9\n    -NotAComponent\n"
        "    TestSpinner\n      Speed:7\n    -TestSpinner\n"
        "    TestSprite\n      Image:hero.png\n    -TestSprite\n"
        "    TestProbe\n    -TestProbe\n    X:12\n  -GameObject\n-Root\n");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(ComponentNames(object),
              (std::vector<std::string>{"TestSprite", "TestProbe", "TestSpinner"}));
    EXPECT_EQ(object->x, 12.0f);
    for (Component* c : object->components)
        EXPECT_EQ(c->owner, object);
    EXPECT_EQ(object->Get<Spinner>()->speed, 2.5f) << "two spinners give one: the first";
    EXPECT_EQ(object->Get<Sprite>()->image, "hero.png");
    // Each component is initialised before it reads its data.
    EXPECT_EQ(Events(), (std::vector<std::string>{
                            "Sprite::Initialize image=", "Sprite::Serialize image=hero.png",
                            "Spinner::Initialize", "Spinner::Serialize"}));

    // A saved object reads back the same.
    GameObject* original = factory->CreateObjectFromText(
        "Root\n  GameObject\n    X:-12.5\n    Y:300.25\n    WIDTH:64\n    HEIGHT:-3\n"
        "    XSCALE:0.1\n    YSCALE:2\n    ROT:3.14159\n"
        "    TestSpinner\n      Speed:-0.333333\n    -TestSpinner\n"
        "    TestSprite\n      Image:Images/a b:c.png\n      Depth:1e-07\n    -TestSprite\n"
        "  -GameObject\n-Root\n");
    ASSERT_NE(original, nullptr);
    const std::string text = SavedText(*original);
    GameObject* copy = factory->CreateObjectFromText("Root\n" + text + "\n-Root\n");
    ASSERT_NE(copy, nullptr) << text;

    EXPECT_NE(copy->id, original->id);
    // Every value is written, and the copy saves the same text again, the
    // transform first.
    for (const char* line :
         {"X:-12.5", "Y:300.25", "WIDTH:64", "HEIGHT:-3", "XSCALE:0.1", "YSCALE:2", "ROT:3.14159",
          "Speed:-0.333333", "Image:Images/a b:c.png", "Depth:1e-07"})
        EXPECT_TRUE(Contains(text, std::string(line) + "\n")) << line << " in " << text;
    EXPECT_EQ(SavedText(*copy), text);
    EXPECT_TRUE(text.starts_with("GameObject\n  X:")) << text;
    EXPECT_LT(text.find("ROT:"), text.find("TestSprite"));
}

} // namespace
