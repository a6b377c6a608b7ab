#include "kit/KitReader.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "KitImages.h"
#include "kit/InflateFile.h"
#include "platform/SystemPath.h"

using namespace kit_images;

namespace {

class KitReaderTest : public KitTest {
protected:
    std::string Extract(KitReader& reader, std::size_t index, const std::string& previous = "") {
        const std::string destination = env / ("out" + std::to_string(index));
        scratch::WriteBytes(destination, previous);
        EXPECT_EQ(KitExtractEntry(reader, index, Wide(destination)), ERR_NONE) << index;
        return scratch::ReadBytes(destination);
    }
};

TEST_F(KitReaderTest, WriterAndReaderAgreeOnTheSingleLanguageLayout) {
    const std::string p = U32(1) + std::string("P\0", 2);  // a counted UTF-16LE "P"
    const std::string image = U32(0) + p + p + U32(0) + U32(1) + U32(26) + U32(1) + std::string("a\0", 2) +
                              U32(0xD53E8000) + U32(0x019DB1DE) + U32(0) + U32(2) + "xy";  // 1970, offset 0, size 2
    const KitSource source{0, {{Wide("xx"), Wide("P"), Wide("P"), {}}}, {{Wide("a"), FileTimeFromUnixSeconds(0), "xy", {}}}};
    std::string built;
    ASSERT_EQ(BuildKitImage(source, &built), ERR_NONE);
    EXPECT_EQ(built, image);
    KitReader reader;
    ASSERT_EQ(Open(reader, image), ERR_NONE);
    ASSERT_EQ(reader.descriptions.size(), 1u);
    EXPECT_EQ(Narrow(reader.descriptions[0].language + u" by " + reader.descriptions[0].providerName), "en by P");
    EXPECT_EQ(Extract(reader, 0), "xy");
}

TEST_F(KitReaderTest, MultiLanguageRecordsAreFoundByLanguageWithEnglishAsFallback) {
    const std::string ru = EncodeDescriptionRecord(Description("ru", "Продукт", ""));
    const std::string records = Padded(ru, ru.size() + 7) +  // the surplus is skipped whole
                                EncodeDescriptionRecord(Description("EN", "Product", "readme.html")) +
                                EncodeDescriptionRecord(Description("de", "Produkt", "liesmich.html")) +
                                EncodeDescriptionRecord(Description("en", "Second", "second.html"));
    KitReader reader;
    ASSERT_EQ(Open(reader, U32(1) + U32(4) + records + U32(0)), ERR_NONE);
    ASSERT_EQ(reader.descriptions.size(), 4u);
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"ru", "Продукт", "readme.html"}, {"RU", "Продукт", "readme.html"}, {"en", "Product", "readme.html"},
        {"De", "Produkt", "liesmich.html"}, {"fr", "", "readme.html"}};
    for (const auto& [language, product, file] : cases) {
        WString productName = Wide("old"), providerName = Wide("old");
        KitFindDescription(reader.descriptions, Wide(language), &productName, &providerName);
        EXPECT_EQ(Narrow(productName + providerName), *product ? std::string(product) + product + " Labs" : "") << language;
        EXPECT_EQ(Narrow(KitDescriptionFile(reader.descriptions, Wide(language))), file) << language;
    }
    EXPECT_TRUE(KitDescriptionFile({Description("ru", "", "")}, Wide("fr")).empty());
}

TEST_F(KitReaderTest, OffsetsAddressTheDataAreaAndExtractionReplacesLongerFiles) {
    std::string big;  // crosses mapping windows and copy buffers
    for (int i = 0; big.size() < 3 * 1048576 + 12345; ++i) big += std::to_string(static_cast<long long>(i) * 7919) + ",";
    const auto n = static_cast<std::uint32_t>(big.size());
    const std::string image = Multi(U32(4) + Entry(u"second", n + 10, 5) + Entry(u"first", n, 10) +
                                    Entry(u"empty", 0, 0, 1234567890) + Entry(u"big", 0, n)) +
                              big + "0123456789ABCDE";
    KitReader reader;
    ASSERT_EQ(Open(reader, image), ERR_NONE);
    EXPECT_EQ(Extract(reader, 0, "a much longer previous content"), "ABCDE");
    EXPECT_EQ(Extract(reader, 1), "0123456789");
    EXPECT_EQ(Extract(reader, 2, "previous content"), "");
    EXPECT_EQ(Extract(reader, 3), big);
    EXPECT_EQ(Extract(reader, 0), "ABCDE");  // the shared position is set again each time
    struct stat status {};
    ASSERT_EQ(::stat((env / "out2").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, 1234567890);
}

TEST_F(KitReaderTest, DamagedKitsAreRefusedWithThirteenAndLeaveNothing) {
    const std::string compressed = DeflateRaw(Multi(U32(1) + Entry(u"a", 0, 4) + "data"));
    const std::string gzip = "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03" + compressed;
    std::string longName = Entry(u"a", 0, 4);
    longName.replace(4, 4, U32(500));  // name count past its record
    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""}, {"gzip file", gzip}, {"zip file", std::string("PK\x03\x04", 4) + compressed},
        {"random bytes", "not a deflate stream"}, {"stream without its last byte", compressed.substr(0, compressed.size() - 1)},
        {"image without format", DeflateRaw("")}, {"format only", DeflateRaw(U32(1))},
        {"single-language string past the image", DeflateRaw(U32(0) + U32(100) + "ab")},
        {"record count past the image", DeflateRaw(U32(1) + U32(3) + EncodeDescriptionRecord({}))},
        {"description record size below 4", DeflateRaw(U32(1) + U32(1) + U32(3) + U32(0))},
        {"description strings past the record", DeflateRaw(U32(1) + U32(1) + U32(12) + U32(0) + U32(0))},
        {"no entry count", DeflateRaw(Multi(""))},
        {"entry count past the image", DeflateRaw(Multi(U32(2) + Entry(u"a", 0, 4) + "data"))},
        {"entry record size below 4", DeflateRaw(Multi(U32(1) + U32(0) + "data"))},
        {"entry record too small for its fields", DeflateRaw(Multi(U32(1) + Padded(Entry(u"a", 0, 4), 12) + "data"))},
        {"entry name past its record", DeflateRaw(Multi(U32(1) + longName + "data"))},
        {"entry data past the image", DeflateRaw(Multi(U32(1) + Entry(u"a", 0, 4) + "dat"))},
        {"entry offset past the image", DeflateRaw(Multi(U32(1) + Entry(u"a", 0xFFFFFFF0u, 0x20) + "data"))},
    };
    for (const auto& [what, kitBytes] : cases) {
        scratch::WriteBytes(kit, kitBytes);
        KitReader reader;
        EXPECT_EQ(OpenKit(reader), ERR_INVALID_DATA) << what;
        EXPECT_TRUE(reader.entries.empty()) << what;
        EXPECT_EQ(reader.handle, INVALID_FILE_HANDLE) << what;
        EXPECT_TRUE(scratch::Names(env.temp()).empty()) << what;
    }
    KitReader missing;
    EXPECT_EQ(KitOpen(missing, Wide(env / "missing.efd")), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(KitOpenDirectory(missing, Wide(env / "missing.efd")), ERR_FILE_NOT_FOUND);
    EXPECT_TRUE(scratch::Names(env.temp()).empty());
}

// A kit read for its directory first is unpacked as it was read: one changed in between is refused, and leaves nothing.
TEST_F(KitReaderTest, AKitChangedAfterItsDirectoryWasReadIsNotUnpacked) {
    scratch::WriteBytes(kit, DeflateRaw(Multi(U32(1) + Entry(u"a", 0, 4) + "data")));
    KitReader reader;
    ASSERT_EQ(KitOpenDirectoryFirst(reader, Wide(kit)), ERR_NONE);
    scratch::WriteBytes(kit, DeflateRaw(Multi(U32(1) + Entry(u"b", 0, 4) + "data")));
    EXPECT_EQ(KitOpenImage(reader), ERR_INVALID_DATA);
    EXPECT_EQ(reader.handle, INVALID_FILE_HANDLE);
    EXPECT_TRUE(scratch::Names(env.temp()).empty());
}

// A session's file size limit (ulimit -f), and a process out of descriptors (ulimit -n), are told apart from an
// unwritable TMPDIR; the first does not end the process.
TEST_F(KitReaderTest, SessionLimitsWhileUnpackingAreToldApart) {
    scratch::WriteBytes(kit, DeflateRaw(Multi(U32(1) + Entry(u"a", 0, 65536) + std::string(65536, 'x'))));
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);  // as the installer's start does
    const rlimit limit{4096, before.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    KitReader reader;
    EXPECT_EQ(KitOpen(reader, Wide(kit)), ERR_FILE_TOO_LARGE);
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &before) + (std::signal(SIGXFSZ, previous) == SIG_ERR), 0);
    EXPECT_TRUE(scratch::Names(env.temp()).empty());

    // Room for the kit's descriptor, none for the image's.
    const int lowestFree = dup(0);
    ASSERT_GE(lowestFree, 0);
    close(lowestFree);
    rlimit descriptors{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &descriptors), 0);
    const rlimit few{static_cast<rlim_t>(lowestFree) + 1, descriptors.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
    const ErrorCode unpacked = InflateFile(Wide(kit), Wide(env / "image"), GetFileSystemFreeSpace);
    EXPECT_EQ(setrlimit(RLIMIT_NOFILE, &descriptors), 0);
    EXPECT_EQ(unpacked, ErrorFromErrno(EMFILE));
}

TEST_F(KitReaderTest, EntryNamesThatWouldLeaveTheTargetOrNotFitItAreRefused) {
    const std::pair<std::u16string, ErrorCode> cases[] = {
        {u"templates\\a.tpl", ERR_NONE},      {u"..a\\b..", ERR_NONE},          {u".hidden", ERR_NONE},
        {u"a b\u00e9\u0080", ERR_NONE},       {u"a\\.\\b", ERR_INVALID_DATA},     {u"a\\\\b", ERR_INVALID_DATA},
        {u".\\a", ERR_INVALID_DATA},          {u"a\nb", ERR_INVALID_DATA},       {u"a\x1F", ERR_INVALID_DATA},
        {u"\x7F", ERR_INVALID_DATA},           {u"a\tb\\c", ERR_INVALID_DATA},    {u"/etc/passwd", ERR_INVALID_DATA},
        {u"\\etc\\passwd", ERR_INVALID_DATA}, {u"..\\outside", ERR_INVALID_DATA}, {u"a\\..\\..\\x", ERR_INVALID_DATA},
        {u"a/../b", ERR_INVALID_DATA},        {u"..", ERR_INVALID_DATA},        {u"", ERR_INVALID_DATA},
        {u"\\", ERR_INVALID_DATA},            {u"\\\\", ERR_INVALID_DATA},      {u"dir\\", ERR_INVALID_DATA},
        {u"dir\\.", ERR_INVALID_DATA},        {std::u16string(u"a\0b", 3), ERR_INVALID_DATA},
        // The installer's record folder is its own; a folder of that name further down is the kit's.
        {u".qorn-record\\x.record", ERR_INVALID_DATA}, {u".qorn-record/x", ERR_INVALID_DATA},
        {u".qorn-record", ERR_INVALID_DATA},  {u"a\\.qorn-record\\x", ERR_NONE},   {u".qorn-records\\x", ERR_NONE},
        {u".qorn-recor", ERR_NONE},
        // Components of NAME_MAX bytes and one more, in one-, three- and two-byte characters; whole names of PATH_MAX.
        {std::u16string(255, u'a'), ERR_NONE}, {std::u16string(256, u'a'), ERR_INVALID_DATA},
        {std::u16string(85, u'あ'), ERR_NONE},  {std::u16string(128, u'é'), ERR_INVALID_DATA},
        {LongName(PATH_MAX - 1), ERR_NONE},    {LongName(PATH_MAX), ERR_INVALID_DATA}};
    for (const auto& [name, expected] : cases) {
        KitReader reader;
        EXPECT_EQ(Open(reader, Multi(U32(1) + Entry(name, 0, 1) + "x")), expected)
            << Narrow(WString(name.data(), name.size()));
    }
}

}  // namespace
