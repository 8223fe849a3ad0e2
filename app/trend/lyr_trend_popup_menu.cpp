#include "app/trend/lyr_trend_popup_menu.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_dlg_channel_selection.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/trend_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/ui/window.h"

namespace {

std::string Text(std::uint32_t id) { return res::LoadString(id); }

// First command of the six wave sub-items of categories 1..7.
constexpr std::array<std::uint32_t, 7> kWaveFirst{32893, 32899, 32905, 32911, 32917, 32923, 32856};
constexpr std::array<std::uint32_t, 6> kWaveSubTexts{2134, 2212, 2066, 2213, 2214, 2215};
constexpr std::array<std::uint32_t, 6> kBreathSubTexts{2224, 2225, 2226, 2221, 2227, 2228};
constexpr std::array<std::uint32_t, 6> kFftRatio{33157, 33158, 33159, 33162, 33160, 33161};
constexpr std::array<std::uint32_t, 7> kFree{33002, 33003, 33004, 33005, 33006, 33007, 33156};
constexpr std::array<std::uint32_t, 7> kFreeTexts{2256, 2257, 2258, 2259, 2260, 2261, 2502};

bool Set(int channel) { return channel >= 0; }

int ChannelCount(const CQLM2_AnalyzerDoc& doc) {
  return std::clamp<int>(doc.RecordInfo.channelCount, 0, static_cast<int>(doc.ChInfo.size()));
}

// Channels marked for FFT among the recording's.
int FftChannelCount(const CQLM2_AnalyzerDoc& doc, int* first = nullptr) {
  int count = 0;
  for (int c = 0; c < ChannelCount(doc); ++c) {
    if (doc.Params.fftBand.channelSwitch[static_cast<std::size_t>(c)] != 1) continue;
    if (count++ == 0 && first != nullptr) *first = c;
  }
  return count;
}

std::shared_ptr<ui::Menu> Popup(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> items) {
  auto menu = std::make_shared<ui::Menu>();
  for (auto [command, text] : items) menu->AppendItem(command, Text(text));
  return menu;
}

}  // namespace

std::optional<TrendItemCommand> TrendItemOfCommand(std::uint32_t id) {
  const auto in = [id](std::uint32_t first, std::uint32_t last) { return id >= first && id <= last; };
  const auto sub = [id](std::uint32_t first) { return static_cast<int>(id - first); };
  if (id == kCmdTrendItemNone) return TrendItemCommand{0, 0, 0, 0};
  for (int c = 0; c < 7; ++c)
    if (in(kWaveFirst[static_cast<std::size_t>(c)], kWaveFirst[static_cast<std::size_t>(c)] + 5))
      return TrendItemCommand{c + 1, sub(kWaveFirst[static_cast<std::size_t>(c)]), 0, 0};
  if (id == 32862) return TrendItemCommand{8, 0, 0, 0};
  if (id == 32864) return TrendItemCommand{9, 0, 0, 0};
  if (id == 32866) return TrendItemCommand{9, 1, 0, 0};
  if (id == 32867) return TrendItemCommand{9, 2, 0, 0};
  if (in(32868, 32871)) return TrendItemCommand{10, sub(32868), 0, 0};
  if (id == 32930) return TrendItemCommand{11, 0, 0, 0};
  if (id == 32932) return TrendItemCommand{11, 1, 0, 0};
  if (id == 32934) return TrendItemCommand{11, 2, 0, 0};
  if (id == 7) return TrendItemCommand{12, 0, 0, 0};
  if (in(32872, 32875)) return TrendItemCommand{13, sub(32872), 0, 0};
  if (id == 33014) return TrendItemCommand{13, 4, 0, 0};
  if (in(32876, 32881)) return TrendItemCommand{14, sub(32876), 0, 0};
  if (in(32935, 32940)) return TrendItemCommand{15, sub(32935), 0, 0};
  if (in(32941, 32946)) return TrendItemCommand{16, sub(32941), 0, 0};
  if (in(32882, 32883)) return TrendItemCommand{17, sub(32882), 0, 0};
  if (in(32884, 32886)) return TrendItemCommand{18, sub(32884), 0, 0};
  if (in(33037, 33039)) return TrendItemCommand{19, sub(33037), 0, 0};
  if (in(32947, 32949)) return TrendItemCommand{20, 0, sub(32947), 0};
  if (in(32950, 32952)) return TrendItemCommand{20, 1, sub(32950), 0};
  if (in(32953, 32955)) return TrendItemCommand{20, 2, sub(32953), 0};
  if (id == 33029) return TrendItemCommand{23, 0, 0, 0};
  if (id == 33030) return TrendItemCommand{24, 0, 0, 0};
  if (in(32887, 32892)) return TrendItemCommand{21, sub(32887), 0, 1};
  for (int b = 0; b < 6; ++b)
    if (id == kFftRatio[static_cast<std::size_t>(b)]) return TrendItemCommand{21, b + 6, 0, 1};
  for (int s = 0; s < 7; ++s)
    if (id == kFree[static_cast<std::size_t>(s)]) return TrendItemCommand{22, s, 0, 2};
  return std::nullopt;
}

std::unique_ptr<ui::Menu> BuildTrendItemMenu(const CQLM2_AnalyzerDoc* doc) {
  static const AnalysisParamBlocks kNone = [] {
    AnalysisParamBlocks b;
    return b;
  }();
  const AnalysisParamBlocks& p = doc != nullptr ? doc->Params : kNone;
  const WaveFormRecognitionParam& w = p.waveForm;
  const SleepDstrbParam& sd = p.sleepDstrb;
  auto menu = std::make_unique<ui::Menu>();
  // 1.
  menu->AppendItem(kCmdTrendScale, Text(2152));
  menu->AppendSeparator();
  menu->AppendItem(kCmdTrendItemNone, Text(2064));
  // 2. Recognised waves in the order Delta, Theta, Alpha, Spindle, bands 1..3.
  static constexpr std::array<int, 7> kBands{WaveFormRecognitionParam::kDelta, WaveFormRecognitionParam::kTheta,
                                             WaveFormRecognitionParam::kAlpha, WaveFormRecognitionParam::kSpindle,
                                             WaveFormRecognitionParam::kBand1, WaveFormRecognitionParam::kBand2,
                                             WaveFormRecognitionParam::kBand3};
  static constexpr std::array<std::uint32_t, 7> kNames{2054, 2055, 2053, 2056, 2057, 2058, 2059};
  for (int c = 0; c < 7; ++c) {
    const BandWaveRecord& band = w.bands[static_cast<std::size_t>(kBands[static_cast<std::size_t>(c)])];
    if (!Set(band.channel)) continue;
    auto sub = std::make_shared<ui::Menu>();
    for (int s = 0; s < 6; ++s)
      sub->AppendItem(kWaveFirst[static_cast<std::size_t>(c)] + static_cast<std::uint32_t>(s),
                      Text(kWaveSubTexts[static_cast<std::size_t>(s)]));
    const std::string name = c >= 4 && !band.name.empty() ? band.name : Text(kNames[static_cast<std::size_t>(c)]);
    menu->AppendPopup(name, sub);
  }
  // 3.
  menu->AppendSeparator();
  // 4.
  bool added = false;
  if (Set(w.emgChannel)) {
    menu->AppendPopup(Text(2063), Popup({{32862, 2136}}));
    added = true;
  }
  if (Set(w.eogRight.channel) || Set(w.eogLeft.channel)) {
    menu->AppendPopup(Text(2137), Popup({{32864, 2216}, {32866, 2217}, {32867, 2218}}));
    added = true;
  }
  if (Set(w.kComplex.channel)) {
    menu->AppendPopup(Text(2060), Popup({{32868, 2134}, {32869, 2212}, {32870, 2066}, {32871, 2213}}));
    added = true;
  }
  if (added) menu->AppendSeparator();
  // 5.
  added = false;
  if (Set(sd.airFlow.channel) && (Set(sd.chest.channel) || Set(sd.abdomen.channel))) {
    menu->AppendPopup(Text(2206), Popup({{32930, 2234}, {32932, 2235}, {32934, 2236}}));
    menu->AppendItem(7, Text(2207));
    added = true;
  }
  if (Set(sd.ecgChannel)) {
    menu->AppendPopup(Text(2167), Popup({{32872, 2220}, {32873, 2221}, {32874, 2222}, {32875, 2223}, {33014, 2308}}));
    added = true;
  }
  const std::array<std::pair<int, std::pair<std::uint32_t, std::uint32_t>>, 3> breaths{
      {{sd.airFlow.channel, {2163, 32876}}, {sd.chest.channel, {2165, 32935}}, {sd.abdomen.channel, {2166, 32941}}}};
  for (const auto& [channel, names] : breaths) {
    if (!Set(channel)) continue;
    auto sub = std::make_shared<ui::Menu>();
    for (int s = 0; s < 6; ++s)
      sub->AppendItem(names.second + static_cast<std::uint32_t>(s), Text(kBreathSubTexts[static_cast<std::size_t>(s)]));
    menu->AppendPopup(Text(names.first), sub);
    added = true;
  }
  if (Set(sd.positionChannel)) {
    menu->AppendPopup(Text(2208), Popup({{32882, 2208}, {32883, 2229}}));
    added = true;
  }
  if (Set(sd.spo2Channel)) {
    menu->AppendPopup(Text(2209), Popup({{32884, 2230}, {32885, 2231}, {32886, 2232}}));
    added = true;
  }
  if (Set(sd.cpapChannel)) {
    menu->AppendPopup(Text(2338), Popup({{33037, 2339}, {33038, 2340}, {33039, 2341}}));
    added = true;
  }
  const bool left = Set(sd.legLeft.channel), right = Set(sd.legRight.channel);
  if (left || right) {
    auto plm = std::make_shared<ui::Menu>();
    const auto group = [&](std::uint32_t legText, std::uint32_t first) {
      for (int m = 0; m < 3; ++m)
        plm->AppendItem(first + static_cast<std::uint32_t>(m),
                        Text(legText) + " " + Text(2237 + static_cast<std::uint32_t>(m)));
    };
    if (left) group(2241, 32950);
    if (right) {
      if (left) plm->AppendSeparator();
      group(2240, 32947);
    }
    if (left && right) {
      plm->AppendSeparator();
      group(2172, 32953);
    }
    menu->AppendPopup(Text(2210), plm);
    added = true;
  }
  if (Set(sd.snore.channel)) {
    menu->AppendItem(33029, Text(2320));
    added = true;
  }
  if (Set(sd.arousal.channel)) {
    menu->AppendItem(33030, Text(2321));
    added = true;
  }
  if (added) menu->AppendSeparator();
  // 6.
  if (doc != nullptr && FftChannelCount(*doc) > 0) {
    auto fft = std::make_shared<ui::Menu>();
    const int bands = std::clamp<int>(p.fftBand.bandCount, 0, 6);
    for (int b = 0; b < bands; ++b)
      fft->AppendItem(32887 + static_cast<std::uint32_t>(b), p.fftBand.bands[static_cast<std::size_t>(b)].name + "_Power");
    fft->AppendSeparator();
    for (int b = 0; b < bands; ++b)
      fft->AppendItem(kFftRatio[static_cast<std::size_t>(b)], p.fftBand.bands[static_cast<std::size_t>(b)].name + "_Ratio");
    menu->AppendPopup(Text(2211), fft);
  }
  // 7.
  auto free = std::make_shared<ui::Menu>();
  for (int s = 0; s < 7; ++s) {
    free->AppendItem(kFree[static_cast<std::size_t>(s)], Text(kFreeTexts[static_cast<std::size_t>(s)]));
    free->EnableItem(kFree[static_cast<std::size_t>(s)], doc != nullptr && DocumentLoaded != 0);
  }
  menu->AppendPopup(Text(2255), free);
  // 8.
  menu->AppendSeparator();
  menu->AppendItem(kCmdTrendItemCancel, Text(2242));
  return menu;
}

void LyrTrendPopUpMenuFrame::TrackItemMenu() {
  std::unique_ptr<ui::Menu> menu = BuildTrendItemMenu(doc_);
  ui::TrackPopupMenu(*menu, ui::GetCursorPos(), window_, 0);
}

int ChooseTrendItemChannel(CQLM2_AnalyzerDoc* doc, int mode, ui::Window* parent) {
  if (doc == nullptr) return -1;
  if (mode == 1) {
    int first = -1;
    const int marked = FftChannelCount(*doc, &first);
    if (marked == 0) return -1;
    if (marked == 1) return first;
  }
  LyrDlgChannelSelection dialog(mode == 1 ? 1 : 0, parent);
  dialog.Document = doc;
  if (dialog.DoModal() != ui::IDOK) return -1;
  return dialog.Result;
}

bool RunTrendItemCommand(LyrTrendDummyView& trend, int graph, std::uint32_t id, ui::Window* parent) {
  const std::optional<TrendItemCommand> command = TrendItemOfCommand(id);
  if (!command || graph < 0 || graph >= kMaxTrendGraphs) return false;
  int third = command->third;
  if (command->channelChoice != 0) {
    third = ChooseTrendItemChannel(trend.Doc(), command->channelChoice, parent);
    if (third < 0) return false;
  }
  SetTrendItem(trend, graph, command->category, command->sub, third);
  return true;
}

void SetTrendItem(LyrTrendDummyView& trend, int graph, int category, int sub, int third) {
  if (graph < 0 || graph >= kMaxTrendGraphs) return;
  const auto g = static_cast<std::size_t>(graph);
  TrendItem.category[g] = static_cast<std::uint16_t>(category);
  TrendItem.subItem[g] = static_cast<std::uint16_t>(sub);
  TrendItem.third[g] = static_cast<std::uint16_t>(third);
  trend.TrendArea.Values[g].ResetRange();
  if (LyrTrendInfoAreaView* info = trend.InfoArea()) {
    info->SetThresholdText();
    info->PushUndo(graph);
    info->EnableThresholdEdit();
    info->ShowCursorValues();
  }
  trend.TrendArea.RedrawGraphs();
}

int IsTrendItemAvailable(const CQLM2_AnalyzerDoc* doc, int graph) {
  if (graph < 0 || graph >= kMaxTrendGraphs) return 0;
  const int c = TrendItem.category[static_cast<std::size_t>(graph)];
  if (c == 0 || c == 22) return 1;
  if (doc == nullptr) return 0;
  const WaveFormRecognitionParam& w = doc->Params.waveForm;
  const SleepDstrbParam& sd = doc->Params.sleepDstrb;
  static constexpr std::array<int, 7> kBands{WaveFormRecognitionParam::kDelta, WaveFormRecognitionParam::kTheta,
                                             WaveFormRecognitionParam::kAlpha, WaveFormRecognitionParam::kSpindle,
                                             WaveFormRecognitionParam::kBand1, WaveFormRecognitionParam::kBand2,
                                             WaveFormRecognitionParam::kBand3};
  if (c >= 1 && c <= 7) return Set(w.bands[static_cast<std::size_t>(kBands[static_cast<std::size_t>(c - 1)])].channel);
  switch (c) {
    case 8: return Set(w.emgChannel);
    case 9: return Set(w.eogRight.channel) || Set(w.eogLeft.channel);
    case 10: return Set(w.kComplex.channel);
    case 11: case 12: case 14: return Set(sd.airFlow.channel);
    case 13: return Set(sd.ecgChannel);
    case 15: return Set(sd.chest.channel);
    case 16: return Set(sd.abdomen.channel);
    case 17: return Set(sd.positionChannel);
    case 18: return Set(sd.spo2Channel);
    case 19: return Set(sd.cpapChannel);
    case 20: return Set(sd.legLeft.channel) || Set(sd.legRight.channel);
    case 21: return FftChannelCount(*doc) > 0;
    case 23: return Set(sd.snore.channel);
    case 24: return Set(sd.arousal.channel);
    default: return 1;
  }
}
