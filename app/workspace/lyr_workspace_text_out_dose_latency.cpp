#include "app/workspace/lyr_workspace_text_out_dose_latency.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/scoring/lyr_re_stage_with_episode.h"

LyrWorkspaceTextOutDoseLatency::LyrWorkspaceTextOutDoseLatency(int startEpoch, int endEpoch,
                                                               const std::array<std::int32_t, 3>& doseEpochs,
                                                               const std::array<std::int64_t, 3>& doseTimes,
                                                               const LyrReStageWithEpisode* restaging)
    : startEpoch_(startEpoch), endEpoch_(endEpoch), doseEpochs_(doseEpochs), doseTimes_(doseTimes), restaging_(restaging) {}

int LyrWorkspaceTextOutDoseLatency::OutputText(const std::string&) { return 0; }
LyrWorkspaceTextOutDoseLatency::StatStage LyrWorkspaceTextOutDoseLatency::GetStatStage(int) const { return {}; }
LyrWorkspaceTextOutDoseLatency::StageColumn LyrWorkspaceTextOutDoseLatency::GetStageColumn(int) const { return {}; }
bool LyrWorkspaceTextOutDoseLatency::GetLatencySlotName(int, std::string&) const { return false; }
std::string LyrWorkspaceTextOutDoseLatency::FormatTimeLabel(std::int64_t) const { return {}; }
std::int64_t LyrWorkspaceTextOutDoseLatency::TimeOrigin(const CQLM2_AnalyzerDoc&) { return 0; }
std::int64_t LyrWorkspaceTextOutDoseLatency::EpochTimeValue(const CQLM2_AnalyzerDoc&, int) { return 0; }
