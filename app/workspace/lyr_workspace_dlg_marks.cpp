#include "app/workspace/lyr_workspace_dlg_marks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/mark_runs.h"
#include "app/workspace/workspace_dummy_view.h"
#include "app/workspace/workspace_settings.h"
#include "app/workspace/workspace_stage_strings.h"
#include "app/workspace/workspace_text_out.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {
LyrWorkspaceMarkView* MarkPaneView() {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  LyrWorkspaceDummyView* ws = frame != nullptr ? frame->WorkspaceView() : nullptr;
  return ws != nullptr ? ws->MarkView() : nullptr;
}

std::string Formatted(std::uint32_t id, const std::string& value) {
  const std::string format = res::LoadString(id);
  std::vector<char> text(format.size() + value.size() + 16);
  std::snprintf(text.data(), text.size(), format.c_str(), value.c_str());
  return text.data();
}
}  // namespace

// ---- The two outputs ----

LyrWorkspaceDlgMarkOutput::LyrWorkspaceDlgMarkOutput(int templateId, CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(templateId, parent), m_pDoc(doc) {
  MapCommand(kFile, [this] {
    OutputToClipboard = 0;
    EnableItem(kPath, true);
  });
  MapCommand(kClipboard, [this] {
    OutputToClipboard = 1;
    EnableItem(kPath, false);
  });
  MapCommand(kComma, [] { OutputDelimiterIsTab = 0; });
  MapCommand(kTab, [] { OutputDelimiterIsTab = 1; });
  MapCommand(kPath, [this] { OnPath(); });
  MapCommand(kOutput, [this] { OnOutput(); });
}

LyrWorkspaceDlgMarkOutput::~LyrWorkspaceDlgMarkOutput() {
  for (auto* p : {start_.get(), end_.get()})
    if (p != nullptr && p->IsWindow()) p->DestroyWindow();
}

bool LyrWorkspaceDlgMarkOutput::OnInitDialog() {
  const int epochs = m_pDoc != nullptr && EpochSeconds > 0 ? m_pDoc->GetDivNum(EpochSeconds) : 0;
  const int whole = m_pDoc != nullptr && EpochSeconds > 0 ? m_pDoc->RecordSeconds / EpochSeconds : 0;
  start_ = std::make_unique<LyrDlgTimePoint>(this);
  end_ = std::make_unique<LyrDlgTimePoint>(this);
  for (auto [panel, frame] : {std::pair{start_.get(), kStartFrame}, std::pair{end_.get(), kEndFrame}}) {
    panel->m_pDoc = m_pDoc;
    panel->CreatePanel(this, frame);
    panel->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
    panel->SetRange(0, std::max(epochs - 1, 0));
  }
  start_->SetCaption(res::LoadString(IDS_SD_START_CAPTION));
  end_->SetCaption(res::LoadString(IDS_SD_END_CAPTION));
  start_->SetEpoch(0);
  end_->SetEpoch(std::max(whole - 1, 0));
  const bool clipboard = OutputToClipboard == 1;
  CheckRadioButton(kFile, kClipboard, clipboard ? kClipboard : kFile);
  EnableItem(kPath, !clipboard);
  CheckRadioButton(kComma, kTab, OutputDelimiterIsTab == 1 ? kTab : kComma);

  ui::Control list = Item(kTypeList);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  list.InsertColumn(0, res::LoadString(IDS_MK_TYPE), 160);
  const LyrWorkspaceMarkView* pane = MarkPaneView();
  if (m_pDoc != nullptr) {
    int row = 0;
    for (int t = 0; t < kMarkTypeCount; ++t) {
      const MarkTypeParam::Item& item = m_pDoc->Params.markType.items[static_cast<std::size_t>(t)];
      if (item.triggerDetect != 1) continue;
      ++row;
      const int r = list.InsertItem(-1, std::to_string(row) + ": " + item.name);
      const bool listed = pane != nullptr ? pane->ShownFlags[static_cast<std::size_t>(t)] == 1 : item.show == 1;
      list.SetSelected(r, listed);
    }
  }
  m_ReplaceConfirmed = 0;
  m_Path.clear();
  SetDlgItemText(kPathText, m_Path);
  return true;
}

void LyrWorkspaceDlgMarkOutput::OnPath() {
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), this);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  if (!LastFolderPath.empty()) dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return;
  m_Path = dlg.GetPathName();
  m_ReplaceConfirmed = sys::FileExists(m_Path) ? 1 : 0;
  SetDlgItemText(kPathText, m_Path);
}

void LyrWorkspaceDlgMarkOutput::OnOutput() {
  const bool toFile = OutputToClipboard != 1;
  if (toFile && m_Path.empty()) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(IDS_WS_FILE_NOT_SELECTED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    OnPath();
    return;
  }
  if (toFile && sys::FileExists(m_Path) && m_ReplaceConfirmed == 0) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    if (ui::MessageBox(Formatted(IDS_MK_REPLACE, m_Path), ui::MB_OKCANCEL | ui::MB_ICONEXCLAMATION | ui::MB_DEFBUTTON2) !=
        ui::IDOK)
      return;
  }
  // The values are checked before the file is touched.
  if (!CheckValues()) return;
  WorkspaceTextOut out;
  if (m_pDoc == nullptr || !out.Open(toFile ? 0 : 1, m_Path)) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(IDS_WS_SAVE_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  int first = start_ ? start_->GetEpoch() : 0;
  int last = end_ ? end_->GetEpoch() : 0;
  if (first > last) std::swap(first, last);
  std::vector<int> types;
  const ui::Control list = Item(kTypeList);
  int row = 0;
  for (int t = 0; t < kMarkTypeCount; ++t) {
    if (m_pDoc->Params.markType.items[static_cast<std::size_t>(t)].triggerDetect != 1) continue;
    if (list.IsSelected(row++)) types.push_back(t);
  }
  bool ok = Write(out, first, last, types);
  if (!out.Finish()) ok = false;
  if (ok) {
    ui::MessageBeep(ui::MB_ICONINFORMATION);
    ui::MessageBoxId(IDS_WS_OUTPUT_DONE, ui::MB_OK | ui::MB_ICONINFORMATION);
  } else {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(IDS_WS_SAVE_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
}

bool LyrWorkspaceDlgMarkList::Write(WorkspaceTextOut& out, int startEpoch, int endEpoch,
                                    const std::vector<int>& types) {
  return WriteMarkList(*m_pDoc, out, startEpoch, endEpoch, types);
}

int LyrWorkspaceDlgMarkSumUp::RecordMinutes() const {
  const int seconds = m_pDoc != nullptr ? std::max(m_pDoc->RecordSeconds, 0) : 0;
  return (seconds + 59) / 60;
}

bool LyrWorkspaceDlgMarkSumUp::OnInitDialog() {
  LyrWorkspaceDlgMarkOutput::OnInitDialog();
  const int minutes = RecordMinutes();
  char label[128];
  const std::string most = minutes > 10080 ? res::LoadString(IDS_MK_WEEK) : std::to_string(minutes);
  std::snprintf(label, sizeof label, res::LoadString(IDS_MK_RANGE_LABEL).c_str(), "1", most.c_str());
  SetDlgItemText(kRangeLabel, label);
  SetDlgItemText(kDivision, std::to_string(std::min<long long>(MarkSumUpTimeDivision, minutes)));
  return true;
}

bool LyrWorkspaceDlgMarkSumUp::CheckValues() {
  const long long value = std::llabs(std::atoll(GetDlgItemText(kDivision).c_str()));
  if (value < 1 || value > RecordMinutes()) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(Formatted(IDS_WS_CONTRADICTION, res::LoadString(IDS_MK_TIME_DIVISION)),
                   ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  division_ = static_cast<int>(value);
  MarkSumUpTimeDivision = static_cast<std::uint32_t>(value);
  return true;
}

bool LyrWorkspaceDlgMarkSumUp::Write(WorkspaceTextOut& out, int startEpoch, int endEpoch,
                                     const std::vector<int>& types) {
  return WriteMarkSumUp(*m_pDoc, out, startEpoch, endEpoch, division_, types);
}

// ---- Mark types ----

LyrWorkspaceDlgMarkType::LyrWorkspaceDlgMarkType(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), m_pDoc(doc) {
  for (int t = 0; t < kMarkTypeCount; ++t) MapCommand(kColor + t, [this, t] { OnColor(t); });
  MapCommand(kPreview, [this] { ApplyMarkTypes(); });
}

bool LyrWorkspaceDlgMarkType::OnInitDialog() {
  if (m_pDoc == nullptr) return true;
  kept_ = m_pDoc->Params.markType.items;
  char text[128];
  for (int t = 0; t < kMarkTypeCount; ++t) {
    const MarkTypeParam::Item& item = m_pDoc->Params.markType.items[static_cast<std::size_t>(t)];
    const bool on = item.triggerDetect == 1;
    const bool channel = item.triggerChannel != -1;
    SetDlgItemText(kName + t, on ? item.name : std::string());
    EnableItem(kName + t, on);
    CheckDlgButton(kShow + t, item.show == 1 ? 1 : 0);
    EnableItem(kShow + t, on);
    EnableItem(kColor + t, on);
    if (channel && item.triggerChannel >= 0 && item.triggerChannel < 32) {
      std::snprintf(text, sizeof text, "%3d:%s", item.triggerChannel + 1,
                    m_pDoc->ChInfo[static_cast<std::size_t>(item.triggerChannel)].name.c_str());
      SetDlgItemText(kChannel + t, text);
    } else {
      SetDlgItemText(kChannel + t, res::LoadString(IDS_WS_CHANNEL_NONE));
    }
    EnableItem(kChannel + t, false);
    SetDlgItemText(kDirection + t, res::LoadString(item.direction == 0 ? IDS_WS_UP_DOWN : IDS_WS_DOWN_UP));
    EnableItem(kDirection + t, on);
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(item.triggerLevel));
    SetDlgItemText(kLevel + t, on ? std::string(text) : std::string());
    EnableItem(kLevel + t, on);
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(item.invalidTimeS));
    SetDlgItemText(kInvalid + t, on ? std::string(text) : std::string());
    EnableItem(kInvalid + t, on && channel);
    Item(kSwatch + t).SetOverlayPainter([this, t](draw::Dc& dc, const ui::Rect& client) {
      if (m_pDoc != nullptr)
        dc.FillSolidRect(client, m_pDoc->Params.markType.items[static_cast<std::size_t>(t)].colour);
    });
  }
  return true;
}

void LyrWorkspaceDlgMarkType::OnColor(int type) {
  if (m_pDoc == nullptr) return;
  std::uint32_t colour = m_pDoc->Params.markType.items[static_cast<std::size_t>(type)].colour;
  if (ui::ChooseColor(this, colour) != ui::IDOK) return;
  m_pDoc->Params.markType.items[static_cast<std::size_t>(type)].colour = colour;
  for (int t = 0; t < kMarkTypeCount; ++t) Item(kSwatch + t).Invalidate();
}

void LyrWorkspaceDlgMarkType::AfterChange() {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  LyrWorkspaceMarkView* pane = MarkPaneView();
  if (m_pDoc != nullptr) BuildMarkRuns(m_pDoc->Marks, m_pDoc->Params.markType);
  if (frame != nullptr) frame->RedrawRawFrames(-1);
  if (pane == nullptr) return;
  pane->UpdateMarkTypeFlags();
  pane->FillMarkTypeList();
  const bool seen = frame != nullptr && (frame->WorkspaceTabs.CurrentPane == 11 ||
                                         frame->WorkspaceTabs.MarkWindowDocked == 0 || WorkspaceWindowDockState == 0);
  if (seen) {
    pane->MarkForRefill();
    pane->UpdateMarkList();
  }
}

int LyrWorkspaceDlgMarkType::ApplyMarkTypes() {
  if (m_pDoc == nullptr) return 0;
  for (int t = 0; t < kMarkTypeCount; ++t) {
    MarkTypeParam::Item& item = m_pDoc->Params.markType.items[static_cast<std::size_t>(t)];
    if (item.triggerDetect != 1) continue;
    std::string name = GetDlgItemText(kName + t);
    if (name.size() > 29) name.resize(29);
    item.name = name;
    item.show = IsDlgButtonChecked(kShow + t) != 0 ? 1 : 0;
    if (item.triggerChannel == -1) continue;
    const std::string typed = GetDlgItemText(kInvalid + t);
    char what[64];
    std::snprintf(what, sizeof what, res::LoadString(IDS_WS_MARK_INVALID_TIME).c_str(), t + 1);
    const bool empty = typed.find_first_not_of(" \t") == std::string::npos;
    const double value = empty ? 0.0 : std::atof(typed.c_str());
    if (empty || value < 0.0) {
      ui::MessageBox(res::LoadString(IDS_WS_MARK_AUTO) + Formatted(empty ? IDS_WS_NOT_SPECIFIED : IDS_WS_PLUS_VALUE, what),
                     ui::MB_OK | ui::MB_ICONEXCLAMATION);
      Item(kInvalid + t).SetFocus();
      return 0;
    }
    item.invalidTimeS = static_cast<float>(value);
  }
  AfterChange();
  return 1;
}

void LyrWorkspaceDlgMarkType::OnOK() {
  if (ApplyMarkTypes() == 0) return;
  if (ResultModifiedState == 1) ResultModifiedState = 2;
  EndDialog(ui::IDOK);
}

void LyrWorkspaceDlgMarkType::OnCancel() {
  if (m_pDoc != nullptr) m_pDoc->Params.markType.items = kept_;
  AfterChange();
  EndDialog(ui::IDCANCEL);
}

// ---- The workspace frame's part ----

void LyrWorkspaceFrame::OpenMarkTypeDlg() {
  CloseMarkTypeDlg();
  markTypeDlg_ = std::make_unique<LyrWorkspaceDlgMarkType>(m_pDoc, this);
  markTypeDlg_->SetCloseCallback([this](int) { CloseMarkTypeDlg(); });
  if (!markTypeDlg_->CreateModeless(this)) markTypeDlg_.reset();
}

void LyrWorkspaceFrame::CloseMarkTypeDlg() {
  // Destroyed after the message that ended it has been handled.
  LyrWorkspaceDlgMarkType* dlg = markTypeDlg_.release();
  if (dlg == nullptr) return;
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}
