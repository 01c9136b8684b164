// The program's entry point; everything else lives in the shell library.
#include "shell/entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return RunProgram(instance, commandLine);
}
