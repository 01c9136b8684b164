#include "toolkit/memory.h"

#include "toolkit/error.h"
#include "toolkit/file.h"

#include <cstdlib>
#include <new>

Allocator* allocator = nullptr;
List* pictureHandlers = nullptr;

namespace {

constexpr uint32_t guardSize = 2;
constexpr unsigned char guardLow = 0x00;  // byte at offset size
constexpr unsigned char guardHigh = 0xFF; // byte at offset size + 1

bool GuardIntact(const BlockRecord& record) {
    const unsigned char* guard = static_cast<const unsigned char*>(record.address) + record.size;
    return guard[0] == guardLow && guard[1] == guardHigh;
}

// Releases the block under the cursor of blocks with its record and takes it off
// total. False when its guard was damaged: that is recorded, and the block is
// released all the same.
bool ReleaseCurrent(List& blocks, uint32_t& total) {
    BlockRecord* record = static_cast<BlockRecord*>(blocks.Current());
    bool intact = GuardIntact(*record);
    if (!intact)
        SetError(ErrorCode::GuardDamaged);
    std::free(record->address);
    total -= record->size + guardSize;
    delete record;
    blocks.RemoveCurrent();
    return intact;
}

const char* const dumpRule = "+-----+---------+----------+\n";

} // namespace

void* MemoryManager::Allocate(uint32_t size) {
    // The held total is 32-bit; a block that cannot be counted cannot be had.
    if (size > UINT32_MAX - guardSize || total > UINT32_MAX - guardSize - size) {
        SetError(ErrorCode::OutOfMemory);
        return nullptr;
    }
    BlockRecord* record = new (std::nothrow) BlockRecord;
    if (!record) {
        SetError(ErrorCode::OutOfMemory);
        return nullptr;
    }
    unsigned char* block = static_cast<unsigned char*>(std::malloc(size_t(size) + guardSize));
    if (!block) {
        delete record;
        SetError(ErrorCode::OutOfMemory);
        return nullptr;
    }
    record->address = block;
    record->size = size;
    block[size] = guardLow;
    block[size + 1] = guardHigh;
    if (!blocks.Append(record)) {
        std::free(block);
        delete record;
        SetError(ErrorCode::OutOfMemory);
        return nullptr;
    }
    total += size + guardSize;
    return block;
}

bool MemoryManager::Free(void* block) {
    if (!block || total == 0)
        return true;
    for (bool more = blocks.First(); more; more = blocks.Next()) {
        if (static_cast<BlockRecord*>(blocks.Current())->address == block)
            return ReleaseCurrent(blocks, total);
    }
    return SetError(ErrorCode::MemoryEntryNotFound);
}

bool MemoryManager::Unimplemented(uintptr_t) {
    return SetError(ErrorCode::NotImplemented);
}

bool MemoryManager::FreeAll() {
    bool result = true;
    while (blocks.First()) {
        if (!ReleaseCurrent(blocks, total))
            result = false;
    }
    return result;
}

bool MemoryManager::Dump(const char* fileName) {
    File file;
    if (!file.Open(fileName, ModeWrite))
        return false;
    if (!file.Print("%s", dumpRule) || !file.Print("| Nr. | Adress  | Size     |\n") ||
        !file.Print("%s", dumpRule))
        return false;
    int number = 0;
    for (bool more = blocks.First(); more; more = blocks.Next(), ++number) {
        const BlockRecord* record = static_cast<const BlockRecord*>(blocks.Current());
        unsigned long long address = reinterpret_cast<uintptr_t>(record->address);
        unsigned long sizeWithGuard = static_cast<unsigned long>(record->size) + guardSize;
        if (!file.Print("| %3d | %8llx | %8lu |\n", number, address, sizeWithGuard))
            return false;
    }
    if (!file.Print("%s", dumpRule) ||
        !file.Print("| %3d |       0 | %8lu |\n", number, static_cast<unsigned long>(total)) ||
        !file.Print("%s", dumpRule))
        return false;
    file.Close();
    return true;
}

bool ToolkitStartup() {
    if (!allocator)
        allocator = new (std::nothrow) MemoryManager;
    if (!pictureHandlers)
        pictureHandlers = new (std::nothrow) List;
    return allocator != nullptr && pictureHandlers != nullptr;
}

void ToolkitShutdown() {
    if (pictureHandlers) {
        pictureHandlers->Clear();
        delete pictureHandlers;
        pictureHandlers = nullptr;
    }
    if (allocator) {
        delete allocator;
        allocator = nullptr;
    }
}

void* Allocate(uint32_t size) {
    if (!allocator) {
        SetError(ErrorCode::OutOfMemory);
        return nullptr;
    }
    return allocator->Allocate(size);
}

bool Free(void* block) {
    if (!block)
        return true;
    return allocator ? allocator->Free(block) : false;
}
