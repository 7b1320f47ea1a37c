// The list systems use for the components they drive, walked while the
// walk itself frees and creates components.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/SafeList.h"

namespace Flurr {
namespace {

struct Item {
    std::string name;
};

TEST(SafeList, WalkSurvivesRemovalAndAdditionFromInside) {
    SafeList<Item> list;
    auto a = std::make_unique<Item>(Item{"a"});
    auto b = std::make_unique<Item>(Item{"b"});
    auto c = std::make_unique<Item>(Item{"c"});
    auto d = std::make_unique<Item>(Item{"d"});
    list.Add(a.get());
    list.Add(b.get());
    list.Add(c.get());
    list.Add(a.get()); // already listed: no second visit

    std::vector<std::string> seen;
    list.ForEach([&](Item* item) {
        seen.push_back(item->name);
        if (item == a.get()) {
            // "a" frees "b" (which unregisters, then is deleted) and creates "d".
            list.Remove(b.get());
            b.reset();
            list.Add(d.get());
        }
    });
    // b was removed before its turn and never touched; d waits for the next walk.
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "c"}));

    seen.clear();
    list.ForEach([&](Item* item) { seen.push_back(item->name); });
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "c", "d"}));
}

TEST(SafeList, RemovedThenReAddedEntryIsNotVisitedByTheOldWalk) {
    SafeList<Item> list;
    Item a{"a"}, b{"b"};
    list.Add(&a);
    list.Add(&b);
    std::vector<std::string> seen;
    int nested = 0;
    list.ForEach([&](Item* item) {
        seen.push_back(item->name);
        if (item == &a) {
            // Same pointer, new registration: the walk under way must not
            // take it for the entry it had (that one was removed).
            list.Remove(&b);
            list.Add(&b);
            // A nested walk sees the list as it is now.
            list.ForEach([&](Item*) { ++nested; });
        }
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"a"}));
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(list.Items(), (std::vector<Item*>{&a, &b}));
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

} // namespace
} // namespace Flurr
