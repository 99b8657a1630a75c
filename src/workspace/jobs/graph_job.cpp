#include "workspace/jobs/graph_job.h"

#include <QPainter>
#include <chrono>
#include <stop_token>

#include "workspace/graph_painter.h"
#include "workspace/jobs/progress_relay.h"

namespace cn {

GraphJob::GraphJob(const GraphDescription& graph, const QSize& pixels, double ratio, double dpi, QObject* parent)
    : QObject(parent), graph_(graph), pixels_(pixels), ratio_(ratio), dpi_(dpi) {}

// The worker is a member: destroying the job stops the drawing and waits for it.
GraphJob::~GraphJob() = default;

void GraphJob::Start() {
  worker_.Run([this, graph = graph_, pixels = pixels_, ratio = ratio_, dpi = dpi_](std::stop_token token) {
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dpm = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    ProgressRelay relay([this](int max, int value) { emit ProgressChanged(max, value); });
    auto shown = ProgressRelay::Clock::now();
    const auto show = [&](const QImage& sofar) {
      if (ProgressRelay::Clock::now() - shown < ProgressRelay::kEvery) return;
      shown = ProgressRelay::Clock::now();
      QImage picture = sofar.copy();
      picture.setDevicePixelRatio(ratio);
      emit Picture(picture);
    };
    PaintOptions options;
    options.penScale = ratio;
    options.progress = &relay;
    options.cancelled = [&] { return token.stop_requested(); };
    options.shown = show;
    // The window paints the answers over the finished picture itself.
    options.answers = false;
    bool complete = false;
    {
      QPainter painter(&image);
      complete = DrawGraph(painter, pixels, graph, options);
    }
    image.setDevicePixelRatio(ratio);
    emit Finished(image, complete);
  });
}

void GraphJob::Stop() { worker_.Stop(); }

}  // namespace cn
