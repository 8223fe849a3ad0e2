#include "app/results/lyr_dlg_raw_data_output.h"

#include <algorithm>
#include <filesystem>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/results/raw_output_file.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {
constexpr std::uint32_t kStrFileNotSelected = 2253;
constexpr std::uint32_t kStrChannelNotSelected = 63471;
constexpr std::uint32_t kStrReplaceResult = 63482;
constexpr std::uint32_t kStrRawFileFilter = 63483;
constexpr std::uint32_t kStrOpenRecording = 63481;

int ChannelCount(const CQLM2_AnalyzerDoc* doc) {
  return doc != nullptr ? std::clamp<int>(doc->RecordInfo.channelCount, 0, 32) : 0;
}
}  // namespace

std::string RawOutputResultPath(const std::string& path) {
  std::filesystem::path p(path);
  p.replace_extension("RAF");
  return p.string();
}

LyrDlgRawDataOutput::LyrDlgRawDataOutput(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), m_pDoc(doc) {
  MapCommand(kPath, [this] { OnPath(); });
}

LyrDlgRawDataOutput::~LyrDlgRawDataOutput() {
  DestroyEpochRangePanels(start_.get(), end_.get());
}

bool LyrDlgRawDataOutput::OnInitDialog() {
  const std::int32_t last = CreateEpochRangePanels(*this, m_pDoc, kStartFrame, kEndFrame, &start_, &end_);
  start_->SetEpoch(0);
  end_->SetEpoch(last);

  EnableItem(kVideoCheck, m_VideoAvailable != 0);
  Item(kVideoCheck).Show(m_VideoAvailable != 0);
  m_ChannelSelected.fill(0);
  ui::Control list = Item(kChannelList);
  list.SetMultiSelect(true);
  list.ResetContent();
  for (int c = 0; c < ChannelCount(m_pDoc); ++c) list.AddString(m_pDoc->ChInfo[static_cast<std::size_t>(c)].name);
  m_Path.clear();
  SetDlgItemText(kPathText, m_Path);
  return true;
}

void LyrDlgRawDataOutput::OnPath() {
  ui::FileDialog dlg(false, "fyd", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT, res::LoadString(kStrRawFileFilter),
                     this);
  if (!LastFolderPath.empty()) dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return;
  // The open recording is never the target: it would be cut from itself.
  if (m_pDoc != nullptr && rawout::IsOpenRecording(*m_pDoc, dlg.GetPathName())) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrOpenRecording, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  m_Path = dlg.GetPathName();
  SetDlgItemText(kPathText, m_Path);
}

void LyrDlgRawDataOutput::OnOK() {
  if (m_Path.empty()) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrFileNotSelected, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    OnPath();
    return;
  }
  const std::vector<int> rows = Item(kChannelList).GetSelectedIndexes();
  if (rows.empty()) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrChannelNotSelected, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  m_ResultOutput = IsDlgButtonChecked(kResultCheck) != 0 ? 1 : 0;
  std::error_code ec;
  if (m_ResultOutput != 0 && std::filesystem::exists(RawOutputResultPath(m_Path), ec)) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    if (ui::MessageBoxId(kStrReplaceResult, ui::MB_YESNO | ui::MB_ICONEXCLAMATION | ui::MB_DEFBUTTON2) != ui::IDYES) {
      OnPath();
      return;
    }
  }
  m_VideoOutput = m_VideoAvailable != 0 && IsDlgButtonChecked(kVideoCheck) != 0 ? 1 : 0;
  m_ChannelSelected.fill(0);
  for (int row : rows)
    if (row >= 0 && row < 32) m_ChannelSelected[static_cast<std::size_t>(row)] = 1;
  m_StartEpoch = start_ ? start_->GetEpoch() : 0;
  m_EndEpoch = end_ ? end_->GetEpoch() : 0;
  if (m_StartEpoch > m_EndEpoch) std::swap(m_StartEpoch, m_EndEpoch);
  EndDialog(ui::IDOK);
}
