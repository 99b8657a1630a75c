#include "workspace/jobs/tool_job.h"

#include "workspace/jobs/progress_relay.h"

namespace cn {

ToolJob::ToolJob(std::function<void(Progress&)> work, QObject* parent) : QObject(parent), work_(std::move(work)) {}

// The worker is a member: destroying the job stops the work and waits for it.
ToolJob::~ToolJob() = default;

void ToolJob::Start() {
  worker_.Run([this, work = work_](std::stop_token stop) {
    ProgressRelay relay([this](int max, int value) { emit ProgressChanged(max, value); }, stop);
    bool complete = true;
    try {
      work(relay);
    } catch (const Stopped&) {
      complete = false;
    }
    emit Finished(complete);
  });
}

void ToolJob::Stop() { worker_.Stop(); }

}  // namespace cn
