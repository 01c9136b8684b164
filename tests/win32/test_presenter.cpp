// The SDL presenter on the dummy driver's software renderer: the picture lands
// between black bars, and a window destroyed before its presenter leaves the
// presenter harmless.
#include "glide/presenter.h"
#include "win32/platform.h"
#include "win32/sdl_state.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class Presenter : public ::testing::Test {
protected:
    void SetUp() override {
        win32::ResetWindowsForTests();
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PlainProc;
        windowClass.lpszClassName = "presenter test";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        // 200 x 100 is wider than 4:3: the picture is 133 x 100 with bars of 33.
        window = CreateWindowExA(0, "presenter test", "", WS_POPUP, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
    }
    void TearDown() override { win32::ResetWindowsForTests(); }

    HWND window = nullptr;
};

TEST_F(Presenter, ThePictureFillsTheHeightBetweenBlackBars) {
    auto presenter = win32::MakeSdlPresenter(reinterpret_cast<uintptr_t>(window));
    ASSERT_NE(presenter, nullptr);
    const int width = 64;
    const int height = 48;
    const int stride = 80; // rows farther apart than their width
    std::vector<uint16_t> pixels(stride * height, 0xFFFF);
    presenter->Present(pixels.data(), width, height, stride);

    SDL_Renderer* renderer = SDL_GetRenderer(win32::detail::SdlWindowOf(window));
    ASSERT_NE(renderer, nullptr);
    std::vector<uint32_t> shown(200 * 100);
    ASSERT_EQ(
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shown.data(), 200 * 4), 0)
        << SDL_GetError();
    auto rgb = [&](int x, int y) { return shown[y * 200 + x] & 0xFFFFFF; };
    EXPECT_EQ(rgb(5, 50), 0u) << "left bar";
    EXPECT_EQ(rgb(194, 50), 0u) << "right bar";
    EXPECT_EQ(rgb(100, 50), 0xFFFFFFu) << "picture";
    EXPECT_EQ(rgb(100, 0), 0xFFFFFFu) << "the picture reaches the top";
    EXPECT_EQ(rgb(100, 99), 0xFFFFFFu) << "and the bottom";
}

TEST_F(Presenter, AWindowDestroyedFirstLeavesThePresenterHarmless) {
    auto presenter = win32::MakeSdlPresenter(reinterpret_cast<uintptr_t>(window));
    ASSERT_NE(presenter, nullptr);
    std::vector<uint16_t> pixels(64 * 48, 0x1234);
    presenter->Present(pixels.data(), 64, 48, 64);
    ASSERT_TRUE(DestroyWindow(window));
    presenter->Present(pixels.data(), 64, 48, 64); // dropped, nothing to draw into
    presenter.reset();
    EXPECT_EQ(win32::MakeSdlPresenter(reinterpret_cast<uintptr_t>(window)), nullptr);
}

} // namespace
