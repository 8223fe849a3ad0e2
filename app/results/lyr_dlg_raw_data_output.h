#pragma once
// "Raw Data Output": the file, channels and epoch range of a cut of the open recording into a
// new raw data file, with a result file and the video files of the range if asked.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;

class LyrDlgRawDataOutput : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 479;
  static constexpr int kPath = 1580;
  static constexpr int kPathText = 1581;
  static constexpr int kChannelList = 1582;
  static constexpr int kVideoCheck = 1583;
  static constexpr int kResultCheck = 1584;
  static constexpr int kStartFrame = 1585;
  static constexpr int kEndFrame = 1586;

  explicit LyrDlgRawDataOutput(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrDlgRawDataOutput() override;

  bool OnInitDialog() override;
  // "&Output": asks for what is missing (path, channels, leave to replace a result file);
  // otherwise takes the choices and ends with IDOK.
  void OnOK() override;

  // Results, read by the opener after IDOK.
  std::int32_t m_EndEpoch = 0;
  std::int32_t m_StartEpoch = 0;
  std::int32_t m_VideoAvailable = 0;  // set by the opener: the video player library is bound
  std::int32_t m_VideoOutput = 0;
  std::int32_t m_ResultOutput = 0;
  std::string m_Path;
  std::array<std::int32_t, 32> m_ChannelSelected{};
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

  LyrDlgTimePoint* StartPanel() const { return start_.get(); }
  LyrDlgTimePoint* EndPanel() const { return end_.get(); }

 private:
  void OnPath();

  std::unique_ptr<LyrDlgTimePoint> start_;
  std::unique_ptr<LyrDlgTimePoint> end_;
};

// The result file written beside a raw output: the path with its extension replaced by "RAF".
std::string RawOutputResultPath(const std::string& path);
