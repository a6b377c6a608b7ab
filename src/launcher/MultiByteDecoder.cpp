#include "launcher/MultiByteDecoder.h"

#include <cstdint>
#include <cwchar>
#include <vector>

#include "text/Convert.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::size_t kInvalid = static_cast<std::size_t>(-1);
constexpr std::size_t kIncomplete = static_cast<std::size_t>(-2);

// Makes `locale` the calling thread's locale for one scope, so that
// measuring characters never changes the process-wide locale.
class ThreadLocaleScope {
public:
    explicit ThreadLocaleScope(locale_t locale) : previous_(uselocale(locale)) {}
    ~ThreadLocaleScope() { uselocale(previous_); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    locale_t previous_;
};

locale_t EnvironmentCharacterLocale() {
    locale_t locale = newlocale(LC_CTYPE_MASK, "", locale_t{});
    return locale != locale_t{} ? locale : newlocale(LC_CTYPE_MASK, "C", locale_t{});
}

}  // namespace

MultiByteDecoder::MultiByteDecoder() : locale_(EnvironmentCharacterLocale()) {
    // Most encodings leave ASCII as it is, which lets plain text skip the
    // character-by-character conversion; some (Shift JIS) do not.
    ThreadLocaleScope scope(locale_ != locale_t{} ? locale_ : LC_GLOBAL_LOCALE);
    asciiTransparent_ = true;
    for (int code = 1; code < 128 && asciiTransparent_; ++code) {
        const char byte = static_cast<char>(code);
        std::mbstate_t state{};
        wchar_t unit = 0;
        asciiTransparent_ = std::mbrtowc(&unit, &byte, 1, &state) == 1 && unit == static_cast<wchar_t>(code);
    }
}

MultiByteDecoder::~MultiByteDecoder() {
    if (locale_ != locale_t{}) freelocale(locale_);
}

// Bytes of the character at `bytes`: its length, kIncomplete or kInvalid.
std::size_t MultiByteDecoder::CharacterLength(const char* bytes, std::size_t available) {
    std::mbstate_t state{};
    wchar_t unit = 0;
    const std::size_t length = std::mbrtowc(&unit, bytes, available, &state);
    if (length == kInvalid || length == 0 || static_cast<std::uint32_t>(unit) > 0xFFFF) exact_ = false;
    return length == 0 ? 1 : length;  // a zero byte is a character of one byte
}

// How many leading bytes are ASCII characters that stand for themselves.
std::size_t MultiByteDecoder::PlainPrefix(const char* bytes, std::size_t count) const {
    if (!asciiTransparent_ || !pending_.empty()) return 0;
    std::size_t plain = 0;
    while (plain < count && static_cast<unsigned char>(bytes[plain]) - 1U < 127U) ++plain;
    return plain;
}

// Converts a run of valid characters through the program's one conversion.
void MultiByteDecoder::AppendRun(const char* bytes, std::size_t count, std::u16string& out) {
    std::size_t start = 0;
    while (start < count) {
        std::size_t end = start;
        while (end < count && bytes[end] != '\0') ++end;
        const auto length = static_cast<std::int32_t>(end - start);
        const std::int32_t units = length == 0 ? 0 : MultiByteToWideChar(0, 0, bytes + start, length, nullptr, 0);
        if (units < 0) {
            exact_ = false;
            out.append(end - start, kReplacement);  // the encodings disagree; keep one mark per byte
        } else if (units > 0) {
            std::vector<char16_t> buffer(static_cast<std::size_t>(units));
            MultiByteToWideChar(0, 0, bytes + start, length, buffer.data(), units);
            out.append(buffer.data(), buffer.size());
        }
        if (end < count) out.push_back(u'\0');
        start = end + 1;
    }
}

void MultiByteDecoder::Decode(const char* bytes, std::size_t count, std::u16string& out) {
    const std::size_t plain = PlainPrefix(bytes, count);
    out.append(bytes, bytes + plain);
    if (plain == count) return;
    pending_.append(bytes + plain, count - plain);
    const char* data = pending_.data();
    const std::size_t size = pending_.size();
    ThreadLocaleScope scope(locale_ != locale_t{} ? locale_ : LC_GLOBAL_LOCALE);
    std::size_t runStart = 0;
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t length = CharacterLength(data + pos, size - pos);
        if (length == kIncomplete) break;
        if (length == kInvalid) {
            AppendRun(data + runStart, pos - runStart, out);
            out.push_back(kReplacement);
            runStart = ++pos;
            continue;
        }
        pos += length;
    }
    AppendRun(data + runStart, pos - runStart, out);
    pending_.erase(0, pos);
}

bool MultiByteDecoder::Finish(std::u16string& out) {
    const bool exact = exact_ && pending_.empty();
    out.append(pending_.size(), kReplacement);
    pending_.clear();
    exact_ = true;
    return exact;
}
