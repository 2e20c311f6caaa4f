// Writes the program's icon as PNG files of the hicolor sizes, drawn by the same code that
// draws the windows' icon: render_icons OUTPUT_FOLDER NAME. Run by the build.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "controller/program_icon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: render_icons OUTPUT_FOLDER NAME\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (int side : vlx::kProgramIconSizes) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(side);
    if (!QDir().mkpath(folder) || !vlx::ProgramIconImage(side).save(folder + "/" + name + ".png")) {
      std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
