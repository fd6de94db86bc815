// Writes a window program's icon files for an icon theme, from the art its
// window shows: usage: suite-icon-files PROGRAM ICON-NAME FOLDER SIZE...
// Makes FOLDER/<size>x<size>/apps/ICON-NAME.png for each size and
// FOLDER/scalable/apps/ICON-NAME.svg. Run on the offscreen platform.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <string_view>

#include "widgets/program_art.h"

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s PROGRAM ICON-NAME FOLDER SIZE...\n", argv[0]);
    return 2;
  }
  QGuiApplication application(argc, argv);
  const std::string_view program = argv[1];
  const QString name = QString::fromLocal8Bit(argv[2]);
  const QDir folder(QString::fromLocal8Bit(argv[3]));

  const suite::ProgramMark* mark = nullptr;
  for (const auto& entry : suite::kWindowProgramMarks) {
    if (entry.program == program) mark = &entry.mark;
  }
  if (!mark) {
    std::fprintf(stderr, "%s: no window program is called %s\n", argv[0], argv[1]);
    return 2;
  }

  QStringList failed;
  for (int i = 4; i < argc; ++i) {
    const int size = QString::fromLatin1(argv[i]).toInt();
    const QString apps = QStringLiteral("%1x%1/apps").arg(size);
    const QString path = folder.filePath(apps + "/" + name + ".png");
    if (size <= 0 || !folder.mkpath(apps) || !suite::ProgramPixmap(*mark, size).save(path, "PNG")) failed << path;
  }
  // The scalable icon is drawn on the theme's usual 256-unit canvas.
  const QString svg = folder.filePath("scalable/apps/" + name + ".svg");
  if (!folder.mkpath("scalable/apps") || !WriteFile(svg, suite::ProgramSvg(*mark, 256))) failed << svg;

  for (const QString& path : failed) std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
  return failed.isEmpty() ? 0 : 1;
}
