// cloudmere-data: checks and normalises the game's data files.
//
//   cloudmere-data check FILE...   read each file with the game's own reader
//                                  for its kind (levels and archetypes with
//                                  the registered components, banks, the job
//                                  bank, effects, recordings, routes); report
//                                  the layout's problems and every warning
//                                  the game would give, as FILE:LINE: message;
//                                  exit 1 when any
//   cloudmere-data format FILE     print the element tree exactly as the
//                                  game's saver writes it
//
// `format` output is what the editor would write for the same tree, so a
// hand-edited file can be normalised and diffed against a saved one.

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/GameObject.h"
#include "engine/Report.h"
#include "game/GameSetup.h"
#include "graphics/ResourceBank.h"
#include "jobs/LogicTree.h"
#include "particles/ParticleEffect.h"
#include "physics/Physics.h"
#include "platform/InputRecording.h"
#include "serialization/Element.h"
#include "serialization/Serializer.h"
#include "sound/SoundSystem.h"
#include "world/Factory.h"

namespace {

using namespace Flurr;

constexpr const char* kUsage = "usage: cloudmere-data check FILE...\n"
                               "       cloudmere-data format FILE\n";

// Runs the reader the game uses for a file of this kind, judged by what
// its "Root" holds, so every warning the game would give about the file is
// given here too (the warning sink collects them).
void ReadAsTheGameDoes(const std::string& file, const Element& root) {
    const Element::Group* roots = root.FindGroup("Root");
    const Element* top = roots && !roots->Empty() ? roots->items[roots->head].get() : nullptr;
    auto has = [top](std::string_view name) { return top && top->FindGroup(name); };
    if (has("GameObject") || has("Background")) {
        Factory factory;
        factory.LoadLevel(file);
        factory.Free();
    } else if (has("Animation")) {
        ResourceBank().LoadAnimationFile(file, false);
    } else if (has("Font")) {
        ResourceBank().LoadFontFile(file);
    } else if (has("Sound")) {
        SoundSystem(file).LoadBank();
    } else if (has("CollisionSet")) {
        Physics().LoadCollisionBank(file);
    } else if (has("ParticleEffect")) {
        ParticleEffectDescription::Read(file, file);
    } else if (has("Job")) {
        JobMap jobs;
        ReadJobBank(file, jobs);
    } else if (has("Frame") || has("Seed")) {
        InputReplay replay;
        std::string error;
        if (!replay.Load(file, error))
            Warn(error);
    } else if (has("Route") || has("LevelFile")) {
        // The route's own reads: the first route file, or one entry.
        ALoader loader(file);
        std::string text;
        loader.Begin("Root");
        for (const char* key :
             {"Route", "LevelFile", "NextFile", "ImageBank", "SoundBank", "ConfigBank"})
            loader.StringField(key, text);
        loader.End("Root");
    } else if (top) {
        // An object of its own: an archetype.
        Factory factory;
        if (GameObject* object = factory.LoadObject(file))
            factory.DestroyObject(object);
    }
}

int Check(const std::vector<std::string>& files) {
    RegisterComponents();
    std::vector<std::string> said;
    const WarningSink previous =
        SetWarningSink([&said](const Warning& w) { said.push_back(w.text); });
    int problems = 0;
    for (const std::string& file : files) {
        if (!HasDataExtension(file)) {
            std::cout << file << ": " << kBadDataFileText << "\n";
            ++problems;
            continue;
        }
        ALoader loader(file, false);
        if (loader.IsUnreadable()) {
            std::cout << file << ": cannot be read\n";
            ++problems;
            continue;
        }
        if (loader.IsFileMissing() && !loader.IsRefused()) {
            std::cout << file << ": missing or empty\n";
            ++problems;
            continue;
        }
        // The structure first (with the findings only this tool reports),
        // then what the game's reader says beyond it.
        for (const DataDiagnostic& d : loader.Diagnostics()) {
            std::cout << file << ":" << d.line << ": " << d.message << "\n";
            ++problems;
        }
        if (loader.IsRefused())
            continue;
        said.clear();
        ReadAsTheGameDoes(file, loader.Root());
        for (const std::string& text : said) {
            // What the game says about this file; not what it would say
            // for want of the rest of the game (an animation another bank
            // defines). Structural findings were listed above.
            if (text.find(file) == std::string::npos)
                continue;
            const bool listed = std::any_of(
                loader.Diagnostics().begin(), loader.Diagnostics().end(),
                [&](const DataDiagnostic& d) {
                    return text == file + ":" + std::to_string(d.line) + ": " + d.message;
                });
            if (!listed) {
                std::cout << text << "\n";
                ++problems;
            }
        }
    }
    SetWarningSink(previous);
    if (problems > 0)
        std::cout << problems << (problems == 1 ? " problem\n" : " problems\n");
    return problems > 0 ? 1 : 0;
}

int Format(const std::string& file) {
    if (!HasDataExtension(file)) {
        std::cerr << file << ": " << kBadDataFileText << "\n";
        return 1;
    }
    ALoader loader(file, false);
    if (loader.IsRefused()) {
        for (const DataDiagnostic& d : loader.Diagnostics())
            std::cerr << file << ":" << d.line << ": " << d.message << "\n";
        return 1;
    }
    if (loader.IsFileMissing()) {
        std::cerr << file << ": missing, unreadable or empty\n";
        return 1;
    }
    for (const DataDiagnostic& d : loader.Diagnostics())
        if (d.serious)
            std::cerr << file << ":" << d.line << ": " << d.message << "\n";
    std::string out;
    WriteDataTree(loader.Root(), out);
    std::cout << out;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = argv[1];
    std::vector<std::string> files(argv + 2, argv + argc);
    if (command == "check" && !files.empty())
        return Check(files);
    if (command == "format" && files.size() == 1)
        return Format(files[0]);
    if (command == "--help" || command == "-h") {
        std::cout << kUsage;
        return 0;
    }
    std::cerr << kUsage;
    return 2;
}
