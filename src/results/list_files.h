// The plain list file: the result list's lines, each ended by CR LF (the last one too), no
// header, no byte-order mark, the bytes of each path as they are.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kw::results
{

std::string plainListText(const std::vector<std::string> &lines);

// Creates or replaces `path` with the plain list of `lines`; the old file stays whole until
// the new one is.
[[nodiscard]] std::error_code writePlainList(const std::string &path, const std::vector<std::string> &lines);

// Splits list text into lines as a saved list is read back: a line ends at a CR, an LF right
// after it belongs to the line end, an LF alone is an ordinary character, and 0x1A ends the
// text. The text after the last line end is a last line when it is not empty. A text that
// holds no CR at all was written by a tool that ends lines with LF alone; it is read with
// the LF as the line end (`lfLines`), by otherwise the same rules.
class ListLineReader
{
public:
    explicit ListLineReader(bool lfLines = false) : m_lineEnd(lfLines ? '\n' : '\r') { }

    // Feeds the next piece of the file; `line` is called for every complete line.
    template<typename Line>
    void feed(std::string_view bytes, Line &&line);
    template<typename Line>
    void finish(Line &&line);
    bool ended() const { return m_ended; }

    // Lines longer than any path name no file; they are not kept in memory to the end.
    static constexpr std::size_t kLongestLine = 4096;

private:
    char m_lineEnd;
    std::string m_line;
    bool m_overlong = false;
    bool m_afterCr = false;
    bool m_ended = false;
};

struct ReopenedList {
    std::vector<std::string> lines; // what stays of the file: lines naming files, empty lines
    std::error_code error; // the file could not be opened (nothing read) or read (lines so far)
    bool opened = false;
};

// Reads a plain list back: every line that names an existing file, and every empty line once
// a line has been kept. Lines end at CR, or at LF in a file without any CR before its end. A file that is no list at
// all (binary, huge, endless lines) is read through to its end in pieces, keeping nothing of it.
ReopenedList reopenList(const std::string &path, const std::function<bool(const std::string &)> &exists);

// The message for a failed reopening: "Datei nicht gefunden", "Dateizugriff verweigert", or
// "E/A-Fehler" and the error number.
std::string reopenErrorText(const std::error_code &error);

template<typename Line>
void ListLineReader::feed(std::string_view bytes, Line &&line)
{
    for (const char c : bytes) {
        if (m_ended)
            return;
        if (m_afterCr) {
            m_afterCr = false;
            if (c == '\n' && m_lineEnd == '\r')
                continue; // the LF of a CR LF
        }
        if (c == '\x1a') {
            m_ended = true;
            return;
        }
        if (c == m_lineEnd) {
            line(m_overlong ? std::string_view("\0", 1) : std::string_view(m_line));
            m_line.clear();
            m_overlong = false;
            m_afterCr = true;
            continue;
        }
        if (m_line.size() < kLongestLine)
            m_line.push_back(c);
        else
            m_overlong = true;
    }
}

template<typename Line>
void ListLineReader::finish(Line &&line)
{
    if (!m_line.empty() || m_overlong)
        line(m_overlong ? std::string_view("\0", 1) : std::string_view(m_line));
    m_line.clear();
    m_overlong = false;
}

} // namespace kw::results
