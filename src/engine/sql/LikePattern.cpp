#include "engine/sql/LikePattern.h"

#include "engine/sql/Collation.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace kv::engine::sql {

namespace {

void appendUtf8(std::string& out, char32_t c)
{
    char buf[4];
    int32_t n = 0;
    UBool error = false;
    U8_APPEND(buf, n, 4, UChar32(c), error);
    if (error) {
        out += "\xEF\xBF\xBD";
        return;
    }
    out.append(buf, size_t(n));
}

// Decodes the whole text into folded code points.
void decodeFolded(std::string_view s, std::u32string& out)
{
    out.clear();
    int32_t i = 0;
    const int32_t n = int32_t(s.size());
    while (i < n) {
        UChar32 c;
        U8_NEXT(s.data(), i, n, c);
        if (c < 0)
            c = 0xFFFD;
        out.push_back(char32_t(
            c < 0x80 ? (c >= 'A' && c <= 'Z' ? c + 32 : c) : u_foldCase(c, U_FOLD_CASE_DEFAULT)));
    }
}

bool inCollationRange(char32_t c, char32_t low, char32_t high)
{
    if (c < 0x80 && low < 0x80 && high < 0x80)
        return low <= c && c <= high;
    auto text = [](char32_t ch, char(&buf)[4]) {
        int32_t n = 0;
        U8_APPEND_UNSAFE(buf, n, UChar32(ch));
        return n;
    };
    char a[4], b[4], x[4];
    const int la = text(low, a), lb = text(high, b), lx = text(c, x);
    return compareGerman(a, la, x, lx) <= 0 && compareGerman(x, lx, b, lb) <= 0;
}

} // namespace

void foldCase(std::string_view s, std::string& out)
{
    out.clear();
    out.reserve(s.size());
    int32_t i = 0;
    const int32_t n = int32_t(s.size());
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(s[size_t(i)]);
        if (b < 0x80) {
            out += char(b >= 'A' && b <= 'Z' ? b + 32 : b);
            ++i;
            continue;
        }
        UChar32 c;
        U8_NEXT(s.data(), i, n, c);
        appendUtf8(out, c < 0 ? 0xFFFD : char32_t(u_foldCase(c, U_FOLD_CASE_DEFAULT)));
    }
}

LikePattern::LikePattern(std::string_view pattern)
{
    std::u32string p;
    decodeFolded(pattern, p);
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        Element e { Element::Literal, 0, false, {} };
        if (c == U'*') {
            if (!m_elements.empty() && m_elements.back().kind == Element::Star)
                continue;
            e.kind = Element::Star;
        } else if (c == U'?') {
            e.kind = Element::Any;
        } else if (c == U'#') {
            e.kind = Element::Digit;
        } else if (c == U'[') {
            const size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos) {
                e.ch = c; // an open bracket without its end is taken literally
            } else {
                size_t j = i + 1;
                e.kind = Element::Class;
                if (j < close && p[j] == U'!') {
                    e.negated = true;
                    ++j;
                }
                while (j < close) {
                    if (j + 2 < close && p[j + 1] == U'-') {
                        e.ranges.emplace_back(p[j], p[j + 2]);
                        j += 3;
                    } else {
                        e.ranges.emplace_back(p[j], p[j]);
                        ++j;
                    }
                }
                if (e.ranges.empty() && !e.negated) {
                    // "[]" matches the empty string: drop it
                    i = close;
                    continue;
                }
                // A class of one character other than a wildcard escape is a literal.
                if (!e.negated && e.ranges.size() == 1 && e.ranges[0].first == e.ranges[0].second) {
                    e = Element { Element::Literal, e.ranges[0].first, false, {} };
                }
                i = close;
            }
        } else {
            e.ch = c;
        }
        m_elements.push_back(std::move(e));
    }

    for (const Element& e : m_elements) {
        if (e.kind != Element::Literal && e.kind != Element::Star)
            return;
    }
    m_shape = Shape::Segments;
    m_anchoredStart = m_elements.empty() || m_elements.front().kind != Element::Star;
    m_anchoredEnd = m_elements.empty() || m_elements.back().kind != Element::Star;
    std::string piece;
    for (const Element& e : m_elements) {
        if (e.kind == Element::Star) {
            if (!piece.empty())
                m_segments.push_back(std::move(piece));
            piece.clear();
        } else {
            appendUtf8(piece, e.ch);
        }
    }
    if (!piece.empty() || m_segments.empty())
        m_segments.push_back(std::move(piece));
}

bool LikePattern::matches(std::string_view text) const
{
    if (m_shape == Shape::General)
        return matchesGeneral(text);
    thread_local std::string folded;
    foldCase(text, folded);
    return matchesSegments(folded);
}

bool LikePattern::matchesSegments(std::string_view f) const
{
    const size_t count = m_segments.size();
    if (count == 1 && m_anchoredStart && m_anchoredEnd)
        return f == m_segments[0];
    size_t pos = 0;
    size_t first = 0;
    size_t last = count;
    if (m_anchoredStart) {
        if (f.substr(0, m_segments[0].size()) != m_segments[0])
            return false;
        pos = m_segments[0].size();
        first = 1;
    }
    if (m_anchoredEnd) {
        const std::string& tail = m_segments[count - 1];
        if (f.size() < pos + tail.size() || f.substr(f.size() - tail.size()) != tail)
            return false;
        f = f.substr(0, f.size() - tail.size());
        last = count - 1;
    }
    for (size_t i = first; i < last; ++i) {
        const size_t at = f.find(m_segments[i], pos);
        if (at == std::string_view::npos)
            return false;
        pos = at + m_segments[i].size();
    }
    return true;
}

bool LikePattern::classMatches(const Element& e, char32_t c)
{
    bool in = false;
    for (const auto& [low, high] : e.ranges) {
        if (low == high ? c == low : inCollationRange(c, low, high)) {
            in = true;
            break;
        }
    }
    return in != e.negated;
}

bool LikePattern::matchesGeneral(std::string_view utf8Text) const
{
    thread_local std::u32string text;
    decodeFolded(utf8Text, text);
    const size_t n = text.size(), m = m_elements.size();
    size_t p = 0, t = 0, starP = std::string::npos, starT = 0;
    auto one = [&](const Element& e, char32_t c) {
        switch (e.kind) {
        case Element::Literal:
            return e.ch == c;
        case Element::Any:
            return true;
        case Element::Digit:
            return c >= U'0' && c <= U'9';
        case Element::Class:
            return classMatches(e, c);
        case Element::Star:
            break;
        }
        return false;
    };
    while (t < n) {
        if (p < m && m_elements[p].kind == Element::Star) {
            starP = p++;
            starT = t;
        } else if (p < m && one(m_elements[p], text[t])) {
            ++p;
            ++t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < m && m_elements[p].kind == Element::Star)
        ++p;
    return p == m;
}

} // namespace kv::engine::sql
