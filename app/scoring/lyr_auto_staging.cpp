#include "app/scoring/lyr_auto_staging.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>

#include "app/document/byte_image.h"
#include "app/scoring/learned_staging_strings.h"
#include "app/scoring/lyr_dlg_select_learning_file.h"
#include "platform/res/resource_store.h"
#include "platform/system/code_page.h"
#include "platform/system/file_io.h"
#include "platform/system/program_folder.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::size_t kFolderField = 260;

bool InUnitRange(double v) { return v > 0.0 && v <= 1.0; }
bool InCountRange(std::int32_t v) { return v >= 1 && v <= 100; }

std::string Text(std::uint32_t id) { return res::LoadString(id); }

std::string IniPath() { return sys::PathBesideProgram("ML.ini"); }

// The folder field holds the file system's bytes; a field written elsewhere in the language's
// code page is taken as such.
std::string ReadFolderField(bytes::CSpan rec) {
  const std::string utf8 = sys::ReadFixedField(rec.subspan(0, kFolderField), sys::CodePage::Utf8);
  if (utf8.find("\xEF\xBF\xBD") == std::string::npos) return utf8;
  return bytes::GetText(rec, 0, kFolderField);
}

}  // namespace

// --- Features, classes and stages -------------------------------------------------

LearningFeatures ReadLearningFeatures(const LearningSample& sample) {
  const bytes::CSpan b(sample);
  auto time = [&](std::size_t off) { return static_cast<double>(bytes::Get<float>(b, off)); };
  auto count = [&](std::size_t off) { return static_cast<double>(bytes::Get<std::int16_t>(b, off)); };
  return {time(0), count(4), time(8), time(12), count(16), count(18), time(20), time(24), time(28), time(32)};
}

const std::vector<std::string>& StagingClassNames(int stageType) {
  static const std::vector<std::string> kNames[4] = {
      {"Wake", "Rem", "Stage1", "Stage2", "Stage3", "Stage4", "MT"},
      {"Wake", "Rem", "Stage1", "Stage2", "Deep", "MT"},
      {"Wake", "Rem", "Light", "Deep", "MT"},
      {"Wake", "Rem", "NonRem", "MT"},
  };
  static const std::vector<std::string> kNone;
  return stageType >= 0 && stageType < 4 ? kNames[stageType] : kNone;
}

std::uint8_t StagingClassToStage(int mode, int cls) {
  static constexpr std::uint8_t kStages[4][kStagingClassSlots] = {
      {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 7, 0}, {1, 2, 3, 5, 7, 0, 0}, {1, 2, 3, 7, 0, 0, 0}};
  if (mode < 0 || mode > 3 || cls < 0 || cls >= kStagingClassSlots) return 0;
  return kStages[mode][cls];
}

void LyrStagingTreeNode::SetChildren(int count) {
  const int n = std::max(count, 0);
  children = n > 0 ? std::make_unique<LyrStagingTreeNode[]>(static_cast<std::size_t>(n)) : nullptr;
  childValues.assign(static_cast<std::size_t>(n), 0);
  childCount = n;
  for (int i = 0; i < n; ++i) children[static_cast<std::size_t>(i)].parent = this;
}

// --- The engine ---------------------------------------------------------------------

LyrStagingEngine::LyrStagingEngine(int treeCount, const LyrStagingModel* models)
    : treeCount_(models != nullptr ? std::max(treeCount, 0) : 0), models_(models) {}

LyrStagingEngine::~LyrStagingEngine() = default;

int LyrStagingEngine::Run(const LearningSample& record) {
  record_ = record;
  features_ = ReadLearningFeatures(record);
  if (treeCount_ <= 0) return -1;
  std::vector<int> votes;
  try {
    leaves_.assign(static_cast<std::size_t>(treeCount_), nullptr);
    classCount_ = models_[0].classCount;
    if (classCount_ < 1 || classCount_ > kStagingClassSlots) return -1;
    for (int c = 0; c < kStagingClassSlots; ++c)
      classNames_[static_cast<std::size_t>(c)] = c < classCount_ ? models_[0].classNames[static_cast<std::size_t>(c)] : "";
    for (int t = 0; t < treeCount_; ++t) {
      if (!CalcAxisValues(t) || !CalcAxisIntervals(t) || !CalcAxisCodes(t)) return -1;
      const LyrStagingTreeNode* top = models_[t].topNode.get();
      if (top == nullptr || top->childCount < 1 || !top->children) return -1;
      const LyrStagingTreeNode* leaf =
          DescendTree(&top->children[0], static_cast<int>(codes_.size()), codes_.data(), t);
      if (leaf == nullptr) return -1;
      leaves_[static_cast<std::size_t>(t)] = leaf;
    }
    votes.assign(static_cast<std::size_t>(classCount_), 0);
  } catch (const std::bad_alloc&) {
    if (failure_.empty()) failure_ = Text(kIdsStagingError7000);
    return -1;
  }
  for (int t = 0; t < treeCount_; ++t)
    for (int c = 0; c < classCount_; ++c)
      if (classNames_[static_cast<std::size_t>(c)] == leaves_[static_cast<std::size_t>(t)]->name)
        ++votes[static_cast<std::size_t>(c)];
  int winner = 0;
  for (int c = 1; c < classCount_; ++c)
    if (votes[static_cast<std::size_t>(c)] > votes[static_cast<std::size_t>(winner)]) winner = c;
  const int best = votes[static_cast<std::size_t>(winner)];
  if (std::count(votes.begin(), votes.end(), best) == 1) return winner;
  try {
    std::vector<int> tied;
    for (int c = 0; c < classCount_; ++c)
      if (votes[static_cast<std::size_t>(c)] == best) tied.push_back(c);
    const int tiedCount = static_cast<int>(tied.size());
    return BreakTie(tiedCount, treeCount_, leaves_, std::move(tied));
  } catch (const std::bad_alloc&) {
    if (failure_.empty()) failure_ = Text(kIdsStagingError7000);
  } catch (...) {
    if (failure_.empty()) failure_ = Text(kIdsStagingError7013);
  }
  return -1;
}

int LyrStagingEngine::CalcAxisValues(int t) {
  const LyrStagingModel& m = models_[t];
  if (m.usedAxisCount < 0 || m.axisCount < 0 || m.axisUsed.size() < static_cast<std::size_t>(m.axisCount) ||
      m.offsets.size() < static_cast<std::size_t>(m.axisCount))
    return 0;
  try {
    axisValues_.assign(static_cast<std::size_t>(m.usedAxisCount), 0.0);
  } catch (const std::bad_alloc&) {
    if (failure_.empty()) failure_ = Text(kIdsStagingError7040);
    return 0;
  }
  std::size_t u = 0;
  for (int j = 0; j < m.axisCount; ++j) {
    if (m.axisUsed[static_cast<std::size_t>(j)] != 1) continue;
    if (u >= axisValues_.size()) return 0;
    double v = 0.0;
    std::size_t r = 0;
    for (int k = 0; k < kLearningFeatureCount; ++k) {
      if (m.featureUsed[static_cast<std::size_t>(k)] != 1) continue;
      if (r >= m.weights.size() || static_cast<std::size_t>(j) >= m.weights[r].size()) return 0;
      v += features_[static_cast<std::size_t>(k)] * m.weights[r][static_cast<std::size_t>(j)];
      ++r;
    }
    axisValues_[u++] = v + m.offsets[static_cast<std::size_t>(j)];
  }
  return u == axisValues_.size() ? 1 : 0;
}

int LyrStagingEngine::CalcAxisIntervals(int t) {
  const LyrStagingModel& m = models_[t];
  if (m.cutLists.size() < static_cast<std::size_t>(m.axisCount)) return 0;
  try {
    codes_.assign(axisValues_.size(), 0);
  } catch (const std::bad_alloc&) {
    if (failure_.empty()) failure_ = Text(kIdsStagingError7060);
    return 0;
  }
  std::size_t u = 0;
  for (int j = 0; j < m.axisCount && u < codes_.size(); ++j) {
    if (m.axisUsed[static_cast<std::size_t>(j)] != 1) continue;
    const double v = axisValues_[u];
    // A value that is not a number lies in no interval.
    if (std::isnan(v)) return 0;
    // Cut points ascend: a value equal to a cut belongs to the interval above it.
    const std::vector<double>& cuts = m.cutLists[static_cast<std::size_t>(j)];
    codes_[u++] = static_cast<std::int32_t>(std::upper_bound(cuts.begin(), cuts.end(), v) - cuts.begin()) + 1;
  }
  return 1;
}

int LyrStagingEngine::CalcAxisCodes(int t) {
  const LyrStagingModel& m = models_[t];
  std::size_t u = 0;
  for (int j = 0; j < m.axisCount && u < codes_.size(); ++j)
    if (m.axisUsed[static_cast<std::size_t>(j)] == 1) codes_[u++] += 100 * j + 99;
  return 1;
}

const LyrStagingTreeNode* LyrStagingEngine::DescendTree(const LyrStagingTreeNode* node, int codeCount,
                                                        const std::int32_t* codes, int t) const {
  const std::int32_t* codesEnd = codes + std::max(codeCount, 0);
  while (node != nullptr && node->childCount > 0) {
    if (!node->children) return nullptr;
    // The last child whose value is one of the codes; the first child when none is.
    const int values = std::min(node->childCount, static_cast<int>(node->childValues.size()));
    int take = 0;
    for (int i = values - 1; i > 0; --i) {
      if (std::find(codes, codesEnd, node->childValues[static_cast<std::size_t>(i)]) != codesEnd) {
        take = i;
        break;
      }
    }
    node = &node->children[static_cast<std::size_t>(take)];
  }
  if (node == nullptr) return nullptr;
  const LyrStagingModel& m = models_[t];
  const int classes = std::clamp(m.classCount, 0, kStagingClassSlots);
  for (int c = 0; c < classes; ++c)
    if (m.classNames[static_cast<std::size_t>(c)] == node->name) return node;
  return nullptr;
}

int LyrStagingEngine::BreakTie(int tiedCount, int treeCount, std::vector<const LyrStagingTreeNode*> nodes,
                               std::vector<int> tied) {
  tied.resize(static_cast<std::size_t>(std::clamp(tiedCount, 0, static_cast<int>(tied.size()))));
  nodes.resize(static_cast<std::size_t>(std::clamp(treeCount, 0, static_cast<int>(nodes.size()))));
  if (tied.empty()) return -1;
  std::vector<long long> totals;
  std::vector<int> kept;
  for (;;) {
    try {
      totals.assign(tied.size(), 0);
    } catch (const std::bad_alloc&) {
      if (failure_.empty()) failure_ = Text(kIdsStagingError7090Counts);
      return -1;
    }
    for (const LyrStagingTreeNode* node : nodes) {
      if (node == nullptr) continue;
      for (std::size_t i = 0; i < tied.size(); ++i) {
        const auto cls = static_cast<std::size_t>(tied[i]);
        if (cls < node->classCounts.size()) totals[i] += node->classCounts[cls];
      }
    }
    const long long best = *std::max_element(totals.begin(), totals.end());
    kept.clear();
    try {
      for (std::size_t i = 0; i < tied.size(); ++i)
        if (totals[i] == best) kept.push_back(tied[i]);
    } catch (const std::bad_alloc&) {
      if (failure_.empty()) failure_ = Text(kIdsStagingError7090List);
      return -1;
    }
    if (kept.size() == 1) return kept.front();
    tied.swap(kept);
    bool climbed = false;
    for (const LyrStagingTreeNode*& node : nodes) {
      if (node != nullptr && node->parent != nullptr) {
        node = node->parent;
        climbed = true;
      }
    }
    // Every node is a top node: the tie stays, and the lowest class wins it.
    if (!climbed) return tied.front();
  }
}

// --- The automatic-staging member -----------------------------------------------------

LyrAutoStaging::LyrAutoStaging() = default;

LyrAutoStaging::~LyrAutoStaging() { FreeModel(); }

std::function<void(const std::string&)>& LyrAutoStaging::MessageSink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

void LyrAutoStaging::Say(const std::string& text, bool information) {
  auto& sink = MessageSink();
  if (sink) {
    sink(text);
  } else {
    ui::MessageBox(text, ui::MB_OK | (information ? ui::MB_ICONINFORMATION : ui::MB_ICONEXCLAMATION));
  }
}

int LyrAutoStaging::ReadLearningIni() {
  const std::string path = IniPath();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    Say(Text(kIdsIniMissing1063));
    return 0;
  }
  const std::optional<std::string> file = sys::ReadWholeFile(path);
  if (!file) {
    Say(Text(kIdsIniUnreadable1053));
    return 0;
  }
  if (file->size() < 3 || file->compare(0, 3, "INI") != 0) {
    Say(Text(kIdsIniBadTag1033));
    return 0;
  }
  if (file->size() < kIniFileBytes || file->compare(3 + kIniRecordBytes, 3, "FEN") != 0) {
    Say(Text(kIdsIniBadEnd1033));
    return 0;
  }
  std::memcpy(iniRecord_.data(), file->data() + 3, kIniRecordBytes);
  const bytes::CSpan rec(iniRecord_);
  std::string folder = ReadFolderField(rec);
  if (folder == "current") folder = sys::ProgramFolder() + "/";
  modelFolder_ = folder;
  LyrLearningParameters& p = parameters;
  p.cumulativeThreshold = bytes::Get<double>(rec, 264);
  p.selectionLimit = bytes::Get<std::int16_t>(rec, 272);
  p.pathTableSize = bytes::Get<std::int16_t>(rec, 274);
  p.sampleLimit = bytes::Get<std::int32_t>(rec, 276);
  p.cutPointLimit = bytes::Get<std::int16_t>(rec, 280);
  p.significanceLevel = bytes::Get<double>(rec, 288);
  p.confidenceFactor = bytes::Get<double>(rec, 296);
  const bool valid = InUnitRange(p.cumulativeThreshold) && InCountRange(p.selectionLimit) &&
                     InCountRange(p.pathTableSize) && p.sampleLimit > 0 && InCountRange(p.cutPointLimit) &&
                     InUnitRange(p.significanceLevel) && InUnitRange(p.confidenceFactor);
  if (!valid) {
    Say(Text(kIdsIniParameter1043));
    return 0;
  }
  return 1;
}

int LyrAutoStaging::Learn() {
  LyrDlgSelectLearningFile dlg;
  if (!ReadLearningIni()) return 0;
  FreeModel();
  dlg.selectionCount = 0;
  dlg.treeCount = 0;
  dlg.modelFolder = modelFolder_;
  dlg.parameters = parameters;
  dlg.models.clear();
  dlg.modelTemplate = std::move(template_);
  dlg.learningInfo = info_;
  dlg.displayItems.fill(1);
  const int result = dlg.DoModal();
  template_ = std::move(dlg.modelTemplate);
  if (result != ui::IDOK) return 0;
  selectionCount_ = dlg.selectionCount;
  models_ = std::move(dlg.models);  // the tree count is the number of records
  modelFolder_ = dlg.modelFolder;
  info_ = dlg.learningInfo;
  Say(Text(kIdsLearningComplete), true);
  return StoreModelFolder();
}

int LyrAutoStaging::StoreModelFolder() {
  if (modelFolder_ == ReadFolderField(bytes::CSpan(iniRecord_))) return 1;
  const std::string path = IniPath();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    Say(Text(kIdsIniMissing1023));
    return 0;
  }
  std::optional<std::string> file = sys::ReadWholeFile(path);
  // A folder that does not fit its field is refused, never stored cut.
  if (!file || modelFolder_.size() >= kFolderField || modelFolder_.find('\0') != std::string::npos) {
    Say(Text(kIdsIniUnwritable1003));
    return 0;
  }
  std::array<std::uint8_t, kIniRecordBytes> rec = iniRecord_;
  std::fill(rec.begin(), rec.begin() + kFolderField, std::uint8_t{0});
  std::memcpy(rec.data(), modelFolder_.data(), modelFolder_.size());
  // The 310 bytes are rewritten from the start; whatever follows them stays.
  if (file->size() < kIniFileBytes) file->resize(kIniFileBytes, '\0');
  file->replace(0, 3, "INI");
  file->replace(3, kIniRecordBytes, reinterpret_cast<const char*>(rec.data()), kIniRecordBytes);
  file->replace(3 + kIniRecordBytes, 3, "FEN");
  if (!sys::WriteFileAtomic(path, *file)) {
    Say(Text(kIdsIniUnwritable1003));
    return 0;
  }
  iniRecord_ = rec;
  return 1;
}

int LyrAutoStaging::FreeNode(LyrStagingTreeNode* node) {
  if (node == nullptr) return 1;
  for (int i = 0; i < node->childCount && node->children; ++i) FreeNode(&node->children[static_cast<std::size_t>(i)]);
  node->children.reset();
  node->childValues.clear();
  node->childValues.shrink_to_fit();
  node->classCounts.clear();
  node->classCounts.shrink_to_fit();
  node->childCount = 0;
  return 1;
}

int LyrAutoStaging::FreeModel() {
  for (LyrStagingModel& m : models_) {
    if (m.topNode) FreeNode(m.topNode.get());
    m.topNode.reset();
  }
  models_.clear();
  models_.shrink_to_fit();
  return 1;
}

std::uint8_t LyrAutoStaging::StageEpoch(const LearningSample& record) const {
  if (models_.empty()) return 0;
  LyrStagingEngine engine(TreeCount(), models_.data());
  const int cls = engine.Run(record);
  if (!engine.Failure().empty() && !failureShown_) {
    failureShown_ = true;
    Say(engine.Failure());
  }
  return StagingClassToStage(info_.stageType, cls);
}

std::string LyrAutoStaging::DefaultLearningIni() {
  std::array<std::uint8_t, kIniRecordBytes> rec{};
  const bytes::Span b(rec);
  std::memcpy(rec.data(), "current", 7);
  bytes::Put<double>(b, 264, 0.8);
  bytes::Put<std::int16_t>(b, 272, 10);
  bytes::Put<std::int16_t>(b, 274, 20);
  bytes::Put<std::int32_t>(b, 276, 30000);
  bytes::Put<std::int16_t>(b, 280, 10);
  bytes::Put<double>(b, 288, 0.05);
  bytes::Put<double>(b, 296, 0.25);
  std::string file = "INI";
  file.append(reinterpret_cast<const char*>(rec.data()), rec.size());
  file += "FEN";
  return file;
}

bool LyrAutoStaging::InstallLearningIni() {
  std::error_code ec;
  const std::string path = IniPath();
  if (std::filesystem::exists(path, ec)) return true;
  return sys::WriteFileAtomic(path, DefaultLearningIni());
}
