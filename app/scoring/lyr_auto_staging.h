#pragma once
// The document's automatic-staging member: the learning settings read from ML.ini beside the
// program, the learning-information record of the open recording, and the learned model: one
// decision tree per learning-sample file it was grown from. Screening in learning mode stages
// each epoch by the trees' vote (LyrStagingEngine).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The 36-byte sample record of one epoch, as the learning-sample file stores it: the features
// staging and learning read.
constexpr std::size_t kLearningSampleBytes = 36;
constexpr int kLearningFeatureCount = 10;
constexpr int kStagingClassSlots = 7;
using LearningSample = std::array<std::uint8_t, kLearningSampleBytes>;
using LearningFeatures = std::array<double, kLearningFeatureCount>;

// The ten features of a sample record in their fixed order (alpha, spindles, theta, delta,
// REMs, K-complexes, EMG, bands 1-3), widened to double; the counts are read as signed 16-bit.
LearningFeatures ReadLearningFeatures(const LearningSample& sample);

// The class names of a stage type (0..3): Wake, Rem, ... as the learning-sample files name
// them; an empty list for other types.
const std::vector<std::string>& StagingClassNames(int stageType);

// Stage code (1..7) of class index `cls` under mapping mode `mode` (the stage type the model
// was learned for); 0 for a class without a stage, a failed run (-1) or a mode other than 0-3.
std::uint8_t StagingClassToStage(int mode, int cls);

// The learning parameters of ML.ini as the learning uses them.
struct LyrLearningParameters {
  std::int32_t pathTableSize = 0;     // paths the selection keeps (1..100)
  std::int32_t cutPointLimit = 0;     // cut points per axis at most (1..100)
  std::int32_t sampleLimit = 0;       // epochs read from each file at most (> 0)
  std::int32_t selectionLimit = 0;    // files the selection proposes at most (1..100)
  double significanceLevel = 0.0;     // an axis is used below this F-test probability (0..1]
  double confidenceFactor = 0.0;      // of the pessimistic error in pruning (0..1]
  double cumulativeThreshold = 0.0;   // cumulative proportion the selection reaches (0..1]
};

// Experiment and subject data of the open recording as the learning keeps them (19 characters
// at most per text), with the epoch time and the stage type of the recording.
struct LyrLearningInfo {
  std::string day, no, service, engineer, doctor;  // experiment information
  std::string name, id, sex;                       // subject information
  std::int32_t age = 0;
  double height = 0.0, weight = 0.0;
  std::uint16_t epochTime = 0;
  std::uint16_t stageType = 0;  // mapping of learned classes to stage codes
  std::string recordingFile;    // the open recording's file name (not stored in files)
};

// One node of a learned decision tree. The top node of a tree is named "FirstNode" and has the
// tree as its one child; an inner node is named after the axis it splits, a leaf after its
// class. Children are one contiguous block, built once by SetChildren (their parent pointers
// point back here, so a node is never moved or copied).
struct LyrStagingTreeNode {
  LyrStagingTreeNode() = default;
  LyrStagingTreeNode(const LyrStagingTreeNode&) = delete;
  LyrStagingTreeNode& operator=(const LyrStagingTreeNode&) = delete;

  // Replaces the children by `count` fresh nodes whose parent is this node; child values 0.
  void SetChildren(int count);
  int ChildCount() const { return childCount; }

  LyrStagingTreeNode* parent = nullptr;  // null at "FirstNode"
  std::string name;                      // 19 characters at most
  double splitScore = 0.0;               // gain ratio of the split
  std::int32_t childCount = 0;
  std::int32_t attributeCount = 0;       // remaining axes + 1 for the class
  std::int32_t sampleCount = 0;
  std::vector<std::int32_t> childValues;  // per child: the interval code leading into it
  std::unique_ptr<LyrStagingTreeNode[]> children;
  std::int32_t majorityCount = 0;
  std::int32_t errorCount = 0;           // sample count - majority count
  // Samples of each class that reached the node, indexed by the model's class index (the
  // position in LyrStagingModel::classNames), so classes absent from the learning samples
  // keep their place and ties between trees compare like with like.
  std::vector<std::int32_t> classCounts;
  double errorRate = -1.0;               // -1 until pruning computes it
  double estimatedErrors = -1.0;         // -1 until pruning computes it
};

// One learned decision tree with its feature flags, discriminant axes and class names.
struct LyrStagingModel {
  std::string fileName;  // learning-sample file within the model folder
  std::int32_t sampleCount = 0;
  std::vector<LearningSample> samples;     // kept while the tree is grown
  std::vector<std::int32_t> classIndexes;  // one per sample
  std::int32_t featureCount = kLearningFeatureCount;
  std::array<std::int32_t, kLearningFeatureCount> featurePresent{};  // the file's ParameterUsed
  std::array<std::int32_t, kLearningFeatureCount> featureChosen{};   // chosen by the user
  std::array<std::int32_t, kLearningFeatureCount> featureUsed{};     // present x chosen
  std::array<std::string, kLearningFeatureCount> featureNames;
  std::int32_t axisCount = 0;
  std::int32_t usedAxisCount = 0;
  std::vector<std::int32_t> axisUsed;  // one flag per axis
  std::array<std::string, kLearningFeatureCount> axisNames;  // "1Axis", "2Axis", ...
  std::uint16_t stageType = 0;
  std::int32_t classCount = 0;  // the file's StageCount
  std::int32_t classSlots = kStagingClassSlots;
  std::array<std::int32_t, kStagingClassSlots> classPresent{};
  std::array<std::string, kStagingClassSlots> classNames;
  std::unique_ptr<LyrStagingTreeNode> topNode;  // "FirstNode"
  std::int32_t classCountUsed = 0;    // classes present (K)
  std::int32_t axisCountUsed = 0;     // axes computed: min(p, K - 1)
  std::int32_t featureCountUsed = 0;  // features used (p)
  std::int32_t axisCountCopy = 0;
  std::int32_t sampleCountUsed = 0;   // samples of the analysis (N)
  std::vector<double> eigenvalues;    // per axis
  std::vector<double> probabilities;  // per axis: F-test probability
  // Row r (the r-th used feature), column j (axis j): the axis value is the sum over the used
  // features of feature x weights[r][j], plus offsets[j].
  std::vector<std::vector<double>> weights;
  std::vector<double> offsets;                // per axis
  std::vector<std::vector<double>> cutLists;  // per axis: ascending cut points
  // Learning only: per kept sample its scores on the q axes, and its interval indexes
  // (0-based) on the used axes; freed when the tree is grown.
  std::vector<std::vector<double>> axisScores;
  std::vector<std::vector<std::int32_t>> intervals;
};

// Stages one epoch with a model: every tree walks its interval codes down to a leaf and votes
// for the leaf's class; ties are broken by the leaves' sample counts, climbing towards the
// tops while they stay equal. Built for one run over one record.
class LyrStagingEngine {
 public:
  LyrStagingEngine(int treeCount, const LyrStagingModel* models);
  virtual ~LyrStagingEngine();

  // Winning class index (0 .. class count - 1), or -1 when the run fails.
  int Run(const LearningSample& record);
  // Steps of a run for tree t: non-zero on success.
  int CalcAxisValues(int t);
  int CalcAxisIntervals(int t);
  int CalcAxisCodes(int t);
  // The leaf reached from `node` with the codes, or null when its name is not a class of
  // tree t.
  const LyrStagingTreeNode* DescendTree(const LyrStagingTreeNode* node, int codeCount, const std::int32_t* codes,
                                        int t) const;
  // The class among the tied ones (ascending indexes) whose summed sample counts over the
  // trees' nodes is largest; equal sums climb to the parents. When every node is a top node
  // and the tie stays, the lowest tied class.
  int BreakTie(int tiedCount, int treeCount, std::vector<const LyrStagingTreeNode*> nodes,
               std::vector<int> tied);

  // Message of the first failure that has one (memory), else empty.
  const std::string& Failure() const { return failure_; }
  const std::vector<std::int32_t>& Codes() const { return codes_; }

 private:
  int treeCount_ = 0;
  int classCount_ = 0;
  std::array<std::string, kStagingClassSlots> classNames_;
  std::vector<const LyrStagingTreeNode*> leaves_;
  const LyrStagingModel* models_ = nullptr;
  LearningSample record_{};
  LearningFeatures features_{};
  std::vector<double> axisValues_;
  std::vector<std::int32_t> codes_;
  std::string failure_;
};

class LyrDlgSelectLearningFile;

class LyrAutoStaging {
 public:
  LyrAutoStaging();
  virtual ~LyrAutoStaging();
  LyrAutoStaging(const LyrAutoStaging&) = delete;
  LyrAutoStaging& operator=(const LyrAutoStaging&) = delete;

  // Reads ML.ini beside the program: 1 when it was read and every parameter is valid, else 0
  // after a message. "current" as the folder stands for the program's own folder.
  int ReadLearningIni();
  // Runs the learning-file selection and takes over its model: 1 on success, 0 when the
  // settings cannot be read (the old model is kept), the selection is cancelled (no model is
  // held then) or the changed model folder cannot be stored in ML.ini (the model is kept).
  int Learn();
  // Frees the held model; returns 1.
  int FreeModel();
  // Frees a node's subtree; returns 1.
  static int FreeNode(LyrStagingTreeNode* node);
  // Stage code (0..7) of the epoch the sample record describes by the held model; 0 while no
  // model is held, for a failed run, or under a stage type other than 0-3.
  virtual std::uint8_t StageEpoch(const LearningSample& record) const;
  // A screening run starts: a staging failure is told once per run.
  void BeginStagingRun() const { failureShown_ = false; }

  // Number of trees of the held model (0: none held) and the trees.
  int TreeCount() const { return static_cast<int>(models_.size()); }
  const std::vector<LyrStagingModel>& Models() const { return models_; }
  void SetModels(std::vector<LyrStagingModel> models) { models_ = std::move(models); }
  int SelectionCount() const { return selectionCount_; }

  const std::string& ModelFolder() const { return modelFolder_; }
  void SetModelFolder(std::string folder) { modelFolder_ = std::move(folder); }
  LyrLearningInfo& LearningInfo() { return info_; }
  const LyrLearningInfo& LearningInfo() const { return info_; }
  // The record exchanged with the learning-file selection (the user's feature choice).
  LyrStagingModel& ModelTemplate() { return template_; }

  // Working parameters of the settings file.
  LyrLearningParameters parameters;

  // Where messages go (message boxes unless a test replaces it); the flag is the box's icon.
  static std::function<void(const std::string&)>& MessageSink();
  static void Say(const std::string& text, bool information = false);

  // The settings record's size inside ML.ini ("INI", record, "FEN").
  static constexpr std::size_t kIniRecordBytes = 304;
  static constexpr std::size_t kIniFileBytes = 3 + kIniRecordBytes + 3;
  // The ML.ini a first run puts beside the program when there is none: folder "current",
  // threshold 0.8, selection limit 10, path table 20, 30000 samples, 10 cuts, significance
  // 0.05, confidence factor 0.25.
  static std::string DefaultLearningIni();
  // Writes DefaultLearningIni beside the program unless an ML.ini is there; true when one is.
  static bool InstallLearningIni();

 private:
  // Stores the model folder into ML.ini when it differs from the folder read; 1, or 0 after a
  // message.
  int StoreModelFolder();

  int selectionCount_ = 0;
  std::array<std::uint8_t, kIniRecordBytes> iniRecord_{};
  std::string modelFolder_;
  LyrLearningInfo info_;
  LyrStagingModel template_;
  std::vector<LyrStagingModel> models_;
  mutable bool failureShown_ = false;
};
