// Where a presenter puts the picture in its window: as large as fits, centred,
// with the picture's own aspect kept, so a wider screen gets bars left and right
// and a taller one bars above and below.
#pragma once

namespace win32 {

struct PictureArea {
    int x; // window pixels from the client's top-left corner
    int y;
    int width;
    int height;
};

inline PictureArea FitPicture(int windowWidth, int windowHeight, int pictureWidth,
                              int pictureHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return {0, 0, 0, 0};
    }
    // Compare windowWidth / windowHeight with pictureWidth / pictureHeight exactly.
    long long wide = static_cast<long long>(windowWidth) * pictureHeight;
    long long tall = static_cast<long long>(windowHeight) * pictureWidth;
    int width = windowWidth;
    int height = windowHeight;
    if (wide > tall) {
        width = static_cast<int>(tall / pictureHeight);
    } else if (wide < tall) {
        height = static_cast<int>(wide / pictureWidth);
    }
    return {(windowWidth - width) / 2, (windowHeight - height) / 2, width, height};
}

} // namespace win32
