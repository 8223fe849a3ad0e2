// The subject and recording header that begins every delimited text output, and the free
// comments of a recording's "SLEEP" property group.
#include <cstdio>
#include <functional>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/subject_preview.h"
#include "app/document/text_sink.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"
#include "platform/system/binary_file.h"
#include "platform/system/code_page.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/system/locale.h"
#include "platform/ui/dialog.h"

namespace {

std::string NameAndExtension(const std::string& path) { return path.empty() ? std::string() : sys::FileNameOf(path); }

}  // namespace

int CQLM2_AnalyzerDoc::OutputTextHeader(int mode, sys::AtomicFileWriter* file, ui::Control* edit, int* lineCounter) {
  if (mode != 0 && mode != 1) return 0;
  return PutTextHeader(
      [&](const std::string& line) {
        if (mode == 0) {
          // Files get CR LF line ends, as through the text sink.
          std::string crlf;
          for (char ch : line) {
            if (ch == '\n') crlf += '\r';
            crlf += ch;
          }
          if (file != nullptr) file->Write(sys::FromUtf8(crlf, sys::AnsiCodePage()));
        } else if (edit != nullptr) {
          edit->ReplaceSel(line);
        }
      },
      lineCounter);
}

int CQLM2_AnalyzerDoc::OutputTextHeader(TextSink& sink, int* lineCounter) {
  return PutTextHeader([&sink](const std::string& line) { sink.Write(line); }, lineCounter);
}

int CQLM2_AnalyzerDoc::OutputTextHeader(std::string& clipboardText, int* lineCounter) {
  return PutTextHeader([&clipboardText](const std::string& line) { clipboardText += line; }, lineCounter);
}

int CQLM2_AnalyzerDoc::PutTextHeader(const std::function<void(const std::string&)>& put, int* lineCounter) {
  const char sep = OutputDelimiterIsTab == 1 ? '\t' : ',';
  auto labelled = [&](std::uint32_t id, const std::string& value, bool present) {
    put(present ? res::LoadString(id) + sep + value + "\n" : res::LoadString(id) + "\n");
  };
  const LyrRecordInfo& r = RecordInfo;
  const bool hide = HideSubjectName != 0;

  labelled(2350, NameAndExtension(r.path), true);
  labelled(2361, ResultModifiedState != 0 ? NameAndExtension(ResultFilePath) : std::string(), true);
  labelled(2351, hide ? HiddenText(r.subjectName) : r.subjectName, !r.subjectName.empty());
  const std::string gender = r.gender == 0 ? res::LoadString(2356) : r.gender == 1 ? res::LoadString(2357) : "";
  labelled(2352, gender, true);
  labelled(2354,
           std::to_string(r.ageYears) + res::LoadString(2353) + " " + std::to_string(r.ageMonths) + res::LoadString(2355),
           r.ageYears != 0 || r.ageMonths != 0);
  labelled(2358, r.memo, !r.memo.empty());
  const std::string commentFormat = res::LoadString(2391);
  for (int i = 0; i < 10; ++i) {
    std::vector<char> label(commentFormat.size() + 16);
    std::snprintf(label.data(), label.size(), commentFormat.c_str(), i + 1);
    const auto& item = r.freeComments[static_cast<std::size_t>(i)];
    if (item.label.empty() && item.text.empty()) {
      put(std::string(label.data()) + "\n");
      continue;
    }
    const std::string text = hide && IsNameLabel(item.label) ? HiddenText(item.text) : item.text;
    put(std::string(label.data()) + sep + item.label + sep + text + "\n");
  }
  if (lineCounter != nullptr) *lineCounter += 16;
  return 1;
}

int CQLM2_AnalyzerDoc::ReadSleepGroupComments(std::uint32_t groupOffset, const std::string& path,
                                              LyrRecordInfo& record) {
  sys::BinaryFile file;
  if (!file.Open(path, sys::BinaryFile::kRead)) return 0;
  auto u16 = [&file](std::uint16_t& v) {
    unsigned char b[2];
    if (!file.ReadExact(b, 2)) return false;
    v = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
  };
  auto u32 = [&file](std::uint32_t& v) {
    unsigned char b[4];
    if (!file.ReadExact(b, 4)) return false;
    v = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
        (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
  };
  // One field: at most 1,023 bytes are kept (the rest is skipped), converted from the file's
  // code page.
  auto field = [&](std::string& out) {
    std::uint32_t length = 0;
    if (!u32(length)) return false;
    const std::uint32_t kept = length < 1023 ? length : 1023;
    std::vector<char> bytes(kept);
    if (kept != 0 && !file.ReadExact(bytes.data(), kept)) return false;
    if (length > kept && !file.Seek(static_cast<std::int64_t>(length - kept), sys::BinaryFile::SeekFrom::Current))
      return false;
    std::string raw(bytes.data(), kept);
    const std::size_t zero = raw.find('\0');
    if (zero != std::string::npos) raw.resize(zero);
    out = sys::ToUtf8(raw, sys::AnsiCodePage());
    return true;
  };
  std::uint16_t count = 0;
  if (!file.Seek(static_cast<std::int64_t>(groupOffset) + 22) || !u16(count)) return 1;
  const int items = count < 10 ? count : 10;
  for (int i = 0; i < items; ++i) {
    std::string name, value;
    if (!field(name) || !field(value)) break;
    record.freeComments[static_cast<std::size_t>(i)].label = CutField(name, 20);
    record.freeComments[static_cast<std::size_t>(i)].text = CutField(value, 30);
  }
  return 1;
}
