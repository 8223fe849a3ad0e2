#include "app/settings/arousal_threshold_preview.h"

std::uint16_t ArousalThresholdPreview = 0;
