#pragma once
// The open dialog for recordings: the platform's open-file dialog with a small panel below
// its list that shows the subject data of the file under the cursor and the version of the
// import plug-in of the chosen file type. Filter entry 1 is the program's own raw data file,
// entry i + 2 belongs to plug-in path i.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"

inline constexpr int IDD_OPEN_RAW_PANEL = 480;
inline constexpr int IDC_OPEN_SUBJECT_LIST = 1842;
inline constexpr int IDC_OPEN_PLUGIN_VERSION = 1923;
inline constexpr int kMaxImportPlugins = 20;

struct SubjectBlock;

// The panel of template 480: the subject list and the plug-in version text.
class LyrOpenRawPanel : public ui::Dialog {
 public:
  explicit LyrOpenRawPanel(ui::Window* parent = nullptr) : ui::Dialog(IDD_OPEN_RAW_PANEL, parent) {}
};

class LyrDlgOpenRawData {
 public:
  LyrDlgOpenRawData(bool open, std::string defaultExt, std::string fileName, std::uint32_t flags,
                    std::string filter, ui::Window* parent = nullptr);
  ~LyrDlgOpenRawData();

  void SetInitialFolder(std::string folder) { folder_ = std::move(folder); }
  // 1-based filter entry shown first; 0 leaves the first.
  void SetFilterIndex(int index) { filterIndex_ = index; }
  // IDOK or IDCANCEL.
  int DoModal();
  std::string GetPathName() const { return paths_.empty() ? std::string{} : paths_.front(); }
  const std::vector<std::string>& GetPathNames() const { return paths_; }

  // What the dialog's run calls: once the panel exists, when the user picks another filter
  // entry (0-based position) and when the file under the cursor changes.
  void OnInitDialog();
  void OnTypeChange(int position);
  void OnFileNameChange(const std::string& path);
  // Makes the panel (DoModal does when it has none) and runs OnInitDialog. False when the
  // panel cannot be made.
  bool CreatePanel();
  LyrOpenRawPanel* Panel() const { return panel_.get(); }

  // Set by the caller before DoModal.
  int m_PluginCount = 0;
  std::array<std::string, kMaxImportPlugins> m_PluginPaths;
  // The caller's start value, then the plug-in of the current filter entry (empty for own files).
  std::string m_PluginPath;
  // When set, m_OtherPlugin follows the chosen plug-in.
  int m_Classify = 0;
  int m_TypePosition = 0;
  int m_OtherPlugin = 1;

 private:
  // Loads the plug-in for the moment and shows its version; false when it does not load.
  bool ShowVersionOf(const std::string& pluginPath);
  bool open_;
  std::string defaultExt_, fileName_, filter_, folder_;
  std::uint32_t flags_;
  ui::Window* parent_;
  int filterIndex_ = 0;
  std::vector<std::string> paths_;
  std::unique_ptr<LyrOpenRawPanel> panel_;
};
