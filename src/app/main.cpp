// Curvenest: starts the main window, the only window shown at start.
#include <QApplication>

#include "platform/qt_host.h"
#include "workspace/frm_main.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Curvenest");
  cn::QtHost host;
  cn::frmMain window(host);
  window.show();
  return QApplication::exec();
}
