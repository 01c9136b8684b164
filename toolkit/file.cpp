#include "toolkit/file.h"

#include "toolkit/archive.h"
#include "toolkit/error.h"

#include <climits>
#include <cstdarg>
#include <cstring>
#include <string>

namespace {

constexpr size_t printBufferSize = 512;
constexpr int printLongest = 500;
const char* const printTooLong = "**** STRING TO LONG ****\n";

// The program names its files the Windows way ("scrnshot\zentor00.bmp").
std::string DiskPath(const char* name) {
    std::string path(name);
#if !defined(_WIN32)
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
#endif
    return path;
}

} // namespace

void File::SetByteOrder(uint32_t mode) {
    if (mode & ModeLittleEndian)
        order = ByteOrder::Little;
    else if (mode & ModeBigEndian)
        order = ByteOrder::Big;
    else
        order = HostByteOrder();
}

bool File::Open(const char* name, uint32_t mode) {
    Close();
    const char* streamMode = nullptr;
    if (mode & ModeRead)
        streamMode = "rb";
    else if (mode & ModeWrite)
        streamMode = "wb";
    else if (mode & ModeUpdate)
        streamMode = "rb+";
    if (!streamMode)
        return SetError(ErrorCode::OpenFailed);
    SetByteOrder(mode);

    if (archivesOpen && (mode & ModeRead) && !(mode & ModeDiskOnly)) {
        Archive* found = nullptr;
        ArchiveEntry* foundEntry = ArchiveFind(name, &found);
        if (!foundEntry)
            return false; // missing from the archives: no code
        return OpenArchiveMember(found, foundEntry);
    }

    stream = std::fopen(DiskPath(name).c_str(), streamMode);
    if (!stream)
        return SetError(ErrorCode::OpenFailed);
    inArchive = 0;
    entry = nullptr;
    return true;
}

bool File::OpenMember(Archive* memberArchive, ArchiveEntry* memberEntry, uint32_t numberMode) {
    Close();
    if (!memberArchive || !memberEntry)
        return false;
    SetByteOrder(numberMode);
    return OpenArchiveMember(memberArchive, memberEntry);
}

bool File::OpenArchiveMember(Archive* memberArchive, ArchiveEntry* memberEntry) {
    if (memberArchive->openCount == 0) {
        // The archive's disk file is open exactly while one of its members is.
        if (!memberArchive->file.Open(memberArchive->path, ModeRead | ModeDiskOnly))
            return false;
        memberArchive->filePositionKnown = false;
    }
    ++memberArchive->openCount;
    archive = memberArchive;
    entry = memberEntry;
    entry->position = 0;
    inArchive = 1;
    return true;
}

bool File::Read(void* buffer, uint32_t count) {
    if (inArchive) {
        if (!ArchiveSeek(archive, entry))
            return false;
        if (uint64_t(entry->position) + count > entry->size)
            return SetError(ErrorCode::EndOfFile);
        // Positions move only with bytes actually read; after a failed read the
        // archive's file stands somewhere unknown.
        if (!archive->file.Read(buffer, count)) {
            archive->filePositionKnown = false;
            return false;
        }
        entry->position += count;
        archive->filePosition += count;
        return true;
    }
    if (count == 0)
        return true;
    if (std::fread(buffer, 1, count, stream) == count)
        return true;
    return SetError(std::feof(stream) ? ErrorCode::EndOfFile : ErrorCode::ReadFailed);
}

bool File::Write(const void* buffer, uint32_t count) {
    if (inArchive)
        return false;
    if (count == 0)
        return true;
    if (std::fwrite(buffer, 1, count, stream) != count)
        return SetError(ErrorCode::WriteFailed);
    return true;
}

bool File::ReadByte(uint8_t* out) {
    return Read(out, 1);
}

bool File::WriteByte(uint8_t value) {
    if (inArchive)
        return false;
    if (std::fputc(value, stream) == EOF)
        return SetError(ErrorCode::WriteFailed);
    return true;
}

template <typename T> bool File::ReadNumber(T* out) {
    uint8_t bytes[sizeof(T)];
    if (!Read(bytes, sizeof bytes))
        return false;
    *out = LoadBytes<T>(bytes, order);
    return true;
}

template <typename T> bool File::WriteNumber(T value) {
    if (inArchive)
        return false;
    uint8_t bytes[sizeof(T)];
    StoreBytes(bytes, value, order);
    return Write(bytes, sizeof bytes);
}

bool File::Read16(uint16_t* out) {
    return ReadNumber(out);
}
bool File::Write16(uint16_t value) {
    return WriteNumber(value);
}
bool File::Read32(uint32_t* out) {
    return ReadNumber(out);
}
bool File::Write32(uint32_t value) {
    return WriteNumber(value);
}
bool File::ReadFloat(float* out) {
    return ReadNumber(out);
}
bool File::WriteFloat(float value) {
    return WriteNumber(value);
}
bool File::ReadDouble(double* out) {
    return ReadNumber(out);
}
bool File::WriteDouble(double value) {
    return WriteNumber(value);
}

bool File::Seek(uint32_t offset, SeekOrigin origin) {
    if (inArchive) {
        uint32_t target;
        switch (origin) {
        case SeekStart:
            target = offset;
            break;
        case SeekCurrent:
            target = entry->position + offset; // wraps: two's complement moves back
            break;
        case SeekEnd:
            target = entry->size + offset;
            break;
        default:
            return SetError(ErrorCode::SeekFailed);
        }
        if (target > entry->size)
            return SetError(ErrorCode::EndOfFile);
        entry->position = target;
        return true;
    }
    int whence;
    long distance;
    switch (origin) {
    case SeekStart:
        whence = SEEK_SET;
        if (offset > static_cast<uint32_t>(LONG_MAX))
            return SetError(ErrorCode::SeekFailed);
        distance = static_cast<long>(offset);
        break;
    case SeekCurrent:
        whence = SEEK_CUR;
        distance = static_cast<int32_t>(offset);
        break;
    case SeekEnd:
        whence = SEEK_END;
        distance = static_cast<int32_t>(offset);
        break;
    default:
        return SetError(ErrorCode::SeekFailed);
    }
    if (std::fseek(stream, distance, whence) != 0)
        return SetError(ErrorCode::SeekFailed);
    return true;
}

bool File::Tell(uint32_t* out) {
    if (inArchive) {
        *out = entry->position;
        return true;
    }
    long position = std::ftell(stream);
    if (position < 0 || static_cast<unsigned long>(position) > UINT32_MAX)
        return SetError(ErrorCode::TellFailed);
    *out = static_cast<uint32_t>(position);
    return true;
}

bool File::GetSize(uint32_t* out) {
    if (inArchive) {
        *out = entry->size;
        return true;
    }
    uint32_t saved, size;
    if (!Tell(&saved) || !Seek(0, SeekEnd) || !Tell(&size) || !Seek(saved, SeekStart))
        return false;
    *out = size;
    return true;
}

int32_t File::ReadLine(char* buffer, int32_t max) {
    if (max < 1)
        return 0;
    if (inArchive) {
        if (!ArchiveSeek(archive, entry))
            return 0;
        uint32_t left = entry->size - entry->position;
        uint32_t limit = static_cast<uint32_t>(max - 1) < left ? max - 1 : left;
        // Read byte by byte so that the positions count the bytes consumed, even
        // when the line holds a zero byte.
        uint32_t consumed = 0;
        std::FILE* source = archive->file.stream;
        while (consumed < limit) {
            int c = std::getc(source);
            if (c == EOF) {
                archive->filePositionKnown = false;
                break;
            }
            buffer[consumed++] = static_cast<char>(c);
            if (c == '\n')
                break;
        }
        buffer[consumed] = 0;
        entry->position += consumed;
        archive->filePosition += consumed;
        return static_cast<int32_t>(std::strlen(buffer));
    }
    if (!std::fgets(buffer, max, stream))
        return 0;
    return static_cast<int32_t>(std::strlen(buffer));
}

bool File::Print(const char* format, ...) {
    if (inArchive)
        return false;
    char text[printBufferSize];
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    // A negative length is how older Windows run-times report truncation.
    if (length < 0 || length > printLongest)
        return Write(printTooLong, static_cast<uint32_t>(std::strlen(printTooLong)));
    return Write(text, static_cast<uint32_t>(length));
}

void File::Close() {
    if (inArchive) {
        if (archive) {
            --archive->openCount;
            if (archive->openCount == 0)
                archive->file.Close();
        }
        archive = nullptr;
        entry = nullptr;
        inArchive = 0;
        return;
    }
    if (stream) {
        std::fclose(stream);
        stream = nullptr;
    }
}
