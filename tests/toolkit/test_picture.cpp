#include "toolkit/picture.h"

#include "toolkit_fixture.h"

#include <algorithm>

namespace {

using PictureTest = toolkit_test::ToolkitTest;

// Fills an 8-bit picture with value = 10 * row + column + 1.
void Number(Picture& picture) {
    for (int32_t row = 0; row < picture.height; ++row)
        for (int32_t column = 0; column < picture.width; ++column)
            picture.pixels[row * picture.stride + column] =
                static_cast<unsigned char>(10 * row + column + 1);
}

unsigned char At(const Picture& picture, int32_t column, int32_t row) {
    return picture.pixels[row * picture.stride + column];
}

// Rows are rounded up to four bytes; impossible sizes fail without allocating.
TEST_F(PictureTest, CreateRoundsRowsAndRefusesImpossibleSizes) {
    Picture picture;
    ASSERT_TRUE(picture.Create(3, 2, 24, false));
    EXPECT_EQ(picture.stride, 12);
    EXPECT_EQ(allocator->GetTotal(), 24u + 2u);
    EXPECT_EQ(std::count(picture.pixels, picture.pixels + 24, 0), 24);
    ASSERT_TRUE(picture.Create(5, 1, 8, true));
    EXPECT_EQ(picture.stride, 8);
    EXPECT_EQ(allocator->GetTotal(), 8u + 2u); // the first store was released
    picture.Release();
    EXPECT_FALSE(picture.Create(-1, 10, 8, false));
    EXPECT_EQ(Code(), ErrorCode::OutOfMemory);
    EXPECT_FALSE(picture.Create(65536, 65536, 32, false));
    EXPECT_FALSE(picture.Create(INT32_MAX, 1, 32, false));
    EXPECT_EQ(picture.pixels, nullptr);
    EXPECT_EQ(allocator->GetTotal(), 0u);
}

TEST_F(PictureTest, BlitCopiesOnlyInsideClipAndBothPictures) {
    Picture source, target;
    ASSERT_TRUE(source.Create(4, 3, 8, false));
    ASSERT_TRUE(target.Create(6, 5, 8, false));
    Number(source);

    // Without a clip rectangle nothing is copied.
    EXPECT_TRUE(target.Blit(source, 0, 0, 0, 0, 4, 3));
    EXPECT_EQ(At(target, 0, 0), 0);

    target.SetClip({1, 1, 6, 5});
    // Source placed at (2, 1); ask for far more than the source holds.
    EXPECT_TRUE(target.Blit(source, -10, -10, 2, 1, 100, 100));
    for (int32_t row = 0; row < 5; ++row) {
        for (int32_t column = 0; column < 6; ++column) {
            bool inside = column >= 2 && row >= 1 && row < 4;
            unsigned char expected =
                inside ? static_cast<unsigned char>(10 * (row - 1) + (column - 2) + 1) : 0;
            EXPECT_EQ(At(target, column, row), expected) << column << "," << row;
        }
    }
    EXPECT_EQ(allocator->GetTotal(), 12u + 2u + 40u + 2u); // guards intact

    // The clip rectangle cuts the copy too.
    Picture small;
    ASSERT_TRUE(small.Create(6, 5, 8, false));
    small.SetClip({0, 0, 3, 2});
    small.Blit(source, 0, 0, 0, 0, 4, 3);
    EXPECT_EQ(At(small, 2, 1), 13);
    EXPECT_EQ(At(small, 3, 1), 0);
    EXPECT_EQ(At(small, 2, 2), 0);
    // A clip rectangle larger than the picture does not write outside it.
    small.SetClip({-100, -100, 100, 100});
    small.Blit(source, 4, 3, 4, 3, 10, 10);
    EXPECT_EQ(At(small, 5, 4), 12);
    EXPECT_TRUE(Free(small.pixels)); // guard intact
    small.pixels = nullptr;
}

} // namespace
