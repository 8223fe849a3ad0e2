#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/frame/icon_button_ex.h"
#include "app/frame/tzr_static_ex.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/draw/image.h"
#include "platform/res/ui_resource.h"
#include "platform/system/process.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/dialog.h"

namespace {

struct OpenedTargets {
  OpenedTargets() {
    sys::SetOpenDocumentHandlerForTesting([this](const std::string& t) {
      targets.push_back(t);
      return sys::kShellOk;
    });
  }
  ~OpenedTargets() { sys::SetOpenDocumentHandlerForTesting({}); }
  std::vector<std::string> targets;
};

res::DialogTemplate Template(const char* text) { return *res::ParseDialog(text); }

}  // namespace

TEST(LinkStatic, TargetsBecomeAddressesAndClicksOpenThem) {
  OpenedTargets opened;
  TzrCStaticEx plain;
  EXPECT_FALSE(plain.OnSetCursor()) << "no link: the normal cursor";
  EXPECT_FALSE(plain.OnClicked()) << "no link: clicks are ignored";
  EXPECT_TRUE(opened.targets.empty());

  TzrCStaticEx web;
  web.SetLink("HtTpS://example.org/help", false);
  EXPECT_EQ(web.LinkTarget(), "HtTpS://example.org/help") << "an address stays as it is";
  EXPECT_TRUE(web.OnSetCursor());
  EXPECT_TRUE(web.OnClicked());
  EXPECT_EQ(opened.targets, (std::vector<std::string>{"HtTpS://example.org/help"}));

  TzrCStaticEx file;
  file.SetLink("manual.pdf", true);
  const std::string absolute = (std::filesystem::current_path() / "manual.pdf").lexically_normal().string();
  EXPECT_EQ(file.LinkTarget(), "file:///" + absolute.substr(1));
  EXPECT_EQ(file.TextColor(), draw::Rgb(0, 0, 255));
  EXPECT_EQ(file.Font().underline, 1);
  EXPECT_EQ(file.Font().italic, 0);
  EXPECT_EQ(file.Font().weight, 400);
  file.SetBold(true);
  EXPECT_EQ(file.Font().weight, 700);
}

TEST(IconButton, RefusedSettingsAndPlacement) {
  CIconButtonEx b;
  EXPECT_EQ(b.SetAlign(4, false), 4);
  EXPECT_EQ(b.SetAlign(1, false), 0);
  EXPECT_EQ(b.SetPressedStyle(2, false), 6);
  EXPECT_EQ(b.SetPressedStyle(1, false), 0);
  EXPECT_EQ(b.PressedOffset(), (ui::Point{0, 2}));

  draw::Image icon(16, 16, 24);
  b.SetIcon(icon, icon);
  const ui::Rect client{0, 0, 100, 40};
  struct Case {
    int align;
    bool text;
    ui::Rect icon;
    int textLeft, textTop, textRight;
  };
  // Margins 3 x 3; the icon is 16 x 16 and centred at (42, 12) when alone.
  for (const Case& c : {Case{0, true, {3, 12, 19, 28}, 19, 0, 100}, Case{0, false, {42, 12, 58, 28}, 0, 0, 100},
                        Case{1, true, {42, 3, 58, 19}, 0, 19, 100}, Case{1, false, {42, 12, 58, 28}, 0, 0, 100},
                        Case{2, true, {81, 12, 97, 28}, 0, 0, 81}, Case{3, true, {0, 0, 16, 16}, 0, 0, 100}}) {
    b.SetAlign(c.align, false);
    const CIconButtonEx::Placement p = b.Place(client, c.text);
    EXPECT_EQ(p.icon, c.icon) << "align " << c.align << " text " << c.text;
    EXPECT_EQ(p.text.left, c.textLeft) << "align " << c.align;
    EXPECT_EQ(p.text.top, c.textTop) << "align " << c.align;
    EXPECT_EQ(p.text.right, c.textRight) << "align " << c.align;
  }
}

TEST(IconButton, HoverChoosesTheIconAndEndsOnLeave) {
  CIconButtonEx b;
  draw::Image in(8, 8, 24);
  in.Fill(draw::Rgb(255, 0, 0));
  draw::Image out(8, 8, 24);
  out.Fill(draw::Rgb(0, 0, 255));
  b.SetIcon(in, out);
  b.SetAlign(3, false);
  int hoverSounds = 0;
  b.SetSounds([&] { ++hoverSounds; }, {});
  draw::Image canvas(20, 20, 24);
  draw::Dc dc(canvas);
  b.DrawItem(dc, ui::Rect{0, 0, 20, 20}, "", false, false, false);
  EXPECT_EQ(canvas.GetPixel(2, 2), draw::Rgb(0, 0, 255)) << "the normal icon";
  b.OnMouseMove(true, true, true);
  EXPECT_FALSE(b.MouseOver()) << "no hover starts with the button held elsewhere";
  b.OnMouseMove(false, true, true);
  b.OnMouseMove(false, true, true);
  EXPECT_TRUE(b.MouseOver());
  EXPECT_EQ(hoverSounds, 1) << "the hover sound plays once";
  b.DrawItem(dc, ui::Rect{0, 0, 20, 20}, "", false, false, false);
  EXPECT_EQ(canvas.GetPixel(2, 2), draw::Rgb(255, 0, 0)) << "the hover icon";
  b.OnMouseMove(false, false, true);
  EXPECT_FALSE(b.MouseOver());
  b.SetTrackWhileInactive(false);
  b.OnMouseMove(false, true, false);
  EXPECT_FALSE(b.MouseOver()) << "no hover while the application is inactive";
}

TEST(IconButton, CheckBoxModeAndFocusOnDisable) {
  ui::Dialog dlg(Template("caption \"T\"\nrow\n  check 1200 \"Tick\"\n  button 1201 \"Go\"\n  edit 1202\nend\n"));
  ASSERT_TRUE(dlg.CreateModeless());
  CIconButtonEx tick;
  tick.SubclassDlgItem(1200, dlg);
  EXPECT_TRUE(tick.IsCheckBox());
  tick.OnLButtonDblClk();
  EXPECT_EQ(tick.GetCheck(), 1);
  tick.OnLButtonDblClk();
  EXPECT_EQ(tick.GetCheck(), 0) << "a double-click is two clicks";
  tick.SetCheck(2, false);
  EXPECT_EQ(tick.GetCheck(), 1);

  OpenedTargets opened;
  CIconButtonEx go;
  go.SubclassDlgItem(1201, dlg);
  EXPECT_FALSE(go.IsCheckBox());
  go.SetURL("https://example.org");
  go.OnClicked();
  EXPECT_EQ(opened.targets, (std::vector<std::string>{"https://example.org"}));
  go.SetCheck(1, false);
  EXPECT_EQ(go.GetCheck(), 0) << "not a check box";

  dlg.Item(1201).SetFocus();
  if (dlg.Item(1201).HasFocus()) {
    dlg.Item(1201).Enable(false);
    go.OnEnable(false);
    EXPECT_TRUE(dlg.Item(1202).HasFocus()) << "the focus moves to the next control";
  }
  dlg.DestroyWindow();
  testhooks::ProcessMessages();
}

namespace {

// A dialog that paints its own background in one colour.
class PaintedDialog : public ui::Dialog {
 public:
  using ui::Dialog::Dialog;
  void OnPaint(draw::Dc& dc) override { dc.FillSolidRect(GetClientRect(), draw::Rgb(200, 30, 40)); }
};

}  // namespace

TEST(IconButton, TransparentButtonShowsItsParentsPixels) {
  PaintedDialog dlg(Template("caption \"T\"\nrow\n  button 1210 \"\"\nend\n"));
  ASSERT_TRUE(dlg.CreateModeless());
  dlg.ShowWindow(ui::SW_SHOW);
  testhooks::ProcessMessages();
  CIconButtonEx b;
  b.SubclassDlgItem(1210, dlg);
  const ui::Rect client = dlg.Item(1210).GetClientRect();
  ASSERT_GT(client.Width(), 4);
  ASSERT_GT(client.Height(), 4);
  draw::Image canvas(client.Width(), client.Height(), 24);
  draw::Dc dc(canvas);
  const int cx = client.Width() / 2;
  const int cy = client.Height() / 2;

  b.DrawItem(dc, client, "", false, false, false);
  EXPECT_EQ(canvas.GetPixel(cx, cy), draw::GetSysColor(draw::COLOR_BTNFACE)) << "opaque: the face colour";

  b.DrawTransparent(false);
  b.CaptureParentBackground();
  ASSERT_TRUE(b.HasParentBackground());
  b.DrawItem(dc, client, "", false, false, false);
  EXPECT_EQ(canvas.GetPixel(cx, cy), draw::Rgb(200, 30, 40)) << "transparent: the dialog's own pixels";

  b.OnSysColorChange();
  EXPECT_FALSE(b.HasParentBackground()) << "the copy is taken anew after a colour change";
  dlg.DestroyWindow();
  testhooks::ProcessMessages();
}

TEST(LinkStatic, PaintsItsBrushThenItsTextWithoutATextBox) {
  TzrCStaticEx s;
  s.SetBkColor(draw::Rgb(0, 160, 0));
  s.SetTextColor(draw::Rgb(0, 0, 255));
  draw::Image canvas(160, 24, 24);
  canvas.Fill(draw::Rgb(255, 255, 255));
  draw::Dc dc(canvas);
  dc.SetBkColor(draw::Rgb(255, 255, 255));
  s.Paint(dc, ui::Rect{0, 0, 160, 24}, "WWWW link");
  bool text = false;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 160; ++x) {
      const draw::ColorRef c = canvas.GetPixel(x, y);
      ASSERT_NE(c, draw::Rgb(255, 255, 255)) << "no opaque text box at " << x << "," << y;
      text = text || (draw::GetBValue(c) > 128 && draw::GetGValue(c) < 100);
    }
  }
  EXPECT_EQ(canvas.GetPixel(0, 0), draw::Rgb(0, 160, 0)) << "the background brush";
  EXPECT_TRUE(text) << "the text in its colour";
}
