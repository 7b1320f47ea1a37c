#include "serialization/Serializer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
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

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

enum class NumberText { Ok, NotANumber, TextAfter };

// One number, with blanks around it and nothing else. A number followed
// by more text ("1O0", "8kg", "12.7e1" for a whole number) is refused as a
// whole: reading its first digits would be a silent misreading.
template <typename T> NumberText ReadNumberText(std::string_view text, T& out) {
    text = SkipSpace(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || (std::is_unsigned_v<T> && text[0] == '-'))) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    T value{};
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc())
        return NumberText::NotANumber;
    for (const char* p = res.ptr; p != text.data() + text.size(); ++p)
        if (!IsBlank(*p))
            return NumberText::TextAfter;
    // Stream input takes a minus sign on an unsigned and wraps the value;
    // old data may rely on "-1" meaning "all bits".
    if constexpr (std::is_unsigned_v<T>)
        out = negative ? static_cast<T>(T{0} - value) : value;
    else
        out = value;
    return NumberText::Ok;
}

} // namespace

std::string FormatFloat(float value) {
    return FormatShortest(value);
}
std::string FormatDouble(double value) {
    return FormatShortest(value);
}

bool ParseFloat(std::string_view text, float& out) {
    return ReadNumberText(text, out) == NumberText::Ok;
}
bool ParseDouble(std::string_view text, double& out) {
    return ReadNumberText(text, out) == NumberText::Ok;
}
bool ParseInt(std::string_view text, int32_t& out) {
    return ReadNumberText(text, out) == NumberText::Ok;
}
bool ParseUnsigned(std::string_view text, uint32_t& out) {
    return ReadNumberText(text, out) == NumberText::Ok;
}

bool ParseVec2(std::string_view text, Vec2& out) {
    // "x,y" as the savers write it; a lone "x" (or "x,") has y 0, as
    // sscanf("%f,%f") gave. Non-finite points would poison the physics.
    out = Vec2();
    const std::size_t comma = text.find(',');
    Vec2 v;
    if (!ParseFloat(text.substr(0, comma), v.x) || !std::isfinite(v.x))
        return false;
    if (comma != std::string_view::npos && !SkipSpace(text.substr(comma + 1)).empty() &&
        (!ParseFloat(text.substr(comma + 1), v.y) || !std::isfinite(v.y)))
        return false;
    out = v;
    return true;
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

void LoaderBase::ParseText(std::string_view text, bool trimTrailing) {
    // A line ends at a line feed, a CR LF pair or a lone carriage return
    // (old Mac files): a file of lone CRs must not read as one long line.
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        std::size_t next = end + 1;
        if (end == std::string_view::npos)
            end = next = text.size();
        else if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        lines.push_back(NormaliseLine(text.substr(start, end - start), trimTrailing));
        start = next;
    }
    if (lines.empty()) {
        fileMissing = true;
        ok = false;
        return;
    }
    root = ParseDataLines(lines, &diagnostics);
    current = root.get();
    refused = std::any_of(diagnostics.begin(), diagnostics.end(),
                          [](const DataDiagnostic& d) { return d.refused; });
    fileMissing = refused;
    ok = !refused;
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
            lastLine = child->line;
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
    if (current->kind == Element::Object)
        SetAsideUnread(*current);
    Element::Group* g = parent->FindGroup(current->name);
    // The element being left is always the first unconsumed one of its
    // name, since Begin only ever enters that one.
    if (g && !g->Empty() && g->items[g->head].get() == current) {
        g->items[g->head].reset();
        ++g->head;
    }
    current = parent;
}

std::size_t LoaderBase::Depth() const {
    std::size_t depth = 0;
    for (const Element* e = current; e && e->parent; e = e->parent)
        ++depth;
    return depth;
}

void LoaderBase::SetAsideUnread(Element& leaving) {
    std::vector<KeptStep> path;
    if (keepUnread)
        for (const Element* e = &leaving; e->parent; e = e->parent) {
            const Element::Group* g = e->parent->FindGroup(e->name);
            path.insert(path.begin(), KeptStep{e->name, g ? g->head : 0});
        }
    for (Element::Group& g : leaving.children) {
        for (std::size_t i = g.head; i < g.items.size(); ++i) {
            const Element& unread = *g.items[i];
            // A file of the wrong kind (a level given as a recording) would
            // otherwise say so once per object.
            constexpr int kListed = 10;
            if (++unreadWarnings == kListed + 1)
                Warn(displayName + ": more elements the game does not read follow; not listed");
            if (unreadWarnings <= kListed)
                Warn(displayName + ":" + std::to_string(unread.line) + ": unknown element \"" +
                     unread.name.substr(0, 60) + "\" in \"" + leaving.name.substr(0, 60) + "\"" +
                     (keepUnread ? "; the game ignores it and saves it back as it is"
                                 : "; the game ignores it"));
            if (keepUnread)
                kept.push_back({path, CloneElement(unread)});
        }
        g.head = g.items.size();
    }
}

bool LoaderBase::HasChild(std::string_view name) const {
    if (!ok)
        return false;
    const Element::Group* g = current->FindGroup(name);
    return g && !g->Empty() && g->items[g->head]->kind == Element::Object;
}

void LoaderBase::WarnNotANumber(std::string_view key, const Element& e, bool textAfter) const {
    Warn(displayName + ":" + std::to_string(e.line) + ": value of \"" + std::string(key) +
         (textAfter ? "\" has text after its number (\"" : "\" is not a number (\"") +
         e.value.substr(0, 40) + "\"); keeping the previous value");
}

bool LoaderBase::BeginValue(std::string_view name) {
    if (!Begin(name))
        return false;
    if (current->kind == Element::Object && !current->children.empty()) {
        Warn(displayName + ":" + std::to_string(current->line) + ": \"" +
             std::string(name).substr(0, 60) +
             "\" holds lines where one value belongs; the game ignores them");
        for (Element::Group& g : current->children)
            g.head = g.items.size();
    }
    return true;
}

template <typename T> void LoaderBase::ReadNumber(std::string_view name, T& value) {
    if (BeginValue(name)) {
        const NumberText read = ReadNumberText(current->value, value);
        if (read != NumberText::Ok)
            WarnNotANumber(name, *current, read == NumberText::TextAfter);
    }
    End(name);
}

template <typename T, typename Convert>
void LoaderBase::ReadList(std::string_view name, std::vector<T>& list, Convert convert) {
    if (Begin(name)) {
        if (current->kind != Element::List) {
            // An object where a list belongs: its lines are not the list's
            // items, and kept they would be saved back inside the list this
            // name is saved as.
            Warn(displayName + ":" + std::to_string(current->line) + ": \"" +
                 std::string(name).substr(0, 60) + "\" is not a list; the game ignores it");
            for (Element::Group& g : current->children)
                g.head = g.items.size();
        } else {
            while (Begin("Value")) {
                convert(*current, list);
                End("Value");
            }
            End("Value");
        }
    }
    End(name);
}

void LoaderBase::BoolField(std::string_view name, bool& value) {
    if (BeginValue(name))
        value = current->value == "true";
    End(name);
}

void LoaderBase::StringField(std::string_view name, std::string& value) {
    if (BeginValue(name))
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
    if (BeginValue(name)) {
        float read = value;
        const NumberText status = ReadNumberText(current->value, read);
        if (status == NumberText::Ok && std::isfinite(read))
            value = read;
        else
            WarnNotANumber(name, *current, status == NumberText::TextAfter);
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
    ReadList(name, list, [this](const Element& e, std::vector<Vec2>& l) {
        Vec2 v;
        if (!ParseVec2(e.value, v))
            WarnNotAPoint(displayName + ":" + std::to_string(e.line), e.value);
        l.push_back(v);
    });
}

void WarnNotAPoint(const std::string& where, std::string_view text) {
    Warn(where + ": list item is not a point (\"" + std::string(text.substr(0, 40)) +
         "\"); reading it as 0,0");
}

std::string LoaderBase::Where() const {
    return displayName + ":" + std::to_string(lastLine);
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
    ParseText(text, false);
    if (reportProblems)
        ReportDiagnostics();
}

StringLoadSerializer::StringLoadSerializer(std::string text, std::string displayName_)
    : LoaderBase(".zorvel", std::move(displayName_)), source(std::move(text)) {
    ParseText(source, true);
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

void SaverBase::WriteKept(const KeptElement& kept) {
    if (!kept.element)
        return;
    // Down the path as far as this save has the same objects; whatever is
    // missing on the way, the element still goes in, one level up.
    Element* at = current;
    for (const KeptStep& step : kept.path) {
        Element::Group* g = at->FindGroup(step.name);
        // Only objects hold kept elements: a list or value of the same name
        // written by this save is not where the element came from.
        if (!g || g->items.empty() ||
            g->items[std::min(step.index, g->items.size() - 1)]->kind != Element::Object)
            break;
        at = g->items[std::min(step.index, g->items.size() - 1)].get();
    }
    at->Append(CloneElement(*kept.element));
}

std::string SaverBase::TakeText() {
    std::string out;
    WriteDataTree(*root, out);
    root = std::make_unique<Element>();
    current = root.get();
    return out;
}

ASaver::ASaver(std::string fileName_) : SaverBase(std::move(fileName_)) {}

namespace {

// The file a save replaces: a symbolic link is followed to what it names
// (a link to a link too), so the link stays and its target gets the text.
std::filesystem::path SaveTarget(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path target = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(target, ec)); ++hops) {
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

// A new file beside `target` with a name nobody has, opened for writing;
// -1 with errno set when none could be made.
int OpenFreshTemporary(const std::filesystem::path& target, std::string& name) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static uint64_t state = static_cast<uint64_t>(::getpid()) * 0x9E3779B97F4A7C15ull ^
                            static_cast<uint64_t>(std::time(nullptr));
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix = ".";
        for (int i = 0; i < 6; ++i) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            suffix += letters[(state >> 33) % (sizeof letters - 1)];
        }
        name = target.string() + suffix + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool ASaver::Finish() {
    if (finished)
        return succeeded;
    finished = true;
    const std::string text = TakeText();
    const std::filesystem::path target = SaveTarget(DataPath(fileName));
    std::string tmp;
    std::string problem;
    // Synced before the rename, so the rename only ever puts a complete
    // file in place.
    const int fd = OpenFreshTemporary(target, tmp);
    if (fd < 0) {
        problem = std::strerror(errno);
        tmp.clear();
    } else {
        // The new file keeps the permissions of the one it replaces.
        struct stat old {};
        if (::stat(target.c_str(), &old) == 0)
            (void)::fchmod(fd, old.st_mode & 07777);
        if (!WriteAll(fd, text) || ::fsync(fd) != 0)
            problem = std::strerror(errno);
        if (::close(fd) != 0 && problem.empty())
            problem = std::strerror(errno);
    }
    if (problem.empty()) {
        std::error_code ec;
        std::filesystem::rename(tmp, target, ec);
        if (ec)
            problem = ec.message();
    }
    if (!problem.empty()) {
        std::error_code ignored;
        if (!tmp.empty())
            std::filesystem::remove(tmp, ignored);
        ReportError("could not save " + fileName + " (" + problem +
                    "); the previous file is unchanged");
        return succeeded = false;
    }
    // The rename itself reaches the disk with the folder.
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
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
