// The formatted document of the result window: paragraphs with the character attributes in
// force when each was added. The window shows it, prints it and saves it as RTF.
#pragma once

#include "search/state.h"

#include <string>
#include <string_view>
#include <vector>

namespace kw::results
{

struct Paragraph {
    std::string text;
    bool bold = false;
    bool underline = false;
    int pointSize = 8;
    friend bool operator==(const Paragraph &, const Paragraph &) = default;
};

using FormattedDocument = std::vector<Paragraph>;

// Adds paragraphs the way a rich-text control does: each takes the insertion attributes in
// force, and an attribute not set again stays as it was.
class DocumentBuilder
{
public:
    explicit DocumentBuilder(FormattedDocument &document) : m_document(document) { }
    void setStyle(bool bold, bool underline)
    {
        m_bold = bold;
        m_underline = underline;
    }
    void setPointSize(int points) { m_points = points; }
    void add(std::string_view text) { m_document.push_back({std::string(text), m_bold, m_underline, m_points}); }

private:
    FormattedDocument &m_document;
    bool m_bold = false;
    bool m_underline = false;
    int m_points = 8;
};

// The heading of the formatted list for a list kind.
std::string_view listHeading(search::ListKind kind);

// The formatted list of a result list: heading, "(date um time)", an empty paragraph, every
// line of the list, two empty paragraphs and the footer with the web and e-mail addresses.
FormattedDocument FListe(
    const std::vector<std::string> &lines, search::ListKind kind, std::string_view date, std::string_view time);

// "(" + date + " um " + time + ")".
std::string dateLine(std::string_view date, std::string_view time);

// The head of every document: the heading (bold, underlined, 18 points), "(date um time)" and
// an empty paragraph (8 points); then the size for the lines, 10 points, is set.
void addHead(DocumentBuilder &builder, std::string_view heading, std::string_view date, std::string_view time);

// The two empty paragraphs and the web and e-mail lines at 8 points that end every document.
void addFooter(DocumentBuilder &builder);

} // namespace kw::results
