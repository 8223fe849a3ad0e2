#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"

#include <algorithm>
#include <limits>
#include <string>

#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_mouse.h"
#include "app/raw/recognition_binding.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_cnfrm.h"
#include "app/settings/sdr_template_file.h"
#include "app/settings/sleep_disturbance_page_common.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {

constexpr int kTabResp = 0;
constexpr int kTabMove = 1;

std::string Replace(std::string text, std::string_view key, const std::string& value) {
  const std::size_t at = text.find(key);
  if (at != std::string::npos) text.replace(at, key.size(), value);
  return text;
}

template <std::size_t N>
bool SameValues(const std::array<double, N>& a, const std::array<double, N>& b) {
  return a == b;
}

// The modal measurement of a stretch marked on the raw page: the pick counts samples from the
// recording start, the confirmation reads the row's page data.
int RunMeasurement(const RawPreviewPick& pick) {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  CQLM2_AnalyzerDoc* doc = frame != nullptr ? frame->GetDocument() : nullptr;
  if (doc == nullptr || pick.row < 0 || pick.row >= LyrRecordInfo::kPageBufferCount || pick.channel < 0 ||
      pick.channel >= sdpage::ChannelCount(doc))
    return ui::IDCANCEL;
  const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(pick.channel)];
  const std::int64_t pageStart = (static_cast<std::int64_t>(doc->CurrentPage) + pick.row - kCurrentPageRow) * PageSeconds;
  const auto index = [&](std::int64_t sample) {
    const std::int64_t i = rawmouse::PageBufferSample(sample, pageStart, ch.rate, ch.startOffset);
    return static_cast<int>(std::clamp<std::int64_t>(i, 0, std::numeric_limits<int>::max()));
  };
  LyrRawDlgSleepDisturbanceCnfrm dlg(frame);
  dlg.m_pDoc = doc;
  dlg.m_PageBufferKind = static_cast<std::uint16_t>(pick.row);
  dlg.m_MarkedChannel = pick.channel;
  dlg.m_StartSample = index(std::min(pick.first, pick.last));
  dlg.m_EndSample = index(std::max(pick.first, pick.last));
  return dlg.DoModal();
}

}  // namespace

bool SameRecognitionSettings(const SleepDstrbParam& a, const SleepDstrbParam& b) {
  const auto sameResp = [](const SleepDstrbParam::Respiration& x, const SleepDstrbParam::Respiration& y) {
    return x.channel == y.channel && SameValues(x.values, y.values);
  };
  const auto samePeak = [](const SleepDstrbParam::PeakEvent& x, const SleepDstrbParam::PeakEvent& y) {
    return x.channel == y.channel && SameValues(x.values, y.values);
  };
  if (!sameResp(a.airFlow, b.airFlow) || !sameResp(a.chest, b.chest) || !sameResp(a.abdomen, b.abdomen)) return false;
  if (!samePeak(a.snore, b.snore) || a.spo2Channel != b.spo2Channel || a.cpapChannel != b.cpapChannel) return false;
  if (!samePeak(a.legLeft, b.legLeft) || !samePeak(a.legRight, b.legRight)) return false;
  if (a.plmShortestS != b.plmShortestS || a.plmLongestS != b.plmLongestS || a.lmLeastCount != b.lmLeastCount)
    return false;
  if (a.ecgChannel != b.ecgChannel || a.ecgPeakLevel != b.ecgPeakLevel || a.rWaveInvalidMs != b.rWaveInvalidMs ||
      a.ecgAmplitudeMax != b.ecgAmplitudeMax)
    return false;
  if (a.lfhfTimeS != b.lfhfTimeS || a.lfhfPointsIndex != b.lfhfPointsIndex || a.lfhfAveraging != b.lfhfAveraging ||
      a.lfhfWindow != b.lfhfWindow || a.lfhfUnit != b.lfhfUnit || !SameValues(a.lfhfBands, b.lfhfBands))
    return false;
  if (a.positionChannel != b.positionChannel || a.positionsInUse != b.positionsInUse) return false;
  for (std::size_t k = 0; k < a.positions.size(); ++k)
    if (a.positions[k].from != b.positions[k].from || a.positions[k].to != b.positions[k].to) return false;
  return samePeak(a.arousal, b.arousal) && a.arousalThreshold == b.arousalThreshold;
}

LyrRawDlgSleepDisturbanceParent::LyrRawDlgSleepDisturbanceParent(CQLM2_AnalyzerDoc* doc, int caller, ui::Window* parent)
    : ui::Dialog(IDD_SLEEP_DISTURBANCE_SETUP, parent), m_pDoc(doc), m_Caller(caller) {
  MapNotify(IDC_SD_TAB, ui::TCN_SELCHANGE, [this] { OnSelchangeTab(); });
  MapCommand(IDC_SD_PREVIEW, [this] { OnPreview(); });
}

LyrRawDlgSleepDisturbanceParent::~LyrRawDlgSleepDisturbanceParent() = default;

ui::Rect LyrRawDlgSleepDisturbanceParent::PageRect() const {
  const ui::Rect tab = Item(IDC_SD_TAB).GetRectInOwner();
  const ui::Rect client = GetClientRect();
  return ui::Rect{tab.left, tab.bottom + 5, std::max(tab.left, client.right - 5), std::max(tab.bottom + 5, client.bottom - 5)};
}

void LyrRawDlgSleepDisturbanceParent::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::Dialog::OnSize(sizeType, cx, cy);
  const ui::Rect r = PageRect();
  if (r.IsEmpty()) return;
  if (m_RespPage.IsWindow()) m_RespPage.MoveWindow(r);
  if (m_MovePage.IsWindow()) m_MovePage.MoveWindow(r);
}

bool LyrRawDlgSleepDisturbanceParent::OnInitDialog() {
  if (m_pDoc != nullptr) {
    OriginalParam = m_pDoc->Params.sleepDstrb;
    BackupParam = m_pDoc->Params.sleepDstrb;
  }
  m_Previewed = 0;
  ui::Control tab = Item(IDC_SD_TAB);
  tab.ResetContent();
  tab.InsertString(kTabResp, res::LoadString(IDS_SD_TAB_RESP));
  tab.InsertString(kTabMove, res::LoadString(IDS_SD_TAB_MOVE));
  m_RespPage.m_pDoc = m_pDoc;
  m_RespPage.m_FromScreening = m_Caller;
  m_RespPage.m_pParentDlg = this;
  m_MovePage.m_pDoc = m_pDoc;
  m_MovePage.m_FromScreening = m_Caller;
  m_MovePage.m_pParentDlg = this;
  m_RespPage.CreatePage(this, PageRect());
  m_MovePage.CreatePage(this, PageRect());
  tab.SetCurSel(kTabResp);
  ShowPage(kTabResp);
  return true;
}

void LyrRawDlgSleepDisturbanceParent::ShowPage(int index) {
  m_RespPage.ShowWindow(index == kTabResp ? ui::SW_SHOW : ui::SW_HIDE);
  m_MovePage.ShowWindow(index == kTabMove ? ui::SW_SHOW : ui::SW_HIDE);
}

void LyrRawDlgSleepDisturbanceParent::OnSelchangeTab() { ShowPage(Item(IDC_SD_TAB).GetCurSel() == kTabMove ? kTabMove : kTabResp); }

int LyrRawDlgSleepDisturbanceParent::EpochCount() const { return m_pDoc != nullptr ? m_pDoc->GetDivNum(EpochSeconds) : 0; }

bool LyrRawDlgSleepDisturbanceParent::CheckAll() {
  // A failing check shows its page, so that the edit it names can be seen.
  const auto on = [this](int tab, bool ok) {
    if (!ok) {
      Item(IDC_SD_TAB).SetCurSel(tab);
      ShowPage(tab);
    }
    return ok;
  };
  return on(kTabResp, m_RespPage.CheckAirflow() && m_RespPage.CheckRespC() && m_RespPage.CheckRespA() &&
                          m_RespPage.CheckSnore() && m_RespPage.CheckSpO2()) &&
         on(kTabMove, m_MovePage.CheckLMLeft() && m_MovePage.CheckLMRight() && m_MovePage.CheckPLM() &&
                          m_MovePage.CheckECG() && m_MovePage.CheckPosition() && m_MovePage.CheckArousal());
}

void LyrRawDlgSleepDisturbanceParent::SaveAll() {
  m_RespPage.SaveAirflow();
  m_RespPage.SaveRespC();
  m_RespPage.SaveRespA();
  m_RespPage.SaveSnore();
  m_RespPage.SaveSpO2();
  m_MovePage.SaveLMLeft();
  m_MovePage.SaveLMRight();
  m_MovePage.SavePLM();
  m_MovePage.SaveECG();
  m_MovePage.SavePosition();
  m_MovePage.SaveArousal();
}

void LyrRawDlgSleepDisturbanceParent::LoadAll() {
  m_RespPage.DisableForMenuContext();
  m_RespPage.LoadAll();
  m_MovePage.DisableForMenuContext();
  m_MovePage.LoadAll();
}

int LyrRawDlgSleepDisturbanceParent::IsSettingUnchanged() {
  SaveAll();
  if (m_pDoc == nullptr) return 1;
  return SameRecognitionSettings(m_pDoc->Params.sleepDstrb, OriginalParam) ? 1 : 0;
}

void LyrRawDlgSleepDisturbanceParent::ResetSnoreTable() {
  if (m_pDoc == nullptr) return;
  const int values = EpochCount() * LyrEpochParameter::GetRprsntNumSnore(EpochSeconds);
  m_pDoc->RecognitionTables.AllocateSnore(SleepDstrbChannelsOf(m_pDoc->Params.sleepDstrb), values);
}

void LyrRawDlgSleepDisturbanceParent::PutBackRepresentativeValues() {
  if (m_pDoc != nullptr) m_pDoc->EpochTables.RestoreRprsnt(previewRprsnt_);
}

void LyrRawDlgSleepDisturbanceParent::FreeKeptCopies() {
  if (m_pDoc == nullptr) return;
  SleepDstrbTables& t = m_pDoc->RecognitionTables;
  t.FreeArousalRecognizeCopy();
  t.FreeArousalPeakNumCopy();
  t.FreeECGRcgnzCopy();
  t.FreeECGLFHFCopy();
  t.FreePreviewCopies();
}

namespace {

// Recognition over the recording again, from the R peaks and arousal counters kept when the
// window opened.
void RunRecognitionAgain(CQLM2_AnalyzerDoc& doc, int epochs) {
  doc.SetNewRcgnzSleepDstrb(epochs);
  SleepDstrbTables& t = doc.RecognitionTables;
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(doc.Params.sleepDstrb);
  t.RestoreArousalPeakNum(ch, epochs * LyrEpochParameter::GetRprsntNumArousal(EpochSeconds));
  t.RestoreECGRcgnz(ch, epochs, EpochSeconds);
  t.RestoreECGLFHF(ch, epochs);
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->RunSleepDisturbanceRecognition(1);
}

}  // namespace

void LyrRawDlgSleepDisturbanceParent::OnOK() {
  // A failed check keeps the window open with everything it kept for Cancel.
  if (!CheckAll()) return;
  if (m_pDoc == nullptr) {
    EndDialog(ui::IDOK);
    return;
  }
  const int epochs = EpochCount();
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (m_Caller == 1) {
    if (IsSettingUnchanged() != 0) {
      SaveAll();
      PutBackRepresentativeValues();
      // A Preview left its own results in the tables: the settings' own come back.
      if (m_Previewed != 0) RunRecognitionAgain(*m_pDoc, epochs);
    } else {
      ui::MessageBeep(ui::MB_ICONQUESTION);
      if (ui::MessageBox(this, res::LoadString(IDS_SD_RESULT_INVALID), ui::MessageBoxCaption(),
                         ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) {
        // Refused: nothing of the edit is kept, and the Screening window takes nothing over.
        OnCancel();
        return;
      }
      SaveAll();
      PutBackRepresentativeValues();
      m_pDoc->ResetNewRepresentSleepDstrb();
      m_pDoc->SetNewRcgnzSleepDstrb(epochs);
      m_pDoc->LastScreenedEpoch = -1;
    }
    FreeKeptCopies();
    EndDialog(ui::IDOK);
    if (frame != nullptr) frame->RefreshAllViews(-1);
    return;
  }
  const bool unchanged = IsSettingUnchanged() != 0;
  SaveAll();
  PutBackRepresentativeValues();
  if (!unchanged || m_Previewed != 0) RunRecognitionAgain(*m_pDoc, epochs);
  FreeKeptCopies();
  EndDialog(ui::IDOK);
}

void LyrRawDlgSleepDisturbanceParent::OnCancel() {
  if (m_pDoc == nullptr) {
    EndDialog(ui::IDCANCEL);
    return;
  }
  if (m_MovePage.ThresholdDlg != nullptr) m_MovePage.CloseThresholdConfirm();
  KillTimer(kSdPreviewTimer);
  m_pDoc->Params.sleepDstrb = BackupParam;
  const int epochs = EpochCount();
  SleepDstrbTables& t = m_pDoc->RecognitionTables;
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(BackupParam);
  const int arousalValues = epochs * LyrEpochParameter::GetRprsntNumArousal(EpochSeconds);
  if (m_Previewed != 0) {
    // Only a Preview changed the tables: without one the recognised snore stays as it is.
    ResetSnoreTable();
    PutBackRepresentativeValues();
    m_pDoc->SetNewRcgnzSleepDstrb(epochs);
  } else if (t.HasArousalRecognizeCopy()) {
    t.RestoreArousalRecognize(ch, arousalValues);
  }
  t.FreeArousalRecognizeCopy();
  if (t.HasArousalPeakNumCopy()) t.RestoreArousalPeakNum(ch, arousalValues);
  t.FreeArousalPeakNumCopy();
  if (t.HasECGRcgnzCopy()) t.RestoreECGRcgnz(ch, epochs, EpochSeconds);
  t.FreeECGRcgnzCopy();
  if (t.HasECGLFHFCopy()) t.RestoreECGLFHF(ch, epochs);
  t.FreeECGLFHFCopy();
  if (m_Previewed != 0) {
    if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->RunSleepDisturbanceRecognition(1);
  }
  t.RestoreRespRcgnz();
  t.RestoreLMRcgnz();
  t.RestoreSnoreRcgnz();
  EndDialog(ui::IDCANCEL);
}

void LyrRawDlgSleepDisturbanceParent::OnPreview() {
  if (m_pDoc == nullptr) return;
  SleepDstrbTables& t = m_pDoc->RecognitionTables;
  // The tables as they were before the first Preview are the ones Cancel brings back.
  if (m_Previewed == 0) {
    t.SaveRespRcgnz();
    t.SaveLMRcgnz();
    t.SaveSnoreRcgnz();
    m_pDoc->EpochTables.SaveRprsnt(previewRprsnt_);
  }
  const int epochs = EpochCount();
  m_Previewed = 1;
  m_pDoc->ResetNewRepresentSleepDstrb();
  m_pDoc->SetNewRcgnzSleepDstrb(epochs);
  SaveAll();
  ResetSnoreTable();
  const SleepDstrbChannels ch = SleepDstrbChannelsOf(m_pDoc->Params.sleepDstrb);
  const int arousalValues = epochs * LyrEpochParameter::GetRprsntNumArousal(EpochSeconds);
  if (t.HasArousalRecognizeCopy()) t.RestoreArousalRecognize(ch, arousalValues);
  if (t.HasArousalPeakNumCopy()) t.RestoreArousalPeakNum(ch, arousalValues);
  if (t.HasECGRcgnzCopy()) t.RestoreECGRcgnz(ch, epochs, EpochSeconds);
  if (t.HasECGLFHFCopy()) t.RestoreECGLFHF(ch, epochs);
  m_pDoc->SetNewRcgnzSleepDstrb(epochs);
  const SleepDstrbParam& p = m_pDoc->Params.sleepDstrb;
  for (int c = 0; c < sdpage::ChannelCount(m_pDoc); ++c) {
    if (c == p.airFlow.channel || c == p.chest.channel || c == p.abdomen.channel || c == p.legLeft.channel ||
        c == p.legRight.channel || c == p.snore.channel)
      CalcPreviewRepresentValuesOfChannel(*m_pDoc, c);
  }
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) {
    frame->RunSleepDisturbanceRecognition(0);
    frame->RefreshAllViews(-1);
  }
  HideForPreview();
  SetTimer(kSdPreviewTimer, kSdPreviewMs);
}

void LyrRawDlgSleepDisturbanceParent::OnTimer(std::uint32_t) {
  KillTimer(kSdPreviewTimer);
  ShowAgain();
}

void LyrRawDlgSleepDisturbanceParent::HideForPreview() {
  ShowWindow(ui::SW_HIDE);
  m_Visible = 0;
}

void LyrRawDlgSleepDisturbanceParent::ShowAgain() {
  ShowWindow(ui::SW_SHOW);
  m_Visible = 1;
}

void LyrRawDlgSleepDisturbanceParent::StartPreviewPick() {
  RawPreviewMode = 1;
  RawPreview.sleepDisturbanceConfirmation = RunMeasurement;
  RawPreview.showRequester = [] {
    CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
    if (frame != nullptr && frame->SleepDisturbanceParentDlg != nullptr) frame->SleepDisturbanceParentDlg->ShowAgain();
  };
  HideForPreview();
}

// ---- Templates -------------------------------------------------------------------------------

void LyrRawDlgSleepDisturbanceParent::SaveTemplate() {
  ui::FileDialog dlg(false, "SDR", {}, ui::OFN_FILEMUSTEXIST | ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEMPLATE_FILTER), this);
  dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK || m_pDoc == nullptr) return;
  LastFolderPath = dlg.GetFolderPath();
  m_RespPage.SaveAirflow();
  m_RespPage.SaveRespC();
  m_RespPage.SaveRespA();
  m_RespPage.SaveSnore();
  m_MovePage.SaveLMLeft();
  m_MovePage.SaveLMRight();
  m_MovePage.SavePLM();
  m_MovePage.SaveECG();
  m_MovePage.SavePosition();
  m_MovePage.SaveArousal();
  const std::string path = dlg.GetPathName();
  if (WriteSdrTemplateFile(path, m_pDoc->Params.sleepDstrb) != SdrFileStatus::kOk) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(this, Replace(res::LoadString(IDS_SD_TEMPLATE_NOT_WRITTEN), "%s", path), ui::MessageBoxCaption(),
                   ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
}

void LyrRawDlgSleepDisturbanceParent::ReadTemplate() {
  ui::FileDialog dlg(true, "SDR", {}, ui::OFN_FILEMUSTEXIST | ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEMPLATE_FILTER), this);
  dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK || m_pDoc == nullptr) return;
  LastFolderPath = dlg.GetFolderPath();
  const std::string path = dlg.GetPathName();
  std::size_t size = 0;
  const SdrFileStatus status = ReadSdrTemplateFile(path, &m_pDoc->Params.sleepDstrb, &size);
  std::string text;
  switch (status) {
    case SdrFileStatus::kOk:
      LoadAll();
      return;
    case SdrFileStatus::kWrongVersion: text = res::LoadString(IDS_SD_VERSION_DIFFERENT); break;
    case SdrFileStatus::kCutShort:
      text = Replace(Replace(res::LoadString(IDS_SD_TEMPLATE_CUT_SHORT), "%d", std::to_string(size)), "%s", path);
      break;
    default: text = Replace(res::LoadString(IDS_SD_TEMPLATE_NOT_OPENED), "%s", path); break;
  }
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  ui::MessageBox(this, text, ui::MessageBoxCaption(), ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
