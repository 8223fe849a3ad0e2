#pragma once
// "Input Item" (template 223): the experiment and subject information of the open recording
// (the raw data of the learning-file selection). Texts are kept to 19 characters; Age,
// Height and Weight must lie in their ranges or OK is refused with a message. The epoch
// time is shown only. Cancel leaves the record as it was.
#include "app/scoring/learning_candidate.h"
#include "platform/ui/dialog.h"

class LyrDlgInputItem : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 223;
  static constexpr int IDC_DAY = 1838, IDC_NO = 1839, IDC_SERVICE = 1843, IDC_ENGINEER = 1850, IDC_DOCTOR = 1852,
                       IDC_EPOCH_TIME = 1854, IDC_NAME = 1856, IDC_ID = 1857, IDC_AGE = 1858, IDC_SEX = 1860,
                       IDC_HEIGHT = 1862, IDC_WEIGHT = 1864;

  explicit LyrDlgInputItem(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  // Handed in before the dialog opens, taken back after OK.
  LearningCandidate record;
};
