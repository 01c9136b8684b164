// The toolkit tests' set-up: a started toolkit, a clean error record, a private folder.
#pragma once

#include "tests/support/archive_image.h"
#include "tests/support/scratch_folder.h"
#include "toolkit/archive.h"
#include "toolkit/error.h"
#include "toolkit/memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace toolkit_test {

using testsupport::ArchiveImage;
using testsupport::Bytes;
using testsupport::Put32;
using testsupport::ReadWhole;

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch.path.empty());
        ASSERT_TRUE(ToolkitStartup());
        errorState.code = errorState.extra = errorState.handlerCode = 0;
    }
    void TearDown() override {
        ArchiveRelease(nullptr);
        ToolkitShutdown();
    }
    std::string PathOf(const std::string& name) const { return scratch.PathOf(name); }
    // Writes the file in the scratch folder and returns its path.
    template <typename Data> std::string WriteFile(const std::string& name, const Data& data) {
        testsupport::WriteWhole(scratch.path / name, data);
        return PathOf(name);
    }
    testsupport::ScratchFolder scratch;
};

} // namespace toolkit_test
