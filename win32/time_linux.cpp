// Tick count, multimedia timer and Sleep on Linux: milliseconds of the monotonic
// clock, cut to 32 bits so that they wrap as Windows' counters do.
#include "win32/win32.h"

#include <cerrno>
#include <ctime>

namespace {

DWORD MonotonicMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(milliseconds);
}

} // namespace

DWORD WINAPI GetTickCount(void) {
    return MonotonicMilliseconds();
}

DWORD WINAPI timeGetTime(void) {
    return MonotonicMilliseconds();
}

// The monotonic clock already has millisecond resolution: nothing to change.
MMRESULT WINAPI timeBeginPeriod(UINT period) {
    return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT period) {
    return period == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR;
}

void WINAPI Sleep(DWORD milliseconds) {
    timespec rest;
    rest.tv_sec = static_cast<time_t>(milliseconds / 1000);
    rest.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}
