#pragma once
// The one document of the program. It holds the open recording (its tables,
// marks and recognition results) and the per-recording analysis settings that
// the settings dialogs edit in place. The framework creates it once and re-uses
// it for every recording: File > Close re-initialises it through OnNewDocument.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/ch_info.h"
#include "app/document/epoch_parameter.h"
#include "app/document/mark_table.h"
#include "app/document/page_buffer.h"
#include "app/document/screening_condition.h"
#include "app/document/sleep_dstrb_tables.h"
#include "app/scoring/lyr_auto_staging.h"
#include "platform/ui/document.h"

class CMainFrame;
class TextSink;
namespace sys {
class AtomicFileWriter;
}
namespace ui {
class Control;
}

inline constexpr std::size_t kExperimentRecordBytes = 56456;
inline constexpr std::size_t kDocWorkBlockBytes = 308;

class CQLM2_AnalyzerDoc : public ui::Document {
 public:
  CQLM2_AnalyzerDoc();
  ~CQLM2_AnalyzerDoc() override;

  // Closes the open recording after asking the close questions. False when the
  // user cancelled, a results save did not happen, or a batch forbids closing;
  // the recording then stays open and untouched.
  bool OnNewDocument() override;
  // The program asks its own questions in OnNewDocument and when opening.
  bool SaveModified() override { return true; }

  // Clears the recording state; keepSettings 0 also clears the stage-type block
  // and the page-spectrum settings. Returns 0.
  std::uint16_t ResetMember(std::uint16_t keepSettings);
  // Frees what the document owns for the open recording (run before ResetMember).
  void ReleaseAll();

  // How often the page data were read (SetPageData, MovePageRawData,
  // MovePageDiviedPageFFTData, CalcEpochFFTData), for the navigation and its tests.
  struct PageReadCounts {
    int fullReloads = 0;
    int edgePageReads = 0;
    int edgeSpectrumMoves = 0;
    int epochSpectra = 0;
    int failNextReloads = 0;  // the next n full reloads fail (tests)
  } PageReads;

  // The main frame of the program, or null before it exists.
  static CMainFrame* MainFrame();

  // Emptied at every open and close.
  std::string WorkingText;
  // Zeroed at every reset.
  std::array<std::uint8_t, kDocWorkBlockBytes> WorkBlock{};
  std::uint32_t WorkWord = 0;
  // Last epoch of the page a screening run has screened (the run goes on from the epoch
  // after it); -1 after every reset and open.
  std::int32_t PageEndEpoch = -1;
  // Length of the recording in whole epochs' seconds.
  std::int32_t RecordSeconds = 0;
  // 1 when the channels differ in sampling rate or data count.
  std::uint32_t MixedSampling = 0;
  std::int32_t CurrentEpoch = 0;
  std::int32_t CurrentPage = 0;
  // Split words of the video picture: kind (0 whole, 1 four split screens, 2 nine), column,
  // row; the video controller places and paints the picture by them and an auto-play entry
  // overwrites them.
  std::array<std::uint16_t, 3> VideoSplit{0, 0, 0};
  // Last epoch the automatic staging of a screening batch may score on the current page
  // (written by the page drawing of the middle row while a batch runs).
  std::int32_t StagingEndEpoch = 0;
  std::int16_t CalibrationNumber = 0;
  std::int16_t MontageNumber = 0;
  // Path of the recording open before the current one.
  std::string PreviousPath;
  // Attributes of the open own raw file before the program made it read-only.
  std::uint32_t SavedAttributes = 0;
  // Wave rows shown: 1 one row, 3 three rows, other values five.
  std::uint16_t PageRows = 1;
  // 1 while a changed calibration is not yet written to the raw file.
  std::uint32_t CalibrationChanged = 0;
  // Experiment and subject information; after a reset all zero but its first
  // 16-bit word, which is 1.
  std::vector<std::uint8_t> ExperimentRecord;

  LyrEpochParameter EpochTables;
  MarkTable Marks;
  // The learned staging: learning settings, the recording's learning information, the model.
  LyrAutoStaging AutoStaging;
  // Sleep-disturbance recognition results and their kept copies.
  SleepDstrbTables RecognitionTables;

  // The 32 channel records; the first channel-count describe the open recording.
  std::array<LyrChInfo, 32> ChInfo;
  // Path, channel count, source kind and page buffers of the open recording.
  LyrRecordInfo RecordInfo;
  // Per-recording analysis settings, kept across recordings.
  AnalysisParamBlocks Params;

  // ---- Page buffers and page reading (doc_page_read.cpp) ----
  // Reads every kept page slot and the spectra. 0 ok, 1 failure (memory, a source that
  // could not be read, or a spectrum that could not be made).
  int SetPageData();
  // One slot: a PageSlotResult.
  int SetPageRawData(short kind);
  // Reads one page into buffer and processes every channel. 1 ok, 0 failure.
  int SetPageRawData(int page, unsigned seconds, short kind, float* buffer);
  // Moves the window after CurrentPage changed by one; only the entering page is read. 1.
  int MovePageRawData(int forward);
  // Floats of a slot holding the given seconds of every channel; 0 without a source.
  std::size_t GetPageBufferSize(unsigned seconds) const;
  // Reads one page of all channels by source kind. Non-zero ok.
  int GetRawData(int page, int seconds, float* buffer);
  int getFYDData(unsigned page, int seconds, float* buffer);
  int getFYAData(unsigned page, int seconds, float* buffer);
  int getPluginData(unsigned page, int seconds, float* buffer);
  // count physical samples of a channel from its sample first through the loaded import
  // plug-in, negated when the channel's invert switch is on. 1 ok; 0 when the plug-in or its
  // "GetRawData" is missing or the plug-in reports failure.
  int ReadPluginChannel(int channel, std::uint32_t first, std::uint32_t count, float* out);
  // Processing of one channel span in place. 1 ok, 0 when the filter cannot be made.
  static int CalcNotchFilter(float* data, unsigned long m, int filterKind, int notch, double lineHz,
                             unsigned short mode, double cut1, double cut2, double rate);
  static int CalcFilter(float* data, unsigned long m, int filterKind, unsigned short mode, double cut1,
                        double cut2, double rate);
  static int CalcSmoothing(const float* source, float* destination, unsigned long m, int count);
  static int CopyBlock(void* destination, const void* source, std::size_t bytes);
  // Channels whose filter could not be made on the last page read (bit per channel);
  // they hold unfiltered samples.
  std::uint32_t UnfilteredChannels = 0;

  // ---- Page and epoch spectra (doc_spectrum.cpp) ----
  EpochSpectrumSet EpochSpectra;
  // Channel of the last average spectrum output (-1 none); its dialog offers it first.
  std::int32_t FftOutputChannel = -1;
  DividedPageSpectra DividedSpectra;
  // Averages A spectra of N points taken one after the other from samples into out
  // (N/2 + 1 values the caller zeroed). 1.
  int CalcFFTData(const float* samples, float* out, unsigned short A, int N, short window, short unit, double fs);
  // Spectra of the current epoch for the selected channels. 1, or 0 beyond the epochs.
  int CalcEpochFFTData();
  // Divided-page spectra of one slot. 1, or 0 when a needed slot is missing.
  int calcDiviedPageFFTData(unsigned kind);
  int MovePageDiviedPageFFTData(int forward);

  // ---- Recording events and the epoch-length rebuild (doc_events.cpp) ----
  // Fill EventNames, then Events and EventRate, from the recording's source. 1 ok, 0 failure
  // (the fields are then empty).
  int getEventInfo();
  int getEventData();
  int getPluginEventData();
  int ResetNewRepresentSleepDstrb();
  int SetNewRcgnzSleepDstrb(int epochCount);
  // 1 once the recognition tables were made for the open recording's epochs; 0 after a reset.
  std::uint32_t RcgnzReady = 0;
  void FreeRcgnzSleepDstrb();

  // ---- Recording services of the shared dialogs and the frame's window commands ----
  // Recording length in whole seconds: the least data count / rate over the channels; -1
  // without channels.
  std::int32_t GetRecordSec() const;
  // Analysed length (RecordSeconds) over the seconds of one unit; with EpochSeconds the number
  // of epochs. 0 for a unit below 1 second.
  std::int32_t GetDivNum(std::int32_t secondsPerUnit) const;
  // Re-creates the per-epoch tables for an epoch length: fresh records when flag is non-zero,
  // else the records there are kept. 0 on failure.
  int Init4ChangeEpochTime(int epochs, int epochSeconds, int channelCount, int flag);
  // Re-creates the mark table for the analysed length; non-zero on success.
  int AllocateMark();
  // Epoch chosen in the windows, -1 none.
  std::int32_t SelectedEpoch = -1;
  // 1 when sample values are offset binary, 0 two's complement.
  std::uint16_t UnsignedSamples = 1;
  // Event table: the type names, the events (type and sample position) and the sampling rate
  // of the positions.
  struct EventEntry {
    std::int32_t type = 0;
    std::int32_t position = 0;
  };
  std::vector<std::string> EventNames;
  std::vector<EventEntry> Events;
  std::int32_t EventRate = 0;
  // ---- Opening a recording and reading its header (doc_open.cpp, doc_header.cpp) ----
  // Turns the path into the open recording; false leaves no recording half-open.
  bool OnOpenDocument(const std::string& path) override;
  // Channel count of the source (0 on any failure).
  std::int16_t ReadChNum();
  // Start time, subject data and sampling of the source into the records. 0 on failure.
  int ReadRecordHeader();
  // Subject data through the loaded import plug-in. 0 with no plug-in.
  int ReadSubjectInfo();
  // Names, units and calibration of every channel. 0 on failure.
  int ReadCalInfo();
  // Filter settings offered by the import plug-in (nothing without them).
  void ReadFilterInfo();
  // Sets MixedSampling from the channels' rates and data counts; 0 when a read fails.
  int ReadSamplingInfo();
  // 1 when the recording can be analysed, else 0 after a message naming the reason.
  int CheckRecordLength();
  // Gives the open own raw file back the attributes it had before it was opened, once.
  // Every path that lets go of the recording calls it before the record is cleared.
  void RestoreRawFileAttributes();
  // At program exit: the plug-in is told and unloaded, the raw file gets its attributes back.
  void LetGoAtExit();
  // The FFT size of the LF/HF setting: 64 << n for n 0..6, 512 otherwise.
  int GetFFTPointNum() const;

  // ---- Raw-data fingerprint, simple spectrum, LF/HF (doc_record_checks.cpp) ----
  // Sum of 100 stored 16-bit samples of each selected channel from sample rate x seconds on
  // (an own raw file uses the first channel's rate for all). channelFlags: one flag per
  // channel, non-zero selected; null selects all. 0 for an analysis file, no source or a
  // source that cannot be read.
  std::uint32_t GetRawWordSum(int seconds, const std::int32_t* channelFlags);
  // Spectrum of one channel of page slot kind from sample start of its page data on (zeros
  // after the page data) into SimpleSpectrum. 1 done; 0 and nothing changed when start is not
  // a sample of the channel.
  int CalcSimpleFFTData(short kind, int channel, int start);
  SimpleSpectrumSet SimpleSpectrum;
  // LF and HF of the ECG channel into the recognition tables (allocated by the caller).
  void CalcLFHF();

  // ---- Epoch, page and time helpers (doc_epoch_time.cpp) ----
  int GetPageNum(int span, int threshold) const;
  int GetPageOfEpoch(int epoch) const;
  std::int16_t GetEpochInPage() const;
  int GetEnableChNum() const;
  // Start of channel's data in a page slot laid out channel after channel.
  float* GetChDataPtr(short kind, unsigned channel, float* slot) const;
  void GetEpochTimeString(unsigned epoch, std::string& out);
  void GetSampleTimeString(int sampleIndex, unsigned channel, std::string& out);
  // Time label of an offset in milliseconds from the recording start: date and clock time when
  // mode is set and the start time is known, else elapsed time ("dd.hh:mm:ss.mmm").
  void GetMSecTimeString(int mode, std::int64_t ms, std::string* out) const;
  void GetStageName(signed char code, std::string& out) const;

  // ---- Text-output header (doc_text_header.cpp) ----
  // mode 0 writes into file, 1 appends to the edit control, 2 writes nothing (returns 0).
  int OutputTextHeader(int mode, sys::AtomicFileWriter* file, ui::Control* edit, int* lineCounter);
  // The same lines into a text sink (code page and CR LF there). 1.
  int OutputTextHeader(TextSink& sink, int* lineCounter);
  // The same lines appended to clipboard text (UTF-8, bare line feeds). 1.
  int OutputTextHeader(std::string& clipboardText, int* lineCounter);
  int PutTextHeader(const std::function<void(const std::string&)>& put, int* lineCounter);
  // Free comments of the "SLEEP" property group at groupOffset into the record. 0 when the
  // file cannot be read.
  static int ReadSleepGroupComments(std::uint32_t groupOffset, const std::string& path, LyrRecordInfo& record);
  // Path of the result analysis file in use, shown in the header while results exist.
  std::string ResultFilePath;
  // Result analysis file: its five memos, the last screened epoch (-1 none) and the path of
  // the result file saved or opened for this recording.
  std::array<std::string, 5> ResultMemos;
  // The page end epoch under the names of the result file and of the settings dialogs:
  // the last epoch a screening run has reached, -1 while no screening result exists.
  std::int32_t& LastScreenedEpoch = PageEndEpoch;
  std::int32_t& ScreeningMarker = PageEndEpoch;
  std::string ResultPath;

  // ---- Screening conditions (app/scoring/screening_conditions.cpp) ----
  // Up to eight sets of analysis settings, each screened in turn into its result file;
  // the first ScreeningConditionCount are in use (1..8).
  std::array<ScreeningCondition, kMaxScreeningConditions> ScreeningConditions;
  std::uint16_t ScreeningConditionCount = 1;

  // ---- Logic scoring and last-stage rules (doc_logic.cpp) ----
  // Stage of an epoch from 20 logic conditions; candidates (20 bytes) receives the stages of
  // the conditions that held. Changes nothing in the document.
  std::uint8_t EvaluateLogic(const LogicCondition* conditions, int epoch, std::uint8_t* candidates) const;
  // 1 when the condition holds for the two values, else 0.
  static int TestLogicCondition(const LogicCondition& condition, float value1, float value2);
  // Value `code` of an epoch as the conditions compare it; the largest finite float for none.
  float GetLogicParameter(int epoch, std::uint16_t code, std::uint16_t channel) const;
  // Last-stage rules over epochs 0 .. LastScreenedEpoch (nothing while it is -1), or
  // 0 .. lastEpoch for the overloads that take it.
  void ApplyLastStageScreening();
  void ApplyLastStageScreening(int lastEpoch);
  void ApplyStageChangeRule();
  void ApplyStageChangeRule(int lastEpoch);
  void ApplyRemSpindleCoexistence();
  void ApplyCeaseWithRem();
  void ApplyThreeMinuteRule();
  void ApplyWakeNeighbourRule();
  // The pass the logic option block chooses (1 the four rules, 2 the stage change); the mode
  // that ran, 0 for none.
  int ApplyLastStageRules(int lastEpoch);

 private:
  void ResetExperimentRecord();
  // Failure path of the open: lets go of the plug-in and leaves the document empty; tells the
  // user that the recording is damaged unless a message has already said why.
  bool FailOpen(bool told = false);
  // Own raw file whose attributes RestoreRawFileAttributes puts back; empty when none.
  std::string protectedRawPath_;
  // True while something running forbids closing the recording.
  bool BatchForbidsClose() const;
  // Set of unfilterable channels already told to the user, and the recording it is for.
  std::uint32_t unfilteredShown_ = 0;
  std::string unfilteredShownPath_;
};
