// Stage commands of the raw page's range popup.
#include "app/raw/raw_manual_scoring.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/trend/trend_dummy_view.h"
#include "platform/system/key_state.h"

extern std::uint16_t LearningSampleMode;

namespace rawscoring {

namespace {
struct StageCommand {
  std::uint32_t id;
  int index;
};
// "1", "L" and "NR" share index 3; "3" and "D" share index 5.
constexpr StageCommand kStageCommands[] = {
    {32810, 1}, {32811, 2}, {32812, 3}, {32817, 3}, {32819, 3}, {32813, 4}, {32814, 5},
    {32818, 5}, {32815, 6}, {32816, 7}, {32820, 8}, {32821, 9}, {32822, 10},
};
}  // namespace

std::int64_t EpochOfPosition(std::int64_t position, std::uint32_t rate, int epochSeconds) {
  if (rate == 0 || epochSeconds <= 0) return -1;
  const auto ms = static_cast<std::int64_t>(static_cast<double>(position) * (1000.0 / rate));
  return ms / (static_cast<std::int64_t>(epochSeconds) * 1000);
}

std::vector<int> RowsShowingEpochs(std::int64_t startEpoch, std::int64_t endEpoch, int viewRow,
                                   std::int64_t viewRowPage, int pageRows, int pageSeconds, int epochSeconds) {
  if (pageRows == 1 || epochSeconds <= 0) return {2};
  const std::int64_t n = pageSeconds / epochSeconds;
  const std::int64_t onePage = pageSeconds / epochSeconds;
  const std::int64_t twoPages = (2LL * pageSeconds) / epochSeconds;
  const auto pages = [&](int k) -> std::int64_t {
    const std::int64_t magnitude = std::abs(k) >= 2 ? twoPages : (k == 0 ? 0 : onePage);
    return k < 0 ? -magnitude : magnitude;
  };
  const std::int64_t centre = viewRowPage * pageSeconds / epochSeconds + pages(2 - viewRow);
  const int first = pageRows == 3 ? 1 : 0;
  const int last = pageRows == 3 ? 3 : 4;
  const auto rowOf = [&](std::int64_t epoch) {
    int row = -1;
    for (int k = first; k <= last; ++k) {
      const std::int64_t from = centre + pages(k - 2);
      if (epoch >= from && epoch <= from + n) row = k;
    }
    return row < 0 ? 2 : row;
  };
  const int a = rowOf(startEpoch);
  const int b = rowOf(endEpoch);
  std::vector<int> rows;
  for (int k = std::min(a, b); k <= std::max(a, b); ++k) rows.push_back(k);
  return rows;
}

int StageIndexOfCommand(std::uint32_t id) {
  for (const StageCommand& c : kStageCommands)
    if (c.id == id) return c.index;
  return 0;
}

}  // namespace rawscoring

void LyrRawAreaView::SetStageByKey(std::int32_t, std::int32_t startPos, std::int32_t, std::int32_t endPos,
                                   int index) {
  ResultModifiedState = 2;
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (doc == nullptr || frame == nullptr) return;
  const bool ctrl = sys::IsKeyDown(sys::VirtualKey::Control);
  const auto code = static_cast<std::uint8_t>(ctrl ? index + 20 : index);
  std::uint32_t rate = 0;
  frame->GetMaxShownChannelRate(&rate, nullptr);
  // Without a shown channel a position means no time: nothing to score.
  if (rate == 0 || EpochSeconds <= 0) return;
  std::int64_t first = rawscoring::EpochOfPosition(startPos, rate, EpochSeconds);
  std::int64_t last = rawscoring::EpochOfPosition(endPos, rate, EpochSeconds);
  if (first > last) std::swap(first, last);
  LyrTrendDummyView* trend = frame->TrendView();
  for (std::int64_t e = std::max<std::int64_t>(first, 0); e <= last && e < doc->EpochTables.EpochCount(); ++e) {
    doc->EpochTables.SetStage(static_cast<int>(e), code);
    if (LearningSampleMode != 0) doc->EpochTables.SetEpochFlag(static_cast<int>(e), code, 3);
  }
  if (trend != nullptr) trend->SetCursorEpoch(-1, doc->CurrentEpoch);
  frame->RedrawTrendViews(1);
  for (int row : rawscoring::RowsShowingEpochs(first, last, rowIndex_, GetRowPageNo(), doc->PageRows, PageSeconds,
                                               EpochSeconds)) {
    frame->RefreshAllViews(static_cast<std::int16_t>(row));
  }
  frame->UpdateFrameBarTime();
  // The workspace's mark list follows the scored stages.
  frame->RedrawWorkspaceViews();
}
