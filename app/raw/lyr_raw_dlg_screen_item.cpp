#include "app/raw/lyr_raw_dlg_screen_item.h"

#include <algorithm>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/display_fonts.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/system/locale.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kItemTexts[LyrRawDlgScreenItem::kRowCount] = {2144, 2145, 2146, 2147, 2148, 2149, 2150, 2151,
                                                                      2152, 2153, 2322, 2471, 2472, 2538, 2539};
constexpr std::uint32_t kWidthNames[5] = {2473, 2474, 2477, 2475, 2476};
constexpr std::uint32_t kStrSampleText = 2154;
constexpr int kFontSizes[16] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr std::uint16_t kPrimaryLanguageJapanese = 0x11;

}  // namespace

int LyrRawDlgScreenItem::ColourSlotOfRow(int row) {
  switch (row) {
    case kBackground: return 0;
    case kCurrentEpoch: return 1;
    case kGrid: return 2;
    case kEvent: return 3;
    case kStage: return 4;
    case kStageInArtifact: return 5;
    case kMarkName: return 6;
    case kLogicUpper: return 7;
    case kLogicLower: return 8;
    default: return -1;
  }
}

int LyrRawDlgScreenItem::FontSlotOfRow(int row) {
  switch (row) {
    case kScale: return 0;
    case kChannelNumber: return 1;
    case kChannelChar: return 2;
    case kEvent: return 3;
    case kStage: return 4;
    case kGrid: return 5;
    case kStageInArtifact: return 6;
    case kChannelName: return 7;
    case kShowValue: return 8;
    case kMarkName: return 9;
    default: return -1;
  }
}

std::vector<std::string> LyrRawDlgScreenItem::OfferedFamilies(const std::vector<draw::FontFamily>& all,
                                                              bool japaneseSystem) {
  std::vector<std::string> out;
  for (const draw::FontFamily& f : all) {
    if (japaneseSystem && (!f.japanese || (!f.name.empty() && f.name.front() == '@'))) continue;
    out.push_back(f.name);
  }
  return out;
}

int LyrRawDlgScreenItem::WidthIndexOf(std::uint32_t width) {
  for (std::size_t i = 0; i < kLineWidths.size(); ++i)
    if (kLineWidths[i] == width) return static_cast<int>(i);
  return 1;  // Fine
}

void LyrRawDlgScreenItem::LoadWorkingCopies() {
  Colours = DisplayColors;
  for (std::size_t i = 0; i < Fonts.size(); ++i) Fonts[i] = DisplayFonts[i];
  LineWidth = MarkLineWidth;
}

bool LyrRawDlgScreenItem::OnInitDialog() {
  LoadWorkingCopies();
  savedStagePosition_ = StagePosition;
  EnableItem(kSizeCombo, false);
  EnableItem(kFontCombo, false);
  ui::Control items = Item(kItemList);
  items.ResetContent();
  for (std::uint32_t id : kItemTexts) items.AddString(res::LoadString(id));

  const bool japanese = (sys::GetThreadLocale() & 0x3FF) == kPrimaryLanguageJapanese;
  ui::Control fonts = Item(kFontCombo);
  fonts.ResetContent();
  for (const std::string& name : OfferedFamilies(draw::ScreenFontFamilies(), japanese)) fonts.AddString(name);
  FillSizeCombo(false);

  ui::Control slider = Item(kStageSlider);
  slider.SetRange(0, 100);
  slider.SetPos(StagePosition + 50);

  Item(kSample).SetOverlayPainter([this](draw::Dc& dc, const draw::Rect& client) { PaintSample(dc, client); });

  MapNotify(kItemList, ui::LBN_SELCHANGE, [this] { OnItemSelected(); });
  MapNotify(kFontCombo, ui::CBN_SELCHANGE, [this] { OnFontControlsChanged(); });
  MapNotify(kSizeCombo, ui::CBN_SELCHANGE, [this] { OnFontControlsChanged(); });
  MapCommand(kBoldCheck, [this] { OnFontControlsChanged(); });
  MapCommand(kItalicCheck, [this] { OnFontControlsChanged(); });
  MapCommand(kUnderlineCheck, [this] { OnFontControlsChanged(); });
  MapCommand(kColorButton, [this] { OnColor(); });
  MapCommand(kAllResetButton, [this] { OnAllReset(); });
  MapNotify(kStageSlider, ui::TB_THUMBTRACK, [this] { OnStageSlider(); });
  MapNotify(kStageSlider, ui::TB_ENDTRACK, [this] { OnStageSlider(); });
  return true;
}

void LyrRawDlgScreenItem::FillSizeCombo(bool widths) {
  ui::Control sizes = Item(kSizeCombo);
  sizes.ResetContent();
  if (widths) {
    for (std::uint32_t id : kWidthNames) sizes.AddString(res::LoadString(id));
    return;
  }
  for (int size : kFontSizes) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", size);
    sizes.AddString(buf);
  }
}

void LyrRawDlgScreenItem::ShowFont(const draw::LogFont& font) {
  ui::Control fonts = Item(kFontCombo);
  const std::string face = font.FaceName();
  for (int i = 0; i < fonts.GetCount(); ++i)
    if (fonts.GetString(i) == face) {
      fonts.SetCurSel(i);
      break;
    }
  CheckDlgButton(kBoldCheck, font.weight == 700 ? 1 : 0);
  CheckDlgButton(kItalicCheck, font.italic != 0 ? 1 : 0);
  CheckDlgButton(kUnderlineCheck, font.underline != 0 ? 1 : 0);
  int sel = -1;
  for (int i = 0; i < 16; ++i)
    if (kFontSizes[i] == font.height) sel = i;
  Item(kSizeCombo).SetCurSel(sel);
}

void LyrRawDlgScreenItem::OnItemSelected() {
  row_ = Item(kItemList).GetCurSel();
  for (int id : {kFontCombo, kSizeCombo, kBoldCheck, kItalicCheck, kUnderlineCheck}) EnableItem(id, true);
  EnableItem(kColorButton, false);
  FillSizeCombo(false);
  const bool hasColour = ColourSlotOfRow(row_) >= 0;
  const int fontSlot = FontSlotOfRow(row_);
  if (row_ == kMarkLineWidth) {
    for (int id : {kFontCombo, kBoldCheck, kItalicCheck, kUnderlineCheck}) EnableItem(id, false);
    FillSizeCombo(true);
    Item(kSizeCombo).SetCurSel(WidthIndexOf(LineWidth));
  } else if (fontSlot < 0) {
    for (int id : {kFontCombo, kSizeCombo, kBoldCheck, kItalicCheck, kUnderlineCheck}) EnableItem(id, false);
    EnableItem(kColorButton, hasColour);
  } else {
    EnableItem(kColorButton, hasColour);
    ShowFont(Fonts[static_cast<std::size_t>(fontSlot)]);
  }
  Item(kSample).Invalidate();
}

void LyrRawDlgScreenItem::OnFontControlsChanged() {
  if (row_ == kMarkLineWidth) {
    const int sel = Item(kSizeCombo).GetCurSel();
    LineWidth = sel >= 0 && sel < static_cast<int>(kLineWidths.size()) ? kLineWidths[static_cast<std::size_t>(sel)] : 12;
    Item(kSample).Invalidate();
    return;
  }
  const int slot = FontSlotOfRow(row_);
  if (slot < 0) return;
  const int face = Item(kFontCombo).GetCurSel();
  const int size = Item(kSizeCombo).GetCurSel();
  if (face < 0 || size < 0 || size >= 16) return;
  draw::LogFont& f = Fonts[static_cast<std::size_t>(slot)];
  f.SetFaceName(Item(kFontCombo).GetString(face).substr(0, 31));
  f.weight = IsDlgButtonChecked(kBoldCheck) != 0 ? 700 : 400;
  f.italic = IsDlgButtonChecked(kItalicCheck) != 0 ? 1 : 0;
  f.underline = IsDlgButtonChecked(kUnderlineCheck) != 0 ? 1 : 0;
  f.height = kFontSizes[size];
  Item(kSample).Invalidate();
}

void LyrRawDlgScreenItem::OnColor() {
  const int slot = ColourSlotOfRow(row_);
  std::uint32_t colour = slot >= 0 ? Colours[static_cast<std::size_t>(slot)] : 0;
  if (ui::ChooseColor(this, colour) != ui::IDOK || slot < 0) return;
  Colours[static_cast<std::size_t>(slot)] = colour;
  Item(kSample).Invalidate();
}

void LyrRawDlgScreenItem::OnStageSlider() {
  StagePosition = static_cast<std::int16_t>(Item(kStageSlider).GetPos() - 50);
  RedrawRawPages();
}

void LyrRawDlgScreenItem::OnAllReset() {
  InitScreenItemFonts();
  LoadWorkingCopies();
  Item(kStageSlider).SetPos(StagePosition + 50);
  if (row_ >= 0) OnItemSelected();
}

void LyrRawDlgScreenItem::RedrawRawPages() {
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->RefreshAllViews(-1);
}

void LyrRawDlgScreenItem::PaintSample(draw::Dc& dc, const draw::Rect& client) const {
  if (row_ < 0 || row_ >= kRowCount) return;
  dc.FillSolidRect(client, draw::GetSysColor(draw::COLOR_BTNFACE));
  if (row_ == kMarkLineWidth) {
    const int width = static_cast<int>(LineWidth);
    const int left = client.left + (client.Width() - width) / 2;
    dc.FillSolidRect(draw::Rect{left, client.top, left + width, client.bottom}, Colours[2]);
    return;
  }
  const int colourSlot = ColourSlotOfRow(row_);
  const int fontSlot = FontSlotOfRow(row_);
  if (fontSlot < 0) {
    if (colourSlot >= 0) dc.FillSolidRect(client, Colours[static_cast<std::size_t>(colourSlot)]);
    return;
  }
  draw::LogFont lf = Fonts[static_cast<std::size_t>(fontSlot)];
  lf.charSet = draw::DEFAULT_CHARSET;
  const draw::Font oldFont = dc.SelectFont(draw::Font(lf));
  dc.SetBkMode(draw::TRANSPARENT);
  dc.SetTextColor(colourSlot >= 0 ? Colours[static_cast<std::size_t>(colourSlot)] : draw::Rgb(0, 0, 0));
  draw::Rect r = client;
  dc.DrawText(res::LoadString(kStrSampleText), &r, draw::DT_CENTER | draw::DT_VCENTER | draw::DT_SINGLELINE);
  dc.SelectFont(oldFont);
}

void LyrRawDlgScreenItem::OnOK() {
  DisplayColors = Colours;
  for (std::size_t i = 0; i < Fonts.size(); ++i) DisplayFonts[i] = Fonts[i];
  MarkLineWidth = LineWidth;
  StagePosition = static_cast<std::int16_t>(Item(kStageSlider).GetPos() - 50);
  EndDialog(ui::IDOK);
}

void LyrRawDlgScreenItem::OnCancel() {
  StagePosition = savedStagePosition_;
  RedrawRawPages();
  EndDialog(ui::IDCANCEL);
}
