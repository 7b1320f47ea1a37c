// cloudmere-data: checks and normalises the game's data files.
//
//   cloudmere-data check FILE...   parse each file; report problems as
//                                  FILE:LINE: message; exit 1 when any
//   cloudmere-data format FILE     print the element tree exactly as the
//                                  game's saver writes it
//
// `format` output is what the editor would write for the same tree, so a
// hand-edited file can be normalised and diffed against a saved one.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "serialization/Element.h"
#include "serialization/Serializer.h"

namespace {

using namespace Flurr;

constexpr const char* kUsage = "usage: cloudmere-data check FILE...\n"
                               "       cloudmere-data format FILE\n";

// Object transforms are read as numbers wherever they appear; a typo there
// silently keeps the default, so call it out.
bool IsTransformKey(std::string_view key) {
    return key == "X" || key == "Y" || key == "ROT" || key == "XSCALE" || key == "YSCALE" ||
           key == "WIDTH" || key == "HEIGHT";
}

int CheckTransformValues(const std::string& file, const Element& e) {
    int problems = 0;
    std::vector<const Element*> work{&e};
    while (!work.empty()) {
        const Element* cur = work.back();
        work.pop_back();
        for (const Element::Group& g : cur->children)
            for (std::size_t i = g.head; i < g.items.size(); ++i) {
                const Element* child = g.items[i].get();
                if (child->kind == Element::Value && IsTransformKey(child->name)) {
                    double d;
                    if (!ParseDouble(child->value, d)) {
                        std::cout << file << ":" << child->line << ": value of \"" << child->name
                                  << "\" is not a number\n";
                        ++problems;
                    }
                }
                if (child->kind == Element::Object)
                    work.push_back(child);
            }
    }
    return problems;
}

int Check(const std::vector<std::string>& files) {
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
        if (loader.IsFileMissing()) {
            std::cout << file << ": missing or empty\n";
            ++problems;
            continue;
        }
        for (const DataDiagnostic& d : loader.Diagnostics()) {
            std::cout << file << ":" << d.line << ": " << d.message << "\n";
            ++problems;
        }
        problems += CheckTransformValues(file, loader.Root());
    }
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
