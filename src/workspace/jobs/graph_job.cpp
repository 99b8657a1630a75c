#include "workspace/jobs/graph_job.h"

#include <QPainter>
#include <QThreadPool>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>

#include "core/progress.h"
#include "workspace/graph_painter.h"

namespace cn {
namespace {

using Clock = std::chrono::steady_clock;
// Often enough to look smooth, seldom enough that the window's thread spends
// next to nothing on it.
constexpr auto kEvery = std::chrono::milliseconds(33);

// The bar's Max and Value, passed on to the window's thread at most every
// 33 ms (and always when the bar empties or fills).
class ProgressRelay : public Progress {
 public:
  explicit ProgressRelay(GraphJob* job) : job_(job) {}
  int Max() const override { return max_; }
  void Max(int max) override {
    max_ = max;
    Send();
  }
  int Value() const override { return value_; }
  void Value(int value) override {
    if (value == value_) return;
    value_ = value;
    if (value == 0 || value == max_ || Clock::now() - sent_ >= kEvery) Send();
  }

 private:
  void Send() {
    sent_ = Clock::now();
    emit job_->ProgressChanged(max_, value_);
  }
  GraphJob* job_;
  int max_ = 0, value_ = 0;
  Clock::time_point sent_{};
};

}  // namespace

struct GraphJob::State {
  std::stop_source stop;
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
};

GraphJob::GraphJob(const GraphDescription& graph, const QSize& pixels, double ratio, double dpi, QObject* parent)
    : QObject(parent), state_(std::make_shared<State>()), graph_(graph), pixels_(pixels), ratio_(ratio), dpi_(dpi) {
  state_->done = true;  // until started
}

void GraphJob::Start() {
  state_->done = false;
  // The job waits for the worker in its destructor, so `this` outlives every
  // signal the worker sends.
  QThreadPool::globalInstance()->start(
      [this, state = state_, graph = graph_, pixels = pixels_, ratio = ratio_, dpi = dpi_] {
        const std::stop_token token = state->stop.get_token();
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(Qt::white);
        const int dpm = qRound(dpi / 0.0254);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
        ProgressRelay relay(this);
        Clock::time_point shown = Clock::now();
        const auto show = [&] {
          if (Clock::now() - shown < kEvery) return;
          shown = Clock::now();
          QImage sofar = image.copy();
          sofar.setDevicePixelRatio(ratio);
          emit Picture(sofar);
        };
        PaintOptions options;
        options.penScale = ratio;
        options.progress = &relay;
        // Dots show themselves when painted; lines as they go.
        const bool dots = !graph.connectSamples;
        options.cancelled = [&] {
          if (!dots) show();
          return token.stop_requested();
        };
        options.shown = show;
        bool complete = false;
        {
          QPainter painter(&image);
          complete = DrawGraph(painter, pixels, graph, options);
        }
        image.setDevicePixelRatio(ratio);
        emit Finished(image, complete);
        const std::lock_guard lock(state->mutex);
        state->done = true;
        state->ended.notify_all();
      });
}

GraphJob::~GraphJob() {
  Stop();
  std::unique_lock lock(state_->mutex);
  state_->ended.wait(lock, [this] { return state_->done; });
}

void GraphJob::Stop() { state_->stop.request_stop(); }

}  // namespace cn
