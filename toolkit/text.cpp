#include "toolkit/text.h"

#include <cstring>

unsigned char FoldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

namespace {

int Sign(int difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

} // namespace

int MemCompare(const void* a, const void* b, uint32_t n) {
    const unsigned char* pa = static_cast<const unsigned char*>(a);
    const unsigned char* pb = static_cast<const unsigned char*>(b);
    for (uint32_t i = 0; i < n; ++i) {
        if (pa[i] != pb[i])
            return pa[i] < pb[i] ? -1 : 1;
    }
    return 0;
}

void* MemCopy(void* dst, const void* src, uint32_t n) {
    if (n)
        std::memcpy(dst, src, n);
    return dst;
}

void* MemFill(void* dst, int value, uint32_t n) {
    if (n)
        std::memset(dst, static_cast<unsigned char>(value), n);
    return dst;
}

uint32_t StrLength(const char* s) {
    return static_cast<uint32_t>(std::strlen(s));
}

char* StrCopy(char* dst, const char* src) {
    return std::strcpy(dst, src);
}

char* StrAppend(char* dst, const char* src) {
    return std::strcat(dst, src);
}

const char* StrFindLast(const char* s, int c) {
    return std::strrchr(s, c);
}

char* StrFindLast(char* s, int c) {
    return std::strrchr(s, c);
}

int StrCompare(const char* a, const char* b) {
    return Sign(std::strcmp(a, b));
}

int StrCompareNoCase(const char* a, const char* b) {
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(b);
    for (;; ++pa, ++pb) {
        int difference = FoldCase(*pa) - FoldCase(*pb);
        if (difference != 0 || *pa == 0)
            return difference;
    }
}

int StrCompareN(const char* a, const char* b, uint32_t n) {
    return n ? Sign(std::strncmp(a, b, n)) : 0;
}

int StrCompareNoCaseN(const char* a, const char* b, uint32_t n) {
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(b);
    for (uint32_t i = 0; i < n; ++i) {
        int difference = FoldCase(pa[i]) - FoldCase(pb[i]);
        if (difference != 0 || pa[i] == 0)
            return difference;
    }
    return 0;
}
