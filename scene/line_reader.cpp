#include "scene/line_reader.h"

#include <cstring>

namespace scene {

long MemoryText::Read(char* buffer, size_t bufferSize) {
    const size_t count = size - position < bufferSize ? size - position : bufferSize;
    std::memcpy(buffer, text + position, count);
    position += count;
    return static_cast<long>(count);
}

bool LineReader::Fill() {
    if (ended) {
        return false;
    }
    const long got = source.Read(chunk, sizeof chunk);
    if (got <= 0 || static_cast<size_t>(got) > sizeof chunk) {
        ended = true;
        failed = got != 0;
        return false;
    }
    chunkSize = static_cast<size_t>(got);
    chunkPosition = 0;
    return true;
}

int LineReader::Next(char* buffer) {
    int kept = 0;
    bool started = false;
    for (;;) {
        if (chunkPosition == chunkSize && !Fill()) {
            break;
        }
        const char c = chunk[chunkPosition++];
        started = true;
        if (kept < LineBufferSize - 1) {
            buffer[kept++] = c;
        }
        if (c == '\n') {
            break;
        }
    }
    if (failed) {
        // A line cut by a read failure is not judged: the text did not end here.
        kept = 0;
        started = false;
    }
    buffer[kept] = '\0';
    if (started) {
        ++lineNumber;
    }
    return kept;
}

} // namespace scene
