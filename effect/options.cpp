// Stand-in for the options screen until the effect and the options scene
// exist: it clears and swaps, so that the shell can run and be tested.
#include "effect/options.h"

#include "glide/glide.h"

ShowMode showMode = ShowMode::WatchOnly;

bool OptionsSetUp(bool watchOnly) {
    showMode = watchOnly ? ShowMode::WatchOnly : ShowMode::Interactive;
    return true;
}

bool OptionsFrame() {
    grBufferClear(0, 0, 0xFFFF);
    grBufferSwap(1);
    return true;
}

void OptionsRelease() {}
