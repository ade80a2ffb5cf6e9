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
/// modulo 255 (for 7-bit text the usual NMEA 0183 checksum, 0..127).
QUILLON_API unsigned checksum_of(std::string_view span) noexcept;
/// The checksum of wide text: the exclusive-or of its UTF-16 code units
/// (a character beyond U+FFFF counts as its surrogate pair, whatever the
/// width of wchar_t), modulo 255.
QUILLON_API unsigned checksum_of(std::wstring_view span) noexcept;

/// Whether a received sentence checks out, as the hosts' checkCheckSum
/// judges it: it starts with "$", has an asterisk after that, and the
/// hexadecimal number after the last asterisk (read as scanf's "%x" reads
/// it: blanks, sign and "0x" skipped, any count of digits, either case; no
/// digits reads 0) equals the checksum of the text between "$" and that
/// asterisk: "$PX,1,2*0B" and "$PX,1,2*0b\r\n" check out.
QUILLON_API bool checksum_ok(std::string_view sentence) noexcept;
/// @copydoc checksum_ok(std::string_view)
QUILLON_API bool checksum_ok(std::wstring_view sentence) noexcept;

/// Completes an outgoing sentence held in out (its first `length` code
/// units, a start character and the body, no asterisk) with "*hh\r\n" and a
/// terminating zero, hh the checksum of all but the first character in two
/// uppercase hexadecimal digits: "$PX,1,2" -> "$PX,1,2*0B\r\n". Returns the
/// new length, or 0 (nothing written) when size is below length + 6.
QUILLON_API std::size_t append_checksum(char* out, std::size_t length, std::size_t size) noexcept;
/// @copydoc append_checksum(char*, std::size_t, std::size_t)
QUILLON_API std::size_t append_checksum(wchar_t* out, std::size_t length, std::size_t size) noexcept;
/// sentence with its checksum tail: "$ABC" -> "$ABC*40\r\n".
inline std::string with_checksum(std::string_view sentence) {
    std::string out(sentence);
    out.resize(sentence.size() + 6);
    out.resize(append_checksum(out.data(), sentence.size(), out.size()));
    return out;
}

/// Which characters separate fields.
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
/// views into the text: nothing is copied, cut or allocated. The last
/// character is never skipped, and a text that ends in a separator has one
/// more, empty, field after it ("A,B," has three fields). An empty text has
/// none.
template <class Char>
class QUILLON_API BasicFieldReader {
public:
    /// Reads the fields of text, which must outlive the reader.
    BasicFieldReader(std::basic_string_view<Char> text, FieldSyntax syntax) noexcept;
    /// The next field into *field; false when there is none left.
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
/// "*hh" checksum tail.
inline std::vector<std::string_view> split_fields(std::string_view sentence,
                                                  FieldSyntax syntax = FieldSyntax::comma_only) {
    std::vector<std::string_view> fields;
    FieldReader reader(sentence, syntax);
    for (std::string_view field; reader.next(&field);) fields.push_back(field);
    return fields;
}

/// Reduces a proposed file name in place to what comes before its first "."
/// without blank, double quote, ",", "/", ":", ";", "=", "[", "\" and "}",
/// keeping at most 151 characters: "my file;1.dat" -> "myfile1". Writes a
/// terminating zero when the name had room for one (it always has when it
/// came zero-terminated) and returns the new length; 0 means nothing usable
/// is left.
QUILLON_API std::size_t clean_file_name(char* name, std::size_t length) noexcept;
/// @copydoc clean_file_name(char*, std::size_t)
QUILLON_API std::size_t clean_file_name(wchar_t* name, std::size_t length) noexcept;
/// A proposed file name reduced as clean_file_name() reduces it in place.
inline std::string cleaned_file_name(std::string_view name) {
    std::string out(name);
    out.resize(clean_file_name(out.data(), out.size()));
    return out;
}

/// Whether two paths name the same file name: their names without drive,
/// directory and extension are equal, case counting: "C:\logs\0012.dat"
/// and "D:\other\0012.txt" are; "0012.dat" and "12.dat" are not.
QUILLON_API bool same_file_name(std::string_view a, std::string_view b) noexcept;
/// @copydoc same_file_name(std::string_view, std::string_view)
QUILLON_API bool same_file_name(std::wstring_view a, std::wstring_view b) noexcept;
/// Whether path a sorts before path b by the numbers in their names: the
/// leading number of the name, then the number read from its fifth
/// character on: "9.dat" before "10.dat"; "AAAA0005" before "BBBB0012".
QUILLON_API bool file_name_before(std::string_view a, std::string_view b) noexcept;
/// @copydoc file_name_before(std::string_view, std::string_view)
QUILLON_API bool file_name_before(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace quillon

#endif
