#include "sentence_scanner.h"

#include <quillon/cpp/sentences.hpp>

#include <cstring>
#include <string_view>

namespace cli {

namespace {

bool isAddressChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\0' || c == '\v' || c == '\f'; }

bool sameName(const char* a, std::size_t length, const char* name) {
    return std::strlen(name) == length && std::memcmp(a, name, length) == 0;
}

}  // namespace

void TypeTally::add(const char* name, std::size_t length) {
    if (length > std::size_t(kMaxName)) length = kMaxName;
    if (size_ > 0 && sameName(name, length, entries_[last_].name)) {
        ++entries_[last_].count;
        return;
    }
    for (int i = 0; i < size_; ++i) {
        if (sameName(name, length, entries_[i].name)) {
            ++entries_[i].count;
            last_ = i;
            return;
        }
    }
    if (size_ == kMaxTypes) {
        ++untallied_;
        return;
    }
    Entry& e = entries_[size_];
    std::memcpy(e.name, name, length);
    e.name[length] = '\0';
    e.count = 1;
    last_ = size_++;
}

void SentenceScanner::skip(long long* counter) {
    ++*counter;
    if (counts_.firstSkippedLine == 0) counts_.firstSkippedLine = lineNumber_;
}

void SentenceScanner::overlongLine(long long lineNumber) {
    ++counts_.lines;
    lineNumber_ = lineNumber;
    skip(&counts_.overlong);
}

void SentenceScanner::scanLine(const char* line, std::size_t length, long long lineNumber) {
    ++counts_.lines;
    lineNumber_ = lineNumber;
    // A lone "\r" ends a sentence too, so "\r\r\n" and "\r"-only logs both read.
    const char* end = line + length;
    while (line < end) {
        const void* cr = std::memchr(line, '\r', std::size_t(end - line));
        const char* stop = cr != nullptr ? static_cast<const char*>(cr) : end;
        if (stop > line) scanRecord(line, std::size_t(stop - line));
        line = stop + 1;
    }
}

void SentenceScanner::scanRecord(const char* record, std::size_t length) {
    const char* end = record + length;
    const void* dollar = std::memchr(record, '$', length);
    if (dollar == nullptr) {
        for (const char* c = record; c < end; ++c)
            if (!isBlank(*c)) {
                skip(&counts_.noSentence);
                return;
            }
        return;
    }
    const char* start = static_cast<const char*>(dollar);
    while (start < end) {
        const void* following = std::memchr(start + 1, '$', std::size_t(end - start - 1));
        const char* stop = following != nullptr ? static_cast<const char*>(following) : end;
        const char* last = stop;
        while (last > start + 1 && isBlank(last[-1])) --last;
        // "$$GPGSV,...": the first "$" starts nothing.
        if (last - start > 1) scanSentence(start, std::size_t(last - start));
        start = stop;
    }
}

void SentenceScanner::scanSentence(const char* s, std::size_t n) {
    ++counts_.sentences;
    if (n > kMaxSentence) return skip(&counts_.overlong);

    std::size_t addressEnd = 1;
    while (addressEnd < n && isAddressChar(s[addressEnd])) ++addressEnd;
    const std::size_t addressLength = addressEnd - 1;
    // A proprietary address is "P" and a maker's code; a standard one a
    // two-letter talker and a type.
    const std::size_t shortest = s[1] == 'P' ? 2 : 3;
    if (addressLength < shortest || (addressEnd < n && s[addressEnd] != ',' && s[addressEnd] != '*'))
        return skip(&counts_.malformed);

    std::size_t star = n;
    for (std::size_t i = n; i-- > addressEnd;)
        if (s[i] == '*') {
            star = i;
            break;
        }
    std::string_view sentence(s, n);
    sentence = sentence.substr(0, sentence.find('\0'));
    if (star == n) {
        ++counts_.noChecksum;
    } else if (!quillon::checksum_ok(sentence)) {
        ++counts_.badChecksum;
        return;
    }

    const char* address = s + 1;
    if (address[0] == 'P') {
        ++counts_.proprietary;
        types_.add(address, addressLength);
        return;
    }
    const char* type = address + 2;
    const std::size_t typeLength = addressLength - 2;
    types_.add(type, typeLength);
    FixSentence which;
    if (sameName(type, typeLength, "GGA"))
        which = FixSentence::kGga;
    else if (sameName(type, typeLength, "RMC"))
        which = FixSentence::kRmc;
    else if (sameName(type, typeLength, "GLL"))
        which = FixSentence::kGll;
    else if (sameName(type, typeLength, "ZDA"))
        which = FixSentence::kZda;
    else {
        ++counts_.otherTypes;
        return;
    }

    // The fields end at the checksum.
    quillon::FieldReader reader(sentence.substr(0, star), quillon::FieldSyntax::comma_only);
    int count = 0;
    while (count < kMaxFields && reader.next(&fields_[count])) ++count;
    FixReport report;
    switch (decodeFixSentence(which, fields_, count, &report)) {
    case DecodeResult::kDecoded:
        ++counts_.decoded[int(which)];
        sink_->onFix(which, report);
        break;
    case DecodeResult::kTruncated: skip(&counts_.truncated); break;
    case DecodeResult::kBadField: skip(&counts_.badField); break;
    }
}

}  // namespace cli
