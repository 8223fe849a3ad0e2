#include "app/settings/lyr_raw_dlg_other_mark_trigger.h"

#include "app/document/qlm2_analyzer_doc.h"

bool LyrRawDlgOtherMarkTrigger::OnInitDialog() {
  m_Changed = 0;
  if (m_pDoc != nullptr) m_Items = m_pDoc->Params.markType.items;
  return true;
}

int LyrRawDlgOtherMarkTrigger::CheckSettings() { return 1; }

int LyrRawDlgOtherMarkTrigger::ApplySettings() {
  if (m_pDoc == nullptr) return 1;
  MarkTypeParam& block = m_pDoc->Params.markType;
  std::uint16_t count = 0;
  for (std::size_t i = 0; i < m_Items.size(); ++i) {
    MarkTypeParam::Item& item = m_Items[i];
    if (item.triggerDetect == 1) ++count;
    else item.triggerChannel = -1;
    const MarkTypeParam::Item& old = block.items[i];
    if ((old.triggerChannel == -1 && item.triggerChannel != -1) || old.direction != item.direction ||
        old.triggerLevel != item.triggerLevel || old.invalidTimeS != item.invalidTimeS)
      m_Changed = 1;
    block.items[i] = item;
  }
  block.triggerCount = count;
  return 1;
}
