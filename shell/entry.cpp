// Program entry, start-up, message loop and shutdown.
#include "shell/entry.h"

#include "effect/options.h"
#include "glide/glide.h"
#include "shell/command_line.h"
#include "shell/director.h"
#include "shell/main_view.h"
#include "shell/main_window.h"
#include "shell/password.h"
#include "toolkit/report.h"
#include "shell/saver.h"
#include "shell/window.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr const char* StartupModule = "Startup";
constexpr const char* WindowClassName = "Glide demo";
constexpr const char* WindowTitle = "Glide demo";
constexpr int SettingsDialogId = 101;
constexpr UINT ErrorBoxStyle = MB_ICONHAND | MB_SETFOREGROUND;
constexpr DWORD StartPauseMs = 500;

HINSTANCE programInstance = nullptr;
GrHwConfiguration hardwareConfig; // filled by the Glide set-up; nothing reads it afterwards

// Where the user hears of an error: a message box, or for a show drawn into
// another program's window one line on stderr (a box would pop up over the
// engine's screen, where nobody may answer it).
void ShowError(const char* text) {
    if (screenSaver.mode != RunMode::Hosted) {
        MessageBoxA(nullptr, text, MessageCaption, ErrorBoxStyle);
        return;
    }
    std::fputs("solvane: ", stderr);
    for (const char* p = text; *p != 0; ++p)
        std::fputc(*p == '\n' ? ' ' : *p, stderr);
    std::fputc('\n', stderr);
}

void ShowReport() {
    if (reportText[0] != 0)
        ShowError(reportText);
}

// The multimedia timer's period at 1 ms for the life of the show, so that waits
// for the next frame end on time where the system tick is 15.6 ms.
class TimerPeriod {
public:
    TimerPeriod() : set(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~TimerPeriod() {
        if (set)
            timeEndPeriod(1);
    }
    TimerPeriod(const TimerPeriod&) = delete;
    TimerPeriod& operator=(const TimerPeriod&) = delete;

private:
    bool set;
};

// Ends a run that never reached the show: every archive and the toolkit go.
int EndEarly() {
    ArchiveRelease(nullptr);
    ToolkitShutdown();
    return 0;
}

bool SetUpApplication() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return true;
}

bool SetUpWindow() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = programInstance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = WindowClassName;
    if (RegisterClassA(&windowClass) == 0)
        return false;
    // Creation runs WindowProc's WM_CREATE, which records the handle, the cursor
    // and the tick count in screenSaver.
    mainWindow = CreateWindowExA(0, WindowClassName, WindowTitle, WS_POPUP, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 nullptr, nullptr, programInstance, nullptr);
    return mainWindow != nullptr;
}

bool SetUpGlide(HWND drawWindow) {
    grGlideInit();
    if (!grSstQueryHardware(&hardwareConfig))
        return false;
    grSstSelect(0);
    if (!grSstWinOpen(reinterpret_cast<GrWindowHandle_t>(drawWindow), GR_RESOLUTION_640x480,
                      GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR, GR_ORIGIN_UPPER_LEFT, 2, 0))
        return false;
    UseShowDepthRange();
    return true;
}

// The show draws into its own window, made here, or into hostWindow, the window
// another program owns (RunMode::Hosted), which it never touches but through
// the board's presenter.
bool StartUp(HWND hostWindow) {
    if (!SetUpApplication()) {
        ReportError(StartupModule, 43, "Failed to setup application!");
        return false;
    }
    if (hostWindow == nullptr && !SetUpWindow()) {
        ReportError(StartupModule, 49, "Failed to setup the windows!");
        return false;
    }
    if (!SetUpGlide(hostWindow != nullptr ? hostWindow : mainWindow)) {
        ReportError(StartupModule, 170, "Unable to init glide!");
        return false;
    }
    if (hostWindow == nullptr) {
        ShowWindow(mainWindow, SW_SHOWNORMAL);
        UpdateWindow(mainWindow);
    }
    return true;
}

void SetSaverRunning(BOOL running) {
    UINT scratch = 0;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, running, &scratch, 0);
}

// Returns WM_QUIT's exit code. Messages come first; when none is waiting the
// director may make a frame, and then the loop sleeps until the next message or
// the next frame's time, so a paced show leaves the processor alone between
// frames. A show drawn into hostWindow also ends when that window is gone or
// an error was reported (it has no window of its own to close).
int RunMessageLoop(HWND hostWindow) {
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        if (appActive == 0) {
            WaitMessage();
            continue;
        }
        Director();
        if (hostWindow != nullptr && (reportText[0] != 0 || !IsWindow(hostWindow)))
            return 0;
        DWORD wait = DirectorWaitMs();
        if (wait > 0)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

} // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

int RunProgram(HINSTANCE instance, const char* commandLine) {
    reportText[0] = 0;
    SetReportHook(CloseMainWindowOnReport);
    programInstance = instance;
    if (IsVtuneSwitch(commandLine))
        vtune = 1;
    if (!ToolkitStartup())
        return 0;

    const char* processLine = GetCommandLineA();
    // Known before the archive, so that a hosted show reports on stderr.
    CommandLineChoice choice = ParseCommandLine(processLine);
    screenSaver.mode = choice.mode;
    if (choice.badHostNumber) {
        std::fputs("solvane: -window-id needs a window number (decimal, or hex after 0x)\n",
                   stderr);
        EndEarly();
        return 1;
    }

    char archivePath[ArchivePathSize];
    // A path too long for the buffer counts as a missing archive.
    if (!BuildArchivePath(processLine, archivePath, sizeof archivePath) ||
        ArchiveOpen(archivePath) == 0) {
        ShowError("Unable to find the \"Slv.Dat\" file.\n\nMake sure you place the \"Slv.Dat\" "
                  "file in the same dir as the .exe file!");
        EndEarly();
        return screenSaver.mode == RunMode::Hosted ? 1 : 0;
    }

    ApplyCommandLine(processLine);
    HWND hostWindow = nullptr;
    switch (screenSaver.mode) {
    case RunMode::Configure: {
        screenSaver.busy = 1;
        INT_PTR choice = DialogBoxParamA(instance, MAKEINTRESOURCEA(SettingsDialogId),
                                         screenSaver.parentWindow, SettingsDialogProc, 0);
        screenSaver.busy = 0;
        if (choice != 1)
            return EndEarly();
        break;
    }
    case RunMode::ChangePassword:
        ChangeSaverPassword(screenSaver.parentWindow);
        return EndEarly();
    case RunMode::Preview:
    case RunMode::Saver:
        // No preview is ever drawn into the control panel's window.
        if (screenSaver.parentWindow != nullptr)
            return EndEarly();
        break;
    case RunMode::Other:
        break;
    case RunMode::Hosted:
        hostWindow = screenSaver.parentWindow;
        if (hostWindow == nullptr) {
            std::fputs("solvane: no window to draw into: there is no X display\n", stderr);
            EndEarly();
            return 1;
        }
        if (!IsWindow(hostWindow)) {
            std::fprintf(stderr, "solvane: there is no window 0x%lx to draw into\n",
                         static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hostWindow)));
            EndEarly();
            return 1;
        }
        break;
    }

    TimerPeriod timerPeriod;
    if (!StartUp(hostWindow)) {
        ShowReport();
        EndEarly();
        grGlideShutdown();
        return hostWindow != nullptr ? 1 : 0;
    }

    CreateMainView();
    FrameStats(FrameStatsStart);
    if (hostWindow == nullptr)
        Sleep(StartPauseMs); // a window of our own settles first; an engine's is ready
    if (screenSaver.mode == RunMode::Saver)
        SetSaverRunning(TRUE);

    int exitCode = RunMessageLoop(hostWindow);
    if (hostWindow != nullptr && reportText[0] != 0)
        exitCode = 1;

    ShowReport();
    FrameStats(FrameStatsReport);
    OptionsRelease();
    ReleaseMainView();
    ArchiveRelease(nullptr);
    ToolkitShutdown();
    if (screenSaver.mode == RunMode::Saver)
        SetSaverRunning(FALSE);
    grGlideShutdown();
    return exitCode;
}
