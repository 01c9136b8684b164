#include "toolkit/file.h"

#include "toolkit_fixture.h"

using namespace std::string_literals;

namespace {

using toolkit_test::ReadWhole;
using FileTest = toolkit_test::ToolkitTest;

TEST_F(FileTest, FailedOpensRecordACodeThatSuccessDoesNotClear) {
    File file;
    EXPECT_FALSE(file.Open(PathOf("missing.bin").c_str(), ModeRead));
    EXPECT_EQ(LastError(), ErrorCode::OpenFailed);
    std::string path = WriteFile("present.bin", std::string("abc"));
    char buffer[3];
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead) && file.Read(buffer, 3));
    EXPECT_EQ(LastError(), ErrorCode::OpenFailed);
}

// The loaders take the size first, then read from the start; a short read keeps what it read.
TEST_F(FileTest, SizeKeepsThePlaceAndShortReadsKeepTheirBytes) {
    File file;
    ASSERT_TRUE(file.Open(WriteFile("seek.bin", std::string("0123456789")).c_str(), ModeRead));
    char buffer[8], tail[4] = {};
    uint32_t size = 0;
    ASSERT_TRUE(file.Read(buffer, 2) && file.GetSize(&size) && file.Read(buffer + 2, 6));
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(std::string(buffer, 8), "01234567");
    EXPECT_FALSE(file.Read(tail, 4));
    EXPECT_EQ(LastError(), ErrorCode::EndOfFile);
    EXPECT_EQ(std::string(tail, 4), "89\0\0"s);
}

// The memory dump's lines go through Print.
TEST_F(FileTest, PrintFormats) {
    File file;
    ASSERT_TRUE(file.Open(PathOf("print.txt").c_str(), ModeWrite));
    EXPECT_TRUE(file.Print("| %3d | %8lu |\n", 2, 40ul));
    file.Close();
    EXPECT_EQ(ReadWhole(PathOf("print.txt")), "|   2 |       40 |\n");
}

} // namespace
