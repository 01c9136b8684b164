#include "scene/line_reader.h"

namespace scene {

int TextLineSource::ReadLine(char* buffer, int bufferSize) {
    if (bufferSize <= 0) {
        return 0;
    }
    int length = 0;
    while (length < bufferSize - 1 && position < size) {
        char c = text[position++];
        if (c == '\0') {
            break;
        }
        buffer[length++] = c;
        if (c == '\n') {
            break;
        }
    }
    buffer[length] = '\0';
    return length;
}

int LineReader::Next(char* buffer) {
    int length = source.ReadLine(buffer, LineBufferSize);
    if (length <= 0) {
        buffer[0] = '\0';
        return 0;
    }
    ++lineNumber;
    if (buffer[length - 1] != '\n' && length >= LineBufferSize - 1) {
        // The line did not fit: drop the rest of it, up to and including its line feed.
        char rest[LineBufferSize];
        for (;;) {
            int restLength = source.ReadLine(rest, LineBufferSize);
            if (restLength <= 0 || rest[restLength - 1] == '\n') {
                break;
            }
        }
    }
    return length;
}

} // namespace scene
