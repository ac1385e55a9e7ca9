#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qm {

// Work done ahead on threads of its own while the caller goes on, each job's result taken once by
// its key. A job asked for before any thread has begun it is done on the asking thread at once,
// so taking never waits behind the queue. Jobs not begun when it is destroyed are dropped; it
// waits for those running.
template <class Result>
class BackgroundJobs {
 public:
  using Job = std::function<Result()>;

  BackgroundJobs() = default;
  // Starts `jobs`, begun in the given order on `threads` threads (at least one).
  BackgroundJobs(std::vector<std::pair<std::string, Job>> jobs, int threads) {
    slots_.reserve(jobs.size());
    for (auto& [key, job] : jobs) slots_.push_back({std::move(key), std::move(job), {}, {}});
    for (int i = 0; i < std::max(threads, 1) && i < static_cast<int>(slots_.size()); ++i)
      workers_.emplace_back([this] { work(); });
  }
  BackgroundJobs(const BackgroundJobs&) = delete;
  BackgroundJobs& operator=(const BackgroundJobs&) = delete;
  ~BackgroundJobs() {
    {
      std::lock_guard lock(mutex_);
      next_ = slots_.size();
    }
    for (std::thread& worker : workers_) worker.join();
  }

  // The result of the job with this key, waiting while a thread is doing it; none when there is
  // no such job or its result was taken already.
  std::optional<Result> take(const std::string& key) {
    std::unique_lock lock(mutex_);
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      Slot& slot = slots_[i];
      if (slot.key != key || slot.state == State::Taken) continue;
      if (slot.state == State::Waiting) {
        // Begun here instead; the threads pass over it.
        slot.state = State::Running;
        lock.unlock();
        Result result = slot.job();
        lock.lock();
        slot.state = State::Taken;
        return result;
      }
      done_.wait(lock, [&] { return slot.state == State::Done; });
      slot.state = State::Taken;
      return std::move(slot.result);
    }
    return std::nullopt;
  }

 private:
  enum class State { Waiting, Running, Done, Taken };
  struct Slot {
    std::string key;
    Job job;
    State state = State::Waiting;
    std::optional<Result> result;
  };

  void work() {
    std::unique_lock lock(mutex_);
    while (next_ < slots_.size()) {
      Slot& slot = slots_[next_++];
      if (slot.state != State::Waiting) continue;
      slot.state = State::Running;
      lock.unlock();
      std::optional<Result> result(slot.job());
      lock.lock();
      slot.result = std::move(result);
      slot.state = State::Done;
      done_.notify_all();
    }
  }

  std::vector<Slot> slots_;  // fixed once the threads run
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable done_;
  std::size_t next_ = 0;  // the first slot no thread has looked at
};

}  // namespace qm
