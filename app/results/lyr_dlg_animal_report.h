#pragma once
// The animal report: one CSV file per chosen output object (stage graph, dose latency, trend
// graph, average and continuous FFT, vigilance-state episodes) for an epoch range of the open
// recording, all named from one base path, optionally gathered into one workbook.
//
// "Animal report" (311) holds the range, the stage list, the base path and two tab pages:
// "Output object" (312, LyrDlgReportObjectPage) and "Set Episode length" (314,
// LyrDlgEpisodeLengthPage), whose rows open "Set episode length" (315, LyrDlgSetEpisodeLength).
//
// The program-wide settings these dialogs edit live in their settings-file slots:
//   AnimalOutputObjectFlags  AnimalReportSettings[0..3], two 16-bit flags to a word
//   AnimalExcelBook          AnimalReportSettings[4]
//   UseEpisodeSetting        AnimalReportSetting (app/scoring/lyr_re_stage_with_episode.h)
//   AnimalStageSelection     the stage graph's stage flags (ReportWorkspaceSettings)
//   ArtifactExcludes         WorkspaceOutputSetting
//   DoseTimeSeconds          ReportEpochSelections
//   EpisodeSettingTable      StageEpisodeRules
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frame/program_settings.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;
class LyrDlgOutputProgress;
class LyrReStageWithEpisode;

inline constexpr int IDD_ANIMAL_REPORT = 311;
inline constexpr int IDD_REPORT_OBJECT_PAGE = 312;
inline constexpr int IDD_EPISODE_LENGTH_PAGE = 314;
inline constexpr int IDD_SET_EPISODE_LENGTH = 315;

// Output objects, in the order of AnimalOutputObjectFlags.
enum AnimalObject {
  kObjStageGraph = 0,
  kObjDoseLatency = 1,
  kObjTrendGraph = 2,
  kObjAverageFftStages = 3,
  kObjAverageFftAll = 4,
  kObjContinuousFft = 5,
  kObjVigilanceTransition = 6,
  kObjVigilanceCount = 7,
  kAnimalObjects = 8
};

// Object flag k (0 or 1) and its store.
int AnimalObjectFlag(int k);
void SetAnimalObjectFlag(int k, int on);
// "Output as one Excel book".
inline std::uint32_t& AnimalExcelBook = AnimalReportSettings[4];

// File of an object: drive + folder + name of the base path, the suffix, then its extension.
std::string AnimalObjectPath(const std::string& basePath, int object);
// Range of the progress window for the chosen objects (flags[k] non-zero: chosen).
std::uint32_t AnimalProgressRange(const std::array<int, kAnimalObjects>& flags);
// Time value (seconds of the calendar, as the dose-latency output takes them) of a dose s
// seconds into the recording, and the seconds of a time value.
std::int64_t DoseTimeValue(const CQLM2_AnalyzerDoc& doc, std::int64_t seconds);
std::int64_t DoseSecondsOf(const CQLM2_AnalyzerDoc& doc, std::int64_t value);

// "Set episode length": one stage's rule, seconds and epochs following each other.
class LyrDlgSetEpisodeLength : public ui::Dialog {
 public:
  static constexpr int kStage = 9361, kEpisodeSec = 9362, kEpisodeEpochs = 9363;
  static constexpr int kDetectSec = 9364, kDetectEpochs = 9365, kAllow = 9366;

  explicit LyrDlgSetEpisodeLength(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  std::string m_StageName;
  std::int32_t m_EpisodeSec = 0;
  std::int32_t m_DetectSec = 0;
  std::int32_t m_Allow = 0;

 private:
  // An edit of a seconds field sets its epochs, and the other way round.
  void Follow(int from, int to, bool fromSeconds);
  bool following_ = false;
};

// Page "Output object".
class LyrDlgReportObjectPage : public ui::Dialog {
 public:
  static constexpr int kStageGraph = 9311, kSgDuration = 9312, kSgMinutes = 9313, kSgMin = 9314;
  static constexpr int kGraphUnit = 9315, kXLabel = 9316, kXOrigin = 9317, kXReal = 9318;
  static constexpr int kYLabel = 9319, kYPercent = 9320, kYTime = 9321;
  static constexpr int kDoseLatency = 9322, kDose1 = 9323, kDoseText1 = 9326;
  static constexpr int kTrendGraph = 9329, kTrendNote = 9330;
  static constexpr int kVsDuration = 9331, kVsHours = 9332, kVsHr = 9333;
  static constexpr int kVsTransition = 9334, kVsCount = 9335;
  static constexpr int kTrimLabel = 9336, kTrimManual = 9337, kTrimAuto = 9338;
  static constexpr int kAfStages = 9339, kAfAll = 9340, kChannelLabel = 9341, kChannel = 9342;
  static constexpr int kContinuous = 9343, kSelectCh = 9344, kSelectChText = 9345;
  // Check box of each object, in object order.
  static constexpr std::array<int, kAnimalObjects> kObjectChecks{kStageGraph, kDoseLatency, kTrendGraph, kAfStages,
                                                                 kAfAll,      kContinuous,  kVsTransition, kVsCount};

  explicit LyrDlgReportObjectPage(ui::Window* parent = nullptr);
  bool OnInitDialog() override;

  // Enables the controls of the chosen objects.
  void UpdateEnables();
  // Object flag k as checked now.
  int Checked(int k) const { return IsDlgButtonChecked(kObjectChecks[static_cast<std::size_t>(k)]); }
  // Reads the number fields. tell: a range message and the field focused when one is out of
  // its range, and false; otherwise such a field keeps its former value.
  bool TakeValues(bool tell = true);
  // Messages 2514, 2516, 2528, 2517 after TakeValues, focus on the field; true when fine.
  bool Validate();
  void Store();
  // Dose k from seconds of the recording (the text "None" and epoch -1 outside it).
  void DoseFromSeconds(int k, std::int64_t seconds);
  void EditDose(int k);
  void OnSelectChannels();
  // The text beside ">>Select ch": the channels whose FFT flag is on.
  std::string SelectedChannelsText() const;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // The range end the vigilance hours start from (Part of the report's defaults).
  std::int32_t m_LastEpoch = 0;
  std::array<std::int64_t, 3> m_DoseTime{};
  std::array<std::int32_t, 3> m_DoseEpoch{-1, -1, -1};
  // The stage-graph minutes and the vigilance hours, as TakeValues read them.
  int m_Minutes = 0;
  int m_Hours = 0;

 private:
  // A number field read as an integer within low..high; a range message and focus otherwise.
  bool ReadNumber(int id, int low, int high, int* value, bool tell);
};

// Page "Set Episode length".
class LyrDlgEpisodeLengthPage : public ui::Dialog {
 public:
  static constexpr int kUse = 9351, kList = 9352;

  explicit LyrDlgEpisodeLengthPage(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // Message 2515 with the row selected and focused; true when fine.
  bool Validate();
  void Store();
  void OnDoubleClick();
  // The stage names of the rows.
  std::vector<std::string> m_Stages;
  // The owner's tab label follows the check box.
  std::function<void()> OnUseChanged;

 private:
  void SizeColumns();
  void FillRow(int row, const StageEpisodeRule& rule);
};

class LyrDlgAnimalReport : public ui::Dialog {
 public:
  static constexpr int kStartFrame = 9301, kEndFrame = 9302, kStageList = 9303, kArtifact = 9304;
  static constexpr int kTab = 9305, kRoom = 9306, kSelectFolder = 9307, kBasePath = 9308, kExcelBook = 9309;

  explicit LyrDlgAnimalReport(ui::Window* parent = nullptr);
  ~LyrDlgAnimalReport() override;
  bool OnInitDialog() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDestroy() override;
  // "Output": the run.
  void OnOK() override;
  // "Close": stores the settings and closes.
  void OnCancel() override;
  void OnSelectFolder();
  void ShowPage(int index);
  // The second tab's label: "*Set Episode length" while episodes are used.
  void UpdateEpisodeTab();
  // The run from its checks to its final question; returns after the question or a stop.
  void RunOutputs();

  LyrDlgReportObjectPage& ObjectPage() { return objectPage_; }
  LyrDlgEpisodeLengthPage& EpisodePage() { return episodePage_; }
  LyrDlgTimePoint* StartPanel() const { return start_.get(); }
  LyrDlgTimePoint* EndPanel() const { return end_.get(); }
  // The progress window while the outputs run, else null.
  LyrDlgOutputProgress* RunningProgress() const { return progress_; }

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::string m_BasePath;
  std::uint32_t m_ExcelBook = 0;
  std::uint16_t m_ArtifactExcludes = 0;
  std::int32_t m_StartEpoch = 0;
  std::int32_t m_EndEpoch = 0;

 private:
  ui::Rect PageRect() const;
  bool CheckAnalysed();
  void StoreSettings();
  // Checks that every chosen object's file can be made, changing nothing on disk.
  bool CheckOutputFiles(const std::array<int, kAnimalObjects>& flags) const;
  // The outputs between the checks and the final question; false when stopped.
  bool WriteOutputs(const std::array<int, kAnimalObjects>& flags);
  void SelectTab(int index);
  void OutputStageGraph(const std::string& path);
  void OutputDoseLatency(const std::string& path, LyrReStageWithEpisode* restage);
  void OutputTrendGraph(const std::string& path);
  // Computes the episodes; false when that failed and nothing can be written.
  bool ApplyVigilanceState(LyrReStageWithEpisode* restage);
  void OutputVigilanceState(int kind, const std::string& path);
  void OutputContinuousFft(const std::string& path);
  void OutputAverageFft(const std::array<int, kAnimalObjects>& flags);
  void RunExcelBook();

  LyrDlgReportObjectPage objectPage_;
  LyrDlgEpisodeLengthPage episodePage_;
  std::unique_ptr<LyrDlgTimePoint> start_, end_;
  LyrDlgOutputProgress* progress_ = nullptr;
};
