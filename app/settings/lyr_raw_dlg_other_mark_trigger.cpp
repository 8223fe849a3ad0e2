#include "app/settings/lyr_raw_dlg_other_mark_trigger.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kTextNone = 64115;
constexpr std::uint32_t kTextUpDown = 64116;
constexpr std::uint32_t kTextDownUp = 64117;

// The stored name field holds 29 bytes and a terminating zero.
constexpr std::size_t kNameBytes = 29;

std::string FormatValue(float value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(value));
  return buf;
}

std::string FormatRow(std::uint32_t formatId, int row) {
  const std::string format = res::LoadString(formatId);
  const std::size_t at = format.find("%d");
  if (at == std::string::npos) return format;
  return format.substr(0, at) + std::to_string(row + 1) + format.substr(at + 2);
}

std::string FormatArg(std::uint32_t formatId, const std::string& arg) {
  const std::string format = res::LoadString(formatId);
  const std::size_t at = format.find("%s");
  if (at == std::string::npos) return format;
  return format.substr(0, at) + arg + format.substr(at + 2);
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

float ReadNumber(const std::string& text) { return static_cast<float>(std::atof(text.c_str())); }

// Cuts a name to the stored field without splitting a multi-byte character.
std::string FitName(std::string name) {
  if (name.size() <= kNameBytes) return name;
  std::size_t end = kNameBytes;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0u) == 0x80u) --end;
  name.resize(end);
  return name;
}

}  // namespace

LyrRawDlgOtherMarkTrigger::LyrRawDlgOtherMarkTrigger(ui::Window* parent) : ui::Dialog(IDD_OTHER_MARK_TRIGGER, parent) {
  for (int row = 0; row < static_cast<int>(kMarkTriggerRows.size()); ++row) {
    const MarkTriggerRowIds& ids = kMarkTriggerRows[static_cast<std::size_t>(row)];
    MapCommand(static_cast<std::uint32_t>(ids.detect), [this, row] { OnTriggerDetectClicked(row); });
    MapCommand(static_cast<std::uint32_t>(ids.colour), [this, row] { OnColor(row); });
    MapNotify(ids.channel, ui::CBN_SELCHANGE, [this, row] { OnSelchangeChannel(row); });
  }
}

int LyrRawDlgOtherMarkTrigger::ChannelCount() const {
  if (m_pDoc == nullptr) return 0;
  return std::clamp(m_pDoc->RecordInfo.channelCount, 0, 32);
}

bool LyrRawDlgOtherMarkTrigger::OnInitDialog() {
  m_Changed = 0;
  if (m_pDoc != nullptr) m_Items = m_pDoc->Params.markType.items;
  for (int row = 0; row < static_cast<int>(m_Items.size()); ++row) {
    const MarkTriggerRowIds& ids = kMarkTriggerRows[static_cast<std::size_t>(row)];
    Item(ids.name).SetLimitText(static_cast<int>(kNameBytes));
    Item(ids.swatch).SetOverlayPainter([this, row](draw::Dc& dc, const ui::Rect& client) {
      dc.FillSolidRect(client, m_Items[static_cast<std::size_t>(row)].colour);
    });
    ShowMark(row);
    SetTriggerDetect(row, m_Items[static_cast<std::size_t>(row)].triggerDetect);
  }
  return true;
}

void LyrRawDlgOtherMarkTrigger::ShowMark(int row) {
  MarkTypeParam::Item& item = m_Items[static_cast<std::size_t>(row)];
  const MarkTriggerRowIds& ids = kMarkTriggerRows[static_cast<std::size_t>(row)];
  const bool detect = item.triggerDetect == 1;
  SetDlgItemText(ids.name, detect ? item.name : std::string());
  CheckDlgButton(ids.show, item.show != 0 ? 1 : 0);

  ui::Control channel = Item(ids.channel);
  channel.ResetContent();
  channel.AddString(res::LoadString(kTextNone));
  const int count = ChannelCount();
  for (int ch = 0; ch < count; ++ch) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%3d:%s", ch + 1, m_pDoc->ChInfo[static_cast<std::size_t>(ch)].name.c_str());
    channel.AddString(buf);
  }
  // A channel the recording does not have shows as "None" and is kept as none.
  if (item.triggerChannel >= count) item.triggerChannel = -1;
  channel.SetCurSel(item.triggerChannel >= 0 ? item.triggerChannel + 1 : 0);

  ui::Control direction = Item(ids.direction);
  direction.ResetContent();
  direction.AddString(res::LoadString(kTextUpDown));
  direction.AddString(res::LoadString(kTextDownUp));
  direction.SetCurSel(item.direction != 0 ? 1 : 0);

  SetDlgItemText(ids.level, detect ? FormatValue(item.triggerLevel) : std::string());
  SetDlgItemText(ids.invalidTime, detect ? FormatValue(item.invalidTimeS) : std::string());
}

void LyrRawDlgOtherMarkTrigger::SetTriggerDetect(int row, int value) {
  MarkTypeParam::Item& item = m_Items[static_cast<std::size_t>(row)];
  const MarkTriggerRowIds& ids = kMarkTriggerRows[static_cast<std::size_t>(row)];
  item.triggerDetect = static_cast<std::uint16_t>(value);
  CheckDlgButton(ids.detect, value != 0 ? 1 : 0);
  const bool on = value != 0;
  for (int id : {ids.name, ids.show, ids.colour, ids.channel}) EnableItem(id, on);
  if (on) {
    SetMarkChannel(row, item.triggerChannel);
  } else {
    for (int id : {ids.direction, ids.level, ids.invalidTime}) EnableItem(id, false);
  }
}

void LyrRawDlgOtherMarkTrigger::SetMarkChannel(int row, int channel) {
  const MarkTriggerRowIds& ids = kMarkTriggerRows[static_cast<std::size_t>(row)];
  m_Items[static_cast<std::size_t>(row)].triggerChannel = static_cast<std::int16_t>(channel);
  for (int id : {ids.direction, ids.level, ids.invalidTime}) EnableItem(id, channel >= 0);
}

void LyrRawDlgOtherMarkTrigger::OnSelchangeChannel(int row) {
  SetMarkChannel(row, Item(kMarkTriggerRows[static_cast<std::size_t>(row)].channel).GetCurSel() - 1);
}

void LyrRawDlgOtherMarkTrigger::OnTriggerDetectClicked(int row) {
  const int id = kMarkTriggerRows[static_cast<std::size_t>(row)].detect;
  const int state = IsDlgButtonChecked(id);
  if (state == 0) {
    if (ui::MessageBox(this, res::LoadString(IDS_MT_MARKS_DELETED), ui::MessageBoxCaption(),
                       ui::MB_YESNO | ui::MB_ICONEXCLAMATION) != ui::IDYES) {
      CheckDlgButton(id, 1);
      return;
    }
    SetTriggerDetect(row, 0);
    return;
  }
  SetTriggerDetect(row, state);
}

void LyrRawDlgOtherMarkTrigger::OnColor(int row) {
  std::uint32_t chosen = 0;
  if (ui::ChooseColor(this, chosen) != ui::IDOK) return;
  m_Items[static_cast<std::size_t>(row)].colour = chosen;
  DrawColors();
}

void LyrRawDlgOtherMarkTrigger::DrawColors() {
  for (const MarkTriggerRowIds& ids : kMarkTriggerRows) Item(ids.swatch).Invalidate();
}

int LyrRawDlgOtherMarkTrigger::CheckSettings() {
  int result = 1;
  const std::string prefix = res::LoadString(IDS_MT_PREFIX);
  const auto fail = [&](const std::string& text, int focusId) {
    if (result != 0) {
      ui::MessageBox(this, prefix + text, ui::MessageBoxCaption(), ui::MB_OK | ui::MB_ICONEXCLAMATION);
      Item(focusId).SetFocus();
    }
    result = 0;
  };
  for (int row = 0; row < static_cast<int>(m_Items.size()); ++row) {
    MarkTypeParam::Item& item = m_Items[static_cast<std::size_t>(row)];
    const MarkTriggerRowIds& ids = kMarkTriggerRows[static_cast<std::size_t>(row)];
    item.name = FitName(GetDlgItemText(ids.name));
    item.show = static_cast<std::uint16_t>(IsDlgButtonChecked(ids.show) != 0 ? 1 : 0);
    if (item.triggerChannel < 0) continue;
    item.direction = static_cast<std::uint16_t>(Item(ids.direction).GetCurSel() == 1 ? 1 : 0);
    const bool detect = item.triggerDetect == 1;
    const std::string level = GetDlgItemText(ids.level);
    if (IsBlank(level) && detect)
      fail(FormatArg(IDS_MT_NOT_SPECIFIED, FormatRow(IDS_MT_LEVEL_VALUE, row)), ids.level);
    else
      item.triggerLevel = ReadNumber(level);
    if (!detect) continue;
    const std::string time = GetDlgItemText(ids.invalidTime);
    const float seconds = ReadNumber(time);
    if (IsBlank(time))
      fail(FormatArg(IDS_MT_NOT_SPECIFIED, FormatRow(IDS_MT_INVALID_TIME, row)), ids.invalidTime);
    else if (seconds < 0.0f)
      fail(FormatArg(IDS_MT_PLUS_VALUE, FormatRow(IDS_MT_INVALID_TIME, row)), ids.invalidTime);
    else
      item.invalidTimeS = std::fabs(seconds);
  }
  return result;
}

int LyrRawDlgOtherMarkTrigger::ApplySettings() {
  if (m_pDoc == nullptr) return 1;
  MarkTypeParam& block = m_pDoc->Params.markType;
  MarkTable& marks = m_pDoc->Marks;
  std::uint16_t count = 0;
  for (std::size_t i = 0; i < m_Items.size(); ++i) {
    MarkTypeParam::Item& item = m_Items[i];
    const int type = static_cast<int>(i);
    if (item.triggerDetect == 1) {
      ++count;
    } else {
      if (std::uint8_t* flags = marks.Flags(type)) std::fill_n(flags, marks.FlagLength(), std::uint8_t{0});
      if (float* start = marks.Start(type)) std::fill_n(start, marks.Capacity(), 0.0f);
      if (float* end = marks.End(type)) std::fill_n(end, marks.Capacity(), 0.0f);
      marks.SetCount(type, 0);
    }
    if (item.triggerDetect == 0) item.triggerChannel = -1;
    const MarkTypeParam::Item& old = block.items[i];
    if ((old.triggerChannel == -1 && item.triggerChannel != -1) || old.direction != item.direction ||
        old.triggerLevel != item.triggerLevel || old.invalidTimeS != item.invalidTimeS)
      m_Changed = 1;
    block.items[i] = item;
  }
  block.triggerCount = count;
  return 1;
}
