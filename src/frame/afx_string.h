// A small stand-in for the framework's text class: wide text that dialogs
// exchange with their controls.
#ifndef QUILLON_FRAME_AFX_STRING_H
#define QUILLON_FRAME_AFX_STRING_H

#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : text_(text != nullptr ? text : L"") {}  // NOLINT: converts as the framework's does
    CString(std::wstring text) : text_(std::move(text)) {}                 // NOLINT

    const wchar_t* GetString() const { return text_.c_str(); }
    operator const wchar_t*() const { return text_.c_str(); }  // NOLINT: LPCTSTR conversion
    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    const std::wstring& str() const { return text_; }

    friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
    friend bool operator!=(const CString& a, const CString& b) { return a.text_ != b.text_; }

private:
    std::wstring text_;
};

#endif
