#pragma once
// "Stage Compare" (dialog 230) of the hypnogram utility window: two loaded files chosen in two
// lists, a start epoch for each, and the agreement of their stages row by row. OK compares and
// leaves the dialog open; Close ends it.
#include <memory>

#include "app/results/utility_result_file.h"
#include "platform/ui/dialog.h"

class LyrDlgTimePoint;

inline constexpr int IDD_STAGE_COMPARE = 230;
inline constexpr int IDC_SCMP_FILE1 = 1911;
inline constexpr int IDC_SCMP_FILE2 = 1912;
inline constexpr int IDC_SCMP_RESULT = 1913;
inline constexpr int IDC_SCMP_START1 = 1914;
inline constexpr int IDC_SCMP_START2 = 1915;
inline constexpr int IDC_SCMP_TOTAL = 1916;

class LyrDlgStageCompare : public ui::Dialog {
 public:
  // `files` must outlive the dialog.
  explicit LyrDlgStageCompare(const UtilityResultFiles* files, ui::Window* parent = nullptr);
  ~LyrDlgStageCompare() override;
  bool OnInitDialog() override;
  void OnOK() override;

  LyrDlgTimePoint* StartPanel(int which) const { return which == 0 ? start1_.get() : start2_.get(); }
  // The last comparison (empty before the first).
  const StageCompareResult& Result() const { return result_; }

 private:
  void OnFileClick(int which);

  const UtilityResultFiles* files_;
  std::unique_ptr<LyrDlgTimePoint> start1_, start2_;
  StageCompareResult result_;
};
