#pragma once
// "Select Learning File" (template 491): the user picks learning-sample files of the model
// folder and the learning grows one tree per file. Three lists: the raw data (the open
// recording), the candidates (every valid .msf file of the folder not chosen, ranked by their
// similarity to the raw data) and the learning data (the chosen files, at most the maximum
// number of data). OK checks the chosen files' stage type, runs the learning (490) and hands
// the model back. It takes the learning settings, the learning information and the feature
// choice from LyrAutoStaging::Learn.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/scoring/learning_candidate.h"
#include "app/scoring/lyr_auto_staging.h"
#include "platform/ui/dialog.h"

class LyrDlgSelectLearningFile : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 491;
  static constexpr int IDC_FOLDER = 1175, IDC_FOLDER_EDIT = 1185, IDC_RAW_LIST = 1187, IDC_CANDIDATES = 1183,
                       IDC_SELECT = 1851, IDC_DELETE = 1178, IDC_LEARNING_LIST = 1181, IDC_MAXIMUM = 1036,
                       IDC_INPUT_ITEM = 1762, IDC_DISPLAY_ITEM = 1189, IDC_PREVIOUS = 1194, IDC_REMOVE = 1191;
  // Sortable columns, in the order of their sort flags.
  enum SortKey : int {
    kSortFileName, kSortSimilarity, kSortStageType, kSortDay, kSortNo, kSortService, kSortEngineer, kSortDoctor,
    kSortEpochTime, kSortName, kSortId, kSortSex, kSortHeight, kSortWeight, kSortAge, kSortKeyCount
  };

  explicit LyrDlgSelectLearningFile(ui::Window* parent = nullptr);
  ~LyrDlgSelectLearningFile() override;

  bool OnInitDialog() override;
  void OnOK() override;

  // Handed in and back.
  std::int32_t selectionCount = 0;
  std::int32_t treeCount = 0;  // number of records in `models`
  std::string modelFolder;
  LyrLearningParameters parameters;
  std::vector<LyrStagingModel> models;
  LyrStagingModel modelTemplate;
  LyrLearningInfo learningInfo;
  // Shown items (1 shown) in the order Day, No, Service, Engineer, Doctor, EpochTime, Name,
  // ID, Sex, Height, Weight, Age.
  LearningItemFlags displayItems{};

  // What the lists hold (tests and the caller read them).
  const std::vector<LearningCandidate>& Candidates() const { return candidates_; }
  const LearningCandidate& RawData() const { return raw_; }
  int LearningCount() const { return learningCount_; }
  const std::array<std::int32_t, kSortKeyCount>& SortFlags() const { return sortFlags_; }

 private:
  void LoadCandidates();
  void ComputeSimilarity();
  void SortBy(int key);
  void CreateColumns();
  void FillRawList();
  void FillLists();
  std::vector<std::string> RowCells(const LearningCandidate& c, const std::string& number) const;
  void AfterMove();
  void UpdateOk();

  void OnFolder();
  void OnCandidateClick();
  void OnLearningClick();
  void OnSelect();
  void OnDelete();
  void OnPrevious();
  void OnRemove();
  void OnInputItem();
  void OnDisplayItem();
  void OnColumnClick(int listId);
  void OnListScrolled(int listId);
  void MatchColumnWidths(int listId);

  std::vector<LearningCandidate> candidates_;
  LearningCandidate raw_;
  int learningCount_ = 0;
  std::array<std::int32_t, kSortKeyCount> sortFlags_{};
  std::vector<int> columns_;  // sort key of each column; -1 for "No"
  int lastScrollX_ = 0;
  bool filling_ = false;
};
