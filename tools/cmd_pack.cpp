// slvtool pack: not written yet.
#include "tools/commands.h"

#include <cstdio>

int slvtool::PackCommand(int, char**) {
    std::fprintf(stderr, "slvtool: pack is not available yet\n");
    return 1;
}
