#include "files/profile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>

#include "temp_folder.h"

namespace rmt4 {
namespace {

/// `head` followed by `count` copies of `filler` (grown in place: GCC 12
/// warns falsely on concatenating a long temporary string).
std::string WithFiller(std::string_view head, std::size_t count, char filler) {
  std::string text(head);
  text.resize(head.size() + count, filler);
  return text;
}

using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;

TEST(ProfileRead, FindsKeysInHandEditedText) {
  const std::string text =
      "\xEF\xBB\xBF; written by hand\r\n"
      "garbage line without equals\r\n"
      "orphan=7\r\n"
      "  [ Other ]  \r\n"
      "Language=9\r\n"
      "[RMT4]\r\n"
      "\t Language \t=\t 2 \r\n"
      "# another comment\r\n"
      "[broken\r\n"
      "=5\r\n"
      "m_COM_MdoeIO = \"1\"\r\n"
      "m_COM_m_BoTeLV=115200";  // no final newline
  EXPECT_EQ(ProfileGetInt(text, "rmt4", "language"), 2);  // names ignore ASCII case
  EXPECT_EQ(ProfileGetInt(text, "rmt4", "m_COM_MdoeIO"), 1);  // quotes removed
  EXPECT_EQ(ProfileGetInt(text, "rmt4", "m_COM_m_BoTeLV"), 115200);
  EXPECT_EQ(ProfileGetInt(text, "Other", "Language"), 9);
  EXPECT_EQ(ProfileGetInt(text, "rmt4", "orphan"), std::nullopt);  // before any section
  EXPECT_EQ(ProfileGetString(text, "rmt4", "missing"), std::nullopt);
  EXPECT_EQ(ProfileGetString(text, "missing", "Language"), std::nullopt);
}

TEST(ProfileRead, FirstMatchWinsAcrossRepeatedSections) {
  const std::string text = "[a]\nx=1\n[b]\nx=2\ny=3\n[a]\nx=4\ny=5\n";
  EXPECT_EQ(ProfileGetInt(text, "a", "x"), 1);
  EXPECT_EQ(ProfileGetInt(text, "a", "y"), 5);  // found in the repeated section
  EXPECT_EQ(ProfileGetInt(text, "b", "y"), 3);
}

TEST(ProfileRead, ValuesAreDecimalIntegers) {
  EXPECT_EQ(ParseProfileInt("42"), 42);
  EXPECT_EQ(ParseProfileInt("  -3 "), -3);
  EXPECT_EQ(ParseProfileInt("+8"), 8);
  EXPECT_EQ(ParseProfileInt("12 ; note"), 12);
  EXPECT_EQ(ParseProfileInt("0x10"), 0);  // decimal only
  EXPECT_EQ(ParseProfileInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseProfileInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseProfileInt("2147483648"), std::nullopt);
  EXPECT_EQ(ParseProfileInt("99999999999999999999999"), std::nullopt);
  EXPECT_EQ(ParseProfileInt(""), std::nullopt);
  EXPECT_EQ(ParseProfileInt("abc"), std::nullopt);
  EXPECT_EQ(ParseProfileInt("-"), std::nullopt);
  EXPECT_EQ(ParseProfileInt("--1"), std::nullopt);
}

TEST(ProfileWrite, ReplacesOnlyTheValueAndKeepsEverythingElse) {
  const std::string text =
      "; comment\r\n[other]\r\nLanguage=0\r\n\r\n[rmt4]\r\njunk\r\nLanguage = 1\r\nz=2\r\n";
  const auto changed = ProfileSetString(text, "rmt4", "Language", "2");
  ASSERT_TRUE(changed);
  EXPECT_EQ(*changed,
            "; comment\r\n[other]\r\nLanguage=0\r\n\r\n[rmt4]\r\njunk\r\nLanguage = 2\r\nz=2\r\n");
  EXPECT_EQ(ProfileSetString(*changed, "rmt4", "Language", "2"), *changed);
}

TEST(ProfileWrite, AddsKeyAfterTheLastKeyOfTheSection) {
  EXPECT_EQ(ProfileSetString("[rmt4]\nA=1\n; about b\n\n[b]\nx=1\n", "rmt4", "B", "2"),
            "[rmt4]\nA=1\nB=2\n; about b\n\n[b]\nx=1\n");
  EXPECT_EQ(ProfileSetString("[rmt4]", "rmt4", "B", "2"), "[rmt4]\nB=2\n");
  EXPECT_EQ(ProfileSetString("[rmt4]\r\nA=1", "rmt4", "B", "2"), "[rmt4]\r\nA=1\r\nB=2\r\n");
}

TEST(ProfileWrite, AppendsAMissingSection) {
  EXPECT_EQ(ProfileSetString("", "rmt4", "Language", "2"), "[rmt4]\nLanguage=2\n");
  EXPECT_EQ(ProfileSetString("[a]\r\nx=1", "rmt4", "k", "v"), "[a]\r\nx=1\r\n\r\n[rmt4]\r\nk=v\r\n");
  EXPECT_EQ(ProfileSetString("[a]\nx=1\n\n", "rmt4", "k", "v"), "[a]\nx=1\n\n[rmt4]\nk=v\n");
}

TEST(ProfileWrite, RefusesEntriesThatWouldNotReadBack) {
  EXPECT_FALSE(ProfileSetString("", "rmt4", "", "1"));
  EXPECT_FALSE(ProfileSetString("", "", "k", "1"));
  EXPECT_FALSE(ProfileSetString("", "rmt4", "a=b", "1"));
  EXPECT_FALSE(ProfileSetString("", "rmt4", "[k", "1"));
  EXPECT_FALSE(ProfileSetString("", "rmt4", ";k", "1"));
  EXPECT_FALSE(ProfileSetString("", "rmt4", " k", "1"));
  EXPECT_FALSE(ProfileSetString("", "rm]t4", "k", "1"));
  EXPECT_FALSE(ProfileSetString("", "rmt4", "k", "1\n[evil]"));
  EXPECT_FALSE(ProfileSetString("", "rmt4", "k", "1\r"));
  EXPECT_FALSE(ProfileSetString("", "rmt4", "k", "\"1\""));
  EXPECT_TRUE(ProfileSetString("", "rmt4", "k", ""));
}

TEST(ProfileWrite, WrittenValuesReadBackInEveryShapeOfFile) {
  const std::string shapes[] = {"", "[rmt4]", "[rmt4]\r\n", "x", "[RMT4]\nk=old\n", "\n\n\n",
                                "[a]\nk=1\n[rmt4]\n[rmt4]\nk=2"};
  for (const std::string& shape : shapes) {
    const auto changed = ProfileSetString(shape, "rmt4", "k", "-17");
    ASSERT_TRUE(changed) << shape;
    EXPECT_EQ(ProfileGetInt(*changed, "rmt4", "k"), -17) << shape;
    EXPECT_EQ(ProfileGetInt(*changed, "a", "k"), ProfileGetInt(shape, "a", "k")) << shape;
  }
}

TEST(ProfileWrite, RefusesToGrowBeyondTheReadLimit) {
  const std::string big = WithFiller("[rmt4]\nfiller=", kMaxProfileBytes - 20, 'x') + "\n";
  EXPECT_FALSE(ProfileSetString(big, "rmt4", "Language", "2"));
}

TEST(ProfileFile, ReadsAndWritesOneKeyInPlace) {
  TempFolder folder;
  const auto path = folder / "Configuration.ini";
  EXPECT_EQ(ReadProfileInt(path, "rmt4", "k", -1), -1);  // no file yet

  WriteWholeFile(path, "; mine\r\n[rmt4]\r\nk=1\r\n[keep]\r\nq=3");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteProfileString(path, "rmt4", "k", "5"));
  EXPECT_EQ(ReadWholeFile(path), "; mine\r\n[rmt4]\r\nk=5\r\n[keep]\r\nq=3");
  EXPECT_EQ(ReadProfileInt(path, "rmt4", "k", -1), 5);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);  // permissions of the old file kept

  // Nothing else is left in the folder (no temporary files).
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(ProfileFile, WritesThroughASymbolicLink) {
  TempFolder folder;
  const auto real = folder / "real.ini";
  const auto link = folder / "Language.ini";
  WriteWholeFile(real, "[rmt4]\nLanguage=0\n");
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(WriteProfileString(link, "rmt4", "Language", "1"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadWholeFile(real), "[rmt4]\nLanguage=1\n");
}

TEST(ProfileFile, OversizedOrSpecialFilesAreNeitherReadNorReplaced) {
  TempFolder folder;
  const auto big = folder / "big.ini";
  const std::string bigText = WithFiller("[rmt4]\nk=1\n", kMaxProfileBytes, ';');
  WriteWholeFile(big, bigText);
  EXPECT_EQ(ReadProfileFile(big), std::nullopt);
  EXPECT_EQ(ReadProfileInt(big, "rmt4", "k", -1), -1);
  EXPECT_FALSE(WriteProfileString(big, "rmt4", "k", "2"));
  EXPECT_EQ(ReadWholeFile(big), bigText);

  const auto exact = folder / "exact.ini";
  WriteWholeFile(exact, WithFiller("[rmt4]\nk=1\n", kMaxProfileBytes - 11, ';'));
  EXPECT_EQ(ReadProfileInt(exact, "rmt4", "k", -1), 1);

  // A FIFO would block a plain open; a folder cannot be read as a file.
  const auto fifo = folder / "fifo.ini";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(ReadProfileFile(fifo), std::nullopt);
  EXPECT_FALSE(WriteProfileString(fifo, "rmt4", "k", "2"));
  std::filesystem::create_directory(folder / "dir.ini");
  EXPECT_EQ(ReadProfileFile(folder / "dir.ini"), std::nullopt);
  EXPECT_FALSE(WriteProfileString(folder / "dir.ini", "rmt4", "k", "2"));
}

TEST(ProfileFile, MissingFolderIsNotCreated) {
  TempFolder folder;
  EXPECT_FALSE(WriteProfileString(folder / "no/such/x.ini", "rmt4", "k", "1"));
  EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

}  // namespace
}  // namespace rmt4
