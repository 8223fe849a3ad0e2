// The converter's CSV reader, number cells, sheet names and request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/CSVBOOK/csv_book.h"

namespace {

using csvbook::Table;

TEST(CsvReader, FieldsQuotesAndLineEnds) {
  struct Case {
    const char* what;
    std::string bytes;
    Table rows;
  } cases[] = {
      {"plain, CR LF", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
      {"LF, no final line end", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}},
      {"quoted comma and quote", "\"x,y\",\"say \"\"hi\"\"\"\n", {{"x,y", "say \"hi\""}}},
      {"quoted line end", "\"two\nlines\",z\n", {{"two\nlines", "z"}}},
      {"empty cells", ",,\n", {{"", "", ""}}},
      {"empty line", "a\n\nb\n", {{"a"}, {""}, {"b"}}},
      {"nothing", "", {}},
  };
  for (const Case& c : cases) {
    std::string reason;
    const auto t = csvbook::ParseCsv(c.bytes, &reason);
    ASSERT_TRUE(t) << c.what << ": " << reason;
    EXPECT_EQ(*t, c.rows) << c.what;
  }
}

TEST(CsvReader, RefusesWhatNoWorksheetHolds) {
  std::string reason;
  EXPECT_FALSE(csvbook::ParseCsv("\"open,1\n", &reason));
  EXPECT_EQ(reason, "a quoted field is not closed");
  EXPECT_FALSE(csvbook::ParseCsv(std::string(csvbook::kMaxColumns, ',') + "\n", &reason));
  EXPECT_NE(reason.find("limits"), std::string::npos);
  EXPECT_FALSE(csvbook::ParseCsv(std::string(csvbook::kMaxCellChars + 1, 'x'), &reason));
  EXPECT_TRUE(csvbook::ParseCsv(std::string(csvbook::kMaxCellChars, 'x'), &reason));
  EXPECT_FALSE(csvbook::ParseCsv(std::string(csvbook::kMaxRows + 1, '\n'), &reason));
}

TEST(CsvCells, OnlyWhollyFiniteDecimalNumbersAreNumbers) {
  struct Case {
    const char* cell;
    bool number;
    double value;
  } cases[] = {{"12", true, 12},     {"-1.25", true, -1.25}, {" 3e2 ", true, 300}, {".5", true, 0.5},
               {"+7", true, 7},      {"1,5", false, 0},      {"", false, 0},       {"0x10", false, 0},
               {"inf", false, 0},    {"nan", false, 0},      {"1e999", false, 0},  {"12abc", false, 0},
               {"00:01:30", false, 0}, {"-", false, 0},      {"1e", false, 0}};
  for (const Case& c : cases) {
    const auto v = csvbook::NumberOf(c.cell);
    EXPECT_EQ(v.has_value(), c.number) << c.cell;
    if (v) {
      EXPECT_DOUBLE_EQ(*v, c.value) << c.cell;
    }
  }
}

TEST(CsvSheets, NamesAreCutCleanedAndUnique) {
  std::vector<std::string> taken;
  EXPECT_EQ(csvbook::SheetName("night_AFst.csv", taken), "night_AFst");
  EXPECT_EQ(csvbook::SheetName("a[1]:b*?.CSV", taken), "a_1__b__");
  const std::string forty = "0123456789012345678901234567890123456789.csv";
  EXPECT_EQ(csvbook::SheetName(forty, taken), "0123456789012345678901234567890");
  EXPECT_EQ(csvbook::SheetName(forty, taken), "012345678901234567890123456 (2)");
  EXPECT_EQ(csvbook::SheetName("NIGHT_afst.csv", taken), "NIGHT_afst (2)");
  // Characters, not bytes, are counted.
  const std::string japanese = "睡眠段階睡眠段階睡眠段階睡眠段階睡眠段階睡眠段階睡眠段階睡眠段階.csv";
  const std::string name = csvbook::SheetName(japanese, taken);
  EXPECT_EQ(name, japanese.substr(0, 31 * 3));
}

TEST(CsvRequest, TheProgramsOneArgumentOrThree) {
  auto r = csvbook::ParseRequest({"\"/data/out\",\"/data/out/book.xls\",0"});
  ASSERT_TRUE(r);
  EXPECT_EQ(r->folder, "/data/out");
  EXPECT_EQ(r->book, "/data/out/book.xls");
  EXPECT_EQ(r->mode, 0);
  r = csvbook::ParseRequest({"/a b", "/a b/c.xlsx", "1"});
  ASSERT_TRUE(r);
  EXPECT_EQ(r->folder, "/a b");
  EXPECT_EQ(r->mode, 1);
  EXPECT_FALSE(csvbook::ParseRequest({}));
  EXPECT_FALSE(csvbook::ParseRequest({"\"/a\",\"b\""}));
  EXPECT_EQ(csvbook::BookPath("/d/book.xls"), "/d/book.xlsx");
  EXPECT_EQ(csvbook::BookPath("/d/book.XLS"), "/d/book.xlsx");
  EXPECT_EQ(csvbook::BookPath("/d/book.xlsx"), "/d/book.xlsx");
  EXPECT_EQ(csvbook::BookPath("/d.xls/book"), "/d.xls/book");
}

}  // namespace
