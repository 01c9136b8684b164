// Shared set-up of the toolkit tests: a started toolkit, a clean error record, a
// private temporary folder, and a builder of archive images.
#pragma once

#include "toolkit/archive.h"
#include "toolkit/error.h"
#include "toolkit/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace toolkit_test {

using Bytes = std::vector<unsigned char>;

inline void Put32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Builds an archive image member by member; the data follows the directory.
struct ArchiveImage {
    struct Member {
        std::string name;
        std::string data;
    };
    std::vector<Member> members;
    uint16_t version = 256;

    ArchiveImage& Add(const std::string& name, const std::string& data) {
        members.push_back({name, data});
        return *this;
    }

    Bytes Build() const {
        namespace layout = archive_format;
        Bytes bytes(layout::headerSize + members.size() * layout::recordSize, 0);
        std::memcpy(bytes.data(), "QZF", 3);
        bytes[3] = static_cast<unsigned char>(version);
        bytes[4] = static_cast<unsigned char>(version >> 8);
        Put32(bytes, 5, static_cast<uint32_t>(members.size()));
        for (size_t i = 0; i < members.size(); ++i) {
            size_t record = layout::headerSize + i * layout::recordSize;
            Put32(bytes, record + layout::recordSizeOffset,
                  static_cast<uint32_t>(members[i].data.size()));
            Put32(bytes, record + layout::recordMemberOffset, static_cast<uint32_t>(bytes.size()));
            std::memcpy(&bytes[record + layout::recordNameOffset], members[i].name.c_str(),
                        members[i].name.size() + 1);
            bytes.insert(bytes.end(), members[i].data.begin(), members[i].data.end());
        }
        return bytes;
    }
};

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
