#pragma once
// The spectrum text outputs of the workspace menu. Both walk the chosen epochs one per tick of
// timer 8108, so that each epoch change computes its spectra the ordinary way, and write a
// delimited table to a file (beside it, then renamed into place) or the clipboard.
//
// "A&verage FFT...": one channel's spectra averaged per stage row (or over all epochs) in time
// divisions of a number of epochs. "C&ontinuous FFT...": every chosen channel's spectrum, one
// line an epoch, optionally in parts of a number of lines.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/workspace/fft_text_output.h"
#include "app/workspace/workspace_settings.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;

inline constexpr int IDD_TEXT_OUT_CONTINUOUS = 178;
inline constexpr int IDD_TEXT_OUT_AVERAGE = 179;
inline constexpr std::uint32_t kFftOutputTimer = 8108;

// The stage-graph row flags (StageGraphStageFlag, SetStageGraphStageFlag) are the stage
// graph's, in workspace_settings.h.

// The default output path: the recording's (or, with results, the result file's) folder and
// name with the suffix, extension "txt".
std::string FftOutputDefaultPath(const CQLM2_AnalyzerDoc& doc, const std::string& suffix);

class LyrWorkspaceDlgTextOutAverage : public ui::Dialog {
 public:
  static constexpr int kStart = 1560, kPause = 1614, kStop = 1562, kPath = 1568, kPathText = 1569;
  static constexpr int kStageList = 1570, kChannel = 1572, kComma = 1563, kTab = 1564;
  static constexpr int kFile = 1664, kClipboard = 1667, kDivisionNo = 1613, kPerStages = 1959, kDisregard = 1960;
  static constexpr int kStageCol = 1573, kTotalCol = 1583, kAverageCol = 1593, kRejectCol = 1603;

  LyrWorkspaceDlgTextOutAverage(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrWorkspaceDlgTextOutAverage() override;
  std::string MakeDefaultFileName() const;
  bool OnInitDialog() override;
  void OnTimer(std::uint32_t id) override;
  void OnDestroy() override;
  void OnStart();
  void OnStop();
  // Writes the tables; 1 when every table was written, else 0.
  int OutputText();

  int Unattended = 0;
  std::string OutputPath;
  std::string StagePath;
  std::string AllPath;
  std::int32_t StartEpoch = 0;
  std::int32_t EndEpoch = 0;
  // 1 per stage, 0 all epochs, -1 both.
  std::int16_t StageMode = 1;
  // 1 once a table was written (an unattended run ends IDOK only then).
  int Written = 0;

 private:
  void SetRunning(bool running);
  void FillStageList();
  void ResetCountDisplay();
  void Accumulate();
  void ShowCounts(int row);
  void OnPath();
  std::vector<int> SelectedRows() const;
  std::string EpochLabel(int epoch) const;
  bool WriteTable(const std::string& path, const std::string& body);

  CQLM2_AnalyzerDoc* doc_;
  std::array<std::uint16_t, 32> savedFlags_{};
  int overwriteConfirmed_ = 0;
  std::vector<int> rowCodes_;
  std::vector<ffttext::DivisionTable> rows_;
  ffttext::DivisionTable all_;
  int divisions_ = 0;
  int division_ = 0;
  int perDivision_ = 1;
  int first_ = 0;
  int last_ = 0;
  int channel_ = -1;
  int bins_ = 0;
  bool running_ = false;
  std::unique_ptr<LyrDlgTimePoint> start_, end_, divisionPicker_;
};

class LyrWorkspaceDlgTextOutContinuous : public ui::Dialog {
 public:
  static constexpr int kSelect = 1668, kList = 1078, kPath = 1568, kPathText = 1569, kPause = 1614;
  static constexpr int kArtifact = 1567, kMaxEdit = 1566, kMaxCheck = 1565, kStop = 1562, kStart = 1560;
  static constexpr int kFile = 1664, kClipboard = 1667, kComma = 1563, kTab = 1564;

  LyrWorkspaceDlgTextOutContinuous(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrWorkspaceDlgTextOutContinuous() override;
  bool OnInitDialog() override;
  void OnTimer(std::uint32_t id) override;
  void OnDestroy() override;
  void OnOK() override;
  void OnStart();
  void OnStop();
  int OutputText();
  // Joins the channels' lines into the output; 1 when it was written whole.
  int MakeTextFile();

  int Unattended = 0;
  std::string OutputPath;
  std::int32_t StartEpoch = 0;
  std::int32_t EndEpoch = 0;
  int Written = 0;
  // Paths of the channels' temporary files of the run in progress (tests look at them).
  std::vector<std::string> TempPaths() const;

 private:
  void SetRunning(bool running);
  void FillList();
  void OnPath();
  void DropTempFiles();
  std::vector<int> Flagged() const;
  std::string EpochLabel(int epoch) const;

  CQLM2_AnalyzerDoc* doc_;
  int overwriteConfirmed_ = 0;
  int first_ = 0;
  int last_ = 0;
  bool running_ = false;
  struct TempFile {
    int channel = -1;
    std::string path;
  };
  std::vector<TempFile> temps_;
  std::unique_ptr<LyrDlgTimePoint> start_, end_;
};
