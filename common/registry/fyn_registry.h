#pragma once
// FynRegistry: reads and writes single values under one base key of the local-machine
// registry root. Exported for the system's other tools; the analyzer itself does not use it.

namespace fyn_detail {
constexpr int kRegistryBaseKeyBytes = 128;  // 127 characters and the terminator
}

class FynRegistry {
 public:
  // The base key is "first\second", cut to 127 characters.
  FynRegistry(const char* first, const char* second);
  virtual ~FynRegistry() = default;
  FynRegistry(const FynRegistry&) = default;
  FynRegistry& operator=(const FynRegistry&) = default;

  // Reads the value `valueName` of the sub-key below the base key into `data` (room `size`
  // bytes). Returns 1 when the value was read, 0 otherwise (missing key or value, a value
  // larger than the room); the buffer is untouched on 0. The stored type and size are not
  // passed back; `type` is not checked.
  short GetRegistry(const char* subKey, const char* valueName, void* data, unsigned long size,
                    unsigned long type) const;
  // Writes `size` bytes of `data` as the value `valueName` of the sub-key, with the registry
  // value type `type` (1 text, 3 bytes, 4 32-bit number...), creating both keys as needed.
  // Returns 1 when the value was written, 0 otherwise.
  short SetRegistry(const char* subKey, const char* valueName, const void* data, unsigned long size,
                    unsigned long type) const;

  const char* BaseKey() const { return baseKey_; }

 private:
  char baseKey_[fyn_detail::kRegistryBaseKeyBytes] = {};
};
