#include "ui/document_view.h"

#include "ui/qt_text.h"

#include <QTextCursor>
#include <QTextDocument>

namespace kw::ui
{

void renderDocument(QTextDocument &target, const results::FormattedDocument &document, const QString &family)
{
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    bool first = true;
    for (const results::Paragraph &paragraph : document) {
        QTextCharFormat format;
        format.setFontFamilies({family});
        format.setFontPointSize(paragraph.pointSize);
        format.setFontWeight(paragraph.bold ? QFont::Bold : QFont::Normal);
        format.setFontUnderline(paragraph.underline);
        format.setForeground(Qt::black);
        if (first)
            cursor.setBlockCharFormat(format);
        else
            cursor.insertBlock(QTextBlockFormat(), format);
        first = false;
        cursor.insertText(displayPath(paragraph.text), format);
    }
    cursor.endEditBlock();
}

} // namespace kw::ui
