// slvtool list ARCHIVE: prints the name, size and offset of every member, in
// directory order, read through the toolkit's own archive reader. Control
// characters in names are shown as '?'.
#include "tools/commands.h"
#include "tools/names.h"

#include "toolkit/archive.h"
#include "toolkit/memory.h"

#include <cstdio>
#include <cstring>

int slvtool::ListCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: slvtool list ARCHIVE\n");
        return 2;
    }
    const char* path = argv[1];
    if (!ToolkitStartup()) {
        std::fprintf(stderr, "slvtool list: out of memory\n");
        return 1;
    }
    ArchiveOpen(path);
    if (archives.GetCount() == 0) {
        std::fprintf(stderr, "slvtool list: %s: %s\n", slvtool::Printable(path).c_str(),
                     ArchiveFailure());
        ToolkitShutdown();
        return 1;
    }
    archives.First();
    Archive* archive = static_cast<Archive*>(archives.Current());
    List& entries = archive->entries;

    int nameWidth = 4;
    for (bool more = entries.First(); more; more = entries.Next()) {
        int length =
            static_cast<int>(std::strlen(static_cast<ArchiveEntry*>(entries.Current())->name));
        if (length > nameWidth)
            nameWidth = length;
    }
    unsigned long long total = 0;
    std::printf("%-*s %10s %10s\n", nameWidth, "name", "size", "offset");
    for (bool more = entries.First(); more; more = entries.Next()) {
        const ArchiveEntry* entry = static_cast<const ArchiveEntry*>(entries.Current());
        std::printf("%-*s %10lu %10lu\n", nameWidth, slvtool::Printable(entry->name).c_str(),
                    static_cast<unsigned long>(entry->size),
                    static_cast<unsigned long>(entry->offset));
        total += entry->size;
    }
    std::printf("%lu members, %llu bytes\n", static_cast<unsigned long>(entries.GetCount()), total);
    ArchiveRelease(nullptr);
    ToolkitShutdown();
    return 0;
}
