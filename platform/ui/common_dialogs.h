#pragma once
// Common dialogs: file open and save (with the system's filter list and an optional preview
// panel), folder choice, colour and font. Under the offscreen platform they take their
// answers from the testing script (platform/testing/ui_testing.h); without one they are
// cancelled and recorded as unanswered.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/gdi.h"

namespace ui {

class Window;

inline constexpr std::uint32_t OFN_READONLY = 0x00000001;
inline constexpr std::uint32_t OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr std::uint32_t OFN_HIDEREADONLY = 0x00000004;
inline constexpr std::uint32_t OFN_NOCHANGEDIR = 0x00000008;
inline constexpr std::uint32_t OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr std::uint32_t OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr std::uint32_t OFN_FILEMUSTEXIST = 0x00001000;

// One entry of a filter list: "Raw data (*.fyd)" with the patterns "*.fyd;*.raw".
struct FileFilter {
  std::string description;
  std::vector<std::string> patterns;
};
// Parses the system's filter text "Desc|*.a;*.b|All files (*.*)|*.*||".
std::vector<FileFilter> ParseFileFilter(std::string_view filter);

class FileDialog {
 public:
  FileDialog(bool openDialog, std::string defaultExt = {}, std::string fileName = {}, std::uint32_t flags = 0,
             std::string filter = {}, Window* parent = nullptr);
  ~FileDialog();

  void SetTitle(std::string title) { title_ = std::move(title); }
  void SetInitialFolder(std::string folder) { folder_ = std::move(folder); }
  // 1-based index of the filter shown first.
  void SetFilterIndex(int index) { filterIndex_ = index; }
  // Preview panel: a window shown beside the file list, told of every selected file.
  void SetPreview(Window* panel, std::function<void(const std::string& path)> onSelect);
  // Told the 1-based index of the filter the user picks.
  void SetTypeChange(std::function<void(int index)> onType) { onType_ = std::move(onType); }

  // IDOK or IDCANCEL.
  int DoModal();

  std::string GetPathName() const { return paths_.empty() ? std::string{} : paths_.front(); }
  const std::vector<std::string>& GetPathNames() const { return paths_; }
  std::string GetFileName() const;    // name with extension
  std::string GetFileExt() const;     // extension without the dot
  std::string GetFolderPath() const;  // folder without a trailing '/'
  int GetFilterIndex() const { return filterIndex_; }

 private:
  bool open_;
  std::string defaultExt_;
  std::string fileName_;
  std::uint32_t flags_;
  std::string filter_;
  Window* parent_;
  std::string title_;
  std::string folder_;
  int filterIndex_ = 1;
  Window* preview_ = nullptr;
  std::function<void(const std::string&)> onSelect_;
  std::function<void(int)> onType_;
  std::vector<std::string> paths_;
};

// Folder choice: IDOK with *folder set, or IDCANCEL (folder unchanged).
int BrowseForFolder(Window* parent, std::string_view title, std::string& folder);
// Colour choice (COLORREF 0x00BBGGRR in and out).
int ChooseColor(Window* parent, std::uint32_t& colorref);
// Font choice: height (negative: character height in pixels), weight, italic and face.
int ChooseFont(Window* parent, draw::LogFont& font);

// Text on the clipboard (UTF-8). Images: platform/draw/clipboard_image.h.
bool SetClipboardText(std::string_view text);
std::string GetClipboardText();

}  // namespace ui
