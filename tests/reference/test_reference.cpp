// Reference pictures of the whole show, drawn headless through the program's
// own set-up and frames from a fixed random seed: the saver's 100th frame, the
// options screen at rest, and the About card held. Each is compared with the
// picture stored in tests/reference/images/ within a stated tolerance, so that a
// change anywhere from the content to the rasteriser that alters what people see
// fails here.
//
// After an intended change, remake them and look at them (the .ppm files):
//     SOLVANE_REMAKE_REFERENCES=1 build/bin/test_reference
// A failing comparison leaves <name>.actual.ppm and <name>.expected.ppm in the
// working directory.
#include "effect/mouse_input.h"
#include "effect/options.h"
#include "effect/options_parts.h"
#include "scene/scene.h"
#include "tests/support/board_pixels.h"
#include "tests/support/show_board.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"
#include "toolkit/report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

// The tolerance: a pixel differs when any channel, expanded to 8 bits, is more
// than 24 away from the reference; at most 0.5 % of the pixels may differ. A
// rounding change in the rasteriser stays inside; a moved, missing or
// recoloured part of the picture does not.
constexpr int ChannelTolerance = 24;
constexpr double DifferingShare = 0.005;

using Picture = std::vector<uint16_t>;

std::string ImagePath(const std::string& name) {
    return std::string(SOLVANE_REFERENCE_DIR) + "/" + name + ".rle";
}

// Stored as runs of equal 565 pixels: "RLE565", then (count, pixel) pairs of
// little-endian 16-bit numbers; a frame with large flat areas packs small.
bool Save(const std::string& path, const Picture& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "RLE565";
    auto put = [&out](uint16_t value) {
        out.put(static_cast<char>(value & 0xFF));
        out.put(static_cast<char>(value >> 8));
    };
    for (size_t i = 0; i < picture.size();) {
        size_t run = 1;
        while (i + run < picture.size() && run < 0xFFFF && picture[i + run] == picture[i])
            ++run;
        put(static_cast<uint16_t>(run));
        put(picture[i]);
        i += run;
    }
    return static_cast<bool>(out);
}

Picture Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Picture picture;
    if (bytes.compare(0, 6, "RLE565") != 0)
        return picture;
    auto get = [&bytes](size_t at) {
        return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                     (static_cast<uint8_t>(bytes[at + 1]) << 8));
    };
    for (size_t at = 6; at + 4 <= bytes.size(); at += 4) {
        uint16_t run = get(at);
        if (picture.size() + run > size_t(Width) * Height)
            return {};
        picture.insert(picture.end(), run, get(at + 2));
    }
    return picture;
}

// A picture for people: binary PPM, which image viewers and ImageMagick read.
void SaveViewable(const std::string& path, const Picture& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << Width << " " << Height << "\n255\n";
    for (uint16_t pixel : picture) {
        const int r = pixel >> 11, g = (pixel >> 5) & 63, b = pixel & 31;
        out.put(static_cast<char>((r << 3) | (r >> 2)));
        out.put(static_cast<char>((g << 2) | (g >> 4)));
        out.put(static_cast<char>((b << 3) | (b >> 2)));
    }
}

// Share of pixels outside the channel tolerance.
double DifferingPixels(const Picture& a, const Picture& b) {
    size_t differing = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const int channels[3][2] = {{11, 31}, {5, 63}, {0, 31}};
        for (const auto& [shift, mask] : channels) {
            const int scale = mask == 63 ? 4 : 8;
            if (std::abs(((a[i] >> shift) & mask) - ((b[i] >> shift) & mask)) * scale >
                ChannelTolerance) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(a.size());
}

void Check(const std::string& name, const Picture& actual) {
    ASSERT_EQ(actual.size(), size_t(Width) * Height) << "the board could not be read";
    if (std::getenv("SOLVANE_REMAKE_REFERENCES") != nullptr) {
        ASSERT_TRUE(Save(ImagePath(name), actual)) << ImagePath(name);
        SaveViewable(std::string(SOLVANE_REFERENCE_DIR) + "/" + name + ".ppm", actual);
        return;
    }
    Picture expected = Load(ImagePath(name));
    ASSERT_EQ(expected.size(), actual.size()) << "no reference picture " << ImagePath(name);
    const double share = DifferingPixels(expected, actual);
    if (share > DifferingShare) {
        SaveViewable(name + ".actual.ppm", actual);
        SaveViewable(name + ".expected.ppm", expected);
    }
    EXPECT_LE(share, DifferingShare) << name << ": " << share * 100 << " % of the pixels differ";
}

// The frame OptionsFrame just swapped to the front.
Picture Frame() {
    return testsupport::ReadBackBuffer(GR_BUFFER_FRONTBUFFER);
}

class Reference : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ToolkitStartup());
        ASSERT_GT(ArchiveOpen(SOLVANE_ARCHIVE), 0u) << SOLVANE_ARCHIVE;
        ASSERT_TRUE(testsupport::OpenShowBoard());
        reportText[0] = '\0';
        Scene::surfaceTurn = 0; // the program's first scene
        mouseDeltaX = mouseDeltaY = 0;
        mouseButtons = 0;
        std::srand(1);
    }
    void TearDown() override {
        OptionsRelease();
        grSstWinClose();
        grGlideShutdown();
        ArchiveRelease(nullptr);
        ToolkitShutdown();
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(OptionsFrame());
    }
};

TEST_F(Reference, SaverAtFrame100) {
    ASSERT_TRUE(OptionsSetUp(true)) << reportText;
    Frames(100);
    Check("saver-100", Frame());
}

TEST_F(Reference, OptionsScreenAtRestAndTheAboutCardHeld) {
    ASSERT_TRUE(OptionsSetUp(false)) << reportText;
    Frames(50);
    Check("options-rest", Frame());

    // The cursor's tip on the About plate, then one frame with the left button
    // down: the panel slides away and the credits stand until the next press.
    options::buttonItems[options::SlotCursor]->motion.keys[0].value[0] = 2.9258f;
    options::buttonItems[options::SlotCursor]->motion.keys[0].value[1] = -2.6384f;
    mouseButtons = 1;
    Frames(1);
    mouseButtons = 0;
    Frames(80);
    ASSERT_EQ(options::optionsScene.currentFrame, 39.0f) << "the About card is not held";
    Check("about-held", Frame());
}

} // namespace
