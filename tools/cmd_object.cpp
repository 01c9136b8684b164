// slvtool object: not written yet.
#include "tools/commands.h"

#include <cstdio>

int slvtool::ObjectCommand(int, char**) {
    std::fprintf(stderr, "slvtool: object is not available yet\n");
    return 1;
}
