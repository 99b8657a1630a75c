// The GUI tests drive real widgets, so they need one QApplication for the
// whole run. Without a display they run offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt warns when XDG_RUNTIME_DIR is missing; a private folder keeps it quiet.
  std::unique_ptr<QTemporaryDir> runtimeDir;
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    runtimeDir = std::make_unique<QTemporaryDir>();
    if (runtimeDir->isValid()) setenv("XDG_RUNTIME_DIR", runtimeDir->path().toLocal8Bit().constData(), 1);
  }
  // Windows that keep settings (the recent files) write them here, never
  // into the user's own.
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
  int result = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  return result;
}
