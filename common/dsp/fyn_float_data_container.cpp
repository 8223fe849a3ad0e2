#include "common/dsp/fyn_float_data_container.h"

#include <exception>

FynFloatDataContainer::~FynFloatDataContainer() = default;

short FynFloatDataContainer::SetData(const float* data, int count) {
  data_.clear();
  if (count < 0 || (data == nullptr && count > 0)) return 0;
  try {
    data_.assign(data, data + count);
  } catch (const std::exception&) {
    data_.clear();
    data_.shrink_to_fit();
    return 0;
  }
  return 1;
}
