#pragma once
// A game with the pause menu and the title's buttons over the factory and
// the spaces, reading the real menu screens from the source tree; what
// the menus send is heard after they act.

#include <gtest/gtest.h>

#include <memory>

#include "engine/EngineTestSupport.h"
#include "engine/GameObject.h"
#include "engine/InputCodes.h"
#include "engine/Message.h"
#include "game/TestGame.h"
#include "menus/Button.h"
#include "menus/ButtonSystem.h"
#include "menus/PauseElement.h"
#include "menus/PauseSystem.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace MenuTest {

class MenuGame : public Flurr::GameSystems {
public:
    MenuGame() : core(std::make_unique<Flurr::Core>()) {
        using namespace Flurr;
        GameConfig config = TestGame::Config();
        config.systems.pause = config.systems.buttons = true;
        static_cast<GameSystems&>(*this) = AddSystems(*core, config);
        heard = EngineTest::Recorder::AddTo(*core, {}, "heard");
        TestGame::Start(*core);
        heard->Hear(*core, {MessageId::SetAllVolume, MessageId::MouseMoved, MessageId::MouseClicked,
                            MessageId::ButtonInput, MessageId::PlaySound, MessageId::StartGame,
                            MessageId::InitPauseScreen, MessageId::ToggleFullscreen,
                            MessageId::CycleResolution, MessageId::MusicMute, MessageId::MusicRaise,
                            MessageId::MusicLower});
        heard->note = [](const Flurr::Message* m) {
            if (const auto* v = Flurr::As<Flurr::SetAllVolumeMessage>(m))
                return " " + std::to_string(v->volume).substr(0, 3);
            if (const auto* b = Flurr::As<Flurr::ButtonInputMessage>(m))
                return " " + b->name;
            return std::string();
        };
    }
    ~MenuGame() { core->Shutdown(); }

    void Send(Flurr::Message&& message) { core->SendMessage(&message); }
    void Frame() { core->RunFrame(); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            Frame();
    }
    void Key(uint8_t key) {
        Send(Flurr::KeyTriggeredMessage(key));
        Send(Flurr::KeyReleasedMessage(key));
    }
    void Pad(uint16_t button) { Send(Flurr::XboxTriggeredMessage(button)); }
    // A left click where `object` is on an 800 x 600 screen, the camera at 0.
    void ClickOn(const Flurr::GameObject& object) {
        Send(Flurr::MouseClickedMessage(400 + static_cast<int>(object.x),
                                        300 - static_cast<int>(object.y),
                                        Flurr::MouseButton::Left));
    }
    bool Active(const char* space) const { return spaces->IsSpaceActive(space); }
    // The top screen's element with that id.
    Flurr::PauseElement* Element(uint32_t id) const { return pause->FindElement(id); }
    std::size_t Objects() const { return factory->objects.size(); }
    // What was heard since the last look, the lines starting with `start`.
    std::vector<std::string> Since(const std::string& start = "") {
        std::vector<std::string> lines;
        for (std::string& line : heard->Take())
            if (line.starts_with(start))
                lines.push_back(std::move(line));
        return lines;
    }

    std::unique_ptr<Flurr::Core> core;
    EngineTest::Recorder* heard = nullptr;
};

} // namespace MenuTest
