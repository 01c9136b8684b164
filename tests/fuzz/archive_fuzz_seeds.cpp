// Writes the starting inputs of fuzz_archive into the folder given as argument.
#include "tests/support/archive_image.h"
#include "tests/support/scratch_folder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Member = std::pair<std::string, std::string>; // name, data

bool Write(const std::string& folder, const char* name, const std::vector<Member>& members) {
    testsupport::ArchiveImage image;
    for (const Member& member : members)
        image.Add(member.first, member.second);
    return testsupport::WriteWhole(folder + "/" + name, image.Build());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: archive_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    // A scene and an object as the show packs them, and two names differing only in case.
    const bool ok =
        Write(folder, "two_members",
              {{"scenes\\ZT-Options.lws", "LWSC\r\n1\r\n\r\nFirstFrame 1\r\nLastFrame 60\r\n"},
               {"data\\Square.lwo", std::string("FORM\0\0\0\x0cLWOBPNTS\0\0\0\0", 20)}}) &&
        Write(folder, "same_name", {{"A", "first\n"}, {"a", "second"}});
    if (!ok) {
        std::fprintf(stderr, "archive_fuzz_seeds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
