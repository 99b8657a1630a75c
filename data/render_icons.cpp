// Build-time helper: writes the program's picture as PNG icons for the
// desktop's hicolor theme, one file per size, so the desktop icon and the
// About window's picture are the same drawing.
//   render_icons OUTPUT_DIR SIZE...   ->  OUTPUT_DIR/SIZExSIZE/curvenest.png
#include <QDir>
#include <cstdio>
#include <cstdlib>

#include "output/program_picture.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: render_icons OUTPUT_DIR SIZE...\n");
    return 2;
  }
  // Paths and PNG writing need no application object, and so no display.
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 1 || size > 1024) {
      std::fprintf(stderr, "render_icons: bad size %s\n", argv[i]);
      return 2;
    }
    const QString folder = QStringLiteral("%1x%1").arg(size);
    if (!out.mkpath(folder) || !cn::ProgramPicture(size).save(out.filePath(folder + "/curvenest.png"))) {
      std::fprintf(stderr, "render_icons: cannot write the %d pixel icon\n", size);
      return 1;
    }
  }
  return 0;
}
