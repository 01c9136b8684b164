#include "toolkit/file.h"

#include "toolkit_fixture.h"

#include <cmath>

namespace {

using toolkit_test::Bytes;
using toolkit_test::ToolkitTest;
using FileTest = ToolkitTest;

TEST_F(FileTest, FailedOpenRecordsCodeThatSuccessDoesNotClear) {
    File file;
    EXPECT_FALSE(file.Open(PathOf("missing.bin").c_str(), ModeRead));
    EXPECT_EQ(Code(), ErrorCode::OpenFailed);
    std::string path = WriteFile("present.bin", std::string("abc"));
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead));
    char buffer[3];
    EXPECT_TRUE(file.Read(buffer, 3));
    EXPECT_EQ(Code(), ErrorCode::OpenFailed);
}

TEST_F(FileTest, OpenWithoutAnyAccessBitFails) {
    std::string path = WriteFile("x.bin", std::string("abc"));
    File file;
    EXPECT_FALSE(file.Open(path.c_str(), ModeBigEndian));
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileTest, BigEndianNumbersRead) {
    Bytes bytes = {0x00, 0x00, 0x01, 0x02, 0x12, 0x34, 0x3F, 0x80, 0x00, 0x00,
                   0xC0, 0x00, 0,    0,    0,    0,    0,    0,    0xFF, 0xFE};
    std::string path = WriteFile("big.bin", bytes);
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead | ModeBigEndian));
    uint32_t value32 = 0;
    uint16_t value16 = 0;
    float valueFloat = 0;
    double valueDouble = 0;
    int16_t signed16 = 0;
    ASSERT_TRUE(file.Read32(&value32));
    EXPECT_EQ(value32, 258u);
    ASSERT_TRUE(file.Read16(&value16));
    EXPECT_EQ(value16, 0x1234u);
    ASSERT_TRUE(file.ReadFloat(&valueFloat));
    EXPECT_EQ(valueFloat, 1.0f);
    ASSERT_TRUE(file.ReadDouble(&valueDouble));
    EXPECT_EQ(valueDouble, -2.0);
    ASSERT_TRUE(file.Read16(&signed16));
    EXPECT_EQ(signed16, -2);
    EXPECT_FALSE(file.Read16(&value16));
    EXPECT_EQ(Code(), ErrorCode::EndOfFile);
}

TEST_F(FileTest, LittleEndianWinsAndMachineOrderIsDefault) {
    std::string path = WriteFile("little.bin", Bytes{0x01, 0x02, 0x03, 0x04});
    File file;
    uint32_t value = 0;
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead | ModeLittleEndian | ModeBigEndian));
    ASSERT_TRUE(file.Read32(&value));
    EXPECT_EQ(value, 0x04030201u);
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead)); // reopening closes first
    ASSERT_TRUE(file.Read32(&value));
    uint32_t machine;
    std::memcpy(&machine, "\x01\x02\x03\x04", 4);
    EXPECT_EQ(value, machine);
}

TEST_F(FileTest, WrittenNumbersReadBackInBothOrders) {
    for (uint32_t order : {uint32_t(ModeBigEndian), uint32_t(ModeLittleEndian)}) {
        std::string path = PathOf("numbers.bin");
        {
            File out;
            ASSERT_TRUE(out.Open(path.c_str(), ModeWrite | order));
            ASSERT_TRUE(out.Write16(0xBEEF));
            ASSERT_TRUE(out.Write32(0xDEADBEEF));
            ASSERT_TRUE(out.WriteFloat(3.5f));
            ASSERT_TRUE(out.WriteDouble(-0.125));
            ASSERT_TRUE(out.WriteByte(7));
        }
        std::string raw = ReadFile(path);
        ASSERT_EQ(raw.size(), 19u);
        EXPECT_EQ(static_cast<unsigned char>(raw[0]), order == ModeBigEndian ? 0xBE : 0xEF);
        File in;
        ASSERT_TRUE(in.Open(path.c_str(), ModeRead | order));
        uint16_t a;
        uint32_t b;
        float c;
        double d;
        uint8_t e;
        ASSERT_TRUE(in.Read16(&a) && in.Read32(&b) && in.ReadFloat(&c) && in.ReadDouble(&d) &&
                    in.ReadByte(&e));
        EXPECT_EQ(a, 0xBEEF);
        EXPECT_EQ(b, 0xDEADBEEFu);
        EXPECT_EQ(c, 3.5f);
        EXPECT_EQ(d, -0.125);
        EXPECT_EQ(e, 7);
    }
}

TEST_F(FileTest, ShortDiskReadKeepsWhatWasRead) {
    std::string path = WriteFile("short.bin", std::string("xy"));
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead));
    char buffer[4] = {0, 0, 0, 0};
    EXPECT_FALSE(file.Read(buffer, 4));
    EXPECT_EQ(Code(), ErrorCode::EndOfFile);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(buffer[1], 'y');
}

TEST_F(FileTest, SeekTellAndSizeOnDisk) {
    std::string path = WriteFile("seek.bin", std::string("0123456789"));
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead));
    ASSERT_TRUE(file.Seek(3, SeekStart));
    uint32_t size = 0, position = 0;
    ASSERT_TRUE(file.GetSize(&size));
    EXPECT_EQ(size, 10u);
    ASSERT_TRUE(file.Tell(&position));
    EXPECT_EQ(position, 3u); // GetSize puts the position back
    ASSERT_TRUE(file.Seek(uint32_t(-4), SeekEnd));
    char c;
    ASSERT_TRUE(file.Read(&c, 1));
    EXPECT_EQ(c, '6');
    ASSERT_TRUE(file.Seek(uint32_t(-3), SeekCurrent));
    ASSERT_TRUE(file.Read(&c, 1));
    EXPECT_EQ(c, '4');
    EXPECT_FALSE(file.Seek(uint32_t(-100), SeekCurrent));
    EXPECT_EQ(Code(), ErrorCode::SeekFailed);
}

TEST_F(FileTest, ReadLineLikeFgets) {
    std::string path = WriteFile("lines.txt", std::string("one\r\ntwo\n\nlong line here\nlast"));
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), ModeRead));
    char buffer[8];
    EXPECT_EQ(file.ReadLine(buffer, 8), 5);
    EXPECT_STREQ(buffer, "one\r\n"); // carriage return kept
    EXPECT_EQ(file.ReadLine(buffer, 8), 4);
    EXPECT_STREQ(buffer, "two\n");
    EXPECT_EQ(file.ReadLine(buffer, 8), 1);
    EXPECT_STREQ(buffer, "\n");
    EXPECT_EQ(file.ReadLine(buffer, 8), 7); // max - 1 characters of a long line
    EXPECT_STREQ(buffer, "long li");
    EXPECT_EQ(file.ReadLine(buffer, 8), 7);
    EXPECT_STREQ(buffer, "ne here");
    EXPECT_EQ(file.ReadLine(buffer, 8), 1);
    EXPECT_EQ(file.ReadLine(buffer, 8), 4);
    EXPECT_STREQ(buffer, "last");
    EXPECT_EQ(file.ReadLine(buffer, 8), 0);
    EXPECT_EQ(file.ReadLine(buffer, 0), 0);
    EXPECT_EQ(file.ReadLine(buffer, -5), 0);
}

TEST_F(FileTest, PrintReplacesOverlongText) {
    std::string path = PathOf("print.txt");
    {
        File file;
        ASSERT_TRUE(file.Open(path.c_str(), ModeWrite));
        EXPECT_TRUE(file.Print("%s=%d\n", "count", 42));
        EXPECT_TRUE(file.Print("%s", std::string(600, 'x').c_str()));
        EXPECT_TRUE(file.Print("%s", std::string(500, 'y').c_str()));
    }
    EXPECT_EQ(ReadFile(path), "count=42\n**** STRING TO LONG ****\n" + std::string(500, 'y'));
}

TEST_F(FileTest, BackslashPathsOpenOnDisk) {
    std::filesystem::create_directories(folder / "scrnshot");
    std::string path = (folder / "scrnshot").string() + "\\zentor00.bmp";
    {
        File file;
        ASSERT_TRUE(file.Open(path.c_str(), ModeWrite));
        ASSERT_TRUE(file.Write("BM", 2));
    }
    EXPECT_EQ(ReadFile(PathOf("scrnshot/zentor00.bmp")), "BM");
}

TEST_F(FileTest, UpdateModeRewritesInPlace) {
    std::string path = WriteFile("update.bin", std::string("abcdef"));
    {
        File file;
        ASSERT_TRUE(file.Open(path.c_str(), ModeUpdate));
        ASSERT_TRUE(file.Seek(2, SeekStart));
        ASSERT_TRUE(file.Write("XY", 2));
    }
    EXPECT_EQ(ReadFile(path), "abXYef");
    File missing;
    EXPECT_FALSE(missing.Open(PathOf("none.bin").c_str(), ModeUpdate));
}

TEST(ErrorTexts, TableAndHandlerCodes) {
    EXPECT_STREQ(ErrorText(0), "No error");
    EXPECT_STREQ(ErrorText(15), "The overflow bytes have been changed!");
    EXPECT_STREQ(ErrorText(23), "Unknown/unsupported picture format");
    EXPECT_STREQ(ErrorText(24), "Unknow error code!");
    EXPECT_STREQ(ErrorText(-1), "Unknow error code!");
    EXPECT_FALSE(SetError(ErrorCode::SeekFailed));
    EXPECT_TRUE(SetError(ErrorCode::ReadFailed, true, 0));
    int32_t code = 0;
    EXPECT_STREQ(errorState.GetErrorText(&code), "Read error");
    EXPECT_EQ(code, 5);
    EXPECT_FALSE(SetHandlerError(77));
    EXPECT_EQ(errorState.code, -1);
    EXPECT_EQ(errorState.handlerCode, 77);
}

} // namespace
