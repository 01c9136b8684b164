#include "toolkit/file.h"

#include "toolkit_fixture.h"

using namespace std::string_literals;

namespace {

using toolkit_test::Bytes;
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

// Big-endian reads (signed and floating ones included), little-endian winning
// over big-endian, the machine's order without either, and writes in each order.
TEST_F(FileTest, ByteOrder) {
    Bytes bytes = {0x00, 0x00, 0x01, 0x02, 0x3F, 0x80, 0x00, 0x00, 0xC0,
                   0x00, 0,    0,    0,    0,    0,    0,    0xFF, 0xFE};
    File file;
    ASSERT_TRUE(file.Open(WriteFile("big.bin", bytes).c_str(), ModeRead | ModeBigEndian));
    uint32_t value32 = 0, machine;
    float valueFloat = 0;
    double valueDouble = 0;
    int16_t signed16 = 0;
    ASSERT_TRUE(file.Read32(&value32) && file.ReadFloat(&valueFloat) &&
                file.ReadDouble(&valueDouble) && file.Read16(&signed16));
    EXPECT_EQ(value32, 258u);
    EXPECT_EQ(valueFloat, 1.0f);
    EXPECT_EQ(valueDouble, -2.0);
    EXPECT_EQ(signed16, -2);

    std::string path = WriteFile("little.bin", Bytes{0x01, 0x02, 0x03, 0x04});
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead | ModeLittleEndian | ModeBigEndian));
    ASSERT_TRUE(file.Read32(&value32));
    EXPECT_EQ(value32, 0x04030201u);
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead) && file.Read32(&value32));
    std::memcpy(&machine, "\x01\x02\x03\x04", 4);
    EXPECT_EQ(value32, machine);

    // 0xBEEF, 0xDEADBEEF, 3.5f, -0.125 and the byte 7, written in each order.
    const std::string big("\xBE\xEF\xDE\xAD\xBE\xEF\x40\x60\0\0\xBF\xC0\0\0\0\0\0\0\x07", 19);
    const std::string little("\xEF\xBE\xEF\xBE\xAD\xDE\0\0\x60\x40\0\0\0\0\0\0\xC0\xBF\x07", 19);
    for (uint32_t order : {uint32_t(ModeBigEndian), uint32_t(ModeLittleEndian)}) {
        ASSERT_TRUE(file.Open(path.c_str(), ModeWrite | order));
        ASSERT_TRUE(file.Write16(0xBEEF) && file.Write32(0xDEADBEEF) && file.WriteFloat(3.5f) &&
                    file.WriteDouble(-0.125) && file.WriteByte(7));
        file.Close();
        EXPECT_EQ(ReadWhole(path), order == ModeBigEndian ? big : little);
    }
}

// GetSize keeps the position; a seek before the start fails; a short read keeps
// what it read.
TEST_F(FileTest, SeekTellSizeAndShortReadsOnDisk) {
    File file;
    ASSERT_TRUE(file.Open(WriteFile("seek.bin", std::string("0123456789")).c_str(), ModeRead));
    uint32_t size = 0, position = 0;
    ASSERT_TRUE(file.Seek(3, SeekStart) && file.GetSize(&size) && file.Tell(&position));
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(position, 3u);
    EXPECT_FALSE(file.Seek(uint32_t(-100), SeekCurrent));
    EXPECT_EQ(Code(), ErrorCode::SeekFailed);
    char buffer[4] = {0, 0, 0, 0};
    ASSERT_TRUE(file.Seek(uint32_t(-4), SeekEnd) && file.Seek(2, SeekCurrent));
    EXPECT_FALSE(file.Read(buffer, 4));
    EXPECT_EQ(Code(), ErrorCode::EndOfFile);
    EXPECT_EQ(std::string(buffer, 4), "89\0\0"s);
}

// As fgets: carriage returns kept, max - 1 characters of a long line at a time.
TEST_F(FileTest, ReadLineLikeFgets) {
    std::string path = WriteFile("lines.txt", std::string("one\r\n\nlong line here\nlast"));
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead));
    char buffer[8];
    for (const char* line : {"one\r\n", "\n", "long li", "ne here", "\n", "last"}) {
        EXPECT_EQ(file.ReadLine(buffer, 8), int(std::strlen(line)));
        EXPECT_STREQ(buffer, line);
    }
    EXPECT_EQ(file.ReadLine(buffer, 8), 0);
    EXPECT_EQ(file.ReadLine(buffer, 0), 0);
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
