#include "app/raw/page_sleep_dstrb_values.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "app/document/epoch_parameter.h"
#include "app/document/sleep_dstrb_tables.h"
#include "platform/draw/dc.h"

namespace {

// A representative kind: its table slot and whether a point is a mean (else the sum of
// the deviations from the epoch mean).
struct RprsntRole {
  int slot;
  bool mean;
};

// The representative roles a channel plays (several when one channel serves several).
std::vector<RprsntRole> RolesOf(const SleepDstrbParam& p, int ch) {
  std::vector<RprsntRole> roles;
  if (ch < 0) return roles;
  if (p.airFlow.channel == ch) roles.push_back({kRprsntAirFlow, true});
  if (p.chest.channel == ch) roles.push_back({kRprsntRespC, true});
  if (p.abdomen.channel == ch) roles.push_back({kRprsntRespA, true});
  if (p.legLeft.channel == ch) roles.push_back({kRprsntLMLeft, false});
  if (p.legRight.channel == ch) roles.push_back({kRprsntLMRight, false});
  if (p.spo2Channel == ch) roles.push_back({kRprsntSpO2, true});
  if (p.cpapChannel == ch) roles.push_back({kRprsntCPAP, true});
  if (p.positionChannel == ch) roles.push_back({kRprsntPosition, true});
  if (p.snore.channel == ch) roles.push_back({kRprsntSnore, false});
  return roles;
}

bool IsPreviewSlot(int slot) {
  return slot == kRprsntAirFlow || slot == kRprsntRespC || slot == kRprsntRespA || slot == kRprsntLMLeft ||
         slot == kRprsntLMRight || slot == kRprsntSnore;
}

}  // namespace

double CalcEpochMean(std::span<const float> samples, int rate, int epochSeconds) {
  const long long n = std::min<long long>(static_cast<long long>(rate) * epochSeconds,
                                          static_cast<long long>(samples.size()));
  if (n <= 0) return 0.0;
  double sum = 0;
  for (long long i = 0; i < n; ++i) sum += samples[std::size_t(i)];
  return sum / static_cast<double>(n);
}

double CalcRprsntMean(std::span<const float> samples, long long& cursor, long long block) {
  const long long end = std::min<long long>(cursor + block, static_cast<long long>(samples.size()));
  double sum = 0;
  long long n = 0;
  for (long long i = cursor; i < end; ++i, ++n) sum += samples[std::size_t(i)];
  cursor += block;
  return n > 0 ? sum / static_cast<double>(n) : 0.0;
}

double CalcRprsntDeviation(double base, std::span<const float> samples, long long& cursor, long long block) {
  const long long end = std::min<long long>(cursor + block, static_cast<long long>(samples.size()));
  double sum = 0;
  for (long long i = cursor; i < end; ++i) sum += std::fabs(samples[std::size_t(i)] - base);
  cursor += block;
  return sum;
}

int FillRepresentativeTable(LyrEpochParameter& tables, int slot, int epoch, std::span<const float> epochSamples,
                            int rate, int epochSeconds) {
  float* out = tables.Rprsnt(slot, epoch);
  if (!out) return 0;
  const int count = tables.RprsntCount(slot);
  std::fill(out, out + count, 0.0f);
  const int N = std::min(LyrEpochParameter::RprsntNum(slot, epochSeconds), count);
  if (N <= 0 || rate <= 0) return 1;
  const long long S = std::min<long long>(static_cast<long long>(rate) * epochSeconds,
                                          static_cast<long long>(epochSamples.size()));
  const long long block = S / N;
  const bool mean = !(slot == kRprsntLMLeft || slot == kRprsntLMRight || slot == kRprsntSnore);
  const double base = mean ? 0.0 : CalcEpochMean(epochSamples, rate, epochSeconds);
  long long cursor = 0;
  for (int k = 0; k < N; ++k)
    out[k] = static_cast<float>(mean ? CalcRprsntMean(epochSamples.first(std::size_t(S)), cursor, block)
                                     : CalcRprsntDeviation(base, epochSamples.first(std::size_t(S)), cursor, block));
  return 1;
}

int FindEpochPeaks(const SleepDstrbPageContext& ctx, int epochOffset, const WaveChannelPage& page,
                   std::vector<WaveExtremum>& peaks, double peakLevel, double minSpacingMs, double upperLimit,
                   bool ticks, int perTenth, draw::ColorRef tickColour) {
  peaks.clear();
  const long long S = static_cast<long long>(page.rate) * ctx.epochSeconds;
  if (S <= 0 || epochOffset < 0 || epochOffset + S > static_cast<long long>(page.samples.size())) return 0;
  const std::size_t maxCount = std::size_t(ctx.epochSeconds * 10) * std::size_t(std::max(perTenth, 0));
  peaks.reserve(std::min<std::size_t>(maxCount, 4096));
  const long long spacing = static_cast<long long>(minSpacingMs / (1000.0 / page.rate));
  const float* x = page.samples.data() + epochOffset;
  const long long head = std::min<long long>(150, S);
  double m0 = 0;
  for (long long i = 0; i < head; ++i) m0 += x[i];
  m0 /= static_cast<double>(head);
  const double P = peakLevel;

  long long i = 0;
  bool trackMax = false;
  for (; i < S; ++i) {
    if (x[i] > m0 + P / 2) { trackMax = true; break; }
    if (x[i] < m0 - P / 2) { trackMax = false; break; }
  }
  double runMax = std::numeric_limits<double>::lowest(), runMin = std::numeric_limits<double>::max();
  long long maxIdx = i;
  const bool drawTicks = ticks && ctx.dc && page.map;
  for (; i < S && peaks.size() < maxCount; ++i) {
    const double v = x[i];
    if (trackMax) {
      if (v > runMax) {
        runMax = v;
        maxIdx = i;
      } else if (v <= runMax - P) {
        const long long idx = epochOffset + maxIdx;
        if (peaks.empty() || idx - peaks.back().index > spacing) {
          WaveExtremum p;
          p.index = static_cast<std::int32_t>(idx);
          p.value = static_cast<float>(runMax);
          draw::Point pt;
          if (page.map && page.map(p.index, &pt) == 0) {
            p.x = pt.x;
            p.y = pt.y;
            if (drawTicks) {
              const draw::Pen old = ctx.dc->SelectPen(draw::Pen{draw::PS_SOLID, 1, tickColour});
              ctx.dc->MoveTo(pt.x, pt.y - 5);
              ctx.dc->LineTo(pt.x, pt.y + 5);
              ctx.dc->SelectPen(old);
            }
          }
          peaks.push_back(p);
        }
        trackMax = false;
        runMin = v;
      }
    } else {
      if (v < runMin) {
        runMin = v;
      } else if (v >= runMin + P && (upperLimit < 0 || v < upperLimit)) {
        trackMax = true;
        runMax = v;
        maxIdx = i;
      }
    }
  }
  return static_cast<int>(peaks.size());
}

bool WaveFormRespirationTransaction(const SleepDstrbPageContext& ctx, int channel, const WaveChannelPage& page) {
  if (!ctx.param || channel < 0) return true;
  const SleepDstrbParam& p = *ctx.param;
  const std::vector<RprsntRole> roles = RolesOf(p, channel);
  const bool ecg = p.ecgChannel == channel;
  const bool arousal = p.arousal.channel == channel;
  if (roles.empty() && !ecg && !arousal) return true;
  const int n = ctx.EpochsPerPage();
  const long long S = static_cast<long long>(page.rate) * ctx.epochSeconds;
  if (n <= 0 || S <= 0) return true;
  const int firstEpoch = ctx.FirstEpoch();
  const long long pageStartSample = ctx.pageStartSecond * page.rate;
  std::vector<WaveExtremum> peaks;

  try {
    for (int e = 0; e < n; ++e) {
      const int epoch = firstEpoch + e;
      if (epoch >= ctx.recordingEpochs) break;
      if (static_cast<long long>(e + 1) * S > static_cast<long long>(page.samples.size())) break;
      const int offset = static_cast<int>(e * S);
      const std::span<const float> epochSamples = page.samples.subspan(std::size_t(offset), std::size_t(S));

      // 1. Representative values: the current page only; all but SpO2 only while screening.
      if (ctx.currentPageRow && ctx.epochTables)
        for (const RprsntRole& role : roles)
          if (ctx.screening || role.slot == kRprsntSpO2)
            FillRepresentativeTable(*ctx.epochTables, role.slot, epoch, epochSamples, page.rate, ctx.epochSeconds);

      // 2. ECG R peaks and the epoch's mean R-R interval.
      if (ecg && ctx.tables && (ctx.screening || ctx.tables->ECGRcgnz().Exists())) {
        FindEpochPeaks(ctx, offset, page, peaks, p.ecgPeakLevel, p.rWaveInvalidMs, p.ecgAmplitudeMax,
                       p.ecgShowPeak != 0, 20, ctx.ecgTickColour);
        if (ctx.currentPageRow && ctx.screening) {
          EcgRcgnzTable& list = ctx.tables->ECGRcgnz();
          const long long capacity = static_cast<long long>(list.positions.size());
          // Only the peaks the list can hold take part, so the list, its count and the
          // intervals stay consistent when a noisy epoch finds more peaks than fit.
          int listed = 0;
          double sum = 0;
          long long prev = 0;
          for (const WaveExtremum& pk : peaks) {
            if (list.count < 0 || list.count >= capacity) break;
            const long long pos = pk.index + pageStartSample;
            list.positions[std::size_t(list.count)] = static_cast<std::int32_t>(pos);
            ++list.count;
            if (listed > 0) sum += static_cast<double>(pos - prev) * 1000.0 / page.rate;
            prev = pos;
            ++listed;
          }
          std::vector<double>& rr = ctx.tables->ECGLFHF();
          if (epoch >= 0 && static_cast<std::size_t>(epoch) < rr.size())
            rr[std::size_t(epoch)] = listed >= 2 ? sum / (listed - 1) : 0.0;
        }
      }

      // 3. Arousal EEG peaks in 0.1-s bins.
      if (arousal && ctx.tables &&
          (ctx.screening || ctx.tables->ArousalPageTbl().Exists() || ctx.arousalPageMode)) {
        const int found = FindEpochPeaks(ctx, offset, page, peaks, p.arousal.values[0], 10.0, -1.0,
                                         p.arousalShowPeak != 0, SleepDstrbTables::kArousalPeaksPerPoint,
                                         ctx.arousalTickColour);
        if (ctx.currentPageRow && (ctx.screening || ctx.arousalPageMode) && found > 0) {
          SparseU32Table& list = ctx.tables->ArousalPageTbl();
          std::int32_t& count = ctx.tables->ArousalPageCount();
          for (const WaveExtremum& pk : peaks) {
            if (count < 0 || static_cast<std::size_t>(count) >= list.Count()) break;
            if (!list.Set(std::size_t(count), static_cast<std::uint32_t>(pk.index + pageStartSample)))
              throw std::bad_alloc();
            ++count;
          }
          std::vector<std::uint8_t>& bins = ctx.tables->ArousalPeakNum();
          const long long perEpoch = static_cast<long long>(ctx.epochSeconds) * 10;
          const long long first = (ctx.arousalPageMode ? e : epoch) * perEpoch;
          for (long long b = first; b < first + perEpoch; ++b)
            if (b >= 0 && b < static_cast<long long>(bins.size())) bins[std::size_t(b)] = 0;
          const double binSamples = page.rate * 0.1;
          for (const WaveExtremum& pk : peaks) {
            const long long pos = pk.index + (ctx.arousalPageMode ? 0 : pageStartSample);
            const long long b = static_cast<long long>(pos / binSamples);
            if (b >= 0 && b < static_cast<long long>(bins.size()) && bins[std::size_t(b)] < 255) ++bins[std::size_t(b)];
          }
          // The page's last epoch: also the recording's last one, so that a final
          // partial page is recognised too.
          const bool lastOfPage = e == n - 1 || epoch == ctx.recordingEpochs - 1;
          if (lastOfPage && ctx.recognizeArousal) ctx.recognizeArousal(ctx);
        }
      }
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

int CalcPreviewRepresentValues(const SleepDstrbPageContext& ctx, int channel, int rate, int currentPage,
                               int pageCount,
                               const std::function<bool(int page, std::vector<float>& samples)>& loadPage) {
  if (!ctx.param || !ctx.epochTables || !ctx.currentPageRow || rate <= 0 || !loadPage) return 0;
  std::vector<RprsntRole> roles = RolesOf(*ctx.param, channel);
  std::erase_if(roles, [](const RprsntRole& r) { return !IsPreviewSlot(r.slot); });
  if (roles.empty()) return 0;
  const int n = ctx.EpochsPerPage();
  const long long S = static_cast<long long>(rate) * ctx.epochSeconds;
  if (n <= 0 || S <= 0) return 0;
  std::vector<float> buffer;
  int pages = 0;
  const int from = std::max(0, currentPage - 5), to = std::min(pageCount - 1, currentPage + 5);
  for (int pg = from; pg <= to; ++pg) {
    if (!loadPage(pg, buffer)) continue;
    ++pages;
    for (int e = 0; e < n; ++e) {
      const long long epoch = static_cast<long long>(pg) * n + e;
      if (epoch >= ctx.recordingEpochs) break;
      if (static_cast<long long>(e + 1) * S > static_cast<long long>(buffer.size())) break;
      const std::span<const float> samples(buffer.data() + e * S, std::size_t(S));
      for (const RprsntRole& role : roles)
        FillRepresentativeTable(*ctx.epochTables, role.slot, static_cast<int>(epoch), samples, rate,
                                ctx.epochSeconds);
    }
  }
  return pages;
}
