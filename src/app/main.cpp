// Curvenest: reads the command line, then either answers it on the console
// (--help, --version, a mistake, --export, a tool) or starts the main window,
// the only window shown at start.
#include <QApplication>
#include <QGuiApplication>
#include <QSize>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/tool_command.h"
#include "platform/qt_host.h"
#include "workspace/frm_main.h"
#include "workspace/graph_painter.h"
#include "workspace/model/workspace_document.h"

namespace {

// Exit statuses, as --help states them.
constexpr int kFileProblem = 1;
constexpr int kUsageProblem = 2;

int Fail(const std::string& line, int status) {
  std::fprintf(stderr, "curvenest: %s\n", line.c_str());
  return status;
}

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

// Qt's own remarks (a missing runtime folder, font notes) would break the
// promise of one line on stderr per failure; only its hard errors get through.
void KeepQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "curvenest: %s\n", qPrintable(message));
}

// Writes the graph file of an --export without showing a window.
int Export(const cn::ExportRequest& request, int argc, char* argv[]) {
  cn::WorkspaceDocument document;
  std::string error;
  if (!cn::BuildExportDocument(request, &document, &error)) return Fail(error, kFileProblem);
  // --window has been checked with the command line; a bad window here is the file's.
  const std::string where = request.workspace.empty() ? "--window: " : Quote(request.workspace) + ": ";
  cn::GraphDescription graph;
  if (!cn::BuildExportGraph(document, where, &graph, &error)) return Fail(error, kFileProblem);

  // Drawing texts needs a GUI application, but no display: a script may run
  // where there is none.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(KeepQuiet);
  QGuiApplication app(argc, argv);
  const QString problem =
      cn::ExportGraph(graph, QString::fromStdString(request.output), QSize(request.size, request.size));
  if (!problem.isEmpty()) return Fail(problem.toStdString(), kFileProblem);
  return 0;
}

// Whether the desktop's display can be reached. Without one Qt aborts in
// its constructor with four lines of its own; a person deserves one.
bool DisplayReachable(int argc, char* argv[]) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  for (int i = 1; i < argc; ++i) {
    const std::string_view word(argv[i]);
    if (word == "-platform" || word == "--platform") return true;  // the user chose; Qt will say
  }
  if (platform && *platform && std::string_view(platform).substr(0, 3) != "xcb" &&
      std::string_view(platform).substr(0, 7) != "wayland") {
    return true;  // offscreen, vnc, eglfs ...: nothing to find
  }
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland && *wayland) return true;
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return false;
  // A local X display ":N" has its socket; a remote one is left to Qt.
  const std::string_view d(display);
  if (d.front() != ':') return true;
  const std::string number(d.substr(1, d.find('.') == std::string_view::npos ? d.npos : d.find('.') - 1));
  return std::filesystem::exists("/tmp/.X11-unix/X" + number);
}

}  // namespace

int main(int argc, char* argv[]) {
  // The console answers come first: they need no display.
  const cn::CommandLine command = cn::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (command.action) {
    case cn::CommandLine::Action::kHelp:
      std::fputs(cn::UsageText().c_str(), stdout);
      return 0;
    case cn::CommandLine::Action::kVersion:
      std::fputs(cn::VersionText().c_str(), stdout);
      return 0;
    case cn::CommandLine::Action::kError:
      return Fail(command.error, kUsageProblem);
    case cn::CommandLine::Action::kExport:
      return Export(command.request, argc, argv);
    case cn::CommandLine::Action::kTool: {
      // The tools compute without Qt's GUI: no display, no application object.
      const cn::ToolAnswer answer = cn::RunTool(command.request, command.tool);
      if (!answer.found) return Fail(answer.text, kFileProblem);
      std::printf("%s\n", answer.text.c_str());
      return 0;
    }
    case cn::CommandLine::Action::kRun:
      break;
  }

  if (!DisplayReachable(argc, argv)) return Fail("cannot open a display; use --export to draw without one", 1);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Curvenest");
  cn::QtHost host;
  cn::frmMain window(host);
  window.RestorePlacement();
  window.show();
  // A FILE that cannot be read is reported over an empty workspace.
  if (!command.file.empty()) window.OpenWorkspace(QString::fromStdString(command.file));
  return QApplication::exec();
}
