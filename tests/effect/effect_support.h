// Shared set-up of the effect tests: a scratch folder with the content the
// effect and the options screen read, a headless Glide board and the globals
// the program entry would set.
#pragma once

#include "tests/support/scratch_folder.h"

#include <filesystem>
#include <functional>
#include <string>

namespace effect_test {

// Writes a LightWave object of one square polygon of side 2 × half about the
// origin in the z = 0 plane.
bool WriteSquare(const std::string& path, float half);

// How many allocations (operator new) work makes.
long AllocationsDuring(const std::function<void()>& work);

// Enters a fresh scratch folder holding data/Square.lwo, and leaves it on
// destruction. The Glide board is opened headless at 640 × 480 and the view
// globals are set as the program's Glide set-up sets them.
class Workspace {
public:
    Workspace();
    ~Workspace() { std::filesystem::current_path(previous); }

private:
    testsupport::ScratchFolder folder;
    std::filesystem::path previous = std::filesystem::current_path();
};

} // namespace effect_test
