// The few threading primitives the board's rasteriser threads need: a lock, a
// condition and a thread running a function with an int. On Windows they are the
// system's own, as MinGW's win32 thread model has no std::thread.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace glide {

// A pause in a spin-wait loop: lets the core's other thread run and saves power.
inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

#ifdef _WIN32

class Lock {
public:
    void lock() { AcquireSRWLockExclusive(&srw); }
    void unlock() { ReleaseSRWLockExclusive(&srw); }
    SRWLOCK srw = SRWLOCK_INIT;
};

class Condition {
public:
    template <class Ready> void Wait(Lock& lock, Ready ready) {
        while (!ready()) {
            SleepConditionVariableSRW(&cv, &lock.srw, INFINITE, 0);
        }
    }
    void NotifyAll() { WakeAllConditionVariable(&cv); }

private:
    CONDITION_VARIABLE cv = CONDITION_VARIABLE_INIT;
};

class Thread {
public:
    Thread(void (*function)(int), int argument) : function(function), argument(argument) {
        handle = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~Thread() { Join(); }
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    void Join() {
        if (handle) {
            WaitForSingleObject(handle, INFINITE);
            CloseHandle(handle);
            handle = nullptr;
        }
    }
    bool Started() const { return handle != nullptr; }

private:
    static DWORD WINAPI Run(void* self) {
        auto* t = static_cast<Thread*>(self);
        t->function(t->argument);
        return 0;
    }
    void (*function)(int);
    int argument;
    HANDLE handle = nullptr;
};

inline int HardwareThreads() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return int(info.dwNumberOfProcessors);
}

#else

class Lock {
public:
    void lock() { mutex.lock(); }
    void unlock() { mutex.unlock(); }
    std::mutex mutex;
};

class Condition {
public:
    template <class Ready> void Wait(Lock& lock, Ready ready) {
        std::unique_lock<std::mutex> hold(lock.mutex, std::adopt_lock);
        cv.wait(hold, ready);
        hold.release();
    }
    void NotifyAll() { cv.notify_all(); }

private:
    std::condition_variable cv;
};

class Thread {
public:
    Thread(void (*function)(int), int argument) : thread(function, argument) {}
    ~Thread() { Join(); }
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    void Join() {
        if (thread.joinable()) {
            thread.join();
        }
    }
    bool Started() const { return thread.joinable(); }

private:
    std::thread thread;
};

inline int HardwareThreads() {
    return int(std::thread::hardware_concurrency());
}

#endif

} // namespace glide
