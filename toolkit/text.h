// String and memory routines with fixed semantics: which comparisons ignore
// case (ASCII letters only, never the locale) and what they return. Strings are
// 8-bit characters ending with a zero byte; bytes compare as unsigned.
#pragma once

#include <cstdint>

// 0 when the n bytes are equal (also for n = 0), -1 when the first differing
// byte of a is smaller, 1 when it is larger.
int MemCompare(const void* a, const void* b, uint32_t n);
void* MemCopy(void* dst, const void* src, uint32_t n);
// Fills n bytes with the low byte of value.
void* MemFill(void* dst, int value, uint32_t n);

uint32_t StrLength(const char* s);
// Copies src with its terminator; returns dst.
char* StrCopy(char* dst, const char* src);
// Appends src behind the text in dst; returns dst.
char* StrAppend(char* dst, const char* src);
// The last occurrence of c in s, or null. c = 0 finds the terminator.
const char* StrFindLast(const char* s, int c);
char* StrFindLast(char* s, int c);

// The letter's lower case for 'A' to 'Z', every other byte itself: the one case fold
// of the comparisons below.
unsigned char FoldCase(unsigned char c);

// Case-sensitive: -1, 0 or 1.
int StrCompare(const char* a, const char* b);
// Case-insensitive over ASCII letters: negative, 0 or positive.
int StrCompareNoCase(const char* a, const char* b);
// As above over at most n bytes.
int StrCompareN(const char* a, const char* b, uint32_t n);
int StrCompareNoCaseN(const char* a, const char* b, uint32_t n);
