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
    // U+FFFD each.
    void Finish(std::u16string& out);

private:
    std::size_t CharacterLength(const char* bytes, std::size_t available) const;
    static void AppendRun(const char* bytes, std::size_t count, std::u16string& out);

    locale_t locale_;
    std::string pending_;
};
