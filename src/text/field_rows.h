// The hosts' fixed-width rows of fields, filled in one pass over the text.
#ifndef QUILLON_TEXT_FIELD_ROWS_H
#define QUILLON_TEXT_FIELD_ROWS_H

#include <quillon/cpp/sentences.hpp>

#include <cstddef>

namespace quillon::text {

// Splits the zero-terminated text as BasicFieldReader does with the same
// syntax and writes every one of the `limit` rows of `width` characters
// (rows[r * width]): a field cut to width - 1 characters, or an empty row
// where no field came. A null text has no fields; a limit below 1 writes
// nothing. Returns the fields written. Neither measures the text first nor
// clears rows that a field then fills.
int fieldsIntoRows(const wchar_t* text, wchar_t* rows, std::size_t width, int limit, FieldSyntax syntax) noexcept;

}  // namespace quillon::text

#endif
