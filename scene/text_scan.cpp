#include "scene/text_scan.h"

#include "scene/line_reader.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace scene {

namespace {

bool IsSpace(char c) {
    return c != '\0' && std::isspace(static_cast<unsigned char>(c));
}

// A number's characters run up to white space, a zero byte or the end of the
// text. They are copied out with a terminator so that the C conversions never
// read past the text; a number longer than a line is cut to a line's length.
class NumberText {
public:
    NumberText(const char* start, const char* end) {
        size_t length = 0;
        while (start + length < end && length < sizeof text - 1 && start[length] != '\0' &&
               !IsSpace(start[length])) {
            ++length;
        }
        std::memcpy(text, start, length);
        text[length] = '\0';
    }
    const char* Text() const { return text; }

private:
    char text[LineBufferSize];
};

} // namespace

const char* TextScanner::Start() {
    if (failed) {
        return nullptr;
    }
    const char* start = cursor;
    while (start < end && IsSpace(*start)) {
        ++start;
    }
    if (start < end) {
        sawInput = true;
    }
    return start;
}

bool TextScanner::Integer(int32_t& value) {
    const char* start = Start();
    if (start == nullptr) {
        return false;
    }
    const NumberText number(start, end);
    char* stop = nullptr;
    long long parsed = std::strtoll(number.Text(), &stop, 10);
    if (stop == number.Text()) {
        failed = true;
        return false;
    }
    if (parsed > INT32_MAX) {
        parsed = INT32_MAX;
    } else if (parsed < INT32_MIN) {
        parsed = INT32_MIN;
    }
    value = static_cast<int32_t>(parsed);
    cursor = start + (stop - number.Text());
    return true;
}

bool TextScanner::Float(float& value) {
    const char* start = Start();
    if (start == nullptr) {
        return false;
    }
    const NumberText number(start, end);
    char* stop = nullptr;
    double parsed = std::strtod(number.Text(), &stop);
    // Infinities, NaNs and values beyond the float range are not numbers a
    // scene can use: they count as unreadable.
    if (stop == number.Text() || !std::isfinite(parsed) ||
        std::fabs(parsed) > 3.4028234663852886e38) {
        failed = true;
        return false;
    }
    value = static_cast<float>(parsed);
    cursor = start + (stop - number.Text());
    return true;
}

int TextScanner::Result(int read) const {
    if (read == 0 && !sawInput) {
        return -1;
    }
    return read;
}

int ScanIntegers(std::string_view text, int32_t* values, int count) {
    TextScanner scanner(text);
    int read = 0;
    while (read < count && scanner.Integer(values[read])) {
        ++read;
    }
    return scanner.Result(read);
}

int ScanFloats(std::string_view text, float* values, int count) {
    TextScanner scanner(text);
    int read = 0;
    while (read < count && scanner.Float(values[read])) {
        ++read;
    }
    return scanner.Result(read);
}

} // namespace scene
