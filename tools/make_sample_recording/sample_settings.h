#pragma once
// The program's settings made for the generated recordings: what a new user needs to page and
// screen the sample at once, written as the program's settings file.
#include <string>

#include "sample_recording.h"

struct AnalysisParamBlocks;
class LyrChInfo;

namespace samples {

// Puts the program-wide settings (epoch and page length) and the recording's blocks and
// channel display records as the montage of the kind wants them:
// - human: the stage type with Wake, REM and stages 1 to 4, 30-s epochs on 30-s pages, the
//   wave-form recognition on C3-A2 (bands, K-complexes), EOG-L and EOG-R, Chin EMG, the
//   sleep-disturbance recognisers on ECG, Airflow, Thorax, Abdomen, SpO2, Position and Leg EMG,
//   and SpO2 and Position drawn from the bottom of their band with their values;
// - animal: the program's animal preset (10-s epochs, three stages) on EEG1 and EMG.
// Defaults are set first, so nothing is left from earlier settings.
void ApplySampleSettings(Kind kind, AnalysisParamBlocks& blocks, LyrChInfo* channels, int channelCount);

// Writes the settings file at `path` (beside it and renamed into place) with the settings
// above, unless a file is there already: the user's own settings are never replaced. Returns
// false with a message when it cannot be written; true when written or left as it was.
bool WriteSampleSettings(Kind kind, const std::string& path, std::string* error);

}  // namespace samples
