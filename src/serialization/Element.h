#pragma once
// The element tree of the text data format, and the two halves of the
// format that do not depend on which serializer is in use: turning lines
// into a tree (ParseDataLines) and a tree into lines (WriteDataTree).
//
// The grammar, as the loaders apply it to one line outside a list:
//   "List#<count>:<name>"  list header; item lines follow verbatim up to "-<name>"
//   "<name>:<text>"        value (split at the first ':')
//   anything else          object header; children follow up to "-<name>"
// A missing closing line lets the object or list run to the end of the
// file. Only the first top-level element is read. Objects nest at most
// kMaxDataDepth deep: a deeper file is refused whole (its indentation
// alone would make a saved copy grow with the square of its depth).
//
// A list header must *begin* with "List#": a value whose text holds a '#'
// (a colour "#ff9f1c", a note "take #2") then reads back as the value it
// was, so the saver never writes a file that reads back differently. Every
// list header the saver writes begins that way, so saved files read as
// they always did.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace Flurr {

// How deep objects may nest in a data file. A level is five deep; anything
// near this is a broken or hostile file.
inline constexpr std::size_t kMaxDataDepth = 64;

struct Element {
    enum Kind : int32_t { Object = 0, Value = 1, List = 2, ListItem = 3 };

    // The children of one name, in the order they were added. Loaders
    // consume them from the front; `head` is the first one not consumed
    // yet, so consuming is O(1) even for ten thousand "GameObject"s.
    struct Group {
        std::string name;
        std::vector<std::unique_ptr<Element>> items;
        std::size_t head = 0;

        bool Empty() const { return head >= items.size(); }
        std::size_t Remaining() const { return items.size() - head; }
    };

    std::string name;
    // Value text; for objects and lists the closing line "-" + name.
    std::string value;
    int32_t kind = Object;
    Element* parent = nullptr;
    // 1-based line in the source text; 0 for elements built by a saver.
    int32_t line = 0;
    // Groups in first-appearance order, which is also the order the saver
    // writes them in.
    std::vector<Group> children;

    Element() = default;
    Element(std::string name_, std::string value_, int32_t kind_, int32_t line_ = 0)
        : name(std::move(name_)), value(std::move(value_)), kind(kind_), line(line_) {}
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    // Tears the subtree down without recursion: a hostile file can nest
    // objects deeper than the stack would allow.
    ~Element();
    // Elements of a parsed tree live in blocks owned by its root (a level
    // has a million of them; one heap allocation each made loading a level
    // mostly malloc and free). Deleting one of those runs its destructor
    // and leaves the memory to the root; any other element is freed as
    // usual. Ownership is unchanged: std::unique_ptr<Element> everywhere.
    static void operator delete(Element* element, std::destroying_delete_t);

    Element* Append(std::unique_ptr<Element> child);
    // An element whose memory comes from this (root) element's blocks; it
    // must not outlive this element.
    std::unique_ptr<Element> MakeInBlocks(std::string name_, std::string value_, int32_t kind_,
                                          int32_t line_);
    Group* FindGroup(std::string_view childName);
    const Group* FindGroup(std::string_view childName) const;
    // The first child of that name not consumed yet, or null.
    Element* FirstRemaining(std::string_view childName);

private:
    struct Blocks {
        std::vector<std::unique_ptr<std::byte[]>> chunks;
        std::byte* next = nullptr;
        std::size_t left = 0;
    };
    // Set on the root of a parsed tree: the memory of its elements.
    std::unique_ptr<Blocks> blocks;
    bool inBlocks = false;
};

// A deep copy made with ordinary allocations (it may outlive the tree it
// came from), without the children its tree had already consumed.
std::unique_ptr<Element> CloneElement(const Element& element);

// An element a reader did not ask for, kept to be written back where it
// was: `path` leads from the object it was kept for down to its parent,
// one step per object (its name and its place among its namesakes).
struct KeptStep {
    std::string name;
    std::size_t index = 0;
};
struct KeptElement {
    std::vector<KeptStep> path;
    std::shared_ptr<const Element> element;
};

// A problem found while parsing, with the 1-based line it concerns.
struct DataDiagnostic {
    int32_t line = 0;
    std::string message;
    // False for cosmetic findings that only `cloudmere-data check` reports.
    bool serious = true;
    // True when the whole text is refused (nesting too deep): nothing of it
    // is read.
    bool refused = false;
};

// Parses normalised lines into a new unnamed root object. The text of the
// tree is copied out of the views, so they may die afterwards.
std::unique_ptr<Element> ParseDataLines(const std::vector<std::string_view>& lines,
                                        std::vector<DataDiagnostic>* diagnostics);

// Appends the lines of every child of `root` at indentation 0, each line
// followed by a line feed: the exact bytes a saver writes.
void WriteDataTree(const Element& root, std::string& out);

// True when the line is a list header.
bool IsListHeader(std::string_view line);

} // namespace Flurr
