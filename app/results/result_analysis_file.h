#pragma once
// ResultAnalysisFile: saving and opening a scored night (.raf) with its two companion files.
//
// The writer serialises the document's tables for a range of epochs and a choice of
// channels, and replaces the file only when the whole of it was written. The reader takes a
// file apart into temporaries of its own, asks the consistency questions, checks every count
// against the tables it fills, and only then hands the tables, settings and globals to the
// document in one step: a refused or damaged file leaves the document as it was.
//
// The tables, settings blocks and values the file touches are passed by reference, so the
// main frame's commands are thin adapters over these functions.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"
#include "app/document/epoch_parameter.h"
#include "app/document/mark_table.h"
#include "app/document/seizure_finding.h"
#include "app/document/sleep_dstrb_tables.h"

// What a result file is written from and read into.
struct ResultFileDocument {
  LyrEpochParameter& epochs;
  SleepDstrbTables& recognition;
  MarkTable& marks;
  AnalysisParamBlocks& params;
  std::array<LyrChInfo, 32>& channels;
  LyrRecordInfo& record;                     // raw path, channel count, source kind, subject, start time
  std::array<std::string, 5>& memos;         // at most 60 characters each
  std::int32_t& lastScreenedEpoch;           // -1 none
  std::int32_t& analysedSeconds;             // whole epochs of the analysed part
  std::string& resultPath;                   // the document's result-file path
  std::vector<std::uint8_t>& waveDetectMarks;  // one byte per 0.1 s
  WaveDetectParamRecord& waveDetectParam;
  std::int32_t& waveDetectDivision;          // minutes per line of the detection list
  // Recording length in seconds (smallest data count / rate over the channels).
  int recordSeconds = 0;
  // Sum of 100 raw 16-bit samples from `second` of each flagged channel (all channels
  // without flags); the check value of the file.
  std::function<std::uint32_t(int second, const std::array<int, 32>* flags)> rawSampleSum;
  // For recordings read through an import plug-in: the plug-in's data type of the recording
  // (0 or 1 let the raw check run).
  std::function<int()> pluginDataType;
  // Stores the mode switches after the animal-only mode was turned off.
  std::function<void()> saveModeSetting;
};

// Where messages and questions go; the answer is the pressed button (IDOK, IDYES...).
class ResultFileUi {
 public:
  virtual ~ResultFileUi() = default;
  virtual int Message(const std::string& text, std::uint32_t type) = 0;
};

// Message boxes of the platform.
class ResultFileMessageBoxes : public ResultFileUi {
 public:
  int Message(const std::string& text, std::uint32_t type) override;
};

// ---- writing ---------------------------------------------------------------------------

struct ResultWriteRequest {
  std::string rawPath;                 // stored as the raw data path
  std::string path;                    // the result file
  int startEpoch = 0;
  int endEpoch = 0;                    // inclusive
  std::array<std::string, 5> memos;
  int selectedCount = 0;               // 0: all channels
  std::array<int, 32> selected{};      // non-zero: the channel is stored
  bool besideRawOutput = false;        // stores range start 0 (a raw output begins at the range)
};

// The whole file for the request; false when the request does not fit the document
// (range outside the epochs, a selection naming no channel or no recording).
bool BuildResultFileBytes(const ResultFileDocument& doc, const ResultWriteRequest& req, std::string* out);

// WriteResultFile: builds the file and puts it into place, then writes the two companion
// files beside it. On success the result state becomes 1 and the document's result path the
// file's; returns 1. On any failure the previous file stays as it was, the message says why,
// and 0 is returned with the state unchanged.
int WriteResultFile(ResultFileDocument& doc, const ResultWriteRequest& req, ResultFileUi& ui);

// ---- reading ---------------------------------------------------------------------------

// Header, version and information block (version-9 form) of a file held in memory.
struct RafHead {
  int version = 0;
  std::uint32_t extended = 0;
  std::vector<std::uint8_t> info;       // 9,216 bytes
  std::vector<std::uint8_t> scale;      // 192 bytes, versions 5 and later
  std::uint32_t epochs = 0;             // N
  std::size_t bodyOffset = 0;           // file offset of the first epoch record
};
enum class RafHeadStatus { kOk, kNotResultFile, kVersionRefused, kDamaged };
RafHeadStatus ReadRafHead(std::span<const std::uint8_t> file, RafHead* head);

// The five memos of a result file, for the open dialog's preview: false, with the memos
// empty, for a file that is not one; a version that is refused is said.
bool ReadRafMemos(const std::string& path, ResultFileUi& ui, std::array<std::string, 5>* memos);

// The raw data path stored in a result file, or empty after "Cannot open this file.".
std::string GetRafRawDataPath(const std::string& path, ResultFileUi& ui);

// What an open did besides filling the document.
struct ResultOpenOutcome {
  int version = 0;
  bool rewritePath = false;        // the user accepted a differing raw data path
  bool lastStageModeCleared = false;
  bool textStages = false;         // the path was a text stage list
};

// OpenResultProcess: a ".txt" path is read as text stages; otherwise the result file is
// checked against the open recording (questions through ui), read into temporaries and
// taken over as a whole. Returns 1 when taken over (or after a text import), 0 otherwise;
// after 0 the document is unchanged.
int OpenResultProcess(ResultFileDocument& doc, const std::string& path, ResultFileUi& ui,
                      ResultOpenOutcome* outcome = nullptr);

// The consistency checks before anything is taken over. Each returns whether to go on;
// `rewrite` is set when the user accepted a differing raw path, `moreChannels` when the
// document has more channels than the file.
int CheckResultDataType(const ResultFileDocument& doc, const RafHead& head, int recordSeconds, bool* rewrite,
                        bool* moreChannels, ResultFileUi& ui);
// 1 check value equal, 0 differs and the user goes on, 2 differs and the user stops.
int CheckRafRaw(const ResultFileDocument& doc, const RafHead& head, ResultFileUi& ui);
int CheckRafConsistency(const ResultFileDocument& doc, const RafHead& head, int recordSeconds, bool* rewrite,
                        bool* moreChannels, ResultFileUi& ui);
// In the animal-only mode: whether the file uses settings for human recordings; asks to turn
// the mode off. Returns whether to go on.
int CheckAnimalOnlySettings(const ResultFileDocument& doc, const RafHead& head, ResultFileUi& ui);

// Writes `rawPath` into the stored raw data path of the file (the rest unchanged), by
// writing the new file beside it and renaming it into place. Returns 1, or 0 after a message.
int RewriteRafInfoBlock(const std::string& path, const std::string& rawPath, ResultFileUi& ui);

// Trend graphs of FFT items (category 21) whose channel has no FFT flag move to the first
// channel of the recording that has one; nothing moves when no channel has one.
constexpr std::uint16_t kTrendCategoryFFT = 21;
struct TrendItemTable;
void MoveFFTTrendItems(const FFTBandParam& fft, int channelCount, TrendItemTable& items);

// Companion files of a result (or text stage) path: the wave-detect marks and settings;
// missing or foreign files give empty marks, channel -1 and division 60.
void ReadResultCompanionFiles(ResultFileDocument& doc, const std::string& path, ResultFileUi& ui);
std::string CompanionPath(const std::string& path, const char* extension);

// Text stage import: one line per epoch, stage tokens by the current stage type. Returns the
// number of epochs whose stage was set; any set stage marks the results as changed.
int ReadTextStage(LyrEpochParameter& epochs, int stageType, int epochCount, const std::string& path,
                  ResultFileUi& ui);

// ---- pieces of the information block, for writers of their own (multi-screening) -------

// The 636-byte recording-information area and a 48-byte channel processing record.
void StoreRafRecordInfo(const LyrRecordInfo& record, std::span<std::uint8_t> block, std::size_t offset);
void LoadRafRecordInfo(std::span<const std::uint8_t> block, std::size_t offset, LyrRecordInfo& record);
void StoreRafProcessingRecord(const LyrChInfo& channel, std::span<std::uint8_t> block, std::size_t offset);
// A start date-time (year, month, day, hour, minute, second, ms) moved on by seconds.
std::array<std::uint16_t, 6> AddRafSeconds(const std::array<std::uint16_t, 7>& start, std::int64_t seconds);
