// The programs' icons: the window icon, the pixmaps and the SVG document of the
// icon files are one drawing.
#include <QImage>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

#include "widgets/program_art.h"

namespace {

QString Name(std::string_view program) { return QString::fromUtf8(program.data(), qsizetype(program.size())); }

QColor ColourOf(const suite::ProgramMark& mark) { return QColor(mark.colour.red, mark.colour.green, mark.colour.blue); }

// The box around the near-white pixels of an image: the drawn initial.
QRectF WhiteBox(const QImage& image) {
  QRectF box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (pixel.alpha() == 255 && pixel.red() > 230 && pixel.green() > 230 && pixel.blue() > 230) {
        box |= QRectF(x, y, 1, 1);
      }
    }
  }
  return box;
}

// The box around the points of SVG path data of absolute M, L and C commands.
QRectF PathBox(const QString& data) {
  QList<double> numbers;
  for (const auto& match : QRegularExpression("-?[0-9.]+").globalMatch(data)) numbers << match.captured().toDouble();
  QRectF box;
  for (qsizetype i = 0; i + 1 < numbers.size(); i += 2) box |= QRectF(numbers[i], numbers[i + 1], 0.001, 0.001);
  return box;
}

struct SvgParts {
  QString viewBox, rectStroke, pathData;
  QStringList stopColours;
};

SvgParts ReadSvg(const QByteArray& svg) {
  SvgParts parts;
  QXmlStreamReader reader(svg);
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    const auto attributes = reader.attributes();
    if (reader.name() == u"svg") parts.viewBox = attributes.value("viewBox").toString();
    if (reader.name() == u"stop") parts.stopColours << attributes.value("stop-color").toString();
    if (reader.name() == u"rect") parts.rectStroke = attributes.value("stroke").toString();
    if (reader.name() == u"path") parts.pathData = attributes.value("d").toString();
  }
  if (reader.hasError()) parts.viewBox = "error: " + reader.errorString();
  return parts;
}

}  // namespace

class ProgramArtTest : public QObject {
  Q_OBJECT

 private slots:
  void windowIconIsTheTileAtEachSize() {
    for (const auto& [program, mark] : suite::kWindowProgramMarks) {
      const QIcon icon = suite::ProgramIcon(mark);
      QCOMPARE(icon.availableSizes(), QList<QSize>({{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
      for (int size : {16, 64}) {
        QCOMPARE(icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32),
                 suite::ProgramPixmap(mark, size).toImage().convertToFormat(QImage::Format_ARGB32));
      }
    }
  }

  void tileIsRoundedAndFilledInTheProgramsColours() {
    const QImage image = suite::ProgramPixmap(suite::kLorvaneMark, 128).toImage();
    QCOMPARE(image.size(), QSize(128, 128));
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);  // outside the rounded corner
    QCOMPARE(image.pixelColor(127, 127).alpha(), 0);
    // Inside the border, left of the initial: the gradient runs light to dark.
    const QColor high = image.pixelColor(20, 30), low = image.pixelColor(20, 100);
    QCOMPARE(high.alpha(), 255);
    QVERIFY(high.lightness() > ColourOf(suite::kLorvaneMark).lightness());
    QVERIFY(low.lightness() < ColourOf(suite::kLorvaneMark).lightness());
  }

  void svgHasTheTilesColoursAndShapes() {
    for (const auto& [program, mark] : suite::kWindowProgramMarks) {
      const SvgParts svg = ReadSvg(suite::ProgramSvg(mark, 256));
      QCOMPARE(svg.viewBox, QString("0 0 256 256"));
      const QColor colour = ColourOf(mark);
      QCOMPARE(svg.stopColours, QStringList({colour.lighter(130).name(), colour.darker(120).name()}));
      QCOMPARE(svg.rectStroke, colour.darker(160).name());
      QVERIFY(!svg.pathData.isEmpty());
    }
  }

  // The outline in the SVG document stands where the pixmap draws the initial.
  void svgInitialCoversThePixmapsInitial() {
    for (const auto& [program, mark] : suite::kWindowProgramMarks) {
      const QRectF drawn = WhiteBox(suite::ProgramPixmap(mark, 256).toImage());
      const QRectF outline = PathBox(ReadSvg(suite::ProgramSvg(mark, 256)).pathData);
      // A letter's width is the font's: an "L" can be narrow.
      QVERIFY2(drawn.width() > 32 && drawn.height() > 64, qPrintable(Name(program)));
      for (const auto& [a, b] : {std::pair{drawn.left(), outline.left()}, {drawn.right(), outline.right()},
                                  {drawn.top(), outline.top()}, {drawn.bottom(), outline.bottom()}}) {
        QVERIFY2(std::abs(a - b) < 6, qPrintable(QString("%1: %2 against %3").arg(Name(program)).arg(a).arg(b)));
      }
    }
  }
};

QTEST_MAIN(ProgramArtTest)
#include "program_art_test.moc"
