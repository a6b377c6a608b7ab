#include "kit/KitReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "kit/KitTestSupport.h"

using namespace testing_support;

namespace {

const bool kUtf8 = UseUtf8Locale();

// Points TMPDIR at a private directory so that tests can see the image.
class KitReaderTest : public ::testing::Test {
protected:
    ScratchDirectory scratch;
    ScratchDirectory temp;
    std::string previousTmpdir;

    void SetUp() override {
        if (const char* old = std::getenv("TMPDIR")) previousTmpdir = old;
        ::setenv("TMPDIR", temp.path().c_str(), 1);
    }
    void TearDown() override {
        if (previousTmpdir.empty()) ::unsetenv("TMPDIR");
        else ::setenv("TMPDIR", previousTmpdir.c_str(), 1);
    }
    bool TempIsEmpty() const { return std::filesystem::is_empty(temp.path()); }

    ErrorCode Open(KitReader& reader, const std::string& image) {
        return KitOpen(reader, W(WriteKitImage(scratch, image)));
    }
    std::string Extract(KitReader& reader, std::size_t index) {
        const std::string destination = scratch / ("out" + std::to_string(index));
        EXPECT_EQ(KitExtractEntry(reader, index, W(destination)), ERR_NONE);
        return ReadBytes(destination);
    }
};

TEST_F(KitReaderTest, SingleLanguageHeaderIsOneEnglishDescription) {
    std::string image = U32(0) + U32(0) + U32(0) + U32(0);
    const std::string entry = EncodeEntryRecord(u"a.tpl", FileTimeFromUnixSeconds(0), 0, 3);
    image += U32(1) + entry + "abc";
    KitReader reader;
    ASSERT_EQ(Open(reader, image), ERR_NONE);
    ASSERT_EQ(reader.descriptions.size(), 1u);
    EXPECT_EQ(A(reader.descriptions[0].language), "en");
    EXPECT_TRUE(reader.descriptions[0].productName.empty());
    EXPECT_TRUE(reader.descriptions[0].descriptionFile.empty());
    ASSERT_EQ(reader.entries.size(), 1u);
    EXPECT_EQ(reader.entries[0].offset, 16u + 4u + entry.size());
    EXPECT_EQ(Extract(reader, 0), "abc");
}

TEST_F(KitReaderTest, SingleLanguageHeaderCarriesItsTexts) {
    KitSource source;
    source.format = 0;
    source.descriptions = {Description("xx", "Образцы", "Qorn Labs", "docs\\readme.html")};
    KitReader reader;
    ASSERT_EQ(Open(reader, ImageOf(source)), ERR_NONE);
    ASSERT_EQ(reader.descriptions.size(), 1u);
    EXPECT_EQ(A(reader.descriptions[0].language), "en");
    EXPECT_EQ(A(reader.descriptions[0].productName), "Образцы");
    EXPECT_EQ(A(reader.descriptions[0].providerName), "Qorn Labs");
    EXPECT_EQ(A(reader.descriptions[0].descriptionFile), "docs\\readme.html");
    EXPECT_TRUE(reader.entries.empty());
}

TEST_F(KitReaderTest, MultiLanguageHeaderWithoutRecords) {
    KitReader reader;
    ASSERT_EQ(Open(reader, ImageWithDirectory(U32(0))), ERR_NONE);
    EXPECT_TRUE(reader.descriptions.empty());
    WString product = W("old"), provider = W("old");
    KitFindDescription(reader.descriptions, W("en"), &product, &provider);
    EXPECT_TRUE(product.empty());
    EXPECT_TRUE(provider.empty());
    EXPECT_TRUE(KitDescriptionFile(reader.descriptions, W("en")).empty());
}

TEST_F(KitReaderTest, OversizedDescriptionRecordIsSkippedWhole) {
    std::string first = EncodeDescriptionRecord(Description("ru", "Продукт", "Поставщик", ""));
    first += "surplus!";
    first.replace(0, 4, U32(static_cast<std::uint32_t>(first.size())));
    const std::string second = EncodeDescriptionRecord(Description("en", "Product", "Provider", "readme.html"));
    const std::string image = U32(1) + U32(2) + first + second + U32(0);
    KitReader reader;
    ASSERT_EQ(Open(reader, image), ERR_NONE);
    ASSERT_EQ(reader.descriptions.size(), 2u);
    EXPECT_EQ(A(reader.descriptions[0].productName), "Продукт");
    EXPECT_EQ(A(reader.descriptions[1].productName), "Product");
    EXPECT_EQ(A(reader.descriptions[1].descriptionFile), "readme.html");
}

TEST(KitDescriptionLookupTest, LanguageMatchIgnoresCaseAndFallsBackOnEnglish) {
    const std::vector<KitDescription> descriptions = {
        Description("ru", "Продукт", "Поставщик", ""),
        Description("EN", "Product", "Provider", "readme.html"),
        Description("de", "Produkt", "Anbieter", "liesmich.html"),
        Description("en", "Second", "Second", "second.html"),
    };
    struct Case {
        std::string language, product, provider, file;
    };
    const Case cases[] = {
        {"ru", "Продукт", "Поставщик", "readme.html"},
        {"RU", "Продукт", "Поставщик", "readme.html"},
        {"en", "Product", "Provider", "readme.html"},
        {"De", "Produkt", "Anbieter", "liesmich.html"},
        {"fr", "", "", "readme.html"},
    };
    for (const Case& c : cases) {
        WString product, provider;
        KitFindDescription(descriptions, W(c.language), &product, &provider);
        EXPECT_EQ(A(product), c.product) << c.language;
        EXPECT_EQ(A(provider), c.provider) << c.language;
        EXPECT_EQ(A(KitDescriptionFile(descriptions, W(c.language))), c.file) << c.language;
    }
    const std::vector<KitDescription> noEnglish = {Description("ru", "", "", "")};
    EXPECT_TRUE(KitDescriptionFile(noEnglish, W("ru")).empty());
}

TEST_F(KitReaderTest, OffsetsAddressTheDataAreaInAnyOrder) {
    const std::string directory = U32(2) + EncodeEntryRecord(u"second", FileTime{}, 10, 5) +
                                  EncodeEntryRecord(u"first", FileTime{}, 0, 10);
    const std::string image = ImageWithDirectory(directory, "0123456789ABCDE");
    KitReader reader;
    ASSERT_EQ(Open(reader, image), ERR_NONE);
    const std::uint32_t dataStart = static_cast<std::uint32_t>(image.size() - 15);
    EXPECT_EQ(reader.entries[0].offset, dataStart + 10);
    EXPECT_EQ(reader.entries[1].offset, dataStart);
    EXPECT_EQ(Extract(reader, 0), "ABCDE");
    EXPECT_EQ(Extract(reader, 1), "0123456789");
    EXPECT_EQ(Extract(reader, 0), "ABCDE");  // the shared position is set again each time
}

TEST_F(KitReaderTest, ExtractionCutsLongerFilesAndSetsTheTime) {
    KitSource source;
    source.files = {FileEntry("empty", "", 1234567890), FileEntry("short", "new", 1400000000)};
    KitReader reader;
    ASSERT_EQ(Open(reader, ImageOf(source)), ERR_NONE);
    const std::string empty = scratch / "empty", shortFile = scratch / "short";
    WriteBytes(empty, "previous content");
    WriteBytes(shortFile, "a much longer previous content");
    ASSERT_EQ(KitExtractEntry(reader, 0, W(empty)), ERR_NONE);
    ASSERT_EQ(KitExtractEntry(reader, 1, W(shortFile)), ERR_NONE);
    EXPECT_EQ(ReadBytes(empty), "");
    EXPECT_EQ(ReadBytes(shortFile), "new");
    struct stat status {};
    ASSERT_EQ(::stat(empty.c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, 1234567890);
    ASSERT_EQ(::stat(shortFile.c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, 1400000000);
}

TEST_F(KitReaderTest, LargeEntriesCrossWindowsAndCopyBuffers) {
    std::string big;
    for (int i = 0; big.size() < 3 * 1048576 + 12345; ++i) big += std::to_string(i * 7919) + ",";
    KitSource source;
    source.files = {FileEntry("big", big), FileEntry("tail", "end")};
    KitReader reader;
    ASSERT_EQ(Open(reader, ImageOf(source)), ERR_NONE);
    EXPECT_EQ(Extract(reader, 0), big);
    EXPECT_EQ(Extract(reader, 1), "end");
}

TEST_F(KitReaderTest, DamagedKitsAreRefusedWithThirteenAndLeaveNothing) {
    const std::string goodEntry = EncodeEntryRecord(u"a", FileTime{}, 0, 4);
    const std::string good = ImageWithDirectory(U32(1) + goodEntry, "data");
    const std::string compressed = DeflateRaw(good);
    std::string gzip = "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03" + compressed;
    std::string shortRecord = goodEntry;
    shortRecord.replace(0, 4, U32(12));  // smaller than the name and four words
    std::string longName = goodEntry;
    longName.replace(4, 4, U32(500));  // name count past its record
    struct Case {
        const char* what;
        std::string kitBytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"gzip file", gzip},
        {"zip file", std::string("PK\x03\x04", 4) + compressed},
        {"random bytes", "this is not a deflate stream at all"},
        {"stream cut in half", compressed.substr(0, compressed.size() / 2)},
        {"stream without its last byte", compressed.substr(0, compressed.size() - 1)},
        {"image without format", DeflateRaw("")},
        {"format only", DeflateRaw(U32(1))},
        {"single-language string past the image", DeflateRaw(U32(0) + U32(100) + "ab")},
        {"record count past the image", DeflateRaw(U32(1) + U32(3) + EncodeDescriptionRecord({}))},
        {"description record size below 4", DeflateRaw(U32(1) + U32(1) + U32(3) + U32(0))},
        {"description strings past the record", DeflateRaw(U32(1) + U32(1) + U32(12) + U32(0) + U32(0))},
        {"no entry count", DeflateRaw(U32(1) + U32(0))},
        {"entry count past the image", DeflateRaw(ImageWithDirectory(U32(2) + goodEntry, "data"))},
        {"entry record size below 4", DeflateRaw(ImageWithDirectory(U32(1) + U32(0), "data"))},
        {"entry record too small", DeflateRaw(ImageWithDirectory(U32(1) + shortRecord, "data"))},
        {"entry name past its record", DeflateRaw(ImageWithDirectory(U32(1) + longName, "data"))},
        {"entry data past the image", DeflateRaw(ImageWithDirectory(U32(1) + goodEntry, "dat"))},
        {"entry offset past the image",
         DeflateRaw(ImageWithDirectory(U32(1) + EncodeEntryRecord(u"a", FileTime{}, 0xFFFFFFF0u, 0x20), "data"))},
    };
    for (const Case& c : cases) {
        WriteBytes(scratch / "kit", c.kitBytes);
        KitReader reader;
        EXPECT_EQ(KitOpen(reader, W(scratch / "kit")), ERR_INVALID_DATA) << c.what;
        EXPECT_TRUE(reader.entries.empty()) << c.what;
        EXPECT_EQ(reader.handle, INVALID_FILE_HANDLE) << c.what;
        EXPECT_TRUE(TempIsEmpty()) << c.what;
    }
}

TEST_F(KitReaderTest, EntryNamesThatWouldLeaveTheTargetAreRefused) {
    const std::u16string zeroInside(u"a\0b", 3);
    struct Case {
        std::u16string name;
        ErrorCode expected;
    };
    const Case cases[] = {
        {u"templates\\a.tpl", ERR_NONE},  {u"..a\\b..", ERR_NONE},    {u".hidden", ERR_NONE},
        {u"a\\.\\b", ERR_NONE},           {u"a\\\\b", ERR_NONE},       {u"/etc/passwd", ERR_INVALID_DATA},
        {u"\\etc\\passwd", ERR_INVALID_DATA}, {u"..\\outside", ERR_INVALID_DATA},
        {u"a\\..\\..\\x", ERR_INVALID_DATA},  {u"a/../b", ERR_INVALID_DATA}, {u"..", ERR_INVALID_DATA},
        {u"", ERR_INVALID_DATA},          {u"\\", ERR_INVALID_DATA},   {u"\\\\", ERR_INVALID_DATA},
        {u"dir\\", ERR_INVALID_DATA},     {u"dir\\.", ERR_INVALID_DATA}, {zeroInside, ERR_INVALID_DATA},
    };
    for (const Case& c : cases) {
        const WString name(c.name.data(), c.name.size());
        const std::string image = ImageWithDirectory(U32(1) + EncodeEntryRecord(name, FileTime{}, 0, 1), "x");
        KitReader reader;
        EXPECT_EQ(Open(reader, image), c.expected) << A(name);
    }
}

TEST_F(KitReaderTest, MissingKitGivesTwoAndRemovesTheImage) {
    KitReader reader;
    EXPECT_EQ(KitOpen(reader, W(scratch / "missing.efd")), ERR_FILE_NOT_FOUND);
    EXPECT_FALSE(reader.tempPath.empty());
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(KitReaderTest, ImageLivesInTmpdirUntilTheReaderGoesAway) {
    KitSource source;
    source.files = {FileEntry("a", "x")};
    std::string imagePath;
    {
        KitReader reader;
        ASSERT_EQ(Open(reader, ImageOf(source)), ERR_NONE);
        imagePath = A(reader.tempPath);
        EXPECT_EQ(imagePath.rfind(temp.path() + "/edf", 0), 0u) << imagePath;
        EXPECT_TRUE(Exists(imagePath));
        EXPECT_EQ(ReadBytes(imagePath), ImageOf(source));
    }
    EXPECT_FALSE(Exists(imagePath));
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(KitReaderTest, TmpdirThatIsNoDirectoryFallsBackOnTmp) {
    WriteBytes(scratch / "file", "");
    ::setenv("TMPDIR", (scratch / "file").c_str(), 1);  // not a directory: "/tmp" is used
    KitSource source;
    KitReader fine;
    ASSERT_EQ(Open(fine, ImageOf(source)), ERR_NONE);
    EXPECT_EQ(A(fine.tempPath).rfind("/tmp/edf", 0), 0u);
}

TEST_F(KitReaderTest, ExtractionFailures) {
    KitSource source;
    source.files = {FileEntry("a", "abc")};
    KitReader reader;
    ASSERT_EQ(Open(reader, ImageOf(source)), ERR_NONE);
    EXPECT_EQ(KitExtractEntry(reader, 1, W(scratch / "x")), ERR_INVALID_PARAMETER);
    EXPECT_EQ(KitExtractEntry(reader, 0, W(scratch / "nodir/x")), ERR_FILE_NOT_FOUND);
    reader.entries[0].size = 1000;  // the image ends inside the entry
    EXPECT_EQ(KitExtractEntry(reader, 0, W(scratch / "x")), ERR_INVALID_DATA);

    KitReader closed;
    closed.entries.push_back(KitEntry{W("a"), FileTime{}, 0, 1});
    EXPECT_EQ(KitExtractEntry(closed, 0, W(scratch / "y")), ERR_INVALID_HANDLE);
    EXPECT_FALSE(Exists(scratch / "y"));
}

TEST_F(KitReaderTest, InflateFileRoundTripsAndCutsAnOlderDestination) {
    std::string data;
    for (int i = 0; data.size() < 100000; ++i) data += std::to_string(i);
    WriteBytes(scratch / "source", DeflateRaw(data));
    WriteBytes(scratch / "destination", std::string(200000, 'z'));
    EXPECT_EQ(InflateFile(W(scratch / "source"), W(scratch / "destination")), ERR_NONE);
    EXPECT_EQ(ReadBytes(scratch / "destination"), data);
    EXPECT_EQ(InflateFile(W(scratch / "missing"), W(scratch / "d2")), ERR_FILE_NOT_FOUND);
    EXPECT_FALSE(Exists(scratch / "d2"));
}

TEST_F(KitReaderTest, InflateFileRefusesAStreamThatNeverEnds) {
    const std::string compressed = DeflateRaw(std::string(1000, 'a') + "tail");
    for (std::size_t cut : {std::size_t{1}, compressed.size() / 2, compressed.size() - 1}) {
        WriteBytes(scratch / "source", compressed.substr(0, cut));
        EXPECT_EQ(InflateFile(W(scratch / "source"), W(scratch / "destination")), ERR_INVALID_DATA) << cut;
    }
    WriteBytes(scratch / "source", compressed + "trailing bytes after the end");
    EXPECT_EQ(InflateFile(W(scratch / "source"), W(scratch / "destination")), ERR_NONE);
    EXPECT_EQ(ReadBytes(scratch / "destination"), std::string(1000, 'a') + "tail");
}

}  // namespace
