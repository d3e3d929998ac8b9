// What the Windows programs take from their own small runtime instead of a C
// library: the byte loops, the start-up and exit lists, and the heap array
// whose growth reports failure.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/heap_array.h"
#include "platform/runtime/bytes.h"
#include "platform/runtime/start_up.h"

namespace {

namespace rt = platform::runtime;

TEST(RuntimeBytes, BehaveAsTheCLibraryIncludingOverlapsAndHighBytes) {
  char text[] = "abcdefgh";
  rt::MoveBytes(text + 2, text, 5);  // forward overlap: copied as if aside first
  EXPECT_STREQ(text, "ababcdeh");
  std::strcpy(text, "abcdefgh");
  rt::MoveBytes(text, text + 2, 5);  // backward overlap
  EXPECT_STREQ(text, "cdefgfgh");

  char out[4] = {1, 2, 3, 4};
  EXPECT_EQ(rt::CopyBytes(out, "xy", 2), out);
  EXPECT_EQ(std::string(out, 4), std::string("xy\3\4", 4));
  EXPECT_EQ(rt::FillBytes(out, 0x1FF, 3), out);  // only the low byte counts
  EXPECT_EQ(std::string(out, 4), std::string("\xFF\xFF\xFF\4", 4));

  // Unsigned bytes, as memcmp: 0x80 is greater than 0x7F.
  const unsigned char high[] = {0x80}, low[] = {0x7F};
  EXPECT_GT(rt::CompareBytes(high, low, 1), 0);
  EXPECT_LT(rt::CompareBytes(low, high, 1), 0);
  EXPECT_EQ(rt::CompareBytes("abc", "abd", 2), 0);
  EXPECT_EQ(rt::CompareBytes("abc", "xyz", 0), 0);
  EXPECT_EQ(rt::LengthOf(""), 0u);
  EXPECT_EQ(rt::LengthOf("a\xFF" "b"), 3u);
}

std::vector<int> order;
void First() { order.push_back(1); }
void Second() { order.push_back(2); }
void Third() { order.push_back(3); }

TEST(RuntimeStartUp, ConstructorListsRunLastToFirstAndDestructorListsFirstToLast) {
  // The linker's form: -1, the routines, a null slot.
  const rt::Routine terminated[] = {reinterpret_cast<rt::Routine>(-1), &First, &Second, &Third, nullptr};
  order.clear();
  rt::RunConstructorList(terminated);
  EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
  order.clear();
  rt::RunDestructorList(terminated);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));

  // The counted form, and an empty list.
  const rt::Routine counted[] = {reinterpret_cast<rt::Routine>(2), &First, &Second};
  order.clear();
  rt::RunConstructorList(counted);
  EXPECT_EQ(order, (std::vector<int>{2, 1}));
  const rt::Routine empty[] = {reinterpret_cast<rt::Routine>(-1), nullptr};
  order.clear();
  rt::RunConstructorList(empty);
  rt::RunDestructorList(empty);
  EXPECT_TRUE(order.empty());
}

rt::ExitList* running = nullptr;
void AddsThird() {
  order.push_back(0);
  running->Add(&Third);
}

TEST(RuntimeStartUp, ExitRoutinesRunOnceLatestFirstAndAFullListRefuses) {
  rt::ExitList list;
  running = &list;
  order.clear();
  EXPECT_TRUE(list.Add(&First));
  EXPECT_TRUE(list.Add(&AddsThird));
  EXPECT_TRUE(list.Add(&Second));
  EXPECT_FALSE(list.Add(nullptr));
  list.RunAll();
  // A routine registered while the list runs runs too, before the older ones.
  EXPECT_EQ(order, (std::vector<int>{2, 0, 3, 1}));
  order.clear();
  list.RunAll();
  EXPECT_TRUE(order.empty()) << "each runs once";

  for (std::uint32_t i = 0; i < rt::ExitList::kCapacity; ++i) ASSERT_TRUE(list.Add(&First));
  EXPECT_FALSE(list.Add(&Second));
  EXPECT_EQ(list.size(), rt::ExitList::kCapacity);
}

// Hands out a fixed number of blocks, then none.
class RationedMemory final : public platform::Memory {
 public:
  explicit RationedMemory(int blocks) : left(blocks) {}
  void* Allocate(std::uint32_t size) override {
    if (left == 0) return nullptr;
    --left;
    ++live;
    lastSize = size;
    return platform::DefaultMemory().Allocate(size);
  }
  void Release(void* block) override {
    --live;
    platform::DefaultMemory().Release(block);
  }
  int left, live = 0;
  std::uint32_t lastSize = 0;
};

struct Counted {
  Counted() { ++made; }
  ~Counted() { ++destroyed; }
  static inline int made = 0, destroyed = 0;
};

TEST(HeapArray, GrowthThatCannotBeHadLeavesItEmptyAndEveryElementIsDestroyed) {
  RationedMemory memory(1);
  {
    platform::HeapArray<Counted> items(memory);
    ASSERT_TRUE(items.Reset(3));
    EXPECT_EQ(items.size(), 3u);
    EXPECT_EQ(memory.lastSize, 3 * sizeof(Counted));
    EXPECT_EQ(Counted::made, 3);
    items.Shrink(1);
    EXPECT_EQ(Counted::destroyed, 2);
    EXPECT_FALSE(items.Reset(2)) << "memory is spent";
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(Counted::destroyed, 3);
    EXPECT_EQ(memory.live, 0) << "the old block went back";
    EXPECT_TRUE(items.Reset(0));
  }
  EXPECT_EQ(Counted::made, Counted::destroyed);

  // A count whose bytes do not fit 32 bits is refused without asking.
  RationedMemory plenty(10);
  platform::HeapArray<std::uint64_t> wide(plenty);
  EXPECT_FALSE(wide.Reset(0x20000000u));
  EXPECT_EQ(plenty.left, 10);

  // Moving hands the block over; the source is left empty.
  platform::HeapArray<std::uint64_t> moved(plenty);
  ASSERT_TRUE(moved.Reset(2));
  moved[1] = 42;
  wide = static_cast<platform::HeapArray<std::uint64_t>&&>(moved);
  EXPECT_TRUE(moved.empty());
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[1], 42u);
  EXPECT_EQ(wide[0], 0u) << "fresh elements are value-initialised";
}

}  // namespace
