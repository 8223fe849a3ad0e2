#pragma once
// The channels of the sample maker's human montage put to the detectors: the central EEG for
// the band waves and K-complexes, both EOGs, the chin EMG, and the respiration, oximetry,
// position, ECG and leg channels for the recognisers.
#include "app/document/analysis_param_blocks.h"

inline void AssignHumanNightDetectors(AnalysisParamBlocks& p) {
  WaveFormRecognitionParam& w = p.waveForm;
  for (auto& band : w.bands) band.channel = 0;
  w.kComplex.channel = 0;
  w.eogLeft.channel = 2;
  w.eogRight.channel = 3;
  w.emgChannel = 4;
  SleepDstrbParam& s = p.sleepDstrb;
  s.ecgChannel = 5;
  s.airFlow.channel = 6;
  s.chest.channel = 7;
  s.abdomen.channel = 8;
  s.spo2Channel = 9;
  s.positionChannel = 10;
  s.legLeft.channel = 11;
}
