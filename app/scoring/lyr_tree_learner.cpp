#include "app/scoring/lyr_tree_learner.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "app/scoring/learning_messages.h"

namespace {

double Log2(double x) { return std::log(x) / std::log(2.0); }

std::string Field(const std::string& s) { return s.substr(0, 19); }

}  // namespace

LyrTreeLearner::LyrTreeLearner(LyrStagingModel* models, int index, double confidenceFactor)
    : models_(models), index_(index), confidenceFactor_(confidenceFactor) {
  const double z = ConfidenceZ(confidenceFactor);
  coeff_ = z * z;
}

LyrTreeLearner::~LyrTreeLearner() = default;

double LyrTreeLearner::ConfidenceZ(double cf) {
  static constexpr double kVal[] = {0, 0.001, 0.005, 0.01, 0.05, 0.1, 0.2, 0.4, 1.0};
  static constexpr double kDev[] = {100, 3.09, 2.58, 2.33, 1.65, 1.28, 0.84, 0.25, 0};
  int i = 0;
  while (i < 8 && cf > kVal[i]) ++i;
  if (i == 0) return kDev[0];
  return kDev[i - 1] + (kDev[i] - kDev[i - 1]) * (cf - kVal[i - 1]) / (kVal[i] - kVal[i - 1]);
}

double LyrTreeLearner::AddErrors(double n, double e) const {
  if (n <= 0.0) return 0.0;
  if (e < 1e-06) return 1.0 - std::pow(confidenceFactor_, 1.0 / n);
  if (e < 0.9999 || e + 0.5 >= n) {
    SayLearningWarning(6114);
    return e;
  }
  const double e5 = e + 0.5;
  return (e5 + coeff_ / 2.0 + std::sqrt(coeff_ * (e5 * (1.0 - e5 / n) + coeff_ / 4.0))) / (n + coeff_);
}

std::vector<int> LyrTreeLearner::AllClasses() const {
  std::vector<int> all(static_cast<std::size_t>(classCount_));
  for (int c = 0; c < classCount_; ++c) all[static_cast<std::size_t>(c)] = c;
  return all;
}

std::vector<std::int32_t> LyrTreeLearner::CountClasses(const std::vector<int>& samples) const {
  const LyrStagingModel& m = models_[index_];
  std::vector<std::int32_t> counts(static_cast<std::size_t>(classCount_), 0);
  for (int s : samples) {
    const auto compact = static_cast<std::size_t>(m.classIndexes[static_cast<std::size_t>(s)]);
    const int full = compact < fullClass_.size() ? fullClass_[compact] : -1;
    if (full >= 0 && full < classCount_) ++counts[static_cast<std::size_t>(full)];
  }
  return counts;
}

int LyrTreeLearner::MajorityClass(const LyrStagingTreeNode* node, std::vector<int> candidates) const {
  while (true) {
    int best = candidates.empty() ? 0 : candidates.front();
    std::vector<int> tied;
    auto count = [&](int c) {
      return static_cast<std::size_t>(c) < node->classCounts.size() ? node->classCounts[static_cast<std::size_t>(c)] : 0;
    };
    for (int c : candidates)
      if (count(c) > count(best)) best = c;
    for (int c : candidates)
      if (count(c) == count(best)) tied.push_back(c);
    if (tied.size() < 2 || node->parent == nullptr) return best;
    node = node->parent;
    candidates.swap(tied);
  }
}

void LyrTreeLearner::MakeLeaf(LyrStagingTreeNode* node, int cls) const {
  node->name = Field(models_[index_].classNames[static_cast<std::size_t>(cls)]);
  node->splitScore = 0.0;
  node->SetChildren(0);
}

int LyrTreeLearner::ChooseAttribute(const Work& work, double* bestRatio, int* best) const {
  const LyrStagingModel& m = models_[index_];
  const double n = static_cast<double>(work.samples.size());
  std::vector<double> gains, infos;
  for (int a : work.attributes) {
    const Attribute& attr = attributes_[static_cast<std::size_t>(a)];
    const std::size_t values = attr.values.size();
    const auto K = static_cast<std::size_t>(kStagingClassSlots);
    std::vector<double> table(values * K, 0.0), byValue(values, 0.0), byClass(K, 0.0);
    for (int s : work.samples) {
      const auto i = static_cast<std::size_t>(m.intervals[static_cast<std::size_t>(s)][static_cast<std::size_t>(attr.column)]);
      const auto c = static_cast<std::size_t>(m.classIndexes[static_cast<std::size_t>(s)]);
      if (i >= values || c >= K) continue;
      table[i * K + c] += 1.0;
      byValue[i] += 1.0;
      byClass[c] += 1.0;
    }
    double gain = 0.0, info = 0.0;
    for (std::size_t v = 0; v < values; ++v) {
      if (byValue[v] > 0.0) info -= byValue[v] / n * Log2(byValue[v] / n);
      for (std::size_t c = 0; c < K; ++c) {
        const double cell = table[v * K + c];
        if (cell > 0.0) gain += cell / n * Log2((cell / n) / ((byClass[c] / n) * (byValue[v] / n)));
      }
    }
    gains.push_back(gain);
    infos.push_back(info);
  }
  if (gains.empty()) return 0;
  double average = 0.0;
  for (double g : gains) average += g;
  average /= static_cast<double>(gains.size());
  *best = -1;
  *bestRatio = -1.0;
  for (std::size_t i = 0; i < gains.size(); ++i) {
    double score = -1.0;
    if (gains[i] >= average) score = infos[i] > 0.0 ? gains[i] / infos[i] : 0.0;
    if (*best < 0 || score > *bestRatio) {
      *best = work.attributes[i];
      *bestRatio = score;
    }
  }
  return 1;
}

int LyrTreeLearner::Split(LyrStagingTreeNode* node, Work& work, int inherited) {
  const LyrStagingModel& m = models_[index_];
  if (work.samples.empty()) {
    MakeLeaf(node, inherited);
    node->majorityCount = 0;
    node->errorCount = 0;
    return 1;
  }
  const int present = static_cast<int>(std::count_if(node->classCounts.begin(), node->classCounts.end(),
                                                     [](std::int32_t c) { return c > 0; }));
  if (present == 1) {
    const int cls = MajorityClass(node, AllClasses());
    MakeLeaf(node, cls);
    node->majorityCount = node->sampleCount;
    node->errorCount = 0;
    return 1;
  }
  const int majority = MajorityClass(node, AllClasses());
  node->majorityCount = node->classCounts[static_cast<std::size_t>(majority)];
  node->errorCount = node->sampleCount - node->majorityCount;
  if (work.attributes.empty()) {
    MakeLeaf(node, majority);
    return 1;
  }
  double ratio = 0.0;
  int chosen = -1;
  if (!ChooseAttribute(work, &ratio, &chosen) || chosen < 0) return 0;
  const Attribute& attr = attributes_[static_cast<std::size_t>(chosen)];
  node->name = attr.name;
  node->splitScore = ratio;
  const int children = static_cast<int>(attr.values.size());
  node->SetChildren(children);
  node->childValues = attr.values;
  std::vector<Work> parts(static_cast<std::size_t>(children));
  for (Work& p : parts)
    for (int a : work.attributes)
      if (a != chosen) p.attributes.push_back(a);
  for (int s : work.samples) {
    const auto i = static_cast<std::size_t>(m.intervals[static_cast<std::size_t>(s)][static_cast<std::size_t>(attr.column)]);
    if (i < parts.size()) parts[i].samples.push_back(s);
  }
  work = Work{};  // the node's table is no longer needed
  for (int i = 0; i < children; ++i) {
    LyrStagingTreeNode& child = node->children[static_cast<std::size_t>(i)];
    Work& part = parts[static_cast<std::size_t>(i)];
    child.classCounts = CountClasses(part.samples);
    child.sampleCount = static_cast<std::int32_t>(part.samples.size());
    child.attributeCount = node->attributeCount - 1;
    const int cls = MajorityClass(&child, AllClasses());
    if (!Split(&child, part, cls)) return 0;
  }
  return 1;
}

int LyrTreeLearner::Prune(LyrStagingTreeNode* node) {
  double childErrors = 0.0;
  for (int i = 0; i < node->childCount; ++i) {
    LyrStagingTreeNode& child = node->children[static_cast<std::size_t>(i)];
    if (child.childCount > 0 && !Prune(&child)) return 0;
    if (child.estimatedErrors == -1.0) {
      child.errorRate = child.sampleCount > 0 ? AddErrors(child.sampleCount, child.errorCount) : 0.0;
      child.estimatedErrors = child.sampleCount * child.errorRate;
    }
    childErrors += child.estimatedErrors;
  }
  node->errorRate = AddErrors(node->sampleCount, node->errorCount);
  node->estimatedErrors = node->sampleCount * node->errorRate;
  if (childErrors >= node->estimatedErrors) {
    const int cls = MajorityClass(node, AllClasses());
    std::vector<std::int32_t> counts = node->classCounts;  // the leaf keeps its counts
    LyrAutoStaging::FreeNode(node);
    node->classCounts = std::move(counts);
    MakeLeaf(node, cls);
  }
  return 1;
}

int LyrTreeLearner::GrowTree() {
  if (!BuildTree()) return 0;
  return Prune(&models_[index_].topNode->children[0]);
}

int LyrTreeLearner::BuildTree() {
  LyrStagingModel& m = models_[index_];
  try {
    classCount_ = std::clamp(m.classCount, 0, kStagingClassSlots);
    fullClass_.clear();
    for (int c = 0; c < kStagingClassSlots; ++c)
      if (m.classPresent[static_cast<std::size_t>(c)] == 1) fullClass_.push_back(c < classCount_ ? c : -1);
    attributes_.clear();
    int column = 0;
    for (int j = 0; j < m.axisCount && static_cast<std::size_t>(j) < m.axisUsed.size(); ++j) {
      if (m.axisUsed[static_cast<std::size_t>(j)] != 1) continue;
      Attribute a;
      a.name = Field(m.axisNames[static_cast<std::size_t>(j)]);
      a.column = column++;
      const std::size_t cuts = static_cast<std::size_t>(j) < m.cutLists.size() ? m.cutLists[static_cast<std::size_t>(j)].size() : 0;
      for (std::size_t i = 0; i <= cuts; ++i) a.values.push_back(100 * (j + 1) + static_cast<std::int32_t>(i));
      attributes_.push_back(std::move(a));
    }
    const auto n = static_cast<int>(m.intervals.size());
    if (m.topNode) LyrAutoStaging::FreeNode(m.topNode.get());
    m.topNode = std::make_unique<LyrStagingTreeNode>();
    LyrStagingTreeNode& top = *m.topNode;
    Work work;
    for (int s = 0; s < n; ++s) work.samples.push_back(s);
    for (std::size_t a = 0; a < attributes_.size(); ++a) work.attributes.push_back(static_cast<int>(a));
    top.name = "FirstNode";
    top.splitScore = 0.0;
    top.attributeCount = static_cast<std::int32_t>(attributes_.size()) + 1;
    top.sampleCount = n;
    top.classCounts = CountClasses(work.samples);
    top.SetChildren(1);
    top.childValues[0] = -1;
    top.majorityCount = top.classCounts.empty() ? 0 : *std::max_element(top.classCounts.begin(), top.classCounts.end());
    top.errorCount = n - top.majorityCount;
    LyrStagingTreeNode& root = top.children[0];
    root.attributeCount = top.attributeCount;
    root.sampleCount = n;
    root.classCounts = top.classCounts;
    root.splitScore = -1.0;
    const int cls = MajorityClass(&root, AllClasses());
    if (!Split(&root, work, cls)) {
      SayLearningFailure(6040);
      return 0;
    }
  } catch (const std::bad_alloc&) {
    SayLearningFailure(6033);
    return 0;
  }
  return 1;
}
