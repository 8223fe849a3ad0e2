#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/document/mark_table.h"
#include "platform/res/resource_store.h"

namespace {

TEST(MarkTable, SizesFollowTheRecordingLength) {
  MarkTable m;
  ASSERT_EQ(m.AllocateMark(1800), 1);  // 30 minutes
  EXPECT_EQ(m.FlagLength(), 18000);
  EXPECT_EQ(m.Capacity(), 1800);
  EXPECT_EQ(m.MarksPresent(), 0);
  for (int t = 0; t < kMarkTypeCount; ++t) {
    ASSERT_NE(m.Flags(t), nullptr);
    ASSERT_NE(m.Start(t), nullptr);
    ASSERT_NE(m.End(t), nullptr);
    EXPECT_EQ(m.Count(t), 0);
  }
  EXPECT_EQ(m.Flags(kMarkTypeCount), nullptr);
  EXPECT_EQ(m.Flags(-1), nullptr);
}

TEST(MarkTable, SecondAllocationDiscardsEveryMark) {
  MarkTable m;
  ASSERT_EQ(m.AllocateMark(60), 1);
  for (int t = 0; t < kMarkTypeCount; ++t) {
    m.MarkEventRange(t, 1.0f, 2.0f);
    m.Start(t)[0] = 1.0f;
    m.SetCount(t, 1);
  }
  m.SetMarksPresent(1);
  ASSERT_EQ(m.AllocateMark(60), 1);
  EXPECT_EQ(m.MarksPresent(), 0);
  for (int t = 0; t < kMarkTypeCount; ++t) {
    EXPECT_EQ(m.Flags(t)[15], 0) << t;
    EXPECT_EQ(m.Start(t)[0], 0.0f) << t;
    EXPECT_EQ(m.Count(t), 0) << t;
  }
}

TEST(MarkTable, SpansSetTenthSecondPoints) {
  // start, end (s) -> the first and one-past-last flagged point of a 10-s table.
  const struct {
    float start, end;
    int first, last;
  } rows[] = {
      {12.34f, 12.36f, 123, 124},  // shorter than one point after rounding: its start only
      {1.0f, 2.0f, 10, 20},
      {1.04f, 1.06f, 10, 11},      // rounds to [10, 11)
      {3.0f, 3.0f, 30, 31},        // empty span: the point at its start
      {9.5f, 12.0f, 95, 100},      // cut at the flag length
      {-0.5f, 0.3f, 0, 3},         // cut at the start
  };
  for (const auto& r : rows) {
    MarkTable m;
    ASSERT_EQ(m.AllocateMark(r.start > 10 ? 20 : 10), 1);
    m.MarkEventRange(2, r.start, r.end);
    const std::uint8_t* f = m.Flags(2);
    std::vector<int> set;
    for (int i = 0; i < m.FlagLength(); ++i)
      if (f[i]) set.push_back(i);
    ASSERT_FALSE(set.empty()) << r.start;
    EXPECT_EQ(set.front(), r.first) << r.start << ".." << r.end;
    EXPECT_EQ(set.back() + 1, r.last) << r.start << ".." << r.end;
    EXPECT_EQ(static_cast<int>(set.size()), r.last - r.first) << r.start << ".." << r.end;
    EXPECT_EQ(m.Flags(3)[r.first], 0);  // other types untouched
  }
  MarkTable m;
  ASSERT_EQ(m.AllocateMark(10), 1);
  m.MarkEventRange(0, 10.0f, 10.0f);  // a point at the very end is outside the table
  m.MarkEventRange(0, -3.0f, -3.0f);
  for (int i = 0; i < m.FlagLength(); ++i) ASSERT_EQ(m.Flags(0)[i], 0);
}

TEST(MarkTable, OutOfMemoryFreesEveryTypeAndReports) {
  res::SetLanguage(res::Language::English);
  std::vector<std::string> messages;
  MarkTable m;
  ASSERT_EQ(m.AllocateMark(60), 1);
  tablemem::FailNthAllocationForTesting(14);  // the span lists of a later type
  EXPECT_EQ(m.AllocateMark(60, [&](const std::string& s) { messages.push_back(s); }), 0);
  tablemem::FailNthAllocationForTesting(0);
  EXPECT_EQ(messages, std::vector<std::string>{"CQLM2_AnalyzerDoc::AllocateMark\nFail to get memory."});
  EXPECT_EQ(m.FlagLength(), 0);
  for (int t = 0; t < kMarkTypeCount; ++t) {
    EXPECT_EQ(m.Flags(t), nullptr);
    EXPECT_EQ(m.Start(t), nullptr);
  }
  m.MarkEventRange(0, 1.0f, 2.0f);  // harmless without tables
}

}  // namespace
