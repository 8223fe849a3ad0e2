#pragma once
// Hand-built learned models for the staging tests: trees given as nested node specs, one axis
// per used feature unless told otherwise.
#include <cstring>
#include <string>
#include <vector>

#include "app/scoring/lyr_auto_staging.h"

namespace learned {

// A node: a class name and its per-class counts at a leaf, or an axis name with its children
// and the code leading into each.
struct NodeSpec {
  std::string name;
  std::vector<std::int32_t> counts;
  std::vector<std::int32_t> values;
  std::vector<NodeSpec> children;
};

inline NodeSpec Leaf(std::string name, std::vector<std::int32_t> counts = {}) {
  return NodeSpec{std::move(name), std::move(counts), {}, {}};
}
inline NodeSpec Split(std::string axis, std::vector<std::int32_t> values, std::vector<NodeSpec> children,
                      std::vector<std::int32_t> counts = {}) {
  return NodeSpec{std::move(axis), std::move(counts), std::move(values), std::move(children)};
}

inline void BuildNode(const NodeSpec& spec, LyrStagingTreeNode* node) {
  node->name = spec.name;
  node->classCounts = spec.counts;
  node->SetChildren(static_cast<int>(spec.children.size()));
  for (std::size_t i = 0; i < spec.children.size(); ++i) {
    node->childValues[i] = spec.values[i];
    BuildNode(spec.children[i], &node->children[i]);
  }
}

struct ModelSpec {
  int stageType = 0;
  std::vector<int> features = {6};                    // used features (EMG by default)
  std::vector<int> axisUsed = {1};                    // per axis
  std::vector<std::vector<double>> weights = {{1.0}};  // row per used feature, column per axis
  std::vector<double> offsets = {0.0};
  std::vector<std::vector<double>> cuts = {{}};
  NodeSpec tree;
  std::vector<std::int32_t> topCounts;
};

inline LyrStagingModel BuildModel(const ModelSpec& s) {
  LyrStagingModel m;
  m.stageType = static_cast<std::uint16_t>(s.stageType);
  const std::vector<std::string>& names = StagingClassNames(s.stageType);
  m.classCount = static_cast<std::int32_t>(names.size());
  for (std::size_t c = 0; c < names.size(); ++c) m.classNames[c] = names[c];
  for (int k : s.features) m.featureUsed[static_cast<std::size_t>(k)] = 1;
  m.axisCount = static_cast<std::int32_t>(s.axisUsed.size());
  m.axisUsed = s.axisUsed;
  for (int u : s.axisUsed) m.usedAxisCount += u == 1 ? 1 : 0;
  m.weights = s.weights;
  m.offsets = s.offsets;
  m.cutLists = s.cuts;
  m.topNode = std::make_unique<LyrStagingTreeNode>();
  m.topNode->name = "FirstNode";
  m.topNode->classCounts = s.topCounts;
  m.topNode->SetChildren(1);
  BuildNode(s.tree, &m.topNode->children[0]);
  return m;
}

// A sample record with the given features at their offsets (counts as 16-bit).
inline LearningSample Sample(std::vector<std::pair<int, double>> features) {
  static constexpr std::size_t kOffsets[kLearningFeatureCount] = {0, 4, 8, 12, 16, 18, 20, 24, 28, 32};
  LearningSample s{};
  for (const auto& [k, v] : features) {
    if (k == 1 || k == 4 || k == 5) {
      const auto c = static_cast<std::int16_t>(v);
      std::memcpy(s.data() + kOffsets[k], &c, 2);
    } else {
      const auto f = static_cast<float>(v);
      std::memcpy(s.data() + kOffsets[k], &f, 4);
    }
  }
  return s;
}
inline LearningSample Emg(double v) { return Sample({{6, v}}); }

}  // namespace learned
