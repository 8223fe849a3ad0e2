// Loading, closing and writing back the hypnogram utility's result files.
#include <cstring>
#include <filesystem>

#include "app/document/byte_image.h"
#include "app/results/result_file_layout.h"
#include "app/results/result_strings.h"
#include "app/results/utility_result_file_dialogs.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "utility_fixture.h"

namespace {

using ui::IDYES;

bool SameRecords(const std::vector<LyrEpochRec>& a, const std::vector<LyrEpochRec>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * kEpochRecBytes) == 0);
}

// Nights saved at 10-s and 30-s epochs load with their records, settings and texts; the
// display time sets the epochs per line.
TEST_F(UtilityFilesTest, LoadTakesTheFileAndItsEpochsPerLine) {
  const std::string dir = TempFolder("load");
  TinyDoc ten(2, 60 * 10, 10);
  ten.Score();
  const std::string tenPath = SavedNight(dir + "/ten.raf", 60, 10);
  const std::string thirtyPath = SavedNight(dir + "/thirty.raf", 20, 30);

  UtilityResultFiles files;
  ScriptedUi ui;
  ASSERT_EQ(files.ReadResultFile(tenPath, 120, ui), 1);
  ASSERT_EQ(files.ReadResultFile(thirtyPath, 120, ui), 1);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(files.Count(), 2);
  EXPECT_EQ(UtilityHypnogramLoaded, 1u);

  const UtilityResultFileRec& f = *files.File(0);
  EXPECT_EQ(f.epochsPerLine, 720) << "2 h x 3600 / 10 s";
  EXPECT_EQ(files.File(1)->epochsPerLine, 240) << "2 h x 3600 / 30 s";
  EXPECT_EQ(f.epochTime, 10);
  EXPECT_EQ(f.epochCount, 60);
  std::vector<LyrEpochRec> expected;
  for (int e = 0; e < 60; ++e) expected.push_back(*ten.epochs.Record(e));
  EXPECT_TRUE(SameRecords(f.epochs, expected));
  EXPECT_EQ(f.memos, ten.memos);
  EXPECT_EQ(f.recordInfo.subjectName, "Subject A");
  EXPECT_EQ(f.recordInfo.channelCount, 2);
  EXPECT_TRUE(f.recordInfo.path.empty());
  EXPECT_EQ(f.startDateTime, (std::array<std::uint16_t, 6>{2026, 3, 14, 22, 30, 0}));
  EXPECT_EQ(f.startMsOfDay, (22 * 3600 + 30 * 60) * 1000);
  EXPECT_EQ(f.path, tenPath);
  EXPECT_EQ(f.cursorEpoch, -1);
  EXPECT_EQ(f.modified, 0);
  EXPECT_EQ(f.stageType.stageType, ten.params.stageType.stageType);
  EXPECT_EQ(f.storedStageType.Set(0)[1].name, ten.params.stageType.Set(0)[1].name);

  // Up to nine; the tenth is not taken.
  for (int k = 2; k < kUtilityFileSlots; ++k) ASSERT_EQ(files.ReadResultFile(thirtyPath, 120, ui), 1);
  EXPECT_TRUE(files.IsFull());
  EXPECT_EQ(files.ReadResultFile(tenPath, 120, ui), 0);
  EXPECT_EQ(files.Count(), kUtilityFileSlots);
  EXPECT_TRUE(ui.shown.empty());
}

// Files that must not be taken are refused with a message, and nothing changes.
TEST_F(UtilityFilesTest, RefusedFilesChangeNoSlot) {
  const std::string dir = TempFolder("bad");
  const std::string good = SavedNight(dir + "/good.raf", 6, 30);
  const std::vector<std::uint8_t> bytes = FileBytes(good);
  auto patched = [&](std::size_t at, std::uint32_t value) {
    std::vector<std::uint8_t> b = bytes;
    std::memcpy(b.data() + at, &value, 4);
    return b;
  };
  const std::size_t info = raf::kHeaderSize;
  const std::size_t countAt = info + raf::kInfoBlockSize + raf::kScaleBlockSize;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
    std::vector<std::string> shown;
  };
  const std::string cannot = S(kIdsCannotOpenFile);
  std::vector<std::uint8_t> foreign = bytes;
  foreign[0] = 'X';
  std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(countAt + 4 + 5 * kEpochRecBytes));
  const std::vector<Case> cases{
      {"not a result file", foreign, {cannot}},
      {"epoch time 3", patched(info + raf::kInfoEpochSeconds, 3), {cannot}},
      {"epoch time 61", patched(info + raf::kInfoEpochSeconds, 61), {cannot}},
      {"epoch time 0", patched(info + raf::kInfoEpochSeconds, 0), {cannot}},
      {"no channel", patched(info + raf::kInfoChannelCount, 0), {cannot}},
      {"33 channels", patched(info + raf::kInfoChannelCount, 33), {cannot}},
      {"more records than the file holds",
       patched(countAt, static_cast<std::uint32_t>((bytes.size() - countAt - 4) / kEpochRecBytes + 1)),
       {cannot}},
      {"a huge count", patched(countAt, 0xFFFFFFFFu), {cannot}},
      {"records cut short", cut, {cannot}},
      {"version 4", patched(info, 4), {S(kIdsVersionDifferent)}},
      {"empty", {}, {cannot}},
  };
  UtilityResultFiles files;
  ScriptedUi ok;
  ASSERT_EQ(files.ReadResultFile(good, 60, ok), 1);
  for (const Case& c : cases) {
    PutFile(dir + "/bad.raf", c.file);
    ScriptedUi ui;
    EXPECT_EQ(files.ReadResultFile(dir + "/bad.raf", 60, ui), 0) << c.name;
    EXPECT_EQ(ui.shown, c.shown) << c.name;
    EXPECT_EQ(files.Count(), 1) << c.name;
    EXPECT_TRUE(files.slots[1].path.empty() && files.slots[1].epochs.empty()) << c.name;
  }
  ScriptedUi missing;
  EXPECT_EQ(files.ReadResultFile(dir + "/none.raf", 60, missing), 0);
  EXPECT_EQ(missing.shown, std::vector<std::string>{cannot}) << "an unopenable file is said";
  EXPECT_EQ(files.Count(), 1);
  // The boundaries themselves are taken.
  for (std::uint32_t e : {4u, 60u}) {
    PutFile(dir + "/edge.raf", patched(info + raf::kInfoEpochSeconds, e));
    EXPECT_EQ(files.ReadResultFile(dir + "/edge.raf", 60, ok), 1) << e;
  }
  PutFile(dir + "/edge.raf", patched(info + raf::kInfoChannelCount, 32));
  EXPECT_EQ(files.ReadResultFile(dir + "/edge.raf", 60, ok), 1);
  EXPECT_TRUE(ok.shown.empty());
}

// Closing compacts the slots in order; the last close clears the loaded flag.
TEST_F(UtilityFilesTest, ClosingTheMiddleFileMovesTheNextDown) {
  UtilityResultFiles files;
  for (int e : {10, 20, 30}) files.Add(NightOf(e, std::vector<int>(static_cast<std::size_t>(600 / e), 1)));
  files.File(2)->path = "/data/third.raf";
  files.File(2)->memos[0] = "third";
  UtilityHypnogramLoaded = 1;
  files.SetCursorEpoch(2, 4);  // 120 s: epochs 12, 6 and 4
  files.SetCursorEpoch(2, 5);

  std::array<bool, kUtilityFileSlots> close{};
  close[1] = true;
  const auto moved = files.CloseFiles(close);
  EXPECT_EQ(moved[0], 0);
  EXPECT_EQ(moved[1], -1);
  EXPECT_EQ(moved[2], 1);
  EXPECT_EQ(moved[3], -1);
  ASSERT_EQ(files.Count(), 2);
  const UtilityResultFileRec& third = *files.File(1);
  EXPECT_EQ(third.epochTime, 30);
  EXPECT_EQ(third.epochCount, 20);
  EXPECT_EQ(third.path, "/data/third.raf");
  EXPECT_EQ(third.memos[0], "third");
  EXPECT_EQ(third.cursorEpoch, 5);
  EXPECT_EQ(third.previousCursorEpoch, 4);
  EXPECT_EQ(files.File(2), nullptr);
  EXPECT_TRUE(files.slots[2].epochs.empty() && files.slots[2].path.empty());
  EXPECT_EQ(files.GetStage(2, 0, 0, 0), 0) << "the slot left behind holds no file";
  EXPECT_EQ(UtilityHypnogramLoaded, 1u);

  close = {true, true};
  files.CloseFiles(close);
  EXPECT_EQ(files.Count(), 0);
  EXPECT_EQ(UtilityHypnogramLoaded, 0u);
}

// The file written back reads whole: exact size and places, then the same night in the
// utility and in the main window.
TEST_F(UtilityFilesTest, SavedFileHasExactBytesAndReopens) {
  const std::string dir = TempFolder("save");
  UtilityResultFiles files;
  ScriptedUi ui;
  ASSERT_EQ(files.ReadResultFile(SavedNight(dir + "/six.raf", 6, 30), 60, ui), 1);
  UtilityResultFileRec one = NightOf(20, {3});
  one.startDateTime = {2025, 1, 2, 3, 4, 5};
  EXPECT_EQ(BuildUtilityResultFileBytes(one, {}).size(), 10414u) << "10,200 + 214 x 1";

  const UtilityResultFileRec& six = *files.File(0);
  const std::array<std::string, 5> memos{"edited", "", "three", "", std::string(60, 'z')};
  const std::string out = dir + "/back.raf";
  ASSERT_EQ(WriteUtilityResultFile(six, out, memos, ui), 1);
  const std::vector<std::uint8_t> b = FileBytes(out);
  ASSERT_EQ(b.size(), 10200u + 214u * 6u);
  const bytes::CSpan s(b);
  const std::size_t info = raf::kHeaderSize;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data())), "RAF");
  EXPECT_EQ(bytes::Get<std::uint32_t>(s, info), 9u);
  EXPECT_EQ(bytes::Get<std::uint32_t>(s, info + raf::kInfoChannelCount), 1u);
  EXPECT_EQ(bytes::Get<std::uint32_t>(s, info + raf::kInfoEpochSeconds), 30u);
  EXPECT_EQ(bytes::Get<std::int32_t>(s, info + raf::kInfoLastScreenedEpoch), -1);
  EXPECT_EQ(bytes::Get<std::uint32_t>(s, info + raf::kInfoChannelRecords + 47 * 0), 1u);
  EXPECT_EQ(bytes::Get<double>(s, info + raf::kInfoChannelRecords + 31 * 48 + 24), 20.0);
  EXPECT_EQ(bytes::Get<std::uint32_t>(s, 9664), 6u) << "N";
  EXPECT_EQ(bytes::Get<float>(s, 9668 - 4 - 192), 1.0f) << "gain of channel 0";
  EXPECT_EQ(bytes::Get<std::uint16_t>(s, 9668 - 4 - 64), 1u) << "channel 0 shown";
  EXPECT_EQ(bytes::Get<std::uint16_t>(s, 9668 - 4 - 62), 0u) << "channel 1 not";
  EXPECT_EQ(std::memcmp(b.data() + 9668, six.epochs.data(), 6 * kEpochRecBytes), 0);
  EXPECT_EQ(bytes::Get<std::uint32_t>(s, b.size() - 8), 0u) << "K";
  EXPECT_EQ(bytes::Get<std::uint32_t>(s, b.size() - 4), 0u) << "T";

  // Back into the utility.
  ASSERT_EQ(files.ReadResultFile(out, 60, ui), 1);
  const UtilityResultFileRec& again = *files.File(1);
  EXPECT_TRUE(SameRecords(again.epochs, six.epochs));
  EXPECT_EQ(again.memos, memos);
  EXPECT_EQ(again.startDateTime, six.startDateTime);
  EXPECT_EQ(again.epochTime, 30);
  EXPECT_EQ(again.recordInfo.subjectName, "Subject A") << "the subject travels with the file";
  std::array<std::uint8_t, StageTypeParam::kSize> was{}, now{};
  six.stageType.Store(was);
  again.stageType.Store(now);
  EXPECT_EQ(was, now);

  // The main window opens it whole over a one-channel recording of the same length.
  TinyDoc doc(1, 6 * 30, 30);
  doc.checkValue = 0;
  doc.record.path = "";
  ScriptedUi answers;
  EXPECT_EQ(OpenResultProcess(doc.doc, out, answers), 1);
  EXPECT_TRUE(answers.shown.empty()) << "no question: the check value 0 matches";
  for (int e = 0; e < 6; ++e)
    EXPECT_EQ(std::memcmp(doc.epochs.Record(e), &six.epochs[static_cast<std::size_t>(e)], kEpochRecBytes), 0) << e;
  EXPECT_EQ(doc.memos, memos);
  EXPECT_EQ(ResultSaveState, 1);
}

// A file that cannot be created is said and nothing is written.
TEST_F(UtilityFilesTest, UncreatableFileIsReported) {
  const std::string dir = TempFolder("nofolder");
  ScriptedUi ui;
  const std::string path = dir + "/missing/folder/x.raf";
  EXPECT_EQ(WriteUtilityResultFile(NightOf(30, {1, 2}), path, {}, ui), 0);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].rfind(S(kIdsFailToMakeFile), 0), 0u) << ui.shown[0];
  EXPECT_FALSE(std::filesystem::exists(path));
}

// The close offer: Yes saves, No goes on, Cancel or a save that did not happen keeps the
// window open.
TEST_F(UtilityFilesTest, SaveOfferKeepsTheWindowUnlessDone) {
  UtilityResultFiles files;
  for (int k = 0; k < 3; ++k) files.Add(NightOf(30, {1}));
  files.File(0)->modified = 1;
  files.File(2)->modified = 1;
  struct Case {
    const char* name;
    std::deque<int> answers;
    bool saveWorks;
    bool closes;
    std::vector<int> saved;
  };
  const std::vector<Case> cases{
      {"yes to both", {IDYES, IDYES}, true, true, {0, 2}},
      {"no to both", {ui::IDNO, ui::IDNO}, true, true, {}},
      {"cancel at the first", {ui::IDCANCEL}, true, false, {}},
      {"save fails", {IDYES}, false, false, {0}},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    ui.answers = c.answers;
    std::vector<int> saved;
    const bool closes = CheckSaveFiles(files, ui, [&](int slot) {
      saved.push_back(slot);
      return c.saveWorks;
    });
    EXPECT_EQ(closes, c.closes) << c.name;
    EXPECT_EQ(saved, c.saved) << c.name;
    EXPECT_EQ(ui.shown.size(), c.answers.size()) << c.name;
    EXPECT_EQ(ui.shown[0], S(kIdsSaveChangesAndOpen)) << c.name;
  }
}

// The file dialogs: Open loads the chosen file into the next slot; Save writes the slot's file
// under the chosen name with the edited memos; Cancel does nothing.
TEST_F(UtilityFilesTest, OpenAndSaveThroughTheFileDialogs) {
  ui::EnsureToolkit();
  testhooks::Reset();
  const std::string dir = TempFolder("dialogs");
  const std::string night = SavedNight(dir + "/night.raf", 4, 30);
  UtilityResultFiles files;
  ScriptedUi ui;
  testhooks::AnswerFileDialog(ui::IDCANCEL);
  EXPECT_EQ(OpenUtilityResultFile(files, 60, nullptr, ui), -1);
  testhooks::AnswerFileDialog(ui::IDOK, {night});
  EXPECT_EQ(OpenUtilityResultFile(files, 60, nullptr, ui), 0);
  EXPECT_EQ(files.File(0)->epochsPerLine, 120);

  files.File(0)->modified = 1;
  testhooks::AnswerFileDialog(ui::IDCANCEL);
  EXPECT_FALSE(SaveUtilityResultFile(files, 0, nullptr, ui));
  EXPECT_EQ(files.File(0)->modified, 1) << "nothing written, still modified";
  testhooks::AnswerFileDialog(ui::IDOK, {dir + "/copy.raf"});
  EXPECT_TRUE(SaveUtilityResultFile(files, 0, nullptr, ui));
  EXPECT_EQ(files.File(0)->modified, 0);
  EXPECT_EQ(FileBytes(dir + "/copy.raf").size(), 10200u + 214u * 4u);
  ASSERT_EQ(files.ReadResultFile(dir + "/copy.raf", 60, ui), 1);
  EXPECT_EQ(files.File(1)->memos, files.File(0)->memos) << "the memos offered are the file's";
  EXPECT_TRUE(ui.shown.empty());
  testhooks::Reset();
}

}  // namespace
