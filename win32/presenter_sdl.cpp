// The software board's presenter on Linux: each frame goes into an SDL streaming
// texture in RGB 565 and is drawn scaled into the window, aspect kept, black
// around it. No vertical sync: the show paces itself, and a frame never waits
// on a display that may not be there.
#include "glide/presenter.h"
#include "win32/picture_fit.h"
#include "win32/platform.h"
#include "win32/sdl_state.h"

namespace {

class SdlPresenter : public glide::Presenter {
public:
    explicit SdlPresenter(HWND window) : window(window) {
        win32::detail::SetDetachHook(window, &SdlPresenter::Detach, this);
    }
    ~SdlPresenter() override {
        Release();
        win32::detail::SetDetachHook(window, nullptr, nullptr);
    }

    void Present(const uint16_t* pixels, int width, int height, int stridePixels) override {
        if (pixels == nullptr || width <= 0 || height <= 0 || !Ready(width, height)) {
            return;
        }
        SDL_UpdateTexture(texture, nullptr, pixels,
                          stridePixels * static_cast<int>(sizeof(uint16_t)));
        int outputWidth = 0;
        int outputHeight = 0;
        SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
        win32::PictureArea area = win32::FitPicture(outputWidth, outputHeight, width, height);
        SDL_Rect target = {area.x, area.y, area.width, area.height};
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, &target);
        SDL_RenderPresent(renderer);
    }

private:
    // Makes the renderer once and the texture whenever the picture size changes;
    // false when either cannot be had (the frame is then dropped).
    bool Ready(int width, int height) {
        if (failed) {
            return false;
        }
        if (renderer == nullptr) {
            SDL_Window* sdl = win32::detail::SdlWindowOf(window);
            if (sdl == nullptr) {
                failed = true;
                return false;
            }
            SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
            renderer = SDL_CreateRenderer(sdl, -1, 0);
            if (renderer == nullptr) {
                failed = true;
                return false;
            }
        }
        if (texture == nullptr || width != textureWidth || height != textureHeight) {
            if (texture != nullptr) {
                SDL_DestroyTexture(texture);
            }
            texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565,
                                        SDL_TEXTUREACCESS_STREAMING, width, height);
            textureWidth = width;
            textureHeight = height;
            if (texture == nullptr) {
                return false;
            }
        }
        return true;
    }

    void Release() {
        if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
            if (texture != nullptr) {
                SDL_DestroyTexture(texture);
            }
            if (renderer != nullptr) {
                SDL_DestroyRenderer(renderer);
            }
        }
        texture = nullptr;
        renderer = nullptr;
    }

    // The window is going away: let go of its renderer and drop later frames.
    static void Detach(void* user) {
        auto* presenter = static_cast<SdlPresenter*>(user);
        presenter->Release();
        presenter->failed = true;
    }

    HWND window;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    bool failed = false;
};

} // namespace

namespace win32 {

std::unique_ptr<glide::Presenter> MakeSdlPresenter(uintptr_t windowHandle) {
    HWND window = reinterpret_cast<HWND>(windowHandle);
    if (detail::SdlWindowOf(window) == nullptr) {
        return nullptr;
    }
    return std::make_unique<SdlPresenter>(window);
}

} // namespace win32
