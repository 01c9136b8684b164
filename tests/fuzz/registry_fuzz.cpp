// libFuzzer harness for the registry file parser (win32/registry_file.cpp): the
// file is edited by hand, so any text may be in it. Each input is read as the
// file's text.
#include "win32/platform.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    win32::ReadRegistryText(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
