// slvtool object on other writers' object files, from the disk and from an archive.
#include "lwob_builder.h"
#include "tests/support/archive_image.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/tool_output.h"

#include <gtest/gtest.h>

#include <string>

using namespace lwobtest;
using testsupport::ExpectHas;
using testsupport::RunSlvtool;
using testsupport::ToolRun;

namespace {

class ObjectCommand : public ::testing::Test {
protected:
    // Writes a file into the test's folder and returns its quoted path.
    std::string Write(const std::string& name, const Bytes& bytes) {
        EXPECT_TRUE(testsupport::WriteWhole(dir.PathOf(name), bytes));
        return "'" + dir.PathOf(name) + "'";
    }
    testsupport::ScratchFolder dir;
};

TEST_F(ObjectCommand, DescribesAForeignFileAndItsProblems) {
    const ToolRun run = RunSlvtool("object " + Write("foreign.lwo", ForeignObject(false)));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    ExpectHas(run, {"points: 8", "polygons: 4", "1-point polygons (points): 1",
                    "4-point polygons (quadrilaterals): 1", "bounding radius: 2.82843",
                    "bounding box: x 0 to 2, y 0 to 2, z 0 to 0", "SRFS", "XTRA (3)",
                    "detail polygons left out (the show draws one surface per object): 2",
                    "polygons of 1 or 2 points, never drawn: 2 (the first is polygon 1)"});
}

TEST_F(ObjectCommand, ReadsAMemberOfAnArchive) {
    const Bytes cube = Cube();
    const std::string archive = Write(
        "test.dat",
        testsupport::ArchiveImage().Add("data\\cube.lwo", {cube.begin(), cube.end()}).Build());
    const ToolRun run = RunSlvtool("object 'data\\cube.lwo' --archive " + archive);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    ExpectHas(run, {"points: 8", "4-point polygons (quadrilaterals): 6", "bounding radius: 1.73205",
                    "problems: none"});
    const ToolRun missing = RunSlvtool("object 'data\\none.lwo' --archive " + archive);
    EXPECT_EQ(missing.exitCode, 1);
    ExpectHas(missing, {"not in"});
}

TEST_F(ObjectCommand, RefusesBadArgumentsAndFiles) {
    EXPECT_EQ(RunSlvtool("object").exitCode, 2);
    const ToolRun five = RunSlvtool("object " + Write("five.lwo", ForeignObject(true)));
    EXPECT_EQ(five.exitCode, 1);
    EXPECT_EQ(five.output.find('\n'), five.output.size() - 1) << five.output; // one line
    ExpectHas(five, {"has 5 points; at most 4 are supported"});
    EXPECT_EQ(RunSlvtool("object '" + dir.PathOf("missing.lwo") + "'").exitCode, 1);
}

} // namespace
