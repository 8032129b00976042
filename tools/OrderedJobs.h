// Reads files on several threads and hands their output on in the order the
// files came. Each file takes a slot of a ring (the window); a worker thread
// takes the oldest file not yet taken and fills its slot, and the calling
// thread hands the slots on strictly in order, the oldest first, so a slow
// file holds back at most the window's other slots. The calling thread
// sleeps while the window is full until half of it can be handed on (or all
// that was queued), so that it wakes once for many files, not for each. One
// job, or a single file, runs on the calling thread alone.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "FileWalk.h"

// What reading one file gave: its output, and its error message for
// standard error (empty when there is none).
struct TFileResult {
  std::string Out;
  std::string Err;
  bool Failed = false;
};

class TOrderedJobs {
 public:
  // Reads Entry into Result (both emptied before), on thread Worker
  // (0 to Jobs - 1): a worker's state is its own. Must not throw.
  using TWork = std::function<void(unsigned Worker, const TWalkEntry& Entry, TFileResult& Result)>;
  // Takes the next result in order; false stops the work (the output has
  // failed): no later result is handed on.
  using TDeliver = std::function<bool(TFileResult& Result)>;

  TOrderedJobs(unsigned Jobs, TWork Work, TDeliver Deliver);
  ~TOrderedJobs();
  TOrderedJobs(const TOrderedJobs&) = delete;
  TOrderedJobs& operator=(const TOrderedJobs&) = delete;

  // Queues Entry, handing on the results that are ready; waits while the
  // window is full. False once Deliver has stopped the work.
  bool Add(TWalkEntry Entry);
  // Hands on every result left, and ends the threads.
  void Finish();

 private:
  struct TSlot {
    TWalkEntry Entry;
    TFileResult Result;
    bool Done = false;
  };

  void RunInline(TWalkEntry& Entry);
  void Start();
  void Queue(TWalkEntry&& Entry);
  void Worker(unsigned Index);
  // Whether the oldest result is done and, with it, half a window of
  // results or all that were queued: worth waking the calling thread for.
  bool BatchDone() const;
  // Hands on the results that are done, oldest first, up to the first that
  // is not; waits for a batch first when Wait says so.
  void DeliverDone(std::unique_lock<std::mutex>& Lock, bool Wait);
  void Stop();

  unsigned FJobs;
  TWork FWork;
  TDeliver FDeliver;
  bool FStopped = false;
  // The first entry waits here until a second shows that threads are worth
  // starting.
  std::optional<TWalkEntry> FFirst;
  TFileResult FInlineResult;

  std::mutex FMutex;
  std::condition_variable FWorkQueued;   // workers wait for it
  std::condition_variable FBatchDone;    // the calling thread waits for it
  std::vector<TSlot> FSlots;
  uint64_t FQueued = 0;     // entries put into slots
  uint64_t FTaken = 0;      // entries taken by a worker
  uint64_t FFinished = 0;   // results filled in, in any order
  uint64_t FDelivered = 0;  // results handed on
  bool FClosed = false;
  std::vector<std::thread> FThreads;
};

// The number of processors this process may run on.
unsigned AvailableCores();
