#include "app/scoring/jacobi_eigen.h"

#include <cmath>
#include <cstddef>
#include <utility>

JacobiResult SolveJacobi(std::vector<double> a, int n, double relTolerance) {
  JacobiResult out;
  const auto N = static_cast<std::size_t>(n > 0 ? n : 0);
  auto at = [N](std::vector<double>& m, std::size_t r, std::size_t c) -> double& { return m[r * N + c]; };
  std::vector<double>& v = out.vectors;
  v.assign(N * N, 0.0);
  for (std::size_t i = 0; i < N; ++i) at(v, i, i) = 1.0;
  double scale = 0.0;
  for (double x : a) scale = std::fmax(scale, std::fabs(x));
  const double threshold = relTolerance * scale;
  const long long cap = 100LL * static_cast<long long>(N * N) + 100;
  for (long long rotation = 0;; ++rotation) {
    std::size_t r = 0, c = 0;
    double best = 0.0;
    for (std::size_t i = 1; i < N; ++i)
      for (std::size_t j = 0; j < i; ++j)
        if (std::fabs(at(a, i, j)) > best) {
          best = std::fabs(at(a, i, j));
          r = i;
          c = j;
        }
    if (best <= threshold) break;
    if (rotation >= cap) {
      out.status = JacobiResult::NoConvergence;
      return out;
    }
    const double arc = at(a, r, c);
    const double h = (at(a, r, r) - at(a, c, c)) / 2.0;
    const double g = (at(a, r, r) + at(a, c, c)) / 2.0;
    const double square = h * h + arc * arc;
    if (square < 0.0) {
      out.status = JacobiResult::NegativeRoot;
      return out;
    }
    const double rad = std::sqrt(square);
    if (rad == 0.0) {
      out.status = JacobiResult::ZeroDivisor;
      return out;
    }
    const double t = std::fabs(h) / rad;
    const double sin2 = h != 0.0 ? -(h > 0.0 ? 1.0 : -1.0) * arc / rad : -1.0;
    const double cs = std::sqrt((1.0 + t) / 2.0);
    if (cs == 0.0) {
      out.status = JacobiResult::ZeroDivisor;
      return out;
    }
    const double sn = sin2 / (2.0 * cs);
    for (std::size_t k = 0; k < N; ++k) {
      const double kr = at(a, k, r), kc = at(a, k, c);
      at(a, k, r) = at(a, r, k) = cs * kr - sn * kc;
      at(a, k, c) = at(a, c, k) = cs * kc + sn * kr;
      const double vr = at(v, k, r), vc = at(v, k, c);
      at(v, k, r) = cs * vr - sn * vc;
      at(v, k, c) = cs * vc + sn * vr;
    }
    at(a, r, r) = g + (t * h - sin2 * arc);
    at(a, c, c) = g - (t * h - sin2 * arc);
    at(a, r, c) = at(a, c, r) = 0.0;
  }
  out.values.resize(N);
  for (std::size_t i = 0; i < N; ++i) out.values[i] = at(a, i, i);
  // Descending by selection of the largest remaining; the first one wins ties.
  for (std::size_t i = 0; i + 1 < N; ++i) {
    std::size_t m = i;
    for (std::size_t j = i + 1; j < N; ++j)
      if (out.values[j] > out.values[m]) m = j;
    if (m == i) continue;
    std::swap(out.values[i], out.values[m]);
    for (std::size_t k = 0; k < N; ++k) std::swap(at(v, k, i), at(v, k, m));
  }
  return out;
}
