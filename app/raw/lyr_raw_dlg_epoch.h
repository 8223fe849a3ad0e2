#pragma once
// The two dialogs of the time base: "Epoch" chooses the epoch and page lengths
// together from fixed tables, "Free page" takes a page length in hours.
#include <cstdint>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

class LyrRawDlgFreePage : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 257;
  static constexpr int kHoursEdit = 1934;
  LyrRawDlgFreePage(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  void OnOK() override;
  // Page length in seconds after OK.
  std::int32_t PageSecondsResult = -1;

  // Seconds of a free page of `hours`, limited to the recording and a day and cut to
  // whole epochs; -1 below half an hour.
  static std::int32_t FreePageSeconds(double hours, std::int32_t recordSeconds, std::int32_t epochSeconds);

 private:
  CQLM2_AnalyzerDoc* doc_;
};

class LyrRawDlgEpoch : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 132;
  static constexpr int kPageList = 1055;
  LyrRawDlgEpoch(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  std::int32_t ChosenEpoch = 0;
  std::int32_t ChosenPage = -1;

  // Radio of each epoch length, in the order 4, 5, 8, 10, 12, 15, 20, 30, 60 s.
  static int RadioOfEpoch(std::int32_t seconds);

 private:
  void ChooseEpoch(std::int32_t seconds);
  void OnPageSelected();
  void FillPageList();
  CQLM2_AnalyzerDoc* doc_;
};
