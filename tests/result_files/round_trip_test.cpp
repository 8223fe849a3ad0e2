#include <cstring>

#include "app/document/byte_image.h"
#include "app/results/result_file_layout.h"
#include "app/results/result_strings.h"
#include "raf_fixture.h"

namespace {

template <class Block>
std::vector<std::uint8_t> Image(const Block& b) {
  std::vector<std::uint8_t> v(Block::kSize);
  b.Store(std::span<std::uint8_t, Block::kSize>(v.data(), Block::kSize));
  return v;
}

std::uint32_t U32(const std::vector<std::uint8_t>& f, std::size_t at) {
  return bytes::Get<std::uint32_t>(f, at);
}

// Compares everything a whole-recording result file carries back.
void ExpectSameResults(TinyDoc& a, TinyDoc& b) {
  const int d = a.Epochs();
  ASSERT_EQ(b.epochs.EpochCount(), d);
  for (int ep = 0; ep < d; ++ep) {
    EXPECT_EQ(std::memcmp(a.epochs.Record(ep), b.epochs.Record(ep), kEpochRecBytes), 0) << ep;
    for (int k = 0; k < kBandEntries; ++k)
      for (int j = 0; j < a.epochs.BandChCount(); ++j)
        EXPECT_EQ(a.epochs.BandValues(ep, k)[j], b.epochs.BandValues(ep, k)[j]);
    for (int kind : {kChMin, kChMax, kChMean, kChAbsMax, kChIntegral, kChCoefVariation})
      for (int c = 0; c < a.record.channelCount; ++c) EXPECT_EQ(a.epochs.ChValues(ep, kind)[c], b.epochs.ChValues(ep, kind)[c]);
    for (int c = 0; c < a.record.channelCount; ++c) EXPECT_EQ(a.epochs.ChCrossCount(ep)[c], b.epochs.ChCrossCount(ep)[c]);
    for (int s = 0; s < kRprsntSlotCount; ++s) {
      ASSERT_EQ(a.epochs.Rprsnt(s, ep) == nullptr, b.epochs.Rprsnt(s, ep) == nullptr) << s;
      if (a.epochs.Rprsnt(s, ep)) {
        EXPECT_EQ(std::memcmp(a.epochs.Rprsnt(s, ep), b.epochs.Rprsnt(s, ep), sizeof(float) * a.epochs.RprsntCount(s)), 0);
      }
    }
  }
  auto& ra = a.recognition;
  auto& rb = b.recognition;
  EXPECT_EQ(ra.RespRcgnz(), rb.RespRcgnz());
  EXPECT_EQ(ra.AirFlow(), rb.AirFlow());
  EXPECT_EQ(ra.LMRcgnz(), rb.LMRcgnz());
  EXPECT_EQ(ra.LMLeft(), rb.LMLeft());
  EXPECT_EQ(ra.LMBoth(), rb.LMBoth());
  EXPECT_EQ(ra.Snore(), rb.Snore());
  EXPECT_EQ(ra.ArousalPeakNum(), rb.ArousalPeakNum());
  EXPECT_EQ(ra.ArousalRecognize(), rb.ArousalRecognize());
  EXPECT_EQ(ra.ECGRcgnz().count, rb.ECGRcgnz().count);
  EXPECT_EQ(ra.ECGRcgnz().positions, rb.ECGRcgnz().positions);
  EXPECT_EQ(ra.ECGLFHF(), rb.ECGLFHF());
  for (int t = 0; t < kMarkTypeCount; ++t) {
    ASSERT_EQ(a.marks.FlagLength(), b.marks.FlagLength());
    EXPECT_EQ(std::memcmp(a.marks.Flags(t), b.marks.Flags(t), static_cast<std::size_t>(a.marks.FlagLength())), 0);
    EXPECT_EQ(a.marks.Count(t), b.marks.Count(t));
    EXPECT_EQ(std::memcmp(a.marks.Start(t), b.marks.Start(t), sizeof(float) * a.marks.Capacity()), 0);
    EXPECT_EQ(std::memcmp(a.marks.End(t), b.marks.End(t), sizeof(float) * a.marks.Capacity()), 0);
  }
  EXPECT_EQ(Image(a.params.stageType), Image(b.params.stageType));
  EXPECT_EQ(Image(a.params.chDispScale), Image(b.params.chDispScale));
  EXPECT_EQ(Image(a.params.chDispMode), Image(b.params.chDispMode));
  EXPECT_EQ(Image(a.params.fftBand), Image(b.params.fftBand));
  EXPECT_EQ(Image(a.params.sleepDstrb), Image(b.params.sleepDstrb));
  EXPECT_EQ(Image(a.params.waveForm), Image(b.params.waveForm));
  EXPECT_EQ(Image(a.params.logic), Image(b.params.logic));
  EXPECT_EQ(Image(a.params.logicOption), Image(b.params.logicOption));
  EXPECT_EQ(Image(a.params.markType), Image(b.params.markType));
  EXPECT_EQ(a.memos, b.memos);
  EXPECT_EQ(a.record.subjectName, b.record.subjectName);
  EXPECT_EQ(a.record.gender, b.record.gender);
  EXPECT_EQ(a.record.ageYears, b.record.ageYears);
  EXPECT_EQ(a.record.freeComments[3].text, b.record.freeComments[3].text);
  EXPECT_EQ(a.lastScreened, b.lastScreened);
  for (int c = 0; c < a.record.channelCount; ++c) {
    const auto &x = a.channels[static_cast<std::size_t>(c)], &y = b.channels[static_cast<std::size_t>(c)];
    EXPECT_EQ(x.smoothingCount, y.smoothingCount);
    EXPECT_EQ(x.filterMode, y.filterMode);
    EXPECT_EQ(x.cut1Hz, y.cut1Hz);
    EXPECT_EQ(x.notch, y.notch);
    EXPECT_EQ(x.invert, y.invert);
    EXPECT_EQ(x.gain, y.gain);
    EXPECT_EQ(x.show, y.show);
  }
}

// Settings that differ from the defaults everywhere the file stores them.
void ChangeSettings(TinyDoc& t) {
  t.params.stageType.stageType = 0;
  t.params.chDispScale.entries[1].value = 77.0f;
  t.params.chDispMode.entries[0].mode = 3;
  t.params.waveForm.bands[0].channel = 1;
  t.params.logic.sets[0][0].stage = 4;
  t.params.logicOption.lastStageMode = 2;
  t.params.markType.items[2].name = "Snack";
  t.channels[1].filterMode = 2;
  t.channels[1].cut1Hz = 0.5;
  t.channels[1].notch = 1;
  t.channels[1].invert = 1;
  t.channels[1].gain = 2.5;
  t.channels[0].show = 0;
}

TEST_F(RafTest, SavedNightReopensIdentically) {
  const std::string dir = TempFolder("rt");
  TinyDoc a(2, 120, 10);
  a.UseSections();
  ChangeSettings(a);
  a.Score();
  ScriptedUi ui;
  ResultWriteRequest req{a.record.path, dir + "/night.raf", 0, a.Epochs() - 1, a.memos};
  ASSERT_EQ(WriteResultFile(a.doc, req, ui), 1);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(ResultSaveState, 1);
  EXPECT_EQ(a.resultPath, req.path);

  // A fresh document of the same recording, at another epoch length.
  TinyDoc b(2, 120, 20);
  ResultSaveState = 0;
  ResultOpenOutcome outcome;
  ASSERT_EQ(OpenResultProcess(b.doc, req.path, ui, &outcome), 1) << (ui.shown.empty() ? "" : ui.shown.back());
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(outcome.version, 9);
  EXPECT_EQ(EpochSeconds, 10);
  EXPECT_EQ(ResultSaveState, 1);
  EXPECT_EQ(b.resultPath, req.path);
  EXPECT_EQ(b.analysedSeconds, 120);
  ExpectSameResults(a, b);

  ReadResultCompanionFiles(b.doc, req.path, ui);
  EXPECT_EQ(b.waveMarks, a.waveMarks);
  EXPECT_EQ(b.waveParam, a.waveParam);
  EXPECT_EQ(b.waveDivision, 30);
}

// A tiny recording of one channel, 4-s epochs, air flow on channel 0, FFT on channel 0:
// every section at its hand-computed place.
TEST_F(RafTest, SectionsLieAtTheirOffsets) {
  const std::string dir = TempFolder("off");
  TinyDoc a(1, 12, 4);
  a.params.sleepDstrb.airFlow.channel = 0;
  a.params.fftBand.channelSwitch[0] = 1;
  a.Allocate();
  a.Score();
  a.channels[0].startOffset = 200 * 8;  // the analysed part begins 8 s into the raw data
  ScriptedUi ui;
  ResultWriteRequest req{"/raw/x.fyd", dir + "/x.raf", 1, 2, a.memos};
  ASSERT_EQ(WriteResultFile(a.doc, req, ui), 1);
  const auto f = FileBytes(req.path);

  EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.data())), "RAF");
  EXPECT_EQ(U32(f, 256), 9u);
  EXPECT_EQ(U32(f, 256 + 4), 0x12345u);
  EXPECT_EQ(bytes::GetText(f, 256 + 8, 62), "first memo");
  EXPECT_EQ(bytes::GetText(f, 256 + 256, 62), std::string(60, 'm'));
  EXPECT_EQ(bytes::GetText(f, 256 + 318, 262), "/raw/x.fyd");
  EXPECT_EQ(bytes::GetText(f, 256 + 580, 22), "Subject A");
  EXPECT_EQ(bytes::Get<std::uint16_t>(f, 256 + 1218), 2000);  // no start time
  EXPECT_EQ(U32(f, 256 + 1232), 1u);
  EXPECT_EQ(U32(f, 256 + 1236), 4u);
  EXPECT_EQ(U32(f, 256 + 1240), 8u + 4u);                      // 8 s offset + epoch 1
  EXPECT_EQ(bytes::Get<std::int32_t>(f, 256 + 2696), 0);       // air flow channel
  EXPECT_EQ(bytes::Get<std::int32_t>(f, 256 + 3032), -1);      // ECG channel
  EXPECT_EQ(bytes::Get<std::int32_t>(f, 256 + 7680), 1);       // smoothing of channel 0
  EXPECT_EQ(bytes::Get<double>(f, 256 + 7680 + 40), 50.0);
  EXPECT_EQ(bytes::Get<float>(f, 9472), 1.0f);                 // gain
  EXPECT_EQ(bytes::Get<std::uint16_t>(f, 9472 + 128), 1);      // enable
  EXPECT_EQ(U32(f, 9664), 2u);                                 // N
  EXPECT_EQ(f[9668], a.epochs.Record(1)->stage[0]);
  EXPECT_EQ(f[9668 + 188], a.epochs.Record(2)->stage[0]);
  // FFT: 2 epochs x 12 values of one channel; band 0 power, then band 0 ratio.
  EXPECT_EQ(bytes::Get<float>(f, 10044), a.epochs.BandValues(1, 0)[0]);
  EXPECT_EQ(bytes::Get<float>(f, 10048), a.epochs.BandValues(1, 6)[0]);
  // Per epoch: 5 x f32, u16, f32 of one channel (26 bytes), then 16 air-flow values.
  EXPECT_EQ(bytes::Get<float>(f, 10140), a.epochs.ChValues(1, kChMin)[0]);
  EXPECT_EQ(bytes::Get<std::uint16_t>(f, 10140 + 20), a.epochs.ChCrossCount(1)[0]);
  EXPECT_EQ(bytes::Get<float>(f, 10140 + 26), a.epochs.Rprsnt(kRprsntAirFlow, 1)[0]);
  EXPECT_EQ(bytes::Get<float>(f, 10140 + 90), a.epochs.ChValues(2, kChMin)[0]);
  // Respiration codes and air-flow table: 16 points per epoch from point 16.
  EXPECT_EQ(f[10320], a.recognition.RespRcgnz()[16]);
  EXPECT_EQ(f[10352], a.recognition.AirFlow()[16]);
  // Mark-type block, K = 80 with ten flag arrays, T = 8 with ten lists.
  EXPECT_EQ(U32(f, 10908), 80u);
  EXPECT_EQ(f[10912 + 0], a.marks.Flags(0)[40]);
  EXPECT_EQ(U32(f, 11712), 8u);
  // Type 0 marks 1.0 .. 2.5 s lie before the range (4 .. 12 s): dropped. Type 3 (4 .. 5.5)
  // starts at the range start.
  EXPECT_EQ(U32(f, 11716), 0u);
  const std::size_t type3 = 11716 + 3 * 68;
  EXPECT_EQ(U32(f, type3), 1u);
  EXPECT_EQ(bytes::Get<float>(f, type3 + 4), 0.0f);
  EXPECT_EQ(bytes::Get<float>(f, type3 + 4 + 32), 1.5f);
  EXPECT_EQ(f.size(), 12396u);
  // The companion marks hold the range's 80 points.
  const auto sdt = FileBytes(dir + "/x.SDT1");
  ASSERT_EQ(sdt.size(), 2u + 4u + 80u);
  EXPECT_EQ(U32(sdt, 2), 80u);
  EXPECT_EQ(sdt[6], a.waveMarks[40]);
}

// Intervals clipped to a range of epochs 1..2 of 10 s (Sr 10, Er 30, Lr 20).
TEST_F(RafTest, MarkIntervalsAreClippedToTheRange) {
  const std::string dir = TempFolder("clip");
  TinyDoc a(1, 40, 10);
  struct Case { float a, b; int count; float s, e; } cases[] = {
      {2, 8, 0, 0, 0},       // before the range
      {5, 10, 1, 0, 0},      // ends exactly at Sr
      {5, 40, 1, 0, 20},     // covers the whole range
      {12, 15, 1, 2, 5},     // inside
      {25, 35, 1, 15, 20},   // runs past Er
      {30, 35, 0, 0, 0},     // starts exactly at Er
  };
  for (const Case& c : cases) {
    a.marks.AllocateMark(40);
    a.marks.Start(0)[0] = c.a;
    a.marks.End(0)[0] = c.b;
    a.marks.SetCount(0, 1);
    ScriptedUi ui;
    ResultWriteRequest req{"r", dir + "/c.raf", 1, 2, {}};
    ASSERT_EQ(WriteResultFile(a.doc, req, ui), 1);
    const auto f = FileBytes(req.path);
    const std::size_t lists = f.size() - 10 * (4 + 2 * 20 * 4);
    EXPECT_EQ(U32(f, lists - 4), 20u);
    EXPECT_EQ(U32(f, lists), static_cast<std::uint32_t>(c.count)) << c.a << " " << c.b;
    EXPECT_EQ(bytes::Get<float>(f, lists + 4), c.s) << c.a;
    EXPECT_EQ(bytes::Get<float>(f, lists + 4 + 80), c.e) << c.a;
  }
}

// The Part's own changes: fewer than 2 beats store no ECG; 8-s epochs turn last-stage mode 1 off.
TEST_F(RafTest, ValuesThatTheFormatItselfChanges) {
  const std::string dir = TempFolder("chg");
  TinyDoc a(2, 48, 8);
  a.UseSections();
  a.Score();
  a.recognition.ECGRcgnz().count = 1;
  a.params.logicOption.lastStageMode = 1;
  ScriptedUi ui;
  ResultWriteRequest req{a.record.path, dir + "/c.raf", 0, a.Epochs() - 1, {}};
  ASSERT_EQ(WriteResultFile(a.doc, req, ui), 1);
  const auto f = FileBytes(req.path);
  EXPECT_EQ(bytes::Get<std::int32_t>(f, 256 + 3032), -1);

  // Trend graphs of FFT items on a channel without FFT move to the first FFT channel (0).
  const TrendItemTable trendBefore = TrendItem;
  TrendItem.category[0] = kTrendCategoryFFT, TrendItem.third[0] = 1;
  TrendItem.category[1] = kTrendCategoryFFT, TrendItem.third[1] = 0;
  TrendItem.category[2] = 5, TrendItem.third[2] = 1;
  TinyDoc b(2, 48, 8);
  ResultOpenOutcome outcome;
  ASSERT_EQ(OpenResultProcess(b.doc, req.path, ui, &outcome), 1);
  EXPECT_EQ(TrendItem.third[0], 0);
  EXPECT_EQ(TrendItem.third[1], 0);
  EXPECT_EQ(TrendItem.third[2], 1);
  TrendItem = trendBefore;
  FFTBandParam none;
  TrendItemTable items;
  items.category[0] = kTrendCategoryFFT, items.third[0] = 1;
  MoveFFTTrendItems(none, 2, items);  // no FFT channel: nothing moves
  EXPECT_EQ(items.third[0], 1);
  EXPECT_EQ(b.params.sleepDstrb.ecgChannel, -1);
  EXPECT_FALSE(b.recognition.ECGRcgnz().Exists());
  EXPECT_EQ(b.epochs.Rprsnt(kRprsntECG, 0), nullptr);
  EXPECT_EQ(b.recognition.Snore(), a.recognition.Snore());  // later sections still in place
  EXPECT_EQ(b.params.logicOption.lastStageMode, 0);
  EXPECT_TRUE(outcome.lastStageModeCleared);
}

// A selection of channels 2 and 5 where only 5 has FFT.
TEST_F(RafTest, ChannelSelectionCompactsTheSettings) {
  const std::string dir = TempFolder("sel");
  TinyDoc a(6, 20, 10);
  a.params.fftBand.channelSwitch[5] = 1;
  a.params.sleepDstrb.airFlow.channel = 5;
  a.params.sleepDstrb.snore.channel = 3;
  a.params.chDispScale.entries[5].value = 55.0f;
  a.Allocate();
  a.Score();
  ScriptedUi ui;
  ResultWriteRequest req{"r", dir + "/s.raf", 0, 1, {}, 2};
  req.selected[2] = req.selected[5] = 1;
  ASSERT_EQ(WriteResultFile(a.doc, req, ui), 1);
  const auto f = FileBytes(req.path);
  EXPECT_EQ(U32(f, 256 + 1232), 2u);
  EXPECT_EQ(bytes::Get<std::uint16_t>(f, 256 + 2368), 0);
  EXPECT_EQ(bytes::Get<std::uint16_t>(f, 256 + 2368 + 2), 1);
  EXPECT_EQ(bytes::Get<std::int32_t>(f, 256 + 2696), 1);   // air flow named 5
  EXPECT_EQ(bytes::Get<std::int32_t>(f, 256 + 2912), -1);  // snore named 3
  EXPECT_EQ(bytes::Get<float>(f, 256 + 1856 + 12), 55.0f);
  // The stored values of channel 5 sit at index 1.
  const std::size_t fft = 9668 + 2 * 188;
  EXPECT_EQ(bytes::Get<float>(f, fft), a.epochs.BandValues(0, 0)[0]);
  const std::size_t per = fft + 2 * 48;
  EXPECT_EQ(bytes::Get<float>(f, per + 4), a.epochs.ChValues(0, kChMin)[5]);
}

// Versions 5 to 9 in their own layouts; the older and unknown ones are refused.
TEST_F(RafTest, VersionsFiveToNineAreReadOlderOnesRefused) {
  const std::string dir = TempFolder("ver");
  TinyDoc a(2, 40, 10);
  a.UseSections();
  a.Score();
  a.channels[1].filterKind = 1;
  a.channels[1].notch = 1;
  a.channels[1].lineFrequencyHz = 60.0;
  ScriptedUi ui;
  ResultWriteRequest req{a.record.path, dir + "/v9.raf", 0, a.Epochs() - 1, {}};
  ASSERT_EQ(WriteResultFile(a.doc, req, ui), 1);
  const auto v9 = FileBytes(req.path);
  const std::size_t info = 256, body = 256 + 9216;

  // Versions 6 to 8: 8,704 bytes, 32-byte channel records.
  auto older = [&](std::uint32_t version) {
    std::vector<std::uint8_t> f(v9.begin(), v9.begin() + static_cast<long>(info + 7680));
    for (int k = 0; k < 32; ++k) {
      std::uint8_t rec[32] = {};
      const std::uint8_t* r = v9.data() + info + 7680 + k * 48;
      std::memcpy(rec + 0, r + 0, 4);
      std::memcpy(rec + 4, r + 4, 2);
      std::memcpy(rec + 8, r + 12, 2);
      std::memcpy(rec + 16, r + 16, 16);
      f.insert(f.end(), rec, rec + 32);
    }
    f.insert(f.end(), v9.begin() + static_cast<long>(body), v9.end());
    bytes::Put<std::uint32_t>(f, info, version);
    return f;
  };
  // Version 5: the 232-byte FFT band block with its one channel index, later blocks 56
  // bytes earlier, and 32-byte channel records.
  auto v5 = [&]() {
    auto six = older(6);
    std::vector<std::uint8_t> f(six.begin(), six.begin() + static_cast<long>(info + 2368));
    std::vector<std::uint8_t> fft(232, 0);
    bytes::Put<std::int32_t>(fft, 0, 0);  // FFT channel 0
    bytes::Copy(fft, 4, v9, info + 2368 + 64, 2);
    bytes::Copy(fft, 8, v9, info + 2368 + 68, 4);
    bytes::Copy(fft, 12, v9, info + 2368 + 72, 6);
    bytes::Copy(fft, 24, v9, info + 2368 + 80, 192);
    bytes::Copy(fft, 216, v9, info + 2368 + 272, 2);
    bytes::Copy(fft, 220, v9, info + 2368 + 276, 8);
    f.insert(f.end(), fft.begin(), fft.end());
    f.insert(f.end(), six.begin() + static_cast<long>(info + 2656), six.end());
    bytes::Put<std::uint32_t>(f, info, 5);
    return f;
  };

  struct Case { const char* name; std::vector<std::uint8_t> file; int version; };
  std::vector<Case> cases{{"v9", v9, 9}, {"v8", older(8), 8}, {"v7", older(7), 7}, {"v6", older(6), 6},
                          {"v5", v5(), 5}};
  auto ext = v9;
  bytes::Put<std::uint32_t>(ext, info, 10009);
  cases.push_back({"v10009", ext, 9});
  for (const Case& c : cases) {
    PutFile(dir + "/in.raf", c.file);
    TinyDoc b(2, 40, 10);
    ScriptedUi u;
    ResultOpenOutcome outcome;
    ASSERT_EQ(OpenResultProcess(b.doc, dir + "/in.raf", u, &outcome), 1) << c.name << (u.shown.empty() ? "" : u.shown[0]);
    EXPECT_EQ(outcome.version, c.version) << c.name;
    EXPECT_EQ(b.recognition.Snore(), a.recognition.Snore()) << c.name;
    EXPECT_EQ(std::memcmp(b.epochs.Record(3), a.epochs.Record(3), kEpochRecBytes), 0) << c.name;
    EXPECT_EQ(b.epochs.BandValues(2, 7)[0], a.epochs.BandValues(2, 7)[0]) << c.name;
    EXPECT_EQ(Image(b.params.sleepDstrb), Image(a.params.sleepDstrb)) << c.name;
    EXPECT_EQ(b.params.fftBand.channelSwitch, a.params.fftBand.channelSwitch) << c.name;
    EXPECT_EQ(b.params.fftBand.bandCount, a.params.fftBand.bandCount) << c.name;
    EXPECT_EQ(b.channels[1].filterKind, c.version == 9 ? 1 : 0) << c.name;
    EXPECT_EQ(b.channels[1].notch, c.version == 9 ? 1 : 0) << c.name;
    EXPECT_EQ(b.channels[1].lineFrequencyHz, c.version == 9 ? 60.0 : 50.0) << c.name;
    EXPECT_EQ(b.channels[1].filterMode, a.channels[1].filterMode) << c.name;
  }

  for (std::uint32_t version : {0u, 1u, 2u, 3u, 4u, 10u, 10000u, 10004u, 10010u}) {
    auto f = v9;
    bytes::Put<std::uint32_t>(f, info, version);
    PutFile(dir + "/old.raf", f);
    TinyDoc b(2, 40, 10);
    ScriptedUi u;
    EXPECT_EQ(OpenResultProcess(b.doc, dir + "/old.raf", u), 0) << version;
    EXPECT_EQ(u.shown, (std::vector<std::string>{S(kIdsVersionDifferent), S(kIdsCannotOpenFile)})) << version;
    EXPECT_EQ(b.epochs.Record(0)->stage[0], 0);
  }
  PutFile(dir + "/foreign.raf", std::vector<std::uint8_t>(v9.begin() + 1, v9.end()));
  TinyDoc b(2, 40, 10);
  ScriptedUi u;
  EXPECT_EQ(OpenResultProcess(b.doc, dir + "/foreign.raf", u), 0);
  EXPECT_EQ(u.shown, std::vector<std::string>{S(kIdsCannotOpenFile)});
}

}  // namespace
