#include "app/document/doc_page_fill.h"

#include <algorithm>
#include <new>
#include <vector>

#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "common/fileaccess/fyn_file_access_ana.h"
#include "common/fileaccess/fyn_file_access_raw.h"

int FillPageBuffers(CQLM2_AnalyzerDoc& doc) {
  LyrRecordInfo& r = doc.RecordInfo;
  const int channels = std::clamp(r.channelCount, 0, 32);
  std::size_t total = 0;
  for (int c = 0; c < channels; ++c)
    total += static_cast<std::size_t>(std::max(doc.ChInfo[c].rate, 0)) * static_cast<std::size_t>(PageSeconds) + 1;
  std::vector<float> page;
  try {
    page.assign(total, 0.0f);
    for (auto& slot : r.pageBuffers) slot.assign(total, 0.0f);
  } catch (const std::bad_alloc&) {
    for (auto& slot : r.pageBuffers) std::vector<float>().swap(slot);
    return 1;
  }
  FynFileAccessRaw raw(r.path.c_str());
  FynFileAccessAna ana(r.path.c_str());
  if (r.sourceKind == 0 && raw.InitParams() != 0) return 1;
  if (r.sourceKind == 1 && ana.InitParams() != 0) return 1;
  for (int c = 0; c < channels; ++c) {
    const LyrChInfo& ch = doc.ChInfo[c];
    const std::uint32_t perPage = static_cast<std::uint32_t>(std::max(ch.rate, 0)) * static_cast<std::uint32_t>(PageSeconds);
    const std::int64_t first64 = static_cast<std::int64_t>(doc.CurrentPage) * perPage + ch.startOffset;
    if (perPage == 0 || first64 < 0 || first64 >= ch.dataCount) continue;
    const std::uint32_t first = static_cast<std::uint32_t>(first64);
    const std::uint32_t count = std::min<std::uint32_t>(perPage, ch.dataCount - first);
    float* out = doc.GetChDataPtr(0, static_cast<unsigned>(c), page.data());
    std::int16_t status = 0;
    if (r.sourceKind == 0) {
      status = raw.GetRawDataFloat(static_cast<std::int16_t>(c), first, first + count - 1, out, ch.invert);
    } else if (r.sourceKind == 1) {
      status = ana.GetAnaDataY(static_cast<std::int16_t>(c), first, first + count - 1, out, ch.invert);
    } else if (r.sourceKind == 3) {
      auto getRaw = PluginModule.Function<ImpGetRawData>("GetRawData");
      if (getRaw == nullptr) return 1;
      ImpReadRequest request{};
      request.first = first;
      request.count = count;
      status = getRaw(r.path.c_str(), 0, doc.MontageNumber, c, request, out) != 0 ? 0 : -1;
      if (status == 0 && ch.invert != 0)
        for (std::uint32_t i = 0; i < count; ++i) out[i] = -out[i];
    }
    if (status != 0) return 1;
  }
  for (auto& slot : r.pageBuffers) slot = page;
  return 0;
}
