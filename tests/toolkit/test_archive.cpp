#include "toolkit/archive.h"

#include "toolkit_fixture.h"

namespace {

using namespace toolkit_test;

class ArchiveTest : public ToolkitTest {
protected:
    std::string WriteArchive(const std::string& name, const ArchiveImage& image) {
        return WriteFile(name, image.Build());
    }
    // The whole member, as GetSize counts it.
    std::string ReadMember(const char* name) {
        File file;
        uint32_t size = 0;
        EXPECT_TRUE(file.Open(name, ModeRead) && file.GetSize(&size)) << name;
        std::string data(size, '\0');
        EXPECT_TRUE(file.Read(&data[0], size));
        return data;
    }
};

// Each broken image is refused with its reason, registers nothing and leaves no
// memory behind.
TEST_F(ArchiveTest, BrokenArchivesAreRefusedWithTheirReason) {
    const Bytes one = ArchiveImage().Add("a", "12345").Build();
    auto changed = [&one](auto change, Bytes bytes = {}) {
        if (bytes.empty())
            bytes = one;
        change(bytes);
        return bytes;
    };
    const struct {
        Bytes bytes;
        const char* reasonPart;
    } cases[] = {
        {changed([](Bytes& b) { b[3] = 0xFF, b[4] = 0; }), "version 255"},
        {changed([](Bytes& b) { b[3] = 0, b[4] = 0x80; }), "version -32768"},
        {changed([](Bytes& b) { b[2] = 'X'; }), "magic"},
        {Bytes{'Q', 'Z', 'F', 0, 1}, "header"},
        // Directories larger than the file are refused before allocating.
        {changed([](Bytes& b) { Put32(b, 5, 0xFFFFFFFF); }), "directory claims 4294967295 entries"},
        {changed([](Bytes& b) { Put32(b, 5, 2); }), "directory claims 2"},
        {changed([](Bytes& b) { std::memset(&b[32 + 18], 'n', 64); }), "terminator"},
        {changed([](Bytes& b) { Put32(b, 32, 6); }), "runs past the end"}, // one byte too many
        {changed([](Bytes& b) { Put32(b, 32, 0x20), Put32(b, 32 + 14, 0xFFFFFFF0); }),
         "runs past the end"}, // offset + size wraps in 32 bits
        {changed([](Bytes& b) { Put32(b, 32, 6); },
                 ArchiveImage().Add("two\nlines", "12345").Build()),
         "\"two?lines\""}, // the reason stays one line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reasonPart);
        std::string path = WriteFile("bad.dat", c.bytes);
        EXPECT_EQ(ArchiveOpen(path.c_str()), 0u);
        EXPECT_EQ(archives.GetCount(), 0u);
        EXPECT_EQ(archivesOpen, 0);
        EXPECT_EQ(allocator->GetTotal(), 0u);
        EXPECT_NE(std::string(ArchiveFailure()).find(c.reasonPart), std::string::npos)
            << ArchiveFailure();
    }
    EXPECT_EQ(ArchiveOpen(PathOf("missing.dat").c_str()), 0u);
    EXPECT_EQ(archives.GetCount(), 0u);
    EXPECT_EQ(allocator->GetTotal(), 0u);
    // Version 256, and a member that ends exactly at the end of the file, are fine.
    EXPECT_EQ(ArchiveOpen(WriteFile("ok.dat", one).c_str()), 1u);
    EXPECT_STREQ(ArchiveFailure(), "");
}

TEST_F(ArchiveTest, NamesMatchWithoutRegardToCaseButNotSeparators) {
    ASSERT_EQ(ArchiveOpen(
                  WriteArchive("a.dat", ArchiveImage().Add("DATA\\Square.LWO", "square")).c_str()),
              1u);
    EXPECT_EQ(ArchiveFind("data/Square.lwo", nullptr), nullptr);
    EXPECT_EQ(ArchiveFind("Square.lwo", nullptr), nullptr);
    EXPECT_EQ(ReadMember("Data\\Square.lwo"), "square");
}

TEST_F(ArchiveTest, FirstOpenedArchiveWinsAndReleaseByPath) {
    std::string first = WriteArchive("first.dat", ArchiveImage().Add("same", "first"));
    std::string second =
        WriteArchive("second.dat", ArchiveImage().Add("SAME", "second").Add("only2", "x"));
    ASSERT_EQ(ArchiveOpen(first.c_str()), 1u);
    ASSERT_EQ(ArchiveOpen(second.c_str()), 2u);
    EXPECT_EQ(ReadMember("same"), "first");
    EXPECT_EQ(ReadMember("only2"), "x");

    EXPECT_TRUE(ArchiveRelease(first.c_str()));
    EXPECT_EQ(archivesOpen, 1);
    EXPECT_EQ(ReadMember("same"), "second");
    EXPECT_TRUE(ArchiveRelease(nullptr));
    EXPECT_EQ(archivesOpen + archives.GetCount() + allocator->GetTotal(), 0u);
}

TEST_F(ArchiveTest, MemberReadsAndSeeksStopAtTheMemberEnd) {
    ArchiveImage image;
    image.Add("ten", "0123456789").Add("next", "NEXT");
    ASSERT_EQ(ArchiveOpen(WriteArchive("a.dat", image).c_str()), 2u);
    File file;
    ASSERT_TRUE(file.Open("ten", ModeRead));
    uint32_t position = 0;
    ASSERT_TRUE(file.Seek(8, SeekStart));
    char buffer[4] = {};
    EXPECT_FALSE(file.Read(buffer, 3)); // would cross into "next"
    EXPECT_EQ(Code(), ErrorCode::EndOfFile);
    file.Tell(&position);
    EXPECT_EQ(position, 8u); // nothing was read
    EXPECT_TRUE(file.Read(buffer, 2));
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_FALSE(file.Read(buffer, UINT32_MAX)); // no wrap-around in the check
    EXPECT_TRUE(file.Seek(10, SeekStart));
    EXPECT_FALSE(file.Seek(11, SeekStart));
    EXPECT_FALSE(file.Seek(uint32_t(-11), SeekCurrent)); // before the start wraps past the end
}

// Members read in turn each keep their place; the archive file closes with its
// last member and opens again for the next.
TEST_F(ArchiveTest, InterleavedMembersAndTheArchiveFileClosingWithTheLast) {
    ArchiveImage image;
    image.Add("one", "0123").Add("two", "abcd");
    ASSERT_EQ(ArchiveOpen(WriteArchive("a.dat", image).c_str()), 2u);
    Archive* archive = static_cast<Archive*>((archives.First(), archives.Current()));
    File one, two;
    char c[3] = {};
    ASSERT_TRUE(one.Open("one", ModeRead) && two.Open("two", ModeRead));
    ASSERT_TRUE(one.Read(&c[0], 1) && two.Read(&c[1], 1) && one.Read(&c[2], 1));
    EXPECT_EQ(std::string(c, 3), "0a1");
    one.Close();
    two.Close();
    two.Close(); // closing twice is harmless
    EXPECT_FALSE(archive->file.IsOpen());
    EXPECT_EQ(ReadMember("two"), "abcd");
    EXPECT_EQ(ReadMember("one"), "0123");
}

TEST_F(ArchiveTest, ArchiveOpenRoutesReadsButNotWritesOrDiskOnly) {
    std::string disk = WriteFile("disk.txt", std::string("disk"));
    ASSERT_EQ(ArchiveOpen(WriteArchive("a.dat", ArchiveImage().Add("m", "member")).c_str()), 1u);
    File file;
    EXPECT_FALSE(file.Open(disk.c_str(), ModeRead));
    EXPECT_EQ(Code(), ErrorCode::None); // missing from the archive: no code
    ASSERT_TRUE(file.Open(disk.c_str(), ModeRead | ModeDiskOnly));
    EXPECT_FALSE(file.InArchive());
    ASSERT_TRUE(file.Open(PathOf("written.txt").c_str(), ModeWrite));
    EXPECT_FALSE(file.InArchive());

    ASSERT_TRUE(file.Open("M", ModeRead | ModeBigEndian));
    EXPECT_TRUE(file.InArchive());
    EXPECT_FALSE(file.Write("x", 1) || file.WriteByte('x') || file.Write32(1) || file.Print("x"));
    uint16_t value = 0;
    ASSERT_TRUE(file.Read16(&value));
    EXPECT_EQ(value, ('m' << 8) | 'e'); // big-endian numbers from a member
}

TEST_F(ArchiveTest, VanishedArchiveFileFailsTheOpenCleanly) {
    std::string path = WriteArchive("a.dat", ArchiveImage().Add("m", "member"));
    ASSERT_EQ(ArchiveOpen(path.c_str()), 1u);
    std::filesystem::remove(path);
    File file;
    EXPECT_FALSE(file.Open("m", ModeRead));
    EXPECT_EQ(static_cast<Archive*>((archives.First(), archives.Current()))->openCount, 0u);
    WriteArchive("a.dat", ArchiveImage().Add("m", "member")); // back again
    EXPECT_EQ(ReadMember("m"), "member");
}

} // namespace
