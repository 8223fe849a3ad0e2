#include <gtest/gtest.h>

#include <vector>

#include "app/frame/lyr_frame_bar.h"
#include "app/frame/lyr_page_scroll_bar.h"
#include "app/frame/lyr_spin_button_ctrl.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/draw/image.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/dialog.h"

namespace {

// A page scroll bar that records what it told its window.
class RecordingScrollBar : public LyrPageScrollBar {
 public:
  std::vector<unsigned> told;

 protected:
  void OnScrollChanged(unsigned code, std::int32_t) override { told.push_back(code); }
};

struct ScrollFixture : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(parent.Create(nullptr, 0, ui::Rect{0, 0, 300, 40}, false)); }
  // Range 0..99 with a page of 10 at a position.
  void Range(int position) {
    ui::ScrollInfo info;
    info.fMask = ui::SIF_RANGE | ui::SIF_PAGE | ui::SIF_POS;
    info.nMin = 0;
    info.nMax = 99;
    info.nPage = 10;
    info.nPos = position;
    bar.SetScrollInfo(info);
    bar.UpdateArrowState();
  }
  ui::Window parent;
  RecordingScrollBar bar;
};

}  // namespace

TEST_F(ScrollFixture, FreshBarCannotScroll) {
  ASSERT_EQ(bar.Create(ui::Rect{0, 0, 200, 16}, &parent, 7), 1);
  EXPECT_EQ(bar.ArrowState(), ui::ESB_DISABLE_BOTH);
  for (unsigned code : {ui::SB_LINERIGHT, ui::SB_PAGERIGHT}) bar.Scroll(code);
  EXPECT_EQ(bar.Info().nPos, 0) << "the page covers the whole range";
  EXPECT_EQ(bar.ArrowState(), ui::ESB_DISABLE_BOTH);
}

TEST_F(ScrollFixture, StepsByHalfPagesAndPagesWithinTheRange) {
  ASSERT_EQ(bar.Create(ui::Rect{0, 0, 200, 16}, &parent, 7), 1);
  struct Case {
    int from;
    unsigned code;
    int thumb;
    int to;
    unsigned arrows;
  };
  // Range 0..99, page 10: the last page starts at 99 - 10 + 1 = 90.
  const Case cases[] = {
      {0, ui::SB_LINERIGHT, 0, 5, ui::ESB_ENABLE_BOTH},   {85, ui::SB_LINERIGHT, 0, 90, ui::ESB_DISABLE_RIGHT},
      {88, ui::SB_LINERIGHT, 0, 90, ui::ESB_DISABLE_RIGHT}, {85, ui::SB_PAGERIGHT, 0, 90, ui::ESB_DISABLE_RIGHT},
      {3, ui::SB_LINELEFT, 0, 0, ui::ESB_DISABLE_LEFT},    {15, ui::SB_PAGELEFT, 0, 5, ui::ESB_ENABLE_BOTH},
      {5, ui::SB_PAGELEFT, 0, 0, ui::ESB_DISABLE_LEFT},    {20, ui::SB_THUMBPOSITION, 42, 42, ui::ESB_ENABLE_BOTH},
      {20, ui::SB_THUMBTRACK, 42, 20, ui::ESB_ENABLE_BOTH}, {20, ui::SB_RIGHT, 0, 20, ui::ESB_ENABLE_BOTH},
  };
  for (const Case& c : cases) {
    Range(c.from);
    bar.told.clear();
    bar.Scroll(c.code, c.thumb);
    EXPECT_EQ(bar.Info().nPos, c.to) << "code " << c.code << " from " << c.from;
    EXPECT_EQ(bar.ArrowState(), c.arrows) << "code " << c.code << " from " << c.from;
    const bool silent = c.code == ui::SB_THUMBTRACK;
    EXPECT_EQ(bar.told.size(), silent ? 0u : 1u) << "a dragged thumb changes nothing until released";
  }
  Range(0);
  for (int i = 0; i < 30; ++i) bar.Scroll(ui::SB_LINERIGHT);
  EXPECT_EQ(bar.Info().nPos, 90) << "repeated line-right stops at the last page";
}

namespace {

class SpinOwnerDialog : public ui::Dialog, public LyrSpinOwner {
 public:
  explicit SpinOwnerDialog(const res::DialogTemplate& t) : ui::Dialog(t) {}
  void OnSpinDelta(std::uint16_t kind, const NmUpDown& nm, long* result) override {
    kinds.push_back(kind);
    deltas.push_back(nm.iDelta);
    *result = 1;
  }
  std::vector<int> kinds;
  std::vector<int> deltas;
};

}  // namespace

TEST(SpinControl, HandsEachStepToItsOwnerAndSnapsBack) {
  const res::DialogTemplate t = *res::ParseDialog("caption \"T\"\nrow\n  spin 1100\nend\n");
  SpinOwnerDialog dlg(t);
  ASSERT_TRUE(dlg.CreateModeless());
  LyrSpinButtonCtrl spin;
  spin.OwnerKind = 3;
  spin.Attach(dlg, 1100);
  EXPECT_EQ(spin.OnDeltaPos(NmUpDown{1, 1}), 0) << "the change is always allowed";
  EXPECT_EQ(spin.OnDeltaPos(NmUpDown{1, -1}), 0);
  EXPECT_EQ(dlg.kinds, (std::vector<int>{3, 3}));
  EXPECT_EQ(dlg.deltas, (std::vector<int>{1, -1}));
  spin.OnLButtonUp();
  EXPECT_EQ(dlg.Item(1100).GetPos(), 1) << "every click starts from the middle";

  spin.OwnerKind = 5;
  EXPECT_EQ(spin.OnDeltaPos(NmUpDown{1, 1}), 0);
  EXPECT_EQ(dlg.kinds.size(), 2u) << "an unknown kind swallows the notification";
  dlg.DestroyWindow();
}

TEST(SplitterKinds, BarAndGapSizesFollowTheKind) {
  struct Case {
    std::uint16_t kind;
    int barWidth, barHeight, gapWidth, gapHeight;
  };
  for (const Case& c : {Case{0, 8, 8, 8, 8}, Case{1, 4, 8, 4, 8}, Case{2, 4, 4, 4, 4}, Case{3, 8, 8, 8, 8}}) {
    LyrSplitterWnd s;
    s.SplitterKind = c.kind;
    s.ApplySplitterStyle();
    EXPECT_EQ(s.GetSplitterWidth(), c.barWidth) << "kind " << c.kind;
    EXPECT_EQ(s.BarHeight(), c.barHeight) << "kind " << c.kind;
    EXPECT_EQ(s.GapWidth(), c.gapWidth) << "kind " << c.kind;
    EXPECT_EQ(s.GapHeight(), c.gapHeight) << "kind " << c.kind;
  }
  LyrSplitterWnd other;
  const int defaultWidth = other.GetSplitterWidth();
  other.SplitterKind = 9;
  other.ApplySplitterStyle();
  EXPECT_EQ(other.GetSplitterWidth(), defaultWidth) << "other kinds keep the defaults";
}

TEST(EpochStrip, CurrentEpochBlockAndEventLines) {
  // 100 pixels over 10 epochs of 30 s at 100 samples per second.
  draw::Image img(100, 10, 24);
  draw::Dc dc(img);
  const EpochStripLook look{draw::Rgb(255, 255, 255), draw::Rgb(255, 0, 0), draw::Rgb(0, 0, 255)};
  // Event at 45 s: x = 100 x 4500 / (10 x 100 x 30) = 15; one beyond the recording is left out.
  PaintEpochStrip(dc, ui::Rect{0, 0, 100, 10}, 3, 10, {4500, 30000}, 100.0, 30, look);
  EXPECT_EQ(img.GetPixel(29, 0), look.background);
  EXPECT_EQ(img.GetPixel(30, 0), look.currentEpoch) << "epoch 3 spans x 30..39";
  EXPECT_EQ(img.GetPixel(39, 6), look.currentEpoch);
  EXPECT_EQ(img.GetPixel(35, 7), look.background) << "the block stops 3 pixels above the bottom";
  EXPECT_EQ(img.GetPixel(40, 0), look.background);
  EXPECT_EQ(img.GetPixel(15, 9), look.event) << "event lines run the full height";
  EXPECT_EQ(img.GetPixel(16, 9), look.background);

  // More epochs than pixels: the block is still one pixel wide.
  draw::Image narrow(10, 5, 24);
  draw::Dc ndc(narrow);
  PaintEpochStrip(ndc, ui::Rect{0, 0, 10, 5}, 0, 1000, {}, 100.0, 30, look);
  EXPECT_EQ(narrow.GetPixel(0, 0), look.currentEpoch);
  EXPECT_EQ(narrow.GetPixel(1, 0), look.background);
}
