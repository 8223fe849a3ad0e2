#include "app/scoring/mdlpc.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <new>
#include <numeric>

#include "app/scoring/learning_messages.h"

namespace {

double Log2(double x) { return std::log(x) / std::log(2.0); }

// Class entropy in bits of counts with total `total`.
double Entropy(const std::vector<int>& counts, int total) {
  double e = 0.0;
  for (int c : counts)
    if (c > 0) {
      const double p = static_cast<double>(c) / total;
      e -= p * Log2(p);
    }
  return e;
}

int Present(const std::vector<int>& counts) {
  return static_cast<int>(std::count_if(counts.begin(), counts.end(), [](int c) { return c > 0; }));
}

enum State { kFinal = 0, kExamine = 1, kProposes = 2, kAccepted = 3 };

// An interval of the sorted values: positions [begin, end), bounds [lower, upper).
struct Interval {
  std::size_t begin = 0, end = 0;
  double lower = -DBL_MAX, upper = DBL_MAX;
  int state = kExamine;
  double cut = 0.0;
  double score = DBL_MAX;
  std::size_t cutAt = 0;  // position of the first value at or above the cut
};

}  // namespace

Mdlpc::Mdlpc(LyrStagingModel* models, int index, int cutPointLimit)
    : models_(models), index_(index), cutPointLimit_(cutPointLimit) {}

Mdlpc::~Mdlpc() = default;

std::vector<double> Mdlpc::CutAxis(const std::vector<double>& values, const std::vector<int>& classes,
                                   int classCount, int cutPointLimit, std::vector<double>* scores) {
  const std::size_t n = std::min(values.size(), classes.size());
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
  std::vector<double> v(n);
  std::vector<int> c(n);
  for (std::size_t i = 0; i < n; ++i) {
    v[i] = values[order[i]];
    c[i] = classes[order[i]];
  }
  const auto K = static_cast<std::size_t>(std::max(classCount, 1));
  std::vector<double> cuts;
  std::vector<Interval> table(1);
  table[0].begin = 0;
  table[0].end = n;
  std::vector<int> all(K), left(K), right(K);
  while (true) {
    int proposals = 0;
    for (Interval& iv : table) {
      if (iv.state != kExamine) continue;
      iv.state = kFinal;
      const int N = static_cast<int>(iv.end - iv.begin);
      std::fill(all.begin(), all.end(), 0);
      for (std::size_t i = iv.begin; i < iv.end; ++i) ++all[static_cast<std::size_t>(c[i])];
      const int k = Present(all);
      if (k < 2 || N < 2 || v[iv.begin] == v[iv.end - 1]) continue;
      const double entS = Entropy(all, N);
      const double limit = (N + k) * entS;
      const double cost = Log2(N - 1.0) + Log2(std::pow(3.0, k) - 2.0);
      std::fill(left.begin(), left.end(), 0);
      double best = DBL_MAX;
      for (std::size_t i = iv.begin; i + 1 < iv.end; ++i) {
        ++left[static_cast<std::size_t>(c[i])];
        if (v[i + 1] == v[i]) continue;
        // Candidate between the distinct values v[i] and v[i + 1].
        const int nl = static_cast<int>(i + 1 - iv.begin);
        const int nr = N - nl;
        for (std::size_t j = 0; j < K; ++j) right[j] = all[j] - left[j];
        const double e1 = Entropy(left, nl), e2 = Entropy(right, nr);
        double score = nl * e1 + nr * e2 + Present(left) * e1 + Present(right) * e2 + cost;
        if (!(score < limit)) score = DBL_MAX;
        if (score < best) {
          best = score;
          iv.cut = (v[i] + v[i + 1]) / 2.0;
          iv.cutAt = i + 1;
        }
      }
      if (best < DBL_MAX) {
        iv.score = best;
        iv.state = kProposes;
        ++proposals;
      }
    }
    if (proposals == 0) break;
    int room = cutPointLimit - static_cast<int>(cuts.size());
    while (room > 0) {
      Interval* take = nullptr;
      for (Interval& iv : table)
        if (iv.state == kProposes && (take == nullptr || iv.score < take->score)) take = &iv;
      if (take == nullptr) break;
      take->state = kAccepted;
      cuts.push_back(take->cut);
      if (scores != nullptr) scores->push_back(take->score);
      --room;
    }
    std::vector<Interval> next;
    for (const Interval& iv : table) {
      if (iv.state != kAccepted) {
        Interval kept = iv;
        kept.state = kFinal;
        next.push_back(kept);
        continue;
      }
      Interval lo, hi;
      lo.begin = iv.begin;
      lo.end = iv.cutAt;
      lo.lower = iv.lower;
      lo.upper = iv.cut;
      hi.begin = iv.cutAt;
      hi.end = iv.end;
      hi.lower = iv.cut;
      hi.upper = iv.upper;
      next.push_back(lo);
      next.push_back(hi);
    }
    table.swap(next);
    if (static_cast<int>(cuts.size()) >= cutPointLimit) break;
  }
  std::sort(cuts.begin(), cuts.end());
  return cuts;
}

int Mdlpc::BuildCutTable() {
  LyrStagingModel& m = models_[index_];
  try {
    const auto q = static_cast<std::size_t>(std::max(m.axisCount, 0));
    m.cutLists.assign(q, {});
    std::vector<double> values(m.axisScores.size());
    std::vector<int> classes(m.classIndexes.begin(), m.classIndexes.end());
    for (std::size_t a = 0; a < q; ++a) {
      if (a < m.axisUsed.size() && m.axisUsed[a] != 1) continue;
      for (std::size_t s = 0; s < values.size(); ++s) values[s] = a < m.axisScores[s].size() ? m.axisScores[s][a] : 0.0;
      m.cutLists[a] = CutAxis(values, classes, std::max(m.classCountUsed, 1), cutPointLimit_);
    }
  } catch (const std::bad_alloc&) {
    SayLearningFailure(5140);
    return 0;
  }
  return 1;
}
