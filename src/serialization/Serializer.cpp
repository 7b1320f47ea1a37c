#include "serialization/Serializer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <system_error>

#include <unistd.h>

#include "engine/Report.h"

namespace Flurr {

// ---------------------------------------------------------------------------
// Names and numbers

bool HasDataExtension(std::string_view fileName) {
    return fileName.find(".zorvel") != std::string_view::npos ||
           fileName.find(".zoml") != std::string_view::npos;
}

std::string NativePath(std::string_view path) {
    std::string p(path);
    for (char& c : p)
        if (c == '\\')
            c = '/';
    return p;
}

namespace {
std::string& DataRootFolder() {
    static std::string folder;
    return folder;
}
} // namespace

void SetDataRoot(std::string folder) {
    DataRootFolder() = std::move(folder);
}

const std::string& DataRoot() {
    return DataRootFolder();
}

std::string DataPath(std::string_view path) {
    std::string native = NativePath(path);
    const std::string& root = DataRootFolder();
    if (root.empty() || native.empty() || native.front() == '/')
        return native;
    return root + "/" + native;
}

namespace {

template <typename T> std::string FormatShortest(T value) {
    // "%g" with six significant digits is the look of every data file;
    // more digits only where six would change the value on reading back.
    char buf[64];
    constexpr int maxDigits = std::numeric_limits<T>::max_digits10;
    for (int precision = 6;; ++precision) {
        auto res =
            std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
        std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
        if (precision >= maxDigits || value != value)
            return std::string(text);
        T back{};
        auto parsed = std::from_chars(text.data(), text.data() + text.size(), back);
        if (parsed.ec == std::errc() && back == value)
            return std::string(text);
    }
}

std::string_view SkipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
        ++i;
    return text.substr(i);
}

} // namespace

std::string_view NormaliseLine(std::string_view line, bool trimTrailing) {
    // Leading spaces, tabs and line feeds go; a line made only of them is
    // kept as it is (unless trailing blanks go too).
    std::size_t first = line.find_first_not_of(" \t\n");
    if (first != std::string_view::npos)
        line.remove_prefix(first);
    if (trimTrailing) {
        std::size_t last = line.find_last_not_of(" \t\n\r");
        line = last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
    }
    return line;
}

namespace {

template <typename T> bool ParseFloating(std::string_view text, T& out) {
    text = SkipSpace(text);
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    T value{};
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc())
        return false;
    out = value;
    return true;
}

} // namespace

std::string FormatFloat(float value) {
    return FormatShortest(value);
}
std::string FormatDouble(double value) {
    return FormatShortest(value);
}

bool ParseFloat(std::string_view text, float& out) {
    return ParseFloating(text, out);
}
bool ParseDouble(std::string_view text, double& out) {
    return ParseFloating(text, out);
}

bool ParseInt(std::string_view text, int32_t& out) {
    text = SkipSpace(text);
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    int32_t value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc())
        return false;
    out = value;
    return true;
}

bool ParseUnsigned(std::string_view text, uint32_t& out) {
    // Stream input takes a minus sign on an unsigned and wraps the value;
    // old data may rely on "-1" meaning "all bits".
    text = SkipSpace(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    uint32_t value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc())
        return false;
    out = negative ? static_cast<uint32_t>(0u - value) : value;
    return true;
}

Vec2 ParseVec2(std::string_view text) {
    // sscanf("%f,%f"): the comma must follow the first number directly;
    // the second number may have leading whitespace.
    Vec2 v;
    std::string_view rest = SkipSpace(text);
    if (!rest.empty() && rest[0] == '+')
        rest.remove_prefix(1);
    auto res = std::from_chars(rest.data(), rest.data() + rest.size(), v.x);
    if (res.ec != std::errc()) {
        v.x = 0.0f;
        return v;
    }
    rest = rest.substr(static_cast<std::size_t>(res.ptr - rest.data()));
    if (rest.empty() || rest[0] != ',')
        return v;
    rest.remove_prefix(1);
    if (!ParseFloat(rest, v.y))
        v.y = 0.0f;
    return v;
}

// ---------------------------------------------------------------------------
// ASerializer

ASerializer::ASerializer(std::string fileName_, bool isSaving_)
    : fileName(std::move(fileName_)), isSaving(isSaving_) {
    if (!HasDataExtension(fileName))
        throw DataFileError(fileName);
}

// ---------------------------------------------------------------------------
// Loaders

LoaderBase::LoaderBase(std::string fileName_, std::string displayName_)
    : ASerializer(std::move(fileName_), false), displayName(std::move(displayName_)) {
    root = std::make_unique<Element>();
    current = root.get();
}

void LoaderBase::ParseText(std::string_view text, bool stripCarriageReturns, bool trimTrailing) {
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        bool terminated = end != std::string_view::npos;
        if (!terminated)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (terminated && stripCarriageReturns && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(NormaliseLine(line, trimTrailing));
        start = end + 1;
    }
    if (lines.empty()) {
        fileMissing = true;
        ok = false;
        return;
    }
    root = ParseDataLines(lines, &diagnostics);
    current = root.get();
    fileMissing = false;
    ok = true;
}

void LoaderBase::ReportDiagnostics() const {
    for (const DataDiagnostic& d : diagnostics)
        if (d.serious)
            Warn(displayName + ":" + std::to_string(d.line) + ": " + d.message);
}

bool LoaderBase::Begin(std::string_view name) {
    if (ok) {
        if (Element* child = current->FirstRemaining(name)) {
            current = child;
            return true;
        }
        ok = false;
    }
    skipStack.emplace_back(name);
    return false;
}

void LoaderBase::End(std::string_view name) {
    if (!ok) {
        if (!skipStack.empty() && skipStack.back() == name) {
            skipStack.pop_back();
            // A loader with nothing to read stays unable to read.
            if (skipStack.empty())
                ok = !fileMissing;
        }
        return;
    }
    Element* parent = current->parent;
    if (!parent)
        return; // End at the root: nothing to leave.
    Element::Group* g = parent->FindGroup(current->name);
    // The element being left is always the first unconsumed one of its
    // name, since Begin only ever enters that one.
    if (g && !g->Empty() && g->items[g->head].get() == current) {
        g->items[g->head].reset();
        ++g->head;
    }
    current = parent;
}

bool LoaderBase::HasChild(std::string_view name) const {
    if (!ok)
        return false;
    const Element::Group* g = current->FindGroup(name);
    return g && !g->Empty() && g->items[g->head]->kind == Element::Object;
}

void LoaderBase::WarnNotANumber(std::string_view key, const Element& e) const {
    Warn(displayName + ":" + std::to_string(e.line) + ": value of \"" + std::string(key) +
         "\" is not a number (\"" + e.value.substr(0, 40) + "\"); keeping the previous value");
}

template <typename T> void LoaderBase::ReadNumber(std::string_view name, T& value) {
    if (Begin(name)) {
        bool parsed;
        if constexpr (std::is_same_v<T, float>)
            parsed = ParseFloat(current->value, value);
        else if constexpr (std::is_same_v<T, double>)
            parsed = ParseDouble(current->value, value);
        else if constexpr (std::is_same_v<T, int32_t>)
            parsed = ParseInt(current->value, value);
        else
            parsed = ParseUnsigned(current->value, value);
        if (!parsed)
            WarnNotANumber(name, *current);
    }
    End(name);
}

template <typename T, typename Convert>
void LoaderBase::ReadList(std::string_view name, std::vector<T>& list, Convert convert) {
    if (Begin(name)) {
        while (Begin("Value")) {
            convert(*current, list);
            End("Value");
        }
        End("Value");
    }
    End(name);
}

void LoaderBase::BoolField(std::string_view name, bool& value) {
    if (Begin(name))
        value = current->value == "true";
    End(name);
}

void LoaderBase::StringField(std::string_view name, std::string& value) {
    if (Begin(name))
        value = current->value;
    End(name);
}

void LoaderBase::DoubleField(std::string_view name, double& value) {
    ReadNumber(name, value);
}
void LoaderBase::FloatField(std::string_view name, float& value) {
    ReadNumber(name, value);
}
void LoaderBase::FiniteFloatField(std::string_view name, float& value) {
    if (Begin(name)) {
        float read = value;
        if (ParseFloat(current->value, read) && std::isfinite(read))
            value = read;
        else
            WarnNotANumber(name, *current);
    }
    End(name);
}
void LoaderBase::UnsignedField(std::string_view name, uint32_t& value) {
    ReadNumber(name, value);
}
void LoaderBase::IntField(std::string_view name, int32_t& value) {
    ReadNumber(name, value);
}

void LoaderBase::Vec2List(std::string_view name, std::vector<Vec2>& list) {
    ReadList(name, list,
             [](const Element& e, std::vector<Vec2>& l) { l.push_back(ParseVec2(e.value)); });
}

void LoaderBase::StringList(std::string_view name, std::vector<std::string>& list) {
    ReadList(name, list,
             [](const Element& e, std::vector<std::string>& l) { l.push_back(e.value); });
}

void LoaderBase::BoolList(std::string_view name, std::vector<bool>& list) {
    ReadList(name, list,
             [](const Element& e, std::vector<bool>& l) { l.push_back(e.value == "true"); });
}

// An item that is not a number still takes its place in the list (as 0),
// so the items after it keep their positions.
template <typename T, typename Parse> auto NumberItem(const LoaderBase* self, Parse parse) {
    return [self, parse](const Element& e, std::vector<T>& l) {
        T v{};
        if (!parse(e.value, v))
            Warn(self->DisplayName() + ":" + std::to_string(e.line) +
                 ": list item is not a number (\"" + e.value.substr(0, 40) +
                 "\"); reading it as 0");
        l.push_back(v);
    };
}

void LoaderBase::DoubleList(std::string_view name, std::vector<double>& list) {
    ReadList(name, list, NumberItem<double>(this, ParseDouble));
}
void LoaderBase::FloatList(std::string_view name, std::vector<float>& list) {
    ReadList(name, list, NumberItem<float>(this, ParseFloat));
}
void LoaderBase::UnsignedList(std::string_view name, std::vector<uint32_t>& list) {
    ReadList(name, list, NumberItem<uint32_t>(this, ParseUnsigned));
}
void LoaderBase::IntList(std::string_view name, std::vector<int32_t>& list) {
    ReadList(name, list, NumberItem<int32_t>(this, ParseInt));
}

bool LoaderBase::Finish() {
    root = std::make_unique<Element>();
    current = root.get();
    skipStack.clear();
    fileMissing = true;
    ok = false;
    return true;
}

ALoader::ALoader(std::string fileName_) : ALoader(std::move(fileName_), true) {}

ALoader::ALoader(std::string fileName_, bool reportProblems)
    : LoaderBase(std::move(fileName_), {}) {
    displayName = fileName;
    Load(reportProblems);
}

void ALoader::Load(bool reportProblems) {
    namespace fs = std::filesystem;
    const std::string path = DataPath(fileName);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return; // a missing file is not an error: every read keeps its default
    std::string text;
    std::string reason;
    if (fs::is_directory(status)) {
        reason = "it is a folder";
    } else if (std::ifstream in(path, std::ios::binary); !in) {
        reason = std::strerror(errno);
    } else {
        // One sized read (growing a buffer would copy a big level several
        // times), then whatever is left if the file grew or has no size.
        const auto size = fs::file_size(path, ec);
        if (!ec && size > 0) {
            text.resize(static_cast<std::size_t>(size));
            in.read(text.data(), static_cast<std::streamsize>(size));
            text.resize(static_cast<std::size_t>(in.gcount()));
            if (!in.bad())
                in.clear();
        }
        if (!in.bad()) {
            std::ostringstream rest;
            rest << in.rdbuf();
            text += std::move(rest).str();
        }
        if (in.bad())
            reason = "read error";
    }
    unreadable = !reason.empty();
    if (unreadable) {
        if (reportProblems)
            Warn(fileName + ": cannot be read (" + reason + "); using defaults");
        return;
    }
    ParseText(text, true, false);
    if (reportProblems)
        ReportDiagnostics();
}

StringLoadSerializer::StringLoadSerializer(std::string text, std::string displayName_)
    : LoaderBase(".zorvel", std::move(displayName_)), source(std::move(text)) {
    ParseText(source, true, true);
}

// ---------------------------------------------------------------------------
// Savers

namespace {

// Line breaks cannot be stored in a value or an item: the reader would
// take the rest as new lines. They become spaces, and the developer hears
// about it, rather than the file coming back different.
std::string OneLine(std::string text, std::string_view key) {
    if (text.find_first_of("\r\n") == std::string::npos)
        return text;
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    Warn("text of \"" + std::string(key) +
         "\" holds a line break, which data files cannot store; saved as a space");
    return text;
}

} // namespace

SaverBase::SaverBase(std::string fileName_) : ASerializer(std::move(fileName_), true) {
    root = std::make_unique<Element>();
    current = root.get();
}

bool SaverBase::Begin(std::string_view name) {
    std::string n(name);
    std::string closing = "-" + n;
    current = current->Append(
        std::make_unique<Element>(std::move(n), std::move(closing), Element::Object));
    return false;
}

void SaverBase::End(std::string_view) {
    if (current->parent)
        current = current->parent;
}

void SaverBase::AddValue(std::string_view name, std::string text) {
    current->Append(std::make_unique<Element>(std::string(name), OneLine(std::move(text), name),
                                              Element::Value));
}

Element* SaverBase::AddList(std::string_view name) {
    std::string n(name);
    std::string closing = "-" + n;
    return current->Append(
        std::make_unique<Element>(std::move(n), std::move(closing), Element::List));
}

void SaverBase::AddItem(Element* list, std::string text) {
    text = OneLine(std::move(text), list->name);
    // Items have no escapes: one that reads as the list's closing line would
    // end the list there and spill the rest into the parent, breaking the
    // file from that point on. It is saved empty instead, keeping the
    // positions of the items after it.
    // Judged by the stricter in-memory rule, so the file reads right for
    // both loaders.
    if (NormaliseLine(text, true) == list->value) {
        Warn("an item of list \"" + list->name +
             "\" reads as the list's closing line; saved as an empty item");
        text.clear();
    }
    list->Append(std::make_unique<Element>("Value", std::move(text), Element::ListItem));
}

void SaverBase::BoolField(std::string_view name, bool& value) {
    AddValue(name, value ? "true" : "false");
}
void SaverBase::StringField(std::string_view name, std::string& value) {
    AddValue(name, value);
}
void SaverBase::DoubleField(std::string_view name, double& value) {
    AddValue(name, FormatDouble(value));
}
void SaverBase::FloatField(std::string_view name, float& value) {
    AddValue(name, FormatFloat(value));
}
void SaverBase::FiniteFloatField(std::string_view name, float& value) {
    FloatField(name, value);
}
void SaverBase::UnsignedField(std::string_view name, uint32_t& value) {
    AddValue(name, std::to_string(value));
}
void SaverBase::IntField(std::string_view name, int32_t& value) {
    AddValue(name, std::to_string(value));
}

void SaverBase::Vec2List(std::string_view name, std::vector<Vec2>& list) {
    Element* l = AddList(name);
    for (const Vec2& v : list)
        AddItem(l, FormatFloat(v.x) + "," + FormatFloat(v.y));
}
void SaverBase::StringList(std::string_view name, std::vector<std::string>& list) {
    Element* l = AddList(name);
    for (const std::string& s : list)
        AddItem(l, s);
}
void SaverBase::BoolList(std::string_view name, std::vector<bool>& list) {
    Element* l = AddList(name);
    for (bool b : list)
        AddItem(l, b ? "true" : "false");
}
void SaverBase::DoubleList(std::string_view name, std::vector<double>& list) {
    Element* l = AddList(name);
    for (double d : list)
        AddItem(l, FormatDouble(d));
}
void SaverBase::FloatList(std::string_view name, std::vector<float>& list) {
    Element* l = AddList(name);
    for (float f : list)
        AddItem(l, FormatFloat(f));
}
void SaverBase::UnsignedList(std::string_view name, std::vector<uint32_t>& list) {
    Element* l = AddList(name);
    for (uint32_t u : list)
        AddItem(l, std::to_string(u));
}
void SaverBase::IntList(std::string_view name, std::vector<int32_t>& list) {
    Element* l = AddList(name);
    for (int32_t i : list)
        AddItem(l, std::to_string(i));
}

std::string SaverBase::TakeText() {
    std::string out;
    WriteDataTree(*root, out);
    root = std::make_unique<Element>();
    current = root.get();
    return out;
}

ASaver::ASaver(std::string fileName_) : SaverBase(std::move(fileName_)) {}

bool ASaver::Finish() {
    if (finished)
        return succeeded;
    finished = true;
    const std::string text = TakeText();
    const std::string path = DataPath(fileName);
    const std::string tmp = path + ".tmp";
    std::string problem;
    // Flushed and synced before the rename, so the rename only ever puts a
    // complete file in place.
    if (std::FILE* out = std::fopen(tmp.c_str(), "wb")) {
        if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0 ||
            ::fsync(::fileno(out)) != 0)
            problem = std::strerror(errno);
        if (std::fclose(out) != 0 && problem.empty())
            problem = std::strerror(errno);
    } else {
        problem = std::strerror(errno);
    }
    if (problem.empty()) {
        std::error_code ec;
        std::filesystem::rename(tmp, path, ec);
        if (ec)
            problem = ec.message();
    }
    if (!problem.empty()) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        ReportError("could not save " + fileName + " (" + problem +
                    "); the previous file is unchanged");
        return succeeded = false;
    }
    return succeeded = true;
}

StringSaveSerializer::StringSaveSerializer() : SaverBase(".zorvel") {}

bool StringSaveSerializer::Finish() {
    result = TakeText();
    // Lines are joined with line feeds: no feed after the last one.
    if (!result.empty() && result.back() == '\n')
        result.pop_back();
    return true;
}

} // namespace Flurr
