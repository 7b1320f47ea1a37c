// The sound system on real audio output: SDL's "disk" driver writes the
// mixed stream (16-bit stereo, 44.1 kHz) to a file the tests measure.
// Sounds are square waves, so a level on the output is exact: the wave's
// amplitude times the channel's volume. Time is counted in frames
// written, not on a clock: the driver runs faster than real time.

#include <cmath>
#include <thread>

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "sound/SoundSystem.h"

namespace Flurr {
namespace {

using namespace EngineTest;

constexpr uint32_t kRate = 44100;
constexpr int16_t kAmplitude = 16000;
// A message's effect reaches the file within this many frames of the
// file's size when it was sent: what the C library has not flushed yet
// plus the buffer being mixed (4096 bytes + 512 frames), with room over.
constexpr int64_t kSettle = 4096;
// Frames measured in each phase.
constexpr int64_t kWindow = 2048;

// A mono 16-bit WAV of a 441 Hz square wave (50 samples up, 50 down).
void WriteTone(const std::string& path, double seconds) {
    const uint32_t frames = static_cast<uint32_t>(seconds * kRate);
    std::vector<int16_t> data(frames);
    for (uint32_t i = 0; i < frames; ++i)
        data[i] = (i / 50) % 2 == 0 ? kAmplitude : -kAmplitude;
    // Little-endian fields of the RIFF header.
    auto le = [](uint32_t v, int bytes) { return std::string(reinterpret_cast<char*>(&v), bytes); };
    std::ofstream out(path, std::ios::binary);
    out << "RIFF" << le(36 + frames * 2, 4) << "WAVEfmt " << le(16, 4) << le(1, 2) /* PCM */
        << le(1, 2) /* mono */ << le(kRate, 4) << le(kRate * 2, 4) << le(2, 2) << le(16, 2)
        << "data" << le(frames * 2, 4);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size() * 2));
}

std::string Entry(const std::string& name, const std::string& file, float volume, bool stream) {
    return "  Sound\n    Name:" + name + "\n    Stream:" + (stream ? "true" : "false") +
           "\n    Volume:" + std::to_string(volume) + "\n    Filename:" + file + "\n  -Sound\n";
}

// One sound system on the disk driver, with its bank in a temp folder.
class Sound : public ::testing::Test {
protected:
    void SetUp() override {
        output = dir.Path("mixed.raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "2", 1); // ms per 512-frame buffer
    }

    // A bank entry for a square wave of `seconds` written for `name`.
    std::string Tone(const std::string& name, float volume, bool stream = true,
                     double seconds = 0.5) {
        WriteTone(dir.Path(name + ".wav"), seconds);
        return Entry(name, dir.Path(name + ".wav"), volume, stream);
    }

    void Start(const std::string& entries) {
        StartWithBank(dir.Write("Bank.zorvel", "Root\n" + entries + "-Root\n"));
    }
    void StartWithBank(const std::string& bank) {
        sound = TestGame::WithSound(core, bank);
        ASSERT_FALSE(sound->IsSilent());
    }
    void Send(Message&& message) { core.SendMessage(&message); }

    int64_t FramesWritten() const {
        std::error_code ec;
        const auto bytes = std::filesystem::file_size(output, ec);
        return ec ? 0 : static_cast<int64_t>(bytes / 4);
    }
    // Waits, 30 s at most, until `done` holds.
    static bool WaitUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return done();
    }
    // Waits until the file holds `frames` more frames; returns where the
    // wait began.
    int64_t WaitFrames(int64_t frames) {
        const int64_t start = FramesWritten();
        EXPECT_TRUE(WaitUntil([&] { return FramesWritten() >= start + frames; }))
            << "the audio output stopped growing";
        return start;
    }
    // Sends `message` and lets the output run long enough to measure the
    // result; returns the first frame of that phase's measuring window.
    int64_t Phase(Message&& message) {
        core.SendMessage(&message);
        return Settle();
    }
    int64_t Settle() { return WaitFrames(kSettle + kWindow) + kSettle; }

    // Closes the device and reads everything it wrote.
    void Finish() {
        sound->Free();
        std::ifstream in(output, std::ios::binary);
        samples.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Largest magnitude over both channels of frames [from, from + kWindow).
    int32_t Peak(int64_t from) const {
        int32_t peak = 0;
        const auto* data = reinterpret_cast<const int16_t*>(samples.data());
        const int64_t count = static_cast<int64_t>(samples.size() / 2);
        for (int64_t i = from * 2; i < (from + kWindow) * 2 && i < count; ++i)
            peak = std::max(peak, std::abs(static_cast<int32_t>(data[i])));
        return peak;
    }
    // The level a channel at `volume` gives the square wave.
    static int32_t Level(float volume) { return kAmplitude * Mixer::ToMixVolume(volume) / 128; }

    TempDir dir;
    std::string output;
    Core core;
    SoundSystem* sound = nullptr;
    std::vector<char> samples;
};

TEST_F(Sound, PlayedSoundsReachTheOutputAndPlayOnceOrForever) {
    Start(Tone("Tone", 1.0f) + Tone("Blip", 1.0f, false, 0.05));
    const int64_t before = Settle();
    const int64_t playing = Phase(PlaySoundMessage("Tone", 1.0f, -1));
    // A stream looping forever is still there long after its 0.5 s end.
    WaitFrames(kRate);
    const int64_t stillPlaying = Settle();
    const int64_t stopped = Phase(StopSoundMessage("Tone"));
    // A one-shot plays once and is gone.
    Send(PlaySoundMessage("Blip", 1.0f, 0));
    const int64_t blipStart = FramesWritten();
    WaitFrames(kSettle + kRate / 10);
    const int64_t afterBlip = Settle();
    Finish();

    EXPECT_EQ(Peak(before), 0);
    EXPECT_EQ(Peak(playing), kAmplitude);
    EXPECT_EQ(Peak(stillPlaying), kAmplitude);
    EXPECT_EQ(Peak(stopped), 0);
    int32_t blipPeak = 0;
    for (int64_t f = blipStart; f < afterBlip; f += kWindow)
        blipPeak = std::max(blipPeak, Peak(f));
    EXPECT_EQ(blipPeak, kAmplitude);
    EXPECT_EQ(Peak(afterBlip), 0);
}

TEST_F(Sound, VolumeIsBankTimesMasterTimesMessageAndMuteSilencesAll) {
    Start(Tone("Half", 0.5f) + Tone("Full", 1.0f) + Tone("Wind", 0.5f));
    const int64_t played = Phase(PlaySoundMessage("Half", 0.5f, -1));
    // Two notches down: master 0.8; every tracked channel goes to bank x
    // master, and the message's own 0.5 is forgotten.
    Send(MusicLower());
    const int64_t lowered = Phase(MusicLower());
    // The pause menu's dimming sets bank x level and ignores the master.
    const int64_t dimmed = Phase(SetAllVolumeMessage(0.3f));
    Send(StopSoundMessage("Half"));
    // A new play takes the master level into account.
    const int64_t second = Phase(PlaySoundMessage("Full", 0.5f, -1));
    Send(MusicRaise());
    const int64_t raised = Phase(MusicRaise());
    const int64_t muted = Phase(MusicMute());
    // Sounds started while muted start silent; volume changes keep silence.
    const int64_t startedMuted = Phase(PlaySoundMessage("Wind", 1.0f, -1));
    Send(MusicLower());
    const int64_t stillMuted = Phase(SetAllVolumeMessage(1.0f));
    Send(StopSoundMessage("Full"));
    // Unmuting restores bank x master (0.9 after the lower) on the wind.
    const int64_t unmuted = Phase(MusicMute());
    Finish();

    EXPECT_NEAR(Peak(played), Level(0.25f), 2);
    EXPECT_NEAR(Peak(lowered), Level(0.5f * 0.8f), 2);
    EXPECT_NEAR(Peak(dimmed), Level(0.5f * 0.3f), 2);
    EXPECT_NEAR(Peak(second), Level(1.0f * 0.8f * 0.5f), 2);
    EXPECT_NEAR(Peak(raised), Level(1.0f), 2);
    EXPECT_EQ(Peak(muted), 0);
    EXPECT_EQ(Peak(startedMuted), 0);
    EXPECT_EQ(Peak(stillMuted), 0);
    EXPECT_NEAR(Peak(unmuted), Level(0.5f * 0.9f), 2);
    EXPECT_FALSE(sound->Muted());
}

TEST_F(Sound, LoopsAreNotDoubledAndReplacedChannelsPlayOn) {
    Start(Tone("Jet", 0.5f) + Tone("Other", 0.25f));
    Send(PlaySoundMessage("Jet", 1.0f, -1));
    const int32_t first = sound->PlayingChannel("Jet");
    ASSERT_GE(first, 0);
    // A second forever-play of a name that loops forever changes nothing.
    const int64_t once = Phase(PlaySoundMessage("Jet", 1.0f, -1));
    EXPECT_EQ(sound->PlayingChannel("Jet"), first);

    // A play-once of the same name starts a second instance; the first
    // plays on untracked, out of reach of stop and volume messages.
    Send(PlaySoundMessage("Jet", 1.0f, 0));
    const int32_t second = sound->PlayingChannel("Jet");
    EXPECT_NE(second, first);
    Send(StopSoundMessage("Jet"));
    EXPECT_EQ(sound->PlayingChannel("Jet"), -1);
    const int64_t untracked = Phase(SetAllVolumeMessage(0.0f));

    // The stop-all message silences every tracked channel (the untracked
    // loop is the only thing left after it).
    Send(PlaySoundMessage("Other", 1.0f, -1));
    Send(PlaySoundMessage("Jet", 1.0f, -1));
    EXPECT_GE(sound->PlayingChannel("Other"), 0);
    EXPECT_GE(sound->PlayingChannel("Jet"), 0);
    const int64_t stoppedAll = Phase(StopAllSoundsMessage());
    EXPECT_EQ(sound->PlayingChannel("Other"), -1);
    EXPECT_EQ(sound->PlayingChannel("Jet"), -1);
    // A forever-play after a stop starts again: a stopped loop no longer
    // counts as looping.
    Send(PlaySoundMessage("Jet", 1.0f, -1));
    EXPECT_GE(sound->PlayingChannel("Jet"), 0);
    Finish();

    EXPECT_NEAR(Peak(once), Level(0.5f), 2);
    EXPECT_NEAR(Peak(untracked), Level(0.5f), 2);
    EXPECT_NEAR(Peak(stoppedAll), Level(0.5f), 2);
}

TEST_F(Sound, AnEndedSoundsChannelNumberIsNotReachedThroughItsOldName) {
    // "Zap" sorts after "Tone", so a volume walk that still reached Zap's
    // old channel would turn the tone down to Zap's bank volume last.
    Start(Tone("Tone", 1.0f) + Tone("Zap", 0.0f, true, 0.05));
    Send(PlaySoundMessage("Zap", 1.0f, 0));
    const int32_t zapChannel = sound->PlayingChannel("Zap");
    ASSERT_GE(zapChannel, 0);
    ASSERT_TRUE(WaitUntil([&] { return sound->PlayingChannel("Zap") == -1; }));

    Send(PlaySoundMessage("Tone", 1.0f, -1));
    ASSERT_EQ(sound->PlayingChannel("Tone"), zapChannel) << "the mixer did not reuse the channel";
    Send(SetAllVolumeMessage(1.0f));
    const int64_t afterVolume = Phase(StopSoundMessage("Zap"));
    // Zap has ended, so a forever-play of it starts anew on another channel.
    Send(PlaySoundMessage("Zap", 1.0f, -1));
    EXPECT_GE(sound->PlayingChannel("Zap"), 0);
    EXPECT_NE(sound->PlayingChannel("Zap"), zapChannel);
    EXPECT_EQ(sound->PlayingChannel("Tone"), zapChannel);
    Finish();

    EXPECT_EQ(Peak(afterVolume), kAmplitude);
}

// --- Rules, without measuring the output ---

TEST_F(Sound, BadDataIsReportedOnceAndTheGameRunsOn) {
    WriteTone(dir.Path("good.wav"), 0.2);
    dir.Write("garbage.ogg", "this is not a sound file");
    const std::string missing = dir.Path("missing.ogg");
    EngineTest::WarningLog load;
    testing::internal::CaptureStdout();
    Start(Entry("Good", dir.Path("good.wav"), 2.0f, false) +
          Entry("Missing", missing, 1.0f, false) +
          Entry("Garbage", dir.Path("garbage.ogg"), 1.0f, false) +
          // A later entry of a name replaces the earlier one.
          Entry("Fixed", missing, 1.0f, false) + Entry("Fixed", dir.Path("good.wav"), 1.0f, true));
    EXPECT_TRUE(load.Contains(missing) && load.Contains("garbage.ogg")) << load;
    EXPECT_TRUE(sound->InBank("Missing"));
    EXPECT_FALSE(sound->IsLoaded("Missing"));
    EXPECT_FALSE(sound->IsLoaded("Garbage"));
    EXPECT_TRUE(sound->IsLoaded("Fixed"));

    EngineTest::WarningLog play;
    for (int i = 0; i < 3; ++i) {
        Send(PlaySoundMessage("Missing", 1.0f, 0));
        Send(PlaySoundMessage("Nobody", 1.0f, -1));
        Send(StopSoundMessage("Nobody"));
        Send(PlaySoundMessage("Else", 1.0f, 0));
    }
    // Volumes from the data or a message that no mixer could take.
    Send(PlaySoundMessage("Good", std::nanf(""), 0));
    Send(PlaySoundMessage("Good", -3.0f, 0));
    Send(PlaySoundMessage("Good", 1e30f, 0));
    EXPECT_GE(sound->PlayingChannel("Good"), 0);
    Send(StopAllSoundsMessage());
    Send(MusicLower());
    sound->Update(0.016f);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(play.Count("\"Nobody\"") == 1 && play.Count("\"Else\"") == 1) << play;
    EXPECT_FALSE(play.Contains("Missing")) << "the load already said so";
    EXPECT_FALSE(Contains(printed, "Sound error!")) << printed;
    EXPECT_EQ(sound->PlayingChannel("Missing"), -1);
    EXPECT_EQ(sound->PlayingChannel("Nobody"), -1);
}

// More effects at once than there are channels: the ones that find none
// are said once, not once each, until a channel has been free again.
TEST_F(Sound, EveryChannelBusyIsSaidOnceUntilOneIsFreeAgain) {
    Start(Tone("Long", 1.0f, false, 5.0) + Tone("Short", 1.0f, false, 0.05));
    testing::internal::CaptureStdout();
    auto burst = [&] {
        for (int32_t i = 0; i < Mixer::kChannels + 20; ++i)
            Send(PlaySoundMessage("Long", 1.0f, 0));
    };
    burst();
    // The tone lasts about 0.9 s on this driver (longer on a loaded
    // machine); once it is over a short one finds a channel, and the next
    // burst is said again, once.
    for (int32_t tries = 0; tries < 200 && sound->PlayingChannel("Short") < 0; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Send(PlaySoundMessage("Short", 1.0f, 0));
    }
    ASSERT_GE(sound->PlayingChannel("Short"), 0);
    burst();
    const std::string printed = testing::internal::GetCapturedStdout();
    std::size_t said = 0;
    for (std::size_t at = printed.find("channels is busy"); at != std::string::npos;
         at = printed.find("channels is busy", at + 1))
        ++said;
    EXPECT_EQ(said, 2u) << printed;
}

TEST_F(Sound, WithoutADeviceOrABankItRunsSilentlyAndTheMasterVolumeStillSteps) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStdout();
    sound = TestGame::WithSound(
        core, dir.Write("Bank.zorvel", "Root\n" + Tone("Tone", 1.0f) + "-Root\n"));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(sound->IsSilent());
    EXPECT_TRUE(Contains(printed, "runs silently")) << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    // The dummy driver still plays, silently, so the rules hold as before.
    EXPECT_TRUE(sound->IsLoaded("Tone"));
    Send(PlaySoundMessage("Tone", 1.0f, -1));
    EXPECT_GE(sound->PlayingChannel("Tone"), 0);
    // The master volume steps, drifts and stops as the options menu expects.
    Send(MusicRaise());
    EXPECT_EQ(sound->MasterVolume(), 1.0f); // already at the top

    float expected = 1.0f;
    for (int i = 0; i < 10; ++i) {
        Send(MusicLower());
        expected -= 0.1f;
        EXPECT_EQ(sound->MasterVolume(), expected) << "after " << i + 1 << " lowers";
    }
    // Float steps of 0.1 do not land on 0: the tenth leaves it just below.
    EXPECT_LT(sound->MasterVolume(), 0.0f);
    EXPECT_NEAR(sound->MasterVolume(), -7.45e-8f, 1e-8f);
    Send(MusicLower());
    EXPECT_EQ(sound->MasterVolume(), expected);
    Send(MusicRaise());
    EXPECT_EQ(sound->MasterVolume(), expected + 0.1f);
    sound->Free();
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    EngineTest::WarningLog log;
    SoundSystem noBank(dir.Path("NoSuchBank.zorvel"));
    noBank.Initialize();
    EXPECT_TRUE(log.Contains("NoSuchBank.zorvel")) << log;
    EngineTest::Send(noBank, PlaySoundMessage("Elation", 1.0f, -1));
    EXPECT_EQ(noBank.PlayingChannel("Elation"), -1);
}

// The game's own bank: every sound any part of the game plays is there and
// loads, and whatever the game asks to loop forever really loops (the bank
// marks it a stream). The title menu's "Play" silences whatever plays, then
// starts the music and the wind, as messages every listener hears; no other
// name does.
TEST_F(Sound, TheGameBankHasEverySoundTheGamePlaysAndPlayStartsTheMusicAndTheWind) {
    EngineTest::WarningLog log;
    StartWithBank(Flurr::ResourcePaths{}.soundBank);
    EXPECT_EQ(log.Count(), 0) << log;
    auto* heard = EngineTest::Recorder::AddTo(
        core, {MessageId::StopAllSounds, MessageId::PlaySound}, "heard");

    std::istringstream names(
        "AmbientWindLoop Elation Race Bebop1 ButtonClick BeautifulExplosion WingOpen1 WingOpen2 "
        "FlurrLaunchExplosion FlyLoop FlyThrustRumbleLoop JobComplete");
    for (std::string name; names >> name;)
        EXPECT_TRUE(sound->IsLoaded(name)) << name;
    // Then the numbered ones: "Cheer4" stands for Cheer1 to Cheer4.
    std::istringstream numbered(
        "Cheer4 Pigeons4 FlyThrustLoop3 WalkStep6 RunStep6 Land5 Jump4 Meow3");
    for (std::string name; numbered >> name;)
        for (char i = '1'; i <= name.back(); ++i)
            EXPECT_TRUE(sound->IsLoaded(name.substr(0, name.size() - 1) + i)) << name << i;

    for (const char* name : {"play", "Play ", "PlayAgain", "", " Play"})
        Send(ButtonInputMessage(name));
    EXPECT_TRUE(heard->log.empty());
    const int64_t music = Phase(ButtonInputMessage("Play"));
    EXPECT_EQ(heard->log, (std::vector<std::string>{"StopAll", "Play Elation 1 -1",
                                                    "Play AmbientWindLoop 1 -1"}));
    EXPECT_GE(sound->PlayingChannel("Elation"), 0);
    EXPECT_GE(sound->PlayingChannel("AmbientWindLoop"), 0);
    const std::vector<std::string> loops = {
        "FlyLoop",        "FlyThrustLoop1",      "FlyThrustLoop2",
        "FlyThrustLoop3", "FlyThrustRumbleLoop", "Race"};
    for (const std::string& loop : loops)
        Send(PlaySoundMessage(loop, 1.0f, -1));
    WaitFrames(5 * kRate); // past the end of every flight loop
    for (const std::string& loop : loops)
        EXPECT_GE(sound->PlayingChannel(loop), 0) << loop;
    Finish();
    EXPECT_GT(Peak(music), 1000);
}

} // namespace
} // namespace Flurr
