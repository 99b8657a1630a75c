// Renders the main window with a few plotted equations into a PNG, for the
// README. Usage: curvenest-screenshot OUT.png
#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <cstdio>

#include "platform/qt_host.h"
#include "workspace/frm_main.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  cn::QtHost host;
  cn::frmMain window(host);
  // Packed colours: red + 256 * green + 65536 * blue.
  const auto rgb = [](unsigned r, unsigned g, unsigned b) { return r + 256 * g + 65536 * b; };
  window.AppendEquation("sin(x)*exp(-x/5)*5", "", rgb(200, 0, 0));
  window.AppendEquation("x^2/4-3", "x >= -4", rgb(0, 150, 0));
  window.AppendEquation("sqrt(x)+1", "", rgb(0, 0, 210));
  window.AppendEquation("(x+1)*(x-2)*(x-5)/10", "x < 7", rgb(150, 0, 150));
  // Larger than at the start, to show the plane filling the window.
  window.resize(1240, 860);
  window.show();
  window.mnuGraph_Click();
  // The Graph is drawn on worker threads: wait for its picture.
  QEventLoop settled;
  QObject::connect(&window, &cn::frmMain::Idle, &settled, &QEventLoop::quit);
  if (window.Busy()) settled.exec();
  window.picQuad_MouseMove(Qt::NoButton, Qt::NoModifier, 2.5f, 1.25f);
  QApplication::processEvents();
  if (!window.grab().save(argv[1])) {
    std::fprintf(stderr, "could not write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
