#include "app/scoring/lyr_dlg_learning.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <new>
#include <numbers>

#include "app/scoring/learned_staging_strings.h"
#include "app/scoring/learning_messages.h"
#include "app/scoring/learning_sample_file.h"
#include "app/scoring/lyr_learning_sample_set.h"
#include "app/scoring/lyr_tree_learner.h"
#include "app/scoring/mdlpc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"

double CalcFDistributionProbability(std::int32_t df1, std::int32_t df2, double f) {
  if (df1 < 1 || df2 < 1) return 1.0;
  if (!(f > 0.0)) return 1.0;
  const double x = df2 / (df1 * f + df2);
  double a = 2 - (df1 % 2), b = 2 - (df2 % 2);
  double value = 0.0, term = 0.0;
  const bool odd1 = df1 % 2 == 1, odd2 = df2 % 2 == 1;
  if (odd1 && odd2) {
    value = 1.0 - 2.0 / std::numbers::pi * std::atan2(std::sqrt(1.0 - x), std::sqrt(x));
    term = std::sqrt(x * (1.0 - x)) / std::numbers::pi;
  } else if (odd1) {
    value = 1.0 - std::sqrt(1.0 - x);
    term = x * std::sqrt(1.0 - x) / 2.0;
  } else if (!odd2) {
    value = x;
    term = x * (1.0 - x);
  } else {
    value = std::sqrt(x);
    term = std::sqrt(x) * (1.0 - x) / 2.0;
  }
  while (b < df2) {
    value -= (2.0 / b) * term;
    term *= (a + b) * x / b;
    b += 2;
  }
  while (a < df1) {
    value += (2.0 / a) * term;
    term *= (a + b) * (1.0 - x) / a;
    a += 2;
  }
  if (value < 0.0 && -value < 1e-10) return 0.0;
  return value;
}

LyrDlgLearning::LyrDlgLearning(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {}

LyrDlgLearning::~LyrDlgLearning() = default;

bool LyrDlgLearning::OnInitDialog() { return true; }

int LyrDlgLearning::GetClassIndex(int stageType, int code) {
  static constexpr int kTable[4][7] = {
      {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, -1, 5}, {0, 1, 2, -1, 3, -1, 4}, {0, 1, 2, -1, -1, -1, 3}};
  if (stageType < 0 || stageType > 3) return -1;
  if (code >= 1 && code <= 7) return kTable[stageType][code - 1];
  if (code >= 8 && code <= 10) return code - 1;
  if (code >= 21 && code <= 30) {
    const int base = GetClassIndex(stageType, code - 20);
    return base < 0 ? -1 : base + 20;
  }
  return -1;
}

void LyrDlgLearning::SetProgress(int pos) {
  Item(IDC_PROGRESS).SetPos(pos);
  // The run holds the thread: the bar is repainted at once.
  RedrawWindow();
  if (onProgress) onProgress(pos);
}

int LyrDlgLearning::ReadLearningSampleFile(int t) {
  LyrStagingModel& m = models[t];
  LearningSampleSet set;
  std::string message;
  const std::string path = (std::filesystem::path(modelFolder) / m.fileName).string();
  if (ReadLearningSamples(path, sampleLimit, &set, &message) != LearningFileStatus::Ok) {
    if (!message.empty()) LyrAutoStaging::Say(message);
    return 0;
  }
  TakeLearningHeader(set.header, &m);
  m.samples.clear();
  m.classIndexes.clear();
  m.classPresent.fill(0);
  for (std::size_t i = 0; i < set.samples.size(); ++i) {
    const int cls = GetClassIndex(set.header.stageType, set.stages[i][3]);
    if (cls < 0 || cls >= m.classCount) continue;
    // An epoch whose features are not all numbers tells nothing about its class.
    const LearningFeatures f = ReadLearningFeatures(set.samples[i]);
    if (!std::all_of(f.begin(), f.end(), [](double v) { return std::isfinite(v); })) continue;
    m.samples.push_back(set.samples[i]);
    m.classIndexes.push_back(cls);
    m.classPresent[static_cast<std::size_t>(cls)] = 1;
  }
  m.sampleCount = static_cast<std::int32_t>(m.samples.size());
  return 1;
}

int LyrDlgLearning::SetAxes(int t) {
  LyrStagingModel& m = models[t];
  m.axisUsed.assign(static_cast<std::size_t>(std::max(m.axisCount, 0)), 1);
  m.usedAxisCount = m.axisCount;
  for (int j = 0; j < kLearningFeatureCount; ++j)
    m.axisNames[static_cast<std::size_t>(j)] = j < m.axisCount ? std::to_string(j + 1) + "Axis" : std::string();
  return 1;
}

int LyrDlgLearning::SelectSignificantAxes(int t) {
  LyrStagingModel& m = models[t];
  const int a = m.classCountUsed * m.featureCountUsed;
  const int b = m.sampleCountUsed * m.featureCountUsed;
  const auto q = static_cast<std::size_t>(std::max(m.axisCount, 0));
  if (m.eigenvalues.size() < q || m.cutLists.size() < q) return 0;
  m.probabilities.assign(q, 0.0);
  m.axisUsed.assign(q, 0);
  m.usedAxisCount = 0;
  for (std::size_t j = 0; j < q; ++j) {
    // F of Wilks' lambda for one axis: the eigenvalue of Sb v = lambda Sw v is unbounded, so
    // the axis's share of the scatter is lambda / (1 + lambda).
    const double lambda = m.eigenvalues[j];
    double p = 1.0;
    if (a > 1 && b > a && lambda > 0.0) p = CalcFDistributionProbability(a - 1, b - a, (b - a) * lambda / (a - 1));
    if (p < 0.0 || p > 1.0) p = 0.0;
    m.probabilities[j] = p;
    if (!(p >= significanceLevel) && !m.cutLists[j].empty()) {
      m.axisUsed[j] = 1;
      ++m.usedAxisCount;
    }
  }
  try {
    m.intervals.assign(m.axisScores.size(), std::vector<std::int32_t>(static_cast<std::size_t>(m.usedAxisCount)));
    for (std::size_t s = 0; s < m.axisScores.size(); ++s) {
      std::size_t u = 0;
      for (std::size_t j = 0; j < q; ++j) {
        if (m.axisUsed[j] != 1) continue;
        const std::vector<double>& cuts = m.cutLists[j];
        m.intervals[s][u++] =
            static_cast<std::int32_t>(std::upper_bound(cuts.begin(), cuts.end(), m.axisScores[s][j]) - cuts.begin());
      }
    }
  } catch (const std::bad_alloc&) {
    SayLearningFailure(3053);
    return 0;
  }
  return 1;
}

int LyrDlgLearning::LearnAll() {
  Item(IDC_PROGRESS).Show(true);
  Item(IDC_PROGRESS).SetRange(0, kStepsPerSet * std::max(learningSetCount, 1));
  EnableItem(ui::IDOK, false);
  EnableItem(ui::IDCANCEL, false);
  SetProgress(0);
  int base = 0;
  for (int t = 0; t < learningSetCount; ++t) {
    LyrStagingModel& m = models[t];
    auto freeWork = [&m] {
      m.samples.clear();
      m.samples.shrink_to_fit();
      m.intervals.clear();
      m.intervals.shrink_to_fit();
    };
    if (!ReadLearningSampleFile(t)) return 0;
    SetProgress(base + 1);
    LyrLearningSampleSet set(models, t);
    if (!set.Build()) {
      freeWork();
      return 0;
    }
    SetProgress(base + 2);
    SetAxes(t);
    SetProgress(base + 3);
    Mdlpc mdlpc(models, t, cutPointLimit);
    if (!mdlpc.BuildCutTable()) {
      freeWork();
      return 0;
    }
    SetProgress(base + 5);
    if (!SelectSignificantAxes(t)) {
      LyrAutoStaging::Say(res::LoadString(kIdsLearningFailure3043));
      freeWork();
      return 0;
    }
    SetProgress(base + 6);
    LyrTreeLearner learner(models, t, confidenceFactor);
    if (!learner.GrowTree()) {
      freeWork();
      return 0;
    }
    base += kStepsPerSet;
    SetProgress(base);
    freeWork();
  }
  return 1;
}

void LyrDlgLearning::RunLearning() { EndDialog(LearnAll() ? ui::IDOK : ui::IDCANCEL); }
