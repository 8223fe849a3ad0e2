#include "app/workspace/lyr_workspace_vsp_view.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/stage_names.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/workspace_settings.h"
#include "app/workspace/workspace_stage_strings.h"
#include "app/workspace/workspace_text_out.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

void ReportUnscoredEpochs(CMainFrame* frame) {
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  ui::MessageBoxId(IDS_SG_UNSCORED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  if (frame == nullptr) return;
  frame->WorkspaceTabs.SelectPane(9);
  frame->WorkspaceTabs.ShowSelectedPane(9);
  if (frame->WorkspaceTabs.SearchStrip && frame->WorkspaceTabs.SearchStrip->StagePane)
    frame->WorkspaceTabs.SearchStrip->StagePane->SearchStage(0);
}

int LyrWorkspaceVSPView::OnCreate() {
  AddControl(ui::ControlKind::ReportList, kListId, {}, {});
  AddControl(ui::ControlKind::ReportList, kSummaryId, {}, {});
  for (ui::Control list : {List(), SummaryList()}) list.SetFullRowSelect(true);
  int col = 0;
  for (auto [id, width] : {std::pair{IDS_VSP_NO, 50}, {IDS_VSP_EPOCH, 50}, {IDS_VSP_TIME, 120}, {IDS_VSP_EPISODE, 50},
                           {IDS_VSP_COUNT, 50}, {IDS_VSP_DURATION, 50}})
    List().InsertColumn(col++, res::LoadString(id), width);
  col = 0;
  for (auto [id, width] : {std::pair{IDS_VSP_DIVISION_START, 120}, {IDS_VSP_STAGE, 50}, {IDS_VSP_COUNT, 50},
                           {IDS_VSP_MEAN, 120}, {IDS_VSP_SD, 120}})
    SummaryList().InsertColumn(col++, res::LoadString(id), width);
  return 0;
}

void LyrWorkspaceVSPView::OnSize(std::uint32_t, int cx, int cy) {
  const int split = cy * 6 / 10;
  List().Move(draw::RectFromSize(0, 0, cx, split));
  SummaryList().Move(draw::RectFromSize(0, split + 10, cx, std::max(cy - (split + 10), 0)));
  List().Show(true);
  SummaryList().Show(true);
}

void LyrWorkspaceVSPView::OnControlNotify(int controlId, int code) {
  if (controlId != kListId || code != ui::NM_CLICK || ScreeningRunning != 0) return;
  CMainFrame* frame = MainFrame();
  if (frame == nullptr) return;
  for (int row : List().GetSelectedIndexes()) {
    const int epoch = std::atoi(List().GetItemText(row, 1).c_str());
    frame->VideoFollowsWave = 1;
    frame->JumpToEpoch(epoch, 1);
    if (LyrRawDummyView* raw = frame->RawView())
      if (LyrRawFrame* middle = raw->Row(2); middle != nullptr && middle->AreaView() != nullptr)
        middle->AreaView()->RedrawStageLabels();
  }
}

VspEpochs LyrWorkspaceVSPView::Epochs() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  VspEpochs e;
  e.artifactSeparate = ArtifactSeparate != 0;
  if (doc == nullptr || EpochSeconds <= 0) {
    e.raw = [](int) { return 0; };
    return e;
  }
  e.count = doc->GetDivNum(EpochSeconds);
  const LyrReStageWithEpisode* source = ReStagingSource;
  if (UseEpisodeSetting != 0 && source != nullptr) {
    e.raw = [source](int epoch) { return static_cast<int>(source->GetStage(epoch)); };
  } else {
    const int type = doc->Params.stageType.stageType;
    e.raw = [doc, type](int epoch) { return static_cast<int>(doc->EpochTables.GetStage(type, epoch, 0)); };
  }
  return e;
}

std::string LyrWorkspaceVSPView::Label(int epoch) const {
  std::string label;
  if (CQLM2_AnalyzerDoc* doc = Doc()) doc->GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), label);
  return label;
}

std::string LyrWorkspaceVSPView::StageName(int code) const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? GetStageName(doc->Params.stageType, code) : std::string();
}

void LyrWorkspaceVSPView::AddDivisionRows(int division, const VspDivision& d) {
  const int seconds = EpochSeconds;
  std::vector<std::string> cells;
  int index = 0;
  for (const VspEpisodeRec& rec : d.episodes) {
    char no[32];
    std::snprintf(no, sizeof no, "%3ld", static_cast<long>(++index));
    std::string name = StageName(rec.code >= 100 ? rec.code - 100 : rec.code);
    if (rec.code >= 100) name += "-";
    cells.insert(cells.end(), {no, std::to_string(rec.first), Label(rec.first), name, std::to_string(rec.count),
                               std::to_string(static_cast<long>(rec.count) * seconds)});
  }
  cells.insert(cells.end(), {"*******", "", "", "", "", ""});
  List().AppendRows(cells, 6);

  const CQLM2_AnalyzerDoc* doc = Doc();
  const int type = doc != nullptr ? doc->Params.stageType.stageType : 0;
  const int extra = doc != nullptr ? doc->Params.stageType.sharedInUse : 0;
  const std::string none = res::LoadString(IDS_VSP_NONE);
  cells.clear();
  for (int slot = 0; slot < kVspSlots; ++slot) {
    const int stage = SlotStage(slot, type, extra);
    if (stage == 0 || stage == 20) continue;
    const VspSlotStat& s = d.slots[static_cast<std::size_t>(slot)];
    cells.insert(cells.end(), {slot == 0 ? Label(RangeStart + division * DivisionLength) : std::string(),
                               StageName(stage), std::to_string(s.count), VspMeanText(s, none), VspSdText(s, none)});
  }
  cells.insert(cells.end(), {"", "", "", "", ""});
  SummaryList().AppendRows(cells, 5);
}

int LyrWorkspaceVSPView::Apply(int start, int end, int withSleepTotals, const LyrReStageWithEpisode* restaging) {
  (void)withSleepTotals;
  RangeStart = start;
  RangeEnd = end;
  DivisionLength = TextOutputTimeDivision;
  ReStagingSource = restaging;
  const VspEpochs epochs = Epochs();
  if (start > end) std::swap(start, end);
  for (int e = std::max(start, 0); e <= end && e < epochs.count; ++e) {
    if (epochs.At(e).Scored()) continue;
    ReportUnscoredEpochs(MainFrame());
    // Nothing was computed: the caller is told so.
    return 0;
  }
  const int count = DivisionCount(DivisionLength, RangeStart, RangeEnd);
  Divisions.assign(static_cast<std::size_t>(count), VspDivision{});
  const CQLM2_AnalyzerDoc* doc = Doc();
  const int type = doc != nullptr ? doc->Params.stageType.stageType : 0;
  const int extra = doc != nullptr ? doc->Params.stageType.sharedInUse : 0;
  List().SetGridLines(true);
  SummaryList().SetGridLines(true);
  List().SetRedraw(false);
  SummaryList().SetRedraw(false);
  List().DeleteAllItems();
  SummaryList().DeleteAllItems();
  for (int i = 0; i < count; ++i) {
    int s = RangeStart + i * DivisionLength;
    int e = i == count - 1 ? RangeEnd : s + DivisionLength - 1;
    if (TrimRange(epochs, static_cast<int>(VigilanceTrimmingMode), s, e) == 0) continue;
    Divisions[static_cast<std::size_t>(i)] = FindEpisodes(epochs, s, e, EpochSeconds, type, extra);
    AddDivisionRows(i, Divisions[static_cast<std::size_t>(i)]);
  }
  // Titles and cells shown whole; the episode rows are alike, the first ones measure them.
  SummaryList().AutoSizeColumns();
  List().AutoSizeColumnsToRows(20);
  List().SetRedraw(true);
  SummaryList().SetRedraw(true);
  return 1;
}

namespace {
// "hh:mm:ss" of a duration.
std::string Duration(long long seconds) {
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, (seconds / 60) % 60, seconds % 60);
  return text;
}

// Stage codes a stage type shows, in code order, then the shared stages in use.
std::vector<int> ShownStageCodes(int type, int extra) {
  static const std::vector<int> kCodes[4] = {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 7}, {1, 2, 3, 5, 7}, {1, 2, 3, 7}};
  std::vector<int> codes = kCodes[type >= 0 && type <= 2 ? type : 3];
  for (int i = 0; i < std::min(extra, 3); ++i) codes.push_back(8 + i);
  return codes;
}
}  // namespace

bool LyrWorkspaceVSPView::WriteTransitions(WorkspaceTextOut& out, int withSleepTotals) {
  const char d = WorkspaceDelimiter();
  const CQLM2_AnalyzerDoc* doc = Doc();
  const int type = doc != nullptr ? doc->Params.stageType.stageType : 0;
  const int extra = doc != nullptr ? doc->Params.stageType.sharedInUse : 0;
  const std::string none = res::LoadString(IDS_VSP_NONE);
  const int count = static_cast<int>(Divisions.size());
  auto put = [&](const std::string& line) {
    out.Put(line + "\n");
    ++out.Lines;
  };
  for (int slot = 0; slot < kVspSlots; ++slot) {
    std::string label;
    if (withSleepTotals != 0 && slot == kVspSleepSlot)
      label = "TotalSleep";
    else if (withSleepTotals != 0 && slot == kVspNonRemSlot)
      label = "NonREMSleep";
    else if (const int stage = SlotStage(slot, type, extra); stage != 0)
      label = StageName(stage);
    else
      continue;
    std::string line;
    for (const VspDivision& div : Divisions) {
      const VspSlotStat& s = div.slots[static_cast<std::size_t>(slot)];
      line += label + d + std::to_string(s.count) + d + VspMeanText(s, none) + d + VspSdText(s, none) + d + d + d + d;
    }
    put(line);
  }
  put("");
  std::string heading;
  for (int i = 0; i < count; ++i) {
    for (const char* h : {"No.", "Epoch No.", "Time", "Episode", "Count", "Duration(sec.)"}) (heading += h) += d;
    heading += d;
  }
  put(heading);
  std::size_t most = 0;
  for (const VspDivision& div : Divisions) most = std::max(most, div.episodes.size());
  for (std::size_t r = 0; r < most; ++r) {
    std::string line;
    for (const VspDivision& div : Divisions) {
      if (r >= div.episodes.size()) {
        line.append(7, d);
        continue;
      }
      const VspEpisodeRec& rec = div.episodes[r];
      std::string name = StageName(rec.code >= 100 ? rec.code - 100 : rec.code);
      if (rec.code >= 100) name += "-";
      line += std::to_string(r + 1) + d + std::to_string(rec.first) + d + Label(rec.first) + d + name + d +
              std::to_string(rec.count) + d + std::to_string(static_cast<long>(rec.count) * EpochSeconds) + d + d;
    }
    put(line);
    if (out.CheckMaxLine(TextOutputMaxLine, Doc(), this, &FileName) == 0) return false;
  }
  return !out.Failed();
}

int LyrWorkspaceVSPView::OutputText(int kind, int toClipboard, const std::string& path, int start, int end,
                                    int withSleepTotals) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return 0;
  const char d = WorkspaceDelimiter();
  const int seconds = EpochSeconds;
  // The transitions are those of the pane's last computation, with its division length.
  const int length = kind == 0 ? DivisionLength : TextOutputTimeDivision;
  const int count = DivisionCount(length, start, end);
  if (kind == 0 && count != static_cast<int>(Divisions.size())) return 0;
  FileName = path;
  WorkspaceTextOut out;
  if (!out.Open(toClipboard, path)) return 0;
  // Counted from 1 as the other outputs count: a file holds at most the line limit.
  out.Lines = 1;
  auto put = [&](const std::string& line) {
    out.Put(line + "\n");
    ++out.Lines;
  };
  if (!out.Header(*doc)) {
    out.Abort();
    return 0;
  }
  const bool restaging = withSleepTotals != 0 && UseEpisodeSetting != 0 && ReStagingSource != nullptr;
  const int type = doc->Params.stageType.stageType;
  const std::vector<int> codes = ShownStageCodes(type, doc->Params.stageType.sharedInUse);
  auto ruleColumns = [&](const char* title, auto value) {
    std::string cells = std::string(2, d) + title + d;
    for (std::size_t k = 0; k < codes.size() && k < StageEpisodeRules.size(); ++k)
      (cells += std::to_string(value(StageEpisodeRules[k]))) += d;
    return cells;
  };
  if (restaging) {
    std::string names(4, d);
    for (int code : codes) (names += StageName(code)) += d;
    put(names);
  } else {
    put("");
  }
  put(std::string("Start time") + d + Label(start) +
      (restaging ? ruleColumns("Episode time(sec)", [](const StageEpisodeRule& r) { return r.first; }) : ""));
  put(std::string("End time") + d + Label(end) +
      (restaging ? ruleColumns("Detect Interruption(sec)", [](const StageEpisodeRule& r) { return r.second; }) : ""));
  const long long divisionSeconds = static_cast<long long>(seconds) * length;
  std::string division;
  if (withSleepTotals == 0) {
    division = std::string("Time division") + d + Duration(divisionSeconds);
  } else {
    char hours[32];
    if (divisionSeconds % 3600 == 0)
      std::snprintf(hours, sizeof hours, "%lld", divisionSeconds / 3600);
    else
      std::snprintf(hours, sizeof hours, "%.2f", static_cast<double>(divisionSeconds) / 3600.0);
    division = std::string("Time division(hr)") + d + hours;
  }
  if (restaging)
    division += ruleColumns("Allow Short Interruption", [](const StageEpisodeRule& r) { return static_cast<int>(r.third); });
  put(division);
  put("");
  std::string line;
  for (int i = 0; i < count; ++i) line += Label(start + i * length) + std::string(kind == 0 ? 7 : 4, d);
  put(line);
  line.clear();
  for (int i = 0; i < count; ++i) {
    if (kind == 0) {
      for (const char* h : {"Stage", "Count", "Mean duration(sec.)", "SD(+-)"}) (line += h) += d;
      line.append(3, d);
    } else {
      for (const char* h : {"Stage", "Duration(sec.)", "Count"}) (line += h) += d;
      line += d;
    }
  }
  put(line);

  bool ok = true;
  if (kind == 1) {
    const VspEpochs epochs = Epochs();
    const int extra = doc->Params.stageType.sharedInUse;
    std::vector<std::vector<std::string>> lines(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      int s = start + i * length;
      int e = i == count - 1 ? end : s + length - 1;
      if (TrimRange(epochs, static_cast<int>(VigilanceTrimmingMode), s, e) == 0) continue;
      const VspDivision div = FindEpisodes(epochs, s, e, seconds, type, extra);
      for (int slot = 0; slot < kVspSlots; ++slot) {
        std::string label;
        if (withSleepTotals != 0 && slot == kVspSleepSlot)
          label = "TotalSleep";
        else if (withSleepTotals != 0 && slot == kVspNonRemSlot)
          label = "NonREMSleep";
        else if (const int stage = SlotStage(slot, type, extra); stage != 0)
          label = StageName(stage);
        else
          continue;
        for (const auto& [epochsLong, number] : div.durations[static_cast<std::size_t>(slot)])
          lines[static_cast<std::size_t>(i)].push_back(label + d + std::to_string(static_cast<long>(epochsLong) * seconds) +
                                                       d + std::to_string(number) + d + d);
      }
    }
    std::size_t most = 0;
    for (const auto& l : lines) most = std::max(most, l.size());
    for (std::size_t r = 0; r < most; ++r) {
      line.clear();
      for (const auto& l : lines) line += r < l.size() ? l[r] : std::string(4, d);
      put(line);
    }
  } else {
    ok = WriteTransitions(out, withSleepTotals);
  }
  if (!out.Finish()) ok = false;
  return ok ? 1 : 0;
}
