// The commands of slvtool. Each takes its own arguments (argv[0] is the command
// name) and returns the process exit code; errors go to stderr as one line.
#pragma once

namespace slvtool {

int PackCommand(int argc, char** argv);
int ListCommand(int argc, char** argv);
int ExtractCommand(int argc, char** argv);
int ObjectCommand(int argc, char** argv);
int SceneCommand(int argc, char** argv);

} // namespace slvtool
