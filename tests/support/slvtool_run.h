// Runs the built slvtool as a program, for the tests of its commands
// (SLVTOOL_PATH names the program).
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace testsupport {

struct ToolRun {
    int exitCode = -1;
    std::string output; // both streams, in the order written
};

#ifdef SLVTOOL_PATH
inline ToolRun RunSlvtool(const std::string& arguments) {
    const std::string command = std::string(SLVTOOL_PATH) + " " + arguments + " 2>&1";
    ToolRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[512];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
#endif

} // namespace testsupport
