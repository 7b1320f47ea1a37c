// Game objects and components: defaults, ids, the load order of
// components, lookups, destruction order and saving.

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"

namespace Flurr {
namespace {

using EngineTest::ComponentNames;
using EngineTest::Events;
using EngineTest::Probe;
using EngineTest::Spinner;
using EngineTest::Sprite;

class GameObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        EngineTest::RegisterTestComponents();
        factory = AddSystems(core, TestGame::Config()).factory;
        Events().clear();
    }
    Core core;
    Factory* factory = nullptr;
};

TEST_F(GameObjectTest, NewObjectsHaveDefaultsAndRisingIds) {
    GameObject* a = factory->CreateGameObject();
    GameObject* b = factory->CreateGameObject();
    EXPECT_EQ(b->id, a->id + 1);
    EXPECT_EQ(GameObject::PeekNextId(), b->id + 1);
    EXPECT_EQ(a->x, 0.0f);
    EXPECT_EQ(a->y, 0.0f);
    EXPECT_EQ(a->rotation, 0.0f);
    EXPECT_EQ(a->xScale, 1.0f);
    EXPECT_EQ(a->yScale, 1.0f);
    EXPECT_EQ(a->width, 1);
    EXPECT_EQ(a->height, 1);
    EXPECT_TRUE(a->components.empty());

    // Text without transform keys keeps every default too.
    GameObject* c = factory->CreateObjectFromText("Root\nGameObject\n-GameObject\n-Root\n");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->id, b->id + 1);
    EXPECT_EQ(c->xScale, 1.0f);
    EXPECT_EQ(c->width, 1);
}

TEST_F(GameObjectTest, ComponentsAreBuiltInRegistrationOrderWhateverTheFileOrder) {
    ASSERT_LT(Sprite::TypeId(), Probe::TypeId());
    ASSERT_LT(Probe::TypeId(), Spinner::TypeId());
    GameObject* object = factory->CreateObjectFromText("Root\n"
                                                       "  GameObject\n"
                                                       "    TestSpinner\n"
                                                       "      Speed:2.5\n"
                                                       "    -TestSpinner\n"
                                                       "    NotAComponent\n"
                                                       "      Speed:9\n"
                                                       "    -NotAComponent\n"
                                                       "    TestSpinner\n"
                                                       "      Speed:7\n"
                                                       "    -TestSpinner\n"
                                                       "    TestSprite\n"
                                                       "      Image:hero.png\n"
                                                       "    -TestSprite\n"
                                                       "    TestProbe\n"
                                                       "    -TestProbe\n"
                                                       "    X:12\n"
                                                       "  -GameObject\n"
                                                       "-Root\n");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(ComponentNames(object),
              (std::vector<std::string>{"TestSprite", "TestProbe", "TestSpinner"}));
    EXPECT_EQ(object->x, 12.0f);
    for (Component* c : object->components)
        EXPECT_EQ(c->owner, object);
    // Two spinner elements give one spinner, reading the first.
    ASSERT_NE(object->Get<Spinner>(), nullptr);
    EXPECT_EQ(object->Get<Spinner>()->speed, 2.5f);
    EXPECT_EQ(object->Get<Sprite>()->image, "hero.png");
    // Each component is initialised before it reads its data.
    EXPECT_EQ(Events(), (std::vector<std::string>{
                            "Sprite::Initialize image=", "Sprite::Serialize image=hero.png",
                            "Spinner::Initialize", "Spinner::Serialize"}));
}

TEST_F(GameObjectTest, GetComponentFindsTheFirstOfItsClassOrNothing) {
    GameObject* object = factory->CreateGameObject();
    EXPECT_EQ(object->GetComponent(Sprite::TypeId()), nullptr);

    auto* first = new Sprite();
    auto* second = new Sprite();
    auto* spinner = new Spinner();
    for (Component* c : std::initializer_list<Component*>{spinner, first, second}) {
        c->owner = object;
        object->components.push_back(c);
    }
    EXPECT_EQ(object->GetComponent(Sprite::TypeId()), first);
    EXPECT_EQ(object->Get<Spinner>(), spinner);
    EXPECT_EQ(object->Get<Probe>(), nullptr);

    // Removing takes it off the list without destroying it.
    object->RemoveComponent(first);
    EXPECT_EQ(object->Get<Sprite>(), second);
    object->RemoveComponent(first);
    EXPECT_EQ(object->components.size(), 2u);
    delete first;
}

TEST_F(GameObjectTest, DestroyFreesComponentsLastToFirst) {
    GameObject* object = factory->CreateObjectFromText(
        "Root\nGameObject\nTestSprite\n-TestSprite\nTestProbe\n-TestProbe\n"
        "TestSpinner\n-TestSpinner\n-GameObject\n-Root\n");
    ASSERT_NE(object, nullptr);
    Events().clear();
    object->Destroy();
    // The probe, freed between the two, finds the spinner already gone.
    EXPECT_EQ(Events(),
              (std::vector<std::string>{"Spinner::Free", "Probe::Free sprite=1 spinner=0 driver=0",
                                        "Sprite::Free"}));
    EXPECT_TRUE(object->components.empty());
    // Still recorded: the object itself lives on, empty.
    EXPECT_EQ(factory->FindObject(object->id), object);
}

TEST_F(GameObjectTest, SavedObjectReadsBackTheSame) {
    GameObject* original = factory->CreateObjectFromText("Root\n"
                                                         "  GameObject\n"
                                                         "    X:-12.5\n"
                                                         "    Y:300.25\n"
                                                         "    WIDTH:64\n"
                                                         "    HEIGHT:-3\n"
                                                         "    XSCALE:0.1\n"
                                                         "    YSCALE:2\n"
                                                         "    ROT:3.14159\n"
                                                         "    TestSpinner\n"
                                                         "      Speed:-0.333333\n"
                                                         "    -TestSpinner\n"
                                                         "    TestSprite\n"
                                                         "      Image:Images/a b:c.png\n"
                                                         "      Depth:1e-07\n"
                                                         "    -TestSprite\n"
                                                         "  -GameObject\n"
                                                         "-Root\n");
    ASSERT_NE(original, nullptr);

    auto saveAsText = [](GameObject* object) {
        StringSaveSerializer saver;
        saver.Begin("Root");
        object->Save(saver);
        saver.End("Root");
        EXPECT_TRUE(saver.Finish());
        return saver.Result();
    };
    const std::string text = saveAsText(original);
    GameObject* copy = factory->CreateObjectFromText(text);
    ASSERT_NE(copy, nullptr) << text;

    EXPECT_NE(copy->id, original->id);
    EXPECT_EQ(copy->x, original->x);
    EXPECT_EQ(copy->y, original->y);
    EXPECT_EQ(copy->width, 64);
    EXPECT_EQ(copy->height, -3);
    EXPECT_EQ(copy->xScale, original->xScale);
    EXPECT_EQ(copy->yScale, original->yScale);
    EXPECT_EQ(copy->rotation, original->rotation);
    EXPECT_EQ(ComponentNames(copy), ComponentNames(original));
    EXPECT_EQ(copy->Get<Sprite>()->image, "Images/a b:c.png");
    EXPECT_EQ(copy->Get<Sprite>()->depth, original->Get<Sprite>()->depth);
    EXPECT_EQ(copy->Get<Spinner>()->speed, original->Get<Spinner>()->speed);
    // And saving the copy gives the same text again.
    EXPECT_EQ(saveAsText(copy), text);
    // The transform comes first, in its fixed key order.
    EXPECT_EQ(text.find("  GameObject\n    X:"), text.find("  GameObject\n"));
    EXPECT_LT(text.find("ROT:"), text.find("TestSprite"));
}

TEST_F(GameObjectTest, CreateComponentByName) {
    EXPECT_EQ(CreateComponent("NoSuchComponent"), nullptr);
    EXPECT_EQ(CreateComponent(""), nullptr);

    Component* made = CreateComponent("TestSpinner");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetName(), "TestSpinner");
    EXPECT_EQ(made->GetTypeId(), Spinner::TypeId());
    EXPECT_EQ(made->owner, nullptr);
    // A fresh instance with defaults, not the prototype's current values.
    auto* prototype = static_cast<Spinner*>(
        GetComponentRegistry().componentPrototypes.at(Spinner::TypeId()).get());
    EXPECT_NE(made, prototype);
    static_cast<Spinner*>(made)->speed = 5.0f;
    std::unique_ptr<Component> another(CreateComponent("TestSpinner"));
    EXPECT_EQ(static_cast<Spinner*>(another.get())->speed, 1.0f);
    delete made;

    // Registering again changes nothing.
    const auto count = GetComponentRegistry().componentPrototypes.size();
    EngineTest::RegisterTestComponents();
    EXPECT_EQ(GetComponentRegistry().componentPrototypes.size(), count);
    EXPECT_EQ(GetComponentRegistry().componentTypeIds.at("TestSprite"), Sprite::TypeId());
}

} // namespace
} // namespace Flurr
