#include "platform/system/dynamic_library.h"

#include <dlfcn.h>

#include <utility>

namespace sys {

DynamicLibrary::~DynamicLibrary() { Unload(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)), error_(std::move(other.error_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = std::exchange(other.handle_, nullptr);
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
  }
  return *this;
}

bool DynamicLibrary::Load(const std::string& path) {
  Unload();
  path_ = path;
  error_.clear();
  if (path.empty()) {
    error_ = "no library path";
    return false;
  }
  // A bare name would be searched on the system's library path; the program's libraries
  // are always given with their folder.
  const std::string name = path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* e = ::dlerror();
    error_ = e != nullptr ? e : "cannot load " + path;
    return false;
  }
  return true;
}

void* DynamicLibrary::Symbol(const std::string& name) {
  if (handle_ == nullptr) {
    error_ = "library not loaded";
    return nullptr;
  }
  ::dlerror();
  void* p = ::dlsym(handle_, name.c_str());
  if (p == nullptr) {
    const char* e = ::dlerror();
    error_ = e != nullptr ? e : "no symbol " + name;
  }
  return p;
}

void DynamicLibrary::Unload() {
  if (handle_ != nullptr) {
    ::dlclose(handle_);
    handle_ = nullptr;
  }
}

}  // namespace sys
