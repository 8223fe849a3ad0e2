#pragma once
// The per-epoch tables read under the document's analysis settings: the roles and
// channels of the sleep-disturbance block, the wave recognitions and FFT-band
// channels, the channels' display modes and the stage display records. The
// document's methods of the same names forward here.
#include <cstdint>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/document/epoch_values.h"
#include "app/document/sleep_dstrb_tables.h"

SleepDstrbChannels SleepDstrbChannelsOf(const SleepDstrbParam& block);

// The wave recognitions and FFT-band channels of the first chCount channels.
ValueCodeSources ValueCodeSourcesOf(const WaveFormRecognitionParam& waveForm, const FFTBandParam& fftBand,
                                    int chCount);

double GetEpochValue(const LyrEpochParameter& tables, const AnalysisParamBlocks& blocks, int epochSeconds,
                     int epoch, int code, int channel);
void GetAvailableValueCodes(const AnalysisParamBlocks& blocks, int chCount, int emgRequired,
                            std::vector<std::int32_t>& codes);
int GetStageDetail(const StageTypeParam& stageType, int code, std::uint32_t out[6]);
int GetShowStageNum(const StageTypeParam& stageType, int& outStages, int& outExtra);
int GetScoredEpochNum(const LyrEpochParameter& tables, const StageTypeParam& stageType);
