#pragma once
// Workspace pane 6 ("StageGraph"): for consecutive time divisions of an epoch range, how many
// epochs of each chosen stage item each holds, as lines, bars or stacked bands, with the same
// numbers in a table at the right. The table also goes to a text file or the clipboard, and
// the graph to a printed page. In the utility hypnogram window the same pane draws a loaded
// result file's stages, without table.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/workspace/stage_graph_table.h"
#include "app/workspace/workspace_list_pane.h"

struct StageTypeParam;
class WorkspaceTextOut;

class LyrWorkspaceStageGraphView : public LyrWorkspaceListPane {
 public:
  // The stages of a loaded result file (utility mode).
  struct UtilitySource {
    const StageTypeParam* stageType = nullptr;
    int epochSeconds = 0;
    int lastEpoch = -1;
    std::function<int(int)> stageOf;
    std::function<std::string(int)> epochLabel;
  };

  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  void OnControlNotify(int controlId, int code) override;
  bool OnPreparePrinting(PrintInfo& info) override;
  void OnBeginPrinting(draw::Dc& dc, PrintInfo& info) override;
  void OnPrint(draw::Dc& dc, PrintInfo& info) override;
  void OnEndPrinting(draw::Dc& dc, PrintInfo& info) override;

  // mode 2 refills the table; 0 writes it to OutputPath, 1 to the clipboard. 1 done, 0 when
  // the output failed, 2 when the user stopped it at the line limit. The time-header flag is
  // cleared in every mode.
  int OutputText(int mode);
  // The numbers as drawn and listed.
  StageGraphTable Count() const;
  // Draws the graph into an area (the print rectangle or the client area).
  void DrawGraph(draw::Dc& dc, const ui::Rect& area);
  // The printed page on a printable rectangle: the header, the graph below it and its
  // legend; colour false prints hatches and greys.
  void DrawPage(draw::Dc& dc, const ui::Rect& page, bool colour);
  // Rows of the table.
  int TableRows() const;
  // The plotting rectangle in an area for the text size of "8888".
  ui::Rect GetGraphRect(const ui::Rect& area, ui::Size text, long long spanSeconds) const;

  // "StageGraph" set-up (dialog 187): IDOK or IDCANCEL.
  int RunSetupDialog();
  // "Text Output" (dialog 190).
  void RunTextDialog();
  // The frame's Print command: one page on the print dialog's printer.
  void Print();

  std::uint16_t UtilityMode = 0;
  std::int32_t UtilitySlot = 0;
  UtilitySource Utility;
  std::array<std::uint16_t, kStageGraphItemFlags> StageItemFlags{};
  std::int32_t FirstEpoch = 0;
  std::int32_t LastEpoch = 0;
  std::uint16_t TimeHeader = 0;
  std::string OutputPath;
  // First epoch of each listed division.
  std::vector<std::int32_t> DivisionStarts;
  // Where the graph lies on the printed page, and whether the page prints in colour.
  ui::Rect PrintRect;

 private:
  const StageTypeParam* StageType() const;
  int EpochSecondsOf() const;
  std::string LabelOf(int epoch) const;
  // The table's rows: into the list (mode 2) or as lines of out; false when out stopped.
  bool FindStageGraph(int mode, WorkspaceTextOut* out);
  void PrintHeader(draw::Dc& dc, const ui::Rect& page);
  bool printing_ = false;
  bool monochrome_ = false;
};
