#include "app/scoring/multi_screening_staging.h"

#include <algorithm>
#include <cmath>

namespace msstage {

namespace {

constexpr int kDaySeconds = 86400;
constexpr int kLightSeconds = 43200;
constexpr std::uint8_t kPreviousStage = 255;

// Index of a stage code in TargetOccupancy (codes 2..6, 8, 9, 10), -1 for others.
int OccupancyIndex(int stage) {
  if (stage >= 2 && stage <= 6) return stage - 2;
  if (stage >= 8 && stage <= 10) return stage - 3;
  return -1;
}

// The stage codes besides 1 that the stage type counts.
std::vector<int> OtherCodes(const OccupancyFrame& f) {
  std::vector<int> codes;
  switch (f.stageType) {
    case 0: codes = {2, 3, 4, 5, 6, 7}; break;
    case 1: codes = {2, 3, 4, 5, 7}; break;
    case 2: codes = {2, 3, 5, 7}; break;
    default: codes = {2, 3, 7}; break;
  }
  for (int k = 0; k < std::clamp(f.extraStages, 0, 3); ++k) codes.push_back(8 + k);
  return codes;
}

struct TermSetup {
  LogicTerm* term = nullptr;
  const MultiScreeningTerm* source = nullptr;
  std::vector<float> values;
};

struct Stats {
  bool any = false;
  float min = 0, max = 0, mean = 0, median = 0;
};

Stats StatsOver(const std::vector<float>& v, const std::vector<std::uint8_t>& stages) {
  Stats s;
  std::vector<float> open;
  for (std::size_t e = 0; e < stages.size() && e < v.size(); ++e)
    if (stages[e] == 0) open.push_back(v[e]);
  if (open.empty()) return s;
  s.any = true;
  double sum = 0.0;
  for (float x : open) sum += x;
  s.mean = static_cast<float>(sum / static_cast<double>(open.size()));
  std::sort(open.begin(), open.end());
  s.min = open.front();
  s.max = open.back();
  const std::size_t n = open.size();
  s.median = n % 2 == 1 ? open[n / 2] : static_cast<float>((static_cast<double>(open[n / 2 - 1]) + open[n / 2]) / 2.0);
  return s;
}

float Statistic(const Stats& s, int kind, float keep) {
  if (!s.any) return keep;
  switch (kind) {
    case kMsBoundMax: return s.max;
    case kMsBoundMin: return s.min;
    case kMsBoundMean: return s.mean;
    case kMsBoundMedian: return s.median;
    default: return keep;
  }
}

bool ConditionHolds(const TermSetup& a, const TermSetup& b, bool useSecond, std::size_t e) {
  if (!TermHolds(*a.term, e < a.values.size() ? a.values[e] : 0.0f)) return false;
  return !useSecond || TermHolds(*b.term, e < b.values.size() ? b.values[e] : 0.0f);
}

// Scores the unstaged epochs of `stages` with one condition.
void Score(std::vector<std::uint8_t>& stages, std::uint8_t stage, const TermSetup& a, const TermSetup& b,
           bool useSecond) {
  for (std::size_t e = 0; e < stages.size(); ++e)
    if (stages[e] == 0 && ConditionHolds(a, b, useSecond, e)) stages[e] = stage;
}

// The automatic search of one bound.
void SearchBound(float* bound, const TermSetup& own, const TermSetup& a, const TermSetup& b, bool useSecond,
                 std::uint8_t stage, double target, const std::vector<std::uint8_t>& stages) {
  const Stats st = StatsOver(own.values, stages);
  if (!st.any) return;
  double lo = st.min, hi = st.max;
  const double n = static_cast<double>(stages.size());
  std::array<double, 5> x{}, o{};
  std::vector<std::uint8_t> copy;
  int j = 0;
  for (int iteration = 0; iteration < 20; ++iteration) {
    for (int i = 0; i < 5; ++i) {
      x[static_cast<std::size_t>(i)] = lo + i * (hi - lo) * 0.25;
      *bound = static_cast<float>(x[static_cast<std::size_t>(i)]);
      copy = stages;
      Score(copy, stage, a, b, useSecond);
      o[static_cast<std::size_t>(i)] = 100.0 * static_cast<double>(std::count(copy.begin(), copy.end(), stage)) / n;
    }
    // The direction of the curve from its two ends: a plateau between the first two
    // candidates must not make a falling occupancy look rising.
    const bool rising = o[0] <= o[4];
    j = -1;
    for (int i = 0; i < 4 && j < 0; ++i) {
      const double oi = o[static_cast<std::size_t>(i)], on = o[static_cast<std::size_t>(i + 1)];
      if (rising ? (oi <= target && target < on) : (on <= target && target < oi)) j = i;
    }
    if (j < 0) j = (rising ? o[4] <= target : target < o[4]) ? 4 : 0;
    if (j == 4) {
      *bound = static_cast<float>(x[4]);
      return;
    }
    lo = x[static_cast<std::size_t>(j)];
    hi = x[static_cast<std::size_t>(j + 1)];
  }
  *bound = static_cast<float>(x[static_cast<std::size_t>(j + 1)]);
}

}  // namespace

bool TermHolds(const LogicTerm& t, float value) {
  const bool lowerOk = t.lowerOp == 1 ? value >= t.lower : value > t.lower;
  const bool upperOk = t.upperOp == 3 ? value <= t.upper : value < t.upper;
  return lowerOk && upperOk;
}

double StageShare(const LyrMultiScreeningSetting& s, int stage, const OccupancyFrame& frame) {
  if (stage == 1) {
    double rest = 100.0;
    for (int code : OtherCodes(frame)) rest -= StageShare(s, code, frame);
    return rest;
  }
  const int index = OccupancyIndex(stage);
  return index < 0 ? 0.0 : s.TargetOccupancy[static_cast<std::size_t>(index)];
}

int LightEpochs(const LyrMultiScreeningSetting& s, const OccupancyFrame& frame, int epochs) {
  if (frame.epochSeconds <= 0 || epochs <= 0) return 0;
  const long long lightStart = s.LightPhaseStart[4] * 3600LL + s.LightPhaseStart[5] * 60LL + s.LightPhaseStart[6];
  const long long from = frame.firstEpochSecondOfDay;
  const long long to = from + static_cast<long long>(epochs) * frame.epochSeconds;
  long long light = 0;
  for (long long day = -1; day * kDaySeconds <= to; ++day) {
    const long long a = std::max(from, day * kDaySeconds + lightStart);
    const long long b = std::min(to, day * kDaySeconds + lightStart + kLightSeconds);
    if (b > a) light += (b - a) / frame.epochSeconds;
  }
  return static_cast<int>(std::min<long long>(light, epochs));
}

double TargetOccupancy(const LyrMultiScreeningSetting& s, int stage, const OccupancyFrame& frame, int epochs) {
  const double t = StageShare(s, stage, frame);
  if (!frame.hasStartTime || epochs <= 0) return t;
  const double lt = LightEpochs(s, frame, epochs);
  const double dk = epochs - lt;
  const double share = s.LightPhaseShare;
  return (lt * share * t * 0.0002 + dk * (100.0 - share) * t * 0.0002) * 100.0 / epochs;
}

bool StageAnimal(const LyrMultiScreeningSetting& s, const AnimalValues& animal, const OccupancyFrame& frame,
                 std::array<LogicCondition, LogicParam::kConditionsPerSet>* levels, std::vector<std::uint8_t>* stages,
                 const Progress& progress) {
  const int n = std::max(animal.epochs, 0);
  stages->assign(static_cast<std::size_t>(n), 0);
  for (LogicCondition& c : *levels) c = LogicCondition{0, {}, 0, {}, 0};
  auto step = [&](Step st) { return !progress || progress(st); };

  // The conditions in use: at most 20, up to the first of stage 0.
  int count = 0;
  while (count < static_cast<int>(s.Conditions.size()) && count < LogicParam::kConditionsPerSet &&
         s.Conditions[static_cast<std::size_t>(count)].Stage != 0)
    ++count;

  auto channelOf = [&](const MultiScreeningTerm& t, bool* valid) {
    const int position = s.FindPosition(t.ChannelKind, t.ChannelNumber);
    const int channel = std::max(position, 0) + animal.firstChannel;
    *valid = position >= 0 && channel < animal.channelCount;
    return channel;
  };
  auto setUp = [&](const MultiScreeningTerm& src, LogicTerm* dst, TermSetup* setup) {
    bool valid = false;
    const int channel = channelOf(src, &valid);
    dst->lower = src.LowerValue;
    dst->upper = src.UpperValue;
    dst->lowerOp = src.LowerExclusive != 0 ? 0 : 1;
    dst->upperOp = src.UpperExclusive != 0 ? 2 : 3;
    dst->valueCode = src.Parameter;
    dst->channel = static_cast<std::uint16_t>(channel);
    setup->term = dst;
    setup->source = &src;
    setup->values = animal.values ? animal.values(src.Parameter, valid ? channel : -1) : std::vector<float>{};
    setup->values.resize(static_cast<std::size_t>(n), 0.0f);
  };

  for (int ci = 0; ci < count; ++ci) {
    const MultiScreeningCondition& cond = s.Conditions[static_cast<std::size_t>(ci)];
    LogicCondition& lc = (*levels)[static_cast<std::size_t>(ci)];
    const bool last = ci == count - 1;
    lc.stage = cond.Stage;
    lc.andSwitch = cond.UseSecond != 0 ? 1 : 0;
    TermSetup a, b;
    setUp(cond.First, &lc.term1, &a);
    setUp(cond.Second, &lc.term2, &b);
    const bool useSecond = cond.UseSecond != 0;

    if (!step(Step::AutoLevel)) return false;
    // The previous-stage condition gives the scan's previous stage without testing its terms.
    if (!last && cond.Stage != kPreviousStage) {
      std::vector<TermSetup*> terms{&a};
      if (useSecond) terms.push_back(&b);
      for (TermSetup* t : terms) {
        const Stats st = StatsOver(t->values, *stages);
        t->term->lower = Statistic(st, t->source->LowerKind, t->term->lower);
        t->term->upper = Statistic(st, t->source->UpperKind, t->term->upper);
        if (t->term->lower == t->term->upper) t->term->upper += std::fabs(t->term->upper) * 0.01f;
      }
      const double target = TargetOccupancy(s, cond.Stage, frame, n);
      for (TermSetup* t : terms) {
        if (t->source->LowerKind == kMsBoundAuto)
          SearchBound(&t->term->lower, *t, a, b, useSecond, cond.Stage, target, *stages);
        if (t->source->UpperKind == kMsBoundAuto)
          SearchBound(&t->term->upper, *t, a, b, useSecond, cond.Stage, target, *stages);
      }
      for (TermSetup* t : terms)
        if (t->term->upper < t->term->lower) std::swap(t->term->upper, t->term->lower);
    }

    if (!step(Step::Scoring)) return false;
    std::uint8_t previous = 0;
    for (std::size_t e = 0; e < stages->size(); ++e) {
      std::uint8_t& st = (*stages)[e];
      if (st == 0) {
        if (cond.Stage == kPreviousStage) st = previous;
        else if (last || ConditionHolds(a, b, useSecond, e)) st = cond.Stage;
      }
      previous = st;
    }
  }

  if (!step(Step::FinalScoring)) return false;
  if (s.LastStageScreening != 0)
    for (std::size_t e = 1; e < stages->size(); ++e)
      if ((*stages)[e] == s.LastStageTarget && (*stages)[e - 1] == s.LastStageFrom) (*stages)[e] = s.LastStageResult;
  return true;
}

}  // namespace msstage
