#include "app/scoring/lyr_learning_sample_set.h"

#include <cmath>
#include <new>

#include "app/scoring/jacobi_eigen.h"
#include "app/scoring/learning_messages.h"

namespace {

using Matrix = std::vector<double>;  // row-major

// Eigenvalues below this share of the largest are rounding noise of a singular scatter.
constexpr double kSingularShare = 1e-12;

}  // namespace

LyrLearningSampleSet::LyrLearningSampleSet(LyrStagingModel* models, int index) : models_(models), index_(index) {}

LyrLearningSampleSet::~LyrLearningSampleSet() {
  LyrStagingModel& m = models_[index_];
  m.axisScores.clear();
  m.axisScores.shrink_to_fit();
}

int LyrLearningSampleSet::Fail(int code) {
  SayLearningFailure(code);
  return 0;
}

int LyrLearningSampleSet::Build() {
  LyrStagingModel& m = models_[index_];
  try {
    // Used features and present classes.
    std::vector<int> features;
    for (int k = 0; k < m.featureCount && k < kLearningFeatureCount; ++k) {
      const auto kk = static_cast<std::size_t>(k);
      m.featureUsed[kk] = m.featurePresent[kk] * m.featureChosen[kk];
      if (m.featureUsed[kk] == 1) features.push_back(k);
    }
    std::array<int, kStagingClassSlots> counts{};
    for (std::int32_t c : m.classIndexes) {
      if (c < 0) continue;
      if (c >= kStagingClassSlots) return 0;
      ++counts[static_cast<std::size_t>(c)];
    }
    std::vector<int> present;
    for (int c = 0; c < kStagingClassSlots; ++c) {
      m.classPresent[static_cast<std::size_t>(c)] = counts[static_cast<std::size_t>(c)] > 0 ? 1 : 0;
      if (counts[static_cast<std::size_t>(c)] > 0) present.push_back(c);
    }
    k_ = static_cast<int>(present.size());
    p_ = static_cast<int>(features.size());
    n_ = 0;
    for (int c : present) n_ += counts[static_cast<std::size_t>(c)];
    if (n_ == 0 || n_ <= k_) return Fail(4082);
    q_ = std::min(p_, k_ - 1);

    // Feature vectors grouped by class, classes compacted.
    const auto P = static_cast<std::size_t>(p_);
    std::vector<std::vector<double>> x;
    std::vector<int> cls;
    std::vector<int> first;  // per present class: its first sample
    x.reserve(static_cast<std::size_t>(n_));
    for (std::size_t ci = 0; ci < present.size(); ++ci) {
      first.push_back(static_cast<int>(x.size()));
      for (std::size_t s = 0; s < m.samples.size() && s < m.classIndexes.size(); ++s) {
        if (m.classIndexes[s] != present[ci]) continue;
        const LearningFeatures f = ReadLearningFeatures(m.samples[s]);
        std::vector<double> v(P);
        for (std::size_t r = 0; r < P; ++r) v[r] = f[static_cast<std::size_t>(features[r])];
        x.push_back(std::move(v));
        cls.push_back(static_cast<int>(ci));
      }
    }
    first.push_back(n_);

    // Class means and covariances from the deviations from the first sample.
    const std::vector<double>& x0 = x[0];
    std::vector<std::vector<double>> mean(present.size(), std::vector<double>(P));
    Matrix sw(P * P, 0.0), sb(P * P, 0.0);
    std::vector<double> total(P, 0.0);
    for (std::size_t ci = 0; ci < present.size(); ++ci) {
      const int nc = first[ci + 1] - first[ci];
      if (nc <= 0) return Fail(4052);
      std::vector<double> s1(P, 0.0);
      Matrix s2(P * P, 0.0);
      for (int s = first[ci]; s < first[ci + 1]; ++s) {
        const std::vector<double>& v = x[static_cast<std::size_t>(s)];
        for (std::size_t i = 0; i < P; ++i) {
          const double di = v[i] - x0[i];
          s1[i] += di;
          for (std::size_t j = 0; j < P; ++j) s2[i * P + j] += di * (v[j] - x0[j]);
        }
      }
      std::vector<double> d(P);
      for (std::size_t i = 0; i < P; ++i) {
        d[i] = s1[i] / nc;
        mean[ci][i] = x0[i] + d[i];
        total[i] += nc * mean[ci][i];
      }
      // (n_c - 1) x covariance, summed into the within-class scatter.
      for (std::size_t i = 0; i < P; ++i)
        for (std::size_t j = 0; j < P; ++j) sw[i * P + j] += s2[i * P + j] - nc * d[i] * d[j];
    }
    for (std::size_t i = 0; i < P; ++i) total[i] /= n_;
    for (std::size_t ci = 0; ci < present.size(); ++ci) {
      const int nc = first[ci + 1] - first[ci];
      for (std::size_t i = 0; i < P; ++i)
        for (std::size_t j = 0; j < P; ++j) sb[i * P + j] += nc * (mean[ci][i] - total[i]) * (mean[ci][j] - total[j]);
    }

    // Sb v = lambda Sw v through the whitening of Sw.
    auto jacobiFail = [&](const JacobiResult& r) {
      return Fail(r.status == JacobiResult::NegativeRoot ? 4151 : r.status == JacobiResult::ZeroDivisor ? 4162 : 4171);
    };
    const JacobiResult w = SolveJacobi(sw, p_);
    if (w.status != JacobiResult::Ok) return jacobiFail(w);
    double largest = 0.0;
    for (double e : w.values) largest = std::fmax(largest, e);
    Matrix pm(P * P, 0.0);
    for (std::size_t i = 0; i < P; ++i) {
      const double e = w.values[i];
      if (e <= kSingularShare * largest || e <= 0.0) continue;
      for (std::size_t k = 0; k < P; ++k) pm[k * P + i] = w.vectors[k * P + i] / std::sqrt(e);
    }
    Matrix mm(P * P, 0.0);
    for (std::size_t a = 0; a < P; ++a)
      for (std::size_t b = 0; b < P; ++b) {
        double s = 0.0;
        for (std::size_t i = 0; i < P; ++i)
          for (std::size_t j = 0; j < P; ++j) s += pm[i * P + a] * sb[i * P + j] * pm[j * P + b];
        mm[a * P + b] = s;
      }
    const JacobiResult e = SolveJacobi(mm, p_);
    if (e.status != JacobiResult::Ok) return jacobiFail(e);
    Matrix v(P * P, 0.0);
    for (std::size_t i = 0; i < P; ++i)
      for (std::size_t j = 0; j < P; ++j) {
        double s = 0.0;
        for (std::size_t k = 0; k < P; ++k) s += pm[i * P + k] * e.vectors[k * P + j];
        v[i * P + j] = s;
      }

    // Unit pooled within-class variance on every axis.
    const auto Q = static_cast<std::size_t>(q_);
    for (std::size_t j = 0; j < Q; ++j) {
      double s = 0.0;
      for (std::size_t a = 0; a < P; ++a)
        for (std::size_t b = 0; b < P; ++b) s += v[a * P + j] * sw[a * P + b] * v[b * P + j];
      s /= (n_ - k_);
      if (!(s > 0.0) || !std::isfinite(s)) return Fail(4112);
      for (std::size_t a = 0; a < P; ++a) v[a * P + j] /= std::sqrt(s);
    }
    std::vector<double> offsets(P, 0.0);
    for (std::size_t j = 0; j < P; ++j)
      for (std::size_t k = 0; k < P; ++k) offsets[j] -= v[k * P + j] * total[k];

    // Into the record: the samples in class order with compact classes.
    m.eigenvalues.assign(e.values.begin(), e.values.begin() + static_cast<long>(Q));
    m.probabilities.assign(Q, 0.0);
    m.classCountUsed = k_;
    m.axisCountUsed = q_;
    m.featureCountUsed = p_;
    m.axisCountCopy = q_;
    m.sampleCountUsed = n_;
    m.axisCount = q_;
    m.offsets = offsets;
    m.weights.assign(P, std::vector<double>(P, 0.0));
    for (std::size_t r = 0; r < P; ++r)
      for (std::size_t j = 0; j < P; ++j) m.weights[r][j] = v[r * P + j];
    m.axisScores.assign(static_cast<std::size_t>(n_), std::vector<double>(Q, 0.0));
    m.classIndexes.assign(cls.begin(), cls.end());
    for (std::size_t s = 0; s < x.size(); ++s)
      for (std::size_t j = 0; j < Q; ++j) {
        double z = offsets[j];
        for (std::size_t k = 0; k < P; ++k) z += x[s][k] * v[k * P + j];
        // Features too large for the scatter sums leave no usable axis.
        if (!std::isfinite(z)) return Fail(4112);
        m.axisScores[s][j] = z;
      }
  } catch (const std::bad_alloc&) {
    return Fail(4013);
  }
  return 1;
}
