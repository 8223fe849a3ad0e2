// A small owned array of floats; copies duplicate the data.
#pragma once

#include <vector>

class FynFloatDataContainer {
public:
  FynFloatDataContainer() = default;
  virtual ~FynFloatDataContainer();
  FynFloatDataContainer(const FynFloatDataContainer&) = default;
  FynFloatDataContainer& operator=(const FynFloatDataContainer&) = default;

  // Replaces the data by a copy of count values. 1 ok; 0 for a negative
  // count, a null pointer with values to copy or memory failure (the
  // container is then empty).
  short SetData(const float* data, int count);
  // The data (null when empty) and its length.
  const float* GetDataPtr() const { return data_.empty() ? nullptr : data_.data(); }
  float* GetDataPtr() { return data_.empty() ? nullptr : data_.data(); }
  int GetDataNum() const { return static_cast<int>(data_.size()); }

private:
  std::vector<float> data_;
};
