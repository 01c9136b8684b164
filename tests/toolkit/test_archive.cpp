#include "toolkit/archive.h"

#include "toolkit_fixture.h"

namespace {

using namespace toolkit_test;

class ArchiveTest : public ToolkitTest {
protected:
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

// Each broken image is refused with its reason, registering and keeping nothing.
TEST_F(ArchiveTest, BrokenArchivesAreRefusedWithTheirReason) {
    const Bytes one = ArchiveImage().Add("two\nlines", "12345").Build();
    auto changed = [&one](auto change) {
        Bytes bytes = one;
        change(bytes);
        return bytes;
    };
    const struct {
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {changed([](Bytes& b) { b[3] = 0, b[4] = 0x80; }), "version -32768"},
        {changed([](Bytes& b) { b[2] = 'X'; }), "magic"},
        {Bytes{'Q', 'Z', 'F', 0, 1}, "header"},
        // Directories larger than the file are refused before allocating.
        {changed([](Bytes& b) { Put32(b, 5, 0xFFFFFFFF); }), "directory claims 4294967295 entries"},
        {changed([](Bytes& b) { std::memset(&b[32 + 18], 'n', 64); }), "terminator"},
        // One byte too many; the name in the reason stays on one line.
        {changed([](Bytes& b) { Put32(b, 32, 6); }), "member \"two?lines\""},
        {changed([](Bytes& b) { Put32(b, 32, 0x20), Put32(b, 32 + 14, 0xFFFFFFF0); }),
         "runs past the end"}, // offset + size wraps in 32 bits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::string path = WriteFile("bad.dat", c.bytes);
        EXPECT_EQ(ArchiveOpen(path.c_str()), 0u);
        EXPECT_EQ(archives.GetCount() + archivesOpen + allocator->GetTotal(), 0u);
        EXPECT_NE(std::string(ArchiveFailure()).find(c.reason), std::string::npos)
            << ArchiveFailure();
    }
    EXPECT_EQ(ArchiveOpen(PathOf("missing.dat").c_str()), 0u);
    EXPECT_EQ(archives.GetCount() + allocator->GetTotal(), 0u);
    // Version 256, and a member that ends exactly at the end of the file, are fine.
    EXPECT_EQ(ArchiveOpen(WriteFile("ok.dat", one).c_str()), 1u);
    EXPECT_STREQ(ArchiveFailure(), "");
}

TEST_F(ArchiveTest, MemberReadsStopAtTheMemberEnd) {
    ASSERT_EQ(
        ArchiveOpen(
            WriteFile("a.dat", ArchiveImage().Add("ten", "0123456789").Add("next", "NEXT").Build())
                .c_str()),
        2u);
    File file;
    char buffer[12] = {};
    ASSERT_TRUE(file.Open("ten", ModeRead) && file.Read(buffer, 8));
    EXPECT_FALSE(file.Read(buffer, 3)); // would cross into "next"
    EXPECT_EQ(LastError(), ErrorCode::EndOfFile);
    EXPECT_FALSE(file.Read(buffer, UINT32_MAX)); // no wrap-around in the check
    EXPECT_TRUE(file.Read(buffer, 2)) << "nothing was read";
    EXPECT_EQ(std::string(buffer, 2), "89");
}

// Members read in turn keep their places; the archive file closes with the last one.
TEST_F(ArchiveTest, InterleavedMembersAndTheArchiveFileClosingWithTheLast) {
    ArchiveImage image;
    image.Add("one", "0123").Add("two", "abcd");
    ASSERT_EQ(ArchiveOpen(WriteFile("a.dat", image.Build()).c_str()), 2u);
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
}

// Names match without regard to case but not separators; with an archive open,
// plain reads come from it alone, and the screenshot probe and writer reach the
// disk. An archive file gone since opening fails the open cleanly.
TEST_F(ArchiveTest, ReadsComeFromTheArchiveByNameUnlessDiskOnly) {
    std::string disk = WriteFile("disk.txt", std::string("disk"));
    const ArchiveImage image = ArchiveImage().Add("DATA\\Square.LWO", "square");
    std::string path = WriteFile("a.dat", image.Build());
    ASSERT_EQ(ArchiveOpen(path.c_str()), 1u);
    EXPECT_EQ(ArchiveFind("data/Square.lwo", nullptr), nullptr);
    EXPECT_EQ(ArchiveFind("Square.lwo", nullptr), nullptr);
    EXPECT_EQ(ReadMember("Data\\Square.lwo"), "square");
    File file;
    EXPECT_FALSE(file.Open(disk.c_str(), ModeRead));
    EXPECT_EQ(LastError(), ErrorCode::None); // missing from the archive: no code
    EXPECT_TRUE(file.Open(disk.c_str(), ModeRead | ModeDiskOnly));

    std::filesystem::remove(path);
    EXPECT_FALSE(file.Open("data\\square.lwo", ModeRead));
    WriteFile("a.dat", image.Build()); // back again
    EXPECT_EQ(ReadMember("data\\square.lwo"), "square");
}

} // namespace
