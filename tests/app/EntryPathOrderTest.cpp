// Which kits may skip the search for names listed twice: only those whose
// names are in strictly rising path order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/EntryPathOrder.h"
#include "text/Convert.h"

namespace {

std::vector<KitEntry> Entries(const std::vector<std::string>& names) {
    std::vector<KitEntry> entries;
    for (const std::string& name : names) entries.push_back({ToWString(name.c_str()), {}, 0, 0});
    return entries;
}

TEST(EntryPathOrder, OnlyStrictlyRisingNamesAreKnownToBeUnique) {
    // (the kit's names, whether no two of them can name one path)
    const std::pair<std::vector<std::string>, bool> kCases[] = {
        {{}, true},
        {{"a"}, true},
        {{"a", "a\\b", "b", "b\\a"}, true},
        {{"a", "a"}, false},
        {{"a\\b", "a/b"}, false},  // one path, two separators
        {{"a", "b", "a"}, false},
        {{"b", "a"}, false},
        {{"A", "a"}, true},  // letter case counts
    };
    for (const auto& [names, unique] : kCases) {
        std::string shown;
        for (const std::string& name : names) shown += name + " ";
        EXPECT_EQ(NamesInStrictOrder(Entries(names)), unique) << shown;
    }
}

}  // namespace
