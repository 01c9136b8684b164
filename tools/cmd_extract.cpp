// slvtool extract ARCHIVE DIR: writes every member back as a file below DIR,
// creating folders, read through the toolkit's own archive reader. Member names
// that would leave DIR (absolute, with a drive, "." or ".." parts) are refused
// before anything is written.
#include "tools/commands.h"

#include "toolkit/archive.h"
#include "toolkit/file.h"
#include "toolkit/memory.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Names come from the archive: show control characters as '?' to keep one line.
std::string Printable(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    return text;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "slvtool extract: %s\n", Printable(message).c_str());
    ArchiveRelease(nullptr);
    ToolkitShutdown();
    return 1;
}

// Splits a member name at backslashes (and slashes) into the parts of a path
// below the target folder; empty when the name could leave it.
std::vector<std::string> SafeParts(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i <= name.size(); ++i) {
        char c = i < name.size() ? name[i] : '\\';
        if (c == '\\' || c == '/') {
            if (part.empty() || part == "." || part == "..")
                return {};
            parts.push_back(part);
            part.clear();
        } else if (c == ':') {
            return {}; // a drive or a stream name
        } else {
            part += c;
        }
    }
    return parts;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string WriteMember(Archive* archive, ArchiveEntry* entry, const fs::path& target) {
    File member;
    if (!member.OpenMember(archive, entry, 0))
        return "cannot read the archive";
    std::FILE* out = std::fopen(target.string().c_str(), "wb");
    if (!out)
        return target.string() + ": cannot open for writing";
    std::vector<unsigned char> buffer(1 << 16);
    uint32_t left = entry->size;
    std::string problem;
    while (left > 0 && problem.empty()) {
        uint32_t chunk = left < buffer.size() ? left : static_cast<uint32_t>(buffer.size());
        if (!member.Read(buffer.data(), chunk))
            problem = std::string("member \"") + entry->name + "\": read error";
        else if (std::fwrite(buffer.data(), 1, chunk, out) != chunk)
            problem = target.string() + ": write failed";
        left -= chunk;
    }
    if (std::fclose(out) != 0 && problem.empty())
        problem = target.string() + ": write failed";
    return problem;
}

} // namespace

int slvtool::ExtractCommand(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: slvtool extract ARCHIVE DIR\n");
        return 2;
    }
    const char* path = argv[1];
    const fs::path folder = argv[2];
    if (!ToolkitStartup()) {
        std::fprintf(stderr, "slvtool extract: out of memory\n");
        return 1;
    }
    ArchiveOpen(path);
    if (archives.GetCount() == 0)
        return Fail(std::string(path) + ": " + ArchiveFailure());
    archives.First();
    Archive* archive = static_cast<Archive*>(archives.Current());
    List& entries = archive->entries;

    // Check every name before writing anything.
    std::vector<ArchiveEntry*> members;
    for (bool more = entries.First(); more; more = entries.Next()) {
        ArchiveEntry* entry = static_cast<ArchiveEntry*>(entries.Current());
        if (SafeParts(entry->name).empty())
            return Fail(std::string(path) + ": member name \"" + entry->name +
                        "\" would leave the target folder");
        members.push_back(entry);
    }

    std::set<std::string> written;
    std::error_code error;
    for (ArchiveEntry* entry : members) {
        // A reader finds only the first of names equal without regard to case.
        if (!written.insert(Lower(entry->name)).second) {
            std::fprintf(stderr,
                         "slvtool extract: skipped \"%s\": an earlier member has the same name\n",
                         Printable(entry->name).c_str());
            continue;
        }
        fs::path target = folder;
        for (const std::string& part : SafeParts(entry->name))
            target /= part;
        fs::create_directories(target.parent_path(), error);
        if (error)
            return Fail(target.parent_path().string() + ": " + error.message());
        std::string problem = WriteMember(archive, entry, target);
        if (!problem.empty())
            return Fail(problem);
    }
    std::printf("%zu members written to %s\n", written.size(), folder.string().c_str());
    ArchiveRelease(nullptr);
    ToolkitShutdown();
    return 0;
}
