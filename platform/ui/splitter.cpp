// Static splitters: panes placed from ideal row heights and column widths, bars dragged with
// the mouse.
#include "platform/ui/splitter.h"

#include <QCursor>
#include <QWidget>

#include <algorithm>

#include "platform/ui/qt_internal.h"

namespace ui {

struct Splitter::Grid {
  struct Track {
    int ideal = 0;
    int min = 0;
    int current = 0;
  };
  int rows = 0;
  int cols = 0;
  int bar = 7;
  std::vector<Track> rowInfo;
  std::vector<Track> colInfo;
  std::vector<Window*> panes;                   // rows x cols, row-major
  std::vector<std::unique_ptr<Window>> owned;   // panes made by CreateView / CreatePane
  // Bar drag in progress: which bar and the pointer's offset inside it.
  bool dragging = false;
  bool dragRow = false;
  int dragIndex = 0;
};

namespace {

// Gives each track but the last its ideal size as far as room remains, the last the rest.
void Distribute(std::vector<Splitter::Grid::Track>& tracks, int total, int bar) {
  int remaining = total;
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    auto& t = tracks[i];
    if (i + 1 == tracks.size()) {
      t.current = std::max(remaining, 0);
      break;
    }
    int want = t.ideal < t.min ? 0 : t.ideal;
    t.current = std::clamp(want, 0, std::max(remaining, 0));
    remaining -= t.current + bar;
  }
}

}  // namespace

Splitter::Splitter() : Window(WindowKind::Splitter), grid_(std::make_unique<Grid>()) {}

Splitter::~Splitter() {
  // Owned panes first, newest first.
  while (!grid_->owned.empty()) grid_->owned.pop_back();
}

bool Splitter::CreateStatic(Window* parent, int rows, int cols, int id, bool visible) {
  if (rows < 1 || cols < 1 || rows > 16 || cols > 16) return false;
  grid_->rows = rows;
  grid_->cols = cols;
  grid_->rowInfo.assign(static_cast<std::size_t>(rows), {});
  grid_->colInfo.assign(static_cast<std::size_t>(cols), {});
  grid_->panes.assign(static_cast<std::size_t>(rows * cols), nullptr);
  return Create(parent, id, {}, visible);
}

void Splitter::OnChildCreated(Window* child) {
  int id = child->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
  if (id < 0) return;
  int row = id / 16, col = id % 16;
  if (row >= grid_->rows || col >= grid_->cols) return;
  grid_->panes[static_cast<std::size_t>(row * grid_->cols + col)] = child;
  RecalcLayout();
}

bool Splitter::CreateView(int row, int col, std::unique_ptr<View> view, Size initial, const CreateContext* context) {
  if (!view || row < 0 || col < 0 || row >= grid_->rows || col >= grid_->cols) return false;
  grid_->rowInfo[static_cast<std::size_t>(row)].ideal = initial.cy;
  grid_->colInfo[static_cast<std::size_t>(col)].ideal = initial.cx;
  CreateContext none;
  if (!view->CreateView(this, IdFromRowCol(row, col), context ? *context : none)) return false;
  grid_->owned.push_back(std::move(view));
  RecalcLayout();
  return true;
}

bool Splitter::CreatePane(int row, int col, std::unique_ptr<Window> pane, Size initial) {
  if (!pane || row < 0 || col < 0 || row >= grid_->rows || col >= grid_->cols) return false;
  grid_->rowInfo[static_cast<std::size_t>(row)].ideal = initial.cy;
  grid_->colInfo[static_cast<std::size_t>(col)].ideal = initial.cx;
  if (!pane->IsWindow() && !pane->Create(this, IdFromRowCol(row, col))) return false;
  grid_->owned.push_back(std::move(pane));
  RecalcLayout();
  return true;
}

int Splitter::GetRowCount() const { return grid_->rows; }
int Splitter::GetColumnCount() const { return grid_->cols; }

Window* Splitter::GetPane(int row, int col) const {
  if (row < 0 || col < 0 || row >= grid_->rows || col >= grid_->cols) return nullptr;
  Window* w = grid_->panes[static_cast<std::size_t>(row * grid_->cols + col)];
  return w && w->IsWindow() ? w : nullptr;
}

void Splitter::SetRowInfo(int row, int ideal, int min) {
  if (row < 0 || row >= grid_->rows) return;
  grid_->rowInfo[static_cast<std::size_t>(row)].ideal = std::max(ideal, 0);
  grid_->rowInfo[static_cast<std::size_t>(row)].min = std::max(min, 0);
}

void Splitter::SetColumnInfo(int col, int ideal, int min) {
  if (col < 0 || col >= grid_->cols) return;
  grid_->colInfo[static_cast<std::size_t>(col)].ideal = std::max(ideal, 0);
  grid_->colInfo[static_cast<std::size_t>(col)].min = std::max(min, 0);
}

void Splitter::GetRowInfo(int row, int& current, int& min) const {
  current = min = 0;
  if (row < 0 || row >= grid_->rows) return;
  current = grid_->rowInfo[static_cast<std::size_t>(row)].current;
  min = grid_->rowInfo[static_cast<std::size_t>(row)].min;
}

void Splitter::GetColumnInfo(int col, int& current, int& min) const {
  current = min = 0;
  if (col < 0 || col >= grid_->cols) return;
  current = grid_->colInfo[static_cast<std::size_t>(col)].current;
  min = grid_->colInfo[static_cast<std::size_t>(col)].min;
}

int Splitter::GetRowIdeal(int row) const {
  return row < 0 || row >= grid_->rows ? 0 : grid_->rowInfo[static_cast<std::size_t>(row)].ideal;
}
int Splitter::GetColumnIdeal(int col) const {
  return col < 0 || col >= grid_->cols ? 0 : grid_->colInfo[static_cast<std::size_t>(col)].ideal;
}

void Splitter::SetBarWidth(int px) { grid_->bar = std::max(px, 0); }
int Splitter::GetBarWidth() const { return grid_->bar; }

void Splitter::RecalcLayout() {
  Rect client = GetClientRect();
  Distribute(grid_->rowInfo, client.Height(), grid_->bar);
  Distribute(grid_->colInfo, client.Width(), grid_->bar);
  int y = 0;
  for (int r = 0; r < grid_->rows; ++r) {
    int h = grid_->rowInfo[static_cast<std::size_t>(r)].current;
    int x = 0;
    for (int c = 0; c < grid_->cols; ++c) {
      int w = grid_->colInfo[static_cast<std::size_t>(c)].current;
      if (Window* pane = GetPane(r, c)) {
        QWidget* pw = WidgetOf(pane);
        if (w <= 0 || h <= 0) {
          pw->hide();
          pw->setGeometry(x, y, 0, 0);
        } else {
          pw->setGeometry(x, y, w, h);
          pw->show();
        }
      }
      x += w + grid_->bar;
    }
    y += h + grid_->bar;
  }
}

void Splitter::OnSize(std::uint32_t, int, int) { RecalcLayout(); }

void Splitter::DragBar(bool rowBar, int index, int pos) {
  auto& tracks = rowBar ? grid_->rowInfo : grid_->colInfo;
  if (index < 0 || index + 1 >= static_cast<int>(tracks.size())) return;
  // The bar's new position fixes the size of the track before it; the earlier tracks keep
  // their current sizes.
  int start = 0;
  for (int i = 0; i < index; ++i) start += tracks[static_cast<std::size_t>(i)].current + grid_->bar;
  tracks[static_cast<std::size_t>(index)].ideal = std::max(pos - start, 0);
  RecalcLayout();
  OnBarMoved(rowBar, index);
}

// Bar under a point of the client area: which bar, or false.
namespace {
bool HitBar(const Splitter::Grid& g, Point p, bool& row, int& index) {
  int y = 0;
  for (int r = 0; r + 1 < g.rows; ++r) {
    y += g.rowInfo[static_cast<std::size_t>(r)].current;
    if (p.y >= y && p.y < y + g.bar) {
      row = true;
      index = r;
      return true;
    }
    y += g.bar;
  }
  int x = 0;
  for (int c = 0; c + 1 < g.cols; ++c) {
    x += g.colInfo[static_cast<std::size_t>(c)].current;
    if (p.x >= x && p.x < x + g.bar) {
      row = false;
      index = c;
      return true;
    }
    x += g.bar;
  }
  return false;
}
}  // namespace

std::intptr_t Splitter::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  Point p{LowSigned(static_cast<std::uint64_t>(lParam)), HighSigned(static_cast<std::uint64_t>(lParam))};
  QWidget* w = WidgetOf(this);
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (HitBar(*grid_, p, grid_->dragRow, grid_->dragIndex)) {
        grid_->dragging = true;
        SetCapture();
      }
      break;
    case WM_MOUSEMOVE:
      if (w && !grid_->dragging) {
        bool row = false;
        int index = 0;
        if (HitBar(*grid_, p, row, index)) w->setCursor(row ? Qt::SplitVCursor : Qt::SplitHCursor);
        else w->unsetCursor();
      }
      break;
    case WM_LBUTTONUP:
      if (grid_->dragging) {
        grid_->dragging = false;
        ReleaseCapture();
        DragBar(grid_->dragRow, grid_->dragIndex, grid_->dragRow ? p.y : p.x);
      }
      break;
    default: break;
  }
  return Window::WindowProc(msg, wParam, lParam);
}

}  // namespace ui
