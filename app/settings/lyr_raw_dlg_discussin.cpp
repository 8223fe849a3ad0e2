#include "app/settings/lyr_raw_dlg_discussin.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_small.h"
#include "app/frame/parameter_bar.h"
#include "app/frame/program_settings.h"
#include "app/scoring/lyr_dlg_rk_rules.h"
#include "app/settings/logic_dialog_strings.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr int kScrollBarWidth = 17;
constexpr int kMaxConditions = kLogicTemplateRecords;

// Controls of the two clauses: lower bound, lower operator, parameter, channel, upper operator,
// upper bound.
struct ClauseIds {
  int lower, lowerOp, param, channel, upperOp, upper;
};
constexpr std::array<ClauseIds, 2> kClause = {{
    {IDC_LOGIC_LOWER1, IDC_LOGIC_LOWER_OP1, IDC_LOGIC_PARAM1, IDC_LOGIC_CHANNEL1, IDC_LOGIC_UPPER_OP1, IDC_LOGIC_UPPER1},
    {IDC_LOGIC_LOWER2, IDC_LOGIC_LOWER_OP2, IDC_LOGIC_PARAM2, IDC_LOGIC_CHANNEL2, IDC_LOGIC_UPPER_OP2, IDC_LOGIC_UPPER2},
}};

// Base stage codes of the stage types 0..3.
const std::array<std::vector<std::uint8_t>, 4> kBaseStages = {{
    {1, 2, 3, 4, 5, 6, 7},
    {1, 2, 3, 4, 5, 7},
    {1, 2, 3, 5, 7},
    {1, 2, 3, 7},
}};

// The items of a comma-separated resource text, each ended by its comma.
std::vector<std::string> SplitItems(const std::string& text) {
  std::vector<std::string> items;
  std::string item;
  for (char ch : text) {
    if (ch == ',') {
      items.push_back(item);
      item.clear();
    } else {
      item += ch;
    }
  }
  return items;
}

std::string Format3(float v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(v));
  return buf;
}

std::string OperatorText(std::uint16_t code) { return code <= 3 ? res::LoadString(2138u + code) : std::string(); }

// A bound as the user may give it: one whole decimal number ("-1.5", "20", ".5"), blanks
// around it allowed, finite and within the range of the stored 32-bit real.
std::optional<float> ParseBound(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::size_t end = text.size();
  while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  const std::string s = text.substr(i, end - i);
  std::size_t k = 0;
  if (k < s.size() && s[k] == '-') ++k;
  int digits = 0;
  int points = 0;
  for (; k < s.size(); ++k) {
    if (s[k] >= '0' && s[k] <= '9') ++digits;
    else if (s[k] == '.') ++points;
    else return std::nullopt;
  }
  if (digits == 0 || points > 1) return std::nullopt;
  const double v = std::strtod(s.c_str(), nullptr);
  if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) return std::nullopt;
  return static_cast<float>(v);
}

}  // namespace

// ---- Opening ----------------------------------------------------------------------------

LyrRawDlgDiscussin::LyrRawDlgDiscussin(CQLM2_AnalyzerDoc* doc, int caller, ui::Window* parent)
    : ui::Dialog(IDD_LOGIC, parent), m_pDoc(doc), m_Caller(caller), m_CheckOnly(caller == 1 ? 1 : 0) {
  MapNotify(IDC_LOGIC_LIST, ui::NM_CLICK, [this] { OnListSelect(); });
  MapNotify(IDC_LOGIC_LIST, ui::LVN_ITEMCHANGED, [this] { OnListSelect(); });
  MapCommand(IDC_LOGIC_AND, [this] { OnAnd(); });
  MapCommand(IDC_LOGIC_APPLY, [this] { OnApply(); });
  MapCommand(IDC_LOGIC_MODE_NO, [this] { OnMode(0); });
  MapCommand(IDC_LOGIC_MODE_RK, [this] { OnMode(1); });
  MapCommand(IDC_LOGIC_MODE_STAGE_CHANGE, [this] { OnMode(2); });
  MapCommand(IDC_LOGIC_PARAMETER, [this] { OnParameter(); });
  MapCommand(IDC_LOGIC_LOAD, [this] { OnBTemplateRead(); });
  MapCommand(IDC_LOGIC_SAVE, [this] { OnBTemplateSave(); });
  MapNotify(IDC_LOGIC_COUNT, ui::EN_CHANGE, [this] { OnChangeCount(); });
  MapNotify(IDC_LOGIC_COUNT, ui::EN_KILLFOCUS, [this] { OnKillFocusCount(); });
  MapNotify(IDC_LOGIC_COUNT_SPIN, ui::UDN_DELTAPOS, [this] { OnSpinCount(); });
  MapNotify(IDC_LOGIC_PARAM1, ui::CBN_SELCHANGE, [this] { OnSelChangeParam(0); });
  MapNotify(IDC_LOGIC_PARAM2, ui::CBN_SELCHANGE, [this] { OnSelChangeParam(1); });
  MapNotify(IDC_LOGIC_STAGE, ui::CBN_SELCHANGE, [this] { OnSelChangeStage(); });
  MapCommand(IDC_LOGIC_FFT, [this] { OnSettingFFT(); });
  // Mapped before the icon buttons take over these three, so the window's handlers win.
  MapCommand(IDC_LOGIC_UP, [this] { OnMoveUp(); });
  MapCommand(IDC_LOGIC_DOWN, [this] { OnMoveDown(); });
  MapCommand(IDC_LOGIC_ERASE, [this] { OnDelete(); });
}

int LyrRawDlgDiscussin::ChannelCount() const {
  return m_pDoc == nullptr ? 0 : std::clamp(m_pDoc->RecordInfo.channelCount, 0, static_cast<int>(m_pDoc->ChInfo.size()));
}

LogicCondition* LyrRawDlgDiscussin::GetConditionSet() const {
  if (m_pDoc == nullptr) return nullptr;
  const int type = m_pDoc->Params.stageType.stageType;
  if (type < 0 || type > 3) return nullptr;
  return m_pDoc->Params.logic.sets[static_cast<std::size_t>(type)].data();
}

void LyrRawDlgDiscussin::CopyConditionSet(LogicConditionSet& out) const {
  const LogicCondition* set = GetConditionSet();
  for (int i = 0; i < kMaxConditions; ++i) {
    if (set != nullptr) {
      out[static_cast<std::size_t>(i)] = set[i];
    } else {
      out[static_cast<std::size_t>(i)] = LogicCondition{};
      out[static_cast<std::size_t>(i)].mark = 0;
    }
  }
}

int& LyrRawDlgDiscussin::RecognitionEmgChannel() const { return m_pDoc->Params.waveForm.emgChannel; }

bool LyrRawDlgDiscussin::OnInitDialog() {
  if (m_pDoc == nullptr) return true;
  filling_ = true;
  const std::array<std::pair<CIconButtonEx*, int>, 3> buttons = {
      {{&upButton_, IDC_LOGIC_UP}, {&downButton_, IDC_LOGIC_DOWN}, {&eraseButton_, IDC_LOGIC_ERASE}}};
  const std::array<std::pair<std::uint32_t, std::uint32_t>, 3> icons = {{{353, 352}, {351, 350}, {355, 354}}};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i].first->SubclassDlgItem(buttons[i].second, *this);
    buttons[i].first->SetIcon(icons[i].first, icons[i].second);
    buttons[i].first->SetFlat(true);
    Item(buttons[i].second).Invalidate();
  }
  Item(IDC_LOGIC_ARROW).SetOverlayPainter([](draw::Dc& dc, const ui::Rect& client) {
    static const draw::Image arrow = ui::LoadIconImage(kLogicArrowIcon);
    if (arrow.IsNull()) return;
    const int x = client.left + (client.Width() - arrow.Width()) / 2;
    const int y = client.top + (client.Height() - arrow.Height()) / 2;
    dc.DrawImage(ui::Rect{x, y, x + arrow.Width(), y + arrow.Height()}, arrow,
                 ui::Rect{0, 0, arrow.Width(), arrow.Height()});
  });

  savedOption_ = m_pDoc->Params.logicOption;
  CopyConditionSet(savedSet_);
  savedFftBand_ = m_pDoc->Params.fftBand;
  savedEmgChannel_ = RecognitionEmgChannel();

  LogicConditionSet current;
  CopyConditionSet(current);
  m_LastUsed = static_cast<std::int16_t>(CountUsedConditions(current) - 1);
  Item(IDC_LOGIC_COUNT_SPIN).SetRange(1, kMaxConditions);
  Item(IDC_LOGIC_COUNT_SPIN).SetPos(std::max(1, UsedCount()));
  SetDlgItemInt(IDC_LOGIC_COUNT, UsedCount());

  CreateColumns();
  Item(IDC_LOGIC_LIST).SetFullRowSelect(true);
  FillConditionList();
  FillOperatorCombos();
  SyncRecognitionChannels();
  FillParameterCombos();
  for (int clause = 0; clause < 2; ++clause) {
    FillChannelCombo(clause, 1);
    Item(kClause[static_cast<std::size_t>(clause)].channel).SetCurSel(0);
  }
  FillStageCombo();

  EnableClause(0, false, false);
  EnableClause(1, false, false);
  EnableItem(IDC_LOGIC_AND, false);
  EnableItem(IDC_LOGIC_STAGE, false);
  EnableItem(IDC_LOGIC_APPLY, false);
  Item(IDC_LOGIC_LOWER_OP2).SetCurSel(0);
  Item(IDC_LOGIC_PARAM2).SetCurSel(0);
  Item(IDC_LOGIC_UPPER_OP2).SetCurSel(0);

  SetDlgItemText(IDC_LOGIC_FFT, res::LoadString(m_CheckOnly != 0 ? kStrCheckFft : kStrSettingFft));
  if (AnimalOnlyMode != 0) ShowItem(IDC_LOGIC_MODE_RK, false);
  UpdateMoveButtons();
  filling_ = false;
  return true;
}

void LyrRawDlgDiscussin::CreateColumns() {
  ui::Control list = Item(IDC_LOGIC_LIST);
  const std::vector<std::string> titles = SplitItems(res::LoadString(kStrLogicColumns));
  const std::vector<std::string> widths = SplitItems(res::LoadString(kStrLogicColumnWidths));
  const int room = std::max(list.GetClientRect().Width() - kScrollBarWidth, 200);
  for (std::size_t i = 0; i < titles.size(); ++i) {
    const double percent = i < widths.size() ? std::atof(widths[i].c_str()) : 5.0;
    list.InsertColumn(static_cast<int>(i), titles[i], static_cast<int>(percent * room * 0.01));
  }
}

void LyrRawDlgDiscussin::FillOperatorCombos() {
  for (const ClauseIds& c : kClause) {
    ui::Control lower = Item(c.lowerOp);
    lower.ResetContent();
    lower.AddString(res::LoadString(2138));
    lower.AddString(res::LoadString(2139));
    ui::Control upper = Item(c.upperOp);
    upper.ResetContent();
    upper.AddString(res::LoadString(2140));
    upper.AddString(res::LoadString(2141));
  }
}

void LyrRawDlgDiscussin::FillParameterCombos() {
  std::vector<std::int32_t> codes;
  GetAvailableValueCodes(m_pDoc->Params, ChannelCount(), 0, codes);
  paramCodes_.clear();
  for (std::int32_t code : codes)
    if (code != 0) paramCodes_.push_back(code);
  for (const ClauseIds& c : kClause) {
    ui::Control combo = Item(c.param);
    const int selected = combo.GetCurSel();
    combo.ResetContent();
    for (int code : paramCodes_) combo.AddString(BuildParameterName(static_cast<std::uint16_t>(code), m_pDoc->Params));
    combo.SetCurSel(selected);
  }
}

int LyrRawDlgDiscussin::ParamCodeToComboIndex(int code) const {
  const auto it = std::find(paramCodes_.begin(), paramCodes_.end(), code);
  return it == paramCodes_.end() ? -1 : static_cast<int>(it - paramCodes_.begin());
}

int LyrRawDlgDiscussin::ComboIndexToParamCode(int index) const {
  return index >= 0 && index < static_cast<int>(paramCodes_.size()) ? paramCodes_[static_cast<std::size_t>(index)] : 0;
}

std::string LyrRawDlgDiscussin::ChannelText(int channel) const {
  if (channel < 0 || channel >= ChannelCount()) return {};
  char number[16];
  std::snprintf(number, sizeof number, "%2d:", channel + 1);
  return number + m_pDoc->ChInfo[static_cast<std::size_t>(channel)].name;
}

void LyrRawDlgDiscussin::FillChannelCombo(int clause, int kind) {
  std::vector<int>& entries = channelEntries_[static_cast<std::size_t>(clause)];
  entries.clear();
  for (int ch = 0; ch < ChannelCount(); ++ch)
    if (kind == 1 || (kind == 2 && m_pDoc->Params.fftBand.channelSwitch[static_cast<std::size_t>(ch)] == 1))
      entries.push_back(ch);
  ui::Control combo = Item(kClause[static_cast<std::size_t>(clause)].channel);
  combo.ResetContent();
  for (int ch : entries) combo.AddString(ChannelText(ch));
}

int LyrRawDlgDiscussin::ChannelToComboIndex(int clause, int channel) const {
  const std::vector<int>& entries = channelEntries_[static_cast<std::size_t>(clause)];
  const auto it = std::find(entries.begin(), entries.end(), channel);
  return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

int LyrRawDlgDiscussin::ComboIndexToChannel(int clause, int index) const {
  const std::vector<int>& entries = channelEntries_[static_cast<std::size_t>(clause)];
  return index >= 0 && index < static_cast<int>(entries.size()) ? entries[static_cast<std::size_t>(index)] : 0;
}

void LyrRawDlgDiscussin::FillStageCombo() {
  stageCodes_.clear();
  const StageTypeParam& st = m_pDoc->Params.stageType;
  if (st.stageType <= 3) stageCodes_ = kBaseStages[st.stageType];
  const int extra = std::min<int>(st.sharedInUse, StageTypeParam::kFreeStageCount);
  for (int i = 0; i < extra; ++i) stageCodes_.push_back(static_cast<std::uint8_t>(8 + i));
  stageCodes_.push_back(255);
  ui::Control combo = Item(IDC_LOGIC_STAGE);
  combo.ResetContent();
  for (std::uint8_t code : stageCodes_) {
    std::string name;
    m_pDoc->GetStageName(static_cast<signed char>(code), name);
    combo.AddString(name);
  }
}

std::uint8_t LyrRawDlgDiscussin::ComboIndexToStage(int index) const {
  return index >= 0 && index < static_cast<int>(stageCodes_.size()) ? stageCodes_[static_cast<std::size_t>(index)] : 0;
}

void LyrRawDlgDiscussin::SelectStageInCombo(std::uint8_t stage) {
  const auto it = std::find(stageCodes_.begin(), stageCodes_.end(), stage);
  Item(IDC_LOGIC_STAGE).SetCurSel(it == stageCodes_.end() ? -1 : static_cast<int>(it - stageCodes_.begin()));
}

bool LyrRawDlgDiscussin::IsChannelEditable(int code) const {
  return code >= 13 && code <= 32 && !(code == 13 && m_CheckOnly != 0);
}

// ---- The list -------------------------------------------------------------------------------

std::string LyrRawDlgDiscussin::ClauseChannelText(const LogicTerm& term) const {
  const int kind = LogicChannelKind(term.valueCode);
  if (kind != 1 && kind != 2) return {};
  const int channel = static_cast<std::int16_t>(term.channel);
  if (channel < 0 || channel >= ChannelCount()) return {};
  if (term.valueCode == 13) return ChannelText(RecognitionEmgChannel());
  return ChannelText(channel);
}

void LyrRawDlgDiscussin::FillConditionList() {
  const LogicCondition* set = GetConditionSet();
  if (m_LastUsed < 0 || set == nullptr) return;
  const bool was = std::exchange(filling_, true);
  const int mode = m_pDoc->Params.logicOption.lastStageMode;
  CheckRadioButton(IDC_LOGIC_MODE_NO, IDC_LOGIC_MODE_STAGE_CHANGE,
                   mode == 0 ? IDC_LOGIC_MODE_NO : mode == 1 ? IDC_LOGIC_MODE_RK : IDC_LOGIC_MODE_STAGE_CHANGE);
  EnableItem(IDC_LOGIC_PARAMETER, mode != 0);
  EnableItem(IDC_LOGIC_MODE_RK, EpochSeconds != 8);
  EnableItem(IDC_LOGIC_ERASE, UsedCount() >= 2);
  EnableItem(IDC_LOGIC_UP, false);
  EnableItem(IDC_LOGIC_DOWN, false);

  ui::Control list = Item(IDC_LOGIC_LIST);
  list.DeleteAllItems();
  char number[16];
  for (int i = 0; i <= m_LastUsed; ++i) {
    const LogicCondition& c = set[i];
    std::snprintf(number, sizeof number, "%3d", i + 1);
    const int row = list.InsertItem(-1, number);
    std::string stage;
    m_pDoc->GetStageName(static_cast<signed char>(c.stage), stage);
    list.SetItemText(row, 1, stage);
    if (i == m_LastUsed || c.stage == 255) continue;
    const auto clause = [&](int first, const LogicTerm& t) {
      list.SetItemText(row, first, Format3(t.lower));
      list.SetItemText(row, first + 1, OperatorText(t.lowerOp));
      list.SetItemText(row, first + 2, BuildParameterName(t.valueCode, m_pDoc->Params));
      list.SetItemText(row, first + 3, ClauseChannelText(t));
      list.SetItemText(row, first + 4, OperatorText(t.upperOp));
      list.SetItemText(row, first + 5, Format3(t.upper));
    };
    clause(2, c.term1);
    if (c.andSwitch != 0) {
      list.SetItemText(row, 8, "&");
      clause(9, c.term2);
    }
  }
  filling_ = was;
}

void LyrRawDlgDiscussin::SelectRow(int row) {
  ui::Control list = Item(IDC_LOGIC_LIST);
  if (row < 0 || row >= list.GetCount()) return;
  const bool was = std::exchange(filling_, true);
  list.SetCurSel(row);
  list.EnsureVisible(row);
  filling_ = was;
  ShowCondition(row);
  UpdateMoveButtons();
}

void LyrRawDlgDiscussin::UpdateMoveButtons() {
  ui::Control list = Item(IDC_LOGIC_LIST);
  const int rows = list.GetCount();
  const int row = list.GetCurSel();
  const bool movable = rows >= 3 && row >= 0;
  EnableItem(IDC_LOGIC_UP, movable && row > 0);
  EnableItem(IDC_LOGIC_DOWN, movable && row < rows - 1);
}

void LyrRawDlgDiscussin::OnListSelect() {
  if (filling_) return;
  const int row = Item(IDC_LOGIC_LIST).GetCurSel();
  if (row < 0) return;
  ShowCondition(row);
  UpdateMoveButtons();
}

// ---- One condition --------------------------------------------------------------------------

void LyrRawDlgDiscussin::EnableClause(int clause, bool enable, bool withChannel) {
  const ClauseIds& c = kClause[static_cast<std::size_t>(clause)];
  for (int id : {c.lower, c.lowerOp, c.param, c.upperOp, c.upper}) EnableItem(id, enable);
  EnableItem(c.channel, enable && withChannel);
}

int LyrRawDlgDiscussin::RecognitionChannelOf(int code) const {
  const WaveFormRecognitionParam& w = m_pDoc->Params.waveForm;
  using B = WaveFormRecognitionParam;
  switch (code) {
    case 1: return w.bands[B::kDelta].channel;
    case 2: return w.bands[B::kTheta].channel;
    case 3: return w.bands[B::kAlpha].channel;
    case 4: return w.bands[B::kSpindle].channel;
    case 5: case 6: return w.bands[B::kBand1].channel;
    case 7: case 8: return w.bands[B::kBand2].channel;
    case 9: case 10: return w.bands[B::kBand3].channel;
    case 11: return w.kComplex.channel;
    case 12: return w.eogRight.channel;
    case 13: return w.emgChannel;
    default: return -1;
  }
}

void LyrRawDlgDiscussin::ShowClause(int clause, const LogicTerm& term) {
  const ClauseIds& c = kClause[static_cast<std::size_t>(clause)];
  SetDlgItemText(c.lower, Format3(term.lower));
  SetDlgItemText(c.upper, Format3(term.upper));
  Item(c.lowerOp).SetCurSel(term.lowerOp == 0 ? 0 : 1);
  Item(c.upperOp).SetCurSel(term.upperOp == 2 ? 0 : 1);
  Item(c.param).SetCurSel(ParamCodeToComboIndex(term.valueCode));
  const int kind = LogicChannelKind(term.valueCode);
  if (kind == 1 || kind == 2) {
    FillChannelCombo(clause, kind);
    const int channel = term.valueCode == 13 ? RecognitionEmgChannel() : static_cast<std::int16_t>(term.channel);
    Item(c.channel).SetCurSel(ChannelToComboIndex(clause, channel));
  }
}

void LyrRawDlgDiscussin::ShowCondition(int row) {
  const LogicCondition* set = GetConditionSet();
  if (set == nullptr || row < 0 || row > m_LastUsed) return;
  const LogicCondition c = set[row];
  SelectStageInCombo(c.stage);
  ShowClause(0, c.term1);
  const int kind1 = LogicChannelKind(c.term1.valueCode);
  EnableClause(0, true, IsChannelEditable(c.term1.valueCode) && kind1 != 0);
  EnableItem(IDC_LOGIC_STAGE, true);
  EnableItem(IDC_LOGIC_APPLY, true);
  EnableItem(IDC_LOGIC_AND, true);
  if (c.andSwitch != 0) {
    CheckDlgButton(IDC_LOGIC_AND, 1);
    ShowClause(1, c.term2);
    const int kind2 = LogicChannelKind(c.term2.valueCode);
    EnableClause(1, true, IsChannelEditable(c.term2.valueCode) && kind2 != 0);
  } else {
    CheckDlgButton(IDC_LOGIC_AND, 0);
    EnableClause(1, false, false);
  }
  // The default rule and a "Previous stage" row give their stage alone.
  if (row == m_LastUsed || c.stage == 255) {
    EnableClause(0, false, false);
    EnableClause(1, false, false);
    EnableItem(IDC_LOGIC_AND, false);
  }
}

void LyrRawDlgDiscussin::OnSelChangeParam(int clause) {
  const ClauseIds& c = kClause[static_cast<std::size_t>(clause)];
  const int code = ComboIndexToParamCode(Item(c.param).GetCurSel());
  const int kind = LogicChannelKind(code);
  ui::Control channel = Item(c.channel);
  if (kind == 1 || kind == 2) {
    const int kept = channel.GetCurSel();
    FillChannelCombo(clause, kind);
    channel.SetCurSel(kept >= 0 && kept < channel.GetCount() ? kept : 0);
  }
  if (code >= 1 && code <= 13) {
    const int recognition = RecognitionChannelOf(code);
    channel.SetCurSel(recognition >= 0 ? ChannelToComboIndex(clause, recognition) : -1);
  }
  EnableItem(c.channel, IsChannelEditable(code) && kind != 0);
}

void LyrRawDlgDiscussin::OnSelChangeStage() {
  ui::Control stage = Item(IDC_LOGIC_STAGE);
  const int row = Item(IDC_LOGIC_LIST).GetCurSel();
  const bool previous = stage.GetCurSel() == stage.GetCount() - 1;
  const bool enable = !previous && row != m_LastUsed;
  const int code1 = ComboIndexToParamCode(Item(IDC_LOGIC_PARAM1).GetCurSel());
  const int code2 = ComboIndexToParamCode(Item(IDC_LOGIC_PARAM2).GetCurSel());
  const bool and2 = IsDlgButtonChecked(IDC_LOGIC_AND) == 1;
  EnableClause(0, enable, IsChannelEditable(code1) && LogicChannelKind(code1) != 0);
  EnableClause(1, enable && and2, IsChannelEditable(code2) && LogicChannelKind(code2) != 0);
  EnableItem(IDC_LOGIC_AND, enable);
}

void LyrRawDlgDiscussin::OnAnd() {
  const bool on = Item(IDC_LOGIC_LIST).GetCurSel() >= 0 && IsDlgButtonChecked(IDC_LOGIC_AND) == 1;
  const ClauseIds& c = kClause[1];
  for (int id : {c.lower, c.lowerOp, c.param, c.upperOp, c.upper}) EnableItem(id, on);
}

void LyrRawDlgDiscussin::Fail(const std::string& text, int focusId) {
  ui::MessageBeep(ui::MB_ICONEXCLAMATION);
  ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  if (focusId != 0) Item(focusId).SetFocus();
}

bool LyrRawDlgDiscussin::ReadClause(int clause, LogicTerm& term, bool& swapped) {
  const ClauseIds& c = kClause[static_cast<std::size_t>(clause)];
  const std::string notSpecified = res::LoadString(kStrNotSpecified);
  const std::optional<float> lower = ParseBound(GetDlgItemText(c.lower));
  if (!lower) return Fail(notSpecified, c.lower), false;
  const int lowerOp = Item(c.lowerOp).GetCurSel();
  if (lowerOp < 0) return Fail(notSpecified, c.lowerOp), false;
  const int param = Item(c.param).GetCurSel();
  if (param < 0) return Fail(notSpecified, c.param), false;
  const int code = ComboIndexToParamCode(param);
  int channel = 0;
  const int kind = LogicChannelKind(code);
  if (kind == 1 || kind == 2) {
    const int entry = Item(c.channel).GetCurSel();
    if (entry < 0) return Fail(notSpecified, c.channel), false;
    channel = ComboIndexToChannel(clause, entry);
  }
  const int upperOp = Item(c.upperOp).GetCurSel();
  if (upperOp < 0) return Fail(notSpecified, c.upperOp), false;
  const std::optional<float> upper = ParseBound(GetDlgItemText(c.upper));
  if (!upper) return Fail(notSpecified, c.upper), false;
  if (*lower == *upper) return Fail(res::LoadString(kStrBoundsEqual), c.upper), false;
  term.lower = *lower;
  term.upper = *upper;
  if (term.lower > term.upper) {
    std::swap(term.lower, term.upper);
    swapped = true;
  }
  term.lowerOp = static_cast<std::uint16_t>(lowerOp);
  term.upperOp = static_cast<std::uint16_t>(2 + upperOp);
  term.valueCode = static_cast<std::uint16_t>(code);
  term.channel = static_cast<std::uint16_t>(channel);
  return true;
}

bool LyrRawDlgDiscussin::ApplyCondition(int row) {
  LogicCondition* set = GetConditionSet();
  if (set == nullptr || row < 0 || row >= kMaxConditions) return false;
  const int stageEntry = Item(IDC_LOGIC_STAGE).GetCurSel();
  if (stageEntry < 0) return Fail(res::LoadString(kStrNotSpecified), IDC_LOGIC_STAGE), false;
  LogicCondition rec;
  rec.term1 = LogicTerm{};
  rec.term2 = LogicTerm{};
  rec.stage = ComboIndexToStage(stageEntry);
  if (rec.stage == 255 || row == m_LastUsed) {
    set[row] = rec;
    return true;
  }
  bool swapped = false;
  if (!ReadClause(0, rec.term1, swapped)) return false;
  if (IsDlgButtonChecked(IDC_LOGIC_AND) == 1) {
    rec.andSwitch = 1;
    if (!ReadClause(1, rec.term2, swapped)) return false;
  }
  if (swapped) ui::MessageBox(res::LoadString(kStrBoundsSwapped), ui::MB_OK | ui::MB_ICONINFORMATION);
  // The EMG integral tests the recognition's EMG channel: the chosen channel becomes it.
  if (rec.term1.valueCode == 13) RecognitionEmgChannel() = static_cast<std::int16_t>(rec.term1.channel);
  else if (rec.andSwitch != 0 && rec.term2.valueCode == 13)
    RecognitionEmgChannel() = static_cast<std::int16_t>(rec.term2.channel);
  set[row] = rec;
  return true;
}

void LyrRawDlgDiscussin::OnApply() {
  const int row = Item(IDC_LOGIC_LIST).GetCurSel();
  if (row < 0 || !ApplyCondition(row)) return;
  FillConditionList();
  SelectRow(row);
}

// ---- Count, order, erase --------------------------------------------------------------------

namespace {
// The count as typed: a whole number (blanks around it allowed), or nothing.
std::optional<int> ParseCount(const std::string& text) {
  const std::optional<float> v = ParseBound(text);
  if (!v || text.find('.') != std::string::npos || text.find('-') != std::string::npos) return std::nullopt;
  return static_cast<int>(*v);
}
}  // namespace

void LyrRawDlgDiscussin::OnChangeCount() {
  if (filling_) return;
  const std::optional<int> n = ParseCount(GetDlgItemText(IDC_LOGIC_COUNT));
  if (!n || *n < 0 || *n > kMaxConditions) return;
  m_LastUsed = static_cast<std::int16_t>(*n - 1);
  if (*n > 0) {
    Item(IDC_LOGIC_COUNT_SPIN).SetPos(*n);
    FillConditionList();
    UpdateMoveButtons();
  }
}

void LyrRawDlgDiscussin::OnSpinCount() {
  const int n = Item(IDC_LOGIC_COUNT_SPIN).GetPos();
  SetDlgItemInt(IDC_LOGIC_COUNT, n);
}

void LyrRawDlgDiscussin::OnKillFocusCount() {
  const std::optional<int> n = ParseCount(GetDlgItemText(IDC_LOGIC_COUNT));
  if (n && *n >= 1 && *n <= kMaxConditions) return;
  Fail(res::LoadString(kStrCountRange), IDC_LOGIC_COUNT);
  Item(IDC_LOGIC_COUNT).SetSel(0, -1);
}

bool LyrRawDlgDiscussin::CheckCountField() {
  const std::optional<int> n = ParseCount(GetDlgItemText(IDC_LOGIC_COUNT));
  if (n && *n >= 1 && *n <= kMaxConditions && m_LastUsed >= 0) return true;
  Fail(res::LoadString(kStrCountRange), IDC_LOGIC_COUNT);
  Item(IDC_LOGIC_COUNT).SetSel(0, -1);
  return false;
}

void LyrRawDlgDiscussin::OnDelete() {
  LogicCondition* set = GetConditionSet();
  const int row = Item(IDC_LOGIC_LIST).GetCurSel();
  if (set == nullptr || UsedCount() < 2 || row < 0 || row > m_LastUsed) return;
  for (int i = row; i < kMaxConditions - 1; ++i) set[i] = set[i + 1];
  set[kMaxConditions - 1] = LogicCondition{};
  for (int i = m_LastUsed; i < kMaxConditions; ++i) set[i].stage = 0;
  --m_LastUsed;
  const bool was = std::exchange(filling_, true);
  SetDlgItemInt(IDC_LOGIC_COUNT, UsedCount());
  Item(IDC_LOGIC_COUNT_SPIN).SetPos(UsedCount());
  filling_ = was;
  FillConditionList();
  SelectRow(std::min(row, static_cast<int>(m_LastUsed)));
}

void LyrRawDlgDiscussin::OnMoveUp() {
  LogicCondition* set = GetConditionSet();
  const int row = Item(IDC_LOGIC_LIST).GetCurSel();
  if (set == nullptr || UsedCount() < 2 || row <= 0 || row > m_LastUsed) return;
  std::swap(set[row], set[row - 1]);
  FillConditionList();
  SelectRow(row - 1);
}

void LyrRawDlgDiscussin::OnMoveDown() {
  LogicCondition* set = GetConditionSet();
  const int row = Item(IDC_LOGIC_LIST).GetCurSel();
  // Never past the list's last row: an unused record must not come into the used ones.
  if (set == nullptr || UsedCount() < 2 || row < 0 || row >= m_LastUsed || row >= kMaxConditions - 1) return;
  std::swap(set[row], set[row + 1]);
  FillConditionList();
  SelectRow(row + 1);
}

// ---- Checks and closing ---------------------------------------------------------------------

bool LyrRawDlgDiscussin::ValidateConditions() {
  const LogicCondition* set = GetConditionSet();
  if (set == nullptr) return true;
  const std::string missing = res::LoadString(kStrIsNotSpecified);
  const auto refuse = [&](int row, const std::string& text) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    SelectRow(row);
    return false;
  };
  const auto withArg = [&](const std::string& arg) {
    std::string text = missing;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, arg);
    return text;
  };
  const auto clauseFault = [&](const LogicTerm& t) -> std::string {
    if (t.valueCode == 0) return "row";
    const int kind = LogicChannelKind(t.valueCode);
    if (kind == 1 || kind == 2) {
      const int channel = t.valueCode == 13 ? RecognitionEmgChannel() : static_cast<std::int16_t>(t.channel);
      if (channel < 0) return "channel";
    }
    if (!(t.lower < t.upper)) return "bounds";
    return {};
  };
  for (int i = 0; i <= m_LastUsed && i < kMaxConditions; ++i) {
    const LogicCondition& c = set[i];
    const std::string number = std::to_string(i + 1);
    if (c.stage == 0) return refuse(i, withArg(number));
    if (i == m_LastUsed || c.stage == 255) continue;
    for (const LogicTerm* t : {&c.term1, c.andSwitch != 0 ? &c.term2 : nullptr}) {
      if (t == nullptr) continue;
      const std::string fault = clauseFault(*t);
      if (fault == "row") return refuse(i, withArg(number));
      if (fault == "channel") return refuse(i, withArg(res::LoadString(kStrChannelNo)));
      if (fault == "bounds") return refuse(i, res::LoadString(kStrBoundsEqual));
    }
  }
  return true;
}

void LyrRawDlgDiscussin::OnOK() {
  LogicCondition* set = GetConditionSet();
  if (!CheckCountField() || !ValidateConditions()) return;
  if (set != nullptr)
    for (int i = UsedCount(); i < kMaxConditions; ++i) set[i].stage = 0;
  EndDialog(ui::IDOK);
}

void LyrRawDlgDiscussin::OnCancel() {
  if (m_pDoc != nullptr) {
    m_pDoc->Params.logicOption = savedOption_;
    if (LogicCondition* set = GetConditionSet())
      for (int i = 0; i < kMaxConditions; ++i) set[i] = savedSet_[static_cast<std::size_t>(i)];
    m_pDoc->Params.fftBand = savedFftBand_;
    RecognitionEmgChannel() = savedEmgChannel_;
  }
  EndDialog(ui::IDCANCEL);
}

// ---- Last-stage screening and the recognition settings --------------------------------------

void LyrRawDlgDiscussin::OnMode(int mode) {
  if (m_pDoc == nullptr) return;
  m_pDoc->Params.logicOption.lastStageMode = static_cast<std::uint16_t>(mode);
  EnableItem(IDC_LOGIC_PARAMETER, mode != 0);
}

void LyrRawDlgDiscussin::OnParameter() {
  if (m_pDoc == nullptr) return;
  const int mode = m_pDoc->Params.logicOption.lastStageMode;
  if (mode == 1) {
    LyrDlgRkRules dlg(m_pDoc, this);
    dlg.DoModal();
  } else if (mode == 2) {
    LyrDlgStageChange dlg(m_pDoc, this);
    dlg.DoModal();
  }
}

void LyrRawDlgDiscussin::SetRecognitionChannel(int code, std::uint16_t channelField) {
  const int count = ChannelCount();
  int channel = static_cast<std::int16_t>(channelField);
  if (channel < 0 || channel >= count) channel = 0;
  WaveFormRecognitionParam& w = m_pDoc->Params.waveForm;
  using B = WaveFormRecognitionParam;
  const auto take = [channel](std::int32_t& target) {
    if (target < 0) target = channel;
  };
  switch (code) {
    case 1: take(w.bands[B::kDelta].channel); return;
    case 2: take(w.bands[B::kTheta].channel); return;
    case 3: take(w.bands[B::kAlpha].channel); return;
    case 4: take(w.bands[B::kSpindle].channel); return;
    case 5: case 6: take(w.bands[B::kBand1].channel); return;
    case 7: case 8: take(w.bands[B::kBand2].channel); return;
    case 9: case 10: take(w.bands[B::kBand3].channel); return;
    case 11: take(w.kComplex.channel); return;
    case 12:
      if (w.eogRight.channel < 0 || w.eogLeft.channel < 0) w.eogRight.channel = w.eogLeft.channel = channel;
      return;
    default: break;
  }
  if (code < 14 || code > 25) return;
  FFTBandParam& band = m_pDoc->Params.fftBand;
  const int needed = (code - 14) / 2 + 1;
  if (band.bandCount < needed) band.bandCount = static_cast<std::uint16_t>(needed);
  bool anyFlagged = false;
  for (int ch = 0; ch < count; ++ch) anyFlagged = anyFlagged || band.channelSwitch[static_cast<std::size_t>(ch)] == 1;
  if (!anyFlagged && count > 0) band.channelSwitch[static_cast<std::size_t>(channel)] = 1;
}

void LyrRawDlgDiscussin::SyncRecognitionChannels() {
  const LogicCondition* set = GetConditionSet();
  if (set == nullptr || AnimalOnlyMode != 0) return;
  for (int i = 0; i < m_LastUsed && i < kMaxConditions; ++i) {
    const LogicCondition& c = set[i];
    SetRecognitionChannel(c.term1.valueCode, c.term1.channel);
    if (c.andSwitch == 1) SetRecognitionChannel(c.term2.valueCode, c.term2.channel);
  }
}

bool LyrRawDlgDiscussin::CheckAnimalOnlyLogic(const LogicConditionSet& set, const LogicOptionParam& option) {
  if (AnimalOnlyMode == 0) return true;
  const auto human = [](std::uint16_t code) { return (code >= 1 && code <= 4) || code == 11 || code == 12; };
  for (const LogicCondition& c : set) {
    if (c.stage == 0) break;
    if (human(c.term1.valueCode) || (c.andSwitch != 0 && human(c.term2.valueCode))) return false;
  }
  return option.lastStageMode != 1;
}

// ---- FFT settings -----------------------------------------------------------------------------

void LyrRawDlgDiscussin::OnSettingFFT() {
  if (m_pDoc == nullptr) return;
  const int selected = Item(IDC_LOGIC_LIST).GetCurSel();
  const int row = selected >= 0 ? selected : 0;
  LyrRawDlgSettingFFT host(this);
  host.m_pDoc = m_pDoc;
  host.m_CheckOnly = m_CheckOnly;
  if (host.DoModal() != ui::IDOK) return;
  FillParameterCombos();
  FillConditionList();
  SelectRow(row);
}

LyrRawDlgSettingFFT::LyrRawDlgSettingFFT(ui::Window* parent) : ui::Dialog(IDD_LOGIC_SETTING_FFT, parent) {}

ui::Rect LyrRawDlgSettingFFT::PageRect() const {
  const ui::Rect client = GetClientRect();
  int bottom = Item(ui::IDOK).GetRectInOwner().top - 5;
  if (bottom <= 5) bottom = client.bottom - 5;
  return ui::Rect{5, 5, std::max(5, client.right - 5), bottom};
}

void LyrRawDlgSettingFFT::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::Dialog::OnSize(sizeType, cx, cy);
  const ui::Rect r = PageRect();
  if (!r.IsEmpty() && m_Fft.IsWindow()) m_Fft.MoveWindow(r);
}

bool LyrRawDlgSettingFFT::OnInitDialog() {
  m_Fft.m_pDoc = m_pDoc;
  m_Fft.CreatePage(this, PageRect());
  if (m_CheckOnly != 0) {
    m_Fft.SetReadOnly(true);
    EnableItem(ui::IDOK, false);
  }
  m_Fft.ShowWindow(ui::SW_SHOWNORMAL);
  return true;
}

void LyrRawDlgSettingFFT::OnOK() {
  if (m_CheckOnly != 0 || m_Fft.ApplySettings() == 0) return;
  m_Fft.DestroyWindow();
  EndDialog(ui::IDOK);
}

void LyrRawDlgSettingFFT::OnCancel() {
  m_Fft.RestoreSettings();
  EndDialog(ui::IDCANCEL);
}
