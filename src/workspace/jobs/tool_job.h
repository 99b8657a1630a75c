// A search of the analysis tools (Get X, Domain, Range, Minimum, Maximum,
// Intersect) run off the window's thread. The work captures its inputs when
// the job is made and leaves its answer where its caller reads it once
// Finished has come: the window's thread never waits for it.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "core/progress.h"
#include "workspace/jobs/worker.h"

namespace cn {

class ToolJob : public QObject {
  Q_OBJECT

 public:
  // `work` runs on a worker thread and reports to the Progress it is given.
  explicit ToolJob(std::function<void(Progress&)> work, QObject* parent = nullptr);
  // Stops the work and waits for its thread to let go of it.
  ~ToolJob() override;
  ToolJob(const ToolJob&) = delete;
  ToolJob& operator=(const ToolJob&) = delete;

  // Starts the work; connect to the signals first.
  void Start();
  // Asks the work to stop at its next progress step; Finished(false) follows.
  void Stop();

 signals:
  // About 30 times a second at most.
  void ProgressChanged(int max, int value);
  // The last signal: true when the work ran to its end.
  void Finished(bool complete);

 private:
  std::function<void(Progress&)> work_;
  Worker worker_;  // last: stopped and waited for before the rest goes
};

}  // namespace cn
