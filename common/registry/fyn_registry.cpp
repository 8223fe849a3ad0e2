#include "common/registry/fyn_registry.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/system/registry_store.h"

namespace {

std::string KeyPath(const char* base, const char* subKey) {
  std::string path = base;
  if (subKey != nullptr && *subKey != '\0') {
    if (!path.empty()) path += '\\';
    path += subKey;
  }
  return path;
}

}  // namespace

FynRegistry::FynRegistry(const char* first, const char* second) {
  std::string key = std::string(first ? first : "") + "\\" + (second ? second : "");
  std::size_t n = std::min<std::size_t>(key.size(), sizeof(baseKey_) - 1);
  std::memcpy(baseKey_, key.data(), n);
  baseKey_[n] = '\0';
}

short FynRegistry::GetRegistry(const char* subKey, const char* valueName, void* data,
                               unsigned long size, unsigned long /*type*/) const {
  if (data == nullptr) return 0;
  if (!sys::RegKeyExists(sys::RegRoot::LocalMachine, baseKey_)) return 0;
  std::string path = KeyPath(baseKey_, subKey);
  auto value = sys::RegGetValue(sys::RegRoot::LocalMachine, path, valueName ? valueName : "");
  if (!value || value->data.size() > size) return 0;
  std::memcpy(data, value->data.data(), value->data.size());
  return 1;
}

short FynRegistry::SetRegistry(const char* subKey, const char* valueName, const void* data,
                               unsigned long size, unsigned long type) const {
  if (data == nullptr && size != 0) return 0;
  std::string path = KeyPath(baseKey_, subKey);
  if (!sys::RegCreateKey(sys::RegRoot::LocalMachine, path)) return 0;
  std::string_view bytes(static_cast<const char*>(data), data ? size : 0);
  // The value's write decides the result: a value that was not stored is a failure.
  return sys::RegSetValue(sys::RegRoot::LocalMachine, path, valueName ? valueName : "",
                          static_cast<sys::RegType>(type), bytes)
             ? 1
             : 0;
}
