// slvtool list: not written yet.
#include "tools/commands.h"

#include <cstdio>

int slvtool::ListCommand(int, char**) {
    std::fprintf(stderr, "slvtool: list is not available yet\n");
    return 1;
}
