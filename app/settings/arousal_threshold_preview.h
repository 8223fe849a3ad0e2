#pragma once
// 1 while the sleep-disturbance setup's arousal threshold confirmation runs: the raw page
// takes no marks and the trend's arousal values are empty meanwhile.
#include <cstdint>

extern std::uint16_t ArousalThresholdPreview;
