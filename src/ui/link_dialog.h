// The choice of link before marked duplicates are replaced: shared blocks or hard links,
// what each means, and how much space it frees.
#pragma once

#include "results/link_run.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>

class QLabel;
class QRadioButton;

namespace kw::ui
{

struct LinkChoiceFacts {
    std::size_t files = 0; // marked files to replace
    std::uint64_t freedBytes = 0;
    bool mayShareBlocks = false; // a marked file's volume can share blocks
};

class LinkDialog : public QDialog
{
    Q_OBJECT
public:
    LinkDialog(QWidget *parent, const LinkChoiceFacts &facts);
    results::LinkKind choice() const;

    QRadioButton *sharedBlocks;
    QRadioButton *hardLink;
    QLabel *meaning; // what the chosen kind does to the files
    QLabel *space;
    QLabel *unavailable; // why blocks cannot be shared, where they cannot

private:
    void showMeaning();
};

// Shows the dialog; the kind chosen, or nothing when the user cancelled.
std::optional<results::LinkKind> askLinkKind(QWidget *parent, const LinkChoiceFacts &facts);

// For tests: answers in place of the user, given the dialog as it would be shown.
using LinkChoiceInterceptor = std::function<std::optional<results::LinkKind>(LinkDialog &dialog)>;
void setLinkChoiceInterceptor(LinkChoiceInterceptor interceptor);

} // namespace kw::ui
