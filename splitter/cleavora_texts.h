// Every text the splitter shows, in the code page.
#pragma once

#include <cstdint>
#include <string>

namespace cleavora {

// The window title with the piece size in force.
std::string FormatWindowTitle(int64_t linesPerPiece);

// The worker's status texts.
std::string MissingSourceText();
std::string OpenFailedText(const std::string& sourcePath);
std::string SplitStartingText();
std::string CreateFailedText(const std::string& piecePath);
std::string ReadFailedText(const std::string& sourcePath);
std::string WriteFailedText(const std::string& piecePath);
// Another program cut the source while it was split.
std::string CutWhileReadText(const std::string& sourcePath);
std::string ProgressText(int64_t linesDone, int64_t piecesDone);
std::string SuccessText(int64_t lines, int64_t pieces);
// Where the pieces go, for a program that keeps them in the user's folder: at
// start, and after a split's success text.
std::string PiecesPlaceText(const std::string& workDirectory);
std::string PiecesWrittenToText(const std::string& splitDirectory);

// Apply's status texts.
std::string PieceSizeRejectedText(int64_t restoredLines);
std::string PieceSizeAcceptedText(int64_t lines);

// What reading the form says about a piece-size field it can't take whole.
std::string NotAnIntegerText();
std::string PieceSizeOutOfRangeText();

}  // namespace cleavora
