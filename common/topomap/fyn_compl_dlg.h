#pragma once
// The dialogs that set, for each of the 19 electrodes of the topographic map, where its
// value comes from: FynComplDlg (all electrodes, standard sets, settings files),
// FynCDataTypeDlg (one electrode's data type) and FynCChDlg (its channel). They work on the
// caller's tables in place (see FynComplFormula).
#include <cstdint>
#include <string>
#include <vector>

#include "common/topomap/fyn_compl_formula.h"
#include "platform/ui/dialog.h"

// Template ids of the library's dialogs.
inline constexpr int Fyn_IDD_COMPL_001 = 20101;
inline constexpr int Fyn_IDD_COMPL_DATATYPE_001 = 20102;
inline constexpr int Fyn_IDD_COMPL_CHSEL_001 = 20103;

class FynComplDlg : public ui::Dialog, public FynComplFormula {
 public:
  // Control ids.
  static constexpr int kFirstElectrodeButton = 1000;  // 1000..1018 in head order
  static constexpr int kFirstEdit = 1022;             // 1022..1040 in electrode number order
  static constexpr int kStandard12 = 1019;
  static constexpr int kStandard16 = 1020;
  static constexpr int kRead = 1021;
  static constexpr int kWrite = 1041;

  FynComplDlg(ui::Window* parent, std::vector<float>* constants, int* dataTypes, std::string* formulas, int* channels,
              int channelCount, float* values, std::vector<std::uint8_t>* compiled);

  bool OnInitDialog() override;
  // Checks every electrode's text; at the first refusal the dialog stays open with the
  // focus on that edit and the offending character selected. Otherwise compiles and closes.
  void OnOK() override;

  // Electrode index (0..18) of a head-order button id, -1 for other ids.
  static int ElectrodeOfButton(int buttonId);
  // The selection the last refusal made in its edit: [first, last).
  int SelectionStart() const { return selStart_; }
  int SelectionEnd() const { return selEnd_; }

 private:
  void Refresh(int e);
  void RefreshAll();
  void OnElectrodeButton(int buttonId);
  void OnRead();
  void OnWrite();

  int selStart_ = -1;
  int selEnd_ = -1;
};

class FynCDataTypeDlg : public ui::Dialog {
 public:
  static constexpr int kChannel = 1041;
  static constexpr int kFormula = 1042;
  static constexpr int kNumber = 1043;

  FynCDataTypeDlg(ui::Window* parent, int* dataType, int* channel, int channelCount);
  bool OnInitDialog() override;
  // The checked type is stored; the channel type then asks for the channel.
  void OnOK() override;
  // Ends with the current type as the result.
  void OnCancel() override;

 private:
  int* dataType_;
  int* channel_;
  int channelCount_;
};

class FynCChDlg : public ui::Dialog {
 public:
  static constexpr int kCombo = 1024;

  FynCChDlg(ui::Window* parent, int* channel, int channelCount);
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  int* channel_;
  int channelCount_;
};
