// A long run over marked files (to the trash, replaced by links) off the window thread: a
// small window says how far it is and can stop it between two files; the other windows go
// on painting but take no input meanwhile.
#pragma once

#include <QDialog>

#include <atomic>
#include <cstddef>
#include <functional>

class QLabel;
class QPushButton;

namespace kw::ui
{

class ActionProgress : public QDialog
{
    Q_OBJECT
public:
    // `text` makes the line from the files done and their count:
    // "12 von 17404 Dateien in den Papierkorb".
    ActionProgress(QWidget *parent, const QString &caption,
        std::function<QString(std::size_t done, std::size_t count)> text, std::size_t count);

    // Runs `work` for each index in turn on a thread of its own (here, where none can be
    // had), until all are done or the user cancels; how many were done.
    std::size_t run(const std::function<void(std::size_t index)> &work);

    void showProgress(); // the line as it stands now
    bool cancelled() const { return m_cancel.load(); }

    QLabel *line;
    QPushButton *cancel;

protected:
    void reject() override; // Escape and the close button cancel too
    void closeEvent(QCloseEvent *event) override;

private:
    std::function<QString(std::size_t, std::size_t)> m_text;
    std::size_t m_count;
    std::atomic<std::size_t> m_done {0};
    std::atomic<bool> m_cancel {false};
};

} // namespace kw::ui
