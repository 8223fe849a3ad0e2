#include "app/scoring/lyr_auto_staging.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <optional>

#include "app/document/byte_image.h"
#include "platform/system/file_io.h"
#include "platform/system/program_folder.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::size_t kRecordBytes = 304;

void Say(const std::string& text) {
  auto& sink = LyrAutoStaging::MessageSink();
  if (sink) {
    sink(text);
  } else {
    ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
}

bool InUnitRange(double v) { return v > 0.0 && v <= 1.0; }
bool InCountRange(std::int32_t v) { return v >= 1 && v <= 100; }

}  // namespace

std::function<void(const std::string&)>& LyrAutoStaging::MessageSink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

int LyrAutoStaging::ReadLearningIni() {
  const std::string path = sys::PathBesideProgram("ML.ini");
  if (!std::filesystem::exists(path)) {
    Say("Can't find an ini File. : 1063");
    return 0;
  }
  const std::optional<std::string> file = sys::ReadWholeFile(path);
  if (!file) {
    Say("Can't read an ini File. : 1053");
    return 0;
  }
  if (file->size() < 3 || file->compare(0, 3, "INI") != 0) {
    Say("Can't read ini file. 1033");
    return 0;
  }
  if (file->size() < 3 + kRecordBytes + 3 || file->compare(3 + kRecordBytes, 3, "FEN") != 0) {
    Say("Can't read an ini file. 1033");
    return 0;
  }
  const bytes::CSpan rec(reinterpret_cast<const std::uint8_t*>(file->data()) + 3, kRecordBytes);
  std::string folder = bytes::GetText(rec, 0, 260);
  if (folder == "current") folder = sys::ProgramFolder() + "/";
  modelFolder_ = folder;
  cumulativeThreshold = bytes::Get<double>(rec, 264);
  selectionLimit = bytes::Get<std::int16_t>(rec, 272);
  pathTableSize = bytes::Get<std::int16_t>(rec, 274);
  sampleLimit = bytes::Get<std::int32_t>(rec, 276);
  cutPointLimit = bytes::Get<std::int16_t>(rec, 280);
  significanceLevel = bytes::Get<double>(rec, 288);
  confidenceFactor = bytes::Get<double>(rec, 296);
  const bool valid = InUnitRange(cumulativeThreshold) && InCountRange(selectionLimit) &&
                     InCountRange(pathTableSize) && sampleLimit > 0 && InCountRange(cutPointLimit) &&
                     InUnitRange(significanceLevel) && InUnitRange(confidenceFactor);
  if (!valid) {
    Say("Parameter incorrect in ini File !! : 1043");
    return 0;
  }
  return 1;
}

int LyrAutoStaging::FreeModel() {
  models_.clear();
  return 1;
}
