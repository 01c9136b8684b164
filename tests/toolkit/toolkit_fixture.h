// Shared set-up of the toolkit tests: a started toolkit, a clean error record and a
// private temporary folder.
#pragma once

#include "tests/support/archive_image.h"
#include "toolkit/archive.h"
#include "toolkit/error.h"
#include "toolkit/memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace toolkit_test {

using testsupport::ArchiveImage;
using testsupport::Bytes;
using testsupport::Put32;

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ToolkitStartup());
        errorState.code = 0;
        errorState.extra = 0;
        errorState.handlerCode = 0;
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 (std::string("solvane-toolkit-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }

    void TearDown() override {
        ArchiveRelease(nullptr);
        ToolkitShutdown();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    std::string WriteFile(const std::string& name, const Bytes& bytes) const {
        std::string path = PathOf(name);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }

    std::string WriteFile(const std::string& name, const std::string& text) const {
        return WriteFile(name, Bytes(text.begin(), text.end()));
    }

    std::string ReadFile(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    ErrorCode Code() const { return LastError(); }

    std::filesystem::path folder;
};

} // namespace toolkit_test
