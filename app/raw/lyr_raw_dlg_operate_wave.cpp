#include "app/raw/lyr_raw_dlg_operate_wave.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/raw/lyr_raw_dlg_gain_colour.h"
#include "app/raw/operate_wave_strings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

namespace {

std::string Format(const char* fmt, double v) {
  char buf[128];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

struct Column {
  std::uint32_t title;
  int width;
};
constexpr Column kColumns[] = {{IDS_OW_COL_NO, 40},    {IDS_OW_COL_CH, 100},   {IDS_OW_COL_SHOW, 50},
                               {IDS_OW_COL_GAIN, 60},  {IDS_OW_COL_SCALE, 130}, {IDS_OW_COL_TYPE, 100},
                               {IDS_OW_COL_COLOR, 60}};

}  // namespace

LyrRawDlgOperateWave::LyrRawDlgOperateWave(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : LyrRawChannelDialog(kTemplateId, doc, parent) {}

LyrRawDlgOperateWave::~LyrRawDlgOperateWave() = default;

int LyrRawDlgOperateWave::ChannelCount() const {
  if (doc_ == nullptr) return 0;
  return std::clamp<int>(doc_->RecordInfo.channelCount, 0, static_cast<int>(doc_->ChInfo.size()));
}

bool LyrRawDlgOperateWave::OnInitDialog() {
  try {
    ui::Control list = Item(kList);
    for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c)
      list.InsertColumn(c, res::LoadString(kColumns[c].title), kColumns[c].width);
    list.SetFullRowSelect(true);
    list.SetMultiSelect(true);
    FillRows();
    EvacuateDocument(true);
    MapCommand(kShowButton, [this] { OnShowCh(); });
    MapCommand(kGainButton, [this] { RunForSelection<LyrRawDlgGainCh>("LyrRawDlgOperateWave::OnBGainCh", 2); });
    MapCommand(kScaleButton, [this] { RunForSelection<LyrRawDlgScaleCh>("LyrRawDlgOperateWave::OnBScaleCh", 1); });
    MapCommand(kTypeButton, [this] { RunForSelection<LyrRawDlgTypeCh>("LyrRawDlgOperateWave::OnBTypeCh", 0); });
    MapCommand(kColorButton, [this] { RunForSelection<LyrRawDlgColorCh>("LyrRawDlgOperateWave::OnBColorCh", 1); });
  } catch (const std::exception&) {
    ui::MessageBox("LyrRawDlgOperateWave::OnInitDialog");
  }
  return true;
}

std::string LyrRawDlgOperateWave::TypeText(const LyrChInfo& ch) {
  const auto& w = ch.displayTypeWords;
  std::string text;
  if (w[0] != 0) {
    text += res::LoadString(IDS_OW_WAVEFORM) + ",";
    if (w[4] != 0) text += res::LoadString(IDS_OW_BASELINE);
    text += res::LoadString(w[1] == 1 ? IDS_OW_UPPER : w[1] == 2 ? IDS_OW_LOWER : IDS_OW_CENTER);
  }
  if (w[2] != 0) text += res::LoadString(IDS_OW_NUMERIC) + ",";
  if (w[3] != 0) text += res::LoadString(IDS_OW_CHARACTER) + ",";
  return text;
}

void LyrRawDlgOperateWave::FillRows() {
  ui::Control list = Item(kList);
  list.DeleteAllItems();
  const std::string on = res::LoadString(IDS_OW_ON);
  const std::string off = res::LoadString(IDS_OW_OFF);
  for (int i = 0; i < ChannelCount(); ++i) {
    const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(i)];
    char no[16];
    std::snprintf(no, sizeof no, "%3d", i + 1);
    const int row = list.InsertItem(-1, no);
    list.SetItemText(row, 1, ch.name);
    list.SetItemText(row, 2, ch.show != 0 ? on : off);
    list.SetItemText(row, 3, Format("x%.1f", ch.gain));
    list.SetItemText(row, 4, ch.scaleMode != 0 ? on + Format(": %.1f ", ch.scaleValue) + ch.unit : off);
    list.SetItemText(row, 5, TypeText(ch));
    list.SetItemText(row, 6, std::to_string(static_cast<unsigned long>(ch.colour)));
    list.SetItemSwatch(row, 6, true, ch.colour);
  }
}

bool LyrRawDlgOperateWave::GetSelectedCh() {
  try {
    const int n = ChannelCount();
    Selection.assign(static_cast<std::size_t>(n), 0);
    ui::Control list = Item(kList);
    bool any = false;
    for (int i = 0; i < n && i < list.GetCount(); ++i) {
      if (!list.IsSelected(i)) continue;
      Selection[static_cast<std::size_t>(i)] = 1;
      any = true;
    }
    return any;
  } catch (const std::exception&) {
    ui::MessageBox("LyrRawDlgOperateWave::GetSelectedCh");
    return false;
  }
}

void LyrRawDlgOperateWave::Reselect() {
  ui::Control list = Item(kList);
  for (int i = 0; i < static_cast<int>(Selection.size()) && i < list.GetCount(); ++i)
    list.SetSelected(i, Selection[static_cast<std::size_t>(i)] != 0);
}

void LyrRawDlgOperateWave::OnShowCh() {
  try {
    LyrRawDlgShowCh dlg(doc_, this);
    if (dlg.DoModal() == ui::IDOK) FillRows();
  } catch (const std::exception&) {
    ui::MessageBox("LyrRawDlgOperateWave::OnBShowCh");
  }
}

template <class Dlg>
void LyrRawDlgOperateWave::RunForSelection(const char* operation, int redraw) {
  try {
    GetSelectedCh();
    Dlg dlg(doc_, this);
    dlg.ChangeMarks = Selection;
    if (dlg.DoModal() == ui::IDOK) {
      FillRows();
    } else if (redraw != 0) {
      if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) {
        frame->RefreshAllViews(-1);
        if (redraw == 2) frame->RefreshBarCombos(true, false, false);
      }
    }
    Reselect();
  } catch (const std::exception&) {
    ui::MessageBox(operation);
  }
}

void LyrRawDlgOperateWave::EvacuateDocument(bool save) {
  try {
    const int n = ChannelCount();
    if (save) {
      backup_.assign(static_cast<std::size_t>(n), Backup{});
      for (int i = 0; i < n; ++i) {
        const LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(i)];
        backup_[static_cast<std::size_t>(i)] = Backup{ch.gain, ch.scaleMode, ch.scaleValue, ch.displayTypeWords};
      }
      return;
    }
    for (int i = 0; i < n && i < static_cast<int>(backup_.size()); ++i) {
      LyrChInfo& ch = doc_->ChInfo[static_cast<std::size_t>(i)];
      const Backup& b = backup_[static_cast<std::size_t>(i)];
      ch.gain = b.gain;
      ch.scaleMode = b.scaleMode;
      ch.scaleValue = b.scaleValue;
      ch.displayTypeWords = b.displayTypeWords;
    }
  } catch (const std::exception&) {
    ui::MessageBox("LyrRawDlgOperateWave::EvacuateDocument");
  }
}

void LyrRawDlgOperateWave::OnCancel() {
  EvacuateDocument(false);
  LyrRawChannelDialog::OnCancel();
}
