#include "app/document/table_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "app/document/epoch_record.h"

namespace {

template <class T>
bool AllZero(const tablemem::ZeroedTable<T>& table) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(table.data());
  return std::all_of(bytes, bytes + table.size() * sizeof(T), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

// A table is made without writing its memory, so a table made where a written one was freed
// must still read as zero: small tables (heap) and large ones (mappings) alike.
TEST(TableMemory, FreshTablesReadZeroAfterWrittenOnesWereFreed) {
  for (const std::size_t n : {std::size_t{1}, std::size_t{100}, std::size_t{21600}, std::size_t{864000}}) {
    SCOPED_TRACE(n);
    tablemem::ZeroedTable<float> written;
    ASSERT_TRUE(tablemem::AllocZeroed(written, n));
    std::fill(written.begin(), written.end(), 3.5f);
    written = {};
    tablemem::ZeroedTable<float> fresh;
    ASSERT_TRUE(tablemem::AllocZeroed(fresh, n));
    EXPECT_EQ(fresh.size(), n);
    EXPECT_TRUE(AllZero(fresh));

    tablemem::ZeroedTable<LyrEpochRec> records(n);
    EXPECT_TRUE(AllZero(records));
  }
}

TEST(TableMemory, ResizeKeepsThePrefixAndZeroesTheRest) {
  tablemem::ZeroedTable<std::uint16_t> table;
  ASSERT_TRUE(tablemem::AllocZeroed(table, 300000));
  std::fill(table.begin(), table.end(), std::uint16_t{7});
  ASSERT_TRUE(tablemem::ResizeKeeping(table, 10));
  ASSERT_TRUE(tablemem::ResizeKeeping(table, 400000));
  EXPECT_EQ(table[9], 7);
  EXPECT_EQ(table[10], 0);
  EXPECT_EQ(table[399999], 0);

  // A failed allocation leaves the table as it was.
  tablemem::FailNthAllocationForTesting(1);
  EXPECT_FALSE(tablemem::ResizeKeeping(table, 5));
  EXPECT_EQ(table.size(), 400000u);
  tablemem::FailNthAllocationForTesting(1);
  EXPECT_FALSE(tablemem::AllocZeroed(table, 5));
  EXPECT_TRUE(table.empty());
}
