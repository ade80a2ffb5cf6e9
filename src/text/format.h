// Exact printf-style number formatting without the cost of a general
// swprintf: the digits are those "%.*f" writes in the classic locale (the
// binary value rounded correctly to the requested decimals, ties to even on
// the exact value, as glibc and the Windows runtime both do).
#ifndef QUILLON_TEXT_FORMAT_H
#define QUILLON_TEXT_FORMAT_H

namespace quillon::fmt {

// Longest text fixed() can write for any double and decimals 0..9, without
// the terminating zero.
constexpr int kMaxFixedChars = 330;

// Each writes ASCII into a buffer of either character type: UTF-8 (char)
// for the C++ API, wide text for the hosts; instantiated for both.

// "%.*f" of value: returns the number of characters written; no terminator.
template <class CharT>
int fixed(CharT* out, double value, int decimals);
// "%0*.*f" of value: zero-padded after the sign to at least width characters.
template <class CharT>
int fixedZeroPadded(CharT* out, double value, int width, int decimals);
// "%*d" (zeroPad false) or "%0*d" (zeroPad true) of value.
template <class CharT>
int integer(CharT* out, int value, int width, bool zeroPad);
// Copies text (zero-terminated) to out; returns its length; no terminator.
template <class CharT>
int copyText(CharT* out, const CharT* text);

}  // namespace quillon::fmt

#endif
