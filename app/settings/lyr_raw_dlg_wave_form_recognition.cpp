#include "app/settings/lyr_raw_dlg_wave_form_recognition.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/lyr_raw_dlg_band_name.h"
#include "app/raw/lyr_raw_dlg_confirmation_wfr.h"
#include "app/raw/raw_mouse.h"
#include "app/settings/wave_form_template.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

using W = WaveFormRecognitionParam;
using Ids = LyrRawDlgWaveFormRecognition::RowIds;

constexpr Ids kRows[] = {
    {1, 1020, 1277, 1218, 1052, 1240, {1004, 1011, 1016, 1026, 1030, 1112}, 6, 1208, 1210, 1205, 0},
    {2, 1034, 1281, 1224, 1057, 1244, {1040, 1044, 1048, 1060, 1064, 1176}, 6, 1209, 1211, 1206, 0},
    {3, 1074, 1283, 1226, 1069, 1246, {1080, 1087, 1093, 1095, 1097, 1177}, 6, 1212, 1228, 1207, 0},
    {4, 1100, 1285, 1230, 1099, 1248, {1102, 1104, 1106, 1108, 1110, 1179}, 6, 1213, 1262, 1270, 0},
    {5, 1117, 1292, 1233, 1114, 1250, {1120, 1123, 1127, 1129, 1132, 1180}, 6, 1214, 1264, 1272, 1164},
    {6, 1137, 1294, 1235, 1135, 1252, {1139, 1142, 1144, 1146, 1148, 1182}, 6, 1215, 1266, 1273, 1165},
    {7, 1152, 1296, 1237, 1150, 1254, {1154, 1156, 1158, 1160, 1162, 1184}, 6, 1216, 1268, 1274, 1166},
    {8, 1168, 1298, 1239, 1167, 1256, {1169, 1170, 1171, 1172, 1173, 0}, 5, 1217, 0, 0, 0},
    {9, 1188, 1300, 1241, 1186, 1258, {1190, 1192, 1193, 1195, 0, 0}, 4, 1220, 0, 0, 0},
    {10, 1197, 1302, 1242, 1196, 1260, {1198, 1199, 1200, 1201, 0, 0}, 4, 1222, 0, 0, 0},
};

// Texts of this window (string table ids).
constexpr std::uint32_t kIdsNone = 2064;
constexpr std::uint32_t kIdsVersionDiffers = 2278;
constexpr std::uint32_t kIdsResultsReset = 2348;
constexpr std::uint32_t kIdsAnimalTemplate = 2535;
constexpr std::uint32_t kIdsTemplateFilter = 63201;
constexpr std::uint32_t kIdsTemplateNotOpened = 63202;
constexpr std::uint32_t kIdsTemplateNotWritten = 63203;

// Controls that only the human settings show: the established bands, the K-complex and eye
// movement rows with their headings, and the precision.
constexpr int kEstablishedGroup = 9193;
constexpr int kPrecisionGroup = 9195;
constexpr int kHumanHeadingFirst = 9197;
constexpr int kHumanHeadingLast = 9218;

bool IsHumanOnly(int waveType) { return waveType <= 4 || waveType >= 8; }

// The band record of wave types 1 .. 7 (record order differs from the wave-type order).
W::Band BandOf(int waveType) {
  switch (waveType) {
    case 1: return W::kDelta;
    case 2: return W::kTheta;
    case 3: return W::kAlpha;
    case 4: return W::kSpindle;
    case 5: return W::kBand1;
    case 6: return W::kBand2;
    default: return W::kBand3;
  }
}

std::string Format(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

std::string FormatLong(long v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%ld", v);
  return buf;
}

// Edits hold C decimals: text that is not a number is 0.
double ReadDouble(const std::string& text) { return std::atof(text.c_str()); }
long ReadLong(const std::string& text) { return std::atol(text.c_str()); }

CMainFrame* Frame() { return CQLM2_AnalyzerDoc::MainFrame(); }

// The template's file dialog (open or save); the chosen path, or empty when not chosen.
std::string ChooseTemplatePath(bool open, ui::Window* parent) {
  ui::FileDialog dlg(open, "wtf", {}, ui::OFN_FILEMUSTEXIST | ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(kIdsTemplateFilter), parent);
  dlg.SetInitialFolder(LastFolderPath);
  return dlg.DoModal() == ui::IDOK ? dlg.GetPathName() : std::string{};
}

// A message of the string table naming the file.
void ShowFileMessage(std::uint32_t id, const std::string& path) {
  char text[1024];
  std::snprintf(text, sizeof text, res::LoadString(id).c_str(), path.c_str());
  ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

}  // namespace

const LyrRawDlgWaveFormRecognition::RowIds* LyrRawDlgWaveFormRecognition::Row(int waveType) {
  if (waveType < 1 || waveType > 10) return nullptr;
  return &kRows[waveType - 1];
}

LyrRawDlgWaveFormRecognition* OpenWaveFormRecognitionDialog() {
  CMainFrame* f = Frame();
  return f != nullptr ? f->WaveFormRecognitionDlg : nullptr;
}

LyrRawDlgWaveFormRecognition::LyrRawDlgWaveFormRecognition(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_WAVEFORM_RECOGNITION, parent), m_pDoc(doc) {}

WaveFormRecognitionParam* LyrRawDlgWaveFormRecognition::Block() const {
  return m_pDoc != nullptr ? &m_pDoc->Params.waveForm : nullptr;
}

int LyrRawDlgWaveFormRecognition::ChannelCount() const {
  return m_pDoc != nullptr ? std::clamp(m_pDoc->RecordInfo.channelCount, 0, static_cast<int>(m_pDoc->ChInfo.size()))
                           : 0;
}

std::int32_t* LyrRawDlgWaveFormRecognition::ChannelField(int waveType) const {
  W* b = Block();
  if (b == nullptr) return nullptr;
  if (waveType >= 1 && waveType <= 7) return &b->bands[static_cast<std::size_t>(BandOf(waveType))].channel;
  if (waveType == 8) return &b->kComplex.channel;
  if (waveType == 9) return &b->eogRight.channel;
  if (waveType == 10) return &b->eogLeft.channel;
  return &b->emgChannel;
}

// ---- Set-up and end --------------------------------------------------------------------------

bool LyrRawDlgWaveFormRecognition::OnInitDialog() {
  for (const Ids& r : kRows) {
    const int type = r.waveType;
    MapNotify(static_cast<std::uint32_t>(r.channel), ui::CBN_SELCHANGE, [this, type] { ReadChannelSelection(type); });
    MapCommand(static_cast<std::uint32_t>(r.colour), [this, type] { PickRowColor(type); });
    MapCommand(static_cast<std::uint32_t>(r.cursor), [this, type] { OnBCursor(type); });
    if (r.emgCancel != 0) {
      MapCommand(static_cast<std::uint32_t>(r.emgCancel), [this, type] {
        BandWaveRecord& band = Block()->bands[static_cast<std::size_t>(BandOf(type))];
        band.emgCancel = IsDlgButtonChecked(Row(type)->emgCancel) != 0 ? 1 : 0;
        UpdateWaveRow(type);
      });
    }
    if (r.nameButton != 0) MapCommand(static_cast<std::uint32_t>(r.nameButton), [this, type] { EditBandName(type - 5); });
    Item(r.swatch).SetOverlayPainter([this, type](draw::Dc& dc, const ui::Rect& client) {
      const W* b = Block();
      if (b == nullptr) return;
      std::uint32_t colour = 0;
      if (type <= 7) colour = b->bands[static_cast<std::size_t>(BandOf(type))].colour;
      else if (type == 8) colour = b->kComplex.colour;
      else colour = (type == 9 ? b->eogRight : b->eogLeft).colour;
      dc.FillSolidRect(client, colour);
    });
  }
  MapNotify(kEmgChannel, ui::CBN_SELCHANGE, [this] { ReadChannelSelection(0); });
  MapCommand(kPreview, [this] { OnBPreview(); });
  MapCommand(kHigh, [this] {
    if (W* b = Block()) b->precision = 0;
  });
  MapCommand(kNormal, [this] {
    if (W* b = Block()) b->precision = 1;
  });
  MapCommand(kLoad, [this] { OnBTemplateRead(); });
  MapCommand(kSave, [this] { OnBTemplateSave(); });

  if (W* b = Block()) m_SavedParam = *b;
  if (AnimalOnlyMode != 0) {
    ClearHumanOnlyChannels();
    ShowHumanOnlyControls(false);
  }
  UpdateAllRows();
  PreviewKind = 0;
  m_bShown = 1;
  return true;
}

void LyrRawDlgWaveFormRecognition::OnOK() {
  W* b = Block();
  if (b == nullptr || m_pDoc == nullptr) {
    EndDialog(ui::IDOK);
    return;
  }
  const bool results = ResultModifiedState == 2 || m_pDoc->LastScreenedEpoch != -1;
  bool unchanged = true;
  if (results) {
    unchanged = IsScreeningConditionUnchanged() == 1;
    if (!unchanged) {
      ui::MessageBeep(ui::MB_ICONQUESTION);
      if (ui::MessageBoxId(kIdsResultsReset, ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) {
        OnCancel();
        return;
      }
      const int ok = m_pDoc->Init4ChangeEpochTime(m_pDoc->GetDivNum(EpochSeconds), EpochSeconds,
                                                  m_pDoc->RecordInfo.channelCount, 1);
      m_pDoc->LastScreenedEpoch = -1;
      ResultModifiedState = 0;
      if (ok == 0) {
        OnCancel();
        return;
      }
    }
  }
  SaveAllRows();
  if (!(results && unchanged)) {
    m_pDoc->LastScreenedEpoch = -1;
    ResultModifiedState = 0;
  }
  KillTimer(kPreviewTimer);
  EndDialog(ui::IDOK);
}

void LyrRawDlgWaveFormRecognition::OnCancel() {
  if (W* b = Block()) *b = m_SavedParam;
  KillTimer(kPreviewTimer);
  EndDialog(ui::IDCANCEL);
}

void LyrRawDlgWaveFormRecognition::OnTimer(std::uint32_t id) {
  if (id != kPreviewTimer) return;
  KillTimer(kPreviewTimer);
  ShowSettings(true);
}

void LyrRawDlgWaveFormRecognition::ShowSettings(bool show) {
  ShowWindow(show ? ui::SW_SHOW : ui::SW_HIDE);
  m_bShown = show ? 1 : 0;
}

void LyrRawDlgWaveFormRecognition::RefreshPages() {
  if (CMainFrame* f = Frame()) f->RefreshAllViews(-1);
}

// ---- Rows ------------------------------------------------------------------------------------

void LyrRawDlgWaveFormRecognition::FillChannelCombo(int comboId, std::int32_t channel) {
  ui::Control combo = Item(comboId);
  combo.ResetContent();
  combo.AddString(res::LoadString(kIdsNone));
  const int count = ChannelCount();
  for (int i = 0; i < count; ++i) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3d:", i + 1);
    combo.AddString(std::string(buf) + m_pDoc->ChInfo[static_cast<std::size_t>(i)].name);
  }
  combo.SetCurSel(0);
  if (channel != -1) combo.SetCurSel(channel + 1);
}

void LyrRawDlgWaveFormRecognition::UpdateWaveRow(int waveType) {
  const Ids* r = Row(waveType);
  std::int32_t* channel = ChannelField(waveType);
  if (r == nullptr || channel == nullptr) return;
  W& b = *Block();
  if (*channel >= ChannelCount() || *channel < -1) *channel = -1;
  if (AnimalOnlyMode != 0 && IsHumanOnly(waveType)) *channel = -1;
  if (r->nameButton != 0) SetDlgItemText(r->nameButton, b.bands[static_cast<std::size_t>(BandOf(waveType))].name);
  FillChannelCombo(r->channel, *channel);

  std::uint16_t show = 0;
  std::uint16_t showPeak = 0;
  std::uint16_t emgCancel = 0;
  if (waveType <= 7) {
    const BandWaveRecord& w = b.bands[static_cast<std::size_t>(BandOf(waveType))];
    show = w.show;
    showPeak = w.showPeak;
    emgCancel = w.emgCancel;
    const double values[5] = {w.amplitudeMin, w.amplitudeMax, w.frequencyMinHz, w.frequencyMaxHz, w.peakDetectLevel};
    for (int i = 0; i < 5; ++i) SetDlgItemText(r->values[i], Format("%.3f", values[i]));
    SetDlgItemText(r->values[5], FormatLong(w.halfWaveCount));
    SetDlgItemText(r->emgLevel, Format("%.2f", w.emgCancelLevel));
  } else if (waveType == 8) {
    const KComplexRecord& k = b.kComplex;
    show = k.show;
    showPeak = k.showPeak;
    const double values[5] = {k.amplitudeMin, k.amplitudeMax, k.durationMinMs, k.durationMaxMs, k.peakDetectLevel};
    for (int i = 0; i < 5; ++i) SetDlgItemText(r->values[i], Format("%.3f", values[i]));
  } else {
    const EogRecord& e = waveType == 9 ? b.eogRight : b.eogLeft;
    show = e.show;
    showPeak = e.showPeak;
    const double values[4] = {e.amplitudeMin, e.detectAngle, e.durationMinMs, e.durationMaxMs};
    for (int i = 0; i < 4; ++i) SetDlgItemText(r->values[i], Format("%.3f", values[i]));
  }
  CheckDlgButton(r->show, show != 0 ? 1 : 0);
  CheckDlgButton(r->showPeak, showPeak != 0 ? 1 : 0);
  if (r->emgCancel != 0) CheckDlgButton(r->emgCancel, emgCancel != 0 ? 1 : 0);

  const bool on = *channel != -1;
  for (const int id : {r->colour, r->show, r->cursor, r->showPeak, r->emgCancel, r->emgLevel})
    if (id != 0) EnableItem(id, on);
  for (int i = 0; i < r->valueCount; ++i) EnableItem(r->values[i], on);
  if (r->emgLevel != 0 && emgCancel == 0) EnableItem(r->emgLevel, false);
  Item(r->swatch).Invalidate();
}

void LyrRawDlgWaveFormRecognition::UpdateEMG() {
  std::int32_t* channel = ChannelField(0);
  if (channel == nullptr) return;
  if (*channel >= ChannelCount() || *channel < -1) *channel = -1;
  FillChannelCombo(kEmgChannel, *channel);
}

void LyrRawDlgWaveFormRecognition::UpdatePrecision() {
  const W* b = Block();
  const bool high = b != nullptr && b->precision != 1 && AnimalOnlyMode == 0;
  CheckDlgButton(kHigh, high ? 1 : 0);
  CheckDlgButton(kNormal, high ? 0 : 1);
}

void LyrRawDlgWaveFormRecognition::UpdateAllRows() {
  if (Block() == nullptr) return;
  UpdatePrecision();
  for (int type = 1; type <= 10; ++type) UpdateWaveRow(type);
  UpdateEMG();
}

void LyrRawDlgWaveFormRecognition::SaveWaveRow(int waveType) {
  const Ids* r = Row(waveType);
  W* b = Block();
  if (r == nullptr || b == nullptr) return;
  const auto checked = [this](int id) -> std::uint16_t { return IsDlgButtonChecked(id) != 0 ? 1 : 0; };
  const auto value = [this, r](int i) { return ReadDouble(GetDlgItemText(r->values[i])); };
  if (waveType <= 7) {
    BandWaveRecord& w = b->bands[static_cast<std::size_t>(BandOf(waveType))];
    w.show = checked(r->show);
    w.amplitudeMin = value(0);
    w.amplitudeMax = value(1);
    w.frequencyMinHz = value(2);
    w.frequencyMaxHz = value(3);
    w.peakDetectLevel = value(4);
    w.halfWaveCount = static_cast<std::int32_t>(ReadLong(GetDlgItemText(r->values[5])));
    w.showPeak = checked(r->showPeak);
    w.emgCancel = checked(r->emgCancel);
    w.emgCancelLevel = ReadDouble(GetDlgItemText(r->emgLevel));
  } else if (waveType == 8) {
    KComplexRecord& k = b->kComplex;
    k.show = checked(r->show);
    k.amplitudeMin = value(0);
    k.amplitudeMax = value(1);
    k.durationMinMs = value(2);
    k.durationMaxMs = value(3);
    k.peakDetectLevel = value(4);
    k.showPeak = checked(r->showPeak);
  } else {
    EogRecord& e = waveType == 9 ? b->eogRight : b->eogLeft;
    e.show = checked(r->show);
    e.amplitudeMin = value(0);
    e.detectAngle = value(1);
    e.durationMinMs = value(2);
    e.durationMaxMs = value(3);
    e.showPeak = checked(r->showPeak);
  }
}

void LyrRawDlgWaveFormRecognition::SavePrecision() {
  if (W* b = Block()) b->precision = IsDlgButtonChecked(kHigh) != 0 ? 0 : 1;
}

void LyrRawDlgWaveFormRecognition::SaveAllRows() {
  if (Block() == nullptr) return;
  SavePrecision();
  for (int type = 1; type <= 10; ++type) SaveWaveRow(type);
}

int LyrRawDlgWaveFormRecognition::IsScreeningConditionUnchanged() {
  SaveAllRows();
  const W* now = Block();
  if (now == nullptr) return 1;
  const W& was = m_SavedParam;
  if (now->precision != was.precision) return 0;
  for (std::size_t i = 0; i < now->bands.size(); ++i) {
    const BandWaveRecord& a = now->bands[i];
    const BandWaveRecord& s = was.bands[i];
    if (a.channel != s.channel || a.amplitudeMin != s.amplitudeMin || a.amplitudeMax != s.amplitudeMax ||
        a.frequencyMinHz != s.frequencyMinHz || a.frequencyMaxHz != s.frequencyMaxHz ||
        a.peakDetectLevel != s.peakDetectLevel || a.halfWaveCount != s.halfWaveCount || a.emgCancel != s.emgCancel ||
        a.emgCancelLevel != s.emgCancelLevel)
      return 0;
  }
  const KComplexRecord& k = now->kComplex;
  const KComplexRecord& ks = was.kComplex;
  if (k.channel != ks.channel || k.amplitudeMin != ks.amplitudeMin || k.amplitudeMax != ks.amplitudeMax ||
      k.durationMinMs != ks.durationMinMs || k.durationMaxMs != ks.durationMaxMs ||
      k.peakDetectLevel != ks.peakDetectLevel)
    return 0;
  for (const auto& [e, es] : {std::pair{&now->eogRight, &was.eogRight}, std::pair{&now->eogLeft, &was.eogLeft}}) {
    if (e->channel != es->channel || e->amplitudeMin != es->amplitudeMin || e->detectAngle != es->detectAngle ||
        e->durationMinMs != es->durationMinMs || e->durationMaxMs != es->durationMaxMs)
      return 0;
  }
  return now->emgChannel == was.emgChannel ? 1 : 0;
}

void LyrRawDlgWaveFormRecognition::ReadChannelSelection(int waveType) {
  const int comboId = waveType == 0 ? kEmgChannel : Row(waveType)->channel;
  const int sel = Item(comboId).GetCurSel();
  std::int32_t* channel = ChannelField(waveType);
  if (sel < 0 || channel == nullptr) return;
  *channel = sel - 1;
  if (waveType == 0) {
    UpdateEMG();
  } else {
    UpdateWaveRow(waveType);
  }
}

void LyrRawDlgWaveFormRecognition::ClearHumanOnlyChannels() {
  W* b = Block();
  if (b == nullptr) return;
  for (const W::Band band : {W::kDelta, W::kTheta, W::kAlpha, W::kSpindle}) {
    std::int32_t& ch = b->bands[static_cast<std::size_t>(band)].channel;
    if (ch > -1) ch = -1;
  }
  for (std::int32_t* ch : {&b->eogLeft.channel, &b->eogRight.channel})
    if (*ch > -1) *ch = -1;
}

void LyrRawDlgWaveFormRecognition::ShowHumanOnlyControls(bool show) {
  ShowItem(kEstablishedGroup, show);
  ShowItem(kPrecisionGroup, show);
  ShowItem(kHigh, show);
  ShowItem(kNormal, show);
  for (int id = kHumanHeadingFirst; id <= kHumanHeadingLast; ++id) ShowItem(id, show);
  for (int type = 8; type <= 10; ++type) {
    const Ids* r = Row(type);
    for (const int id : {r->channel, r->swatch, r->colour, r->show, r->cursor, r->showPeak}) ShowItem(id, show);
    for (int i = 0; i < r->valueCount; ++i) ShowItem(r->values[i], show);
  }
}

void LyrRawDlgWaveFormRecognition::PaintColorSwatches() {
  for (const Ids& r : kRows) Item(r.swatch).Invalidate();
}

// ---- Buttons -------------------------------------------------------------------------------

void LyrRawDlgWaveFormRecognition::PickRowColor(int waveType) {
  W* b = Block();
  if (b == nullptr) return;
  std::uint32_t colour = 0;  // the chooser starts from black
  if (ui::ChooseColor(this, colour) != ui::IDOK) return;
  if (waveType <= 7) b->bands[static_cast<std::size_t>(BandOf(waveType))].colour = colour;
  else if (waveType == 8) b->kComplex.colour = colour;
  else (waveType == 9 ? b->eogRight : b->eogLeft).colour = colour;
  PaintColorSwatches();
}

void LyrRawDlgWaveFormRecognition::EditBandName(int band) {
  LyrRawDlgBandName dlg(m_pDoc, band, this);
  if (dlg.DoModal() == ui::IDOK) UpdateWaveRow(5 + band);
}

void LyrRawDlgWaveFormRecognition::OnBPreview() {
  SaveAllRows();
  RefreshPages();
  ShowSettings(false);
  SetTimer(kPreviewTimer, kPreviewMs);
}

void LyrRawDlgWaveFormRecognition::OnBCursor(int waveType) {
  PreviewKind = static_cast<std::int16_t>(waveType);
  SaveAllRows();
  RawPreviewMode = 1;
  // The page hands the marked wave to the confirmation window; a confirmed pick refreshes the
  // row, and the page shows this window again when the pick ends.
  RawPreview.waveFormConfirmation = [](const RawPreviewPick& pick) {
    LyrRawDlgWaveFormRecognition* dlg = OpenWaveFormRecognitionDialog();
    if (dlg == nullptr || dlg->m_pDoc == nullptr) return static_cast<int>(ui::IDCANCEL);
    const int kind = PreviewKind;
    const int result = RunWaveFormConfirmation(*dlg->m_pDoc, pick, kind);
    if (result == ui::IDOK) dlg->UpdateWaveRow(kind);
    return result;
  };
  RawPreview.showRequester = [] {
    if (LyrRawDlgWaveFormRecognition* dlg = OpenWaveFormRecognitionDialog()) dlg->ShowSettings(true);
  };
  ShowSettings(false);
}

void LyrRawDlgWaveFormRecognition::OnBTemplateSave() {
  W* b = Block();
  if (b == nullptr) return;
  const std::string path = ChooseTemplatePath(false, this);
  if (path.empty()) return;
  SaveAllRows();
  if (!WriteWaveFormTemplate(path, *b)) ShowFileMessage(kIdsTemplateNotWritten, path);
}

void LyrRawDlgWaveFormRecognition::OnBTemplateRead() {
  W* b = Block();
  if (b == nullptr) return;
  const std::string path = ChooseTemplatePath(true, this);
  if (path.empty()) return;
  WaveFormRecognitionParam read = *b;
  switch (ReadWaveFormTemplate(path, &read)) {
    case WaveTemplateRead::kCannotOpen:
      ShowFileMessage(kIdsTemplateNotOpened, path);
      return;
    case WaveTemplateRead::kRefused:
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      ui::MessageBoxId(kIdsVersionDiffers, ui::MB_OK);
      return;
    case WaveTemplateRead::kRead:
      break;
  }
  bool restart = false;
  if (IsTemplateAnimalCompatible(read, AnimalOnlyMode) == 0) {
    if (ui::MessageBoxId(kIdsAnimalTemplate, ui::MB_OKCANCEL) != ui::IDOK) return;
    AnimalOnlyMode = 0;
    if (auto* app = dynamic_cast<CQLM2_AnalyzerApp*>(ui::App::Current())) app->WriteSetting();
    restart = true;
  }
  *b = read;
  UpdateAllRows();
  // The window is built anew in the full layout; the block keeps what was loaded.
  if (restart) EndDialog(kRestartCode);
}
