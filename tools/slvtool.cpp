// slvtool: the content tool. Packs, lists and extracts slv.dat archives and
// inspects the LightWave objects and scenes inside them. Each command lives in
// its own cmd_*.cpp file.
#include "tools/commands.h"

#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(int argc, char** argv); // argv[0] is the command name
};

const Command commands[] = {
    {"pack", "pack OUT.dat DIR", slvtool::PackCommand},
    {"list", "list ARCHIVE", slvtool::ListCommand},
    {"extract", "extract ARCHIVE DIR", slvtool::ExtractCommand},
    {"object", "object FILE [--archive ARCHIVE]", slvtool::ObjectCommand},
    {"scene", "scene FILE [--archive ARCHIVE] [--render FRAME OUT.bmp]", slvtool::SceneCommand},
};

int Usage() {
    std::fprintf(stderr, "usage:\n");
    for (const Command& command : commands)
        std::fprintf(stderr, "  slvtool %s\n", command.usage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    for (const Command& command : commands) {
        if (std::strcmp(argv[1], command.name) == 0)
            return command.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "slvtool: unknown command \"%s\"\n", argv[1]);
    return Usage();
}
