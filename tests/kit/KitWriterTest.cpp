#include "kit/KitWriter.h"

#include <gtest/gtest.h>

#include "kit/KitTestSupport.h"

using namespace testing_support;

namespace {

const bool kUtf8 = UseUtf8Locale();

TEST(KitWriterTest, ImageLayoutIsLittleEndianWithCountedUtf16Strings) {
    KitSource source;
    source.format = 0;
    source.descriptions = {Description("en", "P", "", "")};
    source.files = {FileEntry("a", "xy", 0)};
    const FileTime time = FileTimeFromUnixSeconds(0);
    std::string expected = std::string("\0\0\0\0", 4) + std::string("\1\0\0\0P\0", 6) + std::string(8, '\0');
    expected += std::string("\1\0\0\0", 4);                         // one entry
    expected += std::string("\x1a\0\0\0", 4) + std::string("\1\0\0\0a\0", 6);  // size 26, name "a"
    expected += U32(time.low) + U32(time.high) + U32(0) + U32(2) + "xy";
    EXPECT_EQ(ImageOf(source), expected);
}

TEST(KitWriterTest, ContentComesFromSourceFilesWhenNamed) {
    ScratchDirectory scratch;
    WriteBytes(scratch / "content", "from disk");
    KitSource source;
    KitFileSource file = FileEntry("a", "ignored");
    file.sourcePath = W(scratch / "content");
    source.files = {file};
    std::string image;
    ASSERT_EQ(BuildKitImage(source, &image), ERR_NONE);
    EXPECT_EQ(image.substr(image.size() - 9), "from disk");
    source.files[0].sourcePath = W(scratch / "missing");
    EXPECT_EQ(BuildKitImage(source, &image), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(WriteKit(source, W(scratch / "kit.efd")), ERR_FILE_NOT_FOUND);
    EXPECT_FALSE(Exists(scratch / "kit.efd"));
}

TEST(KitWriterTest, WrittenKitsReadBack) {
    ScratchDirectory scratch;
    KitSource source;
    source.descriptions = {Description("en", "Sample", "Qorn Labs", "docs\\readme.html"),
                           Description("ru", "Образцы", "Корн", "docs\\readme.html")};
    source.files = {FileEntry("templates\\Отчёт.tpl", "отчёт", 1600000000), FileEntry("b", "")};
    WriteBytes(scratch / "kit.efd", std::string(100000, 'j'));  // an older, longer kit is replaced
    ASSERT_EQ(WriteKit(source, W(scratch / "kit.efd")), ERR_NONE);
    KitReader reader;
    ASSERT_EQ(KitOpen(reader, W(scratch / "kit.efd")), ERR_NONE);
    ASSERT_EQ(reader.descriptions.size(), 2u);
    EXPECT_EQ(A(reader.descriptions[1].productName), "Образцы");
    ASSERT_EQ(reader.entries.size(), 2u);
    EXPECT_EQ(A(reader.entries[0].name), "templates\\Отчёт.tpl");
    EXPECT_EQ(reader.entries[0].lastWriteTime, FileTimeFromUnixSeconds(1600000000));
    EXPECT_EQ(reader.entries[0].size, std::string("отчёт").size());
    EXPECT_EQ(reader.entries[1].size, 0u);
}

}  // namespace
