#include "shell/filter_history.h"

#include <algorithm>

namespace kw::shell
{

const std::vector<std::string> &builtInFilters()
{
    static const std::vector<std::string> filters = {"*.*", "*.txt", "*.jpg", "*.gif", "*.exe", "*.zip"};
    return filters;
}

void recordFilterUse(std::vector<std::string> &history, const std::string &filter)
{
    history.insert(history.begin(), filter);
    const auto repeat = std::find(history.begin() + 1, history.end(), filter);
    if (repeat != history.end())
        history.erase(repeat);
}

std::vector<std::string> historyToStore(std::vector<std::string> history, const std::string &text)
{
    if (!text.empty()) {
        history.insert(history.begin(), text);
        history.erase(std::remove(history.begin() + 1, history.end(), text), history.end());
    }
    std::vector<std::string> stored;
    for (const std::string &entry : history) {
        if (entry.empty() || stored.size() == 8)
            break;
        stored.push_back(entry);
    }
    return stored;
}

} // namespace kw::shell
