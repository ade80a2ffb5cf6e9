/// @file
/// Instrument sentences and data-file names for the hosts: field splitting,
/// the NMEA 0183 style checksum, file-name clean-up and numeric ordering of
/// file names. C++ programs use <quillon/cpp/sentences.hpp> instead.
#ifndef QUILLON_SENTENCES_H
#define QUILLON_SENTENCES_H

#include <quillon/export.h>
#include <wchar.h>

/// Splits text into rows of fixed-width fields (each cut to width - 1
/// characters) and returns the number of fields, never more than `limit`.
/// commaOnly non-zero: only "," separates and empty fields count; zero:
/// blank, ":", ";" and "," separate and a run of them counts once.
/// Blanks, ":" and ";" before a field are skipped (never the last character).
/// All `limit` rows are written (unused ones empty); a limit below 1 writes
/// nothing and returns 0; a null text counts as empty.
QUILLON_C QUILLON_API int breakFields(const wchar_t* text, wchar_t fields[][20], int limit, int commaOnly);
/// breakFields() into rows of 30 (fields cut to 29 characters).
QUILLON_API int breakFields(const wchar_t* text, wchar_t fields[][30], int limit, int commaOnly);
/// breakFields() into rows of 80 (fields cut to 79 characters).
QUILLON_API int breakFields(const wchar_t* text, wchar_t fields[][80], int limit, int commaOnly);
/// breakFields() into 115 rows of 25 (fields cut to 24 characters); only ","
/// separates; blanks and ":" before a field are skipped, and blanks, ":" and
/// ";" inside a field belong to it.
QUILLON_API int breakFields(const wchar_t* text, wchar_t fields[][25]);

/// Appends `*hh\r\n` to a sentence ("$" and body, no asterisk); the buffer
/// must have room for length + 6 characters. Returns 4. The checksum is the
/// exclusive-or of the UTF-16 code units after the first character, modulo
/// 255 (a character beyond U+FFFF counts as its surrogate pair, so both
/// widths of wchar_t give the same checksum).
QUILLON_C QUILLON_API int checkSum(wchar_t* sentence);
/// 1 when the sentence starts with "$", has an asterisk after it and the
/// hexadecimal number after the last asterisk matches; otherwise 0. The
/// number is read as "%x" reads it: white space, an optional sign and "0x"
/// skipped, any count of digits in either case, wrapping modulo 2^32; no
/// digits reads as 0. A null sentence gives 0.
QUILLON_C QUILLON_API int checkCheckSum(const wchar_t* sentence);

/// Reduces a proposed name in place to the part before the first ".", without
/// blank, '"', ",", "/", ":", ";", "=", "[", `\` and "}". At most 151
/// characters are kept: further ones are dropped, so the buffer is never
/// written beyond the original name. Returns 1 when something is left.
QUILLON_C QUILLON_API int checkDosFileName(wchar_t* name);

/// One file path (at most 259 characters; a longer one is cut to its first
/// 259; a null one is empty), compared by its bare name and ordered by the
/// numbers in that name. Should the buffer not be allocated, path is null and
/// the object behaves as one with an empty path.
class QUILLON_API FLClass {
public:
    wchar_t* path;  ///< 260 characters, owned

    /// An empty path.
    FLClass();
    /// A copy of path, cut to 259 characters; null gives an empty path.
    FLClass(const wchar_t* path);
    /// A copy of other's path in a buffer of its own.
    FLClass(const FLClass& other);
    /// Releases the buffer.
    ~FLClass();
    /// Copies other's path into this object's own buffer.
    FLClass& operator=(const FLClass& other);
    /// 1 when the name parts (no drive, directory, extension) are equal.
    int operator==(const FLClass& other) const;
    /// 1 when this name's leading number is smaller, or equal and the number
    /// read from its fifth character on is smaller: "9.dat" < "10.dat".
    /// A name of four characters or fewer has 0 as its second number.
    int operator<(const FLClass& other) const;
};

#endif
