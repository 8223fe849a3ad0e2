// Odd settings and odd samples never crash the recognition or write outside its tables:
// random pages and settings, run under the sanitizers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "app/document/epoch_parameter.h"
#include "app/document/sleep_dstrb_tables.h"
#include "app/raw/page_sleep_dstrb_values.h"
#include "page_fixture.h"

using namespace wavetest;

namespace {

TEST(Robustness, RandomSettingsAndSamples) {
  std::mt19937 rng(20261210);
  auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const double odd[] = {0.0, -5.0, 1e30, std::numeric_limits<double>::quiet_NaN(), 3.0};
  for (int round = 0; round < 60; ++round) {
    const int epochSeconds = 4 + pick(3) * 13;  // 4, 17, 30
    const int pageSeconds = epochSeconds * (1 + pick(3));
    const int rate = 1 + pick(4) * 97;  // 1 .. 292
    Page page(epochSeconds, pageSeconds, 1 + pick(4));
    page.ctx.pageStartSecond = pick(3) * pageSeconds;
    page.ctx.screening = pick(2);
    page.param.precision = static_cast<std::uint16_t>(pick(2));
    for (auto& b : page.param.bands) {
      b.channel = pick(3) - 1;
      b.frequencyMinHz = pick(4) ? uni(0.1, 20) : odd[pick(5)];
      b.frequencyMaxHz = pick(4) ? b.frequencyMinHz + uni(0, 10) : odd[pick(5)];
      b.amplitudeMin = uni(0, 50);
      b.amplitudeMax = pick(4) ? uni(50, 500) : odd[pick(5)];
      b.peakDetectLevel = pick(3) ? uni(1, 60) : odd[pick(5)];
      b.halfWaveCount = pick(8) - 2;
      b.emgCancel = static_cast<std::uint16_t>(pick(2));
      b.showPeak = static_cast<std::uint16_t>(pick(2));
    }
    page.param.kComplex.channel = pick(3) - 1;
    page.param.kComplex.peakDetectLevel = pick(3) ? uni(1, 80) : odd[pick(5)];
    page.param.eogRight.channel = pick(3) - 1;
    page.param.eogLeft.channel = pick(3) - 1;
    page.param.eogRight.detectAngle = pick(3) ? uni(0, 89) : odd[pick(5)];
    page.param.emgChannel = pick(3) - 1;

    // Pages of noise and bursts, some a little short, some with not-a-number or huge values.
    std::vector<std::vector<float>> data(2);
    std::vector<WaveChannelPage> row;
    for (auto& x : data) {
      x.assign(std::size_t(pageSeconds) * std::size_t(rate) - std::size_t(pick(2) * rate), 0.0f);
      for (float& v : x) v = static_cast<float>(uni(-100, 100) * (pick(20) ? 0.2 : 1.0));
      if (pick(4) == 0) x[x.size() / 2] = std::numeric_limits<float>::quiet_NaN();
      if (pick(4) == 0) x[x.size() / 3] = 3e38f;
      row.push_back(Channel(x, rate));
    }
    RawPageRecognition rec;
    rec.RecognizeRow(page.ctx, row);
    EXPECT_LE(rec.Table().Count(), rec.Table().Capacity());

    SleepDstrbParam sp;
    sp.airFlow.channel = 0;
    sp.legLeft.channel = 1;
    sp.ecgChannel = pick(2);
    sp.arousal.channel = 1 - sp.ecgChannel;
    sp.ecgPeakLevel = pick(3) ? uni(1, 80) : odd[pick(5)];
    sp.arousal.values[0] = pick(3) ? uni(1, 80) : odd[pick(5)];
    LyrEpochParameter tables;
    tables.SetNew(4, 0, 2, 1, 1);
    tables.AllocateRprsntTable();
    tables.AllocateRprsntAirFlow(epochSeconds);
    tables.AllocateRprsntLMLeft(epochSeconds);
    SleepDstrbTables rt;
    SleepDstrbChannels ch;
    ch.ecg = ch.arousal = 0;
    rt.AllocateECGTables(ch, 1, 1);
    rt.AllocateArousalTables(ch, pick(2) ? 5 : 0);
    rt.AllocateArousalPageTbl(ch, epochSeconds, pageSeconds);
    SleepDstrbPageContext sc;
    sc.param = &sp;
    sc.epochTables = &tables;
    sc.tables = &rt;
    sc.epochSeconds = epochSeconds;
    sc.pageSeconds = pageSeconds;
    sc.pageStartSecond = page.ctx.pageStartSecond;
    sc.recordingEpochs = page.ctx.recordingEpochs;
    sc.currentPageRow = true;
    sc.screening = true;
    sc.arousalPageMode = pick(2);
    for (int c = 0; c < 2; ++c) EXPECT_TRUE(WaveFormRespirationTransaction(sc, c, row[std::size_t(c)]));
    EXPECT_LE(rt.ECGRcgnz().count, static_cast<std::int32_t>(rt.ECGRcgnz().positions.size()));
  }
}

}  // namespace
