// Archive images built in memory, member by member.
#pragma once

#include "glide/bytes.h"
#include "toolkit/archive.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<unsigned char>;

// Stores value little-endian at bytes[at .. at + 3], as the archive's numbers are.
inline void Put32(Bytes& bytes, size_t at, uint32_t value) {
    ByteWriter writer(bytes, ByteOrder::Little);
    writer.Seek(at);
    writer.U32(value);
}

// The image of an archive whose member data follows the directory in order.
struct ArchiveImage {
    struct Member {
        std::string name;
        std::string data;
    };
    std::vector<Member> members;

    ArchiveImage& Add(const std::string& name, const std::string& data) {
        members.push_back({name, data});
        return *this;
    }

    Bytes Build() const {
        namespace layout = archive_format;
        Bytes bytes(layout::headerSize + members.size() * layout::recordSize, 0);
        std::memcpy(bytes.data(), layout::magic, layout::magicSize);
        ByteWriter version(bytes, ByteOrder::Little);
        version.Seek(layout::versionOffset);
        version.I16(layout::currentVersion);
        Put32(bytes, layout::countOffset, static_cast<uint32_t>(members.size()));
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

} // namespace testsupport
