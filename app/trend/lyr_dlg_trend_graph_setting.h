#pragma once
// "Trend graph Setting" (dialog 181): the number of trend graphs, the span of one display
// line, and for every graph its item, value scale and draw type. It edits copies of the
// program-wide trend settings and writes them back only on OK; the opener then applies the
// minutes and the graph count.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_popup_menu.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

class LyrDlgTrendGraphSetting : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 181;
  static constexpr int kList = 1633, kCount = 1616, kSpan = 1618, kHours = 1617, kHoursLabel = 1619;
  static constexpr int kModeType = 1655, kModeScale = 1657, kModeDraw = 1660;
  explicit LyrDlgTrendGraphSetting(ui::Window* parent = nullptr);
  ~LyrDlgTrendGraphSetting() override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnNotify(int controlId, int code) override;
  bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;

  // The running maximum and minimum of each shown graph (graph count of each).
  void SetGraphRanges(const float* maxima, const float* minima);
  void OnItemCommand(std::uint32_t id);
  void SetRowItem(int row, int category, int sub, int third);
  // The first selected row, -1 when none is selected or it lies past the graph count.
  int GetSelectedRow() const;
  // A click in the list: the item menu, the scale or the draw type of the selected row.
  void OnListClick();
  void FillList();

  CQLM2_AnalyzerDoc* Document = nullptr;
  std::int16_t GraphCount = 1;
  std::int32_t MinutesPerLine = 0;
  // Copies of the per-graph arrays (item, draw type, value display, dot size).
  std::array<std::uint16_t, 20> Category{}, Sub{}, Third{}, DrawType{}, ValueDisplay{}, DotSize{};
  // Copies of the per-item ranges and draw settings.
  TrendRangeTable RangeUpper, RangeLower;
  std::array<std::uint16_t, kTrendRangeScales> ItemDrawType{}, ItemDotSize{};

 private:
  void OnSpanChanged();
  float RangeOf(const std::vector<float>& v, int row, float none) const;
  std::vector<float> maxima_, minima_;
  LyrTrendPopUpMenuFrame popup_;
  int menuRow_ = -1;
  int initialRow_ = -1;
  std::string initialHours_;
};

// The running ranges the Trend graph Setting command hands to the dialog: 20 entries, those
// past the graph count empty (-FLT_MAX / FLT_MAX).
void CollectGraphRanges(std::array<float, 20>& maxima, std::array<float, 20>& minima);
// Index 0..108 of an item's scale among the per-item settings, -1 for none.
int TrendItemScaleIndex(int category, int sub, int third);
