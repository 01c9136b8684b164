// slvtool pack, list and extract, run as a program on temporary folders.
#include "tests/support/archive_image.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/slvtool_run.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;
using testsupport::ArchiveImage;
using testsupport::Bytes;
using testsupport::ReadWhole;
using testsupport::WriteWhole;

namespace {

// The folder's entries by relative path, links not followed: kind or bytes of each.
std::map<std::string, std::string> Listing(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        const std::string name = item.path().lexically_relative(folder).generic_string();
        if (item.is_symlink())
            entries[name] = "link to " + fs::read_symlink(item.path()).string();
        else if (item.is_directory())
            entries[name] = "folder";
        else
            entries[name] = ReadWhole(item.path());
    }
    return entries;
}

// Runs slvtool with each argument quoted; its two streams come as one output.
testsupport::ToolRun Slvtool(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments)
        line += " \"" + argument + "\"";
    return testsupport::RunSlvtool(line);
}

// A failing command: a non-zero exit and one line naming what.
void ExpectOneLineFailure(const testsupport::ToolRun& run, const std::string& mentions) {
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_NE(run.output.find(mentions), std::string::npos) << run.output;
}

class SlvtoolArchive : public ::testing::Test {
protected:
    testsupport::ScratchFolder scratch;
    const fs::path& folder = scratch.path;
};

TEST_F(SlvtoolArchive, PackListExtractRoundTripIsExactAndReproducible) {
    fs::path source = folder / "source";
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary += static_cast<char>((i * 7919) >> 3);
    WriteWhole(source / "big.bin", binary);
    WriteWhole(source / "data" / "Square.lwo", "FORM\0\0\0\x04LWOB"s);
    WriteWhole(source / "scenes" / "ZT-Options.lws", "LWSC\r\n1\r\n"s);
    WriteWhole(source / "scenes" / "deep" / "er" / "empty.txt", ""s);
    WriteWhole(source / std::string(61, 'n') / "x", "deep"s); // the longest name: 63 characters
    WriteWhole(source / "two\nlines\x01.txt", "x"s);          // listed with question marks
    std::string archive = (folder / "slv.dat").string();
    testsupport::ToolRun pack = Slvtool({"pack", archive, source.string()});
    ASSERT_EQ(pack.exitCode, 0) << pack.output;
    std::string bytes = ReadWhole(archive);
    ASSERT_EQ(Slvtool({"pack", archive, source.string()}).exitCode, 0);
    EXPECT_EQ(ReadWhole(archive), bytes);

    // 32 bytes of header and 82 a record, then the members back to back in name order.
    testsupport::ToolRun list = Slvtool({"list", archive});
    ASSERT_EQ(list.exitCode, 0) << list.output;
    std::istringstream lines(list.output);
    std::string name;
    unsigned long size, offset, next = 32 + 6 * 82;
    std::map<std::string, unsigned long> sizes;
    for (std::getline(lines, name); lines >> name >> size >> offset; next += size) {
        EXPECT_EQ(offset, next) << name;
        sizes[name] = size;
    }
    EXPECT_EQ(sizes, (std::map<std::string, unsigned long>{{"big.bin", 70000},
                                                           {"data\\Square.lwo", 12},
                                                           {"scenes\\ZT-Options.lws", 9},
                                                           {"scenes\\deep\\er\\empty.txt", 0},
                                                           {std::string(61, 'n') + "\\x", 4},
                                                           {"two?lines?.txt", 1}}));
    EXPECT_EQ(bytes.substr(32 + 6 * 82, binary.size()), binary);

    testsupport::ToolRun extract = Slvtool({"extract", archive, (folder / "out").string()});
    ASSERT_EQ(extract.exitCode, 0) << extract.output;
    EXPECT_EQ(Listing(folder / "out"), Listing(source));
}

TEST_F(SlvtoolArchive, PackRefusesBadNamesAndLeavesItsOwnArchiveOut) {
    fs::path source = folder / "source";
    WriteWhole(source / "Data.txt", "1"s);
    WriteWhole(source / "data.TXT", "2"s);
    ExpectOneLineFailure(Slvtool({"pack", (folder / "a.dat").string(), source.string()}),
                         "differ only in case");
    EXPECT_FALSE(fs::exists(folder / "a.dat"));
    ExpectOneLineFailure(Slvtool({"pack", (folder / "a.dat").string(), (folder / "none").string()}),
                         "not a folder");

    fs::remove(source / "data.TXT");
    std::string archive = (source / "slv.dat").string();
    ASSERT_EQ(Slvtool({"pack", archive, source.string()}).exitCode, 0);
    ASSERT_EQ(Slvtool({"pack", archive, source.string()}).exitCode, 0);
    testsupport::ToolRun list = Slvtool({"list", archive});
    EXPECT_EQ(list.output.find("slv.dat"), std::string::npos) << list.output;
}

// Each reason is the toolkit's; slvtool reports it on one line and makes nothing.
TEST_F(SlvtoolArchive, BadArchivesGiveOneLineAndFailure) {
    fs::path bad = folder / "bad.dat";
    const Bytes good = ArchiveImage().Add("m", "data").Build();
    WriteWhole(bad, Bytes(good.begin(), good.end() - 1));
    ExpectOneLineFailure(Slvtool({"list", bad.string()}), "truncated");
    ExpectOneLineFailure(Slvtool({"extract", bad.string(), (folder / "out").string()}),
                         "truncated");
    EXPECT_FALSE(fs::exists(folder / "out"));
    ExpectOneLineFailure(Slvtool({"list", (folder / "missing.dat").string()}), "missing.dat");
}

TEST_F(SlvtoolArchive, ExtractRefusesNamesThatLeaveTheFolder) {
    fs::path bad = folder / "bad.dat";
    fs::path target = folder / "a" / "b";
    for (std::string name : {"..\\escape.txt", "x\\..\\..\\escape.txt", "\\abs.txt", "/abs.txt",
                             "C:\\abs.txt", "x\\\\y", "dir\\", "../escape.txt", "..\\two\nlines"}) {
        SCOPED_TRACE(name);
        WriteWhole(bad, ArchiveImage().Add(name, "evil").Build());
        ExpectOneLineFailure(Slvtool({"extract", bad.string(), target.string()}), "leave");
    }
    EXPECT_FALSE(fs::exists(folder / "a" / "escape.txt"));
    EXPECT_FALSE(fs::exists(folder / "escape.txt"));
    EXPECT_FALSE(fs::exists(target));
}

} // namespace

TEST_F(SlvtoolArchive, AFailedPackLeavesTheOldArchiveUntouched) {
    fs::path source = folder / "source";
    WriteWhole(source / "data" / "a.txt", "first"s);
    const fs::path archive = folder / "slv.dat";
    ASSERT_EQ(Slvtool({"pack", archive.string(), source.string()}).exitCode, 0);
    const std::string before = ReadWhole(archive);
    const auto folderBefore = Listing(folder);

    const struct {
        const char* what;
        std::function<void()> spoil;
        const char* mentions;
    } cases[] = {
        // Read errors even for root: its first page is never mapped.
        {"unreadable input", [&] { fs::create_symlink("/proc/self/mem", source / "data" / "mem"); },
         "read error"},
        {"a name too long", [&] { WriteWhole(source / std::string(60, 'd') / "long", "x"s); },
         "65 characters"},
        {"a link to nothing",
         [&] { fs::create_symlink(folder / "none", source / "data" / "none"); }, "to nothing"},
        {"a special file", [&] { ASSERT_EQ(mkfifo((source / "pipe").c_str(), 0600), 0); },
         "special file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(source);
        WriteWhole(source / "data" / "a.txt", "second"s);
        c.spoil();
        ExpectOneLineFailure(Slvtool({"pack", archive.string(), source.string()}), c.mentions);
        EXPECT_EQ(ReadWhole(archive), before);
        fs::remove_all(source);
        WriteWhole(source / "data" / "a.txt", "first"s);
        EXPECT_EQ(Listing(folder), folderBefore); // nothing left beside the archive
    }
}

TEST_F(SlvtoolArchive, ExtractRefusesMembersThatWouldLandOnOneFile) {
    fs::path bad = folder / "bad.dat";
    fs::path target = folder / "out";
    const struct {
        std::vector<std::string> names;
        const char* mentions;
    } cases[] = {
        {{"x/y", "x\\y"}, "\"x/y\" and \"x\\y\" would be written to the same file"},
        {{"Data\\A.txt", "data\\a.TXT"}, "\"Data\\A.txt\" and \"data\\a.TXT\" would be written"},
        {{"a\\b\\c", "A"}, "\"A\" and \"a\\b\\c\" clash"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mentions);
        ArchiveImage image;
        for (const std::string& name : c.names)
            image.Add(name, "data of " + name);
        WriteWhole(bad, image.Build());
        ExpectOneLineFailure(Slvtool({"extract", bad.string(), target.string()}), c.mentions);
        EXPECT_FALSE(fs::exists(target));
    }
    WriteWhole(bad, ArchiveImage().Add("a", "x").Add("", "nameless").Build());
    ExpectOneLineFailure(Slvtool({"extract", bad.string(), target.string()}),
                         "member 2 has an empty name");
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(SlvtoolArchive, ExtractNeverFollowsALinkInTheTargetFolder) {
    fs::path bad = folder / "bad.dat";
    fs::path target = folder / "out";
    fs::path outside = folder / "outside";
    WriteWhole(outside / "victim.txt", "keep"s);
    fs::create_directories(target);
    fs::create_directory_symlink(outside, target / "data");
    fs::create_symlink(outside / "victim.txt", target / "file.txt");
    const auto before = Listing(outside);
    for (std::string name : {"data\\victim.txt", "data\\new.txt", "file.txt"}) {
        SCOPED_TRACE(name);
        WriteWhole(bad, ArchiveImage().Add("first.txt", "1").Add(name, "evil").Build());
        ExpectOneLineFailure(Slvtool({"extract", bad.string(), target.string()}), "symbolic link");
        EXPECT_EQ(Listing(outside), before);
        EXPECT_FALSE(fs::exists(target / "first.txt"));
    }
}
