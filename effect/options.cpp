// Options screen, watch-only show: the effect alone, full-screen. The
// interactive screen follows once the options scene can be loaded.
#include "effect/options.h"

#include "effect/effect.h"
#include "geometry/view.h"
#include "glide/glide.h"

ShowMode showMode = ShowMode::WatchOnly;

namespace {
int32_t ready = 0;
}

bool OptionsSetUp(bool watchOnly) {
    showMode = watchOnly ? ShowMode::WatchOnly : ShowMode::Interactive;
    if (!theEffect.Start())
        return false;
    theEffect.view.Setup(showWidth, showHeight, 60, 0, 0);
    ready = 1;
    return true;
}

bool OptionsFrame() {
    if (!ready)
        return true;
    grBufferClear(0, 0, 0xFFFF);
    grDepthMask(FXFALSE);
    grDepthBufferMode(GR_DEPTHBUFFER_DISABLE);
    theEffect.Update();
    grBufferSwap(1);
    return true;
}

void OptionsRelease() {
    theEffect.Release();
    ready = 0;
}
