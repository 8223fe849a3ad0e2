#pragma once
// "Text Output" of the trend table (dialog 209) and of the ECG R-R intervals (dialog 492):
// file or clipboard, path, delimiter, line limit and the epoch range on two time-point panels.
// The trend dialog hands back the path and the range; the R-R dialog writes the list itself.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;

class LyrDlgTextOutputRange : public ui::Dialog {
 public:
  static constexpr int kList = 1633;
  static constexpr int kFile = 1664;
  static constexpr int kClipboard = 1667;
  static constexpr int kPath = 1568;
  static constexpr int kPathText = 1569;
  static constexpr int kComma = 1563;
  static constexpr int kTab = 1564;
  static constexpr int kMaxLineCheck = 1565;
  static constexpr int kMaxLineEdit = 1566;
  static constexpr int kArtifactExcludes = 1567;
  static constexpr int kStartFrame = 1570;
  static constexpr int kEndFrame = 1571;

  LyrDlgTextOutputRange(int templateId, ui::Window* parent);
  ~LyrDlgTextOutputRange() override;
  bool OnInitDialog() override;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::int32_t m_StartEpoch = 0;
  std::int32_t m_EndEpoch = 0;
  std::string m_Path;

  LyrDlgTimePoint* StartPanel() const { return start_.get(); }
  LyrDlgTimePoint* EndPanel() const { return end_.get(); }

 protected:
  // The common part of "&Output": asks for a missing path (false: the dialog stays), takes
  // the line limit and the range (swapped when reversed).
  bool TakeCommonValues();
  void OnPath(const std::string& initialFolder);

 private:
  void OnDestination(bool clipboard);
  std::unique_ptr<LyrDlgTimePoint> start_;
  std::unique_ptr<LyrDlgTimePoint> end_;
};

// Dialog 209: the trend table.
class LyrDlgTrendTextOutput : public LyrDlgTextOutputRange {
 public:
  static constexpr int kTemplateId = 209;
  explicit LyrDlgTrendTextOutput(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
};

// Dialog 492: the ECG R-R intervals, written on "&Output".
class LyrDlgEcgRrTextOutput : public LyrDlgTextOutputRange {
 public:
  static constexpr int kTemplateId = 492;
  explicit LyrDlgEcgRrTextOutput(ui::Window* parent = nullptr);
  void OnOK() override;
  int WriteEcgRr(std::int32_t start, std::int32_t end);
};

// The line limit's magnitude whatever its sign (the sign switches it on and off).
std::int32_t TextOutputLimitMagnitude(std::int32_t v);
