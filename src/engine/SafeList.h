#pragma once
// A list of non-owned pointers that can be walked while the walk itself
// adds and removes entries: what a system needs for the components it
// drives, since an Update or a message handler may free its own or another
// component (which unregisters it) or create new ones.
//
// ForEach walks a snapshot taken when it starts. An entry removed after
// that is skipped (it may already be deleted); an entry added after that
// waits for the next walk. Walks may nest.

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace Flurr {

template <typename T> class SafeList {
public:
    // Appends; adding an entry that is already listed does nothing.
    void Add(T* item) {
        if (Contains(item))
            return;
        entries.push_back({item, nextSerial});
        live.insert(nextSerial);
        ++nextSerial;
    }

    // Takes the entry out; a walk under way will not reach it any more.
    void Remove(T* item) {
        auto it = std::find_if(entries.begin(), entries.end(),
                               [item](const Entry& e) { return e.item == item; });
        if (it == entries.end())
            return;
        live.erase(it->serial);
        entries.erase(it);
        ++removals;
    }

    bool Contains(const T* item) const {
        return std::any_of(entries.begin(), entries.end(),
                           [item](const Entry& e) { return e.item == item; });
    }

    void Clear() {
        entries.clear();
        live.clear();
        ++removals;
    }

    std::size_t Size() const { return entries.size(); }
    bool Empty() const { return entries.empty(); }

    // Calls f(T*) for every entry listed when the walk began and still
    // listed when its turn comes, in the order they were added.
    template <typename F> void ForEach(F&& f) {
        const std::vector<Entry> snapshot = entries;
        const uint64_t removalsAtStart = removals;
        // Until something is taken out, every entry of the snapshot is
        // still listed: the look-up is only needed after a removal.
        for (const Entry& e : snapshot)
            if (removals == removalsAtStart || live.count(e.serial))
                f(e.item);
    }

    // The entries in order, for reading only (no calls out while holding it).
    std::vector<T*> Items() const {
        std::vector<T*> out;
        out.reserve(entries.size());
        for (const Entry& e : entries)
            out.push_back(e.item);
        return out;
    }

private:
    struct Entry {
        T* item;
        uint64_t serial;
    };
    std::vector<Entry> entries;
    // Serials of the entries listed now; a re-added pointer gets a new one,
    // so an old snapshot never mistakes it for the entry it removed.
    std::unordered_set<uint64_t> live;
    uint64_t nextSerial = 0;
    // Counts every Remove and Clear, so a walk knows whether its snapshot
    // may hold entries that have gone.
    uint64_t removals = 0;
};

} // namespace Flurr
