#include "renderer/INIFile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace {

using tarsel::test::TempDir;
using ZOR::INIFile;

INIFile LoadText(const TempDir& dir, const std::string& text, const std::string& name = "in.ini")
{
    dir.Write(name, text);
    INIFile file;
    EXPECT_TRUE(file.Load((dir / name).string()));
    return file;
}

std::string SaveText(INIFile& file, const TempDir& dir, const std::string& name = "out.ini")
{
    EXPECT_TRUE(file.Save((dir / name).string()));
    return dir.Read(name);
}

TEST(INIFile, LinesAreSplitAtTheFirstEqualsWithoutTrimming)
{
    TempDir dir;
    INIFile file = LoadText(dir, "[S]\nkey = value\na=b=c\nhello\n#x=1\n [A]\n=\n");
    EXPECT_EQ(file.Read<std::string>("S", "key "), " value");
    EXPECT_EQ(file.Read<std::string>("S", "key"), "");
    EXPECT_EQ(file.Read<std::string>("S", "a"), "b=c");
    EXPECT_EQ(file.Read<std::string>("S", "hello"), "hello");
    EXPECT_EQ(file.Read<std::string>("S", "#x"), "1");
    EXPECT_EQ(file.Read<std::string>("S", " [A]"), " [A]");
    // "[A]" after a blank is an entry, so later lines still belong to S.
    EXPECT_EQ(file.Read<std::string>("S", ""), "");
    EXPECT_EQ(SaveText(file, dir), "[S]\nkey = value\na=b=c\nhello=hello\n#x=1\n [A]= [A]\n=\n");
}

TEST(INIFile, SectionsCommentsAndBlankLines)
{
    TempDir dir;
    INIFile file = LoadText(dir, "top=1\n; a comment\n\n[A B]\nx=2\n[]\ny=3\n[\n");
    EXPECT_EQ(file.Read<int>("", "top"), 1);
    EXPECT_EQ(file.Read<int>("A B", "x"), 2);
    // "[]" names the same empty section as the lines before any header.
    EXPECT_EQ(file.Read<int>("", "y"), 3);
    EXPECT_EQ(file.Read<std::string>("", "["), "[");
    EXPECT_EQ(file.Read<std::string>("", "; a comment"), "");
    EXPECT_EQ(SaveText(file, dir), "top=1\ny=3\n[=[\n[A B]\nx=2\n");
}

TEST(INIFile, DuplicateKeysReadFirstWriteFirstAndAreAllSaved)
{
    TempDir dir;
    INIFile file = LoadText(dir, "[A]\nx=1\nx=2\n");
    EXPECT_EQ(file.Read<int>("A", "x"), 1);
    file.Write<int>("A", "x", 5);
    EXPECT_EQ(file.Read<int>("A", "x"), 5);
    EXPECT_EQ(SaveText(file, dir), "[A]\nx=5\nx=2\n");
}

TEST(INIFile, SavedSectionsAreSortedAndUnsectionedEntriesComeFirst)
{
    TempDir dir;
    INIFile file;
    file.Write<int>("B", "b", 1);
    file.Write<int>("A", "a2", 2);
    file.Write<int>("A", "a1", 3);
    file.Write<int>("AB", "x", 4);
    file.Write<int>("", "free", 5);
    file.Write<int>("A", "a2", 6);
    EXPECT_EQ(SaveText(file, dir), "free=5\n[A]\na2=6\na1=3\n[AB]\nx=4\n[B]\nb=1\n");
}

TEST(INIFile, NumbersParseLikeAStream)
{
    TempDir dir;
    INIFile file = LoadText(dir,
                            "[N]\nmixed=12abc\nword=abc\nblank= 2.5\nneg=-7\nhuge=99999999999\n"
                            "small=1e-07\nb1=1\nb0=0\nbtrue=true\nb2=2\nempty=\n");
    EXPECT_EQ(file.Read<int>("N", "mixed"), 12);
    EXPECT_EQ(file.Read<int>("N", "word"), 0);
    EXPECT_FLOAT_EQ(file.Read<float>("N", "blank"), 2.5f);
    EXPECT_EQ(file.Read<int>("N", "neg"), -7);
    EXPECT_EQ(file.Read<int>("N", "huge"), 0) << "out of range does not parse";
    EXPECT_FLOAT_EQ(file.Read<float>("N", "small"), 1e-7f);
    EXPECT_EQ(file.Read<unsigned int>("N", "mixed"), 12u);
    EXPECT_EQ(file.Read<float>("N", "missing"), 0.0f);
    EXPECT_EQ(file.Read<unsigned int>("Nope", "mixed"), 0u);

    EXPECT_TRUE(file.Read<bool>("N", "b1"));
    EXPECT_FALSE(file.Read<bool>("N", "b0"));
    EXPECT_FALSE(file.Read<bool>("N", "btrue"));
    EXPECT_FALSE(file.Read<bool>("N", "b2"));
    EXPECT_FALSE(file.Read<bool>("N", "empty"));
    EXPECT_FALSE(file.Read<bool>("N", "missing"));
    EXPECT_EQ(file.Read<std::string>("N", "missing"), "");
}

TEST(INIFile, ValuesAreFormattedLikeAStream)
{
    INIFile file;
    file.Write<float>("F", "half", 0.5f);
    file.Write<float>("F", "tiny", 1e-7f);
    file.Write<float>("F", "big", 1234567.0f);
    file.Write<float>("F", "whole", 3.0f);
    file.Write<int>("F", "neg", -42);
    file.Write<unsigned int>("F", "max", 4294967295u);
    file.Write<bool>("F", "yes", true);
    file.Write<bool>("F", "no", false);
    file.Write("F", "literal", "text");
    file.Write<std::string>("F", "string", std::string(" spaced "));
    EXPECT_EQ(file.Read<std::string>("F", "half"), "0.5");
    EXPECT_EQ(file.Read<std::string>("F", "tiny"), "1e-07");
    EXPECT_EQ(file.Read<std::string>("F", "big"), "1.23457e+06");
    EXPECT_EQ(file.Read<std::string>("F", "whole"), "3");
    EXPECT_EQ(file.Read<std::string>("F", "neg"), "-42");
    EXPECT_EQ(file.Read<std::string>("F", "max"), "4294967295");
    EXPECT_EQ(file.Read<std::string>("F", "yes"), "1");
    EXPECT_EQ(file.Read<std::string>("F", "no"), "0");
    EXPECT_EQ(file.Read<std::string>("F", "literal"), "text");
    EXPECT_EQ(file.Read<std::string>("F", "string"), " spaced ");
    // Back the other way through the parser.
    EXPECT_FLOAT_EQ(file.Read<float>("F", "tiny"), 1e-7f);
    EXPECT_FLOAT_EQ(file.Read<float>("F", "big"), 1234570.0f);
    EXPECT_EQ(file.Read<unsigned int>("F", "max"), 4294967295u);
    EXPECT_TRUE(file.Read<bool>("F", "yes"));
}

TEST(INIFile, CrLfReadsLikeLfAndOnlyOneCarriageReturnGoes)
{
    TempDir dir;
    INIFile crlf = LoadText(dir, "top=1\r\n[A]\r\nx=2\r\n\r\n;c\r\ny=3\r\r\n", "crlf.ini");
    EXPECT_EQ(crlf.Read<std::string>("", "top"), "1");
    EXPECT_EQ(crlf.Read<std::string>("A", "x"), "2");
    EXPECT_EQ(crlf.Read<std::string>("A", "y"), "3\r");
    INIFile lf = LoadText(dir, "top=1\n[A]\nx=2\n", "lf.ini");
    EXPECT_EQ(SaveText(lf, dir, "lf.out"), "top=1\n[A]\nx=2\n");
    EXPECT_EQ(SaveText(crlf, dir, "crlf.out"), "top=1\n[A]\nx=2\ny=3\r\n");
    // The last line is read without a newline too.
    EXPECT_EQ(LoadText(dir, "[A]\nx=1\ny=2", "last.ini").Read<int>("A", "y"), 2);
}

TEST(INIFile, LoadAddsToWhatIsHeldAndRemembersThePath)
{
    TempDir dir;
    dir.Write("one.ini", "[A]\nx=1\n");
    dir.Write("two.ini", "[A]\nx=2\ny=3\n");
    INIFile file;
    EXPECT_EQ(file.GetFileName(), "");
    ASSERT_TRUE(file.Load((dir / "one.ini").string()));
    ASSERT_TRUE(file.Load((dir / "two.ini").string()));
    EXPECT_EQ(file.GetFileName(), (dir / "two.ini").string());
    EXPECT_EQ(file.Read<int>("A", "x"), 1);
    EXPECT_EQ(file.Read<int>("A", "y"), 3);
    // Loading its own file name again doubles every entry.
    ASSERT_TRUE(file.Load(file.GetFileName()));
    EXPECT_EQ(SaveText(file, dir), "[A]\nx=1\nx=2\ny=3\nx=2\ny=3\n");
    EXPECT_EQ(file.GetFileName(), (dir / "out.ini").string());

    // A stream adds its entries and names no file.
    std::istringstream in("[A]\r\nz=4\r\n");
    INIFile fromStream;
    EXPECT_TRUE(fromStream.Load(in));
    EXPECT_EQ(fromStream.Read<int>("A", "z"), 4);
    EXPECT_EQ(fromStream.GetFileName(), "");
}

TEST(INIFile, LoadReportsMissingFilesAndFilesWithoutEntries)
{
    TempDir dir;
    INIFile file((dir / "missing.ini").string());
    EXPECT_EQ(file.GetFileName(), "");
    EXPECT_FALSE(file.Load((dir / "missing.ini").string()));
    EXPECT_EQ(file.GetFileName(), "");

    // A folder named like the file counts as missing.
    std::filesystem::create_directory(dir / "folder.ini");
    EXPECT_FALSE(file.Load((dir / "folder.ini").string()));
    EXPECT_EQ(file.GetFileName(), "");

    // An opened file with only comments loads no entry: false, but the path is taken.
    dir.Write("comments.ini", "; nothing\n\n[Empty]\n");
    EXPECT_FALSE(file.Load((dir / "comments.ini").string()));
    EXPECT_EQ(file.GetFileName(), (dir / "comments.ini").string());
    std::filesystem::remove(dir / "comments.ini");
    EXPECT_TRUE(file.Save((dir / "comments.ini").string()));
    EXPECT_FALSE(std::filesystem::exists(dir / "comments.ini")) << "nothing to write";
}

TEST(INIFile, SavingNothingLeavesAnExistingFileByteIdentical)
{
    TempDir dir;
    const std::string original = "; keep me\r\n[X]\r\nx=1";
    dir.Write("keep.ini", original);
    const auto before = std::filesystem::last_write_time(dir / "keep.ini");
    INIFile empty;
    EXPECT_TRUE(empty.Save((dir / "keep.ini").string()));
    EXPECT_EQ(dir.Read("keep.ini"), original);
    EXPECT_EQ(std::filesystem::last_write_time(dir / "keep.ini"), before);
    EXPECT_EQ(empty.GetFileName(), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "keep.ini.tmp"));
}

TEST(INIFile, SaveReplacesTheFileWholeAndLeavesNoTemporary)
{
    TempDir dir;
    dir.Write("cfg.ini", "; old comment\n[A]\nx=1\nlong line that is longer than the new text\n");
    INIFile file((dir / "cfg.ini").string());
    file.Write<int>("A", "x", 2);
    ASSERT_TRUE(file.Save(file.GetFileName()));
    EXPECT_EQ(dir.Read("cfg.ini"),
              "[A]\nx=2\nlong line that is longer than the new text=long line that is longer than the new text\n");
    EXPECT_EQ(file.GetFileName(), (dir / "cfg.ini").string());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 1);
}

TEST(INIFile, SaveFailuresReturnFalseAndKeepTheFileName)
{
    TempDir dir;
    INIFile file;
    file.Write<int>("A", "x", 1);
    EXPECT_FALSE(file.Save((dir / "no" / "such" / "folder.ini").string()));
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
    EXPECT_FALSE(file.Save(""));
    EXPECT_EQ(file.GetFileName(), "");

    // A folder in the target's place cannot be replaced; the temporary goes again.
    std::filesystem::create_directory(dir / "taken.ini");
    EXPECT_FALSE(file.Save((dir / "taken.ini").string()));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir / "taken.ini.tmp"));
    EXPECT_EQ(file.GetFileName(), "");
}

TEST(INIFile, SavedFileLoadsBackToTheSameEntriesAndCopiesAreIndependent)
{
    TempDir dir;
    INIFile file;
    file.Write("", "free", " spaced = value ");
    file.Write<float>("Z", "f", -0.25f);
    file.Write<int>("[odd]", "k", 3);
    file.Write("A", "empty", "");
    const std::string first = SaveText(file, dir, "a.ini");
    INIFile back((dir / "a.ini").string());
    EXPECT_EQ(back.Read<std::string>("", "free"), " spaced = value ");
    EXPECT_FLOAT_EQ(back.Read<float>("Z", "f"), -0.25f);
    EXPECT_EQ(back.Read<int>("[odd]", "k"), 3);
    EXPECT_EQ(SaveText(back, dir, "b.ini"), first);

    INIFile copy = back;
    copy.Write<int>("[odd]", "k", 9);
    copy.Write<int>("B", "y", 2);
    EXPECT_EQ(copy.GetFileName(), back.GetFileName());
    EXPECT_EQ(back.Read<int>("[odd]", "k"), 3);
    EXPECT_EQ(back.Read<int>("B", "y"), 0);
}

} // namespace
