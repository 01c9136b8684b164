// Shared set-up of the effect tests: a scratch folder and a headless board.
#pragma once

#include "tests/support/scratch_folder.h"

#include <filesystem>
#include <functional>
#include <string>

namespace effect_test {

// Writes an object of one square of side 2 × half about the origin, in z = 0.
bool WriteSquare(const std::string& path, float half);

// How many allocations (operator new) work makes.
long AllocationsDuring(const std::function<void()>& work);

// Enters a fresh scratch folder holding data/Square.lwo; opens the show's board.
class Workspace {
public:
    Workspace();
    ~Workspace() { std::filesystem::current_path(previous); }

private:
    testsupport::ScratchFolder folder;
    std::filesystem::path previous = std::filesystem::current_path();
};

} // namespace effect_test
