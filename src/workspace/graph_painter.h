// The one routine that draws a graph: the axes with their ticks and labels,
// every equation under its condition, the stat plot and the equation texts,
// onto any QPainter at any pixel size. The screen, the clipboard, the printer
// and the exported files all come from it, so they all show the same picture.
// It needs no window: a command line can draw and export a description.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

#include "core/progress.h"
#include "workspace/model/graph_description.h"

class QPainter;

namespace cn {

struct PaintOptions {
  // Device pixels per screen pixel: pen widths and dots grow with it, so that
  // a print at 600 dpi has the physical line widths of the screen. Texts take
  // their size in points from the device's own resolution.
  double penScale = 1;
  // Files: every curve as polylines (whatever connectSamples says) and the
  // stat plot as discs, all as vector shapes.
  bool vector = false;
  // Set to Max once; for each equation in turn it runs from 0 (sampled on
  // every core, it shows the first equation not sampled whole yet).
  Progress* progress = nullptr;
  // Asked at every progress step; true stops the drawing where it is.
  std::function<bool()> cancelled;
  // Dots, and connected samples drawn in pixels, are sampled on every core:
  // dots reduced to the pixels they hit, lines run in sweep order through
  // the same polylines as one sample after another. False keeps one sample
  // after the other on the calling thread; the picture is the same.
  bool parallel = true;
  // Called on the drawing thread about 30 times a second while curves are
  // sampled on every core, with the picture so far (drawing onto a 32-bit
  // image only).
  std::function<void(const QImage& sofar)> shown;
  // The marks, the tangent and the tinted area; false leaves them to
  // DrawAnswers over the finished picture (the screen does, so that a new
  // mark costs no new sweep).
  bool answers = true;
};

// Draws `graph` into the rectangle (0, 0, pixels) of the painter's device
// (the caller fills the background). The window maps onto the rectangle:
// xmin at the left edge, xmax at the right, ymax at the top, ymin at the
// bottom. Curves are sampled every 0.001 in x from xmin to xmax. As dots,
// each sample that evaluates and passes its condition is a 2-pixel dot; as
// polylines, a line is broken wherever a sample fails, its condition does not
// hold, or two neighbours lie farther apart than the rectangle's height.
// Tick labels cut by an edge of the rectangle, or belonging to an axis
// outside it, are moved inside, along the nearest edge.
// Returns false when `cancelled` stopped it; what was drawn until then stays.
bool DrawGraph(QPainter& painter, const QSize& pixels, const GraphDescription& graph, const PaintOptions& options = {});

// Only what the tools found (marks, tangent, tinted area), as DrawGraph draws
// it, over a picture DrawGraph made with `answers` false at the same size.
void DrawAnswers(QPainter& painter, const QSize& pixels, const GraphDescription& graph,
                 const PaintOptions& options = {});

// A white image of `pixels` with the graph drawn on it; `dpi` is recorded in
// the image and sets the size of the texts (points at that resolution).
QImage RenderGraph(const GraphDescription& graph, const QSize& pixels, double dpi = 96,
                   const PaintOptions& options = {});

// Writes the graph to `path`, its kind taken from the suffix (case ignored):
// .png is drawn as above at `pixels`; .svg and .pdf are vector pictures of the
// physical size `pixels` has at `screenDpi`. The file is written to a
// temporary file first and renamed, so a failure leaves no partial file and
// an existing file intact. Returns an empty text on success, else a message
// naming the file.
QString ExportGraph(const GraphDescription& graph, const QString& path, const QSize& pixels, double screenDpi = 96);

}  // namespace cn
