#pragma once
// "Learning" (template 490): grows one decision tree per chosen learning-sample file. OK runs
// the learning synchronously, file by file: read the samples, find the discriminant axes, cut
// them by MDLPC, keep the significant axes, grow and prune the tree. The bar climbs by 7 per
// file; the dialog ends with OK when every file was learned, with Cancel at the first failure.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/scoring/lyr_auto_staging.h"
#include "platform/ui/dialog.h"

// Upper-tail probability of the F distribution with df1 and df2 degrees of freedom at F, in
// closed form (df1, df2 >= 1).
double CalcFDistributionProbability(std::int32_t df1, std::int32_t df2, double f);

class LyrDlgLearning : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 490;
  static constexpr int IDC_PROGRESS = 1022;
  static constexpr int kStepsPerSet = 7;

  explicit LyrDlgLearning(ui::Window* parent = nullptr);
  ~LyrDlgLearning() override;

  bool OnInitDialog() override;
  void OnOK() override { RunLearning(); }

  // Set by the embedding dialog before the dialog is shown.
  std::int32_t learningSetCount = 0;
  std::int32_t pathTableSize = 0;
  std::int32_t cutPointLimit = 10;
  std::int32_t sampleLimit = 30000;
  double significanceLevel = 0.05;
  double confidenceFactor = 0.25;
  std::string modelFolder;
  LyrStagingModel* models = nullptr;  // learningSetCount records, owned by the caller
  // Told every new bar position (watchers of the run).
  std::function<void(int)> onProgress;

  // The OK handler: learns every set and ends the dialog.
  void RunLearning();
  // Every set in order: 1 when all were learned, 0 at the first failure (after its message).
  int LearnAll();

  // Class index of stage code `code` in a file of stage type `stageType`, or -1.
  static int GetClassIndex(int stageType, int code);
  // Reads the samples of set t and keeps the epochs of a class of the file; 1 or 0.
  int ReadLearningSampleFile(int t);
  // Names "1Axis", "2Axis", ... and marks every axis used; 1.
  int SetAxes(int t);
  // The F-test of each axis; an axis is used when it is significant and has a cut. Every
  // sample gets its interval indexes on the used axes; 1 or 0.
  int SelectSignificantAxes(int t);

 private:
  void SetProgress(int pos);
};
