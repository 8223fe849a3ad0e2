#pragma once
// LyrMultiScreening: the engine of a multi-screening batch. For every listed recording it
// opens the recording as the program's document, groups its channels into animals, reads it
// in blocks of 1,800 seconds to compute every animal's per-epoch trend values, writes one
// result file per animal, then stages each animal by the conditions, works out its channel
// gains and completes the file. It runs on the user-interface thread; its progress window
// keeps the program responsive and offers Cancel between steps.
//
// Each animal's result file is built beside its final name and renamed into place only when
// it is staged, so a cancel or a failure never leaves an unstaged file under the result
// name, and an earlier result stays until a new one replaces it whole.
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/scoring/multi_screening_setting.h"

class CQLM2_AnalyzerDoc;
class LyrDlgOutputProgress;

// What one animal's result file holds after the trend phase, all channels of the recording.
struct MsTrendFileData {
  std::vector<std::uint8_t> info;           // the 9,216-byte information block
  int channels = 0;                         // C
  int epochs = 0;                           // N
  std::array<float, 32> scale{};            // the channel block's values
  std::array<std::uint16_t, 32> flags{};    // and flags
  const std::vector<float>* emg = nullptr;  // N EMG integrals, or none
  std::vector<const std::vector<float>*> eeg;  // per FFT channel: N x 12 (6 powers, 6 ratios)
  // Per recording channel: N x 6 free-trend values {abs max, integral, max, min, mean, CV%}
  // (null: zeros) and N cross counts (null: zeros).
  std::vector<const std::vector<float>*> free;
  std::vector<const std::vector<std::uint16_t>*> cross;
  std::array<std::uint8_t, 524> markType{};
};
// The bytes of the file: header, information block, channel block, N epoch records (all zero
// but the EMG integral at bytes 184-187), band values, the seven per-channel arrays, the
// mark-type block and no marks or range lists.
std::string BuildMsTrendFile(const MsTrendFileData& data);

class LyrMultiScreening {
 public:
  explicit LyrMultiScreening(LyrMultiScreeningSetting& settings);
  virtual ~LyrMultiScreening();
  LyrMultiScreening(const LyrMultiScreening&) = delete;
  LyrMultiScreening& operator=(const LyrMultiScreening&) = delete;

  // Processes the file list. 1 when every recording was processed; 0 at once on Cancel, a
  // failed allocation or a result file that cannot be written or read back; 0 at the end when
  // some recordings could not be opened or set up (they are skipped).
  int Run();
  void EndProgress();

  // Why recordings were skipped, one line each, for the closing message.
  const std::vector<std::string>& Notes() const { return notes_; }
  // The information block of a result file before any recording is known (the defaults).
  static std::vector<std::uint8_t> DefaultInfoBlock();
  // Result files written by the run, in order.
  const std::vector<std::string>& ResultFiles() const { return results_; }
  LyrDlgOutputProgress* Progress() const { return progress_.get(); }
  // Step counter and range of the progress window of the current recording.
  std::uint32_t ProgressHigh() const { return progressHigh_; }

  // Called at every progress step with its number (tests press Cancel through it).
  static void SetStepHookForTesting(std::function<void(LyrMultiScreening&, int step)> hook);

  // Range of one recording: start s0 and end s1 in seconds from its start; false when the
  // start lies at or beyond the end of the recording.
  static bool AnalysisRange(const LyrMultiScreeningSetting& s, bool hasStartTime,
                            const std::array<std::uint16_t, 7>& recordingStart, int recordingSeconds, int* s0,
                            int* s1);
  // Channels per animal for a recording of `channels` channels (0 when none fits).
  static int ChannelsPerAnimalFor(const LyrMultiScreeningSetting& s, int channels);
  // The result file of animal a (from 1) and the folder it goes to.
  static std::string ResultName(const std::string& rawPath, int animal);

 private:
  struct Tables;
  struct Recording;

  bool Step(const std::string& text);
  bool OpenRecording(int index, Recording* rec);
  bool ProcessRecording(int index, Recording& rec);
  bool TrendPhase(Recording& rec, Tables& t);
  bool ReadFilteredBlock(Recording& rec, int block, std::vector<float>& buffer, std::vector<std::size_t>& valid);
  bool WriteTrendFile(Recording& rec, Tables& t, int animal, const std::string& path);
  bool StageAnimal(Recording& rec, int animal, const std::string& path);
  std::string ResultFolderFor(const std::string& rawPath);
  void FillInfoDefaults();

  LyrMultiScreeningSetting& settings_;
  CQLM2_AnalyzerDoc* doc_ = nullptr;
  std::string ResultBasePath;
  std::int32_t AnimalCount = 0;
  std::int32_t ChannelsPerAnimal = 0;
  std::int32_t BlockSampleCount = 0;
  std::int32_t EpochCount = 0;
  std::int32_t BlockCount = 0;
  std::int32_t FirstHourBlockCount = 0;
  std::array<float, 32> ChannelGain{};
  std::array<LogicCondition, LogicParam::kConditionsPerSet> ConditionLevels{};
  std::vector<std::uint8_t> InfoBlock;

  std::unique_ptr<LyrDlgOutputProgress> progress_;
  int step_ = 0;
  std::chrono::steady_clock::time_point lastPump_{};
  std::uint32_t progressHigh_ = 0;
  bool cancelled_ = false;
  std::vector<std::string> notes_;
  std::vector<std::string> results_;
};
