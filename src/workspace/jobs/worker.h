// One run of work on Qt's thread pool that its owner can stop and wait for:
// the jobs hold one each, so a job (and every signal it sends) outlives its
// work.
#pragma once

#include <QThreadPool>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>

namespace cn {

class Worker {
 public:
  Worker() = default;
  ~Worker() { StopAndWait(); }
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Runs `work` on a pool thread with a token that Stop sets.
  void Run(std::function<void(std::stop_token)> work) {
    state_->done = false;
    QThreadPool::globalInstance()->start([state = state_, work = std::move(work)] {
      work(state->stop.get_token());
      const std::lock_guard lock(state->mutex);
      state->done = true;
      state->ended.notify_all();
    });
  }
  void Stop() { state_->stop.request_stop(); }
  // Returns once the work has ended (at once when it never ran).
  void StopAndWait() {
    Stop();
    std::unique_lock lock(state_->mutex);
    state_->ended.wait(lock, [this] { return state_->done; });
  }

 private:
  struct State {
    std::stop_source stop;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = true;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace cn
