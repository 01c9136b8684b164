// slvtool pack OUT.dat DIR: packs every file below DIR into an archive, each as a
// member named by its path relative to DIR with backslashes. Members are sorted
// by name so that the same folder always gives the same bytes; every byte the
// reader ignores is written as zero.
#include "tools/commands.h"

#include "toolkit/archive.h"
#include "toolkit/bytes.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Member {
    std::string name; // relative path with backslashes
    fs::path source;
    uint32_t size;
    uint32_t offset;
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "slvtool pack: %s\n", message.c_str());
    return 1;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Collects the files below folder, skipping the archive being written. Returns
// an empty text on success, else the reason.
std::string CollectMembers(const fs::path& folder, const fs::path& output,
                           std::vector<Member>& members) {
    namespace layout = archive_format;
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, error);
    if (error)
        return folder.string() + ": " + error.message();
    for (fs::recursive_directory_iterator end; walk != end; walk.increment(error)) {
        if (error)
            return folder.string() + ": " + error.message();
        if (!walk->is_regular_file(error))
            continue;
        if (fs::exists(output) && fs::equivalent(walk->path(), output, error))
            continue;
        fs::path relative = walk->path().lexically_relative(folder);
        std::string name;
        for (const fs::path& part : relative) {
            std::string text = part.string();
            if (text.find('\\') != std::string::npos)
                return "\"" + relative.generic_string() +
                       "\": a backslash inside a file or folder name cannot be packed";
            name += (name.empty() ? "" : "\\") + text;
        }
        if (name.size() >= layout::nameSize)
            return "member name \"" + name + "\" has " + std::to_string(name.size()) +
                   " characters; an archive holds names of at most " +
                   std::to_string(layout::nameSize - 1);
        uintmax_t size = walk->file_size(error);
        if (error)
            return walk->path().string() + ": " + error.message();
        if (size > UINT32_MAX)
            return walk->path().string() + ": larger than 4 GiB, too large for an archive";
        members.push_back({name, walk->path(), static_cast<uint32_t>(size), 0});
    }
    return "";
}

// Copies one member's bytes to out; the file must still have the size found.
std::string CopyMember(const Member& member, std::FILE* out) {
    std::FILE* in = std::fopen(member.source.string().c_str(), "rb");
    if (!in)
        return member.source.string() + ": cannot open for reading";
    std::vector<unsigned char> buffer(1 << 16);
    uint64_t copied = 0;
    for (;;) {
        size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
        if (got == 0)
            break;
        copied += got;
        if (copied > member.size)
            break;
        if (std::fwrite(buffer.data(), 1, got, out) != got) {
            std::fclose(in);
            return "write failed";
        }
    }
    bool readError = std::ferror(in) != 0;
    std::fclose(in);
    if (readError)
        return member.source.string() + ": read error";
    if (copied != member.size)
        return member.source.string() + ": the file changed size while it was packed";
    return "";
}

} // namespace

int slvtool::PackCommand(int argc, char** argv) {
    namespace layout = archive_format;
    if (argc != 3) {
        std::fprintf(stderr, "usage: slvtool pack OUT.dat DIR\n");
        return 2;
    }
    const fs::path output = argv[1];
    const fs::path folder = argv[2];
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return Fail(folder.string() + ": not a folder");

    std::vector<Member> members;
    std::string problem = CollectMembers(folder, output, members);
    if (!problem.empty())
        return Fail(problem);
    std::sort(members.begin(), members.end(),
              [](const Member& a, const Member& b) { return a.name < b.name; });
    // The reader finds names without regard to case, so such twins would hide.
    std::vector<std::pair<std::string, size_t>> folded;
    for (size_t i = 0; i < members.size(); ++i)
        folded.emplace_back(Lower(members[i].name), i);
    std::sort(folded.begin(), folded.end());
    for (size_t i = 1; i < folded.size(); ++i) {
        if (folded[i].first == folded[i - 1].first)
            return Fail("\"" + members[folded[i - 1].second].name + "\" and \"" +
                        members[folded[i].second].name +
                        "\" differ only in case; the reader would find only one");
    }

    uint64_t offset = layout::headerSize + uint64_t(members.size()) * layout::recordSize;
    for (Member& member : members) {
        if (offset + member.size > UINT32_MAX)
            return Fail("the members add up to more than 4 GiB, too large for an archive");
        member.offset = static_cast<uint32_t>(offset);
        offset += member.size;
    }

    std::vector<uint8_t> directory(layout::headerSize + members.size() * layout::recordSize, 0);
    ByteWriter fields(directory, ByteOrder::Little);
    fields.Seek(0);
    fields.Bytes(layout::magic, layout::magicSize);
    fields.Seek(layout::versionOffset);
    fields.I16(layout::currentVersion);
    fields.Seek(layout::countOffset);
    fields.U32(static_cast<uint32_t>(members.size()));
    for (size_t i = 0; i < members.size(); ++i) {
        const size_t record = layout::headerSize + i * layout::recordSize;
        fields.Seek(record + layout::recordSizeOffset);
        fields.U32(members[i].size);
        fields.Seek(record + layout::recordMemberOffset);
        fields.U32(members[i].offset);
        fields.Seek(record + layout::recordNameOffset);
        fields.Bytes(members[i].name.c_str(), members[i].name.size() + 1);
    }

    std::FILE* out = std::fopen(output.string().c_str(), "wb");
    if (!out)
        return Fail(output.string() + ": cannot open for writing");
    problem = std::fwrite(directory.data(), 1, directory.size(), out) == directory.size()
                  ? ""
                  : "write failed";
    for (size_t i = 0; i < members.size() && problem.empty(); ++i)
        problem = CopyMember(members[i], out);
    if (std::fclose(out) != 0 && problem.empty())
        problem = "write failed";
    if (!problem.empty()) {
        fs::remove(output, error);
        return Fail(output.string() + ": " + problem);
    }
    std::printf("%s: %zu members, %llu bytes\n", output.string().c_str(), members.size(),
                static_cast<unsigned long long>(offset));
    return 0;
}
