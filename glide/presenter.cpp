// The presenter factory in use, and the headless presenter that shows nothing.
#include "glide/presenter.h"

namespace glide {

// Set by the platform layer before the board opens; without one it runs headless.
static PresenterFactory factory = nullptr;

namespace {

// Shows nothing: the frames of tests and benchmarks stay in the board's buffers.
class HeadlessPresenter final : public Presenter {
public:
    void Present(const uint16_t*, int, int, int) override {}
};

} // namespace

void SetPresenterFactory(PresenterFactory newFactory) {
    factory = newFactory;
}

// Used by grSstWinOpen: the factory's presenter, or the headless one.
std::unique_ptr<Presenter> MakePresenter(GrWindowHandle_t window) {
    std::unique_ptr<Presenter> presenter;
    if (factory) {
        presenter = factory(window);
    }
    if (!presenter) {
        presenter = std::make_unique<HeadlessPresenter>();
    }
    return presenter;
}

} // namespace glide
