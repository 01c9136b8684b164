// Writes the starting inputs of fuzz_archive into the folder given as argument.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Member {
    std::string name;
    std::string data;
};

std::string Archive(const std::vector<Member>& members, uint16_t version = 256) {
    std::string bytes = "QZF";
    bytes += char(version & 0xFF);
    bytes += char(version >> 8);
    uint32_t count = uint32_t(members.size());
    for (int i = 0; i < 4; ++i)
        bytes += char(count >> (8 * i));
    bytes.resize(32, '\0');
    uint32_t offset = uint32_t(32 + 82 * members.size());
    for (const Member& member : members) {
        std::string record(82, '\0');
        uint32_t size = uint32_t(member.data.size());
        for (int i = 0; i < 4; ++i) {
            record[i] = char(size >> (8 * i));
            record[14 + i] = char(offset >> (8 * i));
        }
        record.replace(18, member.name.size(), member.name);
        bytes += record;
        offset += size;
    }
    for (const Member& member : members)
        bytes += member.data;
    return bytes;
}

bool Write(const std::string& folder, const char* name, const std::string& bytes) {
    std::FILE* out = std::fopen((folder + "/" + name).c_str(), "wb");
    if (!out)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
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
    const char objectBytes[] = "FORM\0\0\0\x18LWOBPNTS\0\0\0\x0C\x3F\x80\0\0\0\0\0\0\xBF\x80\0\0";
    std::string object(objectBytes, sizeof objectBytes - 1);
    bool ok = Write(folder, "two_members",
                    Archive({{"scenes\\ZT-Options.lws", scene}, {"data\\Square.lwo", object}})) &&
              Write(folder, "empty", Archive({})) &&
              Write(folder, "same_name", Archive({{"A", "first\n"}, {"a", "second"}})) &&
              Write(folder, "empty_member", Archive({{"nothing", ""}, {"one", "1"}})) &&
              Write(folder, "zero_in_line", Archive({{"z", std::string("ab\0c\nd", 6)}}));
    if (!ok) {
        std::fprintf(stderr, "archive_fuzz_seeds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
