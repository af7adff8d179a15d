#include "common/word_reader.h"

#include <cctype>
#include <istream>

namespace tarvex::common {

bool WordReader::next(std::string& word)
{
    word.clear();
    int c = m_in.get();
    while (c != EOF && std::isspace(static_cast<unsigned char>(c))) {
        if (c == '\n')
            ++m_line;
        c = m_in.get();
    }
    if (c == EOF)
        return false;
    m_wordLine = m_line;
    while (c != EOF && !std::isspace(static_cast<unsigned char>(c))) {
        word.push_back(static_cast<char>(c));
        c = m_in.get();
    }
    if (c == '\n')
        ++m_line;
    return true;
}

} // namespace tarvex::common
