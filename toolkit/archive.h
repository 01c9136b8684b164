// The data archive: a header, a directory of fixed-size records and the members'
// bytes stored as they are. Open archives serve File reads by name
// (toolkit/file.h); several may be open, searched in the order they were opened.
#pragma once

#include "toolkit/file.h"
#include "toolkit/list.h"

#include <cstdint>

// The archive file's layout. All numbers little-endian; offsets from the start
// of the file; nothing aligned. A writer fills the unread bytes with zeros.
//   header (32 bytes): magic "QZF" (no terminator) at 0; version, signed 16-bit,
//     at 3; entry count, unsigned 32-bit, at 5; 23 unread bytes from 9.
//   directory: entry count records of 82 bytes from offset 32: member size,
//     unsigned 32-bit, at 0; 10 unread bytes from 4; member offset, unsigned
//     32-bit, at 14; member name, zero-terminated in 64 bytes, at 18.
//   members: each member's bytes at its offset, size bytes long.
// Names are relative paths with backslashes ("data\Square.lwo").
namespace archive_format {
constexpr uint32_t headerSize = 32;
constexpr uint32_t magicSize = 3;
constexpr char magic[magicSize + 1] = "QZF";
constexpr uint32_t versionOffset = 3;
constexpr uint32_t countOffset = 5;
constexpr int16_t minimumVersion = 256; // 0x0100; 0x8000 and up read as negative
constexpr int16_t currentVersion = 256;
constexpr uint32_t recordSize = 82;
constexpr uint32_t recordSizeOffset = 0;
constexpr uint32_t recordMemberOffset = 14;
constexpr uint32_t recordNameOffset = 18;
constexpr uint32_t nameSize = 64; // including the terminator: names of at most 63 characters
} // namespace archive_format

// One member. Lives in one memory-manager block with its name right behind it.
struct ArchiveEntry {
    char* name;        // zero-terminated, in the same block
    uint32_t size;     // member size in bytes
    uint32_t offset;   // first byte's position in the archive file
    uint32_t position; // read position within the member, 0 to size; 0 on every open
};

// One open archive.
struct Archive {
    char* path = nullptr;           // copy of the archive file's path (memory manager)
    File file;                      // the archive's own disk file; open while openCount > 0
    List entries;                   // of ArchiveEntry*, in directory order
    uint32_t openCount = 0;         // members currently open through Files
    uint32_t filePosition = 0;      // where `file` stands, when filePositionKnown
    bool filePositionKnown = false; // false whenever `file` has just been opened
};

// The open archives in opening order, and whether there is any.
extern List archives;
extern int32_t archivesOpen;

// Opens and registers the archive at path (a disk path); returns its number of
// entries. 0 on failure, with nothing registered; an archive without entries is
// registered and also gives 0. Needs ToolkitStartup. The archive is refused
// when it is missing or unreadable, has a wrong magic or a version below 256,
// is shorter than its directory, has a name without a terminator within its 64
// bytes, or has a member that runs past the end of the file; ArchiveFailure()
// tells which.
uint32_t ArchiveOpen(const char* path);

// One line on why the last ArchiveOpen failed; "" after a success.
const char* ArchiveFailure();

// The first entry, in opening order of the archives and directory order within
// one, whose name equals name regardless of ASCII case; its archive goes to
// archiveOut. Null when none has it. Names are whole strings: separators are
// not translated. Moves the lists' cursors.
ArchiveEntry* ArchiveFind(const char* name, Archive** archiveOut);

// Brings the archive's file to the entry's read position; seeks only when the
// file does not already stand there. False (code 7) when the seek fails.
bool ArchiveSeek(Archive* archive, ArchiveEntry* entry);

// Releases the archives whose path equals name (case-sensitive), or all of them
// when name is null; clears archivesOpen when none is left. Always true. Every
// member of a released archive must have been closed.
bool ArchiveRelease(const char* name);
