#pragma once
// The agreement of a screened night with its true hypnogram, printed as a confusion matrix by
// stage (rows the true stage, columns the scored one).
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"

namespace benchnight {

inline const char* StageName(int code) {
  static const char* kNames[] = {"-", "W", "REM", "S1", "S2", "S3", "S4", "MT"};
  return code >= 0 && code <= 7 ? kNames[code] : "?";
}

// Prints the matrix under `title`; returns the agreement in percent.
inline double PrintAgreement(const char* title, const CQLM2_AnalyzerDoc& doc, const std::vector<int>& truth) {
  // Rows the true stage 1..6, columns the scored stage 0..7 (0 not scored; the +20 family of
  // artifact epochs counts as its stage).
  std::array<std::array<int, 8>, 7> m{};
  int agree = 0;
  int total = 0;
  const int epochs = std::min<int>(doc.EpochTables.EpochCount(), static_cast<int>(truth.size()));
  for (int e = 0; e < epochs; ++e) {
    const int t = truth[static_cast<std::size_t>(e)];
    int s = doc.EpochTables.GetStage(0, e, 0);
    if (s >= 20) s -= 20;
    if (t < 1 || t > 6 || s < 0 || s > 7) continue;
    ++m[static_cast<std::size_t>(t)][static_cast<std::size_t>(s)];
    agree += s == t ? 1 : 0;
    ++total;
  }
  std::printf("\n%s: %d epochs, agreement %.1f %%\ntrue\\scored", title, total, total ? 100.0 * agree / total : 0.0);
  for (int s = 0; s <= 7; ++s) std::printf("%6s", StageName(s));
  std::printf("\n");
  for (int t = 1; t <= 6; ++t) {
    std::printf("%-12s", StageName(t));
    for (int s = 0; s <= 7; ++s) std::printf("%6d", m[static_cast<std::size_t>(t)][static_cast<std::size_t>(s)]);
    std::printf("\n");
  }
  std::fflush(stdout);
  return total ? 100.0 * agree / total : 0.0;
}

}  // namespace benchnight
