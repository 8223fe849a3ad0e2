#pragma once
// The shared folder picker: the platform's folder browser opened at a start folder.
#include <string>

namespace ui {
class Window;
}

class CFolderBrowseDlg {
 public:
  // rootFolder: the top the browser starts from when the start folder does not exist.
  CFolderBrowseDlg(std::string rootFolder, std::string startFolder);

  // The prompt shown by the browser.
  void SetTitle(std::string title) { title_ = std::move(title); }
  // 1 with the chosen folder kept for GetFolderPath, 0 when cancelled (the result stays
  // empty). newStyle is kept for the callers' sake; every browser here can make folders.
  int DoModal(ui::Window* owner, int newStyle);
  std::string GetFolderPath() const { return path_; }

 private:
  std::string root_;
  std::string start_;
  std::string title_;
  std::string path_;
};
