// Kits crafted to exhaust memory or temporary space: the directory's limits
// at their exact edges, the peak memory of the largest kits, and unpacking
// that stops before the temporary directory fills up.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <fstream>
#include <memory>

#include "KitImages.h"
#include "kit/KitDirectory.h"
#include "kit/KitReader.h"

using scratch::Wide;
using namespace kit_images;

namespace {

constexpr std::uint64_t kMiB = 1 << 20;

// Streams `header` and `count` times `record` into one raw deflate stream
// at `path`, so that even a gigabyte image is never held whole.
void WriteRepeatedKit(const std::string& path, const std::string& header, const std::string& record,
                      std::uint64_t count) {
    z_stream stream{};
    ASSERT_EQ(deflateInit2(&stream, 1, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string output(kMiB, '\0');
    const auto feed = [&](const std::string& bytes, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream.avail_in = static_cast<uInt>(bytes.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(output.data());
            stream.avail_out = static_cast<uInt>(output.size());
            deflate(&stream, flush);
            out.write(output.data(), static_cast<std::streamsize>(output.size() - stream.avail_out));
        } while (stream.avail_out == 0);
    };
    const std::uint64_t perBlock = kMiB / record.size() + 1;
    std::string block;
    for (std::uint64_t i = 0; i < perBlock; ++i) block += record;
    feed(header, Z_NO_FLUSH);
    for (std::uint64_t left = count; left > 0; left -= std::min(left, perBlock)) {
        feed(block.substr(0, std::min(left, perBlock) * record.size()), Z_NO_FLUSH);
    }
    feed("", Z_FINISH);
    deflateEnd(&stream);
    ASSERT_TRUE(out.good());
}

// A name of `bytes` bytes, in components of at most NAME_MAX bytes.
std::u16string LongName(std::size_t bytes) {
    std::u16string name;
    while (name.size() < bytes) name += name.size() % 256 == 128 ? u'\\' : u'a';
    return name;
}

std::string Text(std::size_t units) {
    std::string bytes;
    AppendKitString(bytes, WString(std::u16string(units, u'x').c_str()));
    return bytes;
}

class KitBoundsTest : public ::testing::Test {
protected:
    scratch::Environment env;
    std::string kit = env / "qorn.efd";
};

TEST_F(KitBoundsTest, EachLimitHoldsAtItsEdge) {
    std::string roomy = Entry(u"a", 0, 0);
    roomy += std::string(kKitMaxRecordBytes - roomy.size(), '\0');
    roomy.replace(0, 4, U32(kKitMaxRecordBytes));
    std::string tooRoomy = roomy + '\0';
    tooRoomy.replace(0, 4, U32(kKitMaxRecordBytes + 1));
    const auto descriptions = [](std::uint32_t count) {
        std::string image = U32(1) + U32(count);
        for (std::uint32_t i = 0; i < count; ++i) image += EncodeDescriptionRecord({});
        return image + U32(0);
    };
    const auto named = [](const std::u16string& name) { return Multi(U32(1) + Entry(name, 0, 0)); };
    const std::tuple<const char*, std::string, ErrorCode> cases[] = {
        {"as many descriptions as allowed", descriptions(kKitMaxDescriptions), ERR_NONE},
        {"one description too many", descriptions(kKitMaxDescriptions + 1), ERR_INVALID_DATA},
        {"longest description text", U32(0) + Text(kKitMaxTextUnits) + Text(0) + Text(0) + U32(0), ERR_NONE},
        {"description text one unit too long", U32(0) + Text(kKitMaxTextUnits + 1) + Text(0) + Text(0) + U32(0),
         ERR_INVALID_DATA},
        {"longest record", Multi(U32(1) + roomy), ERR_NONE},
        {"record one byte too long", Multi(U32(1) + tooRoomy), ERR_INVALID_DATA},
        {"component of NAME_MAX bytes", named(std::u16string(255, u'a')), ERR_NONE},
        {"component one byte too long", named(std::u16string(256, u'a')), ERR_INVALID_DATA},
        {"component of 85 three-byte characters", named(std::u16string(85, u'あ')), ERR_NONE},
        {"component of 128 two-byte characters", named(std::u16string(128, u'é')), ERR_INVALID_DATA},
        {"name of PATH_MAX - 1 bytes", named(LongName(PATH_MAX - 1)), ERR_NONE},
        {"name one byte too long", named(LongName(PATH_MAX)), ERR_INVALID_DATA},
    };
    for (const auto& [what, image, expected] : cases) {
        scratch::WriteBytes(kit, DeflateRaw(image));
        KitReader reader;
        EXPECT_EQ(KitOpen(reader, Wide(kit)), expected) << what;
        if (expected != ERR_NONE) {
            EXPECT_TRUE(reader.entries.empty()) << what;
        }
    }
}

// Long names use up the budget for all names with far fewer entries.
const std::u16string kLongestName = LongName(PATH_MAX - 1);
const std::uint64_t kEntriesAtNameBudget = kKitMaxNameUnits / kLongestName.size();

// Peak resident memory, in KiB, of a child process that opens the kit; -1
// when KitOpen gave another answer than `expected` or listed other entries.
long ChildPeakKiB(const std::string& kit, ErrorCode expected, std::uint64_t entries) {
    const pid_t child = fork();
    if (child == 0) {
        const bool answered = [&] {
            KitReader reader;  // gone before the exit, image and all
            return KitOpen(reader, Wide(kit)) == expected && reader.entries.size() == entries;
        }();
        _exit(answered ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

// The kit (tens of millions of real, tiny records), the largest kit
// the limits let through, and the entry count and name budget at their edges.
TEST_F(KitBoundsTest, EntryCountAndNameBudgetHoldAtTheirEdgesInBoundedMemory) {
    // What every entry is named, how many there are, and KitOpen's answer.
    const std::tuple<const char*, std::u16string, std::uint64_t, ErrorCode> cases[] = {
        {"most entries, the names budget shared out", std::u16string(kKitMaxNameUnits / kKitMaxEntries, u'a'),
         kKitMaxEntries, ERR_NONE},
        {"one entry too many", u"a", kKitMaxEntries + 1, ERR_INVALID_DATA},
        {"20 million entries", u"a", 20000000, ERR_INVALID_DATA},
        {"long names up to the budget", kLongestName, kEntriesAtNameBudget, ERR_NONE},
        {"long names past the budget", kLongestName, kEntriesAtNameBudget + 1, ERR_INVALID_DATA},
    };
    for (const auto& [what, name, count, expected] : cases) {
        WriteRepeatedKit(kit, Multi(U32(static_cast<std::uint32_t>(count))), Entry(name, 0, 0), count);
        const long peak = ChildPeakKiB(kit, expected, expected == ERR_NONE ? count : 0);
        EXPECT_GT(peak, 0) << what << ": KitOpen gave another answer";
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        EXPECT_LT(peak, 256 * 1024) << what;  // a sanitizer's own memory aside
#endif
        EXPECT_TRUE(scratch::Names(env.temp()).empty()) << what;
    }
}

TEST_F(KitBoundsTest, UnpackingStopsBeforeTheImageCrowdsOutTheMargin) {
    // An 8 MiB image: the last question comes after 7 MiB at least.
    WriteRepeatedKit(kit, Multi(U32(1) + Entry(u"a", 0, 8 * kMiB - 100)), std::string(1, 'x'), 8 * kMiB - 100);
    // The free space the stand-in file system tells, and its own answer.
    const std::tuple<const char*, std::uint64_t, ErrorCode, ErrorCode> cases[] = {
        {"plenty of room", 1024 * kMiB, ERR_NONE, ERR_NONE},
        {"room for the image and the margin", 8 * kMiB + kImageSpaceMargin, ERR_NONE, ERR_NONE},
        {"room for the image but not the margin", 7 * kMiB + kImageSpaceMargin - 1, ERR_NONE, ERR_DISK_FULL},
        {"free space unknown", 0, ERR_INVALID_PARAMETER, ERR_NONE},
    };
    for (const auto& [what, freeBytes, answer, expected] : cases) {
        int questions = 0;
        const FreeSpaceProbe probe = [&, freeBytes = freeBytes, answer = answer](FileHandle, std::uint64_t* bytes) {
            ++questions;
            *bytes = freeBytes;
            return answer;
        };
        KitReader reader;
        EXPECT_EQ(KitOpen(reader, Wide(kit), probe), expected) << what;
        if (expected == ERR_NONE) {
            // Asked about once a MiB: often enough to stop in time, seldom enough to cost nothing.
            EXPECT_GE(questions, 8) << what;
            EXPECT_LE(questions, 10) << what;
        } else {
            EXPECT_TRUE(reader.entries.empty()) << what;
            EXPECT_TRUE(scratch::Names(env.temp()).empty()) << what;
        }
    }
}

}  // namespace
