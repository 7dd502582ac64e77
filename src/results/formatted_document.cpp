#include "results/formatted_document.h"

#include "search/texts.h"

namespace kw::results
{

std::string_view listHeading(search::ListKind kind)
{
    return kind == search::ListKind::DuplicateList ? "Doppelte Dateien" : "Dateiliste";
}

std::string dateLine(std::string_view date, std::string_view time)
{
    return "(" + std::string(date) + " um " + std::string(time) + ")";
}

void addHead(DocumentBuilder &builder, std::string_view heading, std::string_view date, std::string_view time)
{
    builder.setStyle(true, true);
    builder.setPointSize(18);
    builder.add(heading);
    builder.setStyle(false, false);
    builder.setPointSize(8);
    builder.add(dateLine(date, time));
    builder.add("");
    builder.setPointSize(10);
}

void addFooter(DocumentBuilder &builder)
{
    builder.add("");
    builder.add("");
    builder.setPointSize(8);
    builder.add("URL: " + std::string(search::kAuthorWeb));
    builder.add("e-Mail: " + std::string(search::kAuthorMail));
}

FormattedDocument FListe(
    const std::vector<std::string> &lines, search::ListKind kind, std::string_view date, std::string_view time)
{
    FormattedDocument document;
    DocumentBuilder builder(document);
    addHead(builder, listHeading(kind), date, time);
    for (const std::string &line : lines)

        builder.add(line);
    addFooter(builder);
    return document;
}

} // namespace kw::results
