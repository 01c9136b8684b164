// Runs the built slvtool as a program and a fresh temporary folder for its
// files, for the tests of its commands (SLVTOOL_PATH names the program).
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

inline bool WriteFile(const std::string& path, const void* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

template <typename Container> bool WriteFile(const std::string& path, const Container& bytes) {
    return WriteFile(path, bytes.data(), bytes.size());
}

// A fresh folder under the system's temporary folder, removed with its files;
// `path` is empty when it could not be made.
class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/solvane.XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) != nullptr)
            path = buffer.data();
    }
    ~TempDir() {
        if (!path.empty() && std::system(("rm -rf '" + path + "'").c_str()) != 0)
            std::fprintf(stderr, "could not remove %s\n", path.c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return path + "/" + name; }

    std::string path;
};

} // namespace testsupport
