#pragma once
// "Select Learning File" (template 491): the user picks learning-sample files of the model
// folder and the learning grows one tree per file. It takes the learning settings, the
// learning information and the feature choice from LyrAutoStaging::Learn and hands back the
// model on OK.
//
// For now the window offers only OK and Cancel: OK hands back whatever model the caller (or a
// test) put into `models`.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/scoring/lyr_auto_staging.h"
#include "platform/ui/dialog.h"

class LyrDlgSelectLearningFile : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 491;

  explicit LyrDlgSelectLearningFile(ui::Window* parent = nullptr);
  ~LyrDlgSelectLearningFile() override;

  // Handed in and back.
  std::int32_t selectionCount = 0;
  std::int32_t treeCount = 0;  // number of records in `models`
  std::string modelFolder;
  LyrLearningParameters parameters;
  std::vector<LyrStagingModel> models;
  LyrStagingModel modelTemplate;
  LyrLearningInfo learningInfo;
  // Shown columns of the file list: 1 shown.
  std::array<std::int32_t, 12> displayItems{};
};
