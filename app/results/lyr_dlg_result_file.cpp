#include "app/results/lyr_dlg_result_file.h"

#include <algorithm>
#include <functional>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/results/result_analysis_file.h"
#include "platform/res/resource_store.h"
#include "platform/ui/common_dialogs.h"

namespace {

// A memo text cut to its 60 characters (a whole character is never split).
std::string Bounded(const std::string& text) {
  std::size_t chars = 0, i = 0;
  while (i < text.size() && chars < kResultMemoChars) {
    const auto c = static_cast<unsigned char>(text[i]);
    i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++chars;
  }
  return text.substr(0, std::min(i, text.size()));
}

}  // namespace

LyrResultMemoPanel::LyrResultMemoPanel(int templateId, ui::Window* parent) : ui::Dialog(templateId, parent) {}

bool LyrResultMemoPanel::OnInitDialog() {
  if (TemplateId() != IDD_RESULT_FILE_OPEN)
    for (int k = 0; k < 5; ++k) Item(IDC_RF_MEMO1 + k).SetLimitText(kResultMemoChars);
  ShowMemos(initial);
  return true;
}

void LyrResultMemoPanel::ShowMemos(const std::array<std::string, 5>& memos) {
  for (int k = 0; k < 5; ++k) SetDlgItemText(IDC_RF_MEMO1 + k, memos[static_cast<std::size_t>(k)]);
}

std::array<std::string, 5> LyrResultMemoPanel::ReadMemos() const {
  std::array<std::string, 5> out;
  for (int k = 0; k < 5; ++k) out[static_cast<std::size_t>(k)] = Bounded(GetDlgItemText(IDC_RF_MEMO1 + k));
  return out;
}

LyrDlgResultFileOpenSave::LyrDlgResultFileOpenSave(bool open, std::string defaultExt, std::string fileName,
                                                   std::uint32_t flags, std::string filter, ui::Window* parent)
    : open_(open),
      defaultExt_(std::move(defaultExt)),
      fileName_(std::move(fileName)),
      filter_(std::move(filter)),
      flags_(flags),
      parent_(parent) {}

LyrDlgResultFileOpenSave::~LyrDlgResultFileOpenSave() = default;

void LyrDlgResultFileOpenSave::OnFileNameChange(const std::string& path) {
  if (!panel_) return;
  std::array<std::string, 5> memos;
  ResultFileMessageBoxes boxes;
  ReadRafMemos(path, boxes, &memos);
  panel_->ShowMemos(memos);
}

int LyrDlgResultFileOpenSave::DoModal() {
  panel_ = std::make_unique<LyrResultMemoPanel>(open_ ? IDD_RESULT_FILE_OPEN : IDD_RESULT_FILE_SAVE, parent_);
  if (!open_) panel_->initial = m_Memo;
  panel_->CreateModeless(parent_);
  ui::FileDialog dlg(open_, defaultExt_, fileName_, flags_, filter_, parent_);
  if (!folder_.empty()) dlg.SetInitialFolder(folder_);
  dlg.SetPreview(panel_.get(), [this](const std::string& p) {
    if (open_) OnFileNameChange(p);
  });
  const int result = dlg.DoModal();
  if (result == ui::IDOK) {
    path_ = dlg.GetPathName();
    OnFileNameOK();
  }
  panel_->DestroyWindow();
  panel_.reset();
  return result;
}

bool LyrDlgResultFileOpenSave::OnFileNameOK() {
  if (!open_ && panel_) m_Memo = panel_->ReadMemos();
  return false;
}

LyrResultRangePanel::LyrResultRangePanel(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : LyrResultMemoPanel(IDD_RESULT_FILE_RANGE, parent), doc_(doc) {}

LyrResultRangePanel::~LyrResultRangePanel() = default;

bool LyrResultRangePanel::OnInitDialog() {
  LyrResultMemoPanel::OnInitDialog();
  start_ = std::make_unique<LyrDlgTimePoint>(this);
  end_ = std::make_unique<LyrDlgTimePoint>(this);
  start_->CreatePanel(this, IDC_RF_START_FRAME);
  end_->CreatePanel(this, IDC_RF_END_FRAME);
  const int epochs = doc_ && EpochSeconds > 0 ? doc_->RecordSeconds / EpochSeconds : 0;
  const int last = std::max(epochs - 1, 0);
  for (LyrDlgTimePoint* p : {start_.get(), end_.get()}) {
    p->m_pDoc = doc_;
    p->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
    p->SetRange(0, last);
  }
  start_->SetCaption(res::LoadString(IDS_SD_START_CAPTION));
  end_->SetCaption(res::LoadString(IDS_SD_END_CAPTION));
  start_->SetEpoch(0);
  end_->SetEpoch(last);
  return true;
}

LyrDlgResultFileOpenSaveWithRange::LyrDlgResultFileOpenSaveWithRange(std::string defaultExt, std::string fileName,
                                                                     std::uint32_t flags, std::string filter,
                                                                     ui::Window* parent)
    : defaultExt_(std::move(defaultExt)),
      fileName_(std::move(fileName)),
      filter_(std::move(filter)),
      flags_(flags),
      parent_(parent) {}

LyrDlgResultFileOpenSaveWithRange::~LyrDlgResultFileOpenSaveWithRange() = default;

int LyrDlgResultFileOpenSaveWithRange::DoModal() {
  panel_ = std::make_unique<LyrResultRangePanel>(m_pDoc, parent_);
  panel_->initial = m_Memo;
  panel_->CreateModeless(parent_);
  if (onPanelReady) onPanelReady(*this);
  ui::FileDialog dlg(false, defaultExt_, fileName_, flags_, filter_, parent_);
  if (!folder_.empty()) dlg.SetInitialFolder(folder_);
  dlg.SetPreview(panel_.get(), nullptr);
  const int result = dlg.DoModal();
  if (result == ui::IDOK) {
    path_ = dlg.GetPathName();
    OnFileNameOK();
  }
  panel_->DestroyWindow();
  panel_.reset();
  return result;
}

bool LyrDlgResultFileOpenSaveWithRange::OnFileNameOK() {
  if (!panel_) return false;
  m_StartEpoch = panel_->StartPanel()->GetEpoch();
  m_EndEpoch = panel_->EndPanel()->GetEpoch();
  if (m_StartEpoch > m_EndEpoch) std::swap(m_StartEpoch, m_EndEpoch);
  m_Memo = panel_->ReadMemos();
  return false;
}
