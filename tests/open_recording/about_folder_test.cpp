// The About window's title pane and the shared folder picker.
#include "app/frame/cfolder_browse_dlg.h"
#include "app/frame/lyr_about.h"
#include "app/frame/navigation_state.h"
#include "open_fixture.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"

namespace {

TEST_F(OpenTest, AboutPaneShowsTheTitleAndAnyReleaseClosesIt) {
  ui::EnsureToolkit();
  struct Case { const char* what; std::uint32_t message; };
  for (const Case& c : {Case{"left button", ui::WM_LBUTTONUP}, Case{"right button", ui::WM_RBUTTONUP},
                        Case{"key", ui::WM_KEYUP}}) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(ShowAboutWindow());
    EXPECT_FALSE(ShowAboutWindow()) << "one About window at a time";
    LyrAbout* about = OpenAboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->IsKeptOpen(), 1u);
    EXPECT_EQ(about->CloseDelayMs(), 2500u);
    LyrTitleView* view = about->TitleView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetClientRect().Width(), kAboutWidth);
    // The picture fills the pane: no pixel of the plain background is left at its corner.
    const draw::Image plain = testhooks::RenderWindow(*view);
    ASSERT_FALSE(plain.IsNull());
    EXPECT_NE(plain.GetPixel(2, 2), draw::Rgb(255, 255, 255));
    // "Evaluation" is drawn once the learning-sample mode is used.
    LearningSampleMode = 2;
    const draw::Image marked = testhooks::RenderWindow(*view);
    LearningSampleMode = 0;
    int differing = 0;
    for (int y = 0; y < plain.Height(); ++y)
      for (int x = 0; x < plain.Width(); ++x) differing += plain.GetPixel(x, y) != marked.GetPixel(x, y);
    EXPECT_GT(differing, 0);
    view->SendMessage(c.message, 0, 0);
    EXPECT_EQ(OpenAboutWindow(), nullptr);
  }
  // A window not kept open ignores clicks.
  LyrAbout loose;
  ASSERT_TRUE(loose.Create(nullptr, 0, ui::Rect{0, 0, kAboutWidth, kAboutHeight}, false));
  loose.TitleView()->SendMessage(ui::WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(loose.IsWindow());
  loose.DestroyWindow();
}

TEST_F(OpenTest, FolderPickerKeepsOnlyAConfirmedChoice) {
  CFolderBrowseDlg picker("", dir_.Path("missing"));
  picker.SetTitle("Select folder of raw data.");
  testhooks::AnswerFolderDialog(ui::IDOK, "/data/nights");
  EXPECT_EQ(picker.DoModal(nullptr, 1), 1);
  EXPECT_EQ(picker.GetFolderPath(), "/data/nights");
  testhooks::AnswerFolderDialog(ui::IDCANCEL);
  EXPECT_EQ(picker.DoModal(nullptr, 1), 0);
  EXPECT_TRUE(picker.GetFolderPath().empty()) << "a cancelled choice leaves the result cleared";
}

}  // namespace
