// The width a result window needs to show its longest path.
#pragma once

#include <QFontMetrics>
#include <QString>

#include <vector>

namespace kw::ui
{

// The width for `texts` in `metrics`' font at `dpi`: the first width, widened for the widest
// text with the margin the window keeps.
int resultWidthFor(std::vector<QString> texts, const QFontMetrics &metrics, int dpi);

} // namespace kw::ui
