#pragma once
// The player's test game (tests/player/PlayerTestSupport.h) with a log of
// what the gameplay components tell the rest of the game, and level text
// for objects that carry them.

#include <string>
#include <vector>

#include "engine/Core.h"
#include "engine/Message.h"
#include "player/PlayerTestSupport.h"

namespace GameplayTest {

struct TextLine {
    std::string text;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::string font;
    float red = 0, green = 0, blue = 0, alpha = 0;
    bool shadow = false;
};

struct MessageLogName {
    static constexpr const char* value = "TestMessageLog";
};

// Writes down, per frame, the texts asked for, the events announced, the
// post-processing records sent and the sounds played or stopped.
class MessageLog : public Flurr::ISystem<MessageLog, MessageLogName> {
public:
    explicit MessageLog(Flurr::Core& core) {
        using namespace Flurr;
        for (int32_t id :
             {MessageId::DrawText, MessageId::BasicTrigger, MessageId::PostProcessTransition,
              MessageId::PlaySound, MessageId::StopAllSounds})
            core.RegisterForMessage(this, id);
    }
    void SendMessage(Flurr::Message* m) override {
        using namespace Flurr;
        if (const auto* text = As<DrawTextMessage>(m)) {
            texts.push_back({text->text, text->left, text->top, text->right, text->bottom,
                             text->font, text->red, text->green, text->blue, text->alpha,
                             text->shadow});
        } else if (const auto* event = As<BasicTriggerMessage>(m)) {
            events.push_back(event->name);
        } else if (const auto* post = As<PostProcessTransitionMessage>(m)) {
            records.push_back(post->record);
        } else if (const auto* play = As<PlaySoundMessage>(m)) {
            sounds.push_back(play->name);
        } else if (As<StopAllSoundsMessage>(m)) {
            sounds.push_back("(stop all)");
        }
    }
    void Update(float) override {}
    void Clear() {
        texts.clear();
        events.clear();
        records.clear();
        sounds.clear();
    }
    const TextLine* FindText(const std::string& start) const {
        for (const TextLine& line : texts)
            if (line.text.rfind(start, 0) == 0)
                return &line;
        return nullptr;
    }

    std::vector<TextLine> texts;
    std::vector<std::string> events;
    std::vector<Flurr::PostProcessRecord> records;
    std::vector<std::string> sounds;
};

inline std::string Number(float v) {
    return std::to_string(v);
}

// A ghost box `w` x `h` centred on (x, y), carrying `components`.
inline std::string GhostBox(float x, float y, float w, float h, const std::string& components) {
    return PlayerTest::BoxObject(x - w / 2, y - h / 2, x + w / 2, y + h / 2, true, components);
}

// The first component of class T among the factory's objects, or null.
template <typename T> T* FindComponent(const Flurr::Factory& factory) {
    for (const auto& [id, object] : factory.objects)
        if (T* c = object->template Get<T>())
            return c;
    return nullptr;
}

// An object with no body, at (x, y), carrying `components`.
inline std::string Marker(float x, float y, const std::string& components) {
    return "  GameObject\n    X:" + Number(x) + "\n    Y:" + Number(y) + "\n" + components +
           "  -GameObject\n";
}

} // namespace GameplayTest
