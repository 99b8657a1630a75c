// Waits, with the event loop running, until the main window has no Graph
// being drawn and no tool searching: the plane then shows the last picture.
// False when a minute passes first.
#pragma once

#include <QEventLoop>
#include <QTimer>

#include "workspace/frm_main.h"

inline bool WaitIdle(cn::frmMain& window) {
  QEventLoop loop;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&window, &cn::frmMain::Idle, &loop, &QEventLoop::quit);
  QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
  guard.start(60000);
  while (window.Busy()) {
    loop.exec();
    if (!guard.isActive()) return !window.Busy();
  }
  return true;
}
