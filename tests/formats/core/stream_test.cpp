#include "formats/core/ie_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct TTempDir {
    fs::path Path;
    TTempDir()
    {
        Path = fs::temp_directory_path() / ("numerak-stream-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Path);
    }
    ~TTempDir() { fs::remove_all(Path); }
};

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(StreamTest, MemoryStreamReadsWritesAndClampsSeeks)
{
    TMemoryStream s;
    EXPECT_EQ(s.Write("abcdef", 6), 6);
    EXPECT_EQ(s.Seek(-100, soCurrent), 0);
    s.Seek(2, soBeginning);
    EXPECT_EQ(s.Write("XY", 2), 2);
    EXPECT_EQ(s.Size(), 6);
    char buffer[10] = {};
    s.SetPosition(0);
    EXPECT_EQ(s.Read(buffer, 10), 6);
    EXPECT_STREQ(buffer, "abXYef");
    EXPECT_EQ(s.Read(buffer, 1), 0);
    s.Seek(10, soBeginning);  // past the end: a write fills the gap
    s.Write("Z", 1);
    EXPECT_EQ(s.Size(), 11);
    EXPECT_FALSE(TMemoryStream("ab", 2).ReadBuffer(buffer, 3));
}

TEST(StreamTest, FileReadStreamReportsMissingFileByName)
{
    try {
        TFileReadStream s("/nonexistent/file.bmp");
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/file.bmp"), std::string::npos);
    }
}

TEST(StreamTest, AtomicWriteReplacesOnlyOnCommit)
{
    TTempDir dir;
    const fs::path target = dir.Path / "image.bmp";
    std::ofstream(target) << "old";
    {
        TAtomicFileWriteStream s(target.string());
        s.Write("new content", 11);
        EXPECT_EQ(ReadAll(target), "old");
    }  // abandoned
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path), {}), 1) << "temporary file left behind";
    {
        TAtomicFileWriteStream s(target.string());
        s.Write("new content", 11);
        s.Seek(0, soBeginning);
        s.Write("N", 1);
        EXPECT_EQ(s.Size(), 11);
        EXPECT_TRUE(s.Commit());
    }
    EXPECT_EQ(ReadAll(target), "New content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path), {}), 1);

    TFileReadStream r(target.string());
    EXPECT_EQ(r.Size(), 11);
    char c;
    r.Seek(-1, soEnd);
    EXPECT_TRUE(r.ReadBuffer(&c, 1));
    EXPECT_EQ(c, 't');
}

TEST(StreamTest, AtomicWriteIntoMissingFolderThrowsCreateError)
{
    EXPECT_THROW(TAtomicFileWriteStream("/nonexistent/folder/x.bmp"), EFCreateError);
}
