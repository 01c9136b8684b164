#include "toolkit/archive.h"

#include "glide/bytes.h"
#include "toolkit/memory.h"
#include "toolkit/text.h"

#include <cassert>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

List archives;
int32_t archivesOpen = 0;

namespace {

char failureText[160] = "";

void ReleaseEntries(Archive* archive) {
    while (archive->entries.First()) {
        Free(archive->entries.Current());
        archive->entries.RemoveCurrent();
    }
}

// Undoes a partly built archive that was never registered; returns 0.
uint32_t Refuse(Archive* archive, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

uint32_t Refuse(Archive* archive, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(failureText, sizeof failureText, format, arguments);
    va_end(arguments);
    // The reason quotes names from the file: keep it one printable line.
    for (char* c = failureText; *c; ++c) {
        if (static_cast<unsigned char>(*c) < 0x20 || *c == 0x7F)
            *c = '?';
    }
    ReleaseEntries(archive);
    Free(archive->path);
    delete archive;
    return 0;
}

} // namespace

const char* ArchiveFailure() {
    return failureText;
}

uint32_t ArchiveOpen(const char* path) {
    namespace layout = archive_format;
    failureText[0] = 0;
    Archive* archive = new (std::nothrow) Archive;
    if (!archive) {
        std::snprintf(failureText, sizeof failureText, "out of memory");
        return 0;
    }
    uint32_t pathLength = StrLength(path);
    archive->path = static_cast<char*>(Allocate(pathLength + 1));
    if (!archive->path)
        return Refuse(archive, "out of memory");
    MemCopy(archive->path, path, pathLength + 1);

    File file;
    uint32_t fileSize = 0;
    if (!file.Open(path, ModeRead | ModeDiskOnly))
        return Refuse(archive, "cannot open the file");
    if (!file.GetSize(&fileSize))
        return Refuse(archive, "cannot get the size of the file");

    unsigned char header[layout::headerSize];
    if (!file.Read(header, sizeof header))
        return Refuse(archive, "truncated: the file is shorter than the %u-byte header",
                      unsigned(layout::headerSize));
    if (MemCompare(header, layout::magic, layout::magicSize) != 0)
        return Refuse(archive, "not an archive: wrong magic (expected \"QZF\")");
    ByteReader headerReader(header, sizeof header, ByteOrder::Little);
    int16_t version = 0;
    uint32_t count = 0;
    headerReader.Seek(layout::versionOffset);
    headerReader.I16(&version);
    headerReader.Seek(layout::countOffset);
    headerReader.U32(&count);
    if (version < layout::minimumVersion)
        return Refuse(archive, "unsupported version %d (at least %d)", int(version),
                      int(layout::minimumVersion));

    // The directory must fit in the file before anything is allocated for it.
    uint64_t room = (uint64_t(fileSize) - layout::headerSize) / layout::recordSize;
    if (count > room)
        return Refuse(archive,
                      "truncated: the directory claims %lu entries, the file has room for %lu",
                      static_cast<unsigned long>(count), static_cast<unsigned long>(room));

    for (uint32_t index = 0; index < count; ++index) {
        unsigned char record[layout::recordSize];
        if (!file.Read(record, sizeof record))
            return Refuse(archive, "truncated directory at entry %lu",
                          static_cast<unsigned long>(index));
        const char* name = reinterpret_cast<const char*>(record + layout::recordNameOffset);
        const void* terminator = std::memchr(name, 0, layout::nameSize);
        if (!terminator)
            return Refuse(archive, "entry %lu: name without a terminator in its %u bytes",
                          static_cast<unsigned long>(index), unsigned(layout::nameSize));
        uint32_t nameLength = static_cast<uint32_t>(static_cast<const char*>(terminator) - name);
        ByteReader fields(record, sizeof record, ByteOrder::Little);
        uint32_t size = 0, offset = 0;
        fields.Seek(layout::recordSizeOffset);
        fields.U32(&size);
        fields.Seek(layout::recordMemberOffset);
        fields.U32(&offset);
        if (uint64_t(offset) + size > fileSize)
            return Refuse(archive,
                          "truncated: member \"%s\" (offset %lu, size %lu) runs past the end of "
                          "the file (%lu bytes)",
                          name, static_cast<unsigned long>(offset),
                          static_cast<unsigned long>(size), static_cast<unsigned long>(fileSize));

        void* block = Allocate(uint32_t(sizeof(ArchiveEntry)) + nameLength + 1);
        if (!block)
            return Refuse(archive, "out of memory");
        ArchiveEntry* entry = static_cast<ArchiveEntry*>(block);
        entry->name = static_cast<char*>(block) + sizeof(ArchiveEntry);
        entry->size = size;
        entry->offset = offset;
        entry->position = 0;
        MemCopy(entry->name, name, nameLength + 1);
        if (!archive->entries.Append(entry)) {
            Free(entry);
            return Refuse(archive, "out of memory");
        }
    }
    if (!archives.Append(archive))
        return Refuse(archive, "out of memory");
    archivesOpen = 1;
    return count;
}

ArchiveEntry* ArchiveFind(const char* name, Archive** archiveOut) {
    for (bool more = archives.First(); more; more = archives.Next()) {
        Archive* archive = static_cast<Archive*>(archives.Current());
        List& entries = archive->entries;
        for (bool moreEntries = entries.First(); moreEntries; moreEntries = entries.Next()) {
            ArchiveEntry* entry = static_cast<ArchiveEntry*>(entries.Current());
            if (StrCompareNoCase(entry->name, name) == 0) {
                if (archiveOut)
                    *archiveOut = archive;
                return entry;
            }
        }
    }
    return nullptr;
}

bool ArchiveSeek(Archive* archive, ArchiveEntry* entry) {
    uint32_t target = entry->offset + entry->position;
    if (archive->filePositionKnown && archive->filePosition == target)
        return true;
    if (!archive->file.Seek(target, SeekStart)) {
        archive->filePositionKnown = false;
        return false;
    }
    archive->filePosition = target;
    archive->filePositionKnown = true;
    return true;
}

bool ArchiveRelease(const char* name) {
    bool more = archives.First();
    while (more) {
        Archive* archive = static_cast<Archive*>(archives.Current());
        if (name && StrCompare(archive->path, name) != 0) {
            more = archives.Next();
            continue;
        }
        assert(archive->openCount == 0 && "close every member before releasing its archive");
        ReleaseEntries(archive);
        Free(archive->path);
        delete archive;
        archives.RemoveCurrent();
        more = archives.First();
    }
    if (archives.GetCount() == 0)
        archivesOpen = 0;
    return true;
}
