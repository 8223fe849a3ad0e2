#pragma once
// "Human report" (modeless, template 481): the options of the sleep report, the four time
// markers that bound its statistics (moved one at a time through the "Time" dialog), and the
// report builder itself. The builder writes the report section by section as delimited text,
// to a file (written beside it and renamed into place when complete) or to the clipboard.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/document/text_sink.h"
#include "app/trend/lyr_trend_values.h"
#include "platform/system/clock.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgReportTime;
class LyrDlgTimePoint;

// The report's time markers (epoch indexes), reset to their defaults whenever the dialog opens
// and never stored.
extern std::int32_t BedInEpoch;
extern std::int32_t SleepOnsetEpoch;
extern std::int32_t LastSleepPageEpoch;
extern std::int32_t BedOutEpoch;

inline constexpr int IDD_HUMAN_REPORT = 481;

// One respiratory event type over the time in bed.
struct ApneaTypeStats {
  std::int32_t count = 0;
  double totalMinutes = 0.0;
  double longestSeconds = 0.0;
  double meanSeconds = 0.0;
  std::int32_t from10To20 = 0;
  std::int32_t from20To30 = 0;
  std::int32_t atLeast30 = 0;
  double indexPerHour = 0.0;
};

// One respiratory event type over the sleep-period epochs of a set of stages.
struct ApneaTypeStageStats {
  std::int32_t count = 0;
  double totalMinutes = 0.0;
  double longestSeconds = 0.0;
  double meanSeconds = 0.0;
  double countTimesEpochMinutes = 0.0;
};

// One heart-rate column (a set of stages) over the time in bed.
struct HeartRateStats {
  double minutes = 0.0;
  double meanHr = 0.0;
  double sdHr = 0.0;
  double cvHr = 0.0;
  double meanRr = 0.0;
  double sdRr = 0.0;
  double cvRr = 0.0;
};

// One oximetry criterion over the sleep period.
struct DesaturationStats {
  std::int32_t episodes = 0;
  double indexPerHour = 0.0;
  std::int32_t pointsBelow = 0;
  double meanSeconds = 0.0;
  double meanNadir = 0.0;
};

// One body-position class.
struct BodyPositionStats {
  std::int32_t entries = 0;
  double minutes = 0.0;
  std::int32_t central = 0;
  std::int32_t obstructive = 0;
  std::int32_t mixed = 0;
  std::int32_t hypopnea = 0;
  double wakePercent = 0.0;
  double remPercent = 0.0;
  double nremPercent = 0.0;
};

// Limb movements of one leg (or both) over the sleep period.
struct PLMsStats {
  std::int32_t periodic = 0;
  std::int32_t movements = 0;
  double seconds = 0.0;
};

class LyrDlgReport : public ui::Dialog {
 public:
  // Controls of template 481.
  static constexpr int kBedIn = 2701, kSleepOnset = 2702, kLastSleep = 2703, kBedOut = 2704;
  static constexpr int kBedInText = 2705, kSleepOnsetText = 2706, kLastSleepText = 2707, kBedOutText = 2708;
  static constexpr int kFile = 2710, kClipboard = 2711, kPath = 2712, kPathText = 2713;
  static constexpr int kRemCycle = 2714, kWakeDuration = 2715, kSpO2Level = 2716;
  static constexpr int kFirstSection = 2720;  // ten check boxes, 2720 .. 2729
  static constexpr int kComma = 2730, kTab = 2731;
  enum Section { kInformation, kAnalysis, kStages, kRespiration, kHeartRate, kOximetry, kPosition, kArousal, kCpap, kOthers };

  explicit LyrDlgReport(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrDlgReport() override;

  bool OnInitDialog() override;
  // "&Output": the markers and the options are tested, then the report is written.
  void OnOK() override;
  // "Close" and Escape: an open Time dialog ends as cancelled, then the workspace frame is
  // asked to destroy this dialog.
  void OnCancel() override;

  void OnBBi() { OpenTime(1); }
  void OnBSo() { OpenTime(2); }
  void OnBLs() { OpenTime(3); }
  void OnBBo() { OpenTime(4); }
  // The Time dialog's result: the picked epoch, or -1 for none.
  void OnTimeDecided(std::int32_t epoch);
  // The picker of the open Time dialog (null while none is open).
  LyrDlgTimePoint* TimePanel() const;
  LyrDlgReportTime* TimeDialog() const { return time_.get(); }

  // The delimiter radios of the text-output dialogs: they set the program-wide delimiter.
  static void OnDelimiterComma();
  static void OnDelimiterTab();

  // Which sections the recording's channels allow.
  void SetObjectEnables();
  int CheckOutputSettings();
  void SetDefaultTimes();
  int CheckTimes();

  // --- The builder -------------------------------------------------------------------------
  // Writes the whole report to the output path (file mode) or the clipboard. 1 when it was
  // complete and in place; 0 after a failure, which has been told (an earlier file is kept).
  int OutputReport();
  int OutputString(const std::string& text);
  int OutputCR();

  int OutputHedder();
  int OutputDataInfomation();
  int OutputAnalysisParameters();
  int OutputSleepStageData();
  int OutputStageDistribution();
  int OutputREMCycle();
  int OutputREMLatency();
  int OutputCommon();
  int OutputRespiration();
  int OutputHeartRate();
  int OutputOXIMETRY();
  int OutputBodyPosition();
  int OutputEEGArousal();
  int OutputCPAP();
  int OutputOthers();

  std::int32_t CountTIB() const { return BedOutEpoch - BedInEpoch + 1; }
  std::int32_t CountSPT() const { return LastSleepPageEpoch - SleepOnsetEpoch + 1; }
  std::int32_t CountTST() const;
  std::int32_t CountStage(int stageType, int code, std::int32_t first, std::int32_t last) const;
  std::int32_t CountWASO() const;

  void GetApneaTypeStats(ApneaTypeStats& out, int category, int sub);
  void GetApneaTypeStageStats(const int* stages, int setSize, int category, int sub, ApneaTypeStageStats& out);
  void GetHeartRateStats(const std::array<int, 4>& codes, std::int32_t first, std::int32_t last, HeartRateStats& out);
  void GetSpO2MeanLowest(double& mean, double& lowest) const;
  void GetDesaturationStats(double level, DesaturationStats& out) const;
  void GetBodyPositionStats(int positionClass, BodyPositionStats& out);
  std::int32_t CountEventsInPosition(int positionClass, int category, int sub);
  std::int32_t CountPositionEpochsInStages(int positionClass, const std::array<int, 4>& codes);
  void ClassifyCPAPByEventType(int eventCode, std::array<std::int32_t, 23>& classes) const;
  void GetSnoreStats(std::int32_t& count, double& meanSeconds, double& totalMinutes, double& percentOfSpt);
  void GetPLMsStats(PLMsStats& both, PLMsStats& right, PLMsStats& left);

  // The clock the "Printed day" line reads (tests fix it).
  static sys::LocalTime (*Now)();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::int32_t m_ReplaceConfirmed = 0;
  std::array<std::uint16_t, 10> m_Offered{};
  std::string m_OutputPath;
  std::int32_t m_TIB = 0, m_TST = 0, m_SPT = 0;

 private:
  void OpenTime(int kind);
  void OnBPath();
  void ShowTimes();
  void OnDestination(bool clipboard);
  // The stage of an epoch as the report reads it: merged by the stage type, the +20 family
  // taken as its base code.
  int Stage(std::int32_t epoch) const;
  int StageType() const;
  std::int32_t Epochs() const;
  std::string EpochTime(std::int32_t epoch) const;
  char Delimiter() const;
  // Runs a section, turning a failure inside it into its own message and a 0.
  int Guarded(const char* name, int (LyrDlgReport::*section)());
  // Writes one line: the text and a line end.
  void Line(const std::string& text);
  // The stage codes listed under the current stage type, and its NREM set.
  std::vector<int> StageList() const;
  std::vector<int> NremSet() const;
  // Respiration block of one set of stages over the sleep period.
  void RespirationStageBlock(const std::string& name, const std::vector<int>& set, bool dottedMax, bool trailingCell);
  double RespiratoryIndexSum(const std::vector<int>& set);

  std::unique_ptr<LyrDlgReportTime> time_;
  LyrTrendGraphValues values_;
  // The sink of one report: a file, or the text for the clipboard.
  bool toClipboard_ = false;
  TextSink file_;
  std::string clipText_;
  bool writeFailed_ = false;
};

// "Time" (modeless, template 482): the picker of one marker, opened by the report dialog.
class LyrDlgReportTime : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 482;
  static constexpr int kPickerHolder = 2750;
  LyrDlgReportTime(CQLM2_AnalyzerDoc* doc, LyrDlgReport* report, int kind, std::int32_t epoch);
  ~LyrDlgReportTime() override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  LyrDlgTimePoint* Picker() const { return picker_.get(); }

  // 1 Bed in, 2 Sleep onset, 3 Last sleep page, 4 Bed out.
  std::int32_t m_Kind = 0;
  std::int32_t m_Epoch = 0;
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  LyrDlgReport* report_ = nullptr;
  std::unique_ptr<LyrDlgTimePoint> picker_;
};
