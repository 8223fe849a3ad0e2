#include "app/scoring/lyr_dlg_screening_logic.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/stage_names.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "app/scoring/lyr_dlg_time_occupancy.h"
#include "platform/res/resource_store.h"
#include "platform/system/program_folder.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdsColumns = 2503;
constexpr std::uint32_t kIdsWidths = 2504;
constexpr std::uint32_t kIdsCountRange = 2529;
constexpr std::uint32_t kIdsBounds = 2551;
constexpr std::uint32_t kIdsPreviousStage = 2263;
constexpr std::uint32_t kIdsNotSpecified = 2311;
constexpr std::uint32_t kIdsPower = 2501;
constexpr std::uint32_t kIdsRatio = 2505;
constexpr std::uint32_t kIdsParameterNotSelected = 62430;
constexpr std::uint32_t kIdsOneAuto = 62431;
constexpr std::uint32_t kIdsIntegral = 2260;
constexpr int kPrevious = 255;

std::vector<std::string> Items(std::uint32_t id) {
  std::vector<std::string> out;
  const std::string text = res::LoadString(id);
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t comma = text.find(',', at);
    out.push_back(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return out;
}

// Bound kinds of the bound combos' items "Auto", "Mean", "Median", "Max", "Min".
constexpr std::uint16_t kKindOfItem[5] = {kMsBoundAuto, kMsBoundMean, kMsBoundMedian, kMsBoundMax, kMsBoundMin};

std::string BoundText(std::uint16_t kind, float value) {
  switch (kind) {
    case kMsBoundAuto: return "Auto";
    case kMsBoundMax: return "Max";
    case kMsBoundMin: return "Min";
    case kMsBoundMean: return "Mean";
    case kMsBoundMedian: return "Median";
    default: {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(value));
      return buf;
    }
  }
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// A whole number from the count field ("0123456789.-" only), else none.
std::optional<int> ParseCount(const std::string& text) {
  const std::string t = Trim(text);
  if (t.empty() || t.find_first_not_of("0123456789.-") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const long v = std::strtol(t.c_str(), &end, 10);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return static_cast<int>(v);
}

}  // namespace

LyrDlgScreeningLogic::LyrDlgScreeningLogic(LyrDlgMultiScreening* owner, const LyrMultiScreeningSetting& values)
    : ui::Dialog(IDD_SCREENING_LOGIC, owner), Values(values), owner_(owner) {
  MapNotify(IDC_MSL_COUNT, ui::EN_CHANGE, [this] { OnCountChange(); });
  MapNotify(IDC_MSL_COUNT, ui::EN_KILLFOCUS, [this] { OnCountKillFocus(); });
  MapNotify(IDC_MSL_COUNT_SPIN, ui::UDN_DELTAPOS, [this] { SetDlgItemInt(IDC_MSL_COUNT, Item(IDC_MSL_COUNT_SPIN).GetPos()); });
  MapNotify(IDC_MSL_LIST, ui::NM_CLICK, [this] {
    if (!filling_ && SelectedRow() >= 0) ShowCondition(SelectedRow());
  });
  MapNotify(IDC_MSL_LIST, ui::LVN_ITEMCHANGED, [this] {
    if (!filling_ && SelectedRow() >= 0) ShowCondition(SelectedRow());
  });
  MapCommand(IDC_MSL_AND, [this] { EnableTerms(); });
  MapCommand(IDC_MSL_APPLY, [this] { ApplyRow(); });
  MapCommand(IDC_MSL_DELETE, [this] { OnDelete(); });
  MapCommand(IDC_MSL_UP, [this] { OnMove(-1); });
  MapCommand(IDC_MSL_DOWN, [this] { OnMove(1); });
  MapCommand(IDC_MSL_LAST_STAGE, [this] { EnableLastStage(); });
  MapNotify(IDC_MSL_LAST_FROM, ui::CBN_SELCHANGE, [this] {
    const int sel = Item(IDC_MSL_LAST_FROM).GetCurSel();
    SetDlgItemText(IDC_MSL_LAST_FROM_COPY, sel >= 0 ? Item(IDC_MSL_LAST_FROM).GetString(sel) : std::string());
  });
  MapCommand(IDC_MSL_OCCUPANCY, [this] { OnTimeOccupancy(); });
}

LyrDlgScreeningLogic::~LyrDlgScreeningLogic() = default;

std::vector<std::pair<int, std::string>> LyrDlgScreeningLogic::StageList(const CQLM2_AnalyzerDoc* doc) {
  StageTypeParam defaults;
  SetDefaultStageTypeParam(&defaults);
  const StageTypeParam& block = doc != nullptr ? doc->Params.stageType : defaults;
  static const std::vector<int> kCodes[4] = {{1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 7}, {1, 2, 3, 5, 7}, {1, 2, 3, 7}};
  std::vector<std::pair<int, std::string>> out;
  if (block.stageType > 3) return out;
  for (int code : kCodes[block.stageType]) out.emplace_back(code, GetStageName(block, code));
  const int extra = std::clamp<int>(block.sharedInUse, 0, 3);
  for (int k = 0; k < extra; ++k)
    out.emplace_back(8 + k, doc != nullptr ? GetStageName(block, 8 + k) : "F" + std::to_string(k + 1));
  return out;
}

std::string LyrDlgScreeningLogic::StageName(int code) const {
  if (code == kPrevious) return res::LoadString(kIdsPreviousStage);
  for (const auto& [c, name] : stages_)
    if (c == code) return name;
  return {};
}

std::vector<std::pair<int, std::string>> LyrDlgScreeningLogic::ParameterItems() const {
  std::vector<std::pair<int, std::string>> out;
  out.emplace_back(13, "EMG- " + res::LoadString(kIdsIntegral));
  const int bands = std::min<int>({Values.BandCount, kMsMaxBands, static_cast<int>(Values.Bands.size())});
  for (int b = 0; b < bands; ++b) {
    const std::string& name = Values.Bands[static_cast<std::size_t>(b)].Name;
    out.emplace_back(14 + 2 * b, "EEG- FFT:" + name + " " + res::LoadString(kIdsPower));
    out.emplace_back(15 + 2 * b, "EEG- FFT:" + name + " " + res::LoadString(kIdsRatio));
  }
  const std::pair<int, std::uint32_t> words[] = {{26, 2256}, {27, 2257}, {28, 2258}, {29, 2260},
                                                 {30, 2261}, {31, 2259}, {32, 2502}};
  for (const auto& [code, id] : words) out.emplace_back(code, res::LoadString(id));
  return out;
}

std::vector<LyrDlgScreeningLogic::ChannelItem> LyrDlgScreeningLogic::ChannelItems() const {
  static const char* const kFormats[4] = {"%02d:EEG%02d", "%02d:EMG%02d", "%02d:Loc%02d", "%02d:No-Attr%02d"};
  std::vector<ChannelItem> out;
  int counts[4] = {};
  for (int r = 0; r < Values.ChannelsPerAnimal && r < static_cast<int>(Values.ChannelAttributes.size()); ++r) {
    const int kind = std::min<int>(Values.ChannelAttributes[static_cast<std::size_t>(r)].Attribute, 3);
    char buf[48];
    std::snprintf(buf, sizeof buf, kFormats[kind], r + 1, counts[kind] + 1);
    std::string text = buf;
    if (Doc != nullptr && r < Doc->RecordInfo.channelCount) text += "/ " + Doc->ChInfo[static_cast<std::size_t>(r)].name;
    out.push_back({kind, counts[kind], text});
    ++counts[kind];
  }
  return out;
}

bool LyrDlgScreeningLogic::OnInitDialog() {
  filling_ = true;
  stages_ = StageList(Doc);
  const std::array<std::pair<CIconButtonEx*, int>, 3> buttons = {
      {{&upButton_, IDC_MSL_UP}, {&downButton_, IDC_MSL_DOWN}, {&deleteButton_, IDC_MSL_DELETE}}};
  const std::array<std::pair<std::uint32_t, std::uint32_t>, 3> icons = {{{353, 352}, {351, 350}, {355, 354}}};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i].first->SubclassDlgItem(buttons[i].second, *this);
    buttons[i].first->SetIcon(icons[i].first, icons[i].second);
    buttons[i].first->SetFlat(true);
  }
  if (Values.Conditions.empty()) Values.AddCondition();
  if (Values.Conditions.size() > static_cast<std::size_t>(kMsMaxConditions))
    Values.Conditions.resize(static_cast<std::size_t>(kMsMaxConditions));
  Item(IDC_MSL_COUNT_SPIN).SetRange(1, kMsMaxConditions);
  Item(IDC_MSL_COUNT_SPIN).SetPos(static_cast<int>(Values.Conditions.size()));
  SetDlgItemInt(IDC_MSL_COUNT, static_cast<long long>(Values.Conditions.size()));

  ui::Control list = Item(IDC_MSL_LIST);
  list.SetFullRowSelect(true);
  list.SetGridLines(true);
  const std::vector<std::string> titles = Items(kIdsColumns);
  const std::vector<std::string> widths = Items(kIdsWidths);
  const int width = std::max(list.GetClientRect().Width() - 18, 200);
  for (std::size_t c = 0; c < titles.size() && c < widths.size(); ++c)
    list.InsertColumn(static_cast<int>(c), titles[c], static_cast<int>(width * std::atof(widths[c].c_str()) / 100.0));

  const std::vector<std::string> bounds = Items(kIdsBounds);
  const auto parameters = ParameterItems();
  const auto channels = ChannelItems();
  for (int t = 0; t < 2; ++t) {
    for (int f : {0, 5}) {
      ui::Control c = Item(MsLogicTermControl(t, f));
      c.ResetContent();
      for (const std::string& b : bounds) c.AddString(b);
    }
    for (int f : {1, 4}) {
      ui::Control c = Item(MsLogicTermControl(t, f));
      c.ResetContent();
      c.AddString("<");
      c.AddString("<=");
    }
    ui::Control p = Item(MsLogicTermControl(t, 2));
    p.ResetContent();
    for (const auto& [code, text] : parameters) p.SetItemData(p.AddString(text), code);
    ui::Control ch = Item(MsLogicTermControl(t, 3));
    ch.ResetContent();
    for (const ChannelItem& c : channels) ch.AddString(c.text);
  }
  ui::Control stage = Item(IDC_MSL_STAGE);
  stage.ResetContent();
  for (const auto& [code, name] : stages_) stage.SetItemData(stage.AddString(name), code);
  stage.SetItemData(stage.AddString(res::LoadString(kIdsPreviousStage)), kPrevious);
  for (int id : {IDC_MSL_LAST_FROM, IDC_MSL_LAST_TARGET, IDC_MSL_LAST_RESULT}) {
    ui::Control c = Item(id);
    c.ResetContent();
    for (const auto& [code, name] : stages_) c.SetItemData(c.AddString(name), code);
  }
  FillList();
  SelectRow(0);
  ShowCondition(0);

  CheckDlgButton(IDC_MSL_LAST_STAGE, Values.LastStageScreening != 0 ? 1 : 0);
  auto select = [&](int id, int code) {
    ui::Control c = Item(id);
    for (int i = 0; i < c.GetCount(); ++i)
      if (c.GetItemData(i) == code) c.SetCurSel(i);
  };
  select(IDC_MSL_LAST_FROM, Values.LastStageFrom);
  select(IDC_MSL_LAST_TARGET, Values.LastStageTarget);
  select(IDC_MSL_LAST_RESULT, Values.LastStageResult);
  SetDlgItemText(IDC_MSL_LAST_FROM_COPY, StageName(Values.LastStageFrom));
  EnableLastStage();

  const CQLM2_AnalyzerApp* app = TheApp();
  const bool english = app != nullptr ? app->EnglishMode != 0 : res::CurrentLanguage() == res::Language::English;
  hint_.SubclassDlgItem(IDC_MSL_HINT, *this);
  hint_.SetLink(sys::ProgramFolder() + (english ? "/hint/QX_Hint_Logic_en.pdf" : "/hint/QX_Hint_Logic_jp.pdf"), true);
  filling_ = false;
  initialised_ = true;
  return true;
}

// ---- the list --------------------------------------------------------------------------

void LyrDlgScreeningLogic::FillList() {
  const bool wasFilling = filling_;
  filling_ = true;
  ui::Control list = Item(IDC_MSL_LIST);
  list.DeleteAllItems();
  for (std::size_t r = 0; r < Values.Conditions.size(); ++r) {
    list.InsertItem(-1, std::to_string(r + 1));
    FillRow(static_cast<int>(r));
  }
  EnableArrows();
  filling_ = wasFilling;
}

void LyrDlgScreeningLogic::FillRow(int row) {
  ui::Control list = Item(IDC_MSL_LIST);
  const MultiScreeningCondition& c = Values.Conditions[static_cast<std::size_t>(row)];
  for (int col = 1; col < list.GetColumnCount(); ++col) list.SetItemText(row, col, "");
  list.SetItemText(row, 0, std::to_string(row + 1));
  // The rows are named by the open recording's stages.
  if (Doc == nullptr) return;
  list.SetItemText(row, 1, StageName(c.Stage));
  if (row + 1 == static_cast<int>(Values.Conditions.size())) return;
  const auto parameters = ParameterItems();
  static const char* const kChannel[4] = {"EEG:%02d", "EMG:%02d", "Loc:%02d", "No-At:%02d"};
  auto term = [&](const MultiScreeningTerm& t, int first) {
    const bool previous = c.Stage == kPrevious;
    list.SetItemText(row, first, previous ? std::string() : BoundText(t.LowerKind, t.LowerValue));
    list.SetItemText(row, first + 1, t.LowerExclusive != 0 ? "<" : "<=");
    std::string param;
    if (t.Parameter == 13) param = "EMG" + res::LoadString(kIdsIntegral);
    else if (t.Parameter >= 14 && t.Parameter <= 25) {
      const std::size_t b = static_cast<std::size_t>(t.Parameter - 14) / 2;
      param = "FFT:" + (b < Values.Bands.size() ? Values.Bands[b].Name : std::string()) +
              res::LoadString((t.Parameter - 14) % 2 == 0 ? kIdsPower : kIdsRatio);
    } else {
      for (const auto& [code, text] : parameters)
        if (code == t.Parameter && code >= 26) param = text;
    }
    list.SetItemText(row, first + 2, param);
    char buf[32];
    std::snprintf(buf, sizeof buf, kChannel[std::min<int>(t.ChannelKind, 3)], t.ChannelNumber + 1);
    list.SetItemText(row, first + 3, buf);
    list.SetItemText(row, first + 4, t.UpperExclusive != 0 ? "<" : "<=");
    list.SetItemText(row, first + 5, previous ? std::string() : BoundText(t.UpperKind, t.UpperValue));
  };
  term(c.First, 2);
  if (c.UseSecond != 0) {
    list.SetItemText(row, 8, "&");
    term(c.Second, 9);
  }
}

int LyrDlgScreeningLogic::SelectedRow() const {
  ui::Control list = Item(IDC_MSL_LIST);
  for (int r = 0; r < list.GetCount(); ++r)
    if (list.IsSelected(r)) return r;
  return -1;
}

void LyrDlgScreeningLogic::SelectRow(int row) {
  const bool wasFilling = filling_;
  filling_ = true;
  ui::Control list = Item(IDC_MSL_LIST);
  for (int r = 0; r < list.GetCount(); ++r) list.SetSelected(r, r == row);
  if (row >= 0) list.EnsureVisible(row);
  filling_ = wasFilling;
  EnableArrows();
}

void LyrDlgScreeningLogic::ShowCondition(int row) {
  if (row < 0 || row >= static_cast<int>(Values.Conditions.size())) return;
  const MultiScreeningCondition& c = Values.Conditions[static_cast<std::size_t>(row)];
  ui::Control stage = Item(IDC_MSL_STAGE);
  stage.SetCurSel(-1);
  for (int i = 0; i < stage.GetCount(); ++i)
    if (stage.GetItemData(i) == c.Stage) stage.SetCurSel(i);
  const bool last = row + 1 == static_cast<int>(Values.Conditions.size());
  if (!last) {
    const auto parameters = ParameterItems();
    const auto channels = ChannelItems();
    auto show = [&](const MultiScreeningTerm& t, int r) {
      auto bound = [&](int f, std::uint16_t kind, float value) {
        ui::Control b = Item(MsLogicTermControl(r, f));
        const int item = kind == kMsBoundValue ? -1 : b.FindStringExact(BoundText(kind, value));
        if (item >= 0) b.SetCurSel(item);
        else b.SetText(BoundText(kMsBoundValue, value));
      };
      bound(0, t.LowerKind, t.LowerValue);
      Item(MsLogicTermControl(r, 1)).SetCurSel(t.LowerExclusive != 0 ? 0 : 1);
      int p = -1;
      for (std::size_t i = 0; i < parameters.size(); ++i)
        if (parameters[i].first == t.Parameter) p = static_cast<int>(i);
      Item(MsLogicTermControl(r, 2)).SetCurSel(p);
      int ch = -1;
      for (std::size_t i = 0; i < channels.size(); ++i)
        if (channels[i].kind == t.ChannelKind && channels[i].ordinal == t.ChannelNumber) ch = static_cast<int>(i);
      Item(MsLogicTermControl(r, 3)).SetCurSel(ch);
      Item(MsLogicTermControl(r, 4)).SetCurSel(t.UpperExclusive != 0 ? 0 : 1);
      bound(5, t.UpperKind, t.UpperValue);
    };
    show(c.First, 0);
    if (c.UseSecond != 0) show(c.Second, 1);
    CheckDlgButton(IDC_MSL_AND, c.UseSecond != 0 ? 1 : 0);
  }
  EnableTerms();
  EnableArrows();
}

void LyrDlgScreeningLogic::EnableTerms() {
  const int row = SelectedRow();
  const bool editable = row >= 0 && row + 1 < static_cast<int>(Values.Conditions.size());
  const bool second = editable && IsDlgButtonChecked(IDC_MSL_AND) != 0;
  for (int f = 0; f < 6; ++f) {
    EnableItem(MsLogicTermControl(0, f), editable);
    EnableItem(MsLogicTermControl(1, f), second);
  }
  EnableItem(IDC_MSL_AND, editable);
}

void LyrDlgScreeningLogic::EnableArrows() {
  const int rows = static_cast<int>(Values.Conditions.size());
  const int row = SelectedRow();
  EnableItem(IDC_MSL_DELETE, rows >= 2 && row >= 0);
  EnableItem(IDC_MSL_UP, rows >= 3 && row > 0);
  EnableItem(IDC_MSL_DOWN, rows >= 3 && row >= 0 && row + 1 < rows);
}

void LyrDlgScreeningLogic::EnableLastStage() {
  const bool on = IsDlgButtonChecked(IDC_MSL_LAST_STAGE) != 0;
  for (int id : {IDC_MSL_LAST_FROM, IDC_MSL_LAST_TARGET, IDC_MSL_LAST_FROM_COPY, IDC_MSL_LAST_RESULT}) EnableItem(id, on);
}

// ---- storing a condition ---------------------------------------------------------------

bool LyrDlgScreeningLogic::Fail(int focusId) {
  ui::MessageBox(res::LoadString(kIdsParameterNotSelected), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  Item(focusId).SetFocus();
  return false;
}

bool LyrDlgScreeningLogic::ApplyRow() {
  const int row = SelectedRow();
  if (row < 0) return true;
  MultiScreeningCondition c = Values.Conditions[static_cast<std::size_t>(row)];
  ui::Control stage = Item(IDC_MSL_STAGE);
  const int sel = stage.GetCurSel();
  if (sel < 0 || stage.GetItemData(sel) == 0) return Fail(IDC_MSL_STAGE);
  c.Stage = static_cast<std::uint8_t>(stage.GetItemData(sel));
  if (row + 1 < static_cast<int>(Values.Conditions.size())) {
    const auto parameters = ParameterItems();
    const auto channels = ChannelItems();
    const bool useSecond = IsDlgButtonChecked(IDC_MSL_AND) != 0;
    for (int t = 0; t < (useSecond ? 2 : 1); ++t) {
      MultiScreeningTerm term = t == 0 ? c.First : c.Second;
      auto bound = [&](int f, std::uint16_t* kind, float* value) {
        ui::Control b = Item(MsLogicTermControl(t, f));
        const int item = b.GetCurSel();
        const std::string text = Trim(b.GetText());
        if (item >= 0 && item < 5 && b.GetString(item) == text) {
          *kind = kKindOfItem[item];
          return true;
        }
        if (text.empty()) return Fail(MsLogicTermControl(t, f));
        const int exact = b.FindStringExact(text);
        if (exact >= 0 && exact < 5) {
          *kind = kKindOfItem[exact];
          return true;
        }
        *kind = kMsBoundValue;
        *value = static_cast<float>(std::atof(text.c_str()));
        return true;
      };
      if (!bound(0, &term.LowerKind, &term.LowerValue)) return false;
      const int lop = Item(MsLogicTermControl(t, 1)).GetCurSel();
      if (lop < 0) return Fail(MsLogicTermControl(t, 1));
      term.LowerExclusive = lop == 0 ? 1 : 0;
      const int p = Item(MsLogicTermControl(t, 2)).GetCurSel();
      if (p < 0 || p >= static_cast<int>(parameters.size())) return Fail(MsLogicTermControl(t, 2));
      term.Parameter = static_cast<std::uint16_t>(parameters[static_cast<std::size_t>(p)].first);
      const int ch = Item(MsLogicTermControl(t, 3)).GetCurSel();
      if (ch < 0 || ch >= static_cast<int>(channels.size())) return Fail(MsLogicTermControl(t, 3));
      term.ChannelKind = static_cast<std::uint16_t>(channels[static_cast<std::size_t>(ch)].kind);
      term.ChannelNumber = static_cast<std::uint16_t>(channels[static_cast<std::size_t>(ch)].ordinal);
      const int uop = Item(MsLogicTermControl(t, 4)).GetCurSel();
      if (uop < 0) return Fail(MsLogicTermControl(t, 4));
      term.UpperExclusive = uop == 0 ? 1 : 0;
      if (!bound(5, &term.UpperKind, &term.UpperValue)) return false;
      (t == 0 ? c.First : c.Second) = term;
    }
    c.UseSecond = useSecond ? 1 : 0;
  }
  Values.Conditions[static_cast<std::size_t>(row)] = c;
  FillRow(row);
  return true;
}

// ---- count, delete, move ---------------------------------------------------------------

void LyrDlgScreeningLogic::SetCount(int count) {
  while (static_cast<int>(Values.Conditions.size()) < count) Values.AddCondition();
  if (static_cast<int>(Values.Conditions.size()) > count) Values.Conditions.resize(static_cast<std::size_t>(count));
  int row = SelectedRow();
  FillList();
  if (row < 0 || row >= count) row = count - 1;
  SelectRow(row);
  ShowCondition(row);
}

void LyrDlgScreeningLogic::OnCountChange() {
  if (!initialised_ || filling_) return;
  const std::optional<int> n = ParseCount(GetDlgItemText(IDC_MSL_COUNT));
  if (!n || *n < 1 || *n > kMsMaxConditions) return;
  Item(IDC_MSL_COUNT_SPIN).SetPos(*n);
  if (*n != static_cast<int>(Values.Conditions.size())) SetCount(*n);
}

void LyrDlgScreeningLogic::OnCountKillFocus() {
  if (!initialised_) return;
  const std::optional<int> n = ParseCount(GetDlgItemText(IDC_MSL_COUNT));
  if (n && *n >= 1 && *n <= kMsMaxConditions) return;
  ui::MessageBeep(0);
  ui::MessageBox(res::LoadString(kIdsCountRange), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  Item(IDC_MSL_COUNT).SetFocus();
  Item(IDC_MSL_COUNT).SetSel(0, -1);
}

void LyrDlgScreeningLogic::OnDelete() {
  const int row = SelectedRow();
  if (row < 0 || Values.Conditions.size() < 2) return;
  Values.Conditions.erase(Values.Conditions.begin() + row);
  const int count = static_cast<int>(Values.Conditions.size());
  filling_ = true;
  Item(IDC_MSL_COUNT_SPIN).SetPos(count);
  SetDlgItemInt(IDC_MSL_COUNT, count);
  filling_ = false;
  FillList();
  const int select = std::min(row, count - 1);
  SelectRow(select);
  ShowCondition(select);
}

void LyrDlgScreeningLogic::OnMove(int delta) {
  const int row = SelectedRow();
  const int to = row + delta;
  if (row < 0 || to < 0 || to >= static_cast<int>(Values.Conditions.size())) return;
  std::swap(Values.Conditions[static_cast<std::size_t>(row)], Values.Conditions[static_cast<std::size_t>(to)]);
  FillList();
  SelectRow(to);
  ShowCondition(to);
}

void LyrDlgScreeningLogic::OnTimeOccupancy() {
  LyrDlgTimeOccupancy dlg(this);
  dlg.TargetOccupancy = Values.TargetOccupancy;
  dlg.LightPhaseStart = Values.LightPhaseStart;
  dlg.LightPhaseShare = Values.LightPhaseShare;
  dlg.Stages = stages_;
  if (dlg.DoModal() != ui::IDOK) return;
  Values.TargetOccupancy = dlg.TargetOccupancy;
  Values.LightPhaseStart = dlg.LightPhaseStart;
  Values.LightPhaseShare = dlg.LightPhaseShare;
}

// ---- OK and Cancel ---------------------------------------------------------------------

void LyrDlgScreeningLogic::OnOK() {
  if (SelectedRow() >= 0 && !ApplyRow()) return;
  const int count = static_cast<int>(Values.Conditions.size());
  // One "Auto" level per stage.
  std::map<int, std::vector<int>> autoRows;
  for (int i = 0; i + 1 < count; ++i) {
    const MultiScreeningCondition& c = Values.Conditions[static_cast<std::size_t>(i)];
    const bool automatic = c.First.LowerKind == kMsBoundAuto || c.First.UpperKind == kMsBoundAuto ||
                           (c.UseSecond != 0 && (c.Second.LowerKind == kMsBoundAuto || c.Second.UpperKind == kMsBoundAuto));
    if (automatic && c.Stage <= 10) autoRows[c.Stage].push_back(i);
  }
  int twice = -1;
  for (const auto& [stage, rows] : autoRows)
    if (rows.size() > 1) twice = rows.front();  // the map is ordered: the highest stage wins
  if (twice >= 0) {
    ui::MessageBox(res::LoadString(kIdsOneAuto), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    SelectRow(twice);
    ShowCondition(twice);
    return;
  }
  // Every condition complete; a channel ordinal must name one of the animal's channels.
  auto complete = [&](const MultiScreeningTerm& t) {
    return t.Parameter >= 13 && t.Parameter <= 32 && t.ChannelKind <= 3 &&
           t.ChannelNumber < Values.ChannelsPerAnimal;
  };
  for (int i = 0; i < count; ++i) {
    const MultiScreeningCondition& c = Values.Conditions[static_cast<std::size_t>(i)];
    const int stage = static_cast<std::int8_t>(c.Stage);
    bool ok = stage >= -1 && stage <= 10;
    if (ok && i + 1 < count) ok = complete(c.First) && (c.UseSecond == 0 || complete(c.Second));
    if (!ok) {
      ui::MessageBox(res::LoadString(kIdsNotSpecified), ui::MB_OK | ui::MB_ICONEXCLAMATION);
      SelectRow(i);
      ShowCondition(i);
      return;
    }
  }
  Values.LastStageScreening = IsDlgButtonChecked(IDC_MSL_LAST_STAGE) != 0 ? 1 : 0;
  if (Values.LastStageScreening != 0) {
    std::uint8_t* fields[3] = {&Values.LastStageFrom, &Values.LastStageTarget, &Values.LastStageResult};
    const int ids[3] = {IDC_MSL_LAST_FROM, IDC_MSL_LAST_TARGET, IDC_MSL_LAST_RESULT};
    for (int k = 0; k < 3; ++k) {
      const int sel = Item(ids[k]).GetCurSel();
      if (sel < 0) break;
      *fields[k] = static_cast<std::uint8_t>(Item(ids[k]).GetItemData(sel));
    }
  }
  if (owner_) owner_->TakeLogic(Values);
  Finish(ui::IDOK);
}

void LyrDlgScreeningLogic::OnCancel() { Finish(ui::IDCANCEL); }

void LyrDlgScreeningLogic::Finish(int code) {
  EndDialog(code);
  LyrDlgMultiScreening* owner = owner_;
  owner_ = nullptr;
  if (owner) owner->LogicClosed();
}
