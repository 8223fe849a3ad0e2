// The range popup of the raw page and its event, mark and detected-wave commands.
#include "app/raw/raw_events_marks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/seizure_finding.h"
#include "app/document/stage_names.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_detect_list.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_manual_scoring.h"
#include "app/raw/raw_mouse.h"
#include "app/scoring/arousal_lm_snore.h"
#include "app/trend/trend_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/ui/menu.h"

namespace {

// String table ids of the popup's submenu texts.
enum : std::uint32_t {
  kIdsStage = 9720,
  kIdsSas = 9721,
  kIdsOsas = 9722,
  kIdsMsas = 9723,
  kIdsCsas = 9724,
  kIdsHypopnea = 9725,
  kIdsClear = 9726,
  kIdsLm = 9727,
  kIdsLmLeft = 9728,
  kIdsLmRight = 9729,
  kIdsBoth = 9730,
  kIdsSnore = 9731,
  kIdsArousal = 9732,
  kIdsMark = 9733,
  kIdsMarkClear = 9734,
};

std::string Text(std::uint32_t id) { return res::LoadString(id); }

std::string WithKey(const std::string& text, int digit) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "(&%d)", digit);
  return text + suffix;
}

// Digit of a stage key code: 2000..2009 stand for 0..9, anything else gives 0.
int KeyDigit(std::uint32_t key) { return key >= 2000 && key <= 2009 ? static_cast<int>(key - 2000) : 0; }

struct StageItem {
  int code;
  std::uint32_t command;
};

std::shared_ptr<ui::Menu> BuildStageMenu(const StageTypeParam& block) {
  static constexpr StageItem kType0[] = {{1, 32810}, {2, 32811}, {3, 32812}, {4, 32813},
                                         {5, 32814}, {6, 32815}, {7, 32816}};
  static constexpr StageItem kType1[] = {{1, 32810}, {2, 32811}, {3, 32812}, {4, 32813}, {5, 32818}, {7, 32816}};
  static constexpr StageItem kType2[] = {{1, 32810}, {2, 32811}, {3, 32817}, {5, 32818}, {7, 32816}};
  static constexpr StageItem kType3[] = {{1, 32810}, {2, 32811}, {3, 32819}, {7, 32816}};
  auto menu = std::make_shared<ui::Menu>();
  std::span<const StageItem> items;
  switch (block.stageType) {
    case 0: items = kType0; break;
    case 1: items = kType1; break;
    case 2: items = kType2; break;
    case 3: items = kType3; break;
    default: break;
  }
  if (!items.empty()) {
    const auto records = block.Set(block.stageType);
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::uint32_t key = i < records.size() ? records[i].key : 0;
      menu->AppendItem(items[i].command, WithKey(GetStageName(block, items[i].code), KeyDigit(key)));
    }
  }
  const int extra = std::clamp<int>(block.sharedInUse, 0, StageTypeParam::kFreeStageCount);
  for (int f = 0; f < extra; ++f) {
    menu->AppendItem(static_cast<std::uint32_t>(32820 + f),
                     WithKey(GetStageName(block, 8 + f), KeyDigit(block.shared[static_cast<std::size_t>(f)].key)));
  }
  return menu;
}

bool Set(int channel) { return channel >= 0; }

bool SeizureOffered() { return !SeizureMarks.empty() && WaveDetectParam.channel != -1; }

// Rate of the fastest shown channel, which range positions are counted in; 0 when none.
std::uint32_t RangeRate() {
  std::uint32_t rate = 0;
  if (CMainFrame* f = CQLM2_AnalyzerDoc::MainFrame()) f->GetMaxShownChannelRate(&rate, nullptr);
  return rate;
}

int EpochCount(const CQLM2_AnalyzerDoc& doc) { return doc.GetDivNum(EpochSeconds); }

void EventEdited() {
  if (ResultModifiedState == 1) ResultModifiedState = 2;
}

// The raw pages and the trend graphs that show the edited category of events.
void RedrawAfterEdit(int category) {
  if (CMainFrame* f = CQLM2_AnalyzerDoc::MainFrame()) {
    f->RefreshAllViews(-1);
    if (LyrTrendDummyView* trend = f->TrendView()) trend->TrendArea.RedrawCategory(category);
  }
}

}  // namespace

namespace rawevents {

std::int64_t PointOfPosition(std::int64_t position, std::uint32_t rate, double pointSeconds) {
  if (rate == 0 || pointSeconds <= 0.0) return 0;
  return static_cast<std::int64_t>(static_cast<double>(position) / (rate * pointSeconds));
}

bool MarkTypeOffered(const CQLM2_AnalyzerDoc& doc, int type) {
  if (type < 0 || type >= kMarkTypeCount) return false;
  const auto& item = doc.Params.markType.items[static_cast<std::size_t>(type)];
  return doc.Marks.FlagLength() >= 1 && doc.Marks.Flags(type) != nullptr && item.triggerDetect == 1 && item.show == 1;
}

int OfferedMarkType(const CQLM2_AnalyzerDoc& doc, int n) {
  int count = 0;
  for (int t = 0; t < kMarkTypeCount; ++t) {
    if (!MarkTypeOffered(doc, t)) continue;
    if (++count == n) return t;
  }
  return -1;
}

std::unique_ptr<ui::Menu> BuildEventPopup(const CQLM2_AnalyzerDoc& doc) {
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(doc.Params.sleepDstrb);
  std::shared_ptr<ui::Menu> stage = BuildStageMenu(doc.Params.stageType);

  std::shared_ptr<ui::Menu> sas;
  if (Set(ch.airFlow) && (Set(ch.chest) || Set(ch.abdomen))) {
    sas = std::make_shared<ui::Menu>();
    sas->AppendItem(kCmdOsas, WithKey(Text(kIdsOsas), 1));
    sas->AppendItem(kCmdMsas, WithKey(Text(kIdsMsas), 2));
    sas->AppendItem(kCmdCsas, WithKey(Text(kIdsCsas), 3));
    sas->AppendSeparator();
    sas->AppendItem(kCmdHypopnea, WithKey(Text(kIdsHypopnea), 4));
    sas->AppendSeparator();
    sas->AppendItem(kCmdRespClear, WithKey(Text(kIdsClear), 0));
  }
  std::shared_ptr<ui::Menu> lm;
  const bool left = Set(ch.lmLeft);
  const bool right = Set(ch.lmRight);
  if (left || right) {
    lm = std::make_shared<ui::Menu>();
    if (left) {
      lm->AppendItem(kCmdLmLeft, WithKey(Text(kIdsLmLeft), 1));
      lm->AppendItem(kCmdLmLeftClear, WithKey(Text(kIdsClear), 2));
    }
    if (left && right) lm->AppendSeparator();
    if (right) {
      lm->AppendItem(kCmdLmRight, WithKey(Text(kIdsLmRight), 3));
      lm->AppendItem(kCmdLmRightClear, WithKey(Text(kIdsClear), 4));
    }
    if (left && right) {
      lm->AppendSeparator();
      lm->AppendItem(kCmdLmBoth, WithKey(Text(kIdsBoth), 5));
      lm->AppendItem(kCmdLmBothClear, WithKey(Text(kIdsClear), 6));
    }
  }
  std::shared_ptr<ui::Menu> snore;
  if (Set(ch.snore)) {
    snore = std::make_shared<ui::Menu>();
    snore->AppendItem(kCmdSnore, WithKey(Text(kIdsSnore), 1));
    snore->AppendItem(kCmdSnoreClear, WithKey(Text(kIdsClear), 0));
  }
  std::shared_ptr<ui::Menu> arousal;
  if (Set(ch.arousal)) {
    arousal = std::make_shared<ui::Menu>();
    arousal->AppendItem(kCmdArousal, WithKey(Text(kIdsArousal), 1));
    arousal->AppendItem(kCmdArousalClear, WithKey(Text(kIdsClear), 0));
  }
  std::shared_ptr<ui::Menu> mark;
  std::shared_ptr<ui::Menu> markClear;
  if (doc.Params.markType.triggerCount > 0) {
    mark = std::make_shared<ui::Menu>();
    markClear = std::make_shared<ui::Menu>();
    int n = 0;
    for (int t = 0; t < kMarkTypeCount; ++t) {
      if (!MarkTypeOffered(doc, t)) continue;
      ++n;
      const std::string text = WithKey(doc.Params.markType.items[static_cast<std::size_t>(t)].name, n);
      mark->AppendItem(static_cast<std::uint32_t>(kCmdMarkFirst - 1 + n), text);
      markClear->AppendItem(static_cast<std::uint32_t>(kCmdMarkClearFirst - 1 + n), text);
    }
    markClear->AppendSeparator();
    markClear->AppendItem(kCmdMarkAllClear, "All clear(&A)");
  }
  std::shared_ptr<ui::Menu> seizure;
  if (SeizureOffered()) {
    seizure = std::make_shared<ui::Menu>();
    seizure->AppendItem(kCmdSeizure, "Seizure");
    seizure->AppendItem(kCmdSeizureClear, "Clear");
  }

  if (!sas && !lm && !snore && !arousal) {
    // Only stages (and marks): the stage submenu is the popup.
    auto popup = std::make_unique<ui::Menu>(*stage);
    if (mark) popup->AppendPopup(Text(kIdsMark) + "(&M)", mark);
    if (markClear) popup->AppendPopup(Text(kIdsMarkClear) + "(&C)", markClear);
    if (seizure) popup->AppendPopup("Seizure(&S)", seizure);
    return popup;
  }
  auto popup = std::make_unique<ui::Menu>();
  popup->AppendPopup(Text(kIdsStage) + "(&1)", stage);
  if (sas) popup->AppendPopup(Text(kIdsSas) + "(&2)", sas);
  if (lm) popup->AppendPopup(Text(kIdsLm) + "(&3)", lm);
  if (snore) popup->AppendPopup(Text(kIdsSnore) + "(&4)", snore);
  if (arousal) popup->AppendPopup(Text(kIdsArousal) + "(&5)", arousal);
  if (mark) popup->AppendPopup(Text(kIdsMark) + "(&6)", mark);
  if (markClear) popup->AppendPopup(Text(kIdsMarkClear) + "(&7)", markClear);
  if (seizure) popup->AppendPopup("Seizure(&8)", seizure);
  return popup;
}

}  // namespace rawevents

using namespace rawevents;

void LyrRawAreaView::MapRangeCommands() {
  RawSelection.rangeRow = -1;
  const auto range = [] {
    CMainFrame* f = CQLM2_AnalyzerDoc::MainFrame();
    return f != nullptr ? f->EditRange : EditRangeRec{};
  };
  for (std::uint32_t id = 32810; id <= 32822; ++id) {
    const int index = rawscoring::StageIndexOfCommand(id);
    if (index == 0) continue;
    MapCommand(id, [this, range, index] {
      const EditRangeRec r = range();
      SetStageByKey(r.startRow, r.startPos, r.endRow, r.endPos, index);
    });
  }
  const struct {
    std::uint32_t id;
    int kind;
    int family;  // 0 respiration, 1 limb movement, 2 snore and arousal
  } events[] = {
      {kCmdOsas, 1, 0},        {kCmdMsas, 2, 0},          {kCmdCsas, 3, 0},        {kCmdHypopnea, 10, 0},
      {kCmdRespClear, 0, 0},   {kCmdLmLeft, 0, 1},        {kCmdLmLeftClear, 1, 1}, {kCmdLmRight, 2, 1},
      {kCmdLmRightClear, 3, 1}, {kCmdLmBoth, 4, 1},       {kCmdLmBothClear, 5, 1}, {kCmdSnore, 6, 2},
      {kCmdSnoreClear, 7, 2},  {kCmdArousal, 8, 2},       {kCmdArousalClear, 9, 2},
  };
  for (const auto& e : events) {
    const int kind = e.kind;
    const int family = e.family;
    MapCommand(e.id, [this, range, kind, family] {
      const EditRangeRec r = range();
      if (family == 0) SetRespiratoryEvent(r.startPos, r.endPos, kind);
      else if (family == 1) SetLimbMovementEvent(r.startPos, r.endPos, kind);
      else SetSnoreArousalEvent(r.startPos, r.endPos, kind);
    });
  }
  MapCommandRange(kCmdMarkFirst, kCmdMarkFirst + 9, [this](std::uint32_t id) { SetMark(static_cast<int>(id - kCmdMarkFirst)); });
  MapCommandRange(kCmdMarkClearFirst, kCmdMarkClearFirst + 9,
                  [this](std::uint32_t id) { SetMark(static_cast<int>(id - kCmdMarkClearFirst) + 10); });
  MapCommand(kCmdMarkAllClear, [this] { SetMark(-1); });
  MapCommand(kCmdSeizure, [this, range] {
    const EditRangeRec r = range();
    SetSeizure(r.startPos, r.endPos, 1);
  });
  MapCommand(kCmdSeizureClear, [this, range] {
    const EditRangeRec r = range();
    SetSeizure(r.startPos, r.endPos, 0);
  });
  // Items of the popup resources that do nothing here.
  for (std::uint32_t id : {33046u, 33078u, 33079u}) MapCommand(id, [] {});
}

void LyrRawAreaView::ShowEventPopup() {
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (doc == nullptr || frame == nullptr) return;
  EditRangeRec& range = frame->EditRange;
  // Ends in time order: a later row holds later samples.
  const std::int32_t anchorRow = RawSelection.rangeRow >= 0 ? RawSelection.rangeRow : rowIndex_;
  range.startRow = std::min<std::int32_t>(anchorRow, rowIndex_);
  range.endRow = std::max<std::int32_t>(anchorRow, rowIndex_);
  range.startPos = static_cast<std::int32_t>(std::min(RawSelection.startSample, RawSelection.endSample));
  range.endPos = static_cast<std::int32_t>(std::max(RawSelection.startSample, RawSelection.endSample));

  std::unique_ptr<ui::Menu> popup = BuildEventPopup(*doc);
  const ui::Point anchor = RawSelection.rowEnd[static_cast<std::size_t>(std::clamp<int>(rowIndex_, 0, 4))];
  const ui::Point screen = ClientToScreen(anchor.x >= 0 ? anchor : ui::Point{0, 0});
  const std::uint32_t command =
      ui::TrackPopupMenu(*popup, ui::PopupPosition{screen.x, screen.y}, this, ui::TPM_RETURNCMD);
  // The bands go before the command redraws the rows, so that no stale inversion is left.
  if (RawSelection.pressState == 2) {
    InvertRangeBands();
    RawSelection.rangeRow = -1;
  }
  if (command != 0) OnCmdMsg(command, ui::CmdMode::Execute, nullptr);
}

void LyrRawAreaView::SetRespiratoryEvent(std::int32_t start, std::int32_t end, int kind) {
  EventEdited();
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  if (doc == nullptr) return;
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(doc->Params.sleepDstrb);
  const int channel = Set(ch.airFlow) ? ch.airFlow : Set(ch.chest) ? ch.chest : ch.abdomen;
  if (!Set(channel)) return;
  const std::uint32_t rate = RangeRate();
  if (rate == 0) return;
  const auto s = static_cast<int>(PointOfPosition(start, rate, 0.25));
  const auto e = static_cast<int>(PointOfPosition(end, rate, 0.25));
  doc->RecognitionTables.SetRespEventRange(kind, s, e, EpochCount(*doc) * EpochSeconds * 4);
  RedrawAfterEdit(11);
}

void LyrRawAreaView::SetLimbMovementEvent(std::int32_t start, std::int32_t end, int kind) {
  EventEdited();
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  if (doc == nullptr) return;
  const std::uint32_t rate = RangeRate();
  if (rate == 0) return;
  const auto s = static_cast<int>(PointOfPosition(start, rate, 0.1));
  const auto e = static_cast<int>(PointOfPosition(end, rate, 0.1));
  const int epochs = EpochCount(*doc);
  doc->RecognitionTables.SetLMEventRange(kind, s, e, epochs * EpochSeconds * 10);

  // The per-epoch movements are counted again from the edited legs.
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(doc->Params.sleepDstrb);
  const int lmChannel = (kind == 2 || kind == 3) ? ch.lmRight : ch.lmLeft;
  const double interval = SleepDstrbTables::GetRprsntInterval(ch, 20, lmChannel);
  if (interval > 0.0) {
    SleepDstrbSources src;
    src.param = &doc->Params.sleepDstrb;
    src.epochs = &doc->EpochTables;
    src.tables = &doc->RecognitionTables;
    src.stageType = doc->Params.stageType.stageType;
    src.epochSeconds = EpochSeconds;
    src.epochCount = epochs;
    LyrRecognizeLimbMovement recount(src);
    recount.Recount(epochs * static_cast<int>(EpochSeconds / interval), Set(ch.lmLeft) ? 1 : 0,
                    Set(ch.lmRight) ? 1 : 0);
  }
  RedrawAfterEdit(20);
}

void LyrRawAreaView::SetSnoreArousalEvent(std::int32_t start, std::int32_t end, int kind) {
  EventEdited();
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  if (doc == nullptr || kind < 6 || kind > 9) return;
  const std::uint32_t rate = RangeRate();
  if (rate == 0) return;
  const auto s = static_cast<int>(PointOfPosition(start, rate, 0.1));
  const auto e = static_cast<int>(PointOfPosition(end, rate, 0.1));
  const int limit = EpochCount(*doc) * EpochSeconds * 10;
  if (kind <= 7) {
    doc->RecognitionTables.SetSnoreEventRange(kind, s, e, limit);
  } else {
    doc->RecognitionTables.SetArousalEventRange(kind, s, e, limit);
  }
  RedrawAfterEdit(kind <= 7 ? 23 : 24);
}

void LyrRawAreaView::SetMark(int n) {
  ResultModifiedState = 2;
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (doc == nullptr || frame == nullptr) return;
  const std::uint32_t rate = RangeRate();
  if (rate == 0) return;
  const EditRangeRec& r = frame->EditRange;
  const std::int64_t lower = std::min(r.startPos, r.endPos);
  const std::int64_t higher = std::max(r.startPos, r.endPos);
  const auto s = static_cast<std::int64_t>(lower * 10.0 / rate);
  const auto e = static_cast<std::int64_t>(higher * 10.0 / rate);
  const std::int64_t length = doc->Marks.FlagLength();
  const int type = n >= 0 ? OfferedMarkType(*doc, n % 10 + 1) : -1;
  if (n >= 0 && type < 0) return;
  const std::uint8_t value = n >= 0 && n < 10 ? 1 : 0;
  // Flags and events change together, so that rebuilding the runs from the events keeps it.
  const int from = static_cast<int>(std::max<std::int64_t>(s, 0));
  const int to = static_cast<int>(std::min(e, length));
  if (n == -1) {
    for (int t = 0; t < kMarkTypeCount; ++t)
      if (MarkTypeOffered(*doc, t)) doc->Marks.SetPoints(t, from, to, 0);
  } else {
    doc->Marks.SetPoints(type, from, to, value);
  }
  if (value == 1 && s < e && s < length) doc->Marks.SetMarksPresent(1);
  frame->RefreshAllViews(-1);
  frame->RedrawWorkspaceViews();
}

void LyrRawAreaView::SetSeizure(std::int32_t start, std::int32_t end, int value) {
  EventEdited();
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  const std::uint32_t rate = RangeRate();
  if (frame == nullptr || rate == 0) return;
  const auto s = static_cast<std::int64_t>(start * 10.0 / rate);
  const auto e = static_cast<std::int64_t>(end * 10.0 / rate);
  const auto count = static_cast<std::int64_t>(SeizureMarks.size());
  for (std::int64_t p = std::max<std::int64_t>(s, 0); p < e && p < count; ++p)
    SeizureMarks[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(value);
  frame->RefreshAllViews(-1);
  if (frame->WaveDetectListDlg != nullptr) frame->WaveDetectListDlg->SetFocus();
}
