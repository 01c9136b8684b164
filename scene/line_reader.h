// Line-by-line reading of scene text with a fixed line buffer. Owns the rule for
// over-long lines and the line count; knows nothing of keywords or files.
#pragma once

#include <cstddef>

namespace scene {

// Size of the buffer every scene line is read into, terminator included.
constexpr int LineBufferSize = 1024;

// Where scene text comes from. ReadLine behaves like fgets: at most size - 1
// characters, stopping after a line feed (kept), zero-terminated; returns the
// length of the text, 0 at the end of the input or on failure.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual int ReadLine(char* buffer, int size) = 0;
};

// Text held in memory (tests, the fuzzer). The text need not be zero-terminated;
// a zero byte inside it ends the line it is in, as with fgets.
class TextLineSource : public LineSource {
public:
    TextLineSource(const char* text, size_t size) : text(text), size(size) {}
    int ReadLine(char* buffer, int bufferSize) override;

private:
    const char* text;
    size_t size;
    size_t position = 0;
};

// Reads whole lines: a line longer than the buffer keeps its first
// LineBufferSize - 1 characters and the rest of it is skipped, so the tail of
// a long line is never taken for a line of its own.
class LineReader {
public:
    explicit LineReader(LineSource& source) : source(source) {}

    // Reads the next line into buffer (LineBufferSize bytes); returns the
    // length of the text kept, 0 at the end of the input.
    int Next(char* buffer);

    // 1-based number of the line last read; 0 before the first.
    long LineNumber() const { return lineNumber; }

private:
    LineSource& source;
    long lineNumber = 0;
};

} // namespace scene
