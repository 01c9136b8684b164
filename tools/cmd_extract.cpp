// slvtool extract ARCHIVE DIR: writes every member back as a file below DIR,
// creating folders, read through the toolkit's own archive reader. Every name is
// checked before anything is written: names that would leave DIR (absolute,
// with a drive, empty, "." or ".." parts), two members that would land on one
// file (backslash and slash are one separator, and case is ignored as the
// archive reader ignores it), a member that would stand where another needs a
// folder, and a symbolic link already in DIR on a member's way are refused.
#include "tools/commands.h"
#include "tools/names.h"

#include "toolkit/archive.h"
#include "toolkit/file.h"
#include "toolkit/memory.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

using slvtool::Printable;

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

// One member on its way to the disk.
struct Planned {
    ArchiveEntry* entry;
    std::vector<std::string> parts; // path below the target folder
};

// The file each member lands on, as the folder would name it ignoring case,
// and the folders each needs: a second member on one file, or a file where a
// folder must be, is found before anything is written. Empty when none clash.
std::string FindClash(const std::vector<Planned>& members) {
    std::map<std::string, const char*> files;   // landing path -> member name
    std::map<std::string, const char*> folders; // folder path -> first member inside
    auto clash = [](const char* first, const char* second, const std::string& why) {
        return std::string("members \"") + first + "\" and \"" + second + "\" " + why;
    };
    for (const Planned& member : members) {
        const char* name = member.entry->name;
        std::string path;
        for (size_t i = 0; i < member.parts.size(); ++i) {
            path += (i == 0 ? "" : "/") + slvtool::Folded(member.parts[i]);
            if (i + 1 == member.parts.size())
                break;
            auto file = files.find(path);
            if (file != files.end())
                return clash(file->second, name, "clash: the second needs the first as a folder");
            folders.emplace(path, name);
        }
        auto folder = folders.find(path);
        if (folder != folders.end())
            return clash(name, folder->second, "clash: the second needs the first as a folder");
        auto earlier = files.emplace(path, name);
        if (!earlier.second)
            return clash(earlier.first->second, name, "would be written to the same file");
    }
    return "";
}

// A symbolic link already on the member's way below the target folder (a
// folder or the file itself) is never followed, nor is something other than a
// folder where a folder is needed. Empty when the way is clear.
std::string CheckWay(const fs::path& folder, const Planned& member) {
    fs::path at = folder;
    for (size_t i = 0; i < member.parts.size(); ++i) {
        at /= member.parts[i];
        std::error_code error;
        const fs::file_status status = fs::symlink_status(at, error);
        if (status.type() == fs::file_type::not_found)
            return "";
        if (error)
            return at.string() + ": " + error.message();
        if (fs::is_symlink(status))
            return at.string() + " is a symbolic link; extract does not follow links";
        const bool last = i + 1 == member.parts.size();
        if (!last && !fs::is_directory(status))
            return at.string() + " is in the way of member \"" + member.entry->name +
                   "\": not a folder";
        if (last && !fs::is_regular_file(status))
            return at.string() + " is in the way of member \"" + member.entry->name +
                   "\": not a file";
    }
    return "";
}

// Makes the member's folders one at a time, each a real folder and no link.
std::string MakeFolders(const fs::path& folder, const Planned& member) {
    fs::path at = folder;
    for (size_t i = 0; i + 1 < member.parts.size(); ++i) {
        at /= member.parts[i];
        std::error_code error;
        fs::create_directory(at, error);
        if (error)
            return at.string() + ": " + error.message();
        if (!fs::is_directory(fs::symlink_status(at, error)))
            return at.string() + ": not a folder";
    }
    return "";
}

// Opens target for writing without following a link in its place.
std::FILE* OpenForWriting(const fs::path& target) {
#if defined(_WIN32)
    return std::fopen(target.string().c_str(), "wb");
#else
    const int descriptor =
        open(target.string().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return nullptr;
    std::FILE* out = fdopen(descriptor, "wb");
    if (out == nullptr)
        close(descriptor);
    return out;
#endif
}

std::string WriteMember(Archive* archive, ArchiveEntry* entry, const fs::path& target) {
    File member;
    if (!member.OpenMember(archive, entry, 0))
        return "cannot read the archive";
    std::FILE* out = OpenForWriting(target);
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

    // Check every name, and the way to every file, before writing anything.
    std::vector<Planned> members;
    size_t number = 0;
    for (bool more = entries.First(); more; more = entries.Next()) {
        ArchiveEntry* entry = static_cast<ArchiveEntry*>(entries.Current());
        ++number;
        if (entry->name[0] == '\0')
            return Fail(std::string(path) + ": member " + std::to_string(number) +
                        " has an empty name");
        std::vector<std::string> parts = SafeParts(entry->name);
        if (parts.empty())
            return Fail(std::string(path) + ": member name \"" + entry->name +
                        "\" would leave the target folder");
        members.push_back({entry, std::move(parts)});
    }
    std::string problem = FindClash(members);
    if (!problem.empty())
        return Fail(std::string(path) + ": " + problem);
    for (const Planned& member : members) {
        problem = CheckWay(folder, member);
        if (!problem.empty())
            return Fail(problem);
    }

    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return Fail(folder.string() + ": " + error.message());
    for (const Planned& member : members) {
        problem = MakeFolders(folder, member);
        fs::path target = folder;
        for (const std::string& part : member.parts)
            target /= part;
        if (problem.empty())
            problem = WriteMember(archive, member.entry, target);
        if (!problem.empty())
            return Fail(problem);
    }
    std::printf("%zu members written to %s\n", members.size(), folder.string().c_str());
    ArchiveRelease(nullptr);
    ToolkitShutdown();
    return 0;
}
