/// @file
/// Instrument sentences in the manner of NMEA 0183 ("$GPGGA,...*47"): the
/// two-digit checksum, field splitting, and data-file names.
#ifndef QUILLON_CPP_SENTENCES_HPP
#define QUILLON_CPP_SENTENCES_HPP

#include <quillon/export.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// The sentence checksum of a span: the exclusive-or of its bytes, reduced
/// modulo 255 (for 7-bit text the usual NMEA 0183 checksum, 0..127; in
/// general 0..254). Any span is valid; an empty one gives 0. Pass the text
/// between "$" and "*": checksum_of("GPGGA,1") is that sentence's checksum.
QUILLON_API unsigned checksum_of(std::string_view span) noexcept;
/// The checksum of wide text: the exclusive-or of its UTF-16 code units
/// (a character beyond U+FFFF counts as its surrogate pair, whatever the
/// width of wchar_t), modulo 255. For 7-bit text it equals the checksum of
/// the same text in UTF-8; beyond it the two differ, as bytes and UTF-16
/// code units do.
QUILLON_API unsigned checksum_of(std::wstring_view span) noexcept;

/// Whether a received sentence checks out, as the hosts' checkCheckSum
/// judges it: it starts with "$", has an asterisk after that, and the
/// hexadecimal number after the last asterisk (read as scanf's "%x" reads
/// it: blanks, sign and "0x" skipped, any count of digits, either case,
/// wrapping modulo 2^32; no digits reads 0; whatever follows the digits,
/// such as `\r\n`, is ignored) equals the checksum of the text between
/// "$" and that asterisk: "$PX,1,2*0B" and `$PX,1,2*0b\r\n` check out;
/// "$ABC" (no asterisk), "ABC*40" (no "$") and "$ABC*41" do not. The whole
/// view is the sentence: a zero character inside it is an ordinary character.
QUILLON_API bool checksum_ok(std::string_view sentence) noexcept;
/// @copydoc checksum_ok(std::string_view)
QUILLON_API bool checksum_ok(std::wstring_view sentence) noexcept;

/// Completes an outgoing sentence held in out (its first `length` code
/// units, a start character and the body, no asterisk) with `*hh\r\n` and a
/// terminating zero, hh the checksum of all but the first character in two
/// uppercase hexadecimal digits: "$PX,1,2" -> `$PX,1,2*0B\r\n`. The first
/// character is not examined (a length of 0 or 1 gives "*00"). Returns the
/// new length, length + 5, or 0 (nothing written) when size, the room in
/// out counting the terminating zero, is below length + 6.
QUILLON_API std::size_t append_checksum(char* out, std::size_t length, std::size_t size) noexcept;
/// @copydoc append_checksum(char*, std::size_t, std::size_t)
QUILLON_API std::size_t append_checksum(wchar_t* out, std::size_t length, std::size_t size) noexcept;
/// sentence with its checksum tail: "$ABC" -> `$ABC*40\r\n`. Throws
/// std::bad_alloc only when the string cannot be allocated.
inline std::string with_checksum(std::string_view sentence) {
    std::string out(sentence);
    out.resize(sentence.size() + 6);
    out.resize(append_checksum(out.data(), sentence.size(), out.size()));
    return out;
}

/// Which characters separate fields. A zero character is never a separator.
enum class FieldSyntax {
    /// Only "," separates, and ",," holds an empty field; blanks, ":" and
    /// ";" before a field are skipped ("$GPGGA,1,,N" -> "$GPGGA", "1", "", "N").
    comma_only,
    /// Blank, ":", ";" and "," all separate, and a run of them counts once
    /// ("A : B,,C" -> "A", "B", "C").
    any_separator,
    /// Only "," separates; blanks and ":" before a field are skipped, blanks,
    /// ":" and ";" inside a field belong to it ("$PX, 12 34 ,:x;y" -> "$PX",
    /// "12 34 ", "x;y").
    comma_keep_blanks,
};

/// Walks the fields of a sentence, as the hosts' breakFields cuts them, as
/// views into the text: nothing is copied, cut or allocated, so a field of
/// any length comes whole. The last character is never skipped, and a text
/// that ends in a separator has one more, empty, field after it ("A,B," has
/// three fields; with FieldSyntax::any_separator "A " has two and " " has
/// two empty ones). An empty text has none. A reader is a small value: it
/// copies freely, and two readers never share state.
template <class Char>
class QUILLON_API BasicFieldReader {
public:
    /// Reads the fields of text (all of the view, a zero character being an
    /// ordinary character), which must outlive the reader. A syntax outside
    /// FieldSyntax gives no fields.
    BasicFieldReader(std::basic_string_view<Char> text, FieldSyntax syntax) noexcept;
    /// Puts the next field into *field, a view into the text, and returns
    /// true; returns false, leaving *field alone, when there is none left
    /// (and on every later call).
    bool next(std::basic_string_view<Char>* field) noexcept;

private:
    std::basic_string_view<Char> text_;
    FieldSyntax syntax_;
    std::size_t at_ = 0;
    bool done_ = false;
};
/// @cond INTERNAL
extern template class QUILLON_API BasicFieldReader<char>;
extern template class QUILLON_API BasicFieldReader<wchar_t>;
/// @endcond
/// The fields of UTF-8 text.
using FieldReader = BasicFieldReader<char>;
/// The fields of wide text.
using WideFieldReader = BasicFieldReader<wchar_t>;

/// Every field of a sentence, as views into it: split_fields("$GPGGA,1,,N")
/// -> {"$GPGGA", "1", "", "N"}. Call it on the sentence without its
/// "*hh" checksum tail. Throws std::bad_alloc only when the vector cannot
/// be allocated.
inline std::vector<std::string_view> split_fields(std::string_view sentence,
                                                  FieldSyntax syntax = FieldSyntax::comma_only) {
    std::vector<std::string_view> fields;
    FieldReader reader(sentence, syntax);
    for (std::string_view field; reader.next(&field);) fields.push_back(field);
    return fields;
}

/// Longest name clean_file_name() keeps, in characters.
constexpr std::size_t kMaxCleanFileName = 151;

/// Reduces a proposed file name in place to what comes before its first "."
/// without blank, double quote, ",", "/", ":", ";", "=", "[", `\` and "}",
/// keeping at most kMaxCleanFileName (151) characters and dropping the rest:
/// "my file;1.dat" -> "myfile1", `C:\data\x.y` -> "Cdatax", "{a}[b]" ->
/// "{ab]". The name is its first `length` code units (a zero among them is
/// kept like any other character) and may be null when length is 0. Writes
/// a terminating zero after the result when it is shorter than length (a
/// zero-terminated name thus stays zero-terminated) and returns the new
/// length; 0 means nothing usable is left (".hidden"). In UTF-8 the 151
/// count whole characters as the wide form counts them (one per code point,
/// two beyond U+FFFF where wchar_t has 16 bits), a byte that starts no
/// character counting one, and a character that would pass the limit is
/// dropped whole.
QUILLON_API std::size_t clean_file_name(char* name, std::size_t length) noexcept;
/// @copydoc clean_file_name(char*, std::size_t)
QUILLON_API std::size_t clean_file_name(wchar_t* name, std::size_t length) noexcept;
/// A proposed file name reduced as clean_file_name() reduces it in place:
/// "my file;1.dat" -> "myfile1". Throws std::bad_alloc only when the string
/// cannot be allocated.
inline std::string cleaned_file_name(std::string_view name) {
    std::string out(name);
    out.resize(clean_file_name(out.data(), out.size()));
    return out;
}

/// Whether two paths name the same file name: their name parts are equal,
/// case counting: `C:\logs\0012.dat` and `D:\other\0012.txt` are;
/// "0012.dat" and "12.dat", "Abc.x" and "abc.x" are not. The name part is
/// what the Windows runtime's path splitting leaves of a path without its
/// drive (a first character followed by ":"), directory (up to the last `\`
/// or "/") and extension (from the last "." after that): "/a.b/run.1.log"
/// -> "run.1"; a name part of 256 characters or more counts as empty. Paths
/// of any length are read whole. The UTF-8 form gives the wide form's
/// result on the same text, the 256 counting as the wide form counts (two
/// beyond U+FFFF where wchar_t has 16 bits); malformed bytes compare byte
/// for byte.
QUILLON_API bool same_file_name(std::string_view a, std::string_view b) noexcept;
/// @copydoc same_file_name(std::string_view, std::string_view)
QUILLON_API bool same_file_name(std::wstring_view a, std::wstring_view b) noexcept;
/// Whether path a sorts before path b by the numbers in their name parts
/// (as same_file_name() splits them): the leading number of the name, then,
/// between equal leading numbers, the number read from the name's fifth
/// character on (0 for a name of four characters or fewer). A number is
/// read as the C runtime's _wtoi reads it: blanks, then an optional sign and
/// decimal digits, saturating at the range of a 32-bit int; 0 without
/// digits. "9.dat" before "10.dat"; "AAAA0005" before "BBBB0012"; "-5"
/// before "3"; names with equal numbers sort before each other neither
/// way. The UTF-8 form gives the wide form's result on the text decoded as
/// decode_utf8() decodes it.
QUILLON_API bool file_name_before(std::string_view a, std::string_view b) noexcept;
/// @copydoc file_name_before(std::string_view, std::string_view)
QUILLON_API bool file_name_before(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace quillon

#endif
