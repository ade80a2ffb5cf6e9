// Reading and editing the text of a private-profile (INI) file in the code
// units it was stored in: bytes (ASCII or UTF-8, or anything else: bytes are
// never reinterpreted) or UTF-16 code units for a file that starts with the
// UTF-16LE byte-order mark. Only the structure is read (section headers,
// "name=value" lines, line ends); every unit outside the one line that a
// write changes is kept exactly as it was.
#ifndef QUILLON_PLATFORM_INI_TEXT_H
#define QUILLON_PLATFORM_INI_TEXT_H

#include <cstddef>
#include <optional>
#include <string>

namespace quillon::ini {

template <class Ch>
using Text = std::basic_string<Ch>;

// One line of the text: [begin, end) is its content without the line end,
// next is where the following line starts.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

template <class Ch>
Line lineAt(const Text<Ch>& text, std::size_t begin) {
    std::size_t lf = text.find(Ch('\n'), begin);
    std::size_t next = lf == Text<Ch>::npos ? text.size() : lf + 1;
    std::size_t end = lf == Text<Ch>::npos ? text.size() : lf;
    while (end > begin && text[end - 1] == Ch('\r')) --end;
    return {begin, end, next};
}

template <class Ch>
constexpr bool isBlank(Ch c) {
    return c == Ch(' ') || c == Ch('\t');
}

template <class Ch>
constexpr Ch foldCase(Ch c) {
    return (c >= Ch('a') && c <= Ch('z')) ? Ch(c - Ch('a') + Ch('A')) : c;
}

// [begin, end) with blanks trimmed from both sides.
template <class Ch>
void trim(const Text<Ch>& text, std::size_t* begin, std::size_t* end) {
    while (*begin < *end && isBlank(text[*begin])) ++*begin;
    while (*end > *begin && isBlank(text[*end - 1])) --*end;
}

template <class Ch>
bool sameName(const Text<Ch>& text, std::size_t begin, std::size_t end, const Text<Ch>& name) {
    if (end - begin != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (foldCase(text[begin + i]) != foldCase(name[i])) return false;
    }
    return true;
}

enum class LineKind { blank, comment, section, entry };

// What a line holds; for a section, [nameBegin, nameEnd) is its name; for an
// entry, the key, and [valueBegin, valueEnd) its value (empty without "=").
struct Parsed {
    LineKind kind;
    std::size_t nameBegin, nameEnd;
    std::size_t valueBegin, valueEnd;
};

template <class Ch>
Parsed parseLine(const Text<Ch>& text, const Line& line) {
    std::size_t b = line.begin;
    std::size_t e = line.end;
    trim(text, &b, &e);
    if (b == e) return {LineKind::blank, b, b, b, b};
    if (text[b] == Ch(';')) return {LineKind::comment, b, b, b, b};
    if (text[b] == Ch('[')) {
        std::size_t close = b + 1;
        while (close < e && text[close] != Ch(']')) ++close;
        std::size_t nb = b + 1;
        std::size_t ne = close;
        trim(text, &nb, &ne);
        return {LineKind::section, nb, ne, ne, ne};
    }
    std::size_t eq = b;
    while (eq < e && text[eq] != Ch('=')) ++eq;
    std::size_t nb = b;
    std::size_t ne = eq;
    trim(text, &nb, &ne);
    std::size_t vb = eq < e ? eq + 1 : e;
    std::size_t ve = e;
    trim(text, &vb, &ve);
    if (ve - vb >= 2 && (text[vb] == Ch('"') || text[vb] == Ch('\'')) && text[ve - 1] == text[vb]) {
        ++vb;
        --ve;
    }
    return {LineKind::entry, nb, ne, vb, ve};
}

// Where a key stands: the line holding it, or, when the section exists but
// not the key, the line after which a new key goes.
struct Place {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine{};        // when keyFound
    Parsed keyParsed{};    // when keyFound
    Line lastOfSection{};  // last non-blank line of the first matching section
};

// The first section of that name that holds the key, else the first section
// of that name; names compare without regard to ASCII case.
template <class Ch>
Place findKey(const Text<Ch>& text, std::size_t start, const Text<Ch>& section, const Text<Ch>& key) {
    Place place;
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t at = start; at < text.size();) {
        Line line = lineAt(text, at);
        Parsed parsed = parseLine(text, line);
        if (parsed.kind == LineKind::section) {
            inSection = sameName(text, parsed.nameBegin, parsed.nameEnd, section);
            inFirstSection = inSection && !place.sectionFound;
            if (inFirstSection) {
                place.sectionFound = true;
                place.lastOfSection = line;
            }
        } else if (inSection) {
            if (parsed.kind == LineKind::entry && sameName(text, parsed.nameBegin, parsed.nameEnd, key)) {
                place.keyFound = true;
                place.keyLine = line;
                place.keyParsed = parsed;
                return place;
            }
            if (inFirstSection && parsed.kind != LineKind::blank) place.lastOfSection = line;
        }
        at = line.next;
    }
    return place;
}

// The 1-based line of the key, or 0 when section or key is missing.
template <class Ch>
int lineOfKey(const Text<Ch>& text, std::size_t start, const Text<Ch>& section, const Text<Ch>& key) {
    Place place = findKey(text, start, section, key);
    if (!place.keyFound) return 0;
    std::size_t lines = 1;
    for (std::size_t i = start; i < place.keyLine.begin; ++i)
        if (text[i] == Ch('\n')) ++lines;
    return static_cast<int>(lines);
}

// The value text of the key, or nothing when file, section or key is missing.
template <class Ch>
std::optional<Text<Ch>> readValue(const Text<Ch>& text, std::size_t start, const Text<Ch>& section,
                                  const Text<Ch>& key) {
    Place place = findKey(text, start, section, key);
    if (!place.keyFound) return std::nullopt;
    const Parsed& p = place.keyParsed;
    return text.substr(p.valueBegin, p.valueEnd - p.valueBegin);
}

// The line end the file already uses; CR LF for a file without one, as
// Windows writes these files.
template <class Ch>
Text<Ch> lineEnding(const Text<Ch>& text, std::size_t start) {
    std::size_t lf = text.find(Ch('\n'), start);
    if (lf != Text<Ch>::npos && !(lf > start && text[lf - 1] == Ch('\r'))) return Text<Ch>(1, Ch('\n'));
    return Text<Ch>{Ch('\r'), Ch('\n')};
}

template <class Ch>
Text<Ch> entryLine(const Text<Ch>& name, const Text<Ch>& value) {
    Text<Ch> line = name;
    line += Ch('=');
    line += value;
    return line;
}

// Sets the key to the value: the key's line is rewritten as "name=value"
// (keeping the file's spelling of the name and the line's own ending); a
// missing key goes after the last non-blank line of its section; a missing
// section is added at the end. Nothing else changes.
template <class Ch>
void writeValue(Text<Ch>* text, std::size_t start, const Text<Ch>& section, const Text<Ch>& key,
                const Text<Ch>& value) {
    Place place = findKey(*text, start, section, key);
    const Text<Ch> eol = lineEnding(*text, start);
    if (place.keyFound) {
        const Parsed& p = place.keyParsed;
        Text<Ch> name = text->substr(p.nameBegin, p.nameEnd - p.nameBegin);
        text->replace(place.keyLine.begin, place.keyLine.end - place.keyLine.begin, entryLine(name, value));
        return;
    }
    if (place.sectionFound) {
        Line after = place.lastOfSection;
        Text<Ch> insert = entryLine(key, value) + eol;
        // The last line of the text may lack a line feed, and may then end in
        // carriage returns, which do not end a line by themselves.
        if (after.next == text->size() && text->back() != Ch('\n')) insert = eol + insert;
        text->insert(after.next, insert);
        return;
    }
    if (text->size() > start && text->back() != Ch('\n')) *text += eol;
    Text<Ch> header;
    header += Ch('[');
    header += section;
    header += Ch(']');
    *text += header + eol + entryLine(key, value) + eol;
}

}  // namespace quillon::ini

#endif
