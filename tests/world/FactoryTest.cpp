// The factory: loading, commands, its records, destruction and saving.

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"

using namespace Flurr;
namespace {

using namespace EngineTest;

// The factory as in the game, and a system hearing what it announces.
class FactoryTest : public ::testing::Test, public GameSystems {
protected:
    void SetUp() override {
        EngineTest::RegisterTestComponents();
        static_cast<GameSystems&>(*this) = AddSystems(core, TestGame::Config());
        core.SetFixedDt(kTickSeconds);
        listener = Recorder::AddTo(core, {MessageId::SetBackground, MessageId::GODestructionNotify},
                                   "listener");
        Events().clear();
    }

    std::vector<float> RecordedXs() const {
        std::vector<float> xs;
        for (const auto& [id, object] : factory->objects)
            xs.push_back(object->x);
        return xs;
    }

    TempDir dir;
    const std::string level =
        dir.Write("Level.zorvel", LevelText()
                                      .Object(10)
                                      .With("TestSprite", {{"Image", "a.png"}})
                                      .Object(20)
                                      .Text("Resources/Images/Sky.png"));
    Core core;
    Recorder* listener = nullptr;
};

TEST_F(FactoryTest, LevelsAddToTheRecordsUntilFreedAndAnnounceTheirBackground) {
    factory->LoadLevel(level);
    factory->LoadLevel(level);
    const std::vector<int32_t> ids = RecordedIds(*factory);
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids.back() - ids.front(), 3);
    EXPECT_EQ(RecordedXs(), (std::vector<float>{10, 20, 10, 20}));
    EXPECT_EQ(factory->Background(), "Resources/Images/Sky.png");
    EXPECT_EQ(listener->Take(), std::vector<std::string>(2, "Background Resources/Images/Sky.png"));

    // Objects the caller owns survive Free(); recorded ones do not.
    std::vector<GameObject*> screens;
    factory->LoadUnrecordedObjects(level, screens);
    std::vector<GameObject*> listed;
    factory->LoadObjects(level, listed);
    ASSERT_EQ(screens.size(), 2u);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(factory->objects.size(), 6u);
    EXPECT_EQ(factory->FindObject(screens[0]->id), nullptr);
    EXPECT_EQ(factory->FindObject(listed[1]->id), listed[1]);
    EXPECT_GT(screens[0]->id, ids.back());
    factory->Free();
    EXPECT_TRUE(factory->objects.empty());
    EXPECT_EQ(screens[0]->Get<Sprite>()->image, "a.png");
    EXPECT_EQ(screens[1]->x, 20.0f);
    factory->DestroyObject(screens[0]);
    EXPECT_NE(screens[0]->Get<Sprite>(), nullptr) << "not the factory's to destroy";
    for (GameObject* object : screens)
        delete object;

    // A level without a background, missing or empty still announces one.
    factory->Free();
    listener->Take();
    factory->LoadLevel(dir.Write("Bare.zorvel", LevelText().Object(5).Text()));
    factory->LoadLevel(dir.Path("Missing.zorvel"));
    factory->LoadLevel(dir.Write("Empty.zorvel", ""));
    EXPECT_EQ(listener->Take(), std::vector<std::string>(3, "Background "));
    EXPECT_EQ(factory->objects.size(), 1u);
    EXPECT_EQ(factory->Background(), "");
    std::vector<GameObject*> none;
    factory->LoadObjects(dir.Path("Missing.zorvel"), none);
    EXPECT_TRUE(none.empty());
}

TEST_F(FactoryTest, CommandsTakeEffectAtTheNextUpdate) {
    CommandMessage load("LoadLevel " + level);
    core.SendMessage(&load);
    EXPECT_TRUE(factory->objects.empty());
    factory->Update(0.016f);
    EXPECT_EQ(factory->objects.size(), 2u);

    for (const char* text : {"LoadLevel", "LoadLevel ", "SetRot", "Unload", "loadlevel x.zorvel",
                             "LoadLevel notadatafile.txt", ""})
        Send(core, CommandMessage(text));
    factory->Update(0.016f);
    EXPECT_EQ(factory->objects.size(), 2u)
        << "neither a bare \"LoadLevel\" nor other commands do anything";

    CommandMessage unload("UnloadLevel");
    core.SendMessage(&unload);
    EXPECT_EQ(factory->objects.size(), 2u);
    factory->Update(0.016f);
    EXPECT_TRUE(factory->objects.empty());

    core.SendMessage(&load);
    core.SendMessage(&unload);
    core.SendMessage(&load);
    factory->Update(0.016f);
    EXPECT_EQ(factory->objects.size(), 2u) << "both in one frame run in the order sent";
}

TEST_F(FactoryTest, ArchetypesAndObjectText) {
    const std::string archetype = dir.Write(
        "Objects/Lamp.zorvel",
        "Root\n  X:5\n  WIDTH:32\n  TestSprite\n    Image:lamp.png\n  -TestSprite\n"
        "  GameObject\n    X:99\n    TestSpinner\n    -TestSpinner\n  -GameObject\n-Root\n");
    GameObject* lamp = factory->LoadObject(archetype);
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->x, 5.0f);
    EXPECT_EQ(lamp->width, 32);
    EXPECT_EQ(ComponentNames(lamp), std::vector<std::string>{"TestSprite"});
    EXPECT_EQ(factory->FindObject(lamp->id), lamp);
    EXPECT_EQ(factory->objects.size(), 1u);

    EXPECT_EQ(factory->LoadObject(dir.Path("Objects/Missing.zorvel")), nullptr);
    // Readable, but not the expected layout: an empty object with defaults.
    for (const char* text : {"Root\n-Root\n", "Something\n  X:4\n-Something\n"}) {
        GameObject* empty = factory->LoadObject(dir.Write("Objects/Odd.zorvel", text));
        ASSERT_NE(empty, nullptr) << text;
        EXPECT_TRUE(empty->components.empty());
        EXPECT_EQ(empty->x, 0.0f);
    }

    GameObject* hollow = factory->CreateObjectFromText("Root\n  X:4\n-Root\n");
    ASSERT_NE(hollow, nullptr);
    EXPECT_TRUE(hollow->components.empty());
    EXPECT_EQ(hollow->x, 0.0f);
    EXPECT_EQ(factory->CreateObjectFromText("Nothing useful"), nullptr);
    EXPECT_EQ(factory->CreateObjectFromText(""), nullptr);
}

TEST_F(FactoryTest, DestroyLaterFromInsideAnUpdateAndFreeTakesTheQueueToo) {
    auto* driver = new Driver();
    core.AddSystem(driver);
    factory->LoadLevel(dir.Write("Level.zorvel", LevelText()
                                                     .Object()
                                                     .With("TestProbe", {{"DestroySelf", "true"}})
                                                     .With("TestSprite")
                                                     .Object()
                                                     .With("TestProbe")
                                                     .Text()));
    ASSERT_EQ(factory->objects.size(), 2u);
    GameObject* doomed = factory->objects.begin()->second;
    GameObject* survivor = std::next(factory->objects.begin())->second;
    const int32_t doomedId = doomed->id;
    auto* survivorProbe = survivor->Get<Probe>();
    Events().clear();
    listener->ids.clear();

    // Factory, then the driver: the probe asks for its end mid-frame.
    core.RunFrame();
    EXPECT_EQ(factory->FindObject(doomedId), nullptr);
    EXPECT_EQ(factory->objects.size(), 1u);
    ASSERT_EQ(factory->pendingDestruction, std::vector<GameObject*>{doomed});
    // Its components stopped at once: the driver no longer holds the probe.
    EXPECT_EQ(driver->components, std::vector<Component*>{survivorProbe});
    EXPECT_EQ(Events(),
              (std::vector<std::string>{"Update listener",
                                        "Probe::Free sprite=1 spinner=0 driver=1", "Sprite::Free",
                                        "Probe::Update destroyed " + std::to_string(doomedId)}));
    EXPECT_EQ(survivorProbe->updates, 1);
    EXPECT_TRUE(listener->ids.empty());

    // Asking again, or destroying it outright, changes nothing now.
    factory->DestroyLater(doomed);
    factory->DestroyObject(doomed);
    EXPECT_EQ(factory->pendingDestruction.size(), 1u);

    GameObject* announced = nullptr;
    listener->onMessage = [&](Message* m) {
        if (const auto* notify = As<GODestructionNotifyMessage>(m))
            announced = notify->object;
    };
    core.RunFrame();
    EXPECT_EQ(announced, doomed);
    EXPECT_EQ(listener->ids, std::vector<int32_t>{MessageId::GODestructionNotify});
    EXPECT_TRUE(factory->pendingDestruction.empty());
    EXPECT_EQ(survivorProbe->updates, 2);
    EXPECT_EQ(factory->FindObject(survivor->id), survivor);

    // Objects not recorded are left alone by both kinds of destruction.
    GameObject stranger;
    stranger.components.push_back(new Sprite());
    factory->DestroyLater(&stranger);
    factory->DestroyObject(&stranger);
    factory->DestroyLater(nullptr);
    factory->DestroyObject(nullptr);
    EXPECT_TRUE(factory->pendingDestruction.empty());
    EXPECT_EQ(stranger.components.size(), 1u);

    // Free() also deletes what is queued, unannounced; DestroyObject is at once.
    listener->ids.clear();
    factory->DestroyLater(survivor);
    factory->LoadLevel(level);
    factory->DestroyLater(factory->objects.begin()->second);
    factory->DestroyObject(factory->objects.begin()->second);
    EXPECT_TRUE(factory->objects.empty());
    EXPECT_EQ(factory->pendingDestruction.size(), 2u);
    factory->Free();
    EXPECT_TRUE(factory->pendingDestruction.empty());
    EXPECT_EQ(std::ranges::count(listener->ids, MessageId::GODestructionNotify), 0);

    // An object removed by another's component while the level is freed goes
    // in the same Free(), not lingering into the next level.
    const std::string probeText = LevelText().Object().With("TestProbe").Text();
    GameObject* perch = factory->CreateObjectFromText(probeText);
    GameObject* bird = factory->CreateObjectFromText(probeText);
    perch->Get<Probe>()->takesWithIt = bird->id;
    factory->Free();
    EXPECT_TRUE(factory->objects.empty());
    EXPECT_TRUE(factory->pendingDestruction.empty());
}

TEST_F(FactoryTest, SavedLevelListsObjectsInIdOrderAndReadsBack) {
    GameObject* second = nullptr;
    for (int i = 0; i < 12; ++i) {
        GameObject* object = factory->CreateGameObject();
        object->x = static_cast<float>(i);
        if (i == 1)
            second = object;
    }
    auto* sprite = new Sprite();
    sprite->image = "Images/Player.png";
    sprite->owner = second;
    second->components.push_back(sprite);
    // Something that lives only while the game runs is not written.
    factory->CreateGameObject()->savedWithLevel = false;

    const std::string saved = dir.Path("Saved.zorvel");
    ASSERT_TRUE(factory->SaveLevel(saved, "Images/Night.png"));

    // Read back in id order (10 and 11 after 9: numbers, not text).
    factory->Free();
    factory->LoadLevel(saved);
    EXPECT_EQ(RecordedXs(), (std::vector<float>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(factory->Background(), "Images/Night.png");
    GameObject* reread = std::next(factory->objects.begin())->second;
    ASSERT_NE(reread->Get<Sprite>(), nullptr);
    EXPECT_EQ(reread->Get<Sprite>()->image, "Images/Player.png");

    // A name the loader could never read back is refused, writing nothing.
    EXPECT_FALSE(factory->SaveLevel(dir.Path("Saved.txt"), ""));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("Saved.txt")));
    EXPECT_FALSE(factory->SaveLevel(dir.Path("No/Such/Folder/Saved.zorvel"), ""))
        << "a folder that does not exist cannot be written to";
}

} // namespace
