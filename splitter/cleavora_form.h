// The main dialog's form: one stored value per field, and what the fields show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "splitter/piece_size.h"

namespace cleavora {

// The dialog's state behind its three fields. Texts are in the code page, the
// file path in file-system bytes.
struct CleavoraForm {
  std::string filePath;
  std::string statusText;
  int64_t linesPerPiece = kDefaultLinesPerPiece;
};

// What the three fields show, as text: the path field, the status line and the
// piece-size field (which may hold anything typed or pasted).
struct CleavoraFields {
  std::string filePath;
  std::string statusText;
  std::string linesPerPiece;
  friend bool operator==(const CleavoraFields&, const CleavoraFields&) = default;
};

// The piece-size field as a decimal integer with an optional sign; blanks and
// tabs may stand before and after it. Nothing else parses.
std::optional<int64_t> ParsePieceSizeField(std::string_view text);

// Read form: the fields into the form, in field order. A piece size that does
// not parse leaves the stored one; one that parses is stored even out of range.
// Gives the validation message for the piece-size field, or the empty text.
std::string ReadFormFields(const CleavoraFields& fields, CleavoraForm& form);

// Show form: the form into the fields.
CleavoraFields FieldsOfForm(const CleavoraForm& form);

}  // namespace cleavora
