// The hosts' door to sentences and file names: fixed-width field rows, the
// checksum on zero-terminated wide buffers, and FLClass's owned 260-character
// path buffer, over the C++ API.
#include <quillon/cpp/sentences.hpp>

#include <cwchar>
#include <new>
#include <string_view>

#include "quillon/sentences.h"

#include "text/field_rows.h"

namespace {

// Rows of the fixed form of breakFields.
constexpr int kFixedRows = 115;

// Every one of the `limit` rows is written: a field cut to Width - 1
// characters, or an empty row where no field came. A limit below 1 writes
// nothing; a null text has no fields.
template <int Width>
int fieldsIntoRows(const wchar_t* text, wchar_t (*rows)[Width], int limit, quillon::FieldSyntax syntax) {
    return quillon::text::fieldsIntoRows(text, rows[0], Width, limit, syntax);
}

quillon::FieldSyntax syntaxOf(int commaOnly) {
    return commaOnly != 0 ? quillon::FieldSyntax::comma_only : quillon::FieldSyntax::any_separator;
}

// 259 characters and the terminating zero, the longest Windows path.
constexpr std::size_t kPathCapacity = 260;

wchar_t* newPathBuffer() {
    wchar_t* buffer = new (std::nothrow) wchar_t[kPathCapacity];
    if (buffer != nullptr) buffer[0] = L'\0';
    return buffer;
}

// Copies at most 259 characters of source (empty when null) into a buffer
// of 260; a longer path is cut there.
void copyPath(wchar_t* target, const wchar_t* source) {
    if (target == nullptr) return;
    std::size_t length = 0;
    if (source != nullptr) {
        while (length < kPathCapacity - 1 && source[length] != L'\0') ++length;
        std::wmemcpy(target, source, length);
    }
    target[length] = L'\0';
}

// An object without a buffer has an empty path.
std::wstring_view pathOf(const wchar_t* path) { return path != nullptr ? path : L""; }

}  // namespace

int breakFields(const wchar_t* text, wchar_t fields[][20], int limit, int commaOnly) {
    return fieldsIntoRows(text, fields, limit, syntaxOf(commaOnly));
}

int breakFields(const wchar_t* text, wchar_t fields[][30], int limit, int commaOnly) {
    return fieldsIntoRows(text, fields, limit, syntaxOf(commaOnly));
}

int breakFields(const wchar_t* text, wchar_t fields[][80], int limit, int commaOnly) {
    return fieldsIntoRows(text, fields, limit, syntaxOf(commaOnly));
}

int breakFields(const wchar_t* text, wchar_t fields[][25]) {
    return fieldsIntoRows(text, fields, kFixedRows, quillon::FieldSyntax::comma_keep_blanks);
}

int checkSum(wchar_t* sentence) {
    // The caller promises room for the tail: length + 6 characters.
    const std::size_t length = std::wcslen(sentence);
    quillon::append_checksum(sentence, length, length + 6);
    return 4;
}

int checkCheckSum(const wchar_t* sentence) {
    return sentence != nullptr && quillon::checksum_ok(std::wstring_view(sentence)) ? 1 : 0;
}

int checkDosFileName(wchar_t* name) {
    return name != nullptr && quillon::clean_file_name(name, std::wcslen(name)) > 0 ? 1 : 0;
}

FLClass::FLClass() : path(newPathBuffer()) {}

FLClass::FLClass(const wchar_t* source) : path(newPathBuffer()) { copyPath(path, source); }

FLClass::FLClass(const FLClass& other) : path(newPathBuffer()) { copyPath(path, other.path); }

FLClass::~FLClass() { delete[] path; }

FLClass& FLClass::operator=(const FLClass& other) {
    if (this != &other) copyPath(path, other.path);
    return *this;
}

int FLClass::operator==(const FLClass& other) const {
    return quillon::same_file_name(pathOf(path), pathOf(other.path)) ? 1 : 0;
}

int FLClass::operator<(const FLClass& other) const {
    return quillon::file_name_before(pathOf(path), pathOf(other.path)) ? 1 : 0;
}
