// slvtool scene: not written yet.
#include "tools/commands.h"

#include <cstdio>

int slvtool::SceneCommand(int, char**) {
    std::fprintf(stderr, "slvtool: scene is not available yet\n");
    return 1;
}
