#include "toolkit/picture.h"

#include "toolkit_fixture.h"

namespace {

using PictureTest = toolkit_test::ToolkitTest;

unsigned char At(const Picture& picture, int32_t column, int32_t row) {
    return picture.pixels[row * picture.stride + column];
}

// A blit writes only inside the clip rectangle, the target and the source, even
// when asked for far more; guards stay intact.
TEST_F(PictureTest, BlitCopiesOnlyInsideClipAndBothPictures) {
    Picture source, target;
    ASSERT_TRUE(source.Create(4, 3, 8, false) && target.Create(6, 5, 8, false));
    for (int32_t row = 0; row < 3; ++row)
        for (int32_t column = 0; column < 4; ++column)
            source.pixels[row * source.stride + column] = uint8_t(10 * row + column + 1);
    EXPECT_TRUE(target.Blit(source, 0, 0, 0, 0, 4, 3));
    EXPECT_EQ(At(target, 0, 0), 0) << "without a clip rectangle nothing is copied";

    target.SetClip({-100, -100, 3, 100});                       // columns 0 to 2 only
    EXPECT_TRUE(target.Blit(source, -10, -10, 1, 1, 100, 100)); // source placed at (1, 1)
    for (int32_t row = 0; row < 5; ++row)
        for (int32_t column = 0; column < 6; ++column) {
            bool inside = column >= 1 && column < 3 && row >= 1 && row < 4;
            EXPECT_EQ(At(target, column, row), inside ? 10 * (row - 1) + column : 0)
                << column << "," << row;
        }
    EXPECT_TRUE(Free(target.pixels)); // guard intact
    target.pixels = nullptr;
}

} // namespace
