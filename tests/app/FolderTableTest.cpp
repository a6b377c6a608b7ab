// The compact folder table of the installation plan: every path added is
// found again under its own number, across growth and probe chains, and no
// path is found that was not added.
#include <gtest/gtest.h>

#include <string>

#include "app/FolderTable.h"

namespace {

// "g<i mod 97>/<i mod 40 times x><i>", built by appending: GCC 12 at -O3 warns
// falsely (-Wrestrict) about `"g" + std::to_string(...)`.
std::string NumberedPath(int i) {
    std::string path = "g";
    path += std::to_string(i % 97);
    path += '/';
    path.append(static_cast<std::size_t>(i % 40), 'x');
    path += std::to_string(i);
    return path;
}

TEST(FolderTableTest, FindsEveryAddedPathAcrossGrowthAndNothingElse) {
    FolderTable table;
    EXPECT_EQ(table.Find(""), FolderTable::kNone);
    std::vector<std::string> paths{""};
    // Enough paths to fill several name blocks and to grow the slots many times.
    for (int i = 0; i < 20000; ++i) {
        paths.push_back(NumberedPath(i));
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ASSERT_EQ(table.Add(paths[i], {static_cast<std::int64_t>(i), 7, i % 2 == 0, false}), i);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::uint32_t number = table.Find(paths[i]);
        ASSERT_EQ(number, i) << paths[i];
        EXPECT_EQ(table.PathOf(number), paths[i]);
        EXPECT_EQ(table[number].seconds, static_cast<std::int64_t>(i));
        EXPECT_EQ(table[number].exists, i % 2 == 0);
    }
    EXPECT_EQ(table.Find("g1"), FolderTable::kNone);
    EXPECT_EQ(table.Find("g1/x"), FolderTable::kNone);
    table[5].timeSaved = true;
    EXPECT_TRUE(table[table.Find(paths[5])].timeSaved);

    table.Clear();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(table.Find(paths[3]), FolderTable::kNone);
    EXPECT_EQ(table.Add("again", {}), 0u);
    EXPECT_EQ(table.Find("again"), 0u);
}

}  // namespace
