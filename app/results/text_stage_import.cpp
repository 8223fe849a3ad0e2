// Stages scored elsewhere, one text line per epoch.
#include <array>
#include <string_view>

#include "app/frame/frame_globals.h"
#include "app/results/result_analysis_file.h"
#include "platform/system/file_io.h"
#include "platform/ui/messages.h"

namespace {

// Tokens in the order they are tested, and the code each gives under stage types 0 to 3
// (0: the token means nothing under that type).
struct StageToken {
  char token;
  std::array<std::uint8_t, 4> code;
};
constexpr std::array<StageToken, 8> kTokens{{
    {'W', {1, 1, 1, 1}},
    {'R', {2, 2, 2, 2}},
    {'1', {3, 3, 3, 3}},
    {'2', {4, 4, 3, 3}},
    {'3', {5, 5, 5, 3}},
    {'4', {6, 5, 5, 3}},
    {'M', {7, 7, 7, 3}},
    {'S', {0, 0, 0, 3}},
}};

}  // namespace

int ReadTextStage(LyrEpochParameter& epochs, int stageType, int epochCount, const std::string& path,
                  ResultFileUi& ui) {
  const auto file = sys::ReadWholeFile(path);
  if (!file) {
    ui.Message("CMainFrame::ReadTextStage", ui::MB_OK);
    return 0;
  }
  if (stageType < 0 || stageType > 3) return 0;
  int set = 0;
  std::string_view rest(*file);
  for (int k = 0; k < epochCount && !rest.empty(); ++k) {
    const std::size_t eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest = eol == std::string_view::npos ? std::string_view{} : rest.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::uint8_t offset = line.find('*') != std::string_view::npos ? 20 : 0;
    bool any = false;
    for (const StageToken& t : kTokens) {
      const std::uint8_t code = t.code[static_cast<std::size_t>(stageType)];
      if (code == 0 || line.find(t.token) == std::string_view::npos) continue;
      if (epochs.SetStage(k, static_cast<std::uint8_t>(code + offset))) any = true;
    }
    if (any) ++set;
  }
  // Stages set here are results the user must not lose unsaved.
  if (set > 0) ResultSaveState = 2;
  return set;
}
