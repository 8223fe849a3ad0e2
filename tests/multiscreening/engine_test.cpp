// The multi-screening engine and run on small written recordings: animals per recording,
// skipped recordings, result files that open on their recording, progress and Cancel, the
// window's checks and closing messages, and the remote request.
#include <filesystem>
#include <fstream>

#include "app/document/byte_image.h"
#include "app/document/seizure_finding.h"
#include "app/frame/program_settings.h"
#include "app/frame/remote_screening.h"
#include "app/frame/resume_file.h"
#include "platform/ui/command.h"
#include "app/frame/lyr_dlg_output_progress.h"
#include "app/results/result_analysis_file.h"
#include "app/results/result_file_layout.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "app/scoring/lyr_dlg_screening_logic.h"
#include "app/scoring/lyr_multi_screening.h"
#include "app_shell/app_fixture.h"
#include "platform/system/file_io.h"
#include "platform/system/profile.h"
#include "platform/system/program_folder.h"
#include "sample_recording.h"

namespace fs = std::filesystem;

namespace {

// Answers of the result-file open, recorded.
class RecordingUi : public ResultFileUi {
 public:
  int Message(const std::string& text, std::uint32_t) override {
    texts.push_back(text);
    return ui::IDYES;
  }
  std::vector<std::string> texts;
};

std::int32_t TestDivision = 60;

ResultFileDocument DocumentOf(CQLM2_AnalyzerDoc& d) {
  ResultFileDocument doc{d.EpochTables, d.RecognitionTables, d.Marks,      d.Params,        d.ChInfo,
                         d.RecordInfo,  d.ResultMemos,       d.LastScreenedEpoch, d.RecordSeconds, d.ResultPath,
                         SeizureMarks,  WaveDetectParam,     TestDivision, std::max(d.GetRecordSec(), 0), {}, {}, {}};
  doc.rawSampleSum = [&d](int second, const std::array<int, 32>* flags) {
    return d.GetRawWordSum(second, flags != nullptr ? flags->data() : nullptr);
  };
  return doc;
}

class MultiScreeningTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    EpochSeconds = 10;
    PageSeconds = 10;
    data_ = folder_->Path() + "/data";
    fs::create_directories(data_);
    desktop_ = folder_->Path() + "/desktop";
    fs::create_directories(desktop_);
    setenv("XDG_DESKTOP_DIR", desktop_.c_str(), 1);
    testhooks::Reset();
  }
  void TearDown() override {
    LyrMultiScreening::SetStepHookForTesting({});
    // Windows that ended are destroyed by the message loop.
    testhooks::ProcessMessages();
    unsetenv("XDG_DESKTOP_DIR");
    std::error_code ec;
    fs::permissions(data_, fs::perms::owner_all, fs::perm_options::add, ec);
    if (app_ && DocumentLoaded != 0) {
      sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
      Doc().OnNewDocument();
      sys::ClearKeyStateForTesting();
    }
    AppTest::TearDown();
  }
  // A recording of the animal kind: `animals` x {EEG, EMG, locomotion}, or `channels` of the
  // plain animal montage.
  std::string Write(const std::string& name, double hours, int animals, int channels = 0) {
    samples::Options o;
    o.kind = samples::Kind::Animal;
    o.hours = hours;
    o.rateHz = 128;
    o.animals = animals;
    o.channels = channels;
    const std::string path = data_ + "/" + name + ".fyd";
    std::string error;
    EXPECT_TRUE(samples::WriteSampleRecording(o, path, &error)) << error;
    return path;
  }
  static LyrMultiScreeningSetting Settings(std::vector<std::string> files) {
    LyrMultiScreeningSetting s{LyrMultiScreeningSetting::NoFile{}};
    s.FileList = std::move(files);
    return s;
  }
  std::string data_;
  std::string desktop_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  const auto s = sys::ReadWholeFile(path);
  return s ? std::vector<std::uint8_t>(s->begin(), s->end()) : std::vector<std::uint8_t>{};
}

}  // namespace

TEST(MultiScreeningTexts, EveryMessageAndStepInBothLanguages) {
  for (std::uint32_t id = 62350; id <= 62381; ++id) {
    if (id == 62356) continue;  // "Complete multi-screening!" is the remote request's 62304
    const std::string en = res::LoadString(id, res::Language::English);
    const std::string ja = res::LoadString(id, res::Language::Japanese);
    EXPECT_FALSE(en.empty()) << id;
    EXPECT_FALSE(ja.empty()) << id;
    EXPECT_NE(en, ja) << id;
    // The numbers of a step text are filled in the same order in both languages.
    auto marks = [](const std::string& t) {
      std::string m;
      for (std::size_t i = 0; i + 1 < t.size(); ++i)
        if (t[i] == '%') m += t.substr(i, t[i + 1] == '0' ? 4 : 2);
      return m;
    };
    EXPECT_EQ(marks(en), marks(ja)) << id;
  }
  EXPECT_EQ(res::LoadString(62360, res::Language::English), "allocate trend data memory...");
  EXPECT_EQ(res::LoadString(62369, res::Language::English), "%d/%d animals: write analesis file...");
}

TEST(MultiScreeningRange, StartEndAndChannelsPerAnimal) {
  LyrMultiScreeningSetting s{LyrMultiScreeningSetting::NoFile{}};
  const std::array<std::uint16_t, 7> start{2024, 4, 12, 7, 0, 0, 0};
  int s0 = -1, s1 = -1;
  ASSERT_TRUE(LyrMultiScreening::AnalysisRange(s, true, start, 86400 * 2, &s0, &s1));
  EXPECT_EQ(s0, 0);
  EXPECT_EQ(s1, 86400 * 2);
  // 1 day 6 hours -> 30 h, or the rest of a shorter recording.
  s.RangeEndMode = 2;
  s.RangeEndDays = 1;
  s.RangeEndHours = 6;
  ASSERT_TRUE(LyrMultiScreening::AnalysisRange(s, true, start, 86400 * 2, &s0, &s1));
  EXPECT_EQ(s1, 30 * 3600);
  ASSERT_TRUE(LyrMultiScreening::AnalysisRange(s, true, start, 20 * 3600, &s0, &s1));
  EXPECT_EQ(s1, 20 * 3600);
  // A scheduled start: 12:00 on a recording from 07:00 is 5 h in; 06:00 is the next day's.
  s.RangeStartMode = 1;
  s.RangeStartTime[4] = 12;
  ASSERT_TRUE(LyrMultiScreening::AnalysisRange(s, true, start, 86400 * 2, &s0, &s1));
  EXPECT_EQ(s0, 5 * 3600);
  EXPECT_EQ(s1, 35 * 3600);
  s.RangeStartTime[4] = 6;
  ASSERT_TRUE(LyrMultiScreening::AnalysisRange(s, true, start, 86400 * 2, &s0, &s1));
  EXPECT_EQ(s0, 23 * 3600);
  EXPECT_FALSE(LyrMultiScreening::AnalysisRange(s, true, start, 3600, &s0, &s1));  // after the end
  EXPECT_TRUE(LyrMultiScreening::AnalysisRange(s, false, start, 3600, &s0, &s1));  // no start time: 0
  EXPECT_EQ(s0, 0);

  s = LyrMultiScreeningSetting{LyrMultiScreeningSetting::NoFile{}};
  EXPECT_EQ(LyrMultiScreening::ChannelsPerAnimalFor(s, 7), 3);
  // Three per animal on two channels with three entries: one animal, when the terms fit.
  EXPECT_EQ(LyrMultiScreening::ChannelsPerAnimalFor(s, 2), 0);  // the default logic names Locomotion
  s.Conditions.erase(s.Conditions.begin());
  EXPECT_EQ(LyrMultiScreening::ChannelsPerAnimalFor(s, 2), 2);
  s.ChannelsPerAnimal = 5;
  EXPECT_EQ(LyrMultiScreening::ChannelsPerAnimalFor(s, 4), 3);  // beyond the entries: the entries
}

TEST_F(MultiScreeningTest, AnimalsOfARecordingEachGetAResultFileThatOpensOnIt) {
  const std::string day = Write("day", 0.6, 2);
  // A seven-channel recording: two animals of three, channel 6 belongs to none.
  const std::string seven = Write("seven", 0.2, 0, 7);
  LyrMultiScreeningSetting s = Settings({seven, day});
  // Wake by the locomotion bursts, sleep for the rest.
  s.Conditions.erase(s.Conditions.begin() + 1, s.Conditions.end() - 1);
  s.Conditions.back().Stage = 3;
  s.LastStageScreening = 1;
  s.LastStageFrom = 7;  // a rule that never fires: the mode is stored all the same
  LyrMultiScreening engine(s);
  ASSERT_EQ(engine.Run(), 1);
  engine.EndProgress();
  const std::vector<std::string> expected = {data_ + "/seven_01.raf", data_ + "/seven_02.raf", data_ + "/day_01.raf",
                                             data_ + "/day_02.raf"};
  EXPECT_EQ(engine.ResultFiles(), expected);
  EXPECT_FALSE(fs::exists(data_ + "/seven_03.raf"));
  for (const auto& e : fs::directory_iterator(data_)) EXPECT_NE(e.path().extension(), ".part") << e.path();

  ASSERT_EQ(Doc().RecordInfo.path, day);  // the last recording stays open
  for (int a = 1; a <= 2; ++a) {
    SCOPED_TRACE(a);
    const std::string path = data_ + "/day_0" + std::to_string(a) + ".raf";
    const std::vector<std::uint8_t> file = ReadBytes(path);
    ASSERT_GT(file.size(), raf::kHeaderSize + raf::kInfoBlockSize + 200);
    const bytes::CSpan info(file.data() + raf::kHeaderSize, raf::kInfoBlockSize);
    EXPECT_EQ(bytes::Get<std::uint32_t>(info, raf::kInfoChannelCount), 6u);
    EXPECT_EQ(bytes::Get<std::uint32_t>(info, raf::kInfoRangeStart), 0u);
    EXPECT_EQ(bytes::Get<std::int32_t>(info, raf::kInfoLastScreenedEpoch), 215);
    EXPECT_EQ(bytes::Get<std::uint16_t>(info, raf::kInfoLogicOption), 2);  // last-stage mode
    // The first condition's levels: stage 1 on the animal's locomotion channel.
    const std::size_t set = raf::kInfoLogic + static_cast<std::size_t>(Doc().Params.stageType.stageType) * 20 * 44;
    LogicCondition first;
    first.Load(std::span<const std::uint8_t, 44>(info.data() + set, 44));
    EXPECT_EQ(first.stage, 1);
    EXPECT_EQ(first.term1.channel, (a - 1) * 3 + 2);
    EXPECT_FLOAT_EQ(first.term1.lower, 1.0f);
    // Scale block: the animal's channels flagged.
    const std::size_t scale = raf::kHeaderSize + raf::kInfoBlockSize;
    for (int c = 0; c < 6; ++c)
      EXPECT_EQ(bytes::Get<std::uint16_t>(file, scale + 128 + 2 * c), c / 3 == a - 1 ? 1 : 0) << c;
    // Gains in the channel block: the EEG's from its largest maximum in sleep, the EMG's from
    // its mean maximum in wake (both depend on the recording, but are found).
    EXPECT_NE(bytes::Get<float>(file, scale + 4 * (3 * (a - 1))), 1.0f);
    EXPECT_GT(bytes::Get<float>(file, scale + 4 * (3 * (a - 1))), 0.0f);
    EXPECT_NE(bytes::Get<float>(file, scale + 4 * (3 * (a - 1) + 1)), 1.0f);
    // EMG integral and stage of every epoch.
    const std::size_t records = scale + raf::kScaleBlockSize + 4;
    int staged = 0, wake = 0;
    std::vector<int> truth;
    std::ifstream stages(data_ + "/day_0" + std::to_string(a) + ".stages");
    for (int v; stages >> v;) truth.push_back(v);
    ASSERT_EQ(truth.size(), 216u);
    int agree = 0;
    for (int e = 0; e < 216; ++e) {
      const std::size_t at = records + static_cast<std::size_t>(e) * 188;
      EXPECT_GT(bytes::Get<float>(file, at + 184), 0.0f);
      const int st = file[at];
      staged += st != 0;
      wake += st == 1;
      agree += (st == 1) == (truth[static_cast<std::size_t>(e)] == 1);
    }
    EXPECT_EQ(staged, 216);
    EXPECT_GT(wake, 0);
    // Wake is told from sleep by the locomotion bursts.
    EXPECT_GT(agree, 216 * 9 / 10);

    RecordingUi boxes;
    ResultFileDocument doc = DocumentOf(Doc());
    ASSERT_EQ(OpenResultProcess(doc, path, boxes), 1);
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    EXPECT_EQ(Doc().EpochTables.EpochCount(), 216);
  }
}

TEST_F(MultiScreeningTest, SkippedRecordingsAndOneAnimalOfTwoChannels) {
  const std::string two = Write("two", 0.1, 0, 2);
  LyrMultiScreeningSetting s = Settings({data_ + "/missing.fyd", two});
  // Two channels with three entries, terms naming EEG and EMG only: one animal of two.
  s.Conditions.erase(s.Conditions.begin());
  LyrMultiScreening engine(s);
  EXPECT_EQ(engine.Run(), 0);  // the missing recording
  engine.EndProgress();
  EXPECT_EQ(engine.ResultFiles(), std::vector<std::string>{data_ + "/two_01.raf"});
  const std::vector<std::uint8_t> file = ReadBytes(data_ + "/two_01.raf");
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(bytes::Get<std::uint32_t>(file, raf::kHeaderSize + raf::kInfoChannelCount), 2u);

  // A scheduled start after the end (the recording runs 07:00 - 07:06) skips it.
  LyrMultiScreeningSetting late = Settings({two});
  late.Conditions.erase(late.Conditions.begin());
  late.RangeStartMode = 1;
  late.RangeStartTime[4] = 12;
  fs::remove(data_ + "/two_01.raf");
  LyrMultiScreening lateEngine(late);
  EXPECT_EQ(lateEngine.Run(), 0);
  EXPECT_FALSE(fs::exists(data_ + "/two_01.raf"));

  // A scheduled start that leaves less than an epoch: no file of 0 epochs, a note instead.
  late.RangeStartTime[4] = 7;
  late.RangeStartTime[5] = 5;
  late.RangeStartTime[6] = 55;
  LyrMultiScreening shortEngine(late);
  EXPECT_EQ(shortEngine.Run(), 0);
  EXPECT_FALSE(fs::exists(data_ + "/two_01.raf"));
  ASSERT_EQ(shortEngine.Notes().size(), 1u);
  EXPECT_NE(shortEngine.Notes()[0].find("two.fyd"), std::string::npos);

  // FFT points that are no power of two: the run stops at the spectra and says so.
  LyrMultiScreeningSetting odd = Settings({two, two});
  odd.Conditions.erase(odd.Conditions.begin());
  odd.FftPoints = 100;
  LyrMultiScreening oddEngine(odd);
  EXPECT_EQ(oddEngine.Run(), 0);
  EXPECT_TRUE(oddEngine.ResultFiles().empty());
  ASSERT_EQ(oddEngine.Notes().size(), 1u);
  EXPECT_NE(oddEngine.Notes()[0].find("two.fyd"), std::string::npos);
}

TEST_F(MultiScreeningTest, ScheduledStartIsStoredWithTheRange) {
  const std::string day = Write("day", 0.5, 1);
  LyrMultiScreeningSetting s = Settings({day});
  s.RangeStartMode = 1;
  s.RangeStartTime[4] = 7;
  s.RangeStartTime[5] = 10;  // 600 s after the 07:00 start
  LyrMultiScreening engine(s);
  ASSERT_EQ(engine.Run(), 1);
  engine.EndProgress();
  const std::vector<std::uint8_t> file = ReadBytes(data_ + "/day_01.raf");
  const bytes::CSpan info(file.data() + raf::kHeaderSize, raf::kInfoBlockSize);
  EXPECT_EQ(bytes::Get<std::uint32_t>(info, raf::kInfoRangeStart), 600u);
  std::array<std::uint16_t, 6> when{};
  bytes::GetArray(info, raf::kInfoStartDateTime, when);
  EXPECT_EQ(when, (std::array<std::uint16_t, 6>{2024, 4, 12, 7, 10, 0}));  // start + s0
  EXPECT_EQ(bytes::Get<std::int32_t>(info, raf::kInfoLastScreenedEpoch), 180 - 60 - 1);
  // The date parts of the scheduled start and the light phase follow the recording.
  EXPECT_EQ(s.RangeStartTime[0], 2024);
  EXPECT_EQ(s.LightPhaseStart[3], 12);
}

TEST_F(MultiScreeningTest, UnwritableFolderSendsTheFilesToTheDesktop) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  const std::string day = Write("day", 0.1, 1);
  fs::permissions(data_, fs::perms::owner_write, fs::perm_options::remove);
  LyrMultiScreeningSetting s = Settings({day});
  LyrMultiScreening engine(s);
  EXPECT_EQ(engine.Run(), 1);
  engine.EndProgress();
  EXPECT_TRUE(fs::exists(desktop_ + "/day_01.raf"));
  // A chosen folder that is not there goes to the desktop too.
  s.UseResultFolder = 1;
  s.ResultFolder = folder_->Path() + "/nowhere";
  fs::remove(desktop_ + "/day_01.raf");
  LyrMultiScreening again(s);
  EXPECT_EQ(again.Run(), 1);
  EXPECT_TRUE(fs::exists(desktop_ + "/day_01.raf"));
}

TEST_F(MultiScreeningTest, ProgressRangeAndCancelKeepFinishedAnimals) {
  const std::string day = Write("day", 0.6, 2);
  // An earlier result of animal 2 stays whole when the run is cancelled before replacing it.
  std::ofstream(data_ + "/day_02.raf") << "earlier";
  LyrMultiScreeningSetting s = Settings({day});
  int cancelAt = -1;
  std::string lastText;
  LyrMultiScreening::SetStepHookForTesting([&](LyrMultiScreening& e, int step) {
    if (e.Progress() == nullptr) return;
    lastText = e.Progress()->GetDlgItemText(IDC_PROGRESS_TEXT1);
    if (cancelAt < 0 && lastText == "2/2 animals: get trend data...") cancelAt = step;
    if (step == cancelAt) e.Progress()->OnCancel();
  });
  LyrMultiScreening engine(s);
  EXPECT_EQ(engine.Run(), 0);
  // A + ((C + 1) H + (C + 3) B + (K + 2) A) x 2 + 5 with A 2, C 6, H 2, B 2, K 4.
  EXPECT_EQ(engine.ProgressHigh(), 2u + ((7 * 2 + 9 * 2 + 6 * 2) * 2) + 5);
  EXPECT_EQ(engine.Progress()->GetDlgItemText(IDC_PROGRESS_TEXT2), "01/01Files :day");
  engine.EndProgress();
  EXPECT_TRUE(fs::exists(data_ + "/day_01.raf"));
  EXPECT_EQ(sys::ReadWholeFile(data_ + "/day_02.raf").value_or(""), "earlier");
  for (const auto& e : fs::directory_iterator(data_)) EXPECT_NE(e.path().extension(), ".part") << e.path();
}

// ---- the window's run ------------------------------------------------------------------

TEST_F(MultiScreeningTest, ChecksRefuseTheRunAndSayWhy) {
  Frame().OpenMultiScreeningDlg();
  LyrDlgMultiScreening* dlg = Frame().MultiScreeningDlg;
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->Settings.FileList.empty());  // nothing open: no file
  EXPECT_EQ(dlg->RunScreening(0), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Select raw data."});

  dlg->Settings.FileList = {Write("day", 0.1, 1)};
  struct Case {
    const char* what;
    std::function<void(LyrMultiScreeningSetting&)> change;
    const char* text;  // nullptr: passes the channel checks
  } cases[] = {
      {"two EMG", [](LyrMultiScreeningSetting& s) { s.ChannelAttributes[0].Attribute = kMsEmg; },
       "Please set only one EMG attribute for 1 animal."},
      {"missing channel in the first condition",
       [](LyrMultiScreeningSetting& s) { s.Conditions[0].First.ChannelNumber = 1; },
       "The channel that doesn't exist in the attribute list is used for logic. Please confirm the channel used by "
       "logic."},
      {"missing channel in the last condition",
       [](LyrMultiScreeningSetting& s) { s.Conditions.back().First.ChannelNumber = 5; }, nullptr},
      {"second term without And", [](LyrMultiScreeningSetting& s) { s.Conditions[1].Second.ChannelNumber = 5; },
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testhooks::Reset();
    LyrMultiScreeningSetting s{LyrMultiScreeningSetting::NoFile{}};
    c.change(s);
    if (c.text != nullptr) {
      dlg->Settings.ChannelAttributes = s.ChannelAttributes;
      dlg->Settings.Conditions = s.Conditions;
      EXPECT_EQ(dlg->RunScreening(0), 0);
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.text});
      EXPECT_EQ(Frame().MultiScreeningDlg, dlg);  // the window stays
    } else {
      dlg->Settings.ChannelAttributes = s.ChannelAttributes;
      dlg->Settings.Conditions = s.Conditions;
      EXPECT_EQ(dlg->CheckLogicChannels(0), 1);
      EXPECT_TRUE(BoxTexts().empty());
    }
    // The Logic window opened on a refused channel goes again.
    if (LyrDlgScreeningLogic* logic = dlg->LogicDlg()) {
      logic->OnCancel();
      testhooks::ProcessMessages();
    }
  }
  // A silent run refuses without a word.
  testhooks::Reset();
  dlg->Settings.ChannelAttributes[0].Attribute = kMsEmg;
  EXPECT_EQ(dlg->RunScreening(1), 0);
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(MultiScreeningTest, UsersRunTurnsTheDsiPluginSilentWhileItRunsAndClosesTheWindow) {
  const std::string day = Write("day", 0.1, 2);
  ASSERT_NE(app_->OpenDocumentFile(day), nullptr);
  const std::string ini = sys::PathBesideProgram("RXQD_IMP_DSI.ini");
  std::vector<std::string> during;
  LyrMultiScreening::SetStepHookForTesting([&](LyrMultiScreening&, int step) {
    if (step == 1) during.push_back(sys::GetPrivateProfileString("SilentOpen", "UseAuto", "", ini));
  });
  Frame().OpenMultiScreeningDlg();
  LyrDlgMultiScreening* dlg = Frame().MultiScreeningDlg;
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(dlg->Settings.FileList, std::vector<std::string>{day});
  testhooks::Reset();
  EXPECT_TRUE(dlg->ClickButton(ui::IDOK));  // "Start Screening(&O)"
  testhooks::ProcessMessages();
  EXPECT_EQ(during, std::vector<std::string>{"1"});
  EXPECT_EQ(sys::GetPrivateProfileString("SilentOpen", "UseAuto", "", ini), "0");
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Complete multi-screening!");
  EXPECT_NE(testhooks::ShownMessageBoxes()[0].type & ui::MB_ICONINFORMATION, 0u);
  EXPECT_EQ(Frame().MultiScreeningDlg, nullptr);
  EXPECT_TRUE(fs::exists(data_ + "/day_02.raf"));
  // Unsaved scoring: the save question comes first; Cancel keeps the window and runs nothing.
  Frame().OpenMultiScreeningDlg();
  dlg = Frame().MultiScreeningDlg;
  ASSERT_NE(dlg, nullptr);
  fs::remove(data_ + "/day_01.raf");
  ResultModifiedState = 2;
  testhooks::Reset();
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  EXPECT_EQ(dlg->RunScreening(0), 0);
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_FALSE(fs::exists(data_ + "/day_01.raf"));
  EXPECT_EQ(Frame().MultiScreeningDlg, dlg);
  testhooks::AnswerMessageBox(ui::IDNO);  // give the scoring up: the run goes on
  EXPECT_EQ(dlg->RunScreening(0), 1);
  EXPECT_TRUE(fs::exists(data_ + "/day_01.raf"));
  testhooks::ProcessMessages();
  // The settings were stored for the next opening.
  EXPECT_TRUE(fs::exists(LyrMultiScreeningSetting::GetResumePath()));

  // A failure in part of the data: the warning sentence and icon.
  during.clear();
  Frame().OpenMultiScreeningDlg();
  dlg = Frame().MultiScreeningDlg;
  ASSERT_NE(dlg, nullptr);
  dlg->Settings.FileList.push_back(data_ + "/missing.fyd");
  testhooks::Reset();
  EXPECT_EQ(dlg->RunScreening(0), 0);
  const auto& boxes = testhooks::ShownMessageBoxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back().text,
            "Complete multi-screening!\nIt fails in the analysis of a part of data. Please confirm it.");
  EXPECT_NE(boxes.back().type & ui::MB_ICONEXCLAMATION, 0u);
  EXPECT_EQ(Frame().MultiScreeningDlg, nullptr);
}

TEST_F(MultiScreeningTest, InitializingTheEnvironmentRemovesTheMultiScreeningSettings) {
  LyrMultiScreeningSetting made;  // writes QX_MultiSCR.RSM beside the program
  ASSERT_TRUE(fs::exists(LyrMultiScreeningSetting::GetResumePath()));
  std::ofstream(ResumeFile::Path()) << "x";
  testhooks::AnswerMessageBox(ui::IDYES);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33167));
  EXPECT_FALSE(fs::exists(LyrMultiScreeningSetting::GetResumePath()));
}

TEST_F(MultiScreeningTest, RemoteRequestLeavesOneCopiedResultPerAnimal) {
  const std::string day = Write("day", 0.1, 2);
  const std::string ini = sys::PathBesideProgram("RXQD_IMP_DSI.ini");
  std::vector<std::string> during;
  LyrMultiScreening::SetStepHookForTesting([&](LyrMultiScreening&, int step) {
    if (step == 1) during.push_back(sys::GetPrivateProfileString("SilentOpen", "UseAuto", "", ini));
  });
  std::uint32_t mode = 9;
  std::string folderText = "?";
  EXPECT_EQ(Frame().RunRemoteScreening(day, &mode, &folderText), 1);
  EXPECT_EQ(mode, 0u);
  EXPECT_TRUE(BoxTexts().empty());
  // The silent run leaves the plug-in asking (the window's opening set "0").
  EXPECT_EQ(during, std::vector<std::string>{"0"});
  EXPECT_EQ(sys::GetPrivateProfileString("SilentOpen", "UseAuto", "", ini), "0");
  EXPECT_EQ(Frame().MultiScreeningDlg, nullptr);
  const std::string out = folder_->Path() + "/out/";
  fs::create_directories(out);
  EXPECT_NE(CopyRemoteScreeningResults(day, out, "p7", mode, folderText), 0);
  EXPECT_TRUE(fs::exists(out + "p7_01.raf"));
  EXPECT_TRUE(fs::exists(out + "p7_02.raf"));
  EXPECT_FALSE(fs::exists(out + "p7_03.raf"));

  // While a multi-screening window exists a request is refused before anything opens.
  Frame().OpenMultiScreeningDlg();
  ASSERT_NE(Frame().MultiScreeningDlg, nullptr);
  EXPECT_EQ(Frame().RunRemoteScreening(day, &mode, &folderText), 0);
  EXPECT_NE(Frame().MultiScreeningDlg, nullptr);
}
