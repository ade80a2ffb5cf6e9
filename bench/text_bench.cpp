// Checksum and field splitting of every real sentence, against the plain
// loops a host would otherwise write.
#include <cwchar>
#include <string>
#include <vector>

#include <quillon/sentences.h>

#include "bench_rows.h"
#include "real_sentences.h"

namespace {

constexpr int kFieldRows = 40;

bool haveSentencesOrSkip(benchmark::State& state) {
    if (!bench::realSentences().empty()) return true;
    const std::string message = "no real NMEA logs in " + bench::nmeaDir();
    state.SkipWithError(message.c_str());
    return false;
}

int hexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// The byte loop: exclusive-or up to the first "*", then the hex digits.
int plainCheckSum(const wchar_t* sentence) {
    if (sentence[0] != L'$') return 0;
    unsigned int x = 0;
    const wchar_t* c = sentence + 1;
    for (; *c != L'\0' && *c != L'*'; ++c) x ^= static_cast<unsigned int>(*c);
    if (*c != L'*') return 0;
    unsigned int value = 0;
    for (int digit; (digit = hexValue(*++c)) >= 0;) value = value * 16u + unsigned(digit);
    return value == x ? 1 : 0;
}

// The wcstok split: a copy of the line cut at every ",", each token copied
// into a row. Empty fields vanish, as they do with wcstok.
int wcstokSplit(const wchar_t* text, wchar_t fields[][20], int limit) {
    wchar_t scratch[256];
    std::wcsncpy(scratch, text, 255);
    scratch[255] = L'\0';
    int n = 0;
    wchar_t* rest = nullptr;
    for (wchar_t* token = std::wcstok(scratch, L",", &rest); token != nullptr && n < limit;
         token = std::wcstok(nullptr, L",", &rest)) {
        std::wcsncpy(fields[n], token, 19);
        fields[n][19] = L'\0';
        ++n;
    }
    return n;
}

void registerChecksumRow() {
    const std::string row = "checkCheckSum, per real sentence";
    bench::addRow(row, bench::kQuillon, [](benchmark::State& state) {
        if (!haveSentencesOrSkip(state)) return;
        bench::Cycle<std::wstring> sentences(bench::realSentences());
        for (auto _ : state) benchmark::DoNotOptimize(checkCheckSum(sentences.next().c_str()));
    });
    bench::addRow(row, "plain byte loop", [](benchmark::State& state) {
        if (!haveSentencesOrSkip(state)) return;
        for (const std::wstring& sentence : bench::realSentences()) {
            if (plainCheckSum(sentence.c_str()) != checkCheckSum(sentence.c_str())) {
                state.SkipWithError("the byte loop and checkCheckSum disagree on a real sentence");
                return;
            }
        }
        bench::Cycle<std::wstring> sentences(bench::realSentences());
        for (auto _ : state) benchmark::DoNotOptimize(plainCheckSum(sentences.next().c_str()));
    });
}

// The plain character loop a host would write for the same rows: every row
// cleared, then one pass that skips blanks, ":" and ";" before a field (the
// last character always starts one), copies up to 19 characters of it and
// ends it at ","; a "," that ends the line leaves one more, empty, field.
int plainSplit(const wchar_t* s, wchar_t fields[][20], int limit) {
    for (int r = 0; r < limit; ++r) fields[r][0] = L'\0';
    if (*s == L'\0') return 0;
    int n = 0;
    while (n < limit) {
        while (s[1] != L'\0' && (*s == L' ' || *s == L':' || *s == L';')) ++s;
        int k = 0;
        for (; *s != L'\0' && *s != L','; ++s)
            if (k < 19) fields[n][k++] = *s;
        fields[n++][k] = L'\0';
        if (*s == L'\0') break;
        if (*++s == L'\0') {
            if (n < limit) fields[n++][0] = L'\0';
            break;
        }
    }
    return n;
}

bool sameRowsOrSkip(benchmark::State& state) {
    for (const std::wstring& sentence : bench::realSentences()) {
        wchar_t ours[kFieldRows][20], plain[kFieldRows][20];
        const int a = breakFields(sentence.c_str(), ours, kFieldRows, 1);
        const int b = plainSplit(sentence.c_str(), plain, kFieldRows);
        bool same = a == b;
        for (int r = 0; r < kFieldRows && same; ++r) same = std::wcscmp(ours[r], plain[r]) == 0;
        if (!same) {
            std::wstring oursText, plainText;
            for (int r = 0; r < kFieldRows; ++r) oursText += std::wstring(ours[r]) + L"|", plainText += std::wstring(plain[r]) + L"|";
            return bench::sameOutputOrSkip(state, sentence, oursText, plainText);
        }
    }
    return true;
}

void registerFieldsRow() {
    const std::string row = "breakFields, per real sentence";
    bench::addRow(row, bench::kQuillon, [](benchmark::State& state) {
        if (!haveSentencesOrSkip(state)) return;
        bench::Cycle<std::wstring> sentences(bench::realSentences());
        wchar_t fields[kFieldRows][20];
        for (auto _ : state) {
            benchmark::DoNotOptimize(breakFields(sentences.next().c_str(), fields, kFieldRows, 1));
            benchmark::ClobberMemory();
        }
    });
    bench::addRow(row, "plain character loop (same rows)", [](benchmark::State& state) {
        if (!haveSentencesOrSkip(state) || !sameRowsOrSkip(state)) return;
        bench::Cycle<std::wstring> sentences(bench::realSentences());
        wchar_t fields[kFieldRows][20];
        for (auto _ : state) {
            benchmark::DoNotOptimize(plainSplit(sentences.next().c_str(), fields, kFieldRows));
            benchmark::ClobberMemory();
        }
    });
    bench::addRow(row, "wcstok split", [](benchmark::State& state) {
        if (!haveSentencesOrSkip(state)) return;
        bench::Cycle<std::wstring> sentences(bench::realSentences());
        wchar_t fields[kFieldRows][20];
        for (auto _ : state) {
            benchmark::DoNotOptimize(wcstokSplit(sentences.next().c_str(), fields, kFieldRows));
            benchmark::ClobberMemory();
        }
    });
}

const bool registered = [] {
    registerChecksumRow();
    registerFieldsRow();
    return true;
}();

}  // namespace
