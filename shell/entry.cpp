// Program entry, start-up, message loop and shutdown.
#include "shell/entry.h"

#include "effect/options.h"
#include "glide/glide.h"
#include "shell/command_line.h"
#include "shell/director.h"
#include "shell/main_view.h"
#include "shell/main_window.h"
#include "shell/password.h"
#include "shell/report.h"
#include "shell/saver.h"
#include "shell/window.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"

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

void ShowReport() {
    if (reportText[0] != 0)
        MessageBoxA(nullptr, reportText, MessageCaption, ErrorBoxStyle);
}

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

bool SetUpGlide() {
    grGlideInit();
    if (!grSstQueryHardware(&hardwareConfig))
        return false;
    grSstSelect(0);
    if (!grSstWinOpen(reinterpret_cast<GrWindowHandle_t>(mainWindow), GR_RESOLUTION_640x480,
                      GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR, GR_ORIGIN_UPPER_LEFT, 2, 0))
        return false;
    UseShowDepthRange();
    return true;
}

bool StartUp() {
    if (!SetUpApplication()) {
        ReportError(StartupModule, 43, "Failed to setup application!");
        return false;
    }
    if (!SetUpWindow()) {
        ReportError(StartupModule, 49, "Failed to setup the windows!");
        return false;
    }
    if (!SetUpGlide()) {
        ReportError(StartupModule, 170, "Unable to init glide!");
        return false;
    }
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    UpdateWindow(mainWindow);
    return true;
}

void SetSaverRunning(BOOL running) {
    UINT scratch = 0;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, running, &scratch, 0);
}

// Returns WM_QUIT's exit code.
int RunMessageLoop() {
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (appActive != 0) {
            Director();
        } else {
            WaitMessage();
        }
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
    programInstance = instance;
    if (IsVtuneSwitch(commandLine))
        vtune = 1;
    if (!ToolkitStartup())
        return 0;

    const char* processLine = GetCommandLineA();
    char archivePath[ArchivePathSize];
    // A path too long for the buffer counts as a missing archive.
    if (!BuildArchivePath(processLine, archivePath, sizeof archivePath) ||
        ArchiveOpen(archivePath) == 0) {
        MessageBoxA(nullptr,
                    "Unable to find the \"Slv.Dat\" file.\n\nMake sure you place the \"Slv.Dat\" "
                    "file in the same dir as the .exe file!",
                    MessageCaption, ErrorBoxStyle);
        return EndEarly();
    }

    ApplyCommandLine(processLine);
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
    }

    if (!StartUp()) {
        ShowReport();
        EndEarly();
        grGlideShutdown();
        return 0;
    }

    CreateMainView();
    FrameStats(FrameStatsStart);
    Sleep(StartPauseMs);
    if (screenSaver.mode == RunMode::Saver)
        SetSaverRunning(TRUE);

    int exitCode = RunMessageLoop();

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
