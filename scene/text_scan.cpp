#include "scene/text_scan.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace scene {

namespace {

const char* SkipSpace(const char* text) {
    while (*text != '\0' && std::isspace(static_cast<unsigned char>(*text))) {
        ++text;
    }
    return text;
}

} // namespace

const char* TextScanner::Start() {
    if (failed) {
        return nullptr;
    }
    const char* start = SkipSpace(cursor);
    if (*start != '\0') {
        sawInput = true;
    }
    return start;
}

bool TextScanner::Integer(int32_t& value) {
    const char* start = Start();
    if (start == nullptr) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(start, &end, 10);
    if (end == start) {
        failed = true;
        return false;
    }
    if (parsed > INT32_MAX) {
        parsed = INT32_MAX;
    } else if (parsed < INT32_MIN) {
        parsed = INT32_MIN;
    }
    value = static_cast<int32_t>(parsed);
    cursor = end;
    return true;
}

bool TextScanner::Float(float& value) {
    const char* start = Start();
    if (start == nullptr) {
        return false;
    }
    char* end = nullptr;
    double parsed = std::strtod(start, &end);
    // Infinities, NaNs and values beyond the float range are not numbers a
    // scene can use: they count as unreadable.
    if (end == start || !std::isfinite(parsed) || std::fabs(parsed) > 3.4028234663852886e38) {
        failed = true;
        return false;
    }
    value = static_cast<float>(parsed);
    cursor = end;
    return true;
}

int TextScanner::Result(int read) const {
    if (read == 0 && !sawInput) {
        return -1;
    }
    return read;
}

int ScanIntegers(const char* text, int32_t* values, int count) {
    TextScanner scanner(text);
    int read = 0;
    while (read < count && scanner.Integer(values[read])) {
        ++read;
    }
    return scanner.Result(read);
}

int ScanFloats(const char* text, float* values, int count) {
    TextScanner scanner(text);
    int read = 0;
    while (read < count && scanner.Float(values[read])) {
        ++read;
    }
    return scanner.Result(read);
}

} // namespace scene
