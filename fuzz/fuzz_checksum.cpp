// checkCheckSum on any text, and checkSum on any text in a buffer of exactly
// length + 6 characters: the tail is "*hh\r\n" with the checksum computed
// here from its definition, and checkCheckSum accepts every sentence that
// starts with "$" once checkSum has completed it (the last asterisk, the
// one checkSum wrote, is the delimiter, so asterisks in the body do not
// matter) and rejects every other.
#include <cstdint>
#include <cwchar>

#include "fuzz_support.h"
#include "quillon/sentences.h"

namespace {

// The exclusive-or of the UTF-16 code units of [begin, end), modulo 255.
unsigned expectedChecksum(const wchar_t* begin, const wchar_t* end) {
    unsigned x = 0;
    for (const wchar_t* c = begin; c < end; ++c) {
        const auto code = static_cast<std::uint32_t>(*c);
        if (code >= 0x10000u && code <= 0x10FFFFu) {
            const std::uint32_t offset = code - 0x10000u;
            x ^= (0xD800u + (offset >> 10)) ^ (0xDC00u + (offset & 0x3FFu));
        } else {
            x ^= code;
        }
    }
    return x % 255u;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    fuzz::ExactText text = fuzz::exactCopy(fuzz::wideText(in));
    const std::size_t n = text.length;
    const wchar_t* s = text.get();

    const int verdict = checkCheckSum(s);
    FUZZ_CHECK(verdict == 0 || verdict == 1, "text %s: checkCheckSum gave %d", SHOWN(text), verdict);
    FUZZ_CHECK(verdict == 0 || (n >= 2 && s[0] == L'$' && std::wcschr(s + 1, L'*') != nullptr),
               "text %s accepted without \"$\" or asterisk", SHOWN(text));
    if (text.hasTail) {
        fuzz::ExactText alone = fuzz::truncatedCopy(text);
        FUZZ_CHECK(checkCheckSum(alone.get()) == verdict, "text %s: characters after the terminator changed the verdict",
                   SHOWN(text));
    }

    std::unique_ptr<wchar_t[]> sentence(new wchar_t[n + 6]);
    std::wmemcpy(sentence.get(), s, n + 1);
    const int written = checkSum(sentence.get());
    FUZZ_CHECK(written == 4, "text %s: checkSum returned %d", SHOWN(text), written);
    FUZZ_CHECK(std::wmemcmp(sentence.get(), s, n) == 0, "text %s: checkSum changed the body", SHOWN(text));
    const unsigned value = n > 1 ? expectedChecksum(s + 1, s + n) : 0u;
    const wchar_t* hex = L"0123456789ABCDEF";
    const wchar_t tail[6] = {L'*', hex[value >> 4], hex[value & 0xF], L'\r', L'\n', L'\0'};
    const std::string tailShown = fuzz::show(sentence.get() + n, 5);
    FUZZ_CHECK(std::wmemcmp(sentence.get() + n, tail, 6) == 0, "text %s: tail %s, expected checksum %02X",
               SHOWN(text), tailShown.c_str(), value);
    const int accepted = checkCheckSum(sentence.get());
    FUZZ_CHECK(accepted == (n >= 1 && s[0] == L'$' ? 1 : 0), "text %s completed with %s: checkCheckSum gave %d",
               SHOWN(text), tailShown.c_str(), accepted);
    return 0;
}
