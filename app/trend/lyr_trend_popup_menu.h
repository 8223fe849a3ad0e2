#pragma once
// Trend items as the user chooses them: the popup menu of a graph (only the items the open
// recording can supply), its command numbers, the choice of a channel for the FFT and free
// items, storing a graph's item, and whether a stored item can be shown.
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/ui/menu.h"

class CQLM2_AnalyzerDoc;
class LyrTrendDummyView;
namespace ui {
class Window;
}

inline constexpr std::uint32_t kCmdTrendScale = 33101;
inline constexpr std::uint32_t kCmdTrendItemNone = 32957;
inline constexpr std::uint32_t kCmdTrendItemCancel = 32958;

// The item a command chooses. channelChoice: the third index is a channel still to choose
// (1 among the channels marked for FFT, 2 among all channels).
struct TrendItemCommand {
  int category = 0;
  int sub = 0;
  int third = 0;
  int channelChoice = 0;
};
std::optional<TrendItemCommand> TrendItemOfCommand(std::uint32_t id);

// The item popup menu for the document's settings (null document: no channels set).
std::unique_ptr<ui::Menu> BuildTrendItemMenu(const CQLM2_AnalyzerDoc* doc);

// The popup's owner: the document that decides what is offered and the window that gets the
// chosen command.
class LyrTrendPopUpMenuFrame {
 public:
  void SetOwner(CQLM2_AnalyzerDoc* doc, ui::Window* window) {
    doc_ = doc;
    window_ = window;
  }
  // Shows the menu at the pointer; the choice arrives at the window as a command.
  void TrackItemMenu();

 private:
  CQLM2_AnalyzerDoc* doc_ = nullptr;
  ui::Window* window_ = nullptr;
};

// The channel of an FFT (mode 1) or free (mode 2) item: with one FFT channel that one,
// otherwise the "Channel Selection" dialog. -1 when there is none or the user cancelled.
int ChooseTrendItemChannel(CQLM2_AnalyzerDoc* doc, int mode, ui::Window* parent);

// Runs an item command for a graph: the item is stored unless a channel choice is cancelled.
// True when the item was stored.
bool RunTrendItemCommand(LyrTrendDummyView& trend, int graph, std::uint32_t id, ui::Window* parent);

// Stores a graph's item and refreshes what depends on it (the graph's range, the
// information column's thresholds, one undo entry tagged with the graph, its edits and
// values, the graph's pane).
void SetTrendItem(LyrTrendDummyView& trend, int graph, int category, int sub, int third);

// 1 when the graph's item can be shown with the document's settings.
int IsTrendItemAvailable(const CQLM2_AnalyzerDoc* doc, int graph);
