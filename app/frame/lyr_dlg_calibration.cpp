#include "app/frame/lyr_dlg_calibration.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/calibration_math.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

std::string Fmt(const char* f, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, f, v);
  return buf;
}

}  // namespace

LyrDlgCalibration::LyrDlgCalibration(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_CALIBRATION, parent), m_pDoc(doc) {
  MapNotify(IDC_CAL_LIST, ui::NM_CLICK, [this] { ShowSelection(); });
  MapNotify(IDC_CAL_LIST, ui::LVN_ITEMCHANGED, [this] { ShowSelection(); });
  MapCommand(IDC_CAL_ON, [this] { EnableLimits(true); });
  MapCommand(IDC_CAL_OFF, [this] { EnableLimits(false); });
  MapCommand(IDC_CAL_APPLY, [this] {
    if (Apply()) FillList();
  });
}

int LyrDlgCalibration::ChannelCount() const {
  return m_pDoc ? std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32) : 0;
}

bool LyrDlgCalibration::OnInitDialog() {
  if (m_pDoc) {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      saved_[i] = {m_pDoc->ChInfo[i].calibration, m_pDoc->ChInfo[i].unitsPerCm};
    }
  }
  ui::Control list = Item(IDC_CAL_LIST);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  const std::uint32_t titles[] = {IDS_SD_COL_NO,       IDS_SD_COL_CH,        IDS_SD_COL_SWITCH,
                                  IDS_SD_COL_UPPER_AD, IDS_SD_COL_UPPER_CAL, IDS_SD_COL_LOWER_AD,
                                  IDS_SD_COL_LOWER_CAL, IDS_SD_COL_UNIT,     IDS_SD_COL_SENSITIVITY};
  const int widths[] = {30, 70, 50, 75, 75, 75, 75, 45, 75};
  for (int c = 0; c < 9; ++c) list.InsertColumn(c, res::LoadString(titles[c]), widths[c]);
  FillList();
  if (list.GetCount() > 0) list.SetSelected(0, true);
  ShowSelection();
  return true;
}

void LyrDlgCalibration::FillList() {
  ui::Control list = Item(IDC_CAL_LIST);
  const std::vector<int> keep = list.GetSelectedIndexes();
  list.DeleteAllItems();
  const bool unsignedSamples = m_pDoc && m_pDoc->UnsignedSamples != 0;
  for (int i = 0; i < ChannelCount(); ++i) {
    const LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(i)];
    const ChCalibrationEntry& c = ch.calibration;
    char no[16];
    std::snprintf(no, sizeof no, "%3d", i + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, ch.name);
    list.SetItemText(row, 2, res::LoadString(c.calibrated == 1 ? IDS_SD_ON : IDS_SD_OFF));
    list.SetItemText(row, 3, Fmt("%.5f", CalibrationSampleToVolts(c.topSample, c.fullScale, unsignedSamples)));
    list.SetItemText(row, 4, Fmt("%.4f", c.topValue));
    list.SetItemText(row, 5, Fmt("%.5f", CalibrationSampleToVolts(c.bottomSample, c.fullScale, unsignedSamples)));
    list.SetItemText(row, 6, Fmt("%.4f", c.bottomValue));
    list.SetItemText(row, 7, ch.unit);
    list.SetItemText(row, 8, Fmt("%.3f", ch.unitsPerCm));
  }
  for (int r : keep) {
    if (r < list.GetCount()) list.SetSelected(r, true);
  }
}

void LyrDlgCalibration::EnableLimits(bool on) {
  for (int id : {IDC_CAL_UPPER_VOLTS, IDC_CAL_UPPER_VALUE, IDC_CAL_LOWER_VOLTS, IDC_CAL_LOWER_VALUE}) EnableItem(id, on);
}

void LyrDlgCalibration::ShowSelection() {
  const std::vector<int> rows = Item(IDC_CAL_LIST).GetSelectedIndexes();
  if (rows.empty() || !m_pDoc) return;
  const LyrChInfo& ch = m_pDoc->ChInfo[static_cast<std::size_t>(rows.front())];
  const ChCalibrationEntry& c = ch.calibration;
  const bool on = c.calibrated == 1;
  CheckRadioButton(IDC_CAL_ON, IDC_CAL_OFF, on ? IDC_CAL_ON : IDC_CAL_OFF);
  EnableLimits(on);
  if (rows.size() > 1) {
    for (int id : {IDC_CAL_UPPER_VOLTS, IDC_CAL_UPPER_VALUE, IDC_CAL_LOWER_VOLTS, IDC_CAL_LOWER_VALUE, IDC_CAL_SENSITIVITY}) {
      SetDlgItemText(id, "");
    }
    return;
  }
  const bool unsignedSamples = m_pDoc->UnsignedSamples != 0;
  SetDlgItemText(IDC_CAL_UPPER_VOLTS, Fmt("%.3f", CalibrationSampleToVolts(c.topSample, c.fullScale, unsignedSamples)));
  SetDlgItemText(IDC_CAL_UPPER_VALUE, Fmt("%.3f", c.topValue));
  SetDlgItemText(IDC_CAL_LOWER_VOLTS, Fmt("%.3f", CalibrationSampleToVolts(c.bottomSample, c.fullScale, unsignedSamples)));
  SetDlgItemText(IDC_CAL_LOWER_VALUE, Fmt("%.3f", c.bottomValue));
  SetDlgItemText(IDC_CAL_SENSITIVITY, Fmt("%.3f", ch.unitsPerCm));
}

bool LyrDlgCalibration::Apply() {
  if (!m_pDoc) return false;
  const bool on = IsDlgButtonChecked(IDC_CAL_ON) == 1;
  const CalibrationFieldTexts fields{GetDlgItemText(IDC_CAL_UPPER_VOLTS), GetDlgItemText(IDC_CAL_UPPER_VALUE),
                                     GetDlgItemText(IDC_CAL_LOWER_VOLTS), GetDlgItemText(IDC_CAL_LOWER_VALUE),
                                     GetDlgItemText(IDC_CAL_SENSITIVITY)};
  for (int row : Item(IDC_CAL_LIST).GetSelectedIndexes()) {
    if (row < 0 || row >= ChannelCount()) continue;
    ApplyCalibrationFields(m_pDoc->ChInfo[static_cast<std::size_t>(row)], on, fields, m_pDoc->UnsignedSamples != 0);
  }
  const int bad = FindCalibrationContradiction(m_pDoc->ChInfo.data(), ChannelCount());
  if (bad < 0) return true;
  char text[256];
  std::snprintf(text, sizeof text, res::LoadString(IDS_SD_CONTRADICTION).c_str(),
                m_pDoc->ChInfo[static_cast<std::size_t>(bad)].name.c_str());
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  return false;
}

void LyrDlgCalibration::Restore() {
  if (!m_pDoc) return;
  for (std::size_t i = 0; i < saved_.size(); ++i) {
    m_pDoc->ChInfo[i].calibration = saved_[i].calibration;
    m_pDoc->ChInfo[i].unitsPerCm = saved_[i].sensitivity;
  }
}

void LyrDlgCalibration::OnOK() {
  if (!Apply()) return;
  if (m_pDoc->ScreeningMarker != -1 &&
      ui::MessageBox(res::LoadString(IDS_SD_CONDITION_CHANGED), ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) {
    Restore();
    EndDialog(ui::IDCANCEL);
    return;
  }
  m_pDoc->CalibrationChanged = 1;
  EndDialog(ui::IDOK);
}

void LyrDlgCalibration::OnCancel() {
  Restore();
  EndDialog(ui::IDCANCEL);
}
