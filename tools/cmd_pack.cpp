// slvtool pack OUT.dat DIR: packs every file below DIR into an archive, each as a
// member named by its path relative to DIR with backslashes. Members are sorted
// by name so that the same folder always gives the same bytes; every byte the
// reader ignores is written as zero. The archive is written to a temporary file
// beside OUT.dat that replaces it only when the whole pack succeeded, so a
// failed pack leaves an existing archive as it was.
#include "tools/commands.h"
#include "tools/names.h"

#include "glide/bytes.h"
#include "toolkit/archive.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

struct Member {
    std::string name; // relative path with backslashes
    fs::path source;
    uint32_t size;
    uint32_t offset;
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "slvtool pack: %s\n", slvtool::Printable(message).c_str());
    return 1;
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
        // Folders are walked (a link to a folder is not); files and links to
        // files are packed. Anything else would be left out without a word.
        const fs::file_status own = walk->symlink_status(error);
        if (error)
            return walk->path().string() + ": " + error.message();
        if (fs::is_directory(own))
            continue;
        const fs::file_status status = walk->status(error);
        if (fs::is_symlink(own) && status.type() == fs::file_type::not_found)
            return walk->path().string() + ": a symbolic link to nothing cannot be packed";
        if (error)
            return walk->path().string() + ": " + error.message();
        if (!fs::is_regular_file(status))
            return walk->path().string() + (fs::is_symlink(own) ? ": a symbolic link to " : ": ") +
                   (fs::is_directory(status) ? "a folder" : "a special file") + " cannot be packed";
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

// Creates an empty file for writing in the folder of path, named after it, with
// the permissions a new file gets; its name goes to temporary.
std::FILE* CreateBeside(const fs::path& path, fs::path& temporary) {
#if defined(_WIN32)
    temporary = path;
    temporary += ".tmp";
    return std::fopen(temporary.string().c_str(), "wb");
#else
    fs::path pattern = path.parent_path() / ("." + path.filename().string() + ".XXXXXX");
    std::string name = pattern.string();
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0)
        return nullptr;
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    temporary = name;
    std::FILE* out = fdopen(descriptor, "wb");
    if (out == nullptr) {
        close(descriptor);
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return out;
#endif
}

// Puts the written bytes on the disk before the rename makes them the archive.
bool Flush(std::FILE* out) {
#if defined(_WIN32)
    (void)out;
    return true;
#else
    return fsync(fileno(out)) == 0;
#endif
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
        folded.emplace_back(slvtool::Folded(members[i].name), i);
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

    // A link named as the output stays a link: the archive it leads to is replaced.
    fs::path destination = output;
    if (fs::is_symlink(fs::symlink_status(output, error))) {
        destination = fs::canonical(output, error);
        if (error)
            return Fail(output.string() + ": " + error.message());
    }
    fs::path temporary;
    std::FILE* out = CreateBeside(destination, temporary);
    if (!out)
        return Fail(destination.string() + ": cannot create a file beside it");
    problem = std::fwrite(directory.data(), 1, directory.size(), out) == directory.size()
                  ? ""
                  : "write failed";
    for (size_t i = 0; i < members.size() && problem.empty(); ++i)
        problem = CopyMember(members[i], out);
    if (std::fflush(out) != 0 && problem.empty())
        problem = "write failed";
    if (problem.empty() && !Flush(out))
        problem = "write failed";
    if (std::fclose(out) != 0 && problem.empty())
        problem = "write failed";
    if (problem.empty()) {
        fs::rename(temporary, destination, error);
        if (error)
            problem = error.message();
    }
    if (!problem.empty()) {
        fs::remove(temporary, error);
        return Fail(output.string() + ": " + problem);
    }
    std::printf("%s: %zu members, %llu bytes\n", output.string().c_str(), members.size(),
                static_cast<unsigned long long>(offset));
    return 0;
}
