#pragma once
// Growth and pruning of the decision tree of one learning set. The attributes are the used
// axes, their values the interval codes 100 x (axis + 1) + interval; a node splits on the
// attribute of highest gain ratio among those whose information gain is at least average,
// and the tree is pruned bottom-up where the children's pessimistic error estimate (upper
// confidence limit at the confidence factor) is not below the node's own.
#include <cstdint>
#include <string>
#include <vector>

#include "app/scoring/lyr_auto_staging.h"

class LyrTreeLearner {
 public:
  // The record models[index] must hold its discretised samples (intervals, compact class
  // indexes), axis flags, cut lists and class-present flags.
  LyrTreeLearner(LyrStagingModel* models, int index, double confidenceFactor);
  virtual ~LyrTreeLearner();

  // The record's tree under its "FirstNode", grown and pruned; 1, or 0 after a message.
  int GrowTree();
  // The growth alone, without pruning; 1, or 0 after a message.
  int BuildTree();
  // Prunes the subtree below `node` bottom-up; 1.
  int Prune(LyrStagingTreeNode* node);

  // Upper confidence limit of the error rate of a leaf with n samples and e errors.
  double AddErrors(double n, double e) const;
  // The z of the confidence factor, interpolated in the normal table.
  static double ConfidenceZ(double confidenceFactor);

 private:
  struct Attribute {
    std::string name;
    std::vector<std::int32_t> values;  // codes
    int column = -1;                   // position in each sample's interval table; -1: class
  };
  struct Work {
    std::vector<int> samples;     // of the node
    std::vector<int> attributes;  // indexes into attributes_ still open (class excluded)
  };

  int Split(LyrStagingTreeNode* node, Work& work, int inherited);
  int ChooseAttribute(const Work& work, double* bestRatio, int* best) const;
  int MajorityClass(const LyrStagingTreeNode* node, std::vector<int> candidates) const;
  void MakeLeaf(LyrStagingTreeNode* node, int cls) const;
  std::vector<std::int32_t> CountClasses(const std::vector<int>& samples) const;
  std::vector<int> AllClasses() const;

  LyrStagingModel* models_;
  int index_;
  double confidenceFactor_;
  double coeff_;
  std::vector<Attribute> attributes_;
  std::vector<int> fullClass_;  // compact class -> the record's class index
  int classCount_ = 0;          // the record's class count
};
