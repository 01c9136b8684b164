// Fuzzes the archive reader: each input is written to a file, opened as an archive,
// and every member read through File the ways the loaders read.
#include "toolkit/archive.h"
#include "toolkit/file.h"
#include "toolkit/memory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#if defined(_WIN32)
#include <process.h>
#define GetProcessId _getpid
#else
#include <unistd.h>
#define GetProcessId getpid
#endif

namespace {

std::string archivePath;

// Every result is allowed, only a fault is not.
void Exercise(File& file) {
    uint32_t size = 0;
    file.GetSize(&size);
    char line[40];
    for (int lines = 0; lines < 4096 && file.ReadLine(line, sizeof line) > 0; ++lines) {
    }
    file.Seek(0, SeekStart);
    uint32_t value32;
    uint16_t value16;
    float valueFloat;
    double valueDouble;
    while (file.Read32(&value32) && file.Read16(&value16) && file.ReadFloat(&valueFloat)) {
    }
    file.ReadDouble(&valueDouble);
    file.Seek(uint32_t(-3), SeekEnd);
    unsigned char tail[8];
    file.Read(tail, sizeof tail);
    file.Read(tail, 3);
    file.Seek(uint32_t(-1), SeekCurrent);
    file.Read(tail, 1);
    file.Seek(size + 1, SeekStart);
    file.Read(tail, UINT32_MAX);
    file.Write(tail, 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Each input goes through a file; a memory-backed folder keeps that cheap.
    const char* chosen = std::getenv("TMPDIR");
    std::error_code error;
    const std::string folder = chosen && *chosen                                  ? chosen
                               : std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm"
                                                                                  : "/tmp";
    archivePath = folder + "/fuzz_archive_" + std::to_string(GetProcessId()) + ".dat";
    std::atexit([] { std::remove(archivePath.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* out = std::fopen(archivePath.c_str(), "wb");
    if (!out)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    if (!ToolkitStartup())
        std::abort();
    if (ArchiveOpen(archivePath.c_str()) > 0) {
        archives.First();
        Archive* archive = static_cast<Archive*>(archives.Current());
        // Collect the entries first: opening by name moves the list cursors.
        ArchiveEntry* entries[64];
        int count = 0;
        for (bool more = archive->entries.First(); more && count < 64;
             more = archive->entries.Next())
            entries[count++] = static_cast<ArchiveEntry*>(archive->entries.Current());
        for (int i = 0; i < count; ++i) {
            File byName, direct;
            if (byName.Open(entries[i]->name, ModeRead | ModeBigEndian))
                Exercise(byName);
            // Two members open at once share the archive's file.
            if (direct.OpenMember(archive, entries[(i + 1) % count], ModeLittleEndian)) {
                Exercise(direct);
                if (byName.IsOpen())
                    Exercise(byName);
            }
        }
    }
    ArchiveRelease(nullptr);
    if (archivesOpen != 0 || allocator->GetTotal() != 0)
        std::abort(); // something outlived its archive
    ToolkitShutdown();
    return 0;
}
