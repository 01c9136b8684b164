// File: the toolkit's one way to read and write files. A file opened for
// reading is served from the open data archives by name (toolkit/archive.h)
// unless ModeDiskOnly is given; numbers are converted between the file's byte
// order and the machine's.
#pragma once

#include "glide/bytes.h"

#include <cstdint>
#include <cstdio>

struct Archive;
struct ArchiveEntry;

// Open modes, a bit set. ModeRead wins over ModeWrite, ModeWrite over
// ModeUpdate; ModeLittleEndian wins over ModeBigEndian; without a byte-order
// bit numbers are taken in the machine's order.
enum FileMode : uint32_t {
    ModeRead = 1,         // read ("rb")
    ModeWrite = 2,        // write, creating or emptying the file ("wb")
    ModeUpdate = 4,       // read and write an existing file ("rb+")
    ModeLittleEndian = 8, // numbers in the file are little-endian
    ModeBigEndian = 16,   // numbers in the file are big-endian
    ModeDiskOnly = 32,    // never look in the archives
};

// Seek origins.
enum SeekOrigin : int16_t {
    SeekStart = 1,
    SeekCurrent = 2,
    SeekEnd = 4,
};

// Failures record codes 3 to 8 with SetError (toolkit/error.h), except where an
// operation says it records nothing. Operations other than Open and Close need
// an open File. A File is a small value object: made on the stack, opened,
// used and destroyed within one function.
class File {
public:
    File() = default;
    virtual ~File() { Close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens name. With an archive open, ModeRead and no ModeDiskOnly, name is
    // looked up in the archives only (no code recorded when it is missing);
    // otherwise the disk file is opened (code 3 on failure). A disk name written
    // with backslashes opens with slashes where the platform needs them.
    // An open File is closed first.
    virtual bool Open(const char* name, uint32_t mode);
    // All count bytes or false: code 4 at the end, 5 otherwise. A member read
    // that would cross the member's end reads nothing and keeps the position.
    virtual bool Read(void* buffer, uint32_t count);
    // Members cannot be written (false, no code); disk: code 6 on a short write.
    virtual bool Write(const void* buffer, uint32_t count);
    virtual bool ReadByte(uint8_t* out);
    virtual bool WriteByte(uint8_t value);
    virtual bool Read16(uint16_t* out);
    virtual bool Write16(uint16_t value);
    virtual bool Read32(uint32_t* out);
    virtual bool Write32(uint32_t value);
    virtual bool ReadFloat(float* out);
    virtual bool WriteFloat(float value);
    virtual bool ReadDouble(double* out);
    virtual bool WriteDouble(double value);
    // offset is unsigned 32-bit; a negative move is given as its two's
    // complement. A member cannot seek past its end (code 4); disk: code 7.
    virtual bool Seek(uint32_t offset, SeekOrigin origin);
    virtual bool Tell(uint32_t* out);
    virtual bool GetSize(uint32_t* out);
    // Reads one line like fgets: at most max - 1 characters, stopping after a
    // line feed (kept; a carriage return before it stays too), zero-terminated.
    // Returns the length of the text, 0 at the end, on failure or when max < 2.
    // A member's line never runs past the member's end.
    virtual int32_t ReadLine(char* buffer, int32_t max);
    // printf-style; a text over 500 characters is written as
    // "**** STRING TO LONG ****\n". Members: false.
    virtual bool Print(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // Harmless on a closed File. Closing the last open member of an archive
    // closes the archive's own disk file.
    virtual void Close();

    // Signed views of the 16-bit and 32-bit reads.
    bool Read16(int16_t* out) {
        return Read16(reinterpret_cast<uint16_t*>(out));
    }
    bool Read32(int32_t* out) {
        return Read32(reinterpret_cast<uint32_t*>(out));
    }

    // Opens one given member of an open archive for reading, whatever its name;
    // for tools that walk an archive's directory. numberMode: ModeLittleEndian
    // or ModeBigEndian or 0.
    bool OpenMember(Archive* archive, ArchiveEntry* entry, uint32_t numberMode);

    bool IsOpen() const {
        return inArchive ? archive != nullptr : stream != nullptr;
    }
    bool InArchive() const {
        return inArchive != 0;
    }

private:
    bool OpenArchiveMember(Archive* memberArchive, ArchiveEntry* memberEntry);
    template <typename T> bool ReadNumber(T* out);
    template <typename T> bool WriteNumber(T value);
    void SetByteOrder(uint32_t mode);

    Archive* archive = nullptr;    // archive of the open member, else null
    ArchiveEntry* entry = nullptr; // the open member, else null
    std::FILE* stream = nullptr;   // the open disk file, else null
    uint8_t inArchive = 0;         // 1 while a member is open
    ByteOrder order = HostByteOrder(); // of the numbers in the file
};
