#include "ui/result_width.h"

#include "shell/window_placement.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace kw::ui
{

int resultWidthFor(std::vector<QString> texts, const QFontMetrics &metrics, int dpi)
{
    // Only the widest text counts. A text of characters that the font has, none of them a
    // mark, is at most as wide as their advances (one pixel more each for kerning), so once
    // that bound stays under the width found, it need not be measured; thousands of paths
    // would take longer to measure (to shape) than to find. Other characters are drawn from
    // a fallback font or combined with their neighbours, which the advance of each alone
    // does not bound (a Tamil or Thai path without its font came out twice as wide): a text
    // with one of them is measured whole. The advances are measured once per character.
    constexpr int kMeasureWhole = -1;
    std::unordered_map<char16_t, int> advances;
    const auto advance = [&](QChar c) {
        const auto [place, added] = advances.try_emplace(c.unicode(), 0);
        if (added)
            place->second
                = c.isSurrogate() || c.isMark() || !metrics.inFont(c) ? kMeasureWhole : metrics.horizontalAdvance(c);
        return place->second;
    };
    const auto bound = [&](const QString &text) -> std::optional<int> {
        int sum = 0;
        for (const QChar c : text) {
            const int width = advance(c);
            if (width == kMeasureWhole)
                return std::nullopt;
            sum += width + 1;
        }
        return sum;
    };
    // The longest first: the widest is likely among them, and then most others are skipped.
    std::sort(texts.begin(), texts.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    int width = shell::kInitialResultWidth;
    const int margin = shell::Tweite(0, 0, dpi);
    for (const QString &text : texts) {
        const std::optional<int> most = bound(text);
        if (most && *most + margin <= width)
            continue; // this one cannot be wider
        width = shell::Tweite(width, metrics.horizontalAdvance(text), dpi);
    }
    return width;
}

} // namespace kw::ui
