// The tracking allocator for large buffers (archive directories, pictures, the
// screenshot) and toolkit start-up and shut-down, which create and destroy it.
// Small objects (list nodes, records, class instances) use new/delete instead.
#pragma once

#include "toolkit/list.h"

#include <cstdint>

// The allocator interface every user calls through the global `allocator`.
class Allocator {
public:
    virtual ~Allocator() = default;
    // A block of size bytes, or null (code 13).
    virtual void* Allocate(uint32_t size) = 0;
    // Releases a block; see MemoryManager for the rules.
    virtual bool Free(void* block) = 0;
    // Records code 1 and returns false.
    virtual bool Unimplemented(uintptr_t argument) = 0;
    // Releases every live block; false when a guard was damaged.
    virtual bool FreeAll() = 0;
    // Bytes held, each block counted as its size plus the 2 guard bytes.
    virtual uint32_t GetTotal() const = 0;
    // Writes the table of live blocks to a text file.
    virtual bool Dump(const char* fileName) = 0;
};

// One live block as the manager tracks it.
struct BlockRecord {
    void* address;
    uint32_t size; // as the caller asked, without the guard
};

// Keeps a record of every live block in allocation order and two guard bytes
// behind each block (0x00 at offset size, 0xFF at size + 1), checked on release.
class MemoryManager : public Allocator {
public:
    MemoryManager() = default;
    ~MemoryManager() override { FreeAll(); }
    MemoryManager(const MemoryManager&) = delete;
    MemoryManager& operator=(const MemoryManager&) = delete;

    void* Allocate(uint32_t size) override;
    // Null, or anything while nothing is held: true, nothing done. A pointer not
    // handed out: code 14, false, nothing freed. A damaged guard: code 15 and
    // false, but the block is released all the same.
    bool Free(void* block) override;
    bool Unimplemented(uintptr_t argument) override;
    bool FreeAll() override;
    uint32_t GetTotal() const override { return total; }
    bool Dump(const char* fileName) override;

private:
    uint32_t total = 0;
    List blocks; // of BlockRecord*
};

// The global allocator: null before ToolkitStartup and after ToolkitShutdown.
extern Allocator* allocator;
// The picture format handler registry (see toolkit/picture.h), made and
// destroyed with the allocator.
extern List* pictureHandlers;

// Creates the allocator and the handler registry; true only if both exist.
bool ToolkitStartup();
// Clears and deletes the handler registry (not the handlers), then destroys the
// allocator, which frees every block still live.
void ToolkitShutdown();

// The global allocator's Allocate and Free. Without an allocator, Allocate
// records code 13 and gives null, Free gives false.
void* Allocate(uint32_t size);
bool Free(void* block);
