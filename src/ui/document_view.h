// Shows a formatted document in a rich-text view.
#pragma once

#include "results/formatted_document.h"

#include <QString>

class QTextDocument;

namespace kw::ui
{

// Replaces the content of `target` by the paragraphs of `document`, each in its own size and
// style, in black, in the typeface `family`.
void renderDocument(QTextDocument &target, const results::FormattedDocument &document, const QString &family);

} // namespace kw::ui
