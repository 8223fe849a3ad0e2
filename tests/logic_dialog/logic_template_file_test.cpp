// The logic template file without a window: the 906-byte layout of a save, the round trip,
// the older 466-byte layout, and what a load refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/settings/logic_template_file.h"

namespace {

template <class T>
T At(const std::string& b, std::size_t off) {
  T v;
  std::memcpy(&v, b.data() + off, sizeof(T));
  return v;
}

template <class T>
void PutAt(std::string& b, std::size_t off, T v) {
  std::memcpy(b.data() + off, &v, sizeof(T));
}

LogicCondition Clause(float lower, std::uint16_t code, std::uint16_t channel, float upper, std::uint8_t stage) {
  LogicCondition c;
  c.term1 = {lower, 1, code, channel, 3, upper};
  c.stage = stage;
  return c;
}

// Three used conditions (one with "And"), then a record beyond the used count that still
// holds a stage.
LogicConditionSet HandMadeSet() {
  LogicConditionSet set{};
  set[0] = Clause(100.0f, 13, 1, 10000.0f, 7);
  set[1] = Clause(20.0f, 16, 0, 50.0f, 5);
  set[1].andSwitch = 1;
  set[1].term2 = {2.0f, 0, 28, 1, 2, 30.0f};
  set[2].stage = 3;
  set[5] = Clause(1.0f, 1, 0, 2.0f, 4);
  return set;
}

LogicOptionParam Options() {
  LogicOptionParam o;
  o.lastStageMode = 2;
  o.remEmgLevel = 55.5f;
  o.stageA = 4;
  o.stageC = 3;
  return o;
}

}  // namespace

TEST(LogicTemplateFile, SaveHasTheStoredLayoutAndLoadsBackToTheSameBytes) {
  const std::string b = BuildLogicTemplate(2, HandMadeSet(), 3, Options());
  ASSERT_EQ(b.size(), 906u);
  EXPECT_EQ(At<std::uint16_t>(b, 0), 2);
  // Record k at 2 + 44 k: marker 0, lower 4, operators 8/14, code 10, channel 12, upper 16,
  // and 20, clause 2 from 24, stage 40.
  EXPECT_EQ(At<std::uint16_t>(b, 2 + 0), 2);
  EXPECT_EQ(At<float>(b, 2 + 4), 100.0f);
  EXPECT_EQ(At<std::uint16_t>(b, 2 + 8), 1);
  EXPECT_EQ(At<std::uint16_t>(b, 2 + 10), 13);
  EXPECT_EQ(At<std::int16_t>(b, 2 + 12), 1);
  EXPECT_EQ(At<std::uint16_t>(b, 2 + 14), 3);
  EXPECT_EQ(At<float>(b, 2 + 16), 10000.0f);
  EXPECT_EQ(b[2 + 40], 7);
  const std::size_t r1 = 2 + 44;
  EXPECT_EQ(At<std::uint16_t>(b, r1 + 20), 1);
  EXPECT_EQ(At<float>(b, r1 + 24), 2.0f);
  EXPECT_EQ(At<std::uint16_t>(b, r1 + 30), 28);
  EXPECT_EQ(At<std::uint16_t>(b, r1 + 34), 2);
  EXPECT_EQ(b[2 + 5 * 44 + 40], 0) << "a record from the used count on is saved without its stage";
  EXPECT_EQ(At<float>(b, 2 + 5 * 44 + 4), 1.0f) << "but with its other fields";
  EXPECT_EQ(At<std::uint16_t>(b, 882), 2);
  EXPECT_EQ(At<float>(b, 882 + 8), 55.5f);
  EXPECT_EQ(b[882 + 20], 4);
  EXPECT_EQ(b[882 + 23], 3);

  LogicTemplate t;
  ASSERT_EQ(ParseLogicTemplate(b, 2, 4, t), LogicTemplateStatus::ok);
  EXPECT_FALSE(t.olderLayout);
  EXPECT_EQ(CountUsedConditions(t.set), 3);
  EXPECT_EQ(BuildLogicTemplate(t.stageType, t.set, 3, t.option), b);
}

TEST(LogicTemplateFile, AnotherStageTypeIsRefusedBeforeTheRestIsRead) {
  std::string b = BuildLogicTemplate(2, HandMadeSet(), 3, Options());
  LogicTemplate t;
  t.stageType = 9;
  EXPECT_EQ(ParseLogicTemplate(b, 1, 4, t), LogicTemplateStatus::wrongStageType);
  EXPECT_EQ(t.stageType, 9) << "nothing handed out";
  EXPECT_EQ(ParseLogicTemplate(b.substr(0, 2), 1, 4, t), LogicTemplateStatus::wrongStageType);
}

// A first marker below 2, read signed, is the older 10-record form: upper operators at 12
// and 32, no channels, options at 442.
TEST(LogicTemplateFile, OlderLayoutIsConverted) {
  for (const std::uint16_t marker : {std::uint16_t{0}, std::uint16_t{1}, std::uint16_t{0xFFFF}}) {
    std::string b(466, '\0');
    PutAt<std::uint16_t>(b, 0, 1);
    for (int k = 0; k < 10; ++k) {
      const std::size_t r = 2 + static_cast<std::size_t>(k) * 44;
      PutAt<std::uint16_t>(b, r, marker);
      PutAt<float>(b, r + 4, 1.0f + k);
      PutAt<std::uint16_t>(b, r + 8, 1);
      PutAt<std::uint16_t>(b, r + 10, 26);
      PutAt<std::uint16_t>(b, r + 12, 3);
      PutAt<float>(b, r + 16, 50.0f + k);
      PutAt<std::uint16_t>(b, r + 20, 1);
      PutAt<float>(b, r + 24, 2.0f);
      PutAt<std::uint16_t>(b, r + 28, 0);
      PutAt<std::uint16_t>(b, r + 30, 28);
      PutAt<std::uint16_t>(b, r + 32, 2);
      PutAt<float>(b, r + 36, 9.0f);
      b[r + 40] = static_cast<char>(k < 9 ? 1 + k % 7 : 3);
    }
    PutAt<std::uint16_t>(b, 442, 2);
    b[442 + 21] = 5;

    LogicTemplate t;
    ASSERT_EQ(ParseLogicTemplate(b, 1, 4, t), LogicTemplateStatus::ok) << marker;
    EXPECT_TRUE(t.olderLayout);
    EXPECT_EQ(CountUsedConditions(t.set), 10);
    const LogicCondition& c = t.set[4];
    EXPECT_EQ(c.mark, 2);
    EXPECT_EQ(c.term1.lower, 5.0f);
    EXPECT_EQ(c.term1.lowerOp, 1);
    EXPECT_EQ(c.term1.valueCode, 26);
    EXPECT_EQ(c.term1.channel, 0);
    EXPECT_EQ(c.term1.upperOp, 3);
    EXPECT_EQ(c.term1.upper, 54.0f);
    EXPECT_EQ(c.andSwitch, 1);
    EXPECT_EQ(c.term2.valueCode, 28);
    EXPECT_EQ(c.term2.channel, 0);
    EXPECT_EQ(c.term2.upperOp, 2);
    EXPECT_EQ(c.term2.upper, 9.0f);
    EXPECT_EQ(c.stage, 5);
    for (int k = 10; k < 20; ++k) {
      EXPECT_EQ(t.set[static_cast<std::size_t>(k)].mark, 0) << k;
      EXPECT_EQ(t.set[static_cast<std::size_t>(k)].stage, 0) << k;
    }
    EXPECT_EQ(t.option.lastStageMode, 2);
    EXPECT_EQ(t.option.stageB, 5);
  }
}

// What a load refuses as damaged, and what it repairs.
TEST(LogicTemplateFile, CutOrImpossibleFilesAreRefused) {
  const std::string good = BuildLogicTemplate(0, HandMadeSet(), 3, Options());
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string badStage = good;
  badStage[2 + 44 + 40] = 11;
  std::string badCode = good;
  PutAt<std::uint16_t>(badCode, 2 + 44 + 10, 33);
  std::string badCode2 = good;
  PutAt<std::uint16_t>(badCode2, 2 + 44 + 30, 40);
  std::string olderShort(465, '\0');
  const Case cases[] = {
      {"empty", std::string()},
      {"one byte", std::string(1, '\0')},
      {"stage type only plus a byte", good.substr(0, 3)},
      {"current layout one byte short", good.substr(0, 905)},
      {"older layout one byte short", olderShort},
      {"used record with stage 11", badStage},
      {"used record testing code 33", badCode},
      {"used record's clause 2 testing code 40", badCode2},
  };
  for (const Case& c : cases) {
    LogicTemplate t;
    EXPECT_EQ(ParseLogicTemplate(c.bytes, 0, 4, t), LogicTemplateStatus::damaged) << c.what;
  }

  // The same faults in a record after the used ones do not count: that record comes back
  // empty. A "Previous stage" record and the default rule's zero clauses are taken.
  std::string late = good;
  late[2 + 5 * 44 + 40] = 77;
  PutAt<std::uint16_t>(late, 2 + 5 * 44 + 10, 99);
  late[2 + 1 * 44 + 40] = static_cast<char>(255);
  LogicTemplate t;
  ASSERT_EQ(ParseLogicTemplate(late, 0, 4, t), LogicTemplateStatus::ok);
  EXPECT_EQ(t.set[5].stage, 0);
  EXPECT_EQ(t.set[1].stage, 255);
}

TEST(LogicTemplateFile, ChannelsTheRecordingLacksBecomeNone) {
  LogicConditionSet set{};
  set[0] = Clause(1.0f, 26, 3, 2.0f, 1);       // any channel: channel 4 of 3
  set[1] = Clause(1.0f, 14, 2, 2.0f, 2);       // FFT channel: channel 3 of 3, kept
  set[2] = Clause(1.0f, 1, 7, 2.0f, 3);        // recognition channel: the field is not used
  set[3] = Clause(1.0f, 28, 0xFFFF, 2.0f, 4);  // none stays none
  set[4].stage = 1;
  LogicTemplate t;
  ASSERT_EQ(ParseLogicTemplate(BuildLogicTemplate(0, set, 5, Options()), 0, 3, t), LogicTemplateStatus::ok);
  EXPECT_EQ(t.set[0].term1.channel, kNoLogicChannel);
  EXPECT_EQ(t.set[1].term1.channel, 2);
  EXPECT_EQ(t.set[2].term1.channel, 7);
  EXPECT_EQ(t.set[3].term1.channel, kNoLogicChannel);
}
