#pragma once
// A tiny scored recording in memory with everything a result file holds: the tests and the
// fuzz target open their files over it.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/frame/program_settings.h"
#include "app/results/result_analysis_file.h"

// The document side: every table and value the file touches.
struct TinyDoc {
  LyrEpochParameter epochs;
  SleepDstrbTables recognition;
  MarkTable marks;
  AnalysisParamBlocks params;
  std::array<LyrChInfo, 32> channels;
  LyrRecordInfo record;
  std::array<std::string, 5> memos;
  std::int32_t lastScreened = -1;
  std::int32_t analysedSeconds = 0;
  std::string resultPath;
  std::vector<std::uint8_t> waveMarks;
  WaveDetectParamRecord waveParam;
  std::int32_t waveDivision = 60;
  std::uint32_t checkValue = 0x12345;  // what the raw samples sum to
  ResultFileDocument doc{epochs, recognition, marks, params, channels, record, memos, lastScreened,
                         analysedSeconds, resultPath, waveMarks, waveParam, waveDivision,
                         0, {}, {}, {}};

  // A recording of `channelCount` channels at 100 Hz (channel 0 at 200 Hz) and
  // `seconds` seconds, epochs of `epochSeconds`, with default settings and empty tables.
  TinyDoc(int channelCount, int seconds, int epochSeconds) {
    EpochSeconds = epochSeconds;
    SetDefaultAllBlocks(&params, 1);
    record.path = "/data/night1.fyd";
    record.channelCount = channelCount;
    record.sourceKind = 0;
    for (int c = 0; c < channelCount; ++c) {
      channels[static_cast<std::size_t>(c)].rate = c == 0 ? 200 : 100;
      channels[static_cast<std::size_t>(c)].dataCount = static_cast<std::uint32_t>(seconds * 100 * (c == 0 ? 2 : 1));
    }
    doc.recordSeconds = seconds;
    doc.rawSampleSum = [this](int, const std::array<int, 32>*) { return checkValue; };
    Allocate();
  }

  int Epochs() const { return doc.recordSeconds / EpochSeconds; }

  // The tables as the document makes them for the current settings.
  void Allocate() {
    const int e = EpochSeconds, d = Epochs();
    int fft = 0;
    for (auto f : params.fftBand.channelSwitch) fft += f != 0;
    epochs.SetNew(d, 0, record.channelCount, fft, 1);
    epochs.AllocateRprsntTable();
    const auto& sd = params.sleepDstrb;
    const std::array<int, 10> slotCh{sd.airFlow.channel, sd.chest.channel, sd.abdomen.channel,
                                     sd.legLeft.channel, sd.legRight.channel, sd.ecgChannel,
                                     sd.spo2Channel, sd.cpapChannel, sd.positionChannel, sd.snore.channel};
    for (int s = 0; s < 10; ++s)
      if (slotCh[static_cast<std::size_t>(s)] >= 0) epochs.AllocateRprsntSlot(s, e);
    SleepDstrbChannels ch;
    ch.airFlow = sd.airFlow.channel;
    ch.chest = sd.chest.channel;
    ch.abdomen = sd.abdomen.channel;
    ch.lmLeft = sd.legLeft.channel;
    ch.lmRight = sd.legRight.channel;
    ch.ecg = sd.ecgChannel;
    ch.spo2 = sd.spo2Channel;
    ch.position = sd.positionChannel;
    ch.cpap = sd.cpapChannel;
    ch.snore = sd.snore.channel;
    ch.arousal = sd.arousal.channel;
    const int r = e * 4, l = e * 10;
    recognition.AllocateRespRcgnz(ch, r * d);
    recognition.AllocateAirFlow(ch, r * d);
    recognition.AllocateRespC(ch, r * d);
    recognition.AllocateRespA(ch, r * d);
    recognition.AllocateLMRcgnz(ch, l * d);
    recognition.AllocateLMLeft(ch, l * d);
    recognition.AllocateLMRight(ch, l * d);
    recognition.AllocateLMBoth(ch, l * d);
    recognition.AllocateSnore(ch, l * d);
    recognition.AllocateArousalTables(ch, l * d);
    recognition.AllocateECGTables(ch, d, e);
    marks.AllocateMark(d * e);
  }

  // Every table filled with values that differ per position.
  void Score() {
    const int d = Epochs();
    for (int ep = 0; ep < d; ++ep) {
      LyrEpochRec* rec = epochs.Record(ep);
      for (std::size_t b = 0; b < kEpochRecBytes; ++b)
        reinterpret_cast<std::uint8_t*>(rec)[b] = static_cast<std::uint8_t>(ep * 31 + b * 7 + 1);
      for (int k = 0; k < kBandEntries; ++k)
        if (float* v = epochs.BandValues(ep, k))
          for (int j = 0; j < std::max(epochs.BandChCount(), 1); ++j) v[j] = static_cast<float>(ep * 100 + k * 10 + j);
      for (int kind : {kChMin, kChMax, kChMean, kChAbsMax, kChIntegral, kChCoefVariation})
        for (int c = 0; c < record.channelCount; ++c) epochs.ChValues(ep, kind)[c] = static_cast<float>(ep + kind * 0.5 + c);
      for (int c = 0; c < record.channelCount; ++c) epochs.ChCrossCount(ep)[c] = static_cast<std::uint16_t>(ep * 3 + c);
      for (int s = 0; s < kRprsntSlotCount; ++s)
        if (float* v = epochs.Rprsnt(s, ep))
          for (int j = 0; j < epochs.RprsntCount(s); ++j) v[j] = static_cast<float>(s * 1000 + ep * 10 + j % 7);
    }
    auto fill = [](std::vector<std::uint8_t>& t, int mod) {
      for (std::size_t i = 0; i < t.size(); ++i) t[i] = static_cast<std::uint8_t>((i / 3) % mod);
    };
    fill(recognition.RespRcgnz(), 5);
    fill(recognition.AirFlow(), 3);
    fill(recognition.RespC(), 3);
    fill(recognition.LMRcgnz(), 2);
    fill(recognition.LMLeft(), 2);
    fill(recognition.LMRight(), 2);
    fill(recognition.LMBoth(), 2);
    fill(recognition.Snore(), 2);
    fill(recognition.ArousalPeakNum(), 9);
    fill(recognition.ArousalRecognize(), 2);
    auto& beats = recognition.ECGRcgnz();
    for (int i = 0; i < 6 && i < static_cast<int>(beats.positions.size()); ++i) beats.positions[static_cast<std::size_t>(i)] = 40 + i * 90;
    beats.count = std::min<int>(6, static_cast<int>(beats.positions.size()));
    for (std::size_t i = 0; i < recognition.ECGLFHF().size(); ++i) recognition.ECGLFHF()[i] = 800.0 + static_cast<double>(i);
    for (int t = 0; t < kMarkTypeCount; ++t) {
      marks.MarkEventRange(t, 1.0f + t, 2.5f + t);
      marks.Start(t)[0] = 1.0f + t;
      marks.End(t)[0] = 2.5f + t;
      marks.SetCount(t, 1);
    }
    memos = {"first memo", "", "third", "", std::string(60, 'm')};
    record.subjectName = "Subject A";
    record.gender = 1;
    record.ageYears = 41;
    record.freeComments[3] = {"Label", "Text of the label"};
    lastScreened = d - 1;
    waveMarks.assign(static_cast<std::size_t>(doc.recordSeconds * 10), 0);
    for (std::size_t i = 0; i < waveMarks.size(); i += 13) waveMarks[i] = 1;
    waveParam.channel = 1;
    waveParam.peakLevel = 12.5;
    waveDivision = 30;
  }

  // Settings with most sections present: air flow and chest, legs, ECG, arousal and snore.
  void UseSections() {
    auto& sd = params.sleepDstrb;
    sd.airFlow.channel = 0;
    sd.legLeft.channel = 1;
    sd.ecgChannel = 1;
    sd.arousal.channel = 0;
    sd.snore.channel = 1;
    params.fftBand.channelSwitch[0] = 1;
    Allocate();
  }
};

