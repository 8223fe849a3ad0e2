#pragma once
// The program's own file browser for recordings of the DSI import plug-in and for own raw
// data files: the files of one folder with their modification times, the file type to list,
// the subject data of the clicked file and the DSI reader's version. On OK it refuses files
// that cannot be read and a choice of files of different types.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"

inline constexpr int IDD_OPEN_DSI_FILE = 343;
inline constexpr int IDC_DSI_INFO_LIST = 9341;
inline constexpr int IDC_DSI_VERSION = 9342;
inline constexpr int IDC_DSI_FOLDER = 9343;
inline constexpr int IDC_DSI_TYPE = 9345;
inline constexpr int IDC_DSI_FILE_NAME = 9346;
inline constexpr int IDC_DSI_SELECT_FOLDER = 9351;
inline constexpr int IDC_DSI_FILE_LIST = 1840;

// One listed file: its name without folder and extension, its path and its last write time
// in local time (year, month, day of week, day, hour, minute, second, milliseconds).
struct DsiFileRecord {
  std::string title;
  std::string path;
  std::array<std::uint16_t, 8> modified{};
};

class LyrDlgOpenDsiFile : public ui::Dialog {
 public:
  explicit LyrDlgOpenDsiFile(ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;

  // Appends the chosen paths in list order.
  void GetSelectedFiles(std::vector<std::string>& out) const;
  // The DSI plug-in's path while its files are listed, else empty.
  std::string GetPluginPath() const { return m_PluginPath; }
  const std::vector<DsiFileRecord>& Records() const { return records_; }

  // Handlers of the controls.
  void OnTypeChange();
  void OnFileListClick();
  void OnFileListItemChanged();
  void OnSelectFolder();

  // Set by the caller before DoModal.
  std::string m_FolderPath;  // the user's desktop folder by construction
  int m_FileKind = 2;        // 1 the DSI plug-in's files, 2 own raw data files
  int m_TypeMode = 0;        // 0 both types, 1 only the DSI type, 2 only the own type
  int m_SingleSelection = 1;
  std::vector<std::string> m_ChosenPaths;
  std::string m_PluginPath;
  std::string m_Version;
  std::string m_Folder;
  std::string m_FileName;

 private:
  void UpdateControls();
  void ReadControls();
  void FillTypeList();
  void SelectType();
  void SetPluginPathFromKind();
  void PrepareFileList();
  void PrepareInfoList();
  void ClearLists();
  void ScanFolder();
  int SelectInitialFile();
  void ShowFileInfo(int row);
  void ShowReaderVersion();
  void CollectSelection();
  // 2 all readable and of one type, 1 of different types, 0 one cannot be read.
  int CheckChosenFiles() const;

  std::vector<DsiFileRecord> records_;
};

// Patterns of a plug-in filter text: the part after the last "|" (the final character
// dropped first), cut at each ";".
std::vector<std::string> DsiFilterPatterns(const std::string& filter);
// Description of a filter text: the final character dropped, cut before the last "|".
std::string DsiFilterDescription(const std::string& filter);
// Last write time of a listed file as the list shows it for the language.
std::string DsiFileTimeText(const std::array<std::uint16_t, 8>& t, bool english);
