#pragma once
// Sleep-disturbance values of the raw page: the representative values per point of the
// respiration, leg, SpO2, CPAP, position and snore channels, the R peaks of the ECG with
// the mean R-R interval of each epoch, and the arousal EEG's peaks counted in 0.1-s bins.
// They are the inputs of the sleep-disturbance recognisers. Like the wave-form
// recognition this runs over one row's page samples of one channel, told what it needs
// through a context, so the page drawing, screening and tests share it.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/raw/wave_recognition.h"

class LyrEpochParameter;
class SleepDstrbTables;

struct SleepDstrbPageContext {
  const SleepDstrbParam* param = nullptr;
  LyrEpochParameter* epochTables = nullptr;  // representative tables (may be null)
  SleepDstrbTables* tables = nullptr;        // R-peak and arousal tables (may be null)
  int epochSeconds = 30;
  int pageSeconds = 30;
  long long pageStartSecond = 0;  // the row's page start
  int recordingEpochs = 0;
  bool currentPageRow = false;
  bool screening = false;  // ScreeningRunning == 1
  bool arousalPageMode = false;
  draw::Dc* dc = nullptr;  // ticks; null draws nothing
  draw::ColorRef ecgTickColour = 0x0000FF;
  draw::ColorRef arousalTickColour = 0x0000FF;
  // Runs the arousal recogniser at the end of a page with arousal peaks.
  std::function<void(const SleepDstrbPageContext&)> recognizeArousal;

  int EpochsPerPage() const { return epochSeconds > 0 ? pageSeconds / epochSeconds : 0; }
  int FirstEpoch() const { return epochSeconds > 0 ? static_cast<int>(pageStartSecond / epochSeconds) : 0; }
};

// Peak finder of one epoch: peaks of the S = rate x epoch seconds samples from
// `epochOffset` of the channel's page buffer into `peaks` (index = page-buffer index).
// `perTenth` is the peaks allowed per 0.1 s. Returns the number of peaks.
int FindEpochPeaks(const SleepDstrbPageContext& ctx, int epochOffset, const WaveChannelPage& page,
                   std::vector<WaveExtremum>& peaks, double peakLevel, double minSpacingMs, double upperLimit,
                   bool ticks, int perTenth, draw::ColorRef tickColour);

// Mean of the epoch's first rate x epoch seconds samples (0 when there are none).
double CalcEpochMean(std::span<const float> samples, int rate, int epochSeconds);
// Mean of the next `block` samples from the cursor, which advances by the block.
double CalcRprsntMean(std::span<const float> samples, long long& cursor, long long block);
// Sum of |x - base| over the next `block` samples from the cursor, which advances.
double CalcRprsntDeviation(double base, std::span<const float> samples, long long& cursor, long long block);

// Fills the representative table `slot` (kRprsnt*) of absolute epoch `epoch` from the
// epoch's samples; 1 when the table exists and was filled.
int FillRepresentativeTable(LyrEpochParameter& tables, int slot, int epoch, std::span<const float> epochSamples,
                            int rate, int epochSeconds);

// The pass over one channel of a row on the screen. Returns false when memory ran out
// (the tables keep what was written before).
bool WaveFormRespirationTransaction(const SleepDstrbPageContext& ctx, int channel, const WaveChannelPage& page);

// The preview of the settings dialog: the representative tables of `channel` over the
// pages currentPage - 5 .. currentPage + 5 (within 0 .. pageCount - 1). `loadPage` fills
// the channel's samples of a page; false skips the page. Returns the pages recomputed.
int CalcPreviewRepresentValues(const SleepDstrbPageContext& ctx, int channel, int rate, int currentPage,
                               int pageCount,
                               const std::function<bool(int page, std::vector<float>& samples)>& loadPage);
