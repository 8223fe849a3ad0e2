#pragma once
// A shared library loaded at run time (import plug-ins, the video player library), whose
// functions are bound by their exported names.
#include <string>

namespace sys {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library (unloading any earlier one); false with LastError() on failure.
  bool Load(const std::string& path);
  bool IsLoaded() const { return handle_ != nullptr; }
  // Address of an exported symbol, nullptr when the library has none of that name.
  void* Symbol(const std::string& name);
  // An exported function as a function pointer type: auto f = lib.Function<int (*)(int)>("Name").
  template <typename Fn>
  Fn Function(const std::string& name) {
    return reinterpret_cast<Fn>(Symbol(name));
  }
  void Unload();

  // The loader's message for the last failure ("" when none).
  const std::string& LastError() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  void* handle_ = nullptr;
  std::string path_;
  std::string error_;
};

}  // namespace sys
