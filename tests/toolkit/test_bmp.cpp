// BMP files from RGB 565 pictures (the screenshots).
#include "toolkit/bmp.h"

#include "toolkit_fixture.h"

#include <filesystem>

namespace {

using toolkit_test::Bytes;
using BmpTest = toolkit_test::ToolkitTest;
using toolkit_test::ReadWhole;

uint32_t Little32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

// A 3 × 2 picture, rows 4 pixels apart. Top row: white, red, and red 16 / green
// 32 / blue 1; bottom row: green, blue, black. Channels widen by repeating their
// high bits: 5-bit 16 gives 132, 5-bit 1 gives 8, 6-bit 32 gives 130.
const uint16_t picture[8] = {0xFFFF, 0xF800, 16 << 11 | 32 << 5 | 1, 0x1234, 0x07E0, 0x001F,
                             0x0000, 0x1234};

TEST_F(BmpTest, HeadersThenBottomRowFirstPaddedToFourBytes) {
    Bytes bmp;
    ASSERT_TRUE(EncodeBmp565(picture, 8, 3, 2, &bmp));
    ASSERT_EQ(bmp.size(), 54u + 2 * 12); // 9 bytes a row, padded to 12
    EXPECT_EQ(std::string(bmp.begin(), bmp.begin() + 2), "BM");
    // File size, reserved, pixel offset, header size, width, height, planes | 24
    // bits, and six zero fields.
    const uint32_t header[] = {78, 0, 54, 40, 3, 2, 1 | 24 << 16, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < std::size(header); ++i)
        EXPECT_EQ(Little32(bmp, 2 + 4 * i), header[i]) << "offset " << 2 + 4 * i;
    // Blue, green, red for each pixel.
    const Bytes rows = {0,   255, 0,   255, 0, 0,   0, 0,   0,   0, 0, 0,  // bottom
                        255, 255, 255, 0,   0, 255, 8, 130, 132, 0, 0, 0}; // top
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.end()), rows);
}

// Screenshot names come with backslashes; without its folder nothing is written and
// the folder is not made. A picture over 4 GiB is refused without reading a pixel.
TEST_F(BmpTest, WritesTheFileOnlyIntoAnExistingFolderAndRefusesHugePictures) {
    const std::string missing = PathOf("shots") + "\\a.bmp";
    EXPECT_FALSE(WriteBmp565(missing.c_str(), picture, 8, 3, 2));
    EXPECT_FALSE(std::filesystem::exists(PathOf("shots")));
    std::filesystem::create_directory(PathOf("shots"));
    ASSERT_TRUE(WriteBmp565(missing.c_str(), picture, 8, 3, 2));
    Bytes encoded;
    ASSERT_TRUE(EncodeBmp565(picture, 8, 3, 2, &encoded));
    const std::string file = ReadWhole(PathOf("shots/a.bmp"));
    EXPECT_EQ(Bytes(file.begin(), file.end()), encoded);
    EXPECT_FALSE(EncodeBmp565(nullptr, 0, 0x7FFFFFFF, 2, &encoded));
    EXPECT_TRUE(encoded.empty());
}

} // namespace
