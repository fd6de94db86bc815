// The programs' pictures, drawn rather than shipped: icons, the hand cursor,
// the splash picture.
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <QPixmap>

#include "widgets/program_marks.h"

namespace suite {

// A program's icon: a rounded tile in its colour with its initial, at the
// sizes a window asks for.
QIcon ProgramIcon(const ProgramMark& mark);

// The same tile, `size` pixels square.
QPixmap ProgramPixmap(const ProgramMark& mark, int size);

// The same tile as an SVG document `size` units square: the shapes and colours
// of ProgramPixmap, the initial as an outline (an icon file needs no font).
QByteArray ProgramSvg(const ProgramMark& mark, int size);

// The hand cursor that every button of the suite shows.
const QCursor& HandCursor();

// The searcher's splash picture, `width` by `height` pixels.
QPixmap SplashPicture(int width, int height);

}  // namespace suite
