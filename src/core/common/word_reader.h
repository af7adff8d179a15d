#pragma once

#include <iosfwd>
#include <string>

namespace tarvex::common {

/// White-space separated words of a text file, each with the 1-based line it starts on, so a
/// reader can say where a bad word stands.
class WordReader {
public:
    explicit WordReader(std::istream& in)
        : m_in(in)
    {
    }

    /// The next word; false at the end of the text (the line then stays that of the last word).
    bool next(std::string& word);
    int line() const { return m_wordLine; }

private:
    std::istream& m_in;
    int m_line = 1;
    int m_wordLine = 1;
};

} // namespace tarvex::common
