#pragma once
// "Channel Display Information" (dialog 133): one row per channel of the open recording with
// its number, name, show state, gain, scale, display type and colour, and buttons that open
// the per-channel dialogs for the selected rows. The sub-dialogs write the channel records at
// once; Cancel here puts back the gain, scale and display type the channels had when this
// dialog opened (shown state and colour stay as changed).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/raw/lyr_raw_display_dialogs.h"

class LyrChInfo;

class LyrRawDlgOperateWave : public LyrRawChannelDialog {
 public:
  static constexpr int kTemplateId = 133;
  static constexpr int kList = 1059;
  static constexpr int kShowButton = 1068;
  static constexpr int kGainButton = 1073;
  static constexpr int kScaleButton = 1079;
  static constexpr int kTypeButton = 1092;
  static constexpr int kColorButton = 1086;

  explicit LyrRawDlgOperateWave(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrRawDlgOperateWave() override;

  bool OnInitDialog() override;
  void OnCancel() override;

  // Refills the rows from the channel records.
  void FillRows();
  // Reads the selected rows into the selection array; true when any row is selected.
  bool GetSelectedCh();
  // Saves (true) or puts back (false) gain, scale and display type of every channel.
  void EvacuateDocument(bool save);

  // The type column of a channel: "Waveform,B Lower" "Numeric," ...
  static std::string TypeText(const LyrChInfo& ch);

  // One flag per channel, 1 when its row is selected (filled by GetSelectedCh).
  std::vector<std::uint16_t> Selection;

 private:
  struct Backup {
    double gain = 0.0;
    std::uint16_t scaleMode = 0;
    double scaleValue = 0.0;
    std::array<std::uint16_t, 7> displayTypeWords{};
  };

  int ChannelCount() const;
  void OnShowCh();
  // Runs one per-channel dialog over the selected rows; redraw says what an answer other than
  // OK brings up to date (0 nothing, 1 all views, 2 all views and the gain combo).
  template <class Dlg>
  void RunForSelection(const char* operation, int redraw);
  void Reselect();

  std::vector<Backup> backup_;
};
