// Line-by-line reading of scene text with a fixed line buffer. Owns the rule for
// over-long lines, what a zero byte is, and the line count; knows nothing of
// keywords or files. Every source of scene text goes through the one LineReader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scene {

// Size of the buffer every scene line is read into, terminator included.
constexpr int LineBufferSize = 1024;

// Where scene text comes from: bytes in order. Read copies up to size bytes
// into buffer and returns how many it copied, 0 at the end of the input and -1
// when the input cannot be read further.
class TextSource {
public:
    virtual ~TextSource() = default;
    virtual long Read(char* buffer, size_t size) = 0;
};

// Text held in memory (tests, the fuzzer); it need not be zero-terminated.
class MemoryText : public TextSource {
public:
    MemoryText(const char* text, size_t size) : text(text), size(size) {}
    long Read(char* buffer, size_t bufferSize) override;

private:
    const char* text;
    size_t size;
    size_t position = 0;
};

// Splits the text into lines, each ending after its line feed (a carriage
// return before it stays in the line) or at the end of the input. A zero byte
// is a character of its line like any other: it ends neither the line nor the
// text. A line longer than the buffer keeps its first LineBufferSize - 1 bytes
// and the rest of it is skipped, so the tail of a long line is never taken for
// a line of its own.
class LineReader {
public:
    explicit LineReader(TextSource& source) : source(source) {}
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Reads the next line into buffer (LineBufferSize bytes) and puts a zero
    // byte after it; returns the number of bytes kept (zero bytes of the line
    // included), 0 at the end of the input or when it cannot be read.
    int Next(char* buffer);

    // 1-based number of the line last read; 0 before the first.
    long LineNumber() const { return lineNumber; }

    // True once the source failed: the text ended early, not at its end.
    bool Failed() const { return failed; }

private:
    // Refills chunk; false at the end of the input or on a failure.
    bool Fill();

    TextSource& source;
    long lineNumber = 0;
    bool ended = false;
    bool failed = false;
    char chunk[4096];
    size_t chunkSize = 0;
    size_t chunkPosition = 0;
};

} // namespace scene
