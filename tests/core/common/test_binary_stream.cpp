#include "common/binary_stream.h"
#include "common/file_io.h"
#include "common/front_list.h"
#include "common/messages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace tarvex;
using namespace tarvex::common;

TEST(ByteStream, WritesLittleEndianWithoutPadding)
{
    ByteWriter out;
    out.writeInt32(0x01020304);
    out.writeDouble(1.0); // 0x3FF0000000000000
    out.writeFixedText("ab", 4);
    const std::string expected("\x04\x03\x02\x01"
                               "\x00\x00\x00\x00\x00\x00\xF0\x3F"
                               "ab\x00\x00",
        16);
    EXPECT_EQ(out.bytes(), expected);
}

TEST(ByteStream, FailedReadsStayInsideTheBufferAndKeepThePosition)
{
    const std::string bytes("\x05\x00\x00\x00\x07\x00", 6);
    ByteReader in(bytes);
    std::int32_t n = 0;
    ASSERT_TRUE(in.readInt32(n));
    EXPECT_EQ(n, 5);
    EXPECT_FALSE(in.readInt32(n));
    double d = 0;
    EXPECT_FALSE(in.readDouble(d));
    std::string_view view;
    EXPECT_FALSE(in.readBytes(3, view));
    EXPECT_EQ(in.position(), 4u);
    ASSERT_TRUE(in.readBytes(2, view));
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(ByteStream, FixedTextIsCutAtWidthAndReadUpToNul)
{
    ByteWriter out;
    out.writeFixedText("abcdef", 3);
    EXPECT_EQ(out.bytes(), "abc");
    EXPECT_EQ(fixedFieldText(std::string_view("ab\0cd", 5)), "ab");
    EXPECT_EQ(fixedFieldText("abc"), "abc");
}

TEST(FrontListOrder, LastPushedComesFirstAndStorageKeepsArrivalOrder)
{
    FrontList<int> list;
    list.pushFront(1);
    list.pushFront(2);
    list.pushFront(3);
    list.pushBack(0);
    EXPECT_EQ(list.at(0), 3);
    EXPECT_EQ(list.at(3), 0);
    std::vector<int> listed(list.inListOrder().begin(), list.inListOrder().end());
    EXPECT_EQ(listed, (std::vector<int> { 3, 2, 1, 0 }));
    list.eraseAt(1);
    listed.assign(list.inListOrder().begin(), list.inListOrder().end());
    EXPECT_EQ(listed, (std::vector<int> { 3, 1, 0 }));
}

class FileIoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path()
            / ("tarvex-fileio-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_dir, ignored);
    }
    std::string file(const char* name) const { return (m_dir / name).string(); }
    std::filesystem::path m_dir;
};

TEST_F(FileIoTest, AtomicWriteReplacesContentAndLeavesNoTemporaryFile)
{
    const std::string path = file("a.des");
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    ASSERT_TRUE(writeFileAtomically(path, std::string("sec\0nd", 6)));
    std::string read;
    ASSERT_TRUE(readWholeFile(path, read));
    EXPECT_EQ(read, std::string("sec\0nd", 6));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir),
                  std::filesystem::directory_iterator()),
        1);
}

TEST_F(FileIoTest, FailedWriteReportsAndKeepsTheOldFile)
{
    const std::string missingFolder = file("no/such/folder/a.des");
    const Status s = writeFileAtomically(missingFolder, "x");
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, msg::CannotWriteFile);

    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const std::string path = file("kept.des");
    ASSERT_TRUE(writeFileAtomically(path, "good"));
    std::filesystem::permissions(
        m_dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(writeFileAtomically(path, "bad").ok);
    std::string read;
    ASSERT_TRUE(readWholeFile(path, read));
    EXPECT_EQ(read, "good");
}

TEST_F(FileIoTest, ReadingAMissingFileOrAFolderFailsAndLeavesOutAlone)
{
    std::string out = "untouched";
    EXPECT_EQ(readWholeFile(file("missing"), out).message, msg::CannotOpenFile);
    EXPECT_EQ(readWholeFile(m_dir.string(), out).message, msg::CannotOpenFile);
    EXPECT_EQ(out, "untouched");
}

TEST(FileNames, ExtensionBelongsToTheLastComponentOnly)
{
    EXPECT_EQ(extensionOf("/a/b.c/name.pre"), "pre");
    EXPECT_EQ(extensionOf("/a/b.c/name"), "");
    EXPECT_EQ(extensionOf("name.DES"), "DES");
    EXPECT_EQ(replaceExtension("/x.pre/y.pre", ".des"), "/x.pre/y.des");
    EXPECT_EQ(replaceExtension("/x.pre/y", ".des"), "/x.pre/y.des");
}
