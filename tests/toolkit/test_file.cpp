#include "toolkit/file.h"

#include "toolkit_fixture.h"

using namespace std::string_literals;

namespace {

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

} // namespace
