// raw_screenshots: starts the program on a generated recording and renders its main window
// into PNG files: the first page, the first page in REM sleep, a page scored from the
// recording's companion files (stages, apneas with their arousals, leg movements, a mark and
// position events), and the whole frame with its tool bars, trend and workspace windows after
// paging by keys, so the drawing can be looked at without a screen.
//
//   raw_screenshots RECORDING OUT_DIR
//
// RECORDING is a file written by make_sample_recording, with RECORDING's ".stages" and
// ".events" beside it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"
#include "tools/raw_screenshots/shots.h"

std::vector<RegisteredShot>& RegisteredShots() {
  static std::vector<RegisteredShot> shots;
  return shots;
}

ShotRegistrar::ShotRegistrar(const char* name, ShotFunction function) {
  RegisteredShots().push_back(RegisteredShot{name, function});
}

namespace {

struct TextEvent {
  double onset = 0.0;
  double duration = 0.0;
  std::string type;
};

std::string Companion(const std::string& path, const std::string& extension) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  const std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? path.substr(0, dot) : path;
  return stem + "." + extension;
}

std::vector<int> ReadStages(const std::string& path) {
  std::vector<int> stages;
  std::ifstream in(path);
  for (int code = 0; in >> code;) stages.push_back(code);
  return stages;
}

std::vector<TextEvent> ReadEvents(const std::string& path) {
  std::vector<TextEvent> events;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    TextEvent e;
    if (fields >> e.onset >> e.duration >> e.type) events.push_back(e);
  }
  return events;
}

int ChannelNamed(const CQLM2_AnalyzerDoc& doc, const std::string& name) {
  for (int c = 0; c < doc.RecordInfo.channelCount && c < static_cast<int>(doc.ChInfo.size()); ++c)
    if (doc.ChInfo[static_cast<std::size_t>(c)].name == name) return c;
  return -1;
}

// Scores the recording as its companion files tell: stages (30-s epochs), apneas on the
// respiration channels each ended by an arousal, leg movements, position changes as
// recording events, and one mark over the first apnea.
void ScoreFromCompanions(CQLM2_AnalyzerDoc& doc, const std::vector<int>& stages, const std::vector<TextEvent>& events) {
  const int epochs = EpochSeconds > 0 ? doc.RecordSeconds / EpochSeconds : 0;
  for (int e = 0; e < epochs; ++e) {
    const std::size_t sampleEpoch = static_cast<std::size_t>(e) * EpochSeconds / 30;
    if (sampleEpoch < stages.size()) doc.EpochTables.SetStage(e, static_cast<std::uint8_t>(stages[sampleEpoch]));
  }

  SleepDstrbParam& sd = doc.Params.sleepDstrb;
  sd.airFlow.channel = ChannelNamed(doc, "Airflow");
  sd.chest.channel = ChannelNamed(doc, "Thorax");
  sd.abdomen.channel = ChannelNamed(doc, "Abdomen");
  sd.legLeft.channel = ChannelNamed(doc, "Leg EMG");
  sd.ecgChannel = ChannelNamed(doc, "ECG");
  sd.spo2Channel = ChannelNamed(doc, "SpO2");
  sd.arousal.channel = ChannelNamed(doc, "C3-A2");
  doc.ResetNewRepresentSleepDstrb();
  doc.SetNewRcgnzSleepDstrb(epochs);
  SleepDstrbTables& t = doc.RecognitionTables;
  const int respPoints = static_cast<int>(t.RespRcgnz().size());
  const int lmPoints = static_cast<int>(t.LMLeft().size());
  const int arousalPoints = static_cast<int>(t.ArousalRecognize().size());

  const int rate0 = doc.ChInfo[0].rate;
  doc.EventNames = {"Position"};
  doc.EventRate = rate0;
  doc.Events.clear();
  MarkTypeParam& marks = doc.Params.markType;
  marks.items[0].triggerDetect = 1;
  marks.items[0].show = 1;
  marks.items[0].name = "Review";
  marks.triggerCount = 1;
  ShowMarkName = 1;
  bool marked = false;
  for (const TextEvent& e : events) {
    const double end = e.onset + e.duration;
    if (e.type == "apnea") {
      t.SetRespEventRange(1, static_cast<int>(e.onset / 0.25), static_cast<int>(end / 0.25), respPoints);
      t.SetArousalEventRange(8, static_cast<int>(end * 10), static_cast<int>((end + 5.0) * 10), arousalPoints);
      if (!marked) {
        if (std::uint8_t* flags = doc.Marks.Flags(0)) {
          const int from = std::max(0, static_cast<int>((e.onset - 5.0) * 10));
          const int to = std::min(doc.Marks.FlagLength(), static_cast<int>((end + 5.0) * 10));
          for (int p = from; p < to; ++p) flags[p] = 1;
          doc.Marks.SetMarksPresent(1);
        }
        marked = true;
      }
    } else if (e.type == "leg_movement") {
      t.SetLMEventRange(0, static_cast<int>(e.onset * 10), static_cast<int>(end * 10), lmPoints);
    } else if (e.type == "position_change" && rate0 > 0) {
      doc.Events.push_back({0, static_cast<std::int32_t>(e.onset * rate0 + doc.ChInfo[0].startOffset)});
    }
  }
}

bool Shoot(CMainFrame& frame, int epoch, const std::string& path) {
  CQLM2_AnalyzerDoc* doc = frame.GetDocument();
  const int perPage = EpochSeconds > 0 ? std::max(PageSeconds / EpochSeconds, 1) : 1;
  frame.SetPageByEpoch(epoch / perPage, epoch);
  frame.RefreshAllViews(-1);
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(frame, path);
  std::printf("%s: page %d, epoch %d, %s\n", path.c_str(), doc != nullptr ? doc->CurrentPage : -1, epoch,
              ok ? "written" : "FAILED");
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: raw_screenshots RECORDING OUT_DIR\n");
    return 2;
  }
  const std::string recording = argv[1];
  const std::string out = argv[2];
  ui::EnsureToolkit();
  CQLM2_AnalyzerApp app;
  app.SetArguments({"QLM2_Analyzer", recording});
  if (!app.InitInstance() || app.MainFrame() == nullptr || app.Document() == nullptr) {
    std::fprintf(stderr, "the program did not start\n");
    return 1;
  }
  CMainFrame& frame = *app.MainFrame();
  CQLM2_AnalyzerDoc& doc = *app.Document();
  frame.MoveWindow(ui::Rect{0, 0, 1600, 1000});
  frame.ShowWindow(ui::SW_SHOW);
  testhooks::ProcessMessages();
  if (doc.RecordSeconds <= 0) {
    std::fprintf(stderr, "no recording open: %s\n", recording.c_str());
    app.ExitInstance();
    return 1;
  }
  // A human night is scored in 30-s epochs, one a page, as a user sets it in the Epoch dialog;
  // the raw window takes the whole height (the trend and workspace windows hidden).
  if (EpochSeconds != 30 || PageSeconds != 30) {
    EpochSeconds = 30;
    PageSeconds = 30;
    doc.RecordSeconds = std::max(doc.GetRecordSec(), 0) / 30 * 30;
    doc.Init4ChangeEpochTime(doc.RecordSeconds / 30, 30, doc.RecordInfo.channelCount, 1);
    doc.AllocateMark();
    doc.CurrentEpoch = 0;
    doc.CurrentPage = 0;
    doc.SetPageData();
    frame.RefreshBarCombos(true, true, true);
  }
  // Scale bars of one centimetre, as set in the Scale dialog.
  for (int c = 0; c < doc.RecordInfo.channelCount && c < static_cast<int>(doc.ChInfo.size()); ++c) {
    doc.ChInfo[static_cast<std::size_t>(c)].scaleValue = doc.ChInfo[static_cast<std::size_t>(c)].unitsPerCm;
  }
  frame.ToggleBottomWindow(true);
  frame.ToggleBottomWindow(false);
  testhooks::ProcessMessages();
  std::printf("epoch %d s, page %d s, %d s recorded\n", EpochSeconds, PageSeconds, doc.RecordSeconds);

  const std::vector<int> stages = ReadStages(Companion(recording, "stages"));
  const std::vector<TextEvent> events = ReadEvents(Companion(recording, "events"));
  bool ok = Shoot(frame, 0, out + "/first_page.png");

  ScoreFromCompanions(doc, stages, events);
  ShowEvent = 1;
  ShowStageName = 1;
  ShowEpochMode = 1;
  const auto epochOfSeconds = [](double seconds) { return EpochSeconds > 0 ? static_cast<int>(seconds) / EpochSeconds : 0; };
  const auto rem = std::find(stages.begin(), stages.end(), 2);
  if (rem != stages.end()) ok = Shoot(frame, epochOfSeconds(30.0 * static_cast<double>(rem - stages.begin())), out + "/rem_page.png") && ok;
  const auto apnea = std::find_if(events.begin(), events.end(), [](const TextEvent& e) { return e.type == "apnea"; });
  if (apnea != events.end()) ok = Shoot(frame, epochOfSeconds(apnea->onset), out + "/scored_page.png") && ok;

  // The frame as a scorer pages through the night: the bottom windows back, the three bars
  // shown, then Page Down, Down and two steps right as keys.
  frame.ToggleBottomWindow(true);
  frame.ToggleBottomWindow(false);
  frame.SetPageByEpoch(0, 0);
  frame.KeyRepeatPauseMs = 0;
  for (const std::uint32_t key : {ui::VK_NEXT, ui::VK_DOWN, ui::VK_RIGHT, ui::VK_RIGHT}) {
    frame.HandleNavigationKey(ui::WM_KEYDOWN, key, 0, 0);
    testhooks::ProcessMessages();
  }
  frame.UpdateFrameBarTime();
  testhooks::ProcessMessages();
  const bool paged = testhooks::RenderWindowToPng(frame, out + "/frame_after_paging.png");
  std::printf("%s/frame_after_paging.png: page %d, epoch %d, %s\n", out.c_str(), doc.CurrentPage, doc.CurrentEpoch,
              paged ? "written" : "FAILED");
  ok = paged && ok;

  // The pictures of the other windows and dialogs, in name order.
  std::vector<RegisteredShot> shots = RegisteredShots();
  std::sort(shots.begin(), shots.end(), [](const RegisteredShot& a, const RegisteredShot& b) { return a.name < b.name; });
  ShotContext context{app, frame, doc, recording, out};
  // QLM_SHOTS=name,name picks some of them (all when unset).
  const char* only = std::getenv("QLM_SHOTS");
  for (const RegisteredShot& shot : shots) {
    if (only != nullptr && ("," + std::string(only) + ",").find("," + shot.name + ",") == std::string::npos) continue;
    const bool shotOk = shot.function(context);
    std::printf("shots %s: %s\n", shot.name.c_str(), shotOk ? "written" : "FAILED");
    ok = shotOk && ok;
    testhooks::ProcessMessages();
  }
  app.ExitInstance();
  return ok ? 0 : 1;
}
