// Number scanning for scene text, with the results of the C scanf family (count
// of values read, -1 for text that is empty up to its end) but bounded and
// without undefined conversions: integers saturate to 32 bits, and a float that
// is not finite in 32 bits does not count as read. The text is given with its
// length: a zero byte inside it is a character that no number contains.
#pragma once

#include <cstdint>
#include <string_view>

namespace scene {

class TextScanner {
public:
    explicit TextScanner(std::string_view text)
        : cursor(text.data()), end(text.data() + text.size()) {}

    // Each reads one value after optional white space; on failure the value and
    // the cursor stay as they were and every later read fails too.
    bool Integer(int32_t& value);
    bool Float(float& value);

    // Result in scanf terms after reads that returned `read` values: -1 when
    // nothing was read and only white space was left, else `read`.
    int Result(int read) const;

private:
    // The first character of the next value after white space (noting that input
    // was seen), or nullptr once a read has failed.
    const char* Start();

    const char* cursor;
    const char* end;
    bool failed = false;
    bool sawInput = false;
};

// The common shapes: "%d" / "%ld", "%f", and up to three integers ("%d %d %d").
int ScanIntegers(std::string_view text, int32_t* values, int count);
int ScanFloats(std::string_view text, float* values, int count);

} // namespace scene
