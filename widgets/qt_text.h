// Texts across the window's edge: the code page and file names on one side,
// Qt's Unicode on the other.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "common/codepage.h"

namespace suite {

// Text of messages (bytes that don't decode show as \xNN).
QString FromCodePage(std::string_view text);
// Text of the given code page (a log's lines).
QString FromCodePage(std::string_view text, CodePage codePage);
// To code-page text; characters the code page lacks become "?".
std::string ToCodePage(const QString& text);
// File names: the file system's own bytes.
QString FromPath(const std::string& path);
std::string ToPath(const QString& path);

}  // namespace suite
