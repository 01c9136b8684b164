// Whole-show pictures drawn headless from a fixed seed, compared within a tolerance with
// tests/reference/images/. One show per process, so run them through ctest. After an
// intended change: cd build && SOLVANE_REMAKE_REFERENCES=1 ctest -R Reference, and look
// at the .ppm files; a failing comparison leaves <name>.actual.ppm behind.
#include "effect/mouse_input.h"
#include "effect/options.h"
#include "effect/options_parts.h"
#include "glide/bytes.h"
#include "glide/pixel.h"
#include "scene/scene.h"
#include "tests/support/board_pixels.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/show_board.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"
#include "toolkit/report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

// At most 0.5 % of reduced pixels may be more than one level off: a rounding change
// passes, a moved, missing or recoloured shape does not.
constexpr int LevelTolerance = 1;
constexpr double DifferingShare = 0.005;

using Picture = std::vector<uint16_t>; // 565, full size
using Reduced = std::vector<uint16_t>; // 0x0RGB, 4 bits a channel, half size

int Expand(uint16_t pixel, int channel) { // 565 to 8 bits, as the board widens it
    int rgb[3];
    glide::ExpandPixel(pixel, &rgb[0], &rgb[1], &rgb[2]);
    return rgb[channel];
}

// Compared at half size in 16 levels a channel: the dither washes out, shapes stay.
Reduced Reduce(const Picture& picture) {
    Reduced reduced;
    for (int y = 0; y < Height; y += 2) {
        for (int x = 0; x < Width; x += 2) {
            uint16_t value = 0;
            for (int channel = 0; channel < 3; ++channel) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        sum += Expand(picture[size_t(y + dy) * Width + x + dx], channel);
                // 0..1020 to the nearest of 16 levels (level n stands for 17 n).
                value = static_cast<uint16_t>((value << 4) | ((sum * 2 + 68) / 136));
            }
            reduced.push_back(value);
        }
    }
    return reduced;
}

std::string ImagePath(const std::string& name) {
    return std::string(SOLVANE_REFERENCE_DIR) + "/" + name + ".ref";
}

// Stored as "REF1", then runs: a count (1 to 255) and a 16-bit little-endian value.
bool Save(const std::string& path, const Reduced& reduced) {
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes, ByteOrder::Little);
    out.Bytes("REF1", 4);
    for (size_t i = 0; i < reduced.size();) {
        size_t run = 1;
        while (i + run < reduced.size() && run < 255 && reduced[i + run] == reduced[i])
            ++run;
        out.U8(static_cast<uint8_t>(run));
        out.U16(reduced[i]);
        i += run;
    }
    return testsupport::WriteWhole(path, bytes);
}

Reduced Load(const std::string& path) {
    const std::string bytes = testsupport::ReadWhole(path);
    ByteReader in(bytes.data(), bytes.size(), ByteOrder::Little);
    char tag[4];
    Reduced reduced;
    if (!in.Bytes(tag, 4) || std::memcmp(tag, "REF1", 4) != 0)
        return reduced;
    uint8_t run;
    uint16_t value;
    while (in.U8(&run) && in.U16(&value))
        reduced.insert(reduced.end(), run, value);
    return reduced;
}

// A picture for people: binary PPM.
void SaveViewable(const std::string& path, const Picture& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << Width << " " << Height << "\n255\n";
    for (uint16_t pixel : picture)
        for (int channel = 0; channel < 3; ++channel)
            out.put(static_cast<char>(Expand(pixel, channel)));
}

// Share of reduced pixels outside the tolerance.
double DifferingPixels(const Reduced& a, const Reduced& b) {
    size_t differing = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        for (int shift = 0; shift <= 8; shift += 4) {
            if (std::abs(((a[i] >> shift) & 15) - ((b[i] >> shift) & 15)) > LevelTolerance) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(a.size());
}

// Compares the frame OptionsFrame just swapped to the front, or remakes its reference.
void Check(const std::string& name) {
    const Picture actual = testsupport::ReadBackBuffer(GR_BUFFER_FRONTBUFFER);
    ASSERT_EQ(actual.size(), size_t(Width) * Height) << "the board could not be read";
    const Reduced reduced = Reduce(actual);
    if (std::getenv("SOLVANE_REMAKE_REFERENCES") != nullptr) {
        ASSERT_TRUE(Save(ImagePath(name), reduced)) << ImagePath(name);
        SaveViewable(std::string(SOLVANE_REFERENCE_DIR) + "/" + name + ".ppm", actual);
        return;
    }
    const Reduced expected = Load(ImagePath(name));
    ASSERT_EQ(expected.size(), reduced.size()) << "no reference picture " << ImagePath(name);
    const double share = DifferingPixels(expected, reduced);
    if (share > DifferingShare)
        SaveViewable(name + ".actual.ppm", actual);
    EXPECT_LE(share, DifferingShare) << name << ": " << share * 100 << " % of the pixels differ";
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
    Check("saver-100");
}

TEST_F(Reference, OptionsScreenAtRestAndTheAboutCardHeld) {
    ASSERT_TRUE(OptionsSetUp(false)) << reportText;
    Frames(50);
    Check("options-rest");

    // The cursor on the About plate and one frame with the button down: the credits stand.
    options::buttonItems[options::SlotCursor]->motion.keys[0].value[0] = 2.9258f;
    options::buttonItems[options::SlotCursor]->motion.keys[0].value[1] = -2.6384f;
    mouseButtons = 1;
    Frames(1);
    mouseButtons = 0;
    Frames(80);
    ASSERT_EQ(options::optionsScene.currentFrame, 39.0f) << "the About card is not held";
    Check("about-held");
}

} // namespace
