// The framework's print command: the print dialog (scripted here) picks a PDF file or a
// printer, the view prints each page of the range into it, and a cancel prints nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/print_dialog.h"

namespace {

namespace fs = std::filesystem;

// Prints a black block over the left half of each page and logs the calls.
struct PrintingView : ui::View {
  int pages = 1;
  std::vector<std::string> log;
  ui::Rect rect;
  bool OnPreparePrinting(PrintInfo& info) override {
    info.maxPage = pages;
    info.settings->page.landscape = true;
    log.push_back("prepare");
    return true;
  }
  void OnBeginPrinting(draw::Dc&, PrintInfo&) override { log.push_back("begin"); }
  void OnPrint(draw::Dc& dc, PrintInfo& info) override {
    rect = info.drawRect;
    log.push_back("page" + std::to_string(info.currentPage));
    dc.FillSolidRect(draw::Rect{rect.left, rect.top, rect.left + rect.Width() / 2, rect.bottom}, draw::Rgb(0, 0, 0));
  }
  void OnEndPrinting(draw::Dc&, PrintInfo&) override { log.push_back("end"); }
};

struct PrintFixture : ::testing::Test {
  ui::App app;
  ui::Document doc;
  ui::Frame frame;
  PrintingView* view = nullptr;
  testhooks::TempProgramFolder folder;

  void SetUp() override {
    testhooks::Reset();
    ui::CreateContext ctx;
    ctx.currentDocument = &doc;
    ASSERT_TRUE(frame.LoadFrame(0, &ctx));
    auto v = std::make_unique<PrintingView>();
    ASSERT_TRUE(v->CreateView(&frame, ui::AFX_IDW_PANE_FIRST, ctx));
    view = frame.Adopt(std::move(v));
  }
  std::string Pdf() const { return folder.Path() + "/out.pdf"; }
  // The pages of a PDF file as rendered by pdftoppm at 20 dpi.
  std::vector<std::string> Render(const std::string& pdf) const {
    const std::string prefix = folder.Path() + "/page";
    const std::string cmd = "pdftoppm -r 20 -png '" + pdf + "' '" + prefix + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::vector<std::string> pages;
    for (const auto& e : fs::directory_iterator(folder.Path()))
      if (e.path().filename().string().rfind("page", 0) == 0) pages.push_back(e.path().string());
    std::sort(pages.begin(), pages.end());
    return pages;
  }
};

TEST_F(PrintFixture, PrintsEveryPageIntoThePdfFileChosen) {
  view->pages = 2;
  testhooks::AnswerPrintDialog(ui::IDOK, Pdf());
  EXPECT_EQ(view->OnFilePrint(), draw::PrintStatus::Ok);
  EXPECT_EQ(view->log, (std::vector<std::string>{"prepare", "begin", "page1", "page2", "end"}));
  EXPECT_GT(view->rect.Width(), view->rect.Height()) << "landscape asked by the view";
  const std::vector<std::string> pages = Render(Pdf());
  ASSERT_EQ(pages.size(), 2u);
  draw::Image img = draw::Image::Load(pages[0]);
  ASSERT_FALSE(img.IsNull());
  // Left half black, right half white paper.
  EXPECT_EQ(img.GetPixel(img.Width() / 4, img.Height() / 2) & 0xFFFFFF, 0u);
  EXPECT_EQ(img.GetPixel(img.Width() * 3 / 4, img.Height() / 2) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(testhooks::UnansweredCount(), 0);
}

TEST_F(PrintFixture, CancelOrNoAnswerPrintsNothing) {
  testhooks::AnswerPrintDialog(ui::IDCANCEL);
  EXPECT_EQ(view->OnFilePrint(), draw::PrintStatus::NotStarted);
  EXPECT_EQ(view->OnFilePrint(), draw::PrintStatus::NotStarted);
  EXPECT_EQ(testhooks::UnansweredCount(), 1);
  EXPECT_EQ(view->log, (std::vector<std::string>{"prepare", "prepare"}));
  EXPECT_FALSE(fs::exists(Pdf()));
}

TEST_F(PrintFixture, AnUnknownPrinterOrFolderIsAFailureNotAPrint) {
  testhooks::AnswerPrintDialog(ui::IDOK, {}, "no such printer here");
  EXPECT_EQ(view->OnFilePrint(), draw::PrintStatus::NoPrinter);
  testhooks::AnswerPrintDialog(ui::IDOK, folder.Path() + "/missing/folder/out.pdf");
  EXPECT_EQ(view->OnFilePrint(), draw::PrintStatus::CannotOpen);
  EXPECT_EQ(view->log, (std::vector<std::string>{"prepare", "prepare"}));
}

TEST(PrintDialog, RangeStaysWithinThePages) {
  ui::PrintDialog dialog;
  dialog.SetPageRange(0, -3);
  EXPECT_EQ(dialog.Settings().fromPage, 1);
  EXPECT_EQ(dialog.Settings().toPage, 1);
  dialog.SetPageRange(2, 5);
  EXPECT_EQ(dialog.Settings().fromPage, 2);
  EXPECT_EQ(dialog.Settings().toPage, 5);
}

}  // namespace
