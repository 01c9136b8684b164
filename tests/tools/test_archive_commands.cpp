// slvtool pack, list and extract, run as a program on temporary folders.
#include "toolkit/archive.h"
#include "toolkit/file.h"
#include "toolkit/memory.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const fs::path& path, const std::string& data) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(data.data(), std::streamsize(data.size()));
}

// Every regular file below folder by its relative path, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file())
            files[item.path().lexically_relative(folder).generic_string()] = Slurp(item.path());
    }
    return files;
}

int Lines(const std::string& text) {
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

class SlvtoolArchive : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / (std::string("solvane-slvtool-") + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    Outcome Slvtool(const std::vector<std::string>& arguments) {
        std::string command = std::string("\"") + SLVTOOL_PATH + "\"";
        for (const std::string& argument : arguments)
            command += " \"" + argument + "\"";
        fs::path out = folder / "stdout.txt", err = folder / "stderr.txt";
        command += " >\"" + out.string() + "\" 2>\"" + err.string() + "\"";
        int status = std::system(command.c_str());
        Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    // A failing command: a non-zero exit and one line on stderr naming what.
    void ExpectOneLineFailure(const Outcome& run, const std::string& mentions) {
        EXPECT_NE(run.exitCode, 0);
        EXPECT_EQ(Lines(run.err), 1) << run.err;
        EXPECT_NE(run.err.find(mentions), std::string::npos) << run.err;
    }

    std::string MakeSampleTree() {
        fs::path source = folder / "source";
        Spit(source / "data" / "Square.lwo", "FORM\0\0\0\x04LWOB"s);
        Spit(source / "scenes" / "ZT-Options.lws", "LWSC\r\n1\r\n");
        Spit(source / "scenes" / "deep" / "er" / "empty.txt", "");
        std::string binary;
        for (int i = 0; i < 70000; ++i)
            binary += static_cast<char>((i * 7919) >> 3);
        Spit(source / "big.bin", binary);
        Spit(source / std::string(61, 'n') / "x", "deep"); // the longest name: 63 characters
        return source.string();
    }

    fs::path folder;
};

TEST_F(SlvtoolArchive, PackExtractRoundTripIsExactAndReproducible) {
    std::string source = MakeSampleTree();
    std::string archive = (folder / "slv.dat").string();
    Outcome pack = Slvtool({"pack", archive, source});
    ASSERT_EQ(pack.exitCode, 0) << pack.err;
    std::string first = Slurp(archive);
    ASSERT_EQ(Slvtool({"pack", archive, source}).exitCode, 0);
    EXPECT_EQ(Slurp(archive), first);

    Outcome extract = Slvtool({"extract", archive, (folder / "out").string()});
    ASSERT_EQ(extract.exitCode, 0) << extract.err;
    EXPECT_EQ(Tree(folder / "out"), Tree(source));
}

TEST_F(SlvtoolArchive, PackedArchiveReadsBackThroughTheToolkit) {
    std::string source = MakeSampleTree();
    std::string archive = (folder / "slv.dat").string();
    ASSERT_EQ(Slvtool({"pack", archive, source}).exitCode, 0);
    std::string bytes = Slurp(archive);
    // Unread header bytes and the unread bytes of every record are zero.
    EXPECT_EQ(bytes.substr(0, 9), "QZF\x00\x01\x05\0\0\0"s);
    EXPECT_EQ(bytes.substr(9, 23), std::string(23, '\0'));
    for (int record = 0; record < 5; ++record)
        EXPECT_EQ(bytes.substr(32 + 82 * record + 4, 10), std::string(10, '\0'));

    ASSERT_TRUE(ToolkitStartup());
    ASSERT_EQ(ArchiveOpen(archive.c_str()), 5u);
    const char* names[] = {"big.bin", "data\\Square.lwo", "scenes\\ZT-Options.lws",
                           "scenes\\deep\\er\\empty.txt"};
    const char* paths[] = {"big.bin", "data/Square.lwo", "scenes/ZT-Options.lws",
                           "scenes/deep/er/empty.txt"};
    for (int i = 0; i < 4; ++i) {
        File member;
        ASSERT_TRUE(member.Open(names[i], ModeRead)) << names[i];
        uint32_t size = 0;
        member.GetSize(&size);
        std::string data(size, '\0');
        EXPECT_TRUE(member.Read(data.data(), size));
        EXPECT_EQ(data, Slurp(fs::path(source) / paths[i])) << names[i];
    }
    ArchiveRelease(nullptr);
    ToolkitShutdown();
}

TEST_F(SlvtoolArchive, ListShowsNameSizeAndOffset) {
    fs::path source = folder / "source";
    Spit(source / "b.txt", "12345");
    Spit(source / "a" / "c.txt", "xy");
    std::string archive = (folder / "slv.dat").string();
    ASSERT_EQ(Slvtool({"pack", archive, source.string()}).exitCode, 0);
    Outcome list = Slvtool({"list", archive});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    std::istringstream lines(list.out);
    std::string line, name;
    unsigned long size, offset;
    std::getline(lines, line); // column titles
    std::getline(lines, line);
    std::istringstream(line) >> name >> size >> offset;
    EXPECT_EQ(name, "a\\c.txt");
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(offset, 32u + 2 * 82);
    std::getline(lines, line);
    std::istringstream(line) >> name >> size >> offset;
    EXPECT_EQ(name, "b.txt");
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(offset, 32u + 2 * 82 + 2);
}

TEST_F(SlvtoolArchive, PackRefusesNamesTooLongOrDifferingOnlyInCase) {
    fs::path source = folder / "source";
    Spit(source / std::string(60, 'd') / "long", "x"); // 65 characters
    Outcome tooLong = Slvtool({"pack", (folder / "a.dat").string(), source.string()});
    ExpectOneLineFailure(tooLong, "65 characters");
    EXPECT_FALSE(fs::exists(folder / "a.dat"));

    fs::remove_all(source);
    Spit(source / "Data.txt", "1");
    Spit(source / "data.TXT", "2");
    ExpectOneLineFailure(Slvtool({"pack", (folder / "a.dat").string(), source.string()}),
                         "differ only in case");
    ExpectOneLineFailure(Slvtool({"pack", (folder / "a.dat").string(), (folder / "none").string()}),
                         "not a folder");
}

TEST_F(SlvtoolArchive, PackIntoTheFolderItPacksLeavesTheArchiveOut) {
    fs::path source = folder / "source";
    Spit(source / "a.txt", "a");
    std::string archive = (source / "slv.dat").string();
    ASSERT_EQ(Slvtool({"pack", archive, source.string()}).exitCode, 0);
    ASSERT_EQ(Slvtool({"pack", archive, source.string()}).exitCode, 0);
    Outcome list = Slvtool({"list", archive});
    EXPECT_EQ(list.out.find("slv.dat"), std::string::npos) << list.out;
}

// An archive image with one member, for the failure cases.
std::string OneMemberArchive(const std::string& name, const std::string& data) {
    std::string bytes = "QZF\x00\x01\x01\0\0\0"s + std::string(23, '\0');
    std::string record(82, '\0');
    uint32_t size = uint32_t(data.size()), offset = 32 + 82;
    for (int i = 0; i < 4; ++i) {
        record[i] = char(size >> (8 * i));
        record[14 + i] = char(offset >> (8 * i));
    }
    record.replace(18, name.size(), name);
    return bytes + record + data;
}

TEST_F(SlvtoolArchive, BadArchivesGiveOneLineAndFailure) {
    fs::path bad = folder / "bad.dat";
    std::string good = OneMemberArchive("m", "data");
    struct Case {
        std::string bytes;
        std::string mentions;
    };
    std::string wrongMagic = good;
    wrongMagic[0] = 'P';
    std::string oldVersion = good;
    oldVersion[4] = 0; // version 0
    std::string negativeVersion = good;
    negativeVersion[4] = '\x80';
    const Case cases[] = {
        {wrongMagic, "magic"},
        {oldVersion, "version"},
        {negativeVersion, "version"},
        {good.substr(0, 20), "truncated"},
        {good.substr(0, 32 + 40), "truncated"},
        {good.substr(0, good.size() - 1), "truncated"},
    };
    for (const Case& c : cases) {
        Spit(bad, c.bytes);
        ExpectOneLineFailure(Slvtool({"list", bad.string()}), c.mentions);
        ExpectOneLineFailure(Slvtool({"extract", bad.string(), (folder / "out").string()}),
                             c.mentions);
    }
    EXPECT_FALSE(fs::exists(folder / "out"));
    ExpectOneLineFailure(Slvtool({"list", (folder / "missing.dat").string()}), "missing.dat");
    Spit(bad, good);
    EXPECT_EQ(Slvtool({"list", bad.string()}).exitCode, 0);
}

TEST_F(SlvtoolArchive, ExtractRefusesNamesThatLeaveTheFolder) {
    fs::path bad = folder / "bad.dat";
    fs::path target = folder / "a" / "b";
    for (std::string name : {"..\\escape.txt", "x\\..\\..\\escape.txt", "\\abs.txt", "/abs.txt",
                             "C:\\abs.txt", "x\\\\y", "dir\\", "../escape.txt", "..\\two\nlines"}) {
        Spit(bad, OneMemberArchive(name, "evil"));
        ExpectOneLineFailure(Slvtool({"extract", bad.string(), target.string()}), "leave");
    }
    EXPECT_FALSE(fs::exists(folder / "a" / "escape.txt"));
    EXPECT_FALSE(fs::exists(folder / "escape.txt"));
    EXPECT_FALSE(fs::exists(target));
}

} // namespace
