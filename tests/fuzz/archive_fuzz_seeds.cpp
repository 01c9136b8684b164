// Writes the starting inputs of fuzz_archive into the folder given as argument.
#include "tests/geometry/lwob_builder.h"
#include "tests/support/archive_image.h"
#include "tests/support/scratch_folder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Member = std::pair<std::string, std::string>; // name, data

testsupport::Bytes ArchiveBytes(const std::vector<Member>& members) {
    testsupport::ArchiveImage image;
    for (const Member& member : members)
        image.Add(member.first, member.second);
    return image.Build();
}

bool Write(const std::string& folder, const char* name, const testsupport::Bytes& bytes) {
    return testsupport::WriteWhole(folder + "/" + name, bytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: archive_fuzz_seeds FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    std::string scene =
        "LWSC\r\n1\r\n\r\nFirstFrame 1\r\nLastFrame 60\r\nLoadObject data\\Square.lwo";
    // A tiny LightWave object: FORM, LWOB and a PNTS chunk of one point.
    const lwobtest::Bytes objectBytes = lwobtest::Builder().Points({{1, 0, -1}}).Build();
    const std::string object(objectBytes.begin(), objectBytes.end());
    bool ok =
        Write(folder, "two_members",
              ArchiveBytes({{"scenes\\ZT-Options.lws", scene}, {"data\\Square.lwo", object}})) &&
        Write(folder, "empty", ArchiveBytes({})) &&
        Write(folder, "same_name", ArchiveBytes({{"A", "first\n"}, {"a", "second"}})) &&
        Write(folder, "empty_member", ArchiveBytes({{"nothing", ""}, {"one", "1"}})) &&
        Write(folder, "zero_in_line", ArchiveBytes({{"z", std::string("ab\0c\nd", 6)}}));
    if (!ok) {
        std::fprintf(stderr, "archive_fuzz_seeds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
