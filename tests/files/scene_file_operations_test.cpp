// SceneFile: the file operations, their result codes and the folders.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "files/scene_file.h"
#include "temp_folder.h"

namespace rmt4 {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;
using Values = std::array<std::uint16_t, kSceneParamCount>;

Values MakeValues(std::uint16_t start) {
  Values values{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = static_cast<std::uint16_t>(start + 41 * i);
  }
  return values;
}

class SceneFileOperations : public ::testing::Test {
 protected:
  SceneFile Scene(std::uint64_t seed = 1) const { return SceneFile(folders_, seed); }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }

  TempFolder root_;
  AppFolders folders_{root_.path() / "bin/FileData/", root_.path() / "data/rmt4/", root_.path() / "old/FileData/"};
  const Values values_ = MakeValues(3);
};

TEST_F(SceneFileOperations, WriteThenReadRoundTripsTheSceneAndItsHeader) {
  SceneFile writer = Scene(5);
  writer.header.fileDeviceType = kSupportedDeviceType;
  writer.saveTime = SceneTime{2027, 1, 2, 3, 4, 5};
  ASSERT_EQ(writer.WriteSceneFile(Path("live"), values_), SceneFileResult::kOk);
  EXPECT_EQ(std::filesystem::file_size(Path("live.mxb")), kSceneWrittenFileSize);

  SceneFile reader = Scene();
  reader.header.lockFlag = 9;
  ASSERT_EQ(reader.ReadSceneFile(Path("live")), SceneFileResult::kOk);
  EXPECT_TRUE(std::equal(values_.begin(), values_.end(), reader.values.begin(), reader.values.end()));
  EXPECT_EQ(reader.header.paramCount, kSceneParamCount);
  EXPECT_EQ(reader.header.dataOffset, kSceneDataOffset);
  EXPECT_EQ(reader.header.fileDeviceType, kSupportedDeviceType);
  EXPECT_EQ(reader.header.lockFlag, 0u);
  EXPECT_EQ(reader.header.time, (SceneTime{2027, 1, 2, 3, 4, 5}));
}

TEST_F(SceneFileOperations, ConstructionTakesTheLocalTime) {
  const SceneFile scene(folders_);
  const SceneTime now = LocalSceneTime();
  EXPECT_GE(scene.saveTime.year, 2024);
  EXPECT_LE(scene.saveTime.year, now.year);
  EXPECT_TRUE(scene.saveTime.month >= 1 && scene.saveTime.month <= 12);
  EXPECT_TRUE(scene.saveTime.day >= 1 && scene.saveTime.day <= 31);
  EXPECT_LT(scene.saveTime.hour, 24);
  // Two objects seeded from the system write different files.
  SceneFile a(folders_);
  SceneFile b(folders_);
  ASSERT_EQ(a.WriteSceneFile(Path("a"), values_), SceneFileResult::kOk);
  ASSERT_EQ(b.WriteSceneFile(Path("b"), values_), SceneFileResult::kOk);
  EXPECT_NE(ReadWholeFile(Path("a.mxb")), ReadWholeFile(Path("b.mxb")));
}

TEST_F(SceneFileOperations, ExtensionIsAppendedUnlessTheNameContainsIt) {
  SceneFile scene = Scene();
  EXPECT_EQ(scene.WithExtension("show"), "show.mxb");
  EXPECT_EQ(scene.WithExtension("show.mxb"), "show.mxb");
  EXPECT_EQ(scene.WithExtension("show.MXB"), "show.MXB.mxb");
  EXPECT_EQ(scene.WithExtension("a.mxb.old"), "a.mxb.old");

  ASSERT_EQ(scene.WriteSceneFile(Path("upper.MXB"), values_), SceneFileResult::kOk);
  EXPECT_TRUE(std::filesystem::exists(Path("upper.MXB.mxb")));
  EXPECT_EQ(Scene().ReadSceneFile(Path("upper.MXB.mxb")), SceneFileResult::kOk);
  EXPECT_EQ(Scene().ReadSceneFile(Path("upper.MXB")), SceneFileResult::kOk);
}

TEST_F(SceneFileOperations, EveryOperationRefusesAnEmptyName) {
  SceneFile scene = Scene();
  EXPECT_EQ(scene.WriteSceneFile("", values_), SceneFileResult::kEmptyName);
  EXPECT_EQ(scene.ReadSceneFile(""), SceneFileResult::kEmptyName);
  EXPECT_EQ(scene.SaveSceneFile(values_, ""), SceneFileResult::kEmptyName);
  EXPECT_EQ(scene.LoadSceneFile(""), SceneFileResult::kEmptyName);
  EXPECT_EQ(scene.DeleteSceneFile(""), SceneFileResult::kEmptyName);
  EXPECT_FALSE(scene.SceneFileExists(""));
  EXPECT_FALSE(std::filesystem::exists(root_.path() / "bin"));
}

TEST_F(SceneFileOperations, WriteResultCodes) {
  SceneFile scene = Scene();
  WriteWholeFile(Path("taken.mxb"), "precious");
  EXPECT_EQ(scene.WriteSceneFile(Path("taken"), values_), SceneFileResult::kAlreadyExists);
  EXPECT_EQ(ReadWholeFile(Path("taken.mxb")), "precious");

  std::filesystem::create_symlink(Path("nowhere"), Path("dangling.mxb"));
  EXPECT_EQ(scene.WriteSceneFile(Path("dangling"), values_), SceneFileResult::kAlreadyExists);
  EXPECT_FALSE(std::filesystem::exists(Path("nowhere")));  // a link is never followed to create

  EXPECT_EQ(scene.WriteSceneFile(Path("missing/x"), values_), SceneFileResult::kCannotCreate);
  WriteWholeFile(Path("plain"), "");
  EXPECT_EQ(scene.WriteSceneFile(Path("plain/x"), values_), SceneFileResult::kCannotCreate);
}

TEST_F(SceneFileOperations, ReadResultCodesAndWhatAFailedReadKeeps) {
  SceneFile scene = Scene();
  EXPECT_EQ(scene.ReadSceneFile(Path("absent")), SceneFileResult::kCannotOpen);
  std::filesystem::create_directory(Path("folder.mxb"));
  EXPECT_EQ(scene.ReadSceneFile(Path("folder")), SceneFileResult::kCannotOpen);
  ASSERT_EQ(::mkfifo(Path("pipe.mxb").c_str(), 0600), 0);
  EXPECT_EQ(scene.ReadSceneFile(Path("pipe")), SceneFileResult::kCannotOpen);  // and does not block

  ASSERT_EQ(Scene(2).WriteSceneFile(Path("good"), values_), SceneFileResult::kOk);
  ASSERT_EQ(scene.ReadSceneFile(Path("good")), SceneFileResult::kOk);

  // A damaged file: header fields are taken, values stay as they were.
  SceneFile other = Scene(3);
  other.header.fileDeviceType = 777;
  ASSERT_EQ(other.WriteSceneFile(Path("bad"), MakeValues(100)), SceneFileResult::kOk);
  std::string bytes = ReadWholeFile(Path("bad.mxb"));
  bytes[100] = static_cast<char>(bytes[100] ^ 0x40);
  std::filesystem::remove(Path("bad.mxb"));
  WriteWholeFile(Path("bad.mxb"), bytes);
  EXPECT_EQ(scene.ReadSceneFile(Path("bad")), SceneFileResult::kUnreadable);
  EXPECT_EQ(scene.header.fileDeviceType, 777u);
  EXPECT_TRUE(std::equal(values_.begin(), values_.end(), scene.values.begin(), scene.values.end()));

  // Short file: not even a header; nothing changes.
  WriteWholeFile(Path("short.mxb"), bytes.substr(0, 300));
  EXPECT_EQ(scene.ReadSceneFile(Path("short")), SceneFileResult::kUnreadable);
  EXPECT_EQ(scene.header.fileDeviceType, 777u);
}

TEST_F(SceneFileOperations, HugeFilesAreRefusedFromTheirSize) {
  // A sparse file: large on paper, nothing on disk.
  WriteWholeFile(Path("huge.mxb"), "");
  std::filesystem::resize_file(Path("huge.mxb"), std::uintmax_t{8} << 30);
  SceneFile scene = Scene();
  EXPECT_EQ(scene.ReadSceneFile(Path("huge")), SceneFileResult::kUnreadable);
  std::filesystem::resize_file(Path("huge.mxb"), kMaxSceneFileBytes + 1);
  EXPECT_EQ(scene.ReadSceneFile(Path("huge")), SceneFileResult::kUnreadable);
}

TEST_F(SceneFileOperations, SaveReplacesAnOlderFileInTheSceneFolder) {
  SceneFile first = Scene(1);
  ASSERT_EQ(first.SaveSceneFile(values_, "gig"), SceneFileResult::kOk);
  const std::string expected = (folders_.sceneDirectory / "gig.mxb").string();
  EXPECT_EQ(first.savedPath, expected);
  const std::string before = ReadWholeFile(expected);

  SceneFile second = Scene(2);
  ASSERT_EQ(second.SaveSceneFile(MakeValues(9), "gig.mxb"), SceneFileResult::kOk);
  EXPECT_EQ(second.savedPath, expected);
  EXPECT_NE(ReadWholeFile(expected), before);
  SceneFile reader = Scene();
  ASSERT_EQ(reader.LoadSceneFile("gig"), SceneFileResult::kOk);
  EXPECT_EQ(reader.values[0], 9);
  EXPECT_FALSE(std::filesystem::exists(folders_.fallbackDirectory));
}

TEST_F(SceneFileOperations, SaveFallsBackWhenTheProgramFolderCannotBeCreated) {
  // A regular file in the way: works even for root, where permissions do not.
  WriteWholeFile(root_.path() / "bin", "");
  SceneFile scene = Scene();
  ASSERT_EQ(scene.SaveSceneFile(values_, "gig"), SceneFileResult::kOk);
  const std::string fallback = (folders_.fallbackDirectory / "gig.mxb").string();
  EXPECT_EQ(scene.savedPath, fallback);
  EXPECT_TRUE(std::filesystem::is_regular_file(fallback));
  EXPECT_TRUE(scene.SceneFileExists("gig"));

  // Saving the same name again replaces the fallback copy too.
  SceneFile again = Scene(4);
  ASSERT_EQ(again.SaveSceneFile(MakeValues(50), "gig"), SceneFileResult::kOk);
  SceneFile reader = Scene();
  ASSERT_EQ(reader.LoadSceneFile("gig"), SceneFileResult::kOk);
  EXPECT_EQ(reader.values[0], 50);

  // Neither folder usable.
  WriteWholeFile(root_.path() / "data2", "");
  SceneFile stuck(AppFolders{root_.path() / "bin/FileData/", root_.path() / "data2/x/"}, 1);
  EXPECT_EQ(stuck.SaveSceneFile(values_, "gig"), SceneFileResult::kCannotCreate);
  EXPECT_EQ(stuck.savedPath, (root_.path() / "data2/x/gig.mxb").string());
}

TEST_F(SceneFileOperations, LoadSearchesAsGivenThenSceneThenFallbackThenLegacyFolder) {
  std::filesystem::create_directories(folders_.sceneDirectory);
  std::filesystem::create_directories(folders_.fallbackDirectory);
  const auto writeAt = [&](const std::filesystem::path& folder, std::uint16_t first) {
    ASSERT_EQ(Scene().WriteSceneFile((folder / "s").string(), MakeValues(first)), SceneFileResult::kOk);
  };
  std::filesystem::create_directories(folders_.legacyDirectory);
  writeAt(folders_.legacyDirectory, 40);
  SceneFile scene = Scene();
  ASSERT_EQ(scene.LoadSceneFile("s"), SceneFileResult::kOk);
  EXPECT_EQ(scene.values[0], 40);
  writeAt(folders_.fallbackDirectory, 30);
  ASSERT_EQ(scene.LoadSceneFile("s"), SceneFileResult::kOk);
  EXPECT_EQ(scene.values[0], 30);
  writeAt(folders_.sceneDirectory, 20);
  ASSERT_EQ(scene.LoadSceneFile("s"), SceneFileResult::kOk);
  EXPECT_EQ(scene.values[0], 20);
  writeAt(root_.path(), 10);
  ASSERT_EQ(scene.LoadSceneFile(Path("s")), SceneFileResult::kOk);
  EXPECT_EQ(scene.values[0], 10);

  // A damaged file found first is reported, not skipped.
  WriteWholeFile(folders_.sceneDirectory / "d.mxb", std::string(500, 'x'));
  ASSERT_EQ(Scene().WriteSceneFile((folders_.fallbackDirectory / "d").string(), values_),
            SceneFileResult::kOk);
  EXPECT_EQ(scene.LoadSceneFile("d"), SceneFileResult::kUnreadable);
  EXPECT_EQ(scene.LoadSceneFile("nothing"), SceneFileResult::kCannotOpen);
  EXPECT_EQ(scene.LoadSceneFile(Path("nothing")), SceneFileResult::kCannotOpen);
}

TEST_F(SceneFileOperations, DeleteSearchesTheSamePlaces) {
  std::filesystem::create_directories(folders_.sceneDirectory);
  std::filesystem::create_directories(folders_.fallbackDirectory);
  WriteWholeFile(Path("x.mxb"), "");
  WriteWholeFile(folders_.sceneDirectory / "x.mxb", "");
  WriteWholeFile(folders_.fallbackDirectory / "x.mxb", "");
  SceneFile scene = Scene();
  EXPECT_EQ(scene.DeleteSceneFile(Path("x")), SceneFileResult::kOk);
  EXPECT_FALSE(std::filesystem::exists(Path("x.mxb")));
  EXPECT_EQ(scene.DeleteSceneFile("x"), SceneFileResult::kOk);
  EXPECT_FALSE(std::filesystem::exists(folders_.sceneDirectory / "x.mxb"));
  EXPECT_TRUE(std::filesystem::exists(folders_.fallbackDirectory / "x.mxb"));
  EXPECT_EQ(scene.DeleteSceneFile("x.mxb"), SceneFileResult::kOk);
  EXPECT_FALSE(std::filesystem::exists(folders_.fallbackDirectory / "x.mxb"));
  EXPECT_EQ(scene.DeleteSceneFile("x"), SceneFileResult::kNotFound);
  EXPECT_EQ(scene.DeleteSceneFile(Path("x")), SceneFileResult::kNotFound);

  // A dangling link in the scene folder does not block saving that name.
  std::filesystem::create_symlink(root_.path() / "gone", folders_.sceneDirectory / "link.mxb");
  EXPECT_FALSE(scene.SceneFileExists((folders_.sceneDirectory / "link").string()));
  ASSERT_EQ(scene.SaveSceneFile(values_, "link"), SceneFileResult::kOk);
  EXPECT_FALSE(std::filesystem::is_symlink(folders_.sceneDirectory / "link.mxb"));
  EXPECT_FALSE(std::filesystem::exists(root_.path() / "gone"));
}

TEST_F(SceneFileOperations, ExistsLooksWhereTheSaveWrites) {
  std::filesystem::create_directories(folders_.sceneDirectory);
  std::filesystem::create_directories(folders_.fallbackDirectory);
  SceneFile scene = Scene();
  // The scene folder when it can be written: a copy in the fallback folder is not replaced.
  WriteWholeFile(folders_.fallbackDirectory / "backup.mxb", "");
  EXPECT_EQ(scene.SaveTarget("backup"), folders_.sceneDirectory / "backup.mxb");
  EXPECT_FALSE(scene.SceneFileExists("backup"));
  WriteWholeFile(folders_.sceneDirectory / "here.mxb", "");
  EXPECT_TRUE(scene.SceneFileExists("here"));
  // A path names its own place.
  WriteWholeFile(Path("local.mxb"), "");
  EXPECT_TRUE(scene.SceneFileExists(Path("local")));
  EXPECT_FALSE(scene.SceneFileExists(Path("local.MXB")));

  // No scene folder to be had (a file in its way): the fallback folder is where the save goes.
  std::filesystem::remove_all(root_.path() / "bin");
  WriteWholeFile(root_.path() / "bin", "");
  EXPECT_EQ(scene.SaveTarget("backup"), folders_.fallbackDirectory / "backup.mxb");
  EXPECT_TRUE(scene.SceneFileExists("backup"));
}

TEST_F(SceneFileOperations, ListingShowsCurrentThenSceneThenFallbackThenLegacyFolder) {
  const auto current = root_.path() / "cwd";
  std::filesystem::create_directories(current);
  std::filesystem::create_directories(folders_.sceneDirectory);
  WriteWholeFile(current / "b.mxb", "");
  WriteWholeFile(current / "a.mxb", "");
  WriteWholeFile(current / "notes.txt", "");
  WriteWholeFile(current / "a.MXB", "");
  std::filesystem::create_directory(current / "dir.mxb");
  WriteWholeFile(folders_.sceneDirectory / "a.mxb", "");  // duplicates stay

  std::vector<SceneListEntry> list = ListSceneFiles(current, folders_);
  ASSERT_EQ(list.size(), 4u);  // no fallback folder yet: not listed, no error
  EXPECT_EQ(list[0].name, "a.mxb");
  EXPECT_EQ(list[1].name, "b.mxb");
  EXPECT_EQ(list[2].name, "a.mxb");
  EXPECT_EQ(list[2].directory, folders_.sceneDirectory);
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].number, static_cast<int>(i) + 1);
  }
  EXPECT_EQ(list[3].name, "");

  // What an older build saved beside its executable comes last.
  std::filesystem::create_directories(folders_.fallbackDirectory);
  std::filesystem::create_directories(folders_.legacyDirectory);
  WriteWholeFile(folders_.fallbackDirectory / "z.b.mxb", "");
  WriteWholeFile(folders_.legacyDirectory / "old.mxb", "");
  list = ListSceneFiles(current, folders_);
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list[3].name, "z.b.mxb");
  EXPECT_EQ(list[3].directory, folders_.fallbackDirectory);
  EXPECT_EQ(list[4].name, "old.mxb");
  EXPECT_EQ(list[4].directory, folders_.legacyDirectory);

  const std::vector<SceneListEntry> empty = ListSceneFiles({}, AppFolders{});
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(empty[0].number, 1);
}

TEST_F(SceneFileOperations, MemberListingUsesTheProcessFolder) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::create_directories(root_.path() / "cwd");
  WriteWholeFile(root_.path() / "cwd/here.mxb", "");
  std::filesystem::current_path(root_.path() / "cwd");
  const std::vector<SceneListEntry> list = Scene().ListSceneFiles();
  std::filesystem::current_path(previous);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "here.mxb");
}

}  // namespace
}  // namespace rmt4
