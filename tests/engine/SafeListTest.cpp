// The list systems drive components from, walked while the walk changes it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/SafeList.h"

using namespace Flurr;
namespace {

struct Item {
    std::string name;
};

TEST(SafeList, WalkSurvivesRemovalReAdditionAndAdditionFromInside) {
    SafeList<Item> list;
    auto a = std::make_unique<Item>(Item{"a"});
    auto b = std::make_unique<Item>(Item{"b"});
    Item c{"c"}, d{"d"};
    for (Item* item : {a.get(), b.get(), &c, a.get()}) // a twice: no second visit
        list.Add(item);
    std::vector<std::string> seen;
    list.ForEach([&](Item* item) {
        seen.push_back(item->name);
        if (item == a.get()) {
            // "a" frees "b" (which unregisters, then is deleted) and creates "d".
            list.Remove(b.get());
            b.reset();
            list.Add(&d);
        }
    });
    // b was removed before its turn and never touched; d waits for the next walk.
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "c"}));

    seen.clear();
    int nested = 0;
    list.ForEach([&](Item* item) {
        seen.push_back(item->name);
        if (item == a.get()) {
            // Re-added, it is a new entry this walk must not visit; a nested
            // walk sees the list as it is now.
            list.Remove(&c);
            list.Add(&c);
            list.ForEach([&](Item*) { ++nested; });
        }
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "d"}));
    EXPECT_EQ(nested, 3);
    EXPECT_EQ(list.Items(), (std::vector<Item*>{a.get(), &d, &c}));
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

} // namespace
