#include "serialization/Element.h"

#include <charconv>
#include <utility>

namespace Flurr {

Element::~Element() {
    std::vector<std::unique_ptr<Element>> work;
    auto take = [&work](Element& e) {
        for (Group& g : e.children)
            for (std::unique_ptr<Element>& c : g.items)
                if (c)
                    work.push_back(std::move(c));
        e.children.clear();
    };
    take(*this);
    while (!work.empty()) {
        std::unique_ptr<Element> e = std::move(work.back());
        work.pop_back();
        take(*e);
        // e is destroyed here with no children left.
    }
}

void Element::operator delete(Element* element, std::destroying_delete_t) {
    const bool pooled = element->inBlocks;
    element->~Element();
    if (!pooled)
        ::operator delete(element);
}

std::unique_ptr<Element> Element::MakeInBlocks(std::string name_, std::string value_, int32_t kind_,
                                               int32_t line_) {
    // Chunks of this many elements: big enough that a level needs few,
    // small enough that a short text does not reserve much.
    constexpr std::size_t perChunk = 256;
    if (!blocks)
        blocks = std::make_unique<Blocks>();
    if (blocks->left == 0) {
        // Not zeroed: every element is constructed in place.
        blocks->chunks.emplace_back(new std::byte[perChunk * sizeof(Element)]);
        blocks->next = blocks->chunks.back().get();
        blocks->left = perChunk;
    }
    void* memory = blocks->next;
    blocks->next += sizeof(Element);
    --blocks->left;
    auto* e = new (memory) Element(std::move(name_), std::move(value_), kind_, line_);
    e->inBlocks = true;
    return std::unique_ptr<Element>(e);
}

Element* Element::Append(std::unique_ptr<Element> child) {
    child->parent = this;
    Element* raw = child.get();
    // Runs of one name (list items, a level's objects) are the common case.
    Group* g = !children.empty() && children.back().name == child->name ? &children.back()
                                                                        : FindGroup(child->name);
    if (!g) {
        children.emplace_back();
        g = &children.back();
        g->name = child->name;
    }
    g->items.push_back(std::move(child));
    return raw;
}

Element::Group* Element::FindGroup(std::string_view childName) {
    for (Group& g : children)
        if (g.name == childName)
            return &g;
    return nullptr;
}

const Element::Group* Element::FindGroup(std::string_view childName) const {
    for (const Group& g : children)
        if (g.name == childName)
            return &g;
    return nullptr;
}

Element* Element::FirstRemaining(std::string_view childName) {
    Group* g = FindGroup(childName);
    if (!g || g->Empty())
        return nullptr;
    return g->items[g->head].get();
}

std::unique_ptr<Element> CloneElement(const Element& element) {
    auto copy = std::make_unique<Element>(element.name, element.value, element.kind, element.line);
    // Explicit stack, as everywhere a tree is walked.
    std::vector<std::pair<const Element*, Element*>> work{{&element, copy.get()}};
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        for (const Element::Group& g : from->children)
            for (std::size_t i = g.head; i < g.items.size(); ++i) {
                const Element& child = *g.items[i];
                Element* made = to->Append(
                    std::make_unique<Element>(child.name, child.value, child.kind, child.line));
                work.emplace_back(&child, made);
            }
    }
    return copy;
}

bool IsListHeader(std::string_view line) {
    return line.size() >= 5 && line.substr(0, 5) == "List#" &&
           line.find(':') != std::string_view::npos;
}

namespace {

std::string Quote(std::string_view s) {
    std::string q = "\"";
    q.append(s.substr(0, 60));
    if (s.size() > 60)
        q += "...";
    q += '"';
    return q;
}

} // namespace

std::unique_ptr<Element> ParseDataLines(const std::vector<std::string_view>& lines,
                                        std::vector<DataDiagnostic>* diagnostics) {
    auto root = std::make_unique<Element>("", "", Element::Object, 0);
    const std::size_t n = lines.size();
    if (n == 0)
        return root;

    auto report = [diagnostics](std::size_t index, std::string message, bool serious) {
        if (diagnostics)
            diagnostics->push_back({static_cast<int32_t>(index + 1), std::move(message), serious});
    };

    // Objects whose closing line has not come yet, innermost last.
    std::vector<Element*> open;

    // Parses the element that starts at line `i` into `parent`; returns the
    // index of its last line (for a list, its closing line).
    auto parseOne = [&](std::size_t i, Element* parent) -> std::size_t {
        std::string_view text = lines[i];
        const int32_t lineNo = static_cast<int32_t>(i + 1);
        if (IsListHeader(text)) {
            std::size_t colon = text.find(':');
            std::string name(text.substr(colon + 1));
            std::string closing = "-" + name;
            Element* list =
                parent->Append(root->MakeInBlocks(name, closing, Element::List, lineNo));
            std::size_t j = i + 1;
            while (j < n && lines[j] != closing)
                ++j;
            const std::size_t items = j - (i + 1);
            if (items > 0) {
                list->children.emplace_back();
                Element::Group& values = list->children.back();
                values.name = "Value";
                values.items.reserve(items);
                for (std::size_t k = i + 1; k < j; ++k) {
                    values.items.push_back(root->MakeInBlocks("Value", std::string(lines[k]),
                                                              Element::ListItem,
                                                              static_cast<int32_t>(k + 1)));
                    values.items.back()->parent = list;
                }
            }
            if (j >= n) {
                report(i,
                       "list " + Quote(name) + " has no closing line " + Quote(closing) +
                           "; it runs to the end of the file",
                       true);
                return n - 1;
            }
            std::string_view count = text.substr(5, colon - 5);
            char digits[24];
            const auto printed = std::to_chars(digits, digits + sizeof digits, items);
            if (count != std::string_view(digits, static_cast<std::size_t>(printed.ptr - digits)))
                report(i,
                       "list " + Quote(name) + " says it has " + std::string(count) +
                           " items but has " + std::to_string(items),
                       false);
            return j;
        }
        std::size_t colon = text.find(':');
        if (colon != std::string_view::npos) {
            parent->Append(root->MakeInBlocks(std::string(text.substr(0, colon)),
                                              std::string(text.substr(colon + 1)), Element::Value,
                                              lineNo));
            return i;
        }
        std::string name(text);
        if (name.find_first_not_of(" \t\r\n") == std::string::npos)
            report(i,
                   "blank line: everything up to a line \"-\" is read as one unnamed object, "
                   "so the fields after it are lost",
                   true);
        std::string closing = "-" + name;
        Element* obj = parent->Append(
            root->MakeInBlocks(std::move(name), std::move(closing), Element::Object, lineNo));
        open.push_back(obj);
        return i;
    };

    std::size_t last = parseOne(0, root.get());
    while (!open.empty()) {
        if (open.size() > kMaxDataDepth) {
            if (diagnostics)
                diagnostics->push_back({open.back()->line,
                                        "objects nested more than " +
                                            std::to_string(kMaxDataDepth) +
                                            " deep; the file is not read",
                                        true, true});
            open.clear();
            return std::make_unique<Element>("", "", Element::Object, 0);
        }
        std::size_t i = last + 1;
        if (i >= n) {
            for (auto it = open.rbegin(); it != open.rend(); ++it)
                report(static_cast<std::size_t>((*it)->line - 1),
                       "object " + Quote((*it)->name) + " has no closing line " +
                           Quote((*it)->value) + "; it runs to the end of the file",
                       true);
            open.clear();
            last = n - 1;
            break;
        }
        if (lines[i] == open.back()->value) {
            open.pop_back();
            last = i;
            continue;
        }
        last = parseOne(i, open.back());
    }

    for (std::size_t i = last + 1; i < n; ++i) {
        if (lines[i].find_first_not_of(" \t\r\n") != std::string_view::npos) {
            report(i, "text after the end of the top-level element is ignored", true);
            break;
        }
    }
    return root;
}

namespace {

void WriteLine(std::string& out, int indent, std::string_view a, std::string_view b = {},
               std::string_view c = {}, std::string_view d = {}) {
    // A line of nothing but blanks is written without indentation: readers
    // keep such a line as it is, so indenting an empty name or a blank item
    // would change it on the way back.
    auto blank = [](std::string_view part) {
        return part.find_first_not_of(" \t\n") == std::string_view::npos;
    };
    if (!(blank(a) && blank(b) && blank(c) && blank(d)))
        out.append(static_cast<std::size_t>(indent), ' ');
    out.append(a);
    out.append(b);
    out.append(c);
    out.append(d);
    out.push_back('\n');
}

} // namespace

void WriteDataTree(const Element& root, std::string& out) {
    // Explicit stack: the tree may be as deep as a hostile file made it.
    struct Frame {
        const Element* element;
        std::size_t group;
        std::size_t item;
        int indent;
    };
    std::vector<Frame> stack;
    stack.push_back({&root, 0, 0, -2});
    while (!stack.empty()) {
        Frame& f = stack.back();
        const Element* e = f.element;
        // Find the next unconsumed child.
        const Element* child = nullptr;
        while (f.group < e->children.size()) {
            const Element::Group& g = e->children[f.group];
            if (f.item < g.head)
                f.item = g.head;
            if (f.item < g.items.size()) {
                child = g.items[f.item++].get();
                break;
            }
            ++f.group;
            f.item = 0;
        }
        if (!child) {
            if (e != &root)
                WriteLine(out, f.indent, e->value);
            stack.pop_back();
            continue;
        }
        const int indent = f.indent + 2;
        switch (child->kind) {
        case Element::Value:
            WriteLine(out, indent, child->name, ":", child->value);
            break;
        case Element::ListItem:
            WriteLine(out, indent, child->value);
            break;
        case Element::List: {
            std::size_t count = 0;
            for (const Element::Group& g : child->children)
                count += g.Remaining();
            WriteLine(out, indent, "List#", std::to_string(count), ":", child->name);
            for (const Element::Group& g : child->children)
                for (std::size_t k = g.head; k < g.items.size(); ++k)
                    WriteLine(out, indent + 2, g.items[k]->value);
            WriteLine(out, indent, child->value);
            break;
        }
        default:
            WriteLine(out, indent, child->name);
            stack.push_back({child, 0, 0, indent}); // may invalidate f
            break;
        }
    }
}

} // namespace Flurr
