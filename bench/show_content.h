// Content and a headless board for the effect's benchmark and soak programs:
// opens slv.dat, or when it is missing writes a square of its own into a scratch
// folder and reads from there; opens Glide without a window at 640 × 480.
#pragma once

namespace bench {

// Prepares the toolkit, the content and the board. Returns false (after saying
// why on stderr) when nothing can be drawn.
bool OpenShow(const char* archivePath);
// Shuts the board and the toolkit down and removes any scratch folder.
void CloseShow();

} // namespace bench
