#include "app/scoring/candidate_similarity.h"

#include <cmath>
#include <new>

#include "app/scoring/jacobi_eigen.h"
#include "app/scoring/learned_staging_strings.h"
#include "app/scoring/learning_messages.h"

namespace {

constexpr int kEpochTimes[9] = {4, 5, 8, 10, 12, 15, 20, 30, 60};

std::vector<int> ItemRow(const LearningCandidate& c, const LearningCandidate& raw, const LearningItemFlags& shown) {
  std::vector<int> row;
  for (int t = 0; t < 4; ++t) row.push_back(c.StageType == t ? 1 : 0);
  auto pair = [&](int item, const std::string& mine, const std::string& theirs) {
    if (shown[static_cast<std::size_t>(item)] != 1) return;
    row.push_back(mine == theirs ? 1 : 0);
    row.push_back(mine == theirs ? 0 : 1);
  };
  pair(kLiNo, c.No, raw.No);
  pair(kLiService, c.Service, raw.Service);
  pair(kLiEngineer, c.Engineer, raw.Engineer);
  pair(kLiDoctor, c.Doctor, raw.Doctor);
  if (shown[kLiEpochTime] == 1)
    for (int e : kEpochTimes) row.push_back(c.EpochTime == e ? 1 : 0);
  pair(kLiId, c.ID, raw.ID);
  pair(kLiSex, c.Sex, raw.Sex);
  return row;
}

}  // namespace

SimilarityResult ComputeSimilarities(const std::vector<LearningCandidate>& candidates, const LearningCandidate& raw,
                                     const LearningItemFlags& shown, double cumulativeThreshold, int selectionLimit) {
  SimilarityResult out;
  out.candidates.assign(candidates.size(), 0);
  auto fail = [&](int code) {
    out.candidates.assign(candidates.size(), 0);
    out.raw = 100;
    out.failure = CodedText(kIdsDialogError, code);
    return out;
  };
  try {
    // Item matrix: candidates, then the raw data; empty rows and columns dropped.
    std::vector<std::vector<int>> x;
    for (const LearningCandidate& c : candidates) x.push_back(ItemRow(c, raw, shown));
    x.push_back(ItemRow(raw, raw, shown));
    const std::size_t columns = x.back().size();
    std::vector<int> colSum(columns, 0);
    for (const auto& r : x)
      for (std::size_t j = 0; j < columns; ++j) colSum[j] += r[j];
    std::vector<std::size_t> keptCols;
    for (std::size_t j = 0; j < columns; ++j)
      if (colSum[j] > 0) keptCols.push_back(j);
    std::vector<std::vector<double>> m;
    std::vector<int> rowOf;  // matrix row -> candidate index, candidates.size() for the raw data
    std::vector<double> r, c;
    for (std::size_t i = 0; i < x.size(); ++i) {
      std::vector<double> row;
      double sum = 0.0;
      for (std::size_t j : keptCols) {
        row.push_back(x[i][j]);
        sum += x[i][j];
      }
      if (sum <= 0.0) continue;  // a candidate without any item keeps 0
      m.push_back(std::move(row));
      rowOf.push_back(static_cast<int>(i));
      r.push_back(sum);
    }
    const std::size_t R = m.size(), C = keptCols.size();
    if (R == 0 || rowOf.back() != static_cast<int>(candidates.size())) return out;  // no raw row: all 0
    for (std::size_t j : keptCols) c.push_back(colSum[j]);
    double n = 0.0;
    for (double v : c) n += v;

    // The symmetric matrix of the smaller side.
    const bool onRows = R < C;
    const std::size_t size = onRows ? R : C;
    std::vector<double> s(size * size, 0.0);
    for (std::size_t a = 0; a < size; ++a)
      for (std::size_t b = 0; b < size; ++b) {
        double v = 0.0;
        if (onRows) {
          for (std::size_t j = 0; j < C; ++j) v += m[a][j] * m[b][j] / c[j];
          v /= std::sqrt(r[a] * r[b]);
        } else {
          for (std::size_t i = 0; i < R; ++i) v += m[i][a] * m[i][b] / r[i];
          v /= std::sqrt(c[a] * c[b]);
        }
        s[a * size + b] = v;
      }
    const JacobiResult e = SolveJacobi(s, static_cast<int>(size));
    if (e.status != JacobiResult::Ok) return fail(2173);

    // The trivial first pair is dropped; the leading dimensions reach the threshold.
    const std::size_t dims = size - 1;
    double total = 0.0;
    for (std::size_t d = 1; d < size; ++d) total += std::fmax(e.values[d], 0.0);
    std::size_t k = 0;
    if (dims > 0 && total > 0.0) {
      double cumulative = 0.0;
      while (k < dims) {
        cumulative += std::fmax(e.values[k + 1], 0.0);
        ++k;
        if (cumulative / total >= cumulativeThreshold) break;
      }
      k = std::min(k, static_cast<std::size_t>(std::max(selectionLimit, 1)));
    }
    // Row scores on the k dimensions (vectors scaled by sqrt(N)).
    std::vector<std::vector<double>> score(R, std::vector<double>(k, 0.0));
    for (std::size_t d = 0; d < k; ++d) {
      const double lambda = e.values[d + 1];
      if (!(lambda > 0.0)) return fail(onRows ? 2122 : 2102);
      for (std::size_t i = 0; i < R; ++i) {
        if (onRows) {
          score[i][d] = e.vectors[i * size + d + 1] * std::sqrt(n) / std::sqrt(r[i]);
        } else {
          double sum = 0.0;
          for (std::size_t j = 0; j < C; ++j)
            if (m[i][j] == 1.0) sum += e.vectors[j * size + d + 1] * std::sqrt(n) / std::sqrt(c[j]);
          score[i][d] = sum / (std::sqrt(lambda) * r[i]);
        }
      }
    }
    double largest = 0.0;
    for (const auto& row : score)
      for (double v : row) largest = std::fmax(largest, std::fabs(v));
    const double scale = std::sqrt(static_cast<double>(k) * (2.0 * largest) * (2.0 * largest));
    const std::vector<double>& rawRow = score.back();
    for (std::size_t i = 0; i < R; ++i) {
      int similarity = -1;
      if (scale > 0.0) {
        double d2 = 0.0;
        for (std::size_t d = 0; d < k; ++d) d2 += (score[i][d] - rawRow[d]) * (score[i][d] - rawRow[d]);
        similarity = static_cast<int>((1.0 - std::sqrt(d2) / scale) * 100.0);
      }
      const bool isRaw = rowOf[i] == static_cast<int>(candidates.size());
      if (similarity < 0 || similarity > 100) similarity = isRaw ? 100 : 0;
      if (isRaw)
        out.raw = similarity;
      else
        out.candidates[static_cast<std::size_t>(rowOf[i])] = similarity;
    }
  } catch (const std::bad_alloc&) {
    return fail(2060);
  }
  return out;
}
