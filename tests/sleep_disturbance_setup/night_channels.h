#pragma once
// The generated human montage's channels put to the sleep-disturbance recognisers, at the
// generator's scales: breathing of about 600 uV peak to peak, R waves of 1.1 mV.
#include "app/document/analysis_param_blocks.h"

inline void SetUpNightChannels(SleepDstrbParam& s) {
  s.ecgChannel = 5;
  s.airFlow.channel = 6;
  s.chest.channel = 7;
  s.abdomen.channel = 8;
  s.spo2Channel = 9;
  s.positionChannel = 10;
  s.legLeft.channel = 11;
  s.arousal.channel = 0;
  for (SleepDstrbParam::Respiration* r : {&s.airFlow, &s.chest, &s.abdomen}) {
    r->values[2] = 600.0;
    r->values[3] = 40.0;
  }
  s.ecgPeakLevel = 0.5;
  s.ecgAmplitudeMax = 5.0;
}
