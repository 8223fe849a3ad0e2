// "Parameter output": the destination, the delimiter and the output of the report of the
// analysis settings, and the hidden view that prints it.
#include "app/results/lyr_dlg_parameter_output.h"

#include <cstring>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/text_sink.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/results/human_report_strings.h"
#include "app/results/lyr_dlg_report.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

sys::LocalTime (*LyrDlgParameterOutput::Now)() = &sys::GetLocalTime;

std::function<std::unique_ptr<draw::PrintJob>(const draw::PageSetup&, draw::PrintStatus*)>
    LyrParameterOutputDummyView::OpenJob = [](const draw::PageSetup& setup, draw::PrintStatus* status) {
      return draw::PrintJob::OpenPrinter({}, setup, status);
    };

// ---- The print view ---------------------------------------------------------------------------

std::unique_ptr<draw::PrintJob> LyrParameterOutputDummyView::OnPreparePrinting(draw::PrintStatus* status) {
  // Straight to the default printer, one page, no print dialog.
  draw::PageSetup setup;
  setup.documentName = "Parameter output";
  return OpenJob(setup, status);
}

void LyrParameterOutputDummyView::OnPrint(draw::Dc& dc, draw::Rect rect) {
  rect.left += 150;
  rect.top += 100;
  draw::LogFont lf;
  lf.height = 35;
  lf.weight = draw::FW_NORMAL;
  lf.pitchAndFamily = 0x31;  // fixed pitch, modern family
  const std::string face = res::CurrentLanguage() == res::Language::Japanese ? "ＭＳ ゴシック" : "MS Gothic";
  std::strncpy(lf.faceName.data(), face.c_str(), lf.faceName.size() - 1);
  const draw::Font font(lf);
  const draw::Font old = dc.SelectFont(font);
  const int step = std::max(dc.GetTextMetrics().height, 1);
  int y = rect.top;
  for (const std::string& line : lines_) {
    if (y + step > rect.bottom) break;  // one page
    dc.TextOut(rect.left, y, line);
    y += step;
  }
  dc.SelectFont(old);
}

bool LyrParameterOutputDummyView::OnFilePrint(draw::PrintStatus* status) {
  std::unique_ptr<draw::PrintJob> job = OnPreparePrinting(status);
  if (!job) return false;
  bool ok = job->StartPage() == draw::PrintStatus::Ok;
  if (ok) {
    OnPrint(job->GetDc(), job->PageRect());
    ok = job->EndPage() == draw::PrintStatus::Ok && job->EndDoc() == draw::PrintStatus::Ok;
  }
  if (!ok) {
    job->Abort();
    if (status != nullptr) *status = draw::PrintStatus::Failed;
  }
  return ok;
}

// ---- The dialog -------------------------------------------------------------------------------

LyrDlgParameterOutput::LyrDlgParameterOutput(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_PARAMETER_OUTPUT, parent), m_pDoc(doc) {
  MapCommand(kPath, [this] { OnPath(); });
  MapCommand(kComma, [] { LyrDlgReport::OnDelimiterComma(); });
  MapCommand(kTab, [] { LyrDlgReport::OnDelimiterTab(); });
  MapCommand(kFile, [this] { SetDestination(0); });
  MapCommand(kClipboard, [this] { SetDestination(1); });
  MapCommand(kPrint, [this] { SetDestination(3); });
}

bool LyrDlgParameterOutput::OnInitDialog() {
  CheckRadioButton(kFile, kPrint, m_Destination == 1 ? kClipboard : m_Destination == 3 ? kPrint : kFile);
  EnableItem(kPath, m_Destination == 0);
  CheckRadioButton(kComma, kTab, OutputDelimiterIsTab == 1 ? kTab : kComma);
  SetDlgItemText(kPathText, m_OutputPath.empty() ? std::string() : sys::FileNameOf(m_OutputPath));
  return true;
}

void LyrDlgParameterOutput::SetDestination(std::uint16_t destination) {
  m_Destination = destination;
  EnableItem(kPath, destination == 0);
}

void LyrDlgParameterOutput::OnPath() {
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), this);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  if (!LastFolderPath.empty()) dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return;
  m_OutputPath = dlg.GetPathName();
  SetDlgItemText(kPathText, sys::FileNameOf(m_OutputPath));
}

int LyrDlgParameterOutput::OutputParameter() {
  if (m_pDoc == nullptr) return 0;
  ui::WaitCursor wait;
  if (m_Destination == 3) {
    LyrParameterOutputDummyView view(paramout::PrintLines(*m_pDoc, Now()));
    draw::PrintStatus status = draw::PrintStatus::Ok;
    if (!view.OnFilePrint(&status) && status == draw::PrintStatus::NoPrinter) {
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      ui::MessageBoxId(kIdsNoPrinter, ui::MB_OK | ui::MB_ICONEXCLAMATION);
      return 1;
    }
    return status == draw::PrintStatus::Ok || status == draw::PrintStatus::NoPrinter ? 1 : 0;
  }
  const std::string text = paramout::DelimitedText(*m_pDoc);
  if (m_Destination == 1) return ui::SetClipboardText(text) ? 1 : 0;
  TextSink sink;
  if (!sink.Open(m_OutputPath) || !sink.Write(text) || !sink.Commit()) {
    sink.Abort();
    return 0;
  }
  return 1;
}

void LyrDlgParameterOutput::OnOK() {
  if (m_Destination == 0 && m_OutputPath.empty()) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kIdsFileNotSelected, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    OnPath();
    return;
  }
  if (OutputParameter() == 0) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kIdsFailureInSetParam, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  if (m_Destination == 3) return;
  ui::MessageBeep(ui::MB_ICONINFORMATION);
  ui::MessageBoxId(kIdsTextOutputComplete, ui::MB_OK | ui::MB_ICONINFORMATION);
}
