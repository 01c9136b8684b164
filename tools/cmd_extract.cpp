// slvtool extract: not written yet.
#include "tools/commands.h"

#include <cstdio>

int slvtool::ExtractCommand(int, char**) {
    std::fprintf(stderr, "slvtool: extract is not available yet\n");
    return 1;
}
