#pragma once
// Per-epoch values of one page, computed from the filtered samples of a raw row's page
// buffer: the band powers of each epoch's spectrum with their share of the total, the
// amplitude statistics of each epoch, the mark-trigger runs of a screening batch and the
// over-threshold test of the automatic staging. Only the current page (row 2) computes;
// other rows return at once.
//
// The results go to the main frame's per-page arrays (indexed by the epoch's position in
// the page) and, while a screening batch runs, also to the document's per-epoch tables
// (indexed by the epoch's number). Nothing here draws or needs a window: the raw view calls
// it while it draws its middle row, and the screening step calls it page by page.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

class CQLM2_AnalyzerDoc;
class CMainFrame;
class MarkTable;
struct EpochBandBlock;
struct EpochChannelStatsRecord;

// Everything one page's computation reads and writes.
struct PageEpochValues {
  CQLM2_AnalyzerDoc* doc = nullptr;
  // The row's page buffer: every channel's rate x page seconds + 1 samples, channel after
  // channel (an empty span: no page, nothing is computed).
  std::span<const float> page;
  int rowIndex = 2;
  bool screening = false;  // a screening batch runs (its values also go to the document)
  int epochSeconds = 0;
  int pageSeconds = 0;
  // Per-page arrays of the frame (position k in the page); null: not written.
  EpochBandBlock* bandRecords = nullptr;
  EpochChannelStatsRecord* statRecords = nullptr;
  std::size_t recordCount = 0;  // entries of each array
  // Told the name of the operation when a computation cannot be made (memory, FFT set-up).
  // Reports are thinned: once per page outside a screening batch, once per batch inside one
  // (a batch ends when a page is computed outside one).
  std::function<void(const std::string&)> report;
  mutable bool reported = false;  // this page has reported

  // Page numbers: E epochs per page, F the page's first epoch, N the recording's epochs.
  int EpochsPerPage() const;
  std::int64_t FirstEpoch() const;
  std::int64_t EpochCount() const;
  bool MiddleRow() const { return rowIndex == 2; }
  // The page samples of a channel (its span of the buffer, cut to what the buffer holds).
  std::span<const float> ChannelSamples(int channel) const;
};

// A computation for a row of the open document with the program's page settings, the
// screening state and the frame's per-page arrays (frame may be null: none). Failures are
// reported in a message box.
PageEpochValues PageEpochValuesForRow(CQLM2_AnalyzerDoc& doc, CMainFrame* frame, int row);

// Band powers and percentages of every epoch of the page on channel c (channels with the
// FFT band switch only). 1 done or nothing to do, 0 after a failure (reported; the epochs
// not yet computed are skipped, those written stay).
int TrendFFTTransaction(PageEpochValues& p, int channel);
// Minimum, maximum, mean, absolute maximum, area, crossing count and coefficient of
// variation of every epoch of the page on channel c.
void CalcEpochAmplitudeValues(PageEpochValues& p, int channel);
// Mark-trigger runs of every mark type triggered by channel c (screening batch only).
void SearchMarkTriggers(PageEpochValues& p, int channel);
// One sample of a trigger channel at t seconds from the recording start against mark
// type `type`: opens or closes its run, or sets the overflow flags when its list is full.
void CheckMarkTriggerSample(MarkTable& marks, int type, bool upward, float level, float sample, float t);
// 1 when any sample of epoch k of the page exceeds, in absolute value, the level of a channel
// whose level switch is on; 0 otherwise (and outside the middle row).
int IsEpochOverThreshold(const PageEpochValues& p, int k);

// The whole per-page pass in channel order: spectra and amplitude values, and during a
// screening batch the mark triggers. 1 ok, 0 when a computation failed.
int CalcPageEpochValues(PageEpochValues& p);
// Everything for one channel, as the page drawing runs it after drawing the channel.
int CalcChannelEpochValues(PageEpochValues& p, int channel);

// The automatic staging step of the current page during a screening batch, run by the page
// drawing of the middle row after its values (none: no step). The screening code sets it.
extern std::function<void(CQLM2_AnalyzerDoc&, PageEpochValues&)> PageAutoStagingTransaction;

// Forgets that a failure was already reported in the running batch (a new batch begins).
void ResetPageEpochValuesReports();
