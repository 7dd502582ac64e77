#include "search/records.h"

namespace kw::search
{

void SearchRecords::add(std::string path, const FoundFile &file)
{
    m_paths.push_back(std::move(path));
    m_files.push_back(file);
}

const FoundFile *SearchRecords::find(const std::string &path) const
{
    std::call_once(m_indexed, [this] {
        m_index.reserve(m_paths.size());
        for (std::size_t i = 0; i < m_paths.size(); ++i)
            m_index.try_emplace(m_paths[i], i);
    });
    const auto found = m_index.find(path);
    return found == m_index.end() ? nullptr : &m_files[found->second];
}

} // namespace kw::search
