#include "app/raw/raw_text_output.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <new>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/text_sink.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kStrCannotMake = 63473;
constexpr std::uint32_t kStrEnterNewName = 63474;
constexpr std::uint32_t kStrComplete = 63475;
constexpr std::uint32_t kStrWriteFailed = 63477;
constexpr std::uint32_t kStrReadFailed = 63478;
constexpr std::uint32_t kStrMixedRates = 63479;
constexpr std::uint32_t kStrNoMemory = 2522;
constexpr char kWhere[] = "CMainFrame::OnRawTextOutput";
constexpr int kOwnRaw = 0;

struct WriteFailed {};

class Writer {
 public:
  Writer(CQLM2_AnalyzerDoc& doc, ui::Window* owner) : doc_(doc), owner_(owner) {}

  int Run(const std::string& path, const std::array<std::uint16_t, 32>& flags, std::int32_t first, std::int32_t last);

 private:
  enum class Next { kGoOn, kStop, kFailed };

  void Put(const std::string& text) {
    if (!sink_.Write(text)) throw WriteFailed{};
  }
  void Header() {
    doc_.OutputTextHeader(sink_, &count_);
    Put("\n");
    ++count_;
  }
  Next ApplyLimit();

  CQLM2_AnalyzerDoc& doc_;
  ui::Window* owner_;
  TextSink sink_;
  int count_ = 1;
};

Writer::Next Writer::ApplyLimit() {
  const std::int32_t limit = OutputMaxLines;
  if (limit <= 0 || count_ <= limit) return Next::kGoOn;
  const std::string folder = sys::FolderOf(sink_.TargetPath());
  if (!sink_.Commit()) throw WriteFailed{};
  ui::MessageBeep(ui::MB_ICONQUESTION);
  if (ui::MessageBoxId(kStrEnterNewName, ui::MB_OKCANCEL | ui::MB_ICONQUESTION) != ui::IDOK) return Next::kStop;
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     res::LoadString(IDS_SD_TEXT_FILE_FILTER), owner_);
  dlg.SetTitle(res::LoadString(IDS_SD_TEXT_FILE_TITLE));
  if (!folder.empty()) dlg.SetInitialFolder(folder);
  if (dlg.DoModal() != ui::IDOK || dlg.GetPathName().empty()) return Next::kStop;
  // A continuation that cannot be made ends the output; what was written stays.
  if (!sink_.Open(dlg.GetPathName())) {
    ui::MessageBoxId(kStrCannotMake, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return Next::kFailed;
  }
  count_ = 1;
  Header();
  return Next::kGoOn;
}

int Writer::Run(const std::string& path, const std::array<std::uint16_t, 32>& flags, std::int32_t first,
                std::int32_t last) {
  ui::WaitCursor wait;
  const int channels = std::clamp<int>(doc_.RecordInfo.channelCount, 0, 32);
  std::vector<int> chosen;
  for (int c = 0; c < channels; ++c)
    if (flags[static_cast<std::size_t>(c)] != 0) chosen.push_back(c);
  if (chosen.empty()) {
    ui::MessageBeep(ui::MB_ICONINFORMATION);
    ui::MessageBoxId(kStrComplete, ui::MB_OK | ui::MB_ICONINFORMATION);
    return 1;
  }
  // One line holds one instant of every chosen channel: their rates must agree.
  const std::int32_t rate = doc_.ChInfo[static_cast<std::size_t>(chosen[0])].rate;
  if (rate <= 0 || std::any_of(chosen.begin(), chosen.end(), [&](int c) {
        return doc_.ChInfo[static_cast<std::size_t>(c)].rate != rate;
      })) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(kStrMixedRates, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  const std::int32_t seconds = std::max<std::int32_t>(EpochSeconds, 1);
  if (first > last) std::swap(first, last);
  first = std::max<std::int32_t>(first, 0);

  // Where each channel's epoch lies in the read buffer.
  std::vector<std::size_t> offsets(static_cast<std::size_t>(channels), 0);
  for (int c = 1; c < channels; ++c) {
    const LyrChInfo& prev = doc_.ChInfo[static_cast<std::size_t>(doc_.RecordInfo.sourceKind == kOwnRaw ? 0 : c - 1)];
    offsets[static_cast<std::size_t>(c)] =
        offsets[static_cast<std::size_t>(c - 1)] + static_cast<std::size_t>(std::max(prev.rate, 0)) * seconds + 1;
  }
  const long long perEpoch = static_cast<long long>(rate) * seconds;
  const char sep = OutputDelimiterIsTab == 1 ? '\t' : ',';

  if (!sink_.Open(path)) {
    ui::MessageBoxId(kStrCannotMake, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  try {
    std::vector<float> buffer(doc_.GetPageBufferSize(static_cast<unsigned>(seconds)));
    count_ = 1;
    Header();
    std::string line = "Time";
    line += sep;
    for (int c : chosen) (line += doc_.ChInfo[static_cast<std::size_t>(c)].unit) += sep;
    Put(line + "\n");
    ++count_;
    Next next = ApplyLimit();
    // The label of a sample is its second's label with the milliseconds behind: the second's
    // part is made once per second.
    std::string label;
    std::int64_t labelSecond = -1;
    std::size_t labelStem = 0;
    char cell[64];
    for (std::int32_t e = first; e <= last && next == Next::kGoOn; ++e) {
      std::fill(buffer.begin(), buffer.end(), 0.0f);
      if (buffer.empty() || doc_.GetRawData(e, seconds, buffer.data()) == 0) {
        // What was written stays; the user is told the table is short.
        if (!sink_.Commit()) throw WriteFailed{};
        ui::MessageBoxId(kStrReadFailed, ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return 0;
      }
      for (long long j = 0; j < perEpoch && next == Next::kGoOn; ++j) {
        const long long sample = perEpoch * e + j;
        const std::int64_t ms = sample * 1000 / rate;
        if (ms / 1000 != labelSecond) {
          labelSecond = ms / 1000;
          doc_.GetMSecTimeString(ClockTimeDisplay, labelSecond * 1000, &label);
          labelStem = label.size() - 3;
        }
        label.resize(labelStem);
        const int milli = static_cast<int>(ms % 1000);
        label += static_cast<char>('0' + milli / 100);
        label += static_cast<char>('0' + milli / 10 % 10);
        label += static_cast<char>('0' + milli % 10);
        line = label;
        line += sep;
        for (int c : chosen) {
          // Fixed notation with six decimals, as "%f" prints it.
          const double v = buffer[offsets[static_cast<std::size_t>(c)] + static_cast<std::size_t>(j)];
          const auto done = std::to_chars(cell, cell + sizeof cell, v, std::chars_format::fixed, 6);
          line.append(cell, done.ptr);
          line += sep;
        }
        line += '\n';
        Put(line);
        ++count_;
        next = ApplyLimit();
      }
    }
    if (next == Next::kFailed) return 0;
    if (sink_.IsOpen() && !sink_.Commit()) throw WriteFailed{};
  } catch (const WriteFailed&) {
    sink_.Abort();
    ui::MessageBox(std::string(kWhere) + "\n" + res::LoadString(kStrWriteFailed));
    return 0;
  } catch (const std::bad_alloc&) {
    sink_.Abort();
    ui::MessageBox(std::string(kWhere) + "\n" + res::LoadString(kStrNoMemory));
    return 0;
  }
  ui::MessageBeep(ui::MB_ICONINFORMATION);
  ui::MessageBoxId(kStrComplete, ui::MB_OK | ui::MB_ICONINFORMATION);
  return 1;
}

}  // namespace

int WriteRawTextOutput(CQLM2_AnalyzerDoc& doc, const std::string& path, const std::array<std::uint16_t, 32>& flags,
                       std::int32_t firstEpoch, std::int32_t lastEpoch, ui::Window* owner) {
  Writer writer(doc, owner);
  return writer.Run(path, flags, firstEpoch, lastEpoch);
}
