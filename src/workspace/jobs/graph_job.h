// A Graph drawn off the window's thread: the job copies what it draws when it
// starts, draws it into an image on a worker thread (the dots on every core),
// and hands the picture back by queued signals, so the window stays free
// however long the drawing takes.
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <memory>

#include "workspace/jobs/worker.h"
#include "workspace/model/graph_description.h"

namespace cn {

class GraphJob : public QObject {
  Q_OBJECT

 public:
  // `ratio` is the device pixels per screen pixel, `dpi` the resolution the
  // image records (texts take their size from it).
  GraphJob(const GraphDescription& graph, const QSize& pixels, double ratio, double dpi, QObject* parent = nullptr);
  // Stops the drawing and waits for its thread to let go of it (at most the
  // few milliseconds of one block of samples).
  ~GraphJob() override;
  GraphJob(const GraphJob&) = delete;
  GraphJob& operator=(const GraphJob&) = delete;

  // Starts the drawing; connect to the signals first, or the first of them
  // (even Finished) may be gone before anyone listens.
  void Start();
  // Asks the drawing to stop; Finished follows with what was drawn.
  void Stop();

 signals:
  // About 30 times a second at most.
  void ProgressChanged(int max, int value);
  // The picture so far, about 30 times a second at most.
  void Picture(const QImage& sofar);
  // The last signal: the picture, and whether every equation was drawn whole.
  void Finished(const QImage& picture, bool complete);

 private:
  GraphDescription graph_;
  QSize pixels_;
  double ratio_, dpi_;
  Worker worker_;  // last: stopped and waited for before the rest goes
};

}  // namespace cn
