#include <filesystem>

#include "app/document/byte_image.h"
#include "app/results/result_file_layout.h"
#include "app/results/result_strings.h"
#include "raf_fixture.h"

namespace {

using ui::IDCANCEL;
using ui::IDNO;
using ui::IDOK;
using ui::IDYES;

std::string Saved(TinyDoc& a, const std::string& path) {
  ScriptedUi ui;
  ResultWriteRequest req{a.record.path, path, 0, a.Epochs() - 1, {}};
  EXPECT_EQ(WriteResultFile(a.doc, req, ui), 1);
  return path;
}

// The checks before anything is taken over: what is asked, what the answer does.
TEST_F(RafTest, ConsistencyChecksAskAndRefuseAsTheCaseWants) {
  const std::string dir = TempFolder("chk");
  const std::string channelsContinue = S(kIdsChannelCountContinue);
  const std::string length = S(kIdsDataLengthDiffers) + "\n" + S(kIdsLengthOfData);
  const std::string rawDiffers = S(kIdsRawDataDiffers);
  const std::string other = "/other/night1.FYD";
  std::string pathQuestion = S(kIdsRawPathDiffers);
  pathQuestion.replace(pathQuestion.find("%s"), 2, other);
  pathQuestion.replace(pathQuestion.find("%s"), 2, "/data/night1.fyd");

  struct Case {
    const char* name;
    int docChannels;
    int docSeconds;
    std::uint32_t docCheck;
    std::string docPath;
    std::deque<int> answers;
    int result;
    std::vector<std::string> shown;
    int state;  // result state after the open (0: untouched)
    bool rewrite;
  };
  const std::vector<Case> cases{
      {"check value equal skips everything", 3, 40, 0x12345, other, {}, 1, {}, 2, false},
      {"equal, path differs in case only", 2, 40, 0x12345, "/DATA/NIGHT1.fyd", {}, 1, {}, 1, false},
      {"differs, user stops", 2, 40, 7, "/data/night1.fyd", {IDNO}, 0, {rawDiffers}, 0, false},
      {"differs, user goes on, all fits", 2, 40, 7, "/data/night1.fyd", {IDYES}, 1, {rawDiffers}, 1, false},
      {"more channels, OK", 3, 40, 7, "/data/night1.fyd", {IDYES, IDOK}, 1, {rawDiffers, channelsContinue}, 2, false},
      {"more channels, Cancel", 3, 40, 7, "/data/night1.fyd", {IDYES, IDCANCEL}, 0, {rawDiffers, channelsContinue}, 0, false},
      {"fewer channels refused", 1, 40, 7, "/data/night1.fyd", {IDYES}, 0, {rawDiffers, S(kIdsChannelCountDiffers)}, 0, false},
      {"fewer channels refused with equal check", 1, 40, 0x12345, "/data/night1.fyd", {}, 0, {S(kIdsChannelCountDiffers)}, 0, false},
      {"recording too short", 2, 39, 7, "/data/night1.fyd", {IDYES}, 0, {rawDiffers, length}, 0, false},
      {"too short with equal check still refused", 2, 39, 0x12345, "/data/night1.fyd", {}, 0, {length}, 0, false},
      {"other path, OK rewrites", 2, 40, 7, other, {IDYES, IDOK}, 1, {rawDiffers, pathQuestion}, 1, true},
      {"other path, Cancel", 2, 40, 7, other, {IDYES, IDCANCEL}, 0, {rawDiffers, pathQuestion}, 0, false},
  };
  for (const Case& c : cases) {
    TinyDoc a(2, 40, 10);
    a.Score();
    const std::string file = Saved(a, dir + "/n.raf");
    TinyDoc b(c.docChannels, c.docSeconds, 10);
    b.checkValue = c.docCheck;
    b.record.path = c.docPath;
    ResultSaveState = 0;
    ScriptedUi u;
    u.answers = c.answers;
    ResultOpenOutcome outcome;
    EXPECT_EQ(OpenResultProcess(b.doc, file, u, &outcome), c.result) << c.name;
    EXPECT_EQ(u.shown, c.shown) << c.name;
    EXPECT_EQ(ResultSaveState, c.state) << c.name;
    EXPECT_EQ(outcome.rewritePath, c.rewrite) << c.name;
    // A refused file leaves the document as it was.
    EXPECT_EQ(b.epochs.Record(0)->stage[0], c.result ? a.epochs.Record(0)->stage[0] : 0) << c.name;
    EXPECT_EQ(b.resultPath, c.result ? file : "") << c.name;
    if (c.rewrite) {
      ScriptedUi v;
      EXPECT_EQ(GetRafRawDataPath(file, v), other);
    }
  }
}

TEST_F(RafTest, AnimalOnlyModeAsksAboutHumanSettings) {
  const std::string dir = TempFolder("animal");
  TinyDoc a(2, 40, 10);
  a.params.sleepDstrb.snore.channel = 1;
  a.Allocate();
  const std::string file = Saved(a, dir + "/h.raf");
  for (int answer : {IDCANCEL, IDOK}) {
    AnimalOnlyMode = 1;
    TinyDoc b(2, 40, 10);
    int saves = 0;
    b.doc.saveModeSetting = [&saves] { ++saves; };
    ScriptedUi u;
    u.answers = {answer};
    EXPECT_EQ(OpenResultProcess(b.doc, file, u), answer == IDOK ? 1 : 0);
    EXPECT_EQ(u.shown, std::vector<std::string>{S(kIdsHumanSettingsInAnimalMode)});
    EXPECT_EQ(AnimalOnlyMode, answer == IDOK ? 0 : 1);
    EXPECT_EQ(saves, answer == IDOK ? 1 : 0);
  }
}

// Damaged files: cut anywhere or with counts that do not fit, they are refused with a
// message and the document keeps what it had.
TEST_F(RafTest, DamagedFilesAreRefusedAndLeaveTheDocumentAlone) {
  const std::string dir = TempFolder("dmg");
  TinyDoc a(2, 40, 10);
  a.UseSections();
  a.Score();
  const auto good = FileBytes(Saved(a, dir + "/g.raf"));
  const std::size_t info = 256;

  auto expectRefused = [&](const std::vector<std::uint8_t>& f, const std::string& what) {
    PutFile(dir + "/bad.raf", f);
    EpochSeconds = 20;
    TinyDoc b(2, 40, 20);
    b.epochs.SetStage(1, 5);
    b.memos[0] = "kept";
    ResultSaveState = 2;
    ScriptedUi u;
    u.answers = {IDYES, IDOK, IDOK};
    EXPECT_EQ(OpenResultProcess(b.doc, dir + "/bad.raf", u), 0) << what;
    EXPECT_FALSE(u.shown.empty()) << what;
    EXPECT_EQ(EpochSeconds, 20) << what;
    EXPECT_EQ(b.epochs.EpochCount(), 2) << what;
    EXPECT_EQ(b.epochs.Record(1)->stage[0], 5) << what;
    EXPECT_EQ(b.memos[0], "kept") << what;
    EXPECT_EQ(ResultSaveState, 2) << what;
  };
  for (std::size_t cut : {std::size_t{255}, std::size_t{300}, std::size_t{9471}, std::size_t{9600}, std::size_t{9667},
                          std::size_t{10000}, good.size() / 2, good.size() - 1})
    expectRefused(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(cut)), "cut " + std::to_string(cut));

  struct Field { const char* name; std::size_t at; std::uint32_t value; };
  const Field fields[] = {
      {"epoch length 0", info + raf::kInfoEpochSeconds, 0},
      {"epoch length 61", info + raf::kInfoEpochSeconds, 61},
      {"33 channels", info + raf::kInfoChannelCount, 33},
      {"more epochs than the recording", 9664, 5},
      {"huge epoch count", 9664, 0xFFFFFFFF},
  };
  for (const Field& fd : fields) {
    auto f = good;
    bytes::Put<std::uint32_t>(f, fd.at, fd.value);
    expectRefused(f, fd.name);
  }
  // Counts inside the body: the beat count and the mark counts (found from the end).
  const std::size_t lists = good.size() - 10 * (4 + 2 * 40 * 4);
  const std::size_t flags = lists - 4 - 10 * 400 - 4;
  for (auto [name, at, value] : {std::tuple{"K not 10 x E x N", flags, 399u}, std::tuple{"T not E x N", lists - 4, 41u},
                                 std::tuple{"list count past T", lists, 41u}}) {
    auto f = good;
    bytes::Put<std::uint32_t>(f, at, value);
    expectRefused(f, name);
  }
  auto f = good;
  // The beat count: the u32 6 followed by the first two positions.
  std::size_t beatAt = 0;
  for (std::size_t i = 9668; i + 8 < good.size(); ++i)
    if (bytes::Get<std::uint32_t>(good, i) == 6 && bytes::Get<std::int32_t>(good, i + 4) == 40 &&
        bytes::Get<std::int32_t>(good, i + 8) == 130) {
      beatAt = i;
      break;
    }
  ASSERT_NE(beatAt, 0u);
  bytes::Put<std::uint32_t>(f, beatAt, 20 * 40 + 1);
  expectRefused(f, "more beats than the list holds");
}

TEST_F(RafTest, SaveKeepsThePreviousFileWhenItFails) {
  const std::string dir = TempFolder("save");
  TinyDoc a(2, 40, 10);
  a.Score();
  const std::string file = Saved(a, dir + "/n.raf");
  const auto before = FileBytes(file);
  ResultSaveState = 2;
  a.resultPath = "old";

  ScriptedUi u;
  ResultWriteRequest bad{a.record.path, file, 0, 4, {}};  // past the last epoch
  EXPECT_EQ(WriteResultFile(a.doc, bad, u), 0);
  EXPECT_EQ(u.shown, std::vector<std::string>{"CMainFrame::WriteResultFile\n" + S(kIdsErrorSavingFile)});
  EXPECT_EQ(FileBytes(file), before);
  EXPECT_EQ(ResultSaveState, 2);
  EXPECT_EQ(a.resultPath, "old");

  ScriptedUi v;
  ResultWriteRequest nowhere{a.record.path, dir + "/missing/n.raf", 0, 3, {}};
  EXPECT_EQ(WriteResultFile(a.doc, nowhere, v), 0);
  EXPECT_EQ(v.shown, std::vector<std::string>{S(kIdsFailToMakeFile)});
  EXPECT_EQ(ResultSaveState, 2);

  // A companion file that cannot be written is reported; the result file itself is saved.
  std::filesystem::create_directories(dir + "/c.SRM1");
  ScriptedUi w;
  ResultWriteRequest comp{a.record.path, dir + "/c.raf", 0, 3, {}};
  EXPECT_EQ(WriteResultFile(a.doc, comp, w), 1);
  ASSERT_EQ(w.shown.size(), 1u);
  EXPECT_NE(w.shown[0].find(dir + "/c.SRM1"), std::string::npos);
  EXPECT_EQ(ResultSaveState, 1);
}

TEST_F(RafTest, MissingCompanionFilesGiveEmptyDefaults) {
  const std::string dir = TempFolder("comp");
  TinyDoc a(2, 40, 10);
  a.Score();
  a.analysedSeconds = 40;
  ScriptedUi u;
  ReadResultCompanionFiles(a.doc, dir + "/none.raf", u);
  EXPECT_TRUE(u.shown.empty());
  EXPECT_EQ(a.waveMarks, std::vector<std::uint8_t>(400, 0));
  EXPECT_EQ(a.waveParam.channel, -1);
  EXPECT_EQ(a.waveDivision, 60);
  // A file of another version counts as missing; a mark count past the end too.
  PutFile(dir + "/v.SDT1", {2, 0, 1, 0, 0, 0, 7});
  PutFile(dir + "/v.SRM1", std::vector<std::uint8_t>(86, 0));
  a.waveDivision = 5;
  a.waveParam.channel = 3;
  ReadResultCompanionFiles(a.doc, dir + "/v.raf", u);
  EXPECT_EQ(a.waveMarks.size(), 400u);
  EXPECT_EQ(a.waveParam.channel, -1);
  PutFile(dir + "/w.SDT1", {1, 0, 9, 0, 0, 0, 7});
  ReadResultCompanionFiles(a.doc, dir + "/w.raf", u);
  EXPECT_EQ(a.waveMarks.size(), 400u);
}

// Stage tokens of one line per epoch, by stage type.
TEST_F(RafTest, TextStagesFollowTheTokens) {
  const std::string dir = TempFolder("txt");
  struct Case { int stageType; const char* line; std::array<int, 3> slots; };
  const Case cases[] = {
      {0, "2", {4, 0, 0}},   {0, "2*", {24, 0, 0}}, {0, "W1", {3, 1, 0}}, {0, "REM", {7, 2, 0}},
      {1, "REM", {7, 2, 0}}, {2, "REM", {7, 2, 0}}, {3, "REM", {3, 2, 0}}, {0, "12", {4, 3, 0}},
      {1, "4", {5, 0, 0}},   {2, "2", {3, 0, 0}},   {3, "S", {3, 0, 0}},   {0, "S", {0, 0, 0}},
      {0, "w", {0, 0, 0}},   {0, "M*", {27, 0, 0}}, {3, "4 *", {23, 0, 0}},
  };
  for (const Case& c : cases) {
    TinyDoc a(1, 40, 10);
    ResultSaveState = 1;
    PutFile(dir + "/s.txt", std::vector<std::uint8_t>(c.line, c.line + std::strlen(c.line)));
    ScriptedUi u;
    const int set = ReadTextStage(a.epochs, c.stageType, 4, dir + "/s.txt", u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(a.epochs.GetStage(0, 0, k), c.slots[static_cast<std::size_t>(k)]) << c.line << c.stageType;
    EXPECT_EQ(set, c.slots[0] ? 1 : 0) << c.line;
    EXPECT_EQ(ResultSaveState, c.slots[0] ? 2 : 1) << c.line;
  }
  // Lines are epochs: an empty line keeps its epoch, extra lines are not read, CR LF ends lines.
  TinyDoc a(1, 30, 10);
  a.params.stageType.stageType = 0;
  PutFile(dir + "/n.txt", std::vector<std::uint8_t>{'W', '\r', '\n', '\r', '\n', 'R', '\n', '1', '\n'});
  ScriptedUi u;
  ResultSaveState = 1;
  ResultOpenOutcome outcome;
  EXPECT_EQ(OpenResultProcess(a.doc, dir + "/n.txt", u, &outcome), 1);
  EXPECT_TRUE(outcome.textStages);
  EXPECT_EQ(a.epochs.GetStage(0, 0, 0), 1);
  EXPECT_EQ(a.epochs.GetStage(0, 1, 0), 0);
  EXPECT_EQ(a.epochs.GetStage(0, 2, 0), 2);
  EXPECT_EQ(ResultSaveState, 2);
  // A file that cannot be read says so.
  EXPECT_EQ(ReadTextStage(a.epochs, 0, 3, dir + "/absent.txt", u), 0);
  EXPECT_EQ(u.shown, std::vector<std::string>{"CMainFrame::ReadTextStage"});
}

TEST_F(RafTest, RewriteChangesOnlyTheStoredPath) {
  const std::string dir = TempFolder("rw");
  TinyDoc a(2, 40, 10);
  a.Score();
  const std::string file = Saved(a, dir + "/n.raf");
  auto before = FileBytes(file);
  ScriptedUi u;
  const std::string longPath = "/" + std::string(300, 'p');
  EXPECT_EQ(RewriteRafInfoBlock(file, longPath, u), 1);
  auto after = FileBytes(file);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(bytes::GetText(after, 256 + 318, 262), longPath.substr(0, 259));
  EXPECT_EQ(after[256 + 318 + 259], 0);
  std::fill(before.begin() + 256 + 318, before.begin() + 256 + 318 + 262, 0);
  std::fill(after.begin() + 256 + 318, after.begin() + 256 + 318 + 262, 0);
  EXPECT_EQ(after, before);
}

}  // namespace

namespace {

// Random damage anywhere in a saved file: the reader either takes a whole file or leaves the
// document as it was; nothing it reads may run past a table (the sanitizers watch).
TEST_F(RafTest, RandomDamageIsTakenWholeOrNotAtAll) {
  const std::string dir = TempFolder("rnd");
  TinyDoc a(2, 40, 10);
  a.UseSections();
  a.Score();
  ScriptedUi su;
  ResultWriteRequest req{a.record.path, dir + "/g.raf", 0, 3, {}};
  ASSERT_EQ(WriteResultFile(a.doc, req, su), 1);
  const auto good = FileBytes(req.path);
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 150; ++round) {
    auto f = good;
    const int changes = 1 + static_cast<int>(next() % 4);
    for (int c = 0; c < changes; ++c) {
      // Half of the changes hit the information block's counts and channel fields.
      const std::size_t at = next() % 2 ? 256 + 1232 + next() % 2200 : next() % f.size();
      f[at] = static_cast<std::uint8_t>(next());
    }
    if (next() % 5 == 0) f.resize(next() % f.size());
    PutFile(dir + "/bad.raf", f);
    EpochSeconds = 20;
    TinyDoc b(2, 40, 20);
    b.epochs.SetStage(0, 9);
    ScriptedUi u;
    u.answers = {ui::IDYES, ui::IDOK, ui::IDOK, ui::IDOK};
    if (OpenResultProcess(b.doc, dir + "/bad.raf", u) == 0) {
      EXPECT_EQ(EpochSeconds, 20) << round;
      EXPECT_EQ(b.epochs.GetStage(0, 0, 0), 9) << round;
    } else {
      EXPECT_LE(b.epochs.EpochCount(), 10) << round;
    }
  }
}

}  // namespace
