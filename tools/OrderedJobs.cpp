#include "OrderedJobs.h"

#include <sched.h>

#include <system_error>

namespace {

// Slots of the window for each job: enough that a file taking some dozens of
// times as long as the others does not leave the other threads idle.
constexpr size_t SlotsPerJob = 32;
// A slot's output grown larger than this (a hostile file's thousands of
// rows) is given back instead of being kept for the next file.
constexpr size_t MaxKeptOutput = size_t{1} << 20;

void Empty(TFileResult& Result) {
  Result.Out.clear();
  Result.Err.clear();
  Result.Failed = false;
}

}  // namespace

unsigned AvailableCores() {
  cpu_set_t Set;
  CPU_ZERO(&Set);
  if (::sched_getaffinity(0, sizeof Set, &Set) == 0 && CPU_COUNT(&Set) > 0)
    return static_cast<unsigned>(CPU_COUNT(&Set));
  return std::max(1u, std::thread::hardware_concurrency());
}

TOrderedJobs::TOrderedJobs(unsigned Jobs, TWork Work, TDeliver Deliver)
    : FJobs(std::max(1u, Jobs)), FWork(std::move(Work)), FDeliver(std::move(Deliver)) {}

TOrderedJobs::~TOrderedJobs() {
  {
    const std::lock_guard Lock(FMutex);
    FClosed = true;
    FTaken = FQueued;
  }
  FWorkQueued.notify_all();
  for (std::thread& Thread : FThreads) Thread.join();
}

bool TOrderedJobs::Add(TWalkEntry Entry) {
  if (FStopped) return false;
  if (FJobs > 1 && FThreads.empty()) {
    if (!FFirst) {
      FFirst = std::move(Entry);
      return true;
    }
    Start();
    if (FThreads.empty()) FJobs = 1;  // no thread could be started
  }
  if (FFirst) {
    TWalkEntry First = std::move(*FFirst);
    FFirst.reset();
    if (FJobs == 1) RunInline(First);
    else Queue(std::move(First));
  }
  if (FStopped) return false;
  if (FJobs == 1) RunInline(Entry);
  else Queue(std::move(Entry));
  return !FStopped;
}

void TOrderedJobs::Finish() {
  if (FFirst) {
    RunInline(*FFirst);
    FFirst.reset();
  }
  if (FThreads.empty()) return;
  {
    std::unique_lock Lock(FMutex);
    while (!FStopped && FDelivered < FQueued) DeliverDone(Lock, true);
    FClosed = true;
  }
  FWorkQueued.notify_all();
  for (std::thread& Thread : FThreads) Thread.join();
  FThreads.clear();
}

void TOrderedJobs::RunInline(TWalkEntry& Entry) {
  Empty(FInlineResult);
  FWork(0, Entry, FInlineResult);
  if (!FDeliver(FInlineResult)) FStopped = true;
}

void TOrderedJobs::Start() {
  FSlots.resize(SlotsPerJob * FJobs);
  for (unsigned Index = 0; Index < FJobs; ++Index) {
    try {
      FThreads.emplace_back(&TOrderedJobs::Worker, this, Index);
    } catch (const std::system_error&) {
      break;  // the threads started so far do the work
    }
  }
}

void TOrderedJobs::Queue(TWalkEntry&& Entry) {
  std::unique_lock Lock(FMutex);
  while (!FStopped && FQueued - FDelivered == FSlots.size()) DeliverDone(Lock, true);
  if (FStopped) return;
  FSlots[FQueued % FSlots.size()].Entry = std::move(Entry);
  ++FQueued;
  FWorkQueued.notify_one();
}

void TOrderedJobs::Worker(unsigned Index) {
  std::unique_lock Lock(FMutex);
  for (;;) {
    FWorkQueued.wait(Lock, [this] { return FTaken < FQueued || FClosed; });
    if (FTaken == FQueued) return;
    const uint64_t Item = FTaken++;
    TSlot& Slot = FSlots[Item % FSlots.size()];
    Lock.unlock();
    Empty(Slot.Result);
    FWork(Index, Slot.Entry, Slot.Result);
    Lock.lock();
    Slot.Done = true;
    ++FFinished;
    if (BatchDone()) FBatchDone.notify_one();
  }
}

bool TOrderedJobs::BatchDone() const {
  return FDelivered < FQueued && FSlots[FDelivered % FSlots.size()].Done &&
         (FFinished - FDelivered >= FSlots.size() / 2 || FFinished == FQueued);
}

void TOrderedJobs::DeliverDone(std::unique_lock<std::mutex>& Lock, bool Wait) {
  if (Wait) FBatchDone.wait(Lock, [this] { return BatchDone(); });
  while (!FStopped && FDelivered < FQueued) {
    TSlot& Slot = FSlots[FDelivered % FSlots.size()];
    if (!Slot.Done) return;
    // A slot that is done is the calling thread's until it is queued again.
    Lock.unlock();
    const bool Going = FDeliver(Slot.Result);
    if (Slot.Result.Out.capacity() > MaxKeptOutput) Slot.Result.Out = std::string();
    Lock.lock();
    Slot.Done = false;
    ++FDelivered;
    if (!Going) {
      FStopped = true;
      FTaken = FQueued;  // the entries not yet taken are dropped
    }
  }
}
