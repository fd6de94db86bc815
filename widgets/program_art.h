// The programs' pictures, drawn rather than shipped: icons, the hand cursor,
// the splash picture.
#pragma once

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace suite {

// A program's icon: a rounded tile in its colour with its initial.
QIcon ProgramIcon(const QString& initial, const QColor& colour);

// The hand cursor that every button of the suite shows.
const QCursor& HandCursor();

// The searcher's splash picture, `width` by `height` pixels.
QPixmap SplashPicture(int width, int height);

}  // namespace suite
