// Printing of the whole raw window: a subject header, then the shown rows' pages.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/frame/raw_rows.h"
#include "app/raw/raw_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/splitter.h"

namespace {

enum RawPrintString : std::uint32_t {
  kFileName = 9601,
  kSubject = 9602,
  kGender = 9603,
  kMale = 9604,
  kFemale = 9605,
  kAge = 9606,
  kYear = 9607,
  kMonth = 9608,
  kMemo = 9609,
};

std::string Text(std::uint32_t id) { return res::LoadString(id); }

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace

void LyrRawDummyView::PrintRawWindow(draw::Dc& dc, const draw::Rect& rect) {
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  if (doc == nullptr) return;
  const std::uint16_t savedTarget = PrintTarget;
  PrintTarget = 1;
  draw::LogFont lf = DisplayFonts[2];
  lf.height = -std::max(8, dc.GetDeviceCaps(draw::LOGPIXELSY) / 8);
  const draw::Font oldFont = dc.SelectFont(draw::Font(lf));
  const draw::ColorRef oldColour = dc.SetTextColor(draw::Rgb(0, 0, 0));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const draw::Size m = dc.GetTextExtent("M");
  const int mx = m.cx;
  const int my = m.cy;
  const int width = rect.right - rect.left;
  const LyrRecordInfo& info = doc->RecordInfo;

  // The values of the three header lines start behind the widest of their labels.
  int valueX = 10 * mx;
  for (std::uint32_t id : {kFileName, kSubject, kMemo})
    valueX = std::max(valueX, dc.GetTextExtent(Text(id) + ":").cx + mx);
  valueX += 2 * my;

  // Line 1: file name and the printing date and time.
  int y = 2 * my;
  dc.TextOut(2 * my, y, Text(kFileName) + ":");
  dc.TextOut(valueX, y, BaseName(info.path));
  char stamp[64] = {};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y/%m/%d  %H:%M:%S", &local);
  const draw::Size stampSize = dc.GetTextExtent(stamp);
  dc.TextOut(rect.left + width - stampSize.cx, y, stamp);

  // Line 2: subject, gender and age.
  y = 3 * my;
  dc.TextOut(2 * my, y, Text(kSubject) + ":");
  dc.TextOut(valueX, y, info.subjectName);
  std::string gender = Text(kGender) + ":";
  if (info.gender == 0) gender += Text(kMale);
  if (info.gender == 1) gender += Text(kFemale);
  dc.TextOut(2 * my + width / 2, y, gender);
  char age[128];
  std::snprintf(age, sizeof age, ":%ld%s %ld%s", static_cast<long>(info.ageYears), Text(kYear).c_str(),
                static_cast<long>(info.ageMonths), Text(kMonth).c_str());
  dc.TextOut(2 * my + width / 2 + 20 * mx, y, Text(kAge) + age);

  // Line 3: memo.
  y = 4 * my;
  dc.TextOut(2 * my, y, Text(kMemo) + ":");
  dc.TextOut(valueX, y, info.memo);

  // The free comments in a grid, row by row; empty items take no cell.
  const int shortW = dc.GetTextExtent("MMMMM").cx;
  const int longW = dc.GetTextExtent("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM").cx + dc.GetTextExtent("MMMMMMMMMMMMMMMMMMMM:").cx;
  const int columnW = shortW + longW;
  int columns = 0;
  int rows = 0;
  if (width >= rect.bottom - rect.top) {
    columns = (2 * my + 3 * longW + 2 * shortW >= width) ? 2 : 3;
  } else {
    columns = (2 * my + 2 * longW + shortW >= width) ? 1 : 2;
  }
  rows = (10 + columns - 1) / columns;
  y = 5 * my;
  int cell = 0;
  for (const auto& item : info.freeComments) {
    if (item.label.empty() && item.text.empty()) continue;
    if (cell >= columns * rows) break;
    const int column = cell % columns;
    dc.TextOut(column * columnW + 2 * my, y, item.label + ":" + item.text);
    ++cell;
    if (cell % columns == 0) y += my;
  }
  if (cell % columns != 0) y += my;
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);

  // The shown rows share what is left of the page.
  const int top = y + stampSize.cy;
  const std::vector<int> shown = ShownRawRows(doc->PageRows);
  const int rowHeight = (rect.bottom - rect.top - top - 100) / static_cast<int>(shown.size());
  for (std::size_t n = 0; n < shown.size(); ++n) {
    const int row = shown[n];
    const draw::Rect r{rect.left + 2 * my + 500, rect.top + top + static_cast<int>(n) * rowHeight, rect.right - 20,
                       rect.top + top + static_cast<int>(n + 1) * rowHeight};
    LyrRawFrame* frame = Row(row);
    LyrRawAreaView standIn;  // rows not created as windows print through a view of their own
    LyrRawAreaView* view = frame != nullptr && frame->AreaView() != nullptr ? frame->AreaView() : &standIn;
    if (view == &standIn) {
      standIn.SetDocument(doc);
      standIn.SetRowIndex(static_cast<std::int16_t>(row));
    }
    view->SetPrintRect(r, 2 * my);
    view->DrawPage(dc);
    if (view == &standIn) standIn.SetDocument(nullptr);
  }
  PrintTarget = savedTarget;
}
