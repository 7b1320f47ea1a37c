#pragma once
// The components a system drives, listed by the space each registered for
// (a component may register for several). A system walks the lists of the
// active spaces every frame; a component listed under two active spaces is
// still reached once per walk, since updating it or telling it a message
// twice would change what it does (a key press counted twice).
//
// The lists never own their entries. Emptying a space keeps its list, as a
// walk under way may be holding it.

#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/SafeList.h"
#include "world/SpaceManager.h"

namespace Flurr {

template <typename T> class SpaceLists {
public:
    void Add(T* item, const std::string& space) { lists[space].Add(item); }

    // Takes the item off every space's list.
    void Remove(T* item) {
        for (auto& [space, list] : lists)
            list.Remove(item);
    }

    // f(T*) once for each item listed under an active space, in space then
    // list order (as SafeList walks: safe against changes on the way).
    template <typename F> void ForEachActive(F&& f) { Walk(true, f); }

    // f(T*) once for each item of any space, active or not, in space then
    // list order; safe against changes on the way.
    template <typename F> void ForEachAll(F&& f) { Walk(false, f); }

    // Every item once, in space then list order, for reading only.
    std::vector<T*> Items() const {
        const SafeList<T>* only = nullptr;
        int filled = 0;
        for (const auto& [space, list] : lists)
            if (!list.Empty()) {
                only = &list;
                ++filled;
            }
        // Most systems file everything under one space: nothing to merge.
        if (filled <= 1)
            return only ? only->Items() : std::vector<T*>{};
        std::vector<T*> out;
        std::unordered_set<T*> done;
        for (const auto& [space, list] : lists)
            for (T* item : list.Items())
                if (done.insert(item).second)
                    out.push_back(item);
        return out;
    }
    std::size_t Size() const { return Items().size(); }
    bool Empty() const { return Size() == 0; }
    bool Contains(const T* item) const {
        for (const auto& [space, list] : lists)
            if (list.Contains(item))
                return true;
        return false;
    }

    // The first item of the first space that has one, or null.
    T* First() const {
        for (const auto& [space, list] : lists)
            if (!list.Empty())
                return list.Items().front();
        return nullptr;
    }

    void Clear(const std::string& space) {
        auto it = lists.find(space);
        if (it != lists.end())
            it->second.Clear();
    }

    void ClearAll() {
        for (auto& [space, list] : lists)
            list.Clear();
    }

private:
    // Walks run every frame over every sprite and body; the set that keeps
    // an item listed under two spaces from being reached twice is only
    // built once a second list is walked.
    template <typename F> void Walk(bool activeOnly, F& f) {
        std::vector<T*> reached;
        std::unordered_set<T*> done;
        bool merging = false;
        for (auto& [space, list] : lists) {
            if (activeOnly && !SpaceManager::Active(space))
                continue;
            if (!merging && !reached.empty()) {
                done.insert(reached.begin(), reached.end());
                merging = true;
            }
            list.ForEach([&](T* item) {
                if (!merging)
                    reached.push_back(item);
                else if (!done.insert(item).second)
                    return;
                f(item);
            });
        }
    }

    std::map<std::string, SafeList<T>> lists;
};

} // namespace Flurr
