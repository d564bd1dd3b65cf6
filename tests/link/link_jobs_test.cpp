#include <gtest/gtest.h>

#include <fstream>

#include "files/scene_codec.h"
#include "files/scene_file.h"
#include "i18n/label_text.h"
#include "link_fixture.h"

namespace rmt4::test {
namespace {

using namespace std::chrono_literals;

class LinkJobsTest : public LinkFixture {
 protected:
  bool WaitForMessage(LabelId id) {
    const std::string text(LabelText(id));
    return owner_.WaitUntil([&](const RecordingLinkOwner& o) { return o.SaidLocked(text); });
  }
  bool WaitForMessageCount(std::size_t count) {
    return owner_.WaitUntil([&](const RecordingLinkOwner& o) { return o.MessageCountLocked() >= count; });
  }
};

TEST_F(LinkJobsTest, RecallModeLoadsItAndReadsEverythingAgain) {
  StartConnected();
  const int readsBefore = Console().CountSent(Command::DumpAll);
  ParamEntry& operation = Params()[address::kModeOperation];
  operation.Store(0x0603);
  operation.MarkDirty();
  worker_->jobs().Request(LinkJob::RecallMode);

  ASSERT_TRUE(Eventually([&] { return Console().CountSent(Command::DumpAll) > readsBefore; }));
  EXPECT_EQ(Console().Payloads(Command::RecallMode).back(), std::vector<std::uint8_t>{3});
  EXPECT_TRUE(Eventually([&] { return Params().Value(address::kCurrentMode) == 3; }));
  EXPECT_EQ(console_.Value(address::kCurrentMode), 3);
  EXPECT_FALSE(Params()[address::kModeOperation].Dirty()) << "the operation word is never written afterwards";
  const auto progress = owner_.ProgressCalls();
  EXPECT_NE(std::find(progress.begin(), progress.end(), "format " + std::string(LabelText(LabelId::Call)) + "..."),
            progress.end());
}

TEST_F(LinkJobsTest, UnacknowledgedRecallIsTriedThreeTimesThenReported) {
  StartConnected();
  Console().SetSilent(true);
  Params()[address::kModeOperation].Store(0x0602);
  worker_->jobs().Request(LinkJob::RecallMode);
  EXPECT_TRUE(WaitForMessage(LabelId::InvocationFailed));
  EXPECT_EQ(Console().CountSent(Command::RecallMode), 3);
}

TEST_F(LinkJobsTest, AnEffectProgramTheConsoleDoesNotHaveIsReportedAndLeavesTheProgressShown) {
  StartConnected();
  auto hides = [this] {
    const auto all = owner_.Notifications();
    return std::count_if(all.begin(), all.end(), [](const auto& n) { return n.code == UiNotify::ProgressHidden; });
  };
  const auto hidesBefore = hides();
  Params()[address::kFx1Program].Store(200);  // engines hold programs 1..36
  worker_->jobs().Request(LinkJob::RecallFxPreset1);
  EXPECT_TRUE(WaitForMessage(LabelId::InvocationFailed));
  EXPECT_EQ(Console().CountSent(Command::RecallFxPreset1), 3);
  EXPECT_FALSE(Params()[1142].rereadRequested) << "nothing changed on the console";
  EXPECT_EQ(hides(), hidesBefore) << "the failure skips the after-job step";
}

TEST_F(LinkJobsTest, RenamedModeIsStoredAndReadBack) {
  StartConnected();
  ModeName name{};
  const std::u16string text = u"Evening show";
  std::copy(text.begin(), text.end(), name.begin());
  worker_->context().state.modeNames.SetBuffer(name);
  Params()[address::kModeOperation].Store(5);
  worker_->jobs().Request(LinkJob::StoreModeName);

  EXPECT_TRUE(WaitForMessage(LabelId::SaveSuccessfully));
  const auto sent = Console().Payloads(Command::StoreModeName).back();
  ASSERT_EQ(sent.size(), 21u) << "mode number and 20 name bytes";
  EXPECT_EQ(sent[0], 5);
  EXPECT_TRUE(Eventually([&] { return worker_->context().state.modeNames.Text(5) == text; }));
}

TEST_F(LinkJobsTest, EffectPresetRecallRereadsTheEngineAndStoreAnswers) {
  StartConnected();
  Params()[address::kFx1Program].Store(20);
  worker_->jobs().Request(LinkJob::StoreFxPreset1);
  EXPECT_TRUE(WaitForMessage(LabelId::SaveSuccessfully));
  EXPECT_EQ(Console().Payloads(Command::StoreFxPreset1).back(), std::vector<std::uint8_t>{20});

  Params()[address::kFx2Program].Store(3);
  worker_->jobs().Request(LinkJob::RecallFxPreset2);
  EXPECT_TRUE(Eventually([&] { return Console().CountSent(Command::RecallFxPreset2) == 1; }));
  EXPECT_TRUE(Eventually([&] { return Params().Value(1179) == console_.Value(1179); }))
      << "the engine's words are read again";
  EXPECT_NE(console_.Value(1179), DefaultValue(1179)) << "program 3 loads another program type";
  EXPECT_FALSE(Params()[1179].rereadRequested);
}

TEST_F(LinkJobsTest, SceneSavedThenUploadedRestoresTheMix) {
  StartConnected();
  Console().ChangeOnConsole(136, 1234);
  Console().ChangeOnConsole(1573, 99);
  const std::string path = (folder_ / "show.mxb").string();
  worker_->jobs().SetScenePath(path);
  worker_->jobs().Request(LinkJob::SaveScene);
  ASSERT_TRUE(WaitForMessageCount(1));
  EXPECT_EQ(owner_.Messages().back().caption, LabelText(LabelId::SaveSuccessfully));
  ASSERT_TRUE(std::filesystem::exists(path));

  // The mix changes on the console; uploading the scene brings it back,
  // except the last address, which a scene upload never writes.
  Console().ChangeOnConsole(136, 10);
  Console().ChangeOnConsole(1573, 7);
  Console().ChangeOnConsole(1201, 55);
  RequestSceneUpload(path);
  ASSERT_TRUE(WaitForMessage(LabelId::UploadCompletedSave));
  EXPECT_EQ(console_.Value(136), 1234);
  EXPECT_EQ(console_.Value(1573), 7);
  EXPECT_EQ(console_.Value(1201), 55) << "console words are kept";
  const std::string writeFailed(LabelText(LabelId::WriteDataFailed));
  EXPECT_FALSE(owner_.WaitUntil([&](const RecordingLinkOwner& o) { return o.SaidLocked(writeFailed); }, 0ms));
}

TEST_F(LinkJobsTest, UploadOfALongerFileReachesTheLastAddress) {
  StartConnected();
  const std::filesystem::path path = folder_ / "long.mxb";
  std::vector<std::uint16_t> values(kParamCount + 1, 0);
  values[136] = 1234;
  values[1573] = 42;
  const auto bytes = EncodeSceneFile(values, kSupportedDeviceType, SceneTime{}, DefaultRandomBytes());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));

  RequestSceneUpload(path.string());
  ASSERT_TRUE(WaitForMessage(LabelId::UploadCompletedSave));
  EXPECT_EQ(console_.Value(136), 1234);
  EXPECT_EQ(console_.Value(1573), 42) << "the file holds a value beyond its last one for 1573";
}

TEST_F(LinkJobsTest, UploadAnsweredYesStoresTheResultAsTheCurrentMode) {
  StartConnected();
  const std::string path = (folder_ / "stored.mxb").string();
  worker_->jobs().SetScenePath(path);
  worker_->jobs().Request(LinkJob::SaveScene);
  ASSERT_TRUE(Eventually([&] { return worker_->FinishedJobCount() == 1; }));

  owner_.AnswerMessagesWith(MessageButton::Yes);
  const int jobsBefore = worker_->FinishedJobCount();
  RequestSceneUpload(path);
  EXPECT_TRUE(Eventually([&] { return worker_->FinishedJobCount() >= jobsBefore + 2; }))
      << "the upload, then the store it asked for";
  EXPECT_EQ(Console().Payloads(Command::StoreMode).size(), 1u);
  EXPECT_EQ(Console().Payloads(Command::StoreMode).back(), (std::vector<std::uint8_t>{1, 1}));
  EXPECT_TRUE(WaitForMessage(LabelId::SaveSuccessfully));
}

TEST_F(LinkJobsTest, SceneUploadRefusesForeignAndMissingFilesAndAsksNothingAfter) {
  StartConnected();
  // Yes to any question: a refused scene must never be stored as the current mode.
  owner_.AnswerMessagesWith(MessageButton::Yes);
  const std::string foreign = (folder_ / "foreign.mxb").string();
  SceneFile writer(AppFolders{folder_, folder_}, 1);
  writer.header.fileDeviceType = 4321;
  std::array<std::uint16_t, kSceneParamCount> values{};
  values.fill(3);
  ASSERT_EQ(writer.WriteSceneFile(foreign, values), SceneFileResult::kOk);

  RequestSceneUpload(foreign);
  EXPECT_TRUE(WaitForMessage(LabelId::WrongFileVersion));
  EXPECT_NE(Params().Value(136), 3);

  RequestSceneUpload((folder_ / "missing.mxb").string());
  EXPECT_TRUE(WaitForMessage(LabelId::NoFilesFullWidthStop));

  int jobsRun = 2;
  for (const LinkJob job : {LinkJob::SaveScene, LinkJob::UploadScene}) {
    // The upload's closing question comes after its own message: wait for the job to end.
    ASSERT_TRUE(Eventually([&] { return worker_->FinishedJobCount() == jobsRun; }));
    ++jobsRun;
    const std::size_t said = owner_.Messages().size();
    worker_->jobs().SetScenePath("");
    worker_->jobs().Request(job);
    ASSERT_TRUE(WaitForMessageCount(said + 1));
    EXPECT_EQ(owner_.Messages()[said].text, LabelText(LabelId::EnterFileName)) << "an empty path asks for a name";
  }
  ASSERT_TRUE(Eventually([&] { return worker_->FinishedJobCount() == jobsRun; }));
  const std::string question(LabelText(LabelId::UploadCompletedSave));
  EXPECT_FALSE(owner_.WaitUntil([&](const RecordingLinkOwner& o) { return o.SaidLocked(question); }, 0ms));
  EXPECT_EQ(Console().CountSent(Command::StoreMode), 0);
}

}  // namespace
}  // namespace rmt4::test
