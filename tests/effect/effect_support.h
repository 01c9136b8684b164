// Shared set-up of the effect tests: a scratch folder with the content the
// effect and the options screen read, a headless Glide board and the globals
// the program entry would set.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace effect_test {

// Writes a LightWave object of one square polygon of side 2 × half about the
// origin in the z = 0 plane.
bool WriteSquare(const std::string& path, float half);

// How many allocations (operator new) work makes.
long AllocationsDuring(const std::function<void()>& work);

// Makes a fresh scratch folder with data/Square.lwo and enters it; leaves and
// removes it on destruction. The Glide board is opened headless at 640 × 480
// and the view globals are set as the program's Glide set-up sets them.
class Workspace {
public:
    Workspace();
    ~Workspace();
    const std::string& Path() const { return path; }
    // Writes a text file below the workspace (folders are made as needed).
    bool WriteText(const std::string& relative, const std::string& text);

private:
    std::string path;
    std::string previous;
};

} // namespace effect_test
