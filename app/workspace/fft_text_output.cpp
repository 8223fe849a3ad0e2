#include "app/workspace/fft_text_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/frame/shared_dialog_rules.h"
#include "platform/res/resource_store.h"

namespace ffttext {
namespace {

constexpr std::uint32_t kStrStartTime = 65474;
constexpr std::uint32_t kStrEndTime = 65475;
constexpr std::uint32_t kStrArtifactExcludes = 65476;
constexpr std::uint32_t kStrDivisionHours = 65477;
constexpr std::uint32_t kStrTimeDivision = 65478;
constexpr std::uint32_t kStrEpochNo = 65479;
constexpr std::uint32_t kStrDiscarded = 65480;
constexpr std::uint32_t kStrNone = 65481;
constexpr std::uint32_t kStrStage = 65482;
constexpr std::uint32_t kStrHz = 65483;

std::string F(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", v);
  return text;
}

int BandCount(const FFTPageParam& fp) { return std::clamp<int>(fp.bandCount, 0, 6); }

std::string UnitCell(const FFTPageParam& fp, const std::string& unit, char d) {
  return (fp.unit == 0 ? unit + "^2" : unit) + d;
}

std::string UnattendedLines(const AverageLayout& l) {
  const char d = l.delimiter;
  std::string out = res::LoadString(kStrStartTime) + d + l.firstLabel + d;
  if (l.artifactExcludes) out += std::string(1, d) + res::LoadString(kStrArtifactExcludes) + d;
  out += "\n";
  char hours[64];
  std::snprintf(hours, sizeof hours, "%g", l.divisionHours);
  out += res::LoadString(kStrEndTime) + d + l.lastLabel + d + res::LoadString(kStrDivisionHours) + d + hours + d + "\n";
  return out + "\n";
}

// Bin lines and band lines of one table.
std::string BinLines(const AverageLayout& l, const DivisionTable& t) {
  const char d = l.delimiter;
  const int B = static_cast<int>(t.averaged.empty() ? 0 : t.sums.size() / t.averaged.size());
  std::string out;
  for (int k = 0; k < l.bins.printed && k < B; ++k) {
    out += F(k * l.bins.df) + d;
    for (int j = 0; j < l.divisions; ++j) {
      const std::int32_t n = t.averaged[static_cast<std::size_t>(j)];
      out += (n > 0 ? F(t.sums[static_cast<std::size_t>(j) * B + k] / n) : res::LoadString(kStrNone)) + d;
    }
    out += "\n";
  }
  return out;
}

std::string BandLines(const AverageLayout& l, const DivisionTable& t) {
  const char d = l.delimiter;
  const FFTPageParam& fp = *l.fp;
  const int B = static_cast<int>(t.averaged.empty() ? 0 : t.sums.size() / t.averaged.size());
  std::string out;
  for (int b = 0; b < BandCount(fp); ++b) {
    const FrequencyBand& band = fp.bands[static_cast<std::size_t>(b)];
    out += band.name + d;
    for (int j = 0; j < l.divisions; ++j) {
      double sum = 0.0;
      int count = 0;
      for (int k = 0; k < l.bins.banded && k < B; ++k) {
        const double hz = k * l.bins.df;
        if (band.fromHz <= hz && hz < band.toHz) {
          sum += t.sums[static_cast<std::size_t>(j) * B + k];
          ++count;
        }
      }
      const double divisor = static_cast<double>(t.averaged[static_cast<std::size_t>(j)]) * count;
      out += (divisor != 0.0 ? F(sum / divisor) : res::LoadString(kStrNone)) + d;
    }
    out += "\n";
  }
  return out;
}

std::string DivisionNumbers(int divisions, char d) {
  std::string out;
  for (int j = 1; j <= divisions; ++j) out += std::to_string(j) + d;
  return out;
}

}  // namespace

std::vector<int> StageRowCodes(int stageType, int extraStages) { return OfferedStageCodes(stageType, extraStages); }

int StageRow(int stageType, int code) {
  if (code >= 20) code -= 20;
  if (code < 1 || code > 10) return -1;
  if (stageType == 0) return code - 1;
  const std::vector<int> codes = StageRowCodes(stageType, 3);
  const auto it = std::find(codes.begin(), codes.end(), code);
  return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

Bins BinsOf(double rateHz, int points, float upperHz, int valueCount) {
  Bins b;
  if (points <= 0 || rateHz <= 0.0) return b;
  b.df = rateHz / points;
  const int B = points / 2 + 1;
  b.banded = std::min(B, std::max(valueCount, 0));
  const double kmax = std::trunc(upperHz / b.df) + 1.0;
  b.printed = static_cast<int>(std::min<double>(b.banded, std::max(kmax, 0.0)));
  return b;
}

int DivisionCount(int epochs, int perDivision) {
  if (perDivision <= 0 || epochs < perDivision) return 1;
  return std::max(epochs / perDivision, 1) + (epochs % perDivision != 0 ? 1 : 0);
}

void DivisionTable::Reset(int divisions, int bins) {
  sums.assign(static_cast<std::size_t>(divisions) * static_cast<std::size_t>(bins), 0.0);
  averaged.assign(static_cast<std::size_t>(divisions), 0);
  rejected.assign(static_cast<std::size_t>(divisions), 0);
}

void DivisionTable::Add(int division, std::span<const float> values) {
  if (averaged.empty() || division < 0 || static_cast<std::size_t>(division) >= averaged.size()) return;
  const std::size_t B = sums.size() / averaged.size();
  const std::size_t n = std::min(B, values.size());
  for (std::size_t k = 0; k < n; ++k) sums[static_cast<std::size_t>(division) * B + k] += values[k];
  ++averaged[static_cast<std::size_t>(division)];
}

std::string PerStageText(const AverageLayout& l, const std::vector<StageTable>& rows) {
  const char d = l.delimiter;
  std::string out;
  if (l.unattended) out += UnattendedLines(l);
  for (const StageTable& row : rows) {
    const DivisionTable& t = *row.table;
    out += res::LoadString(kStrTimeDivision) + "(" + l.divisionLabel + ")" + d + DivisionNumbers(l.divisions, d) + "\n\n";
    out += res::LoadString(kStrStage) + d;
    for (int j = 0; j < l.divisions; ++j) out += row.name + d;
    out += "\n" + res::LoadString(kStrHz) + d;
    for (int j = 0; j < l.divisions; ++j) out += UnitCell(*l.fp, l.unit, d);
    out += "\n" + BinLines(l, t) + "\n";
    out += res::LoadString(kStrEpochNo) + d;
    for (int j = 0; j < l.divisions; ++j) out += std::to_string(t.averaged[static_cast<std::size_t>(j)]) + d;
    out += "\n" + res::LoadString(kStrDiscarded) + d;
    for (int j = 0; j < l.divisions; ++j) out += std::to_string(t.rejected[static_cast<std::size_t>(j)]) + d;
    out += "\n\n" + BandLines(l, t) + "\n";
  }
  return out;
}

std::string AllEpochText(const AverageLayout& l, const DivisionTable& all) {
  const char d = l.delimiter;
  std::string out;
  if (l.unattended) out += UnattendedLines(l);
  out += res::LoadString(kStrTimeDivision) + d + DivisionNumbers(l.divisions, d) + "\n\n";
  out += res::LoadString(kStrHz) + d;
  for (int j = 0; j < l.divisions; ++j) out += UnitCell(*l.fp, l.unit, d);
  out += "\n" + BinLines(l, all) + "\n" + BandLines(l, all) + "\n";
  return out;
}

std::vector<double> BandValues(const FFTPageParam& fp, const Bins& bins, std::span<const float> values) {
  std::vector<double> out(static_cast<std::size_t>(BandCount(fp)), 0.0);
  double total = 0.0;
  const int n = std::min(bins.banded, static_cast<int>(values.size()));
  for (int k = 0; k < n; ++k) {
    const double hz = k * bins.df;
    for (int b = 0; b < BandCount(fp); ++b) {
      const FrequencyBand& band = fp.bands[static_cast<std::size_t>(b)];
      if (band.fromHz <= hz && hz < band.toHz) out[static_cast<std::size_t>(b)] += values[static_cast<std::size_t>(k)];
    }
    if (fp.contentFromHz <= hz && hz < fp.contentToHz) total += values[static_cast<std::size_t>(k)];
  }
  if (fp.contentMode != 0 && total != 0.0)
    for (double& v : out) v = v / total * 100.0;
  return out;
}

std::string ContinuousHeader(const ContinuousLayout& l) {
  const char d = l.delimiter;
  const FFTPageParam& fp = *l.fp;
  std::string first = l.name + d + d + d;
  std::string second = res::LoadString(kStrEpochNo) + d + res::LoadString(kStrStage) + d + "Time" + d;
  if (fp.showContent != 0) {
    for (int b = 0; b < BandCount(fp); ++b) {
      first += fp.contentMode != 0 ? std::string("%") + d : UnitCell(fp, l.unit, d);
      second += fp.bands[static_cast<std::size_t>(b)].name + d;
    }
    first += d;
    second += d;
  }
  for (int k = 0; k < l.bins.printed; ++k) {
    first += UnitCell(fp, l.unit, d);
    second += F(k * l.bins.df) + "Hz" + d;
  }
  return first + "\n" + second + "\n";
}

std::string ContinuousLine(const ContinuousLayout& l, int epoch, const std::string& stageName,
                           const std::string& timeLabel, std::span<const float> values) {
  const char d = l.delimiter;
  std::string out = std::to_string(epoch) + d + stageName + d + timeLabel + d;
  if (l.fp->showContent != 0) {
    for (double v : BandValues(*l.fp, l.bins, values)) out += F(v) + d;
    out += d;
  }
  for (int k = 0; k < l.bins.printed && k < static_cast<int>(values.size()); ++k) out += F(values[static_cast<std::size_t>(k)]) + d;
  return out + "\n";
}

}  // namespace ffttext
