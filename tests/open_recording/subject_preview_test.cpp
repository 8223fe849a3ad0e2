// The subject preview of the open dialogs: the rows of a block and the two ways of filling it.
#include "app/document/subject_preview.h"
#include "common/fileaccess/fyn_file_access.h"
#include "open_fixture.h"

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

TEST_F(OpenTest, PreviewRows) {
  SubjectBlock empty;
  EXPECT_EQ(SubjectPreviewRows(empty), Rows{});  // no gender given: no rows at all
  SubjectBlock male;
  male.gender = 0;
  EXPECT_EQ(SubjectPreviewRows(male), (Rows{{"Gender", "Male"}}));
  SubjectBlock b;
  b.name = "Suzuki";
  b.gender = 1;
  b.ageMonths = 4;
  b.memo = "memo";
  b.comments[0] = {"Subject name", "Ichiro"};
  b.comments[3] = {"Ward", "3"};
  const Rows shown = {{"Subject", "Suzuki"}, {"Gender", "Female"}, {"Age", "0Year 4Month"}, {"Memo", "memo"},
                      {"Subject name", "Ichiro"}, {"", ""}, {"", ""}, {"Ward", "3"}};
  EXPECT_EQ(SubjectPreviewRows(b), shown);
  HideSubjectName = 1;
  Rows hidden = shown;
  hidden[0].second = "******";
  hidden[4].second = "******";
  EXPECT_EQ(SubjectPreviewRows(b), hidden);
  HideSubjectName = 0;
  b.gender = 7;  // neither male nor female
  EXPECT_EQ(SubjectPreviewRows(b)[1].first, "Age");
}

TEST_F(OpenTest, PluginPreviewTakesPairsThenRecordFieldsUpToTen) {
  struct Case { const char* what; int version; bool minimal; int pairs; Rows items; int result; };
  const std::vector<Case> cases = {
      {"version 2", 2, false, 0, {}, 0},
      {"eight pairs and the record", 1, true, 0,
       {{"roman name", "ROMAN"}, {"SubjectID", "ID7"}, {"Height", "170.5"}, {"Weight", "62.5"}, {"Consul", "C"}}, 1},
      {"pairs fill", 1, false, 8, {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestPluginAnswers& s = UseTestPlugin(c.minimal);
    s.structVersion = c.version;
    for (int i = 0; i < c.pairs; ++i) {
      std::snprintf(s.labels[i], IMP_NAME_CAPACITY, "L%d", i);
      std::snprintf(s.texts[i], IMP_NAME_CAPACITY, "T%d", i);
    }
    s.v1Given = 1;
    std::snprintf(s.v1.name, IMP_NAME_CAPACITY, "Record Name");
    std::snprintf(s.v1.romanName, IMP_NAME_CAPACITY, "ROMAN");
    std::snprintf(s.v1.subjectId, IMP_NAME_CAPACITY, "ID7");
    s.v1.heightTenthCm = 1705;
    s.v1.weightGrams = 62500;
    std::snprintf(s.v1.consul, IMP_NAME_CAPACITY, "C");
    SubjectBlock block;
    block.name = "previous";
    const int result = ReadPluginSubject(testPlugin_, "x.tst", block);
    EXPECT_EQ(result, c.result);
    if (c.pairs == 8) {
      EXPECT_EQ(block.name, "Plug Subject");
      EXPECT_EQ(block.comments[7].label, "L7");
      EXPECT_TRUE(block.comments[8].label.empty());  // the full plug-in takes no record fields
      continue;
    }
    Rows items;
    for (const auto& k : block.comments)
      if (!k.label.empty()) items.emplace_back(k.label, k.text);
    EXPECT_EQ(items, c.items);
  }
  // Eight plug-in pairs leave room for the first two record fields only.
  PluginSubject s;
  s.given = true;
  for (int i = 0; i < 8; ++i) s.items.emplace_back("L" + std::to_string(i), "T");
  s.items.emplace_back("roman name", "R");
  s.items.emplace_back("SubjectID", "I");
  s.items.emplace_back("Height", "1.0");
  std::array<SubjectBlock::Comment, 10> out;
  FillSubjectItems(s, out);
  EXPECT_EQ(out[8].label, "roman name");
  EXPECT_EQ(out[9].label, "SubjectID");
}

TEST_F(OpenTest, OwnFilePreviewAndTheBrowserRule) {
  fixture::RawSpec withOv = Night(130);
  fixture::RawSpec plain = Night(130);
  plain.withOV = false;
  struct Case { const char* what; fixture::RawSpec spec; int dialogResult; int browserResult; const char* name; };
  for (const Case& c : {Case{"with patient group", withOv, 1, 1, "Hanako Test"}, Case{"without", plain, 1, 0, ""}}) {
    SCOPED_TRACE(c.what);
    const std::string path = WriteNight(std::string(c.what) + ".fyd", c.spec);
    FynFileAccess reader(path.c_str());
    ASSERT_EQ(reader.InitParams(), 0);
    SubjectBlock a, b;
    EXPECT_EQ(ReadOwnFileSubject(reader, path, a, false), c.dialogResult);
    EXPECT_EQ(ReadOwnFileSubject(reader, path, b, true), c.browserResult);
    EXPECT_EQ(a.name, c.name);
  }
}

}  // namespace
