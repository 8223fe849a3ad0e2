#pragma once
// The trend frame: menu 129, an outer splitter (hypnogram and graphs | information column)
// with a nested one (hypnogram over graphs), the layout ratios, the window's commands, and
// docking into its host view or floating as a window of its own.
#include <cstdint>
#include <memory>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "platform/ui/dock_frame.h"

class CQLM2_AnalyzerDoc;
class LyrTrendDummyView;
class LyrTrendInfoAreaView;

inline constexpr std::uint32_t kTrendMenuId = 129;

// Commands of menu 129.
enum TrendCommand : std::uint32_t {
  kCmdHypnogramSetting = 33042,
  kCmdTrendTextOutput = 33168,
  kCmdTrendGraphSetting = 32847,
  kCmdTrendPrint = 33040,
  kCmdEcgRrOutput = 33065,
  kCmdZoom20 = 32851,
  kCmdZoom30 = 32852,
  kCmdZoom60 = 32853,
  kCmdZoom120 = 32854,
  kCmdTenKeyTable = 33095,
  kCmdTrendFloat = 32771,
  kCmdTrendDocking = 32772,
};

class LyrTrendFrame : public ui::DockFrame, public LyrSplitterOwner {
 public:
  explicit LyrTrendFrame(LyrTrendDummyView* host);
  ~LyrTrendFrame() override;

  bool OnCreateClient(ui::CreateContext* context) override;
  void OnPaint(draw::Dc& dc) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnSplitterDragged(LyrSplitterWnd& splitter) override;

  // Applies new display settings to every pane (lines 1..12, minutes per line, graphs 1..20).
  void ApplyDisplaySetting(int lines, int minutes, int count);
  // Sizes the splitter rows and columns from the two ratios.
  void LayoutPanes();
  // Takes the ratios from the panes after a splitter drag.
  void StoreSplitRatio();
  // Docks into the host view; notify: record the state and lay the main frame out.
  void DockWindow(int notify);
  // Floats as a top-level window; notify as for DockWindow.
  void FloatWindow(int notify);
  void GetStageTypeParam(StageTypeParam& out) const;
  void SetPopupGraph(int graph) { PopupGraph = graph; }

  // The commands as the menu runs them.
  void OnFloat();
  void OnDocking();
  void OnTenKeyTable();
  // Trend graph Setting (32847): the dialog, then the new display settings.
  void OnTrendGraphSetting();

  LyrTrendDummyView* HostView() const { return host_; }
  CQLM2_AnalyzerDoc* Document() const;
  LyrSplitterWnd* OuterSplitter() const { return outer_.get(); }
  LyrSplitterWnd* NestedSplitter() const { return nested_.get(); }
  LyrTrendInfoAreaView* InfoArea() const;

  // The graph on which the graph popup menu was opened, -1 none.
  int PopupGraph = -1;

 private:
  void MapTrendCommands();
  // The hypnogram setting and the text outputs (lyr_trend_hypno_commands.cpp).
  void MapHypnogramCommands();
  // The main frame lays out its panes and the raw frames after a ratio change here.
  void RelayoutMainFrame(bool rawFrames);
  LyrTrendDummyView* host_;
  std::unique_ptr<LyrSplitterWnd> nested_;
  std::unique_ptr<LyrSplitterWnd> outer_;
  // What the last layout was made for: a paint lays the panes out again only when it changed
  // (laying out repaints, which would otherwise paint and lay out without end).
  struct LayoutKey {
    int width = -1, height = -1, graphs = -1;
    double rowRatio = -1.0, columnRatio = -1.0;
    bool operator==(const LayoutKey&) const = default;
  };
  LayoutKey CurrentLayoutKey() const;
  LayoutKey laidOut_;
};
