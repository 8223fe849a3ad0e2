#pragma once
// "Text output" (dialog 477): the options of the raw data text output. It sets the delimiter
// and the line-limit switch program-wide at once and, on "&Output", hands back the path, the
// channel flags and the epoch range; its opener writes the file.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;

class LyrRawDlgTextOutput : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 477;
  static constexpr int kComma = 1563;
  static constexpr int kTab = 1564;
  static constexpr int kMaxLineCheck = 1565;
  static constexpr int kMaxLineEdit = 1566;
  static constexpr int kPath = 1568;
  static constexpr int kPathText = 1569;
  static constexpr int kStartFrame = 1570;
  static constexpr int kEndFrame = 1571;
  static constexpr int kSelectChannels = 1668;
  static constexpr int kChannelList = 1078;

  explicit LyrRawDlgTextOutput(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrRawDlgTextOutput() override;

  bool OnInitDialog() override;
  // "&Output": asks for what is missing (path, channels, a valid line limit); otherwise reads
  // the range from the two panels and ends with IDOK.
  void OnOK() override;

  // Results, read by the opener after IDOK.
  std::string m_Path;
  std::array<std::uint16_t, 32> m_Flags{};
  std::int32_t m_StartEpoch = 0;
  std::int32_t m_EndEpoch = 0;
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

  LyrDlgTimePoint* StartPanel() const { return start_.get(); }
  LyrDlgTimePoint* EndPanel() const { return end_.get(); }

 private:
  void OnPath();
  void OnMaxLine();
  void OnSelectChannels();
  void FillList();
  void ShowPath();

  std::unique_ptr<LyrDlgTimePoint> start_;
  std::unique_ptr<LyrDlgTimePoint> end_;
};

// The line count typed into the limit edit: a whole number from 1 to 2147483647, surrounding
// blanks allowed; nothing otherwise.
std::optional<std::int32_t> ParseTextOutputMaxLines(const std::string& text);
