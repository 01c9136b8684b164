// Shared set-up of the toolkit tests: a started toolkit, a clean error record and a
// private temporary folder.
#pragma once

#include "tests/support/archive_image.h"
#include "tests/support/scratch_folder.h"
#include "toolkit/archive.h"
#include "toolkit/error.h"
#include "toolkit/memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace toolkit_test {

using testsupport::ArchiveImage;
using testsupport::Bytes;
using testsupport::Put32;

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch.path.empty());
        ASSERT_TRUE(ToolkitStartup());
        errorState.code = 0;
        errorState.extra = 0;
        errorState.handlerCode = 0;
    }

    void TearDown() override {
        ArchiveRelease(nullptr);
        ToolkitShutdown();
    }

    std::string PathOf(const std::string& name) const { return scratch.PathOf(name); }

    template <typename Data>
    std::string WriteFile(const std::string& name, const Data& data) const {
        testsupport::WriteWhole(scratch.path / name, data);
        return PathOf(name);
    }

    std::string ReadFile(const std::string& path) const { return testsupport::ReadWhole(path); }

    ErrorCode Code() const { return LastError(); }

    testsupport::ScratchFolder scratch;
    const std::filesystem::path& folder = scratch.path;
};

} // namespace toolkit_test
