#include "app/settings/sleep_disturbance_page_common.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace sdpage {

int ChannelCount(const CQLM2_AnalyzerDoc* doc) {
  if (doc == nullptr) return 0;
  return std::clamp(doc->RecordInfo.channelCount, 0, static_cast<int>(doc->ChInfo.size()));
}

void LoadChannelCombo(const ui::Dialog& page, int comboId, const CQLM2_AnalyzerDoc* doc, std::int32_t* channel) {
  const int count = ChannelCount(doc);
  if (*channel >= count || *channel < -1) *channel = -1;
  ui::Control combo = page.Item(comboId);
  combo.ResetContent();
  combo.AddString(res::LoadString(IDS_SD_NONE));
  for (int c = 0; c < count; ++c) combo.AddString(doc->ChInfo[static_cast<std::size_t>(c)].name);
  combo.SetCurSel(*channel + 1);
}

bool SelectChannel(const ui::Dialog& page, int comboId, std::int32_t* field) {
  const int selection = page.Item(comboId).GetCurSel();
  if (selection < 0) return false;
  *field = selection - 1;
  return *field >= 0;
}

std::string Format(const char* format, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

void SetNumber(const ui::Dialog& page, int id, double value, const char* format) {
  page.Item(id).SetText(Format(format, value));
}

double ReadNumber(const ui::Dialog& page, int id) { return std::atof(page.Item(id).GetText().c_str()); }

void StoreNumber(const ui::Dialog& page, int id, double* field, const char* format) {
  const std::string text = page.Item(id).GetText();
  if (text == Format(format, *field)) return;
  *field = std::atof(text.c_str());
}

void ReportError(ui::Dialog& page, int focusId) {
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  ui::MessageBox(&page, res::LoadString(IDS_SD_ERROR), ui::MessageBoxCaption(),
                 ui::MB_OK | ui::MB_ICONEXCLAMATION);
  page.Item(focusId).SetFocus();
}

bool CheckNotNegative(ui::Dialog& page, std::initializer_list<int> ids) {
  for (int id : ids) {
    if (ReadNumber(page, id) < 0.0) {
      ReportError(page, id);
      return false;
    }
  }
  return true;
}

bool CheckWord(ui::Dialog& page, int id, double highest) {
  const double v = ReadNumber(page, id);
  if (v < 0.0 || v > highest) {
    ReportError(page, id);
    return false;
  }
  return true;
}

void AttachSwatch(const ui::Dialog& page, int staticId, std::function<std::uint32_t()> colour) {
  page.Item(staticId).SetOverlayPainter(
      [colour = std::move(colour)](draw::Dc& dc, const ui::Rect& client) { dc.FillSolidRect(client, colour()); });
}

bool ChooseColour(ui::Dialog& page, std::uint32_t* field) {
  std::uint32_t chosen = 0;
  if (ui::ChooseColor(&page, chosen) != ui::IDOK) return false;
  *field = chosen;
  return true;
}

}  // namespace sdpage
