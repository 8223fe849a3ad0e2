// Dialogs from templates driven by control id; modal and modeless; dialog bars; common dialogs.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/draw/dc.h"
#include "platform/res/ui_resource.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/dialog.h"
#include "platform/ui/frame.h"
#include "platform/ui/message_box.h"

namespace {

res::DialogTemplate Template(const char* text, int id) {
  auto t = res::ParseDialog(text);
  EXPECT_TRUE(t);
  t->id = id;
  return *t;
}

const char* kJump =
    "caption \"EpochJump\"\n"
    "row\n"
    "  static -1 \"Input epoch number:\"\n"
    "  edit 1958\n"
    "end\n"
    "group 1000 \"Target\"\n"
    "  radio 1649 \"&All windows\" newgroup\n"
    "  radio 1652 \"&Raw window\"\n"
    "  radio 1654 \"&Trend window\"\n"
    "  check 1680 \"&Show peak\"\n"
    "end\n"
    "list 1078\n"
    "combo 1446\n"
    "buttons\n"
    "  button 1 \"OK\" default\n"
    "  button 2 \"Cancel\"\n"
    "end\n";

// An epoch-number dialog: refuses numbers outside 0..count-1 and stays open.
struct JumpDialog : ui::Dialog {
  long long epoch = 3;
  long long count = 10;
  JumpDialog() : ui::Dialog(Template(kJump, 259)) {}
  bool OnInitDialog() override {
    SetDlgItemInt(1958, epoch);
    return true;
  }
  void OnOK() override {
    bool ok = false;
    long long v = GetDlgItemInt(1958, &ok);
    if (!ok || v < 0 || v >= count) {
      ui::MessageBox("Invalid Epoch");
      return;
    }
    epoch = v;
    EndDialog(ui::IDOK);
  }
};

TEST(Dialogs, ModalDialogIsDrivenByControlIdAndReturnsItsEndCode) {
  testhooks::Reset();
  std::string shownAtStart;
  testhooks::ScriptDialog(259, [&](ui::Dialog& d) {
    shownAtStart = d.GetDlgItemText(1958);
    EXPECT_EQ(d.GetWindowText(), "EpochJump");
    d.SetDlgItemText(1958, "10");
    EXPECT_TRUE(d.ClickButton(ui::IDOK));
    EXPECT_FALSE(d.IsEnded()) << "an invalid number keeps the dialog open";
    d.SetDlgItemText(1958, "9");
    EXPECT_TRUE(d.ClickButton(ui::IDOK));
  });
  JumpDialog dlg;
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(shownAtStart, "3");
  EXPECT_EQ(dlg.epoch, 9);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Invalid Epoch");
  EXPECT_EQ(testhooks::ShownDialogs(), std::vector<int>{259});
  EXPECT_FALSE(dlg.IsWindow()) << "a modal dialog is gone when DoModal returns";
}

TEST(Dialogs, UnscriptedModalDialogIsCancelledAndRecorded) {
  testhooks::Reset();
  JumpDialog dlg;
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(dlg.epoch, 3);
  EXPECT_EQ(testhooks::UnansweredCount(), 1);
  ui::Dialog missing(987654);
  EXPECT_EQ(missing.DoModal(), -1) << "no template";
  testhooks::Reset();
}

TEST(Dialogs, ControlsKeepTheirStateByKind) {
  struct Probe : ui::Dialog {
    std::vector<std::string> log;
    Probe() : ui::Dialog(Template(kJump, 259)) {
      MapCommand(1680, [this] { log.push_back("check"); });
    }
  } d;
  ASSERT_TRUE(d.CreateModeless());
  // Radios of one group exclude each other; clicking a check toggles it and notifies.
  d.ClickButton(1652);
  d.ClickButton(1654);
  EXPECT_EQ(d.GetCheckedRadioButton(1649, 1654), 1654);
  d.CheckRadioButton(1649, 1654, 1649);
  EXPECT_EQ(d.GetCheckedRadioButton(1649, 1654), 1649);
  d.ClickButton(1680);
  EXPECT_EQ(d.IsDlgButtonChecked(1680), 1);
  EXPECT_EQ(d.log, std::vector<std::string>{"check"});
  d.EnableItem(1680, false);
  EXPECT_FALSE(d.ClickButton(1680)) << "a disabled control takes no click";

  // Report list: columns, rows, cells, item data and selection.
  ui::Control list = d.Item(1078);
  EXPECT_EQ(list.Kind(), ui::ControlKind::ReportList);
  list.InsertColumn(0, "No.", 40);
  list.InsertColumn(1, "Ch", 100);
  EXPECT_EQ(list.InsertItem(-1, "  1"), 0);
  EXPECT_EQ(list.InsertItem(-1, "  2"), 1);
  EXPECT_TRUE(list.SetItemText(1, 1, "EEG"));
  EXPECT_FALSE(list.SetItemText(2, 0, "x")) << "no row 2";
  list.SetItemData(1, 200);
  list.SetMultiSelect(true);
  list.SetSelected(0, true);
  list.SetSelected(1, true);
  EXPECT_EQ(list.GetColumnCount(), 2);
  EXPECT_EQ(list.GetItemText(1, 1), "EEG");
  EXPECT_EQ(list.GetItemData(1), 200);
  EXPECT_EQ(list.GetSelectedIndexes(), (std::vector<int>{0, 1}));

  // Combo: entries, selection by index, none selected, lookup.
  ui::Control combo = d.Item(1446);
  combo.AddString("None");
  combo.AddString("Delta%Time");
  EXPECT_EQ(combo.InsertString(1, "Alpha"), 1);
  combo.SetCurSel(2);
  EXPECT_EQ(combo.GetText(), "Delta%Time");
  EXPECT_EQ(combo.FindStringExact("alpha"), 1);
  combo.SetCurSel(7);
  EXPECT_EQ(combo.GetCurSel(), -1) << "an index past the end selects nothing";
  EXPECT_FALSE(d.HasControl(4242));
  EXPECT_EQ(d.Item(4242).GetText(), "");
}

TEST(Dialogs, ItemNumbersAreReadAsTheSystemReadsThem) {
  ui::Dialog d(Template(kJump, 259));
  ASSERT_TRUE(d.CreateModeless());
  struct Case {
    const char* text;
    bool ok;
    long long value;
  };
  const Case cases[] = {{"42", true, 42}, {"  -7", true, -7}, {"+5", true, 5}, {"12ab", true, 12},
                        {"", false, 0},   {"abc", false, 0},  {"-", false, 0}};
  for (const Case& c : cases) {
    d.SetDlgItemText(1958, c.text);
    bool ok = !c.ok;
    EXPECT_EQ(d.GetDlgItemInt(1958, &ok), c.value) << c.text;
    EXPECT_EQ(ok, c.ok) << c.text;
  }
}

TEST(Dialogs, ModelessDialogCallsBackWhenItEnds) {
  ui::Dialog d(Template(kJump, 259));
  int code = 0;
  d.SetCloseCallback([&](int c) { code = c; });
  ASSERT_TRUE(d.CreateModeless());
  EXPECT_TRUE(d.IsWindowVisible());
  d.ClickButton(ui::IDCANCEL);
  EXPECT_EQ(code, ui::IDCANCEL);
  EXPECT_FALSE(d.IsWindowVisible());
  d.SendMessage(ui::WM_CLOSE);  // the window's close box is Cancel too
  EXPECT_EQ(code, ui::IDCANCEL);
}

TEST(DialogBars, RouteTheirControlsToTheFrameAndFollowUpdateHandlers) {
  ui::App app;
  ui::Frame frame;
  ASSERT_TRUE(frame.LoadFrame(0));
  app.SetMainWnd(&frame);
  ui::DialogBar bar;
  ASSERT_TRUE(bar.CreateBar(&frame,
                            Template("row\n  button 33009 \"Open\"\n  button 33010 \"Save\"\n"
                                     "  combo 1446\nend\n",
                                     162),
                            59403));
  frame.DockControlBar(&bar, true);
  std::vector<std::string> log;
  app.MapCommand(33009, [&] { log.push_back("open"); });
  frame.MapNotify(1446, ui::CBN_CLOSEUP, [&] { log.push_back("closeup"); });
  frame.MapUpdate(1446, [](ui::CmdUI& ui) { ui.Enable(false); });

  EXPECT_TRUE(testhooks::ClickControl(bar, 33009));
  bar.SendMessage(ui::WM_COMMAND, ui::MakeLong(1446, ui::CBN_CLOSEUP), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"open", "closeup"}));

  ui::RunIdleNow();
  EXPECT_TRUE(bar.Item(33009).IsEnabled());
  EXPECT_FALSE(bar.Item(33010).IsEnabled()) << "a button nobody handles is greyed";
  EXPECT_FALSE(bar.Item(1446).IsEnabled()) << "the update handler disabled the combo";
  app.SetMainWnd(nullptr);
}

TEST(CommonDialogs, FileDialogTakesTheScriptedAnswer) {
  testhooks::Reset();
  testhooks::AnswerFileDialog(ui::IDOK, {"/data/night1.fyd"});
  std::string previewed;
  ui::FileDialog open(true, "fyd", {}, ui::OFN_FILEMUSTEXIST, "Data (*.fyd)|*.fyd|All files (*.*)|*.*||");
  open.SetPreview(nullptr, [&](const std::string& p) { previewed = p; });
  ASSERT_EQ(open.DoModal(), ui::IDOK);
  EXPECT_EQ(open.GetPathName(), "/data/night1.fyd");
  EXPECT_EQ(open.GetFileName(), "night1.fyd");
  EXPECT_EQ(open.GetFileExt(), "fyd");
  EXPECT_EQ(open.GetFolderPath(), "/data");
  EXPECT_EQ(previewed, "/data/night1.fyd");

  ui::FileDialog again(true);
  EXPECT_EQ(again.DoModal(), ui::IDCANCEL) << "no answer queued";
  EXPECT_EQ(testhooks::UnansweredCount(), 1);

  testhooks::AnswerColorDialog(ui::IDOK, 0x0000FF);
  std::uint32_t color = 0;
  EXPECT_EQ(ui::ChooseColor(nullptr, color), ui::IDOK);
  EXPECT_EQ(color, 0x0000FFu);
  testhooks::Reset();
}

TEST(CommonDialogs, FilterListsParseAsTheSystemWritesThem) {
  auto f = ui::ParseFileFilter("Data (*.fyd)|*.fyd;*.raw|All files (*.*)|*.*||");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].description, "Data (*.fyd)");
  EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.fyd", "*.raw"}));
  EXPECT_EQ(f[1].patterns, std::vector<std::string>{"*.*"});
  EXPECT_TRUE(ui::ParseFileFilter("").empty());
  EXPECT_EQ(ui::ParseFileFilter("Only|*.a").size(), 1u) << "a list without the closing bars";
}

}  // namespace

namespace {

TEST(Dialogs, KeepTheKeysOfTheirControlsFromTheFrame) {
  struct KeyFrame : ui::Frame {
    int keys = 0;
    bool PreTranslateMessage(ui::Message& m) override {
      if (m.message == ui::WM_KEYDOWN) ++keys;
      return ui::Frame::PreTranslateMessage(m);
    }
  } frame;
  ASSERT_TRUE(frame.LoadFrame(0));
  ui::Window pane;
  ASSERT_TRUE(pane.Create(&frame, 1));
  testhooks::PressKey(pane, ui::VK_LEFT);
  EXPECT_EQ(frame.keys, 1) << "keys of the frame's own windows pass the frame first";

  ui::Dialog d(Template(kJump, 259), &frame);
  ASSERT_TRUE(d.CreateModeless());
  testhooks::PressKey(d, ui::VK_LEFT);
  EXPECT_EQ(frame.keys, 1) << "an arrow typed in a dialog stays in the dialog";
}

}  // namespace

namespace {

TEST(ToolBars, ButtonsSendCommandsAndFollowUpdateHandlers) {
  ui::App app;
  ui::Frame frame;
  ASSERT_TRUE(frame.LoadFrame(0));
  app.SetMainWnd(&frame);
  ui::ToolBar bar;
  ASSERT_TRUE(bar.CreateBar(&frame, ui::AFX_IDW_TOOLBAR));
  bar.SetButtons({57601, 0, 33009}, {"Open", "", "Result"});
  frame.DockControlBar(&bar);
  int opened = 0;
  app.MapCommand(57601, [&] { ++opened; });
  ui::RunIdleNow();
  EXPECT_TRUE(bar.IsButtonEnabled(57601));
  EXPECT_FALSE(bar.IsButtonEnabled(33009)) << "no handler: greyed";
  EXPECT_TRUE(bar.PressButton(57601));
  EXPECT_FALSE(bar.PressButton(33009));
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(bar.GetButtonCount(), 3);
  EXPECT_EQ(bar.GetButtonId(1), 0u) << "separator";

  const char* xpm =
      "/* XPM */\n"
      "static const char* icon[] = {\n"
      "\"2 2 2 1\",\n"
      "\"r c #FF0000\",\n"
      "\"b c #0000FF\",\n"
      "\"rb\",\n"
      "\"br\"};\n";
  draw::Image icon = ui::DecodeXpm(xpm);
  ASSERT_FALSE(icon.IsNull());
  EXPECT_EQ(icon.GetPixel(0, 0), draw::Rgb(255, 0, 0));
  EXPECT_EQ(icon.GetPixel(1, 0), draw::Rgb(0, 0, 255));
  bar.SetButtonImage(57601, icon);
  EXPECT_TRUE(ui::DecodeXpm("not an image").IsNull());
  EXPECT_TRUE(ui::LoadIconImage(999999).IsNull());
  app.SetMainWnd(nullptr);
}

}  // namespace

namespace {

TEST(Dialogs, ProgramDrawingOverAControlShowsOnTopOfIt) {
  ui::Dialog d(Template("static 1499 \"  25.0\" chars=12\n", 162));
  ASSERT_TRUE(d.CreateModeless());
  ui::Control field = d.Item(1499);
  ui::Rect r = field.GetClientRect();
  ASSERT_GT(r.Width(), 0);
  field.SetOverlayPainter([](draw::Dc& dc, const ui::Rect& c) {
    dc.FillRect({c.left + 1, c.bottom - 3, c.right - 1, c.bottom - 1}, draw::Brush::Solid(draw::Rgb(255, 0, 0)));
  });
  draw::Image img = testhooks::RenderWindow(d);
  ui::Rect at = field.GetRectInOwner();
  EXPECT_EQ(img.GetPixel(at.left + r.Width() / 2, at.top + r.Height() - 2), draw::Rgb(255, 0, 0))
      << "the underline is drawn inside the field's bottom edge";
  EXPECT_NE(img.GetPixel(at.left + r.Width() / 2, at.top + 1), draw::Rgb(255, 0, 0));
}

}  // namespace

namespace {

// A control placed by the program is found by id as soon as it exists, after a lookup that
// found nothing, and never in a window that reuses a destroyed window's memory.
TEST(ProgramControls, LookupFollowsCreationAndDestruction) {
  std::optional<ui::Window> holder;
  holder.emplace();
  ASSERT_TRUE(holder->Create(nullptr, 0));
  ui::Window* first = &*holder;
  EXPECT_FALSE(ui::Control(first, 7101).Exists());
  ASSERT_TRUE(ui::CreateControl(*first, ui::ControlKind::Button, 7101, "Run", ui::Rect{0, 0, 60, 20}));
  EXPECT_TRUE(ui::Control(first, 7101).Exists()) << "created after a lookup that found nothing";
  EXPECT_EQ(ui::Control(first, 7101).GetText(), "Run");

  ui::Window other;
  ASSERT_TRUE(other.Create(nullptr, 0));
  ASSERT_TRUE(ui::CreateControl(other, ui::ControlKind::Edit, 7101, "elsewhere", ui::Rect{0, 0, 60, 20}));
  EXPECT_EQ(ui::Control(first, 7101).GetText(), "Run") << "each window its own controls";
  EXPECT_EQ(ui::Control(&other, 7101).GetText(), "elsewhere");

  holder->DestroyWindow();
  holder.reset();
  holder.emplace();  // the same address
  ASSERT_EQ(&*holder, first);
  ASSERT_TRUE(holder->Create(nullptr, 0));
  EXPECT_FALSE(ui::Control(&*holder, 7101).Exists()) << "the destroyed window's control is gone";
  ASSERT_TRUE(ui::CreateControl(*holder, ui::ControlKind::Static, 7101, "new", ui::Rect{0, 0, 60, 20}));
  EXPECT_EQ(ui::Control(&*holder, 7101).GetText(), "new");
}

}  // namespace
