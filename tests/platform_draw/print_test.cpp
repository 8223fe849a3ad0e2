// Print jobs: PDF files with pages, preview page images, printer device capabilities.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "platform/draw/print.h"

using namespace draw;

namespace {

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

int CountOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

}  // namespace

TEST(PrintJob, PdfFileHasTheDrawnPagesAndA4Capabilities) {
  const auto path = std::filesystem::temp_directory_path() / ("qlm_draw_print_test_" + std::to_string(::getpid()) + ".pdf");
  std::filesystem::remove(path);
  PageSetup setup;  // A4 portrait, 600 dpi
  PrintStatus status = PrintStatus::Failed;
  auto job = PrintJob::OpenPdf(path.string(), setup, &status);
  ASSERT_TRUE(job);
  EXPECT_EQ(status, PrintStatus::Ok);
  Dc& dc = job->GetDc();
  EXPECT_TRUE(dc.IsPrinting());
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
  EXPECT_NEAR(dc.GetDeviceCaps(HORZSIZE), 210, 1);
  EXPECT_NEAR(dc.GetDeviceCaps(VERTSIZE), 297, 1);
  EXPECT_NEAR(dc.GetDeviceCaps(HORZRES), 4961, 5);  // 210 mm x 600 / 25.4, paper sizes go through points
  EXPECT_EQ(job->PageRect().right, dc.GetDeviceCaps(HORZRES));
  for (int page = 0; page < 2; ++page) {
    EXPECT_EQ(job->StartPage(), PrintStatus::Ok);
    dc.Rectangle(100, 100, 2000, 1500);
    dc.TextOut(120, 120, "File name : night1");
    EXPECT_EQ(job->EndPage(), PrintStatus::Ok);
  }
  EXPECT_EQ(job->PageCount(), 2);
  EXPECT_EQ(job->EndDoc(), PrintStatus::Ok);
  job.reset();
  const std::string pdf = ReadAll(path);
  ASSERT_GT(pdf.size(), 100u);
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_EQ(CountOf(pdf, "/Type /Page\n") + CountOf(pdf, "/Type /Page\r") + CountOf(pdf, "/Type /Page "), 2)
      << "two pages";
  std::filesystem::remove(path);
}

TEST(PrintJob, UnwritablePdfPathIsReportedAndAbortRemovesTheFile) {
  PrintStatus status = PrintStatus::Ok;
  EXPECT_FALSE(PrintJob::OpenPdf("/nonexistent-folder/x/out.pdf", PageSetup{}, &status));
  EXPECT_EQ(status, PrintStatus::CannotOpen);

  const auto path = std::filesystem::temp_directory_path() / ("qlm_draw_abort_test_" + std::to_string(::getpid()) + ".pdf");
  auto job = PrintJob::OpenPdf(path.string(), PageSetup{}, &status);
  ASSERT_TRUE(job);
  job->StartPage();
  job->Abort();
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(job->StartPage(), PrintStatus::NotStarted);
}

TEST(PrintJob, PreviewRendersPrinterUnitsScaledIntoPageImages) {
  PageSetup setup;
  setup.landscape = true;
  setup.dpi = 600;
  auto job = PrintJob::OpenPreview(setup, 60);  // one preview pixel per 10 printer units
  ASSERT_TRUE(job);
  Dc& dc = job->GetDc();
  EXPECT_TRUE(dc.IsPrinting());
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
  EXPECT_GT(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)) << "landscape";
  job->StartPage();
  dc.FillSolidRect(Rect{1000, 500, 2000, 1000}, Rgb(255, 0, 0));
  job->EndPage();
  job->StartPage();
  dc.FillSolidRect(Rect{0, 0, 100, 100}, Rgb(0, 0, 255));
  job->EndPage();
  job->EndDoc();
  ASSERT_EQ(job->PageCount(), 2);
  const Image* first = job->PreviewPage(0);
  ASSERT_NE(first, nullptr);
  EXPECT_NEAR(first->Width(), 297 * 60 / 25.4, 2);
  EXPECT_EQ(first->GetPixel(150, 75), Rgb(255, 0, 0));
  EXPECT_EQ(first->GetPixel(99, 75), Rgb(255, 255, 255));
  EXPECT_EQ(first->GetPixel(5, 5), Rgb(255, 255, 255)) << "page 2 drawing stays on page 2";
  EXPECT_EQ(job->PreviewPage(1)->GetPixel(5, 5), Rgb(0, 0, 255));
  EXPECT_EQ(job->PreviewPage(2), nullptr);
}
