#include "toolkit/file.h"

#include "toolkit_fixture.h"

using namespace std::string_literals;

namespace {

using toolkit_test::ReadWhole;
using FileTest = toolkit_test::ToolkitTest;

TEST_F(FileTest, FailedOpensRecordACodeThatSuccessDoesNotClear) {
    File file;
    EXPECT_FALSE(file.Open(PathOf("missing.bin").c_str(), ModeUpdate));
    EXPECT_EQ(Code(), ErrorCode::OpenFailed);
    std::string path = WriteFile("present.bin", std::string("abc"));
    EXPECT_FALSE(file.Open(path.c_str(), ModeBigEndian) || file.IsOpen()); // no access bit
    char buffer[3];
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead) && file.Read(buffer, 3));
    EXPECT_EQ(Code(), ErrorCode::OpenFailed);
}

// GetSize keeps the position; a short read keeps what it read.
TEST_F(FileTest, SizeAndShortReadsOnDisk) {
    File file;
    ASSERT_TRUE(file.Open(WriteFile("seek.bin", std::string("0123456789")).c_str(), ModeRead));
    uint32_t size = 0, position = 0;
    ASSERT_TRUE(file.Seek(8, SeekStart) && file.GetSize(&size) && file.Tell(&position));
    EXPECT_EQ(std::make_pair(size, position), std::make_pair(10u, 8u));
    char buffer[4] = {0, 0, 0, 0};
    EXPECT_FALSE(file.Read(buffer, 4));
    EXPECT_EQ(Code(), ErrorCode::EndOfFile);
    EXPECT_EQ(std::string(buffer, 4), "89\0\0"s);
}

TEST_F(FileTest, PrintReplacesOverlongText) {
    File file;
    ASSERT_TRUE(file.Open(PathOf("print.txt").c_str(), ModeWrite));
    EXPECT_TRUE(file.Print("%s=%d\n", "count", 42) &&
                file.Print("%s", std::string(600, 'x').c_str()) &&
                file.Print("%s", std::string(500, 'y').c_str()));
    file.Close();
    EXPECT_EQ(ReadWhole(PathOf("print.txt")),
              "count=42\n**** STRING TO LONG ****\n" + std::string(500, 'y'));
}

// Screenshot names come with backslashes; an update rewrites in place.
TEST_F(FileTest, BackslashPathsAndUpdatesInPlace) {
    std::string path = WriteFile("scrnshot/zentor00.bmp", std::string("BMabcd"));
    path.replace(path.rfind('/'), 1, "\\");
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), ModeUpdate));
    ASSERT_TRUE(file.Seek(2, SeekStart) && file.Write("XY", 2));
    file.Close();
    EXPECT_EQ(ReadWhole(PathOf("scrnshot/zentor00.bmp")), "BMXYcd");
}

TEST(ErrorTexts, CodesOutsideTheTableHaveTheUnknownText) {
    EXPECT_STREQ(ErrorText(24), "Unknow error code!");
    EXPECT_STREQ(ErrorText(-1), "Unknow error code!");
}

} // namespace
