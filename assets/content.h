// Every member of the show's data archive, generated from the layout tables in
// assets/: the effect's square and the options scene with all its objects.
// Knows the names the program asks for; knows nothing of how they are packed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

struct ContentFile {
    std::string name; // member name as the program asks for it, with backslashes
    std::vector<uint8_t> bytes;
};

// The square, the options scene text and every object the scene loads.
std::vector<ContentFile> BuildContent();

// Writes every file below folder, turning the names' backslashes into folder
// separators. False (after saying which file on stderr) when one cannot be
// written.
bool WriteContent(const std::vector<ContentFile>& files, const std::string& folder);

} // namespace assets
