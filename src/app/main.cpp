// Curvenest: reads the command line, then either answers it on the console
// (--help, --version, a mistake, --export) or starts the main window, the
// only window shown at start.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/qt_host.h"
#include "workspace/frm_main.h"
#include "workspace/workspace_document.h"

namespace {

// Exit statuses, as --help states them.
constexpr int kFileProblem = 1;
constexpr int kUsageProblem = 2;

int Fail(const std::string& line, int status) {
  std::fprintf(stderr, "curvenest: %s\n", line.c_str());
  return status;
}

// Writes the graph file of an --export without showing a window.
int Export(const cn::ExportRequest& request) {
  cn::WorkspaceDocument document;
  std::string error;
  if (!cn::BuildExportDocument(request, &document, &error)) return Fail(error, kFileProblem);
  // The plane's drawing routine is not reachable from here yet.
  return Fail("--export: drawing graph files is not available in this build", kFileProblem);
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
      return Export(command.request);
    case cn::CommandLine::Action::kRun:
      break;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("Curvenest");
  cn::QtHost host;
  cn::frmMain window(host);
  window.show();
  // FILE (command.file) is parsed and kept; the main window opens it once it
  // can load a workspace.
  return QApplication::exec();
}
