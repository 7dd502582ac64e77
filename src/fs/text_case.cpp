#include "fs/text_case.h"

#include "fs/case_mapping.h"

namespace kw::fs
{
namespace
{

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

char32_t nextCodePoint(std::string_view text, std::size_t &pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    }
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        return 0xDC00 + lead;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[pos + k]);
        if (!isContinuation(byte)) {
            ++pos;
            return 0xDC00 + lead;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8 either.
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return 0xDC00 + lead;
    }
    pos += length;
    return value;
}

char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    if (c >= 0xDC80 && c <= 0xDCFF) // escaped raw bytes have no case
        return c;
    return lowerCase(c);
}

bool startsFolded(std::string_view text, std::string_view prefix)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (j < prefix.size()) {
        if (i >= text.size())
            return false;
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[j]);
        if (a < 0x80 && b < 0x80) {
            if (foldCase(a) != foldCase(b))
                return false;
            ++i, ++j;
        } else if (foldCase(nextCodePoint(text, i)) != foldCase(nextCodePoint(prefix, j))) {
            return false;
        }
    }
    return true;
}

std::u32string foldedCodePoints(std::string_view text)
{
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        result.push_back(foldCase(nextCodePoint(text, pos)));
    return result;
}

namespace
{

// Reads a joined text code point by code point, piece after piece.
class JoinedCursor
{
public:
    explicit JoinedCursor(const JoinedText &text, std::size_t start = 0)
        : m_piece(text.head), m_next(text.tail), m_pos(start)
    {
    }

    bool atEnd()
    {
        if (m_pos < m_piece.size())
            return false;
        if (m_next.empty())
            return true;
        m_piece = m_next;
        m_next = {};
        m_pos = 0;
        return m_piece.empty();
    }
    unsigned char peekByte() const { return static_cast<unsigned char>(m_piece[m_pos]); }
    void skipByte() { ++m_pos; }
    char32_t next() { return nextCodePoint(m_piece, m_pos); }

private:
    std::string_view m_piece;
    std::string_view m_next;
    std::size_t m_pos = 0;
};

int compareBytes(const JoinedText &a, const JoinedText &b)
{
    JoinedCursor i(a);
    JoinedCursor j(b);
    while (!i.atEnd() && !j.atEnd()) {
        const unsigned char ca = i.peekByte();
        const unsigned char cb = j.peekByte();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        i.skipByte(), j.skipByte();
    }
    if (!i.atEnd())
        return 1;
    if (!j.atEnd())
        return -1;
    return 0;
}

} // namespace

namespace
{

// Where two heads stop being the same bytes, moved back to the start of a character: what
// comes before decodes and folds alike in both, so the comparison may begin there. Paths of
// one tree share long beginnings.
std::size_t sameStart(std::string_view a, std::string_view b)
{
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t k = 0;
    while (k < limit && a[k] == b[k])
        ++k;
    const auto inside = [](std::string_view text, std::size_t at) {
        return at < text.size() && isContinuation(static_cast<unsigned char>(text[at]));
    };
    while (k > 0 && (inside(a, k) || inside(b, k)))
        --k;
    return k;
}

} // namespace

int compareFolded(const JoinedText &a, const JoinedText &b)
{
    const std::size_t start = sameStart(a.head, b.head);
    JoinedCursor i(a, start);
    JoinedCursor j(b, start);
    while (!i.atEnd() && !j.atEnd()) {
        const unsigned char ca = i.peekByte();
        const unsigned char cb = j.peekByte();
        char32_t fa;
        char32_t fb;
        if (ca < 0x80 && cb < 0x80) { // the common case, without decoding
            fa = foldCase(ca), fb = foldCase(cb);
            i.skipByte(), j.skipByte();
        } else {
            fa = foldCase(i.next());
            fb = foldCase(j.next());
        }
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (!i.atEnd())
        return 1;
    if (!j.atEnd())
        return -1;
    return 0;
}

int compareFolded(std::string_view a, std::string_view b)
{
    return compareFolded(JoinedText {a, {}}, JoinedText {b, {}});
}

bool collatesBefore(const JoinedText &a, const JoinedText &b)
{
    const int folded = compareFolded(a, b);
    if (folded != 0)
        return folded < 0;
    return compareBytes(a, b) < 0;
}

bool collatesBefore(std::string_view a, std::string_view b)
{
    const int folded = compareFolded(a, b);
    if (folded != 0)
        return folded < 0;
    return a < b;
}

} // namespace kw::fs
