// The process entry on Linux: makes the command line Windows would have passed,
// installs the presenter for the software board, catches the termination signals
// and runs WinMain.
#include "glide/presenter.h"
#include "win32/platform.h"

namespace {

HINSTANCE__ programInstance; // the one module there is; only its address counts

} // namespace

namespace win32 {

std::unique_ptr<glide::Presenter> MakeWindowPresenter(uintptr_t window) {
    std::unique_ptr<glide::Presenter> presenter = MakeSdlPresenter(window);
    if (!presenter) {
        presenter = MakeForeignPresenter(window);
    }
    return presenter;
}

} // namespace win32

int main(int argc, char** argv) {
    // The first token is the program's real path, so the entry finds its archive
    // beside the program however it was started.
    std::string line =
        win32::BuildCommandLine(win32::ProgramPath(argc > 0 ? argv[0] : nullptr), argc, argv);
    win32::SetCommandLine(line);
    glide::SetPresenterFactory(&win32::MakeWindowPresenter);
    win32::CatchTerminationSignals();
    int result =
        WinMain(&programInstance, nullptr,
                const_cast<LPSTR>(win32::SkipProgramName(GetCommandLineA())), SW_SHOWNORMAL);
    // SDL is left to the end of the process rather than shut down here: its windows
    // are gone with the shell's, and the system libraries it loaded stay mapped, so
    // a leak checker can still name what they keep until exit.
    return result;
}
