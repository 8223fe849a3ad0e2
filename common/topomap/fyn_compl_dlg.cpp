#include "common/topomap/fyn_compl_dlg.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "common/topomap/fyn_topomap.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {
// Electrode index of the buttons 1000..1018, laid out as on the head.
constexpr std::array<int, fyn_topo::kElectrodes> kButtonElectrodes = {0,  1, 10, 2,  16, 3,  11, 12, 4, 17,
                                                                      5, 13, 14, 6, 18, 7, 15, 8,  9};
constexpr const char* kSettingsFilter = "FYH(*.FYH)|*.FYH||";
}  // namespace

// ---------------------------------------------------------------- FynComplDlg

FynComplDlg::FynComplDlg(ui::Window* parent, std::vector<float>* constants, int* dataTypes, std::string* formulas,
                         int* channels, int channelCount, float* values, std::vector<std::uint8_t>* compiled)
    : ui::Dialog(Fyn_IDD_COMPL_001, parent),
      FynComplFormula(constants, dataTypes, formulas, channels, channelCount, values, compiled) {
  for (int id = kFirstElectrodeButton; id < kFirstElectrodeButton + fyn_topo::kElectrodes; ++id) {
    MapCommand(static_cast<std::uint32_t>(id), [this, id] { OnElectrodeButton(id); });
  }
  MapCommand(kStandard12, [this] {
    SetStandard12Ch();
    RefreshAll();
  });
  MapCommand(kStandard16, [this] {
    SetStandard16Ch();
    RefreshAll();
  });
  MapCommand(kRead, [this] { OnRead(); });
  MapCommand(kWrite, [this] { OnWrite(); });
}

int FynComplDlg::ElectrodeOfButton(int buttonId) {
  const int k = buttonId - kFirstElectrodeButton;
  return k >= 0 && k < fyn_topo::kElectrodes ? kButtonElectrodes[k] : -1;
}

bool FynComplDlg::OnInitDialog() {
  RefreshAll();
  return true;
}

void FynComplDlg::Refresh(int e) {
  ui::Control edit = Item(kFirstEdit + e);
  char text[64];
  if (dataTypes_[e] == fyn_topo::kTypeChannel) {
    std::snprintf(text, sizeof text, "<Channel %d>", channels_[e] + 1);
    edit.SetText(text);
    edit.SetReadOnly(true);
  } else if (dataTypes_[e] == fyn_topo::kTypeFormula) {
    edit.SetText(formulas_[e]);
    edit.SetReadOnly(false);
  } else {
    std::snprintf(text, sizeof text, "%f", static_cast<double>(values_[e]));
    edit.SetText(text);
    edit.SetReadOnly(false);
  }
}

void FynComplDlg::RefreshAll() {
  for (int e = 0; e < fyn_topo::kElectrodes; ++e) Refresh(e);
}

void FynComplDlg::OnElectrodeButton(int buttonId) {
  const int e = ElectrodeOfButton(buttonId);
  if (e < 0) return;
  FynCDataTypeDlg dlg(this, &dataTypes_[e], &channels_[e], channelCount_);
  dlg.DoModal();
  Refresh(e);
}

void FynComplDlg::OnOK() {
  for (int e = 0; e < fyn_topo::kElectrodes; ++e) {
    ui::Control edit = Item(kFirstEdit + e);
    const std::string text = edit.GetText();
    int position = 0;
    int code = fyn_compl::kAccepted;
    if (dataTypes_[e] == fyn_topo::kTypeFormula) {
      code = fyn_compl::CheckFormula_InvalidChar(text, e, channelCount_, &position);
      if (code == fyn_compl::kAccepted) {
        formulas_[e] = text;
        fyn_compl::CreatePolish(formulas_[e], &constants_[e], &compiled_[e]);
      }
    } else if (dataTypes_[e] != fyn_topo::kTypeChannel) {
      code = fyn_compl::CheckValue(text, &position);
      if (code == fyn_compl::kAccepted) values_[e] = std::strtof(text.c_str(), nullptr);
    }
    if (code != fyn_compl::kAccepted) {
      edit.SetFocus();
      selStart_ = position;
      selEnd_ = position + 1;
      return;
    }
  }
  EndDialog(ui::IDOK);
}

void FynComplDlg::OnRead() {
  ui::FileDialog dlg(true, "FYH", {}, ui::OFN_HIDEREADONLY | ui::OFN_FILEMUSTEXIST, kSettingsFilter, this);
  if (dlg.DoModal() != ui::IDOK) return;
  if (ReadSettings(dlg.GetPathName())) RefreshAll();
}

void FynComplDlg::OnWrite() {
  ui::FileDialog dlg(false, "FYH", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT, kSettingsFilter, this);
  if (dlg.DoModal() != ui::IDOK) return;
  WriteSettings(dlg.GetPathName());
}

// ---------------------------------------------------------------- FynCDataTypeDlg

FynCDataTypeDlg::FynCDataTypeDlg(ui::Window* parent, int* dataType, int* channel, int channelCount)
    : ui::Dialog(Fyn_IDD_COMPL_DATATYPE_001, parent), dataType_(dataType), channel_(channel), channelCount_(channelCount) {}

bool FynCDataTypeDlg::OnInitDialog() {
  const int checked = *dataType_ == fyn_topo::kTypeChannel   ? kChannel
                      : *dataType_ == fyn_topo::kTypeFormula ? kFormula
                                                             : kNumber;
  CheckRadioButton(kChannel, kNumber, checked);
  return true;
}

void FynCDataTypeDlg::OnOK() {
  switch (GetCheckedRadioButton(kChannel, kNumber)) {
    case kChannel: {
      *dataType_ = fyn_topo::kTypeChannel;
      FynCChDlg channelDlg(this, channel_, channelCount_);
      channelDlg.DoModal();
      break;
    }
    case kFormula:
      *dataType_ = fyn_topo::kTypeFormula;
      break;
    case kNumber:
      *dataType_ = fyn_topo::kTypeNumber;
      break;
    default:
      break;
  }
  EndDialog(ui::IDOK);
}

void FynCDataTypeDlg::OnCancel() { EndDialog(*dataType_); }

// ---------------------------------------------------------------- FynCChDlg

FynCChDlg::FynCChDlg(ui::Window* parent, int* channel, int channelCount)
    : ui::Dialog(Fyn_IDD_COMPL_CHSEL_001, parent), channel_(channel), channelCount_(channelCount) {}

bool FynCChDlg::OnInitDialog() {
  ui::Control combo = Item(kCombo);
  char text[32];
  for (int c = 1; c <= channelCount_; ++c) {
    std::snprintf(text, sizeof text, "Channel %d", c);
    combo.AddString(text);
  }
  combo.SetCurSel(*channel_ >= 0 && *channel_ < channelCount_ ? *channel_ : -1);
  return true;
}

void FynCChDlg::OnOK() {
  const int selected = Item(kCombo).GetCurSel();
  if (selected >= 0) *channel_ = selected;
  EndDialog(ui::IDOK);
}
