#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "OrderedJobs.h"

namespace {

// Every seventh entry takes far longer than the others.
void UnevenWork(unsigned, const TWalkEntry& Entry, TFileResult& Result) {
  if (std::stoi(Entry.Name) % 7 == 0) std::this_thread::sleep_for(std::chrono::microseconds(300));
  Result.Out = Entry.Name;
}

TEST(OrderedJobs, ResultsComeInTheEntriesOrder) {
  constexpr int Entries = 1000;
  for (const unsigned Jobs : {1u, 2u, 8u}) {
    SCOPED_TRACE(Jobs);
    std::vector<std::string> Delivered;
    TOrderedJobs Pool(Jobs, UnevenWork, [&](TFileResult& Result) {
      Delivered.push_back(Result.Out);
      return true;
    });
    for (int Index = 0; Index < Entries; ++Index) ASSERT_TRUE(Pool.Add({std::to_string(Index), ""}));
    Pool.Finish();
    ASSERT_EQ(Delivered.size(), size_t{Entries});
    for (int Index = 0; Index < Entries; ++Index) ASSERT_EQ(Delivered[size_t(Index)], std::to_string(Index));
  }
}

// A delivery that fails (the output is gone) hands on nothing more.
TEST(OrderedJobs, AFailedDeliveryStopsTheWork) {
  for (const unsigned Jobs : {1u, 2u, 8u}) {
    SCOPED_TRACE(Jobs);
    int Delivered = 0;
    TOrderedJobs Pool(Jobs, UnevenWork, [&](TFileResult&) { return ++Delivered < 10; });
    int Added = 0;
    while (Added < 1000 && Pool.Add({std::to_string(Added), ""})) ++Added;
    Pool.Finish();
    EXPECT_EQ(Delivered, 10);
    EXPECT_LT(Added, 1000);
  }
}

// A single entry is read on the calling thread: no thread is started.
TEST(OrderedJobs, OneEntryRunsOnTheCallingThread) {
  std::thread::id Reader;
  TOrderedJobs Pool(
      8, [&](unsigned, const TWalkEntry&, TFileResult&) { Reader = std::this_thread::get_id(); },
      [](TFileResult&) { return true; });
  ASSERT_TRUE(Pool.Add({"only", ""}));
  Pool.Finish();
  EXPECT_EQ(Reader, std::this_thread::get_id());
}

}  // namespace
