#include "app/document/subject_preview.h"

#include <cstdio>
#include <cstring>

#include "app/document/ch_info.h"
#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "common/fileaccess/fyn_file_access.h"
#include "platform/res/resource_store.h"
#include "platform/system/code_page.h"
#include "platform/system/locale.h"
#include "platform/ui/dialog.h"

std::string CutField(const std::string& text, std::size_t bytes) {
  return sys::CutToCapacity(text, bytes, sys::AnsiCodePage(), sys::Terminator::None);
}

PluginSubject CallPluginSubject(sys::DynamicLibrary& module, const std::string& path) {
  PluginSubject s;
  if (auto info2 = module.Function<ImpGetSubjectInfo2>("GetSubjectInfo2")) {
    char name[IMP_NAME_CAPACITY] = {};
    char labels[10 * IMP_NAME_CAPACITY] = {};
    char texts[10 * IMP_NAME_CAPACITY] = {};
    std::int16_t gender = -1, years = 0, months = 0;
    if (info2(path.c_str(), name, IMP_NAME_CAPACITY, &gender, &years, &months, labels, texts, IMP_NAME_CAPACITY) != 0) {
      s.given = true;
      s.name = PluginText(name, IMP_NAME_CAPACITY);
      s.gender = gender;
      s.ageYears = years;
      s.ageMonths = months;
      for (int i = 0; i < 10; ++i) {
        std::string label = PluginText(labels + i * IMP_NAME_CAPACITY, IMP_NAME_CAPACITY);
        std::string text = PluginText(texts + i * IMP_NAME_CAPACITY, IMP_NAME_CAPACITY);
        if (!label.empty() || !text.empty()) s.items.emplace_back(std::move(label), std::move(text));
      }
      return s;
    }
  }
  auto info1 = module.Function<ImpGetSubjectInfo>("GetSubjectInfo");
  if (info1 == nullptr) return s;
  ImpSubjectInfoV1 rec;
  std::memset(&rec, 0, sizeof rec);
  rec.gender = -1;
  if (info1(path.c_str(), &rec) == 0) return s;
  s.given = true;
  s.name = PluginText(rec.name, IMP_NAME_CAPACITY);
  s.gender = rec.gender;
  s.ageYears = rec.ageYears;
  s.ageMonths = rec.ageMonths;
  auto add = [&s](std::string label, const char* field) {
    std::string text = PluginText(field, IMP_NAME_CAPACITY);
    if (!text.empty()) s.items.emplace_back(std::move(label), std::move(text));
  };
  char number[32];
  add(res::LoadString(2306), rec.romanName);
  add("SubjectID", rec.subjectId);
  add("SubjectID-Sub", rec.subjectIdSub);
  add("Birth day", rec.birthDay);
  if (rec.heightTenthCm != 0) {
    std::snprintf(number, sizeof number, "%.1f", rec.heightTenthCm * 0.1);
    add("Height", number);
  }
  if (rec.weightGrams != 0) {
    std::snprintf(number, sizeof number, "%.1f", rec.weightGrams * 0.001);
    add("Weight", number);
  }
  add("Date", rec.date);
  add("Test No.", rec.testNo);
  add("Out or In", rec.outOrIn);
  add("Consul", rec.consul);
  add("Observer", rec.observer);
  return s;
}

int ReadOwnFileSubject(FynFileAccess& reader, const std::string& path, SubjectBlock& block, bool browserRule) {
  bool sleepGroup = false;
  std::uint32_t offset = 0;
  if (reader.GetPropGroupAddress("SLEEP", &offset) == 0 && offset != 0) {
    LyrRecordInfo record;
    if (CQLM2_AnalyzerDoc::ReadSleepGroupComments(offset, path, record) != 0) {
      sleepGroup = true;
      for (std::size_t i = 0; i < block.comments.size(); ++i) {
        block.comments[i].label = record.freeComments[i].label;
        block.comments[i].text = record.freeComments[i].text;
      }
    }
  }
  offset = 0;
  if (reader.GetPropGroupAddress("ORVENTALIS", &offset) != 0 || offset == 0) return browserRule ? (sleepGroup ? 1 : 0) : 1;
  _FynOVPatientInfo patient;
  if (reader.GetOVPatientInfo(&patient) == 0) {
    block.name = patient.text1;
    block.gender = patient.patientWord;
    block.ageYears = patient.ageYears;
    block.ageMonths = patient.ageMonths;
    block.memo = patient.text2;
  }
  std::array<_FynOVFreeCommentInfo, 10> comments;
  if (reader.GetOVFreeCommentInfo(comments.data(), 10) == 0) {
    for (std::size_t k = 0; k < comments.size(); ++k) {
      block.comments[k].label = CutField(comments[k].text1, 20);
      block.comments[k].text = CutField(comments[k].text2, 30);
    }
    return 1;
  }
  return browserRule ? (sleepGroup ? 1 : 0) : 1;
}

int ReadPluginSubject(sys::DynamicLibrary& module, const std::string& path, SubjectBlock& block) {
  if (!module.IsLoaded()) return 0;
  block = SubjectBlock{};
  auto version = module.Function<ImpGetStructVersion>("GetStructVersion");
  if (version == nullptr || version() != 1) return 0;
  const PluginSubject s = CallPluginSubject(module, path);
  if (!s.given) return 1;
  block.name = CutField(s.name, 20);
  block.gender = static_cast<std::uint16_t>(s.gender);
  block.ageYears = s.ageYears;
  block.ageMonths = s.ageMonths;
  FillSubjectItems(s, block.comments);
  return 1;
}

bool IsNameLabel(const std::string& title) {
  for (std::uint32_t id : {2304u, 2305u, 2306u}) {
    const std::string key = res::LoadString(id);
    if (!key.empty() && title.find(key) != std::string::npos) return true;
  }
  return title.find("Subject name") != std::string::npos;
}

std::string HiddenText(const std::string& text) {
  // One star per character, not per byte of a multi-byte character.
  std::size_t chars = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++chars;
  return std::string(chars, '*');
}

std::vector<std::pair<std::string, std::string>> SubjectPreviewRows(const SubjectBlock& block) {
  std::vector<std::pair<std::string, std::string>> rows;
  if (!block.name.empty())
    rows.emplace_back(res::LoadString(2351), HideSubjectName != 0 ? HiddenText(block.name) : block.name);
  if (block.gender == 0)
    rows.emplace_back(res::LoadString(2352), res::LoadString(2356));
  else if (block.gender == 1)
    rows.emplace_back(res::LoadString(2352), res::LoadString(2357));
  if (block.ageYears != 0 || block.ageMonths != 0)
    rows.emplace_back(res::LoadString(2354), std::to_string(block.ageYears) + res::LoadString(2353) + " " +
                                                  std::to_string(block.ageMonths) + res::LoadString(2355));
  if (!block.memo.empty()) rows.emplace_back(res::LoadString(2358), block.memo);
  std::size_t n = 0;
  for (std::size_t i = 0; i < block.comments.size(); ++i)
    if (!block.comments[i].label.empty() || !block.comments[i].text.empty()) n = i + 1;
  for (std::size_t i = 0; i < n; ++i) {
    const auto& c = block.comments[i];
    rows.emplace_back(c.label, HideSubjectName != 0 && IsNameLabel(c.label) ? HiddenText(c.text) : c.text);
  }
  return rows;
}

void ShowSubjectPreview(ui::Control& list, const SubjectBlock& block) {
  list.DeleteAllItems();
  for (const auto& [label, value] : SubjectPreviewRows(block)) {
    const int row = list.InsertItem(-1, label);
    list.SetItemText(row, 1, value);
  }
}

int ReadFileSubject(const std::string& path, const std::string& pluginPath, SubjectBlock& block, bool browserRule) {
  FynFileAccess reader(path.c_str());
  if (reader.InitParams() != 0) return 0;
  const std::int16_t type = reader.GetFileType();
  if (type == kFynTypeRaw || type == kFynTypeAna) return ReadOwnFileSubject(reader, path, block, browserRule);
  sys::DynamicLibrary module;
  if (!module.Load(pluginPath)) return 0;
  auto check = module.Function<ImpCheckFileType>("CheckFileType");
  return check != nullptr && check(path.c_str()) != 0 ? ReadPluginSubject(module, path, block) : 0;
}
