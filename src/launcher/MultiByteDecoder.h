// Decodes text that arrives in blocks (a file read piece by piece) from the
// locale's multibyte encoding into 16-bit units, so that a character whose
// bytes fall into two blocks is decoded whole.
#pragma once

#include <locale.h>

#include <cstddef>
#include <string>

class MultiByteDecoder {
public:
    // Uses the character encoding that the environment's locale names.
    MultiByteDecoder();
    ~MultiByteDecoder();
    MultiByteDecoder(const MultiByteDecoder&) = delete;
    MultiByteDecoder& operator=(const MultiByteDecoder&) = delete;

    // Appends the units of `count` bytes to `out`. Bytes that start a
    // character the block does not finish are held back for the next call.
    // A byte that cannot start a valid character becomes one U+FFFD, and
    // decoding resumes at the byte after it, so that its neighbours survive.
    void Decode(const char* bytes, std::size_t count, std::u16string& out);
    // Ends the input: held-back bytes of an unfinished character become one
    // U+FFFD each. Returns whether every character since the previous Finish
    // came out as one unit that stands for its bytes alone: false after a
    // U+FFFD for bad bytes, a character beyond U+FFFF or a zero byte.
    bool Finish(std::u16string& out);

private:
    std::size_t CharacterLength(const char* bytes, std::size_t available);
    void AppendRun(const char* bytes, std::size_t count, std::u16string& out);
    std::size_t PlainPrefix(const char* bytes, std::size_t count) const;

    locale_t locale_;
    bool asciiTransparent_ = false;  // bytes 1 to 127 are the characters of the same number
    bool exact_ = true;
    std::string pending_;
};
