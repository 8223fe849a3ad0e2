#include "app/trend/trend_text_output.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <new>
#include <span>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/text_sink.h"
#include "app/document/trend_item_names.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/lyr_trend_values.h"
#include "app/trend/trend_settings.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {

struct WriteFailed {};

std::string Format(const char* format, auto... args) {
  char text[512];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// The line counting, the line limit and the continuation in a new file or clipboard portion
// shared by the two outputs.
class LimitedOutput {
 public:
  explicit LimitedOutput(ui::Window* owner) : owner_(owner), clipboard_(OutputToClipboard == 1) {}
  enum class Next { kGoOn, kStop };

  bool Clipboard() const { return clipboard_; }
  TextSink& Sink() { return sink_; }
  int& Count() { return count_; }
  // Opens the file or the clipboard portion; a file that cannot be made is told.
  bool Start(const std::string& path) {
    path_ = path;
    if (clipboard_) return sink_.OpenClipboard();
    if (sink_.Open(path)) return true;
    Told(path);
    return false;
  }
  void Put(const std::string& text) {
    if (!sink_.Write(text)) throw WriteFailed{};
  }
  // A counted line; then the limit.
  Next Line(const std::string& text) {
    Put(text + "\n");
    ++count_;
    return CheckMaxLine();
  }
  // What a new file starts with (the clipboard portions start bare).
  std::function<void()> NewFileHeader;

  Next CheckMaxLine() {
    const std::int32_t limit = OutputMaxLines;
    if (limit <= 0 || count_ <= limit) return Next::kGoOn;
    const std::string folder = clipboard_ ? std::string() : sys::FolderOf(sink_.TargetPath());
    if (!sink_.Commit()) throw WriteFailed{};
    ui::MessageBeep(ui::MB_ICONQUESTION);
    if (ui::MessageBoxId(kStrEnterNewFileName, ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) return Next::kStop;
    if (clipboard_) {
      sink_.OpenClipboard();
      count_ = 1;
      return Next::kGoOn;
    }
    ui::FileDialog dlg(false, "txt", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT | ui::OFN_FILEMUSTEXIST,
                       res::LoadString(IDS_SD_TEXT_FILE_FILTER), owner_);
    dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
    if (!folder.empty()) dlg.SetInitialFolder(folder);
    if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return Next::kStop;
    path_ = dlg.GetPathName();
    if (!sink_.Open(path_)) throw WriteFailed{};
    count_ = 1;
    if (NewFileHeader) NewFileHeader();
    return Next::kGoOn;
  }
  // Puts the last file (or portion) in place; false after a failure, which was told.
  bool Finish() {
    if (!sink_.IsOpen()) return true;
    if (sink_.Commit()) return true;
    Told(path_);
    return false;
  }
  void Fail() {
    sink_.Abort();
    Told(path_);
  }

 private:
  void Told(const std::string& path) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    if (clipboard_) {
      ui::MessageBoxId(kStrClipboardFailed, ui::MB_OK | ui::MB_ICONEXCLAMATION);
      return;
    }
    const std::string format = res::LoadString(kStrFileNotWritten);
    std::vector<char> text(format.size() + path.size() + 16);
    std::snprintf(text.data(), text.size(), format.c_str(), path.c_str());
    ui::MessageBox(text.data(), ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }

  ui::Window* owner_;
  bool clipboard_;
  TextSink sink_;
  std::string path_;
  int count_ = 1;
};

// The per-breath list of a respiration category (14 air flow, 15 chest, 16 abdomen).
std::span<const RespPeakEntry> BreathList(CQLM2_AnalyzerDoc& doc, int category) {
  SleepDstrbTables& t = doc.RecognitionTables;
  const RespPeakTable* table = category == 14   ? &t.AirFlowPPAmp()
                               : category == 15 ? &t.RespCPPAmp()
                               : category == 16 ? &t.RespAPPAmp()
                                                : nullptr;
  if (table == nullptr) return {};
  const std::size_t n = std::min<std::size_t>(table->entries.size(), static_cast<std::size_t>(std::max(table->count, 0)));
  return {table->entries.data(), n};
}

class TrendTable {
 public:
  TrendTable(CQLM2_AnalyzerDoc& doc, ui::Window* owner) : doc_(doc), out_(owner), src_(TrendItemSourceOf(doc)) {}

  int Run(const std::string& path, std::int32_t start, std::int32_t end, int rangeLines) {
    ui::WaitCursor wait;
    if (start > end) std::swap(start, end);
    const std::int32_t count = EpochSeconds > 0 ? doc_.GetDivNum(EpochSeconds) : 0;
    start_ = std::max(start, 0);
    end_ = std::min(end, count - 1);
    rangeLines_ = rangeLines;
    sep_ = OutputDelimiterIsTab == 1 ? '\t' : ',';
    graphs_ = TrendGraphCountHeld();
    for (int g = 0; g < graphs_; ++g) values_[static_cast<std::size_t>(g)] = LyrTrendGraphValues(&doc_, g);
    if (!out_.Start(path)) return 0;
    out_.NewFileHeader = [this] { Header(); };
    try {
      if (!out_.Clipboard()) Header();
      Body();
      return out_.Finish() ? 1 : 0;
    } catch (const WriteFailed&) {
      out_.Fail();
    } catch (const std::bad_alloc&) {
      out_.Fail();
    }
    return 0;
  }

 private:
  using Next = LimitedOutput::Next;

  void Header() {
    doc_.OutputTextHeader(out_.Sink(), &out_.Count());
    Raw("\n");
    if (rangeLines_ == 0) return;
    std::string label;
    doc_.GetEpochTimeString(static_cast<unsigned>(start_), label);
    Raw(res::LoadString(kStrStartTime) + sep_ + label + sep_ + "\n");
    doc_.GetEpochTimeString(static_cast<unsigned>(end_), label);
    Raw(res::LoadString(kStrEndTime) + sep_ + label + "\n");
    Raw("\n");
  }
  // A counted line that does not meet the limit (the header's own lines).
  void Raw(const std::string& text) {
    out_.Put(text);
    ++out_.Count();
  }

  void Body() {
    if (!Heading(0)) return;
    for (std::int32_t e = start_; e <= end_; ++e)
      if (!Row(0, -1, e)) return;
    for (int g = 0; g < graphs_; ++g) {
      const TrendItemKey item = TrendItemOfGraph(g);
      const int kind = GetOutputKind(item.category, item.sub);
      if (kind == 0) continue;
      if (out_.Line("") == Next::kStop || !Heading(kind)) return;
      for (std::int32_t e = start_; e <= end_; ++e)
        if (!Row(kind, g, e)) return;
    }
  }

  std::string Name(int g) const {
    const TrendItemKey item = TrendItemOfGraph(g);
    std::string name = GetTrendItemName(src_, item.category);
    const std::string sub = GetTrendItemFullName(src_, item.category, item.sub);
    if (!sub.empty()) name += " " + sub;
    return name;
  }

  bool Heading(int kind) {
    std::string line;
    for (std::uint32_t id : {kStrTimeHeading, kStrEpochNo, kStrStageHeading}) (line += res::LoadString(id)) += sep_;
    for (int g = 0; g < graphs_; ++g) {
      const TrendItemKey item = TrendItemOfGraph(g);
      if (GetOutputKind(item.category, item.sub) == kind) (line += Name(g)) += sep_;
    }
    if (kind == 0) {
      if (out_.Line(line) == Next::kStop) return false;
      line.clear();
    } else {
      line += sep_;
    }
    line += std::string(3, sep_);
    for (int g = 0; g < graphs_; ++g) {
      const TrendItemKey item = TrendItemOfGraph(g);
      if (GetOutputKind(item.category, item.sub) == kind)
        (line += GetTrendItemUnit(src_, item.category, item.sub, item.third)) += sep_;
    }
    return out_.Line(line) == Next::kGoOn;
  }

  std::string PositionCell(int index) const {
    const SleepDstrbParam& p = doc_.Params.sleepDstrb;
    const int positions = std::clamp<int>(p.positionsInUse, 0, static_cast<int>(p.positions.size()));
    std::string cell = index >= 0 && index < positions ? GetPositionName(p, index) : std::string();
    return cell + sep_;
  }

  bool Row(int kind, int graph, std::int32_t e) {
    std::string line;
    doc_.GetEpochTimeString(static_cast<unsigned>(e), line);
    line += sep_;
    line += Format("%d%c", e, sep_);
    const int code = doc_.EpochTables.GetStage(doc_.Params.stageType.stageType, e, 0);
    std::string stage;
    doc_.GetStageName(static_cast<signed char>(code), stage);
    line += stage + (code >= 20 ? "*" : "") + sep_;
    if (kind == 0) {
      for (int g = 0; g < graphs_; ++g) {
        const TrendItemKey item = TrendItemOfGraph(g);
        if (GetOutputKind(item.category, item.sub) != 0) continue;
        const TrendValue v = values_[static_cast<std::size_t>(g)].GetTrendValue(e);
        if (item.category == 17 && item.sub == 1) {
          line += PositionCell(v.isFloat != 0 ? static_cast<int>(v.floatValue) : v.value - 1);
        } else if (v.isFloat != 0) {
          line += Format("%.6f%c", static_cast<double>(v.floatValue), sep_);
        } else {
          line += Format("%d%c", static_cast<int>(v.value), sep_);
        }
      }
    } else if (kind == 1) {
      const int n = EpochSeconds * 2;
      for (int s = 0; s < n; ++s) {
        float signal = 0.0f;
        int positionClass = 0;
        values_[static_cast<std::size_t>(graph)].GetPositionValue(e, s, signal, positionClass);
        line += PositionCell(positionClass - 1);
      }
    } else {
      const TrendItemKey item = TrendItemOfGraph(graph);
      const std::span<const RespPeakEntry> list = BreathList(doc_, item.category);
      const long long m = static_cast<long long>(EpochSeconds) * 4;
      const long long lo = e * m, hi = (e + 1) * m - 1;
      const std::size_t stride = kind == 2 ? 1 : 2;
      // The list runs in time order: start at the epoch's first entry (an even one for the
      // walks over the like points of consecutive breaths).
      std::size_t from = static_cast<std::size_t>(
          std::partition_point(list.begin(), list.end(), [lo](const RespPeakEntry& x) { return x.point < lo; }) -
          list.begin());
      if (stride == 2 && from % 2 != 0) ++from;
      for (std::size_t j = from; j < list.size(); j += stride) {
        const long long p = list[j].point;
        if (p > hi) break;
        if (p < lo) continue;
        if (kind == 2) {
          line += Format("%.6f%c", static_cast<double>(list[j].value), sep_);
          continue;
        }
        // The first breath has no breath before it: no interval.
        if (j < 2) continue;
        const double interval = static_cast<double>(p - list[j - 2].point) * 0.25;
        const double cell = kind == 3 || interval == 0.0 ? interval : 60.0 / interval;
        line += Format("%.6f%c", cell, sep_);
      }
    }
    return out_.Line(line) == Next::kGoOn;
  }

  CQLM2_AnalyzerDoc& doc_;
  LimitedOutput out_;
  TrendItemSource src_;
  std::array<LyrTrendGraphValues, 20> values_;
  std::int32_t start_ = 0, end_ = 0;
  int rangeLines_ = 0;
  int graphs_ = 1;
  char sep_ = ',';
};

}  // namespace

int GetOutputKind(int category, int sub) {
  if (category == 17 && sub == 0) return 1;
  if (category >= 14 && category <= 16) {
    if (sub == 0) return 2;
    if (sub == 2) return 3;
    if (sub == 4) return 4;
  }
  return 0;
}

int WriteTrendTextTable(CQLM2_AnalyzerDoc& doc, const std::string& path, std::int32_t start, std::int32_t end,
                        int rangeLines, ui::Window* owner) {
  TrendTable table(doc, owner);
  return table.Run(path, start, end, rangeLines);
}

int WriteEcgRrText(CQLM2_AnalyzerDoc& doc, const std::string& path, std::int32_t start, std::int32_t end,
                   ui::Window* owner) {
  const int ch = doc.Params.sleepDstrb.ecgChannel;
  const int channels = std::clamp<int>(doc.RecordInfo.channelCount, 0, static_cast<int>(doc.ChInfo.size()));
  const std::int32_t rate = ch >= 0 && ch < channels ? doc.ChInfo[static_cast<std::size_t>(ch)].rate : 0;
  if (rate <= 0 || EpochSeconds <= 0) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrNoEcgChannel, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  ui::WaitCursor wait;
  if (start > end) std::swap(start, end);
  const double dt = 1.0 / rate;
  const long long perEpoch = static_cast<long long>(rate) * EpochSeconds;
  const long long first = perEpoch * start;
  const long long last = (static_cast<long long>(end) + 1) * perEpoch - 1;
  const char sep = OutputDelimiterIsTab == 1 ? '\t' : ',';
  LimitedOutput out(owner);
  if (!out.Start(path)) return 0;
  out.NewFileHeader = [&] {
    doc.OutputTextHeader(out.Sink(), &out.Count());
    out.Put("\n");
    ++out.Count();
  };
  try {
    out.NewFileHeader();
    std::string heading;
    for (std::uint32_t id : {kStrNo, kStrTimeHeading, kStrSec, kStrMsec}) (heading += res::LoadString(id)) += sep;
    if (out.Line(heading) == LimitedOutput::Next::kGoOn) {
      EcgRcgnzTable& peaks = doc.RecognitionTables.ECGRcgnz();
      const std::size_t n = std::min<std::size_t>(peaks.positions.size(), static_cast<std::size_t>(std::max(peaks.count, 0)));
      std::string label;
      for (std::size_t i = 1; i < n; ++i) {
        const long long p = peaks.positions[i];
        if (p < first || p > last) continue;
        doc.GetSampleTimeString(static_cast<int>(p), static_cast<unsigned>(ch), label);
        const std::string line = Format("%lu%c%s%c%.3f%c%f", static_cast<unsigned long>(i), sep, label.c_str(), sep,
                                        static_cast<double>(p - first) * dt, sep,
                                        dt * 1000.0 * static_cast<double>(p - peaks.positions[i - 1]));
        if (out.Line(line) == LimitedOutput::Next::kStop) break;
      }
    }
    if (!out.Finish()) return 0;
  } catch (const WriteFailed&) {
    out.Fail();
    return 0;
  } catch (const std::bad_alloc&) {
    out.Fail();
    return 0;
  }
  ui::MessageBeep(ui::MB_ICONINFORMATION);
  ui::MessageBoxId(kStrTextOutputComplete, ui::MB_OK | ui::MB_ICONINFORMATION);
  return 1;
}
