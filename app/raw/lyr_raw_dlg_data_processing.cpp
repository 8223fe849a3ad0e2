#include "app/raw/lyr_raw_dlg_data_processing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kStrColNo = 9850;
constexpr std::uint32_t kStrColCh = 9851;
constexpr std::uint32_t kStrColBaseOffset = 9852;
constexpr std::uint32_t kStrColSmoothing = 9853;
constexpr std::uint32_t kStrColFilter = 9854;
constexpr std::uint32_t kStrColNotch = 9855;
constexpr std::uint32_t kStrOn = 9856;
constexpr std::uint32_t kStrOff = 9857;
constexpr std::uint32_t kStrLpf = 9858;
constexpr std::uint32_t kStrHpf = 9859;
constexpr std::uint32_t kStrBpf = 9860;
constexpr std::uint32_t kStrBsf = 9861;
constexpr std::uint32_t kStrResultsWillBeCleared = 2348;

constexpr int kChannelSlots = 32;
constexpr int kScrollBarWidth = 17;

std::string Format(const char* fmt, double a, double b = 0.0) {
  char buf[96];
  std::snprintf(buf, sizeof buf, fmt, a, b);
  return buf;
}

bool Is50Hz(double hz, double low) { return hz > low && hz < 50.001; }

// The radio ids of a set are interleaved with those of other sets, so each set is checked by
// its own list rather than by an id range.
void CheckOneOf(ui::ControlHost& host, std::initializer_list<int> radios, int check) {
  for (int id : radios) host.CheckDlgButton(id, id == check ? 1 : 0);
}

double ReadDecimal(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

}  // namespace

LyrRawDlgDataProcessing::LyrRawDlgDataProcessing(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_DATA_PROCESSING, parent), m_pDoc(doc) {}

int LyrRawDlgDataProcessing::ChannelCount() const {
  if (m_pDoc == nullptr) return 0;
  return std::clamp(m_pDoc->RecordInfo.channelCount, 0, kChannelSlots);
}

std::array<std::string, 6> LyrRawDlgDataProcessing::RowCells(int channel, const LyrChInfo& ch) {
  std::array<std::string, 6> cells;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%3d", channel + 1);
  cells[0] = buf;
  cells[1] = ch.name;
  cells[2] = res::LoadString(ch.baseLine != 0 ? kStrOn : kStrOff);
  if (ch.smoothingCount > 1) {
    std::snprintf(buf, sizeof buf, ":%ld", static_cast<long>(ch.smoothingCount));
    cells[3] = res::LoadString(kStrOn) + buf;
  } else {
    cells[3] = res::LoadString(kStrOff);
  }
  switch (ch.filterMode) {
    case 0: cells[4] = res::LoadString(kStrLpf) + ":" + Format("%.2f", ch.cut1Hz); break;
    case 1: cells[4] = res::LoadString(kStrHpf) + ":" + Format("%.2f", ch.cut1Hz); break;
    case 2: cells[4] = res::LoadString(kStrBpf) + ":" + Format("%.2f-%.2f", ch.cut1Hz, ch.cut2Hz); break;
    case 3: cells[4] = res::LoadString(kStrBsf) + ":" + Format("%.2f-%.2f", ch.cut1Hz, ch.cut2Hz); break;
    default: cells[4] = res::LoadString(kStrOff); break;
  }
  if (ch.notch == 0) cells[5] = res::LoadString(kStrOff);
  else cells[5] = Is50Hz(ch.lineFrequencyHz, 49.9998) ? "50Hz" : "60Hz";
  return cells;
}

bool LyrRawDlgDataProcessing::OnInitDialog() {
  if (m_pDoc == nullptr) {
    EndDialog(ui::IDCANCEL);
    return true;
  }
  for (int i = 0; i < kChannelSlots; ++i) {
    const LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(i)];
    saved_[static_cast<std::size_t>(i)] = {ch.smoothingCount, ch.filterMode, ch.cut1Hz,     ch.cut2Hz,
                                           ch.notch,          ch.lineFrequencyHz, ch.baseLine};
  }
  savedFamily_ = m_pDoc->ChInfo[0].filterKind;

  ui::Control list = Item(kChannelList);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  const int width = std::max(0, list.GetClientRect().Width() - kScrollBarWidth);
  const std::uint32_t titles[6] = {kStrColNo, kStrColCh, kStrColBaseOffset, kStrColSmoothing, kStrColFilter, kStrColNotch};
  const int percents[6] = {8, 12, 15, 20, 30, 15};
  for (int c = 0; c < 6; ++c) {
    std::string title = res::LoadString(titles[c]);
    if (c == 5) title += res::LoadString(kStrColFilter);
    list.InsertColumn(c, title, width * percents[c] / 100);
  }
  FillList();
  if (ChannelCount() > 0) list.SetSelected(0, true);

  MapNotify(kChannelList, ui::LVN_ITEMCHANGED, [this] { ShowSelectedRow(); });
  MapNotify(kChannelList, ui::NM_CLICK, [this] { ShowSelectedRow(); });
  for (int id : {kBaseOffsetCheck, kProcessingCheck, kSmoothingRadio, kFilterRadio, kSelectFilterCheck, kLowPassRadio,
                 kHighPassRadio, kBandStopRadio, kBandPassRadio, kNotchCheck, k50HzRadio, k60HzRadio})
    MapCommand(static_cast<std::uint32_t>(id), [this] { UpdateEnabling(); });
  MapCommand(kFirRadio, [this] { SetFamily(0); });
  MapCommand(kIirRadio, [this] { SetFamily(1); });
  MapCommand(kApplyButton, [this] { Apply(); });

  ShowSelectedRow();
  CheckOneOf(*this, {kIirRadio, kFirRadio}, savedFamily_ != 0 ? kIirRadio : kFirRadio);
  return true;
}

void LyrRawDlgDataProcessing::FillList() {
  ui::Control list = Item(kChannelList);
  const std::vector<int> selected = list.GetSelectedIndexes();
  list.DeleteAllItems();
  for (int i = 0; i < ChannelCount(); ++i) {
    const auto cells = RowCells(i, m_pDoc->ChInfo[static_cast<std::size_t>(i)]);
    const int row = list.InsertItem(-1, cells[0]);
    for (int c = 1; c < 6; ++c) list.SetItemText(row, c, cells[static_cast<std::size_t>(c)]);
  }
  for (int row : selected)
    if (row < list.GetCount()) list.SetSelected(row, true);
}

void LyrRawDlgDataProcessing::ShowSelectedRow() {
  const std::vector<int> selected = Item(kChannelList).GetSelectedIndexes();
  if (selected.empty() || selected.front() >= ChannelCount()) {
    UpdateEnabling();
    return;
  }
  const LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(selected.front())];
  CheckDlgButton(kBaseOffsetCheck, ch.baseLine != 0 ? 1 : 0);
  if (ch.smoothingCount >= 2) {
    CheckDlgButton(kProcessingCheck, 1);
    CheckOneOf(*this, {kSmoothingRadio, kFilterRadio}, kSmoothingRadio);
    SetDlgItemInt(kPointsEdit, ch.smoothingCount);
  } else if (ch.filterMode != 4 || ch.notch != 0) {
    CheckDlgButton(kProcessingCheck, 1);
    CheckOneOf(*this, {kSmoothingRadio, kFilterRadio}, kFilterRadio);
    CheckDlgButton(kSelectFilterCheck, ch.filterMode != 4 ? 1 : 0);
    if (ch.filterMode != 4) {
      static constexpr int kTypeRadio[4] = {kLowPassRadio, kHighPassRadio, kBandPassRadio, kBandStopRadio};
      if (ch.filterMode < 4) CheckOneOf(*this, {kLowPassRadio, kHighPassRadio, kBandStopRadio, kBandPassRadio}, kTypeRadio[ch.filterMode]);
      SetDlgItemText(kCut1Edit, Format("%.2f", ch.cut1Hz));
      SetDlgItemText(kCut2Edit, Format("%.2f", ch.cut2Hz));
    }
    CheckDlgButton(kNotchCheck, ch.notch != 0 ? 1 : 0);
    if (ch.notch != 0)
      CheckOneOf(*this, {k50HzRadio, k60HzRadio}, Is50Hz(ch.lineFrequencyHz, 49.998) ? k50HzRadio : k60HzRadio);
  } else {
    CheckDlgButton(kProcessingCheck, 0);
  }
  UpdateEnabling();
}

void LyrRawDlgDataProcessing::UpdateEnabling() {
  const bool on = IsDlgButtonChecked(kProcessingCheck) != 0;
  const bool smoothing = on && IsDlgButtonChecked(kSmoothingRadio) != 0;
  const bool filtering = on && IsDlgButtonChecked(kFilterRadio) != 0;
  const bool select = filtering && IsDlgButtonChecked(kSelectFilterCheck) != 0;
  const bool band = select && (IsDlgButtonChecked(kBandStopRadio) != 0 || IsDlgButtonChecked(kBandPassRadio) != 0);
  const bool notch = filtering && IsDlgButtonChecked(kNotchCheck) != 0;
  EnableItem(kSmoothingRadio, on);
  EnableItem(kFilterRadio, on);
  EnableItem(kPointsEdit, smoothing);
  EnableItem(kSelectFilterCheck, filtering);
  EnableItem(kNotchCheck, filtering);
  for (int id : {kLowPassRadio, kHighPassRadio, kBandStopRadio, kBandPassRadio, kCut1Edit}) EnableItem(id, select);
  EnableItem(kCut2Edit, band);
  EnableItem(k50HzRadio, notch);
  EnableItem(k60HzRadio, notch);
}

void LyrRawDlgDataProcessing::Apply() {
  const std::uint16_t baseLine = IsDlgButtonChecked(kBaseOffsetCheck) != 0 ? 1 : 0;
  std::int32_t points = 1;
  std::uint16_t mode = 4;
  std::int32_t notch = 0;
  double lineHz = 50.0;
  bool cutsRead = false;
  double cut1 = 0.0;
  double cut2 = 0.0;
  if (IsDlgButtonChecked(kProcessingCheck) != 0) {
    if (IsDlgButtonChecked(kSmoothingRadio) != 0) {
      const long long value = GetDlgItemInt(kPointsEdit);
      points = static_cast<std::int32_t>(std::clamp<long long>(value, 1, 0x7FFFFFFE));
      if (points % 2 == 0) ++points;
    } else if (IsDlgButtonChecked(kFilterRadio) != 0) {
      if (IsDlgButtonChecked(kSelectFilterCheck) != 0) {
        cut1 = ReadDecimal(GetDlgItemText(kCut1Edit));
        cut2 = ReadDecimal(GetDlgItemText(kCut2Edit));
        cutsRead = true;
        if (IsDlgButtonChecked(kHighPassRadio) != 0) mode = 1;
        else if (IsDlgButtonChecked(kBandStopRadio) != 0) mode = 3;
        else if (IsDlgButtonChecked(kBandPassRadio) != 0) mode = 2;
        else mode = 0;
      }
      if (IsDlgButtonChecked(kNotchCheck) != 0) {
        notch = 1;
        lineHz = IsDlgButtonChecked(k60HzRadio) != 0 ? 60.0 : 50.0;
      }
    }
  }
  // Cut-offs keep their values when no filter is chosen, so a filter switched off and on again
  // comes back as it was.
  for (int row : Item(kChannelList).GetSelectedIndexes()) {
    if (row < 0) continue;
    if (row >= ChannelCount()) break;
    LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(row)];
    ch.baseLine = baseLine;
    ch.smoothingCount = points;
    ch.filterMode = mode;
    if (cutsRead) {
      ch.cut1Hz = cut1;
      ch.cut2Hz = cut2;
    }
    ch.notch = notch;
    ch.lineFrequencyHz = lineHz;
  }
  FillList();
}

void LyrRawDlgDataProcessing::SetFamily(std::int32_t family) {
  if (m_pDoc == nullptr) return;
  for (LyrChInfo& ch : m_pDoc->ChInfo) ch.filterKind = family;
}

void LyrRawDlgDataProcessing::RestoreAll() {
  for (int i = 0; i < kChannelSlots; ++i) {
    LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(i)];
    const Saved& s = saved_[static_cast<std::size_t>(i)];
    ch.smoothingCount = s.smoothingCount;
    ch.filterMode = s.filterMode;
    ch.cut1Hz = s.cut1Hz;
    ch.cut2Hz = s.cut2Hz;
    ch.notch = s.notch;
    ch.lineFrequencyHz = s.lineFrequencyHz;
    ch.baseLine = s.baseLine;
    ch.filterKind = savedFamily_;
  }
}

void LyrRawDlgDataProcessing::OnOK() {
  if (m_pDoc == nullptr) {
    EndDialog(ui::IDCANCEL);
    return;
  }
  Apply();
  if (m_pDoc->ScreeningMarker == -1) {
    EndDialog(ui::IDOK);
    return;
  }
  ui::MessageBeep(ui::MB_ICONQUESTION);
  if (ui::MessageBoxId(kStrResultsWillBeCleared, ui::MB_OKCANCEL) == ui::IDOK) {
    EndDialog(ui::IDOK);
    return;
  }
  RestoreAll();
  EndDialog(ui::IDCANCEL);
}

void LyrRawDlgDataProcessing::OnCancel() {
  if (m_pDoc != nullptr) RestoreAll();
  EndDialog(ui::IDCANCEL);
}
