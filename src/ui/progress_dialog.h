// The progress dialog: which phase the search is in and how far it has got; the search writes
// its caption and its status line. Escape or its close button stops the search.
#pragma once

#include <QDialog>

class QLabel;

namespace kw::ui
{

class SearchAnimation;

class TMeldung : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMeldung)
public:
    explicit TMeldung(QWidget *parent = nullptr);

    QLabel *Label1; // the status line, centred across the top
    SearchAnimation *Animate1; // folder search
    SearchAnimation *Animate2; // file search

    // "Suche Ordner": the folder animation visible and playing, the file animation hidden.
    void showFolderSearch();
    // "Suche Dateien": the other way round.
    void showFileSearch();
    void setStatus(const QString &text);

signals:
    void cancelRequested();

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace kw::ui
