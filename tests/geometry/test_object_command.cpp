// slvtool object, run as a program on object files written the way other
// LightWave writers write them, from the disk and from an archive.
#include "lwob_builder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace lwobtest;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string output; // stdout and stderr together
};

Outcome Slvtool(const std::string& arguments) {
    const std::string command = std::string(SLVTOOL_PATH) + " " + arguments + " 2>&1";
    Outcome outcome;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    char buffer[512];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        outcome.output.append(buffer, got);
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

class ObjectCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(::testing::TempDir()) /
                 ("slvtool_object_" + std::to_string(getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path Write(const std::string& name, const Bytes& bytes) {
        const fs::path path = folder / name;
        fs::create_directories(path.parent_path());
        std::FILE* out = std::fopen(path.string().c_str(), "wb");
        EXPECT_NE(out, nullptr);
        if (out != nullptr) {
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
        }
        return path;
    }
    fs::path folder;
};

void ExpectHas(const Outcome& outcome, const std::string& text) {
    EXPECT_NE(outcome.output.find(text), std::string::npos) << "missing \"" << text << "\" in:\n"
                                                            << outcome.output;
}

TEST_F(ObjectCommand, DescribesAForeignFileAndItsProblems) {
    const Outcome outcome = Slvtool("object " + Quote(Write("foreign.lwo", ForeignObject(false))));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    ExpectHas(outcome, "points: 8");
    ExpectHas(outcome, "polygons: 4");
    ExpectHas(outcome, "1-point polygons (points): 1");
    ExpectHas(outcome, "2-point polygons (lines): 1");
    ExpectHas(outcome, "3-point polygons (triangles): 1");
    ExpectHas(outcome, "4-point polygons (quadrilaterals): 1");
    ExpectHas(outcome, "bounding radius: 2.82843");
    ExpectHas(outcome, "bounding box: x 0 to 2, y 0 to 2, z 0 to 0");
    ExpectHas(outcome, "SRFS");
    ExpectHas(outcome, "XTRA (3)");
    ExpectHas(outcome, "detail polygons left out (the show draws one surface per object): 2");
    ExpectHas(outcome, "polygons of 1 or 2 points, never drawn: 2 (the first is polygon 1)");
}

TEST_F(ObjectCommand, FailsWithTheReasonForAPolygonOfFivePoints) {
    const Outcome outcome = Slvtool("object " + Quote(Write("five.lwo", ForeignObject(true))));
    EXPECT_EQ(outcome.exitCode, 1);
    ExpectHas(outcome, "has 5 points; at most 4 are supported");
    // One line, on the error stream.
    EXPECT_EQ(outcome.output.find('\n'), outcome.output.size() - 1) << outcome.output;
}

TEST_F(ObjectCommand, ReadsAMemberOfAnArchive) {
    Write("content/data/cube.lwo", Cube());
    const fs::path archive = folder / "test.dat";
    ASSERT_EQ(Slvtool("pack " + Quote(archive) + " " + Quote(folder / "content")).exitCode, 0);
    const Outcome outcome = Slvtool("object 'data\\cube.lwo' --archive " + Quote(archive));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    ExpectHas(outcome, "points: 8");
    ExpectHas(outcome, "4-point polygons (quadrilaterals): 6");
    ExpectHas(outcome, "bounding radius: 1.73205");
    ExpectHas(outcome, "problems: none");

    const Outcome missing = Slvtool("object 'data\\none.lwo' --archive " + Quote(archive));
    EXPECT_EQ(missing.exitCode, 1);
    ExpectHas(missing, "not in");
}

TEST_F(ObjectCommand, RefusesBadArgumentsAndFiles) {
    EXPECT_EQ(Slvtool("object").exitCode, 2);
    EXPECT_EQ(Slvtool("object a.lwo --archive").exitCode, 2);
    const Outcome text =
        Slvtool("object " + Quote(Write("scene.lws", Bytes{'L', 'W', 'S', 'C', '\n'})));
    EXPECT_EQ(text.exitCode, 1);
    ExpectHas(text, "does not start with FORM");
    const Outcome missing = Slvtool("object " + Quote(folder / "missing.lwo"));
    EXPECT_EQ(missing.exitCode, 1);
}

} // namespace
