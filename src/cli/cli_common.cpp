#include "cli_common.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tarvex::cli {

Arguments::Arguments(const std::vector<std::string>& words, const std::vector<std::string>& valued)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0) {
            m_positional.push_back(word);
            continue;
        }
        const bool takesValue = std::find(valued.begin(), valued.end(), word) != valued.end();
        if (!takesValue) {
            m_options.emplace_back(word, std::string());
            continue;
        }
        if (i + 1 >= words.size()) {
            m_error = "option " + word + " needs a value";
            return;
        }
        m_options.emplace_back(word, words[++i]);
    }
}

bool Arguments::has(std::string_view option) const
{
    return std::any_of(
        m_options.begin(), m_options.end(), [&](const auto& o) { return o.first == option; });
}

std::string Arguments::value(std::string_view option) const
{
    for (const auto& o : m_options)
        if (o.first == option)
            return o.second;
    return {};
}

bool parseNumber(const std::string& word, double& value)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return *end == '\0' && std::isfinite(value);
}

int fail(const std::string& path, const Status& status)
{
    const std::string message(status.message);
    if (status.line > 0)
        std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), status.line, message.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", path.c_str(), message.c_str());
    return 1;
}

int usage(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    return 2;
}

void JsonObject::key(std::string_view name)
{
    if (!m_body.empty())
        m_body += ',';
    m_body += quote(name);
    m_body += ':';
}

JsonObject& JsonObject::number(std::string_view name, double value)
{
    key(name);
    m_body += formatNumber(value);
    return *this;
}

JsonObject& JsonObject::integer(std::string_view name, long long value)
{
    key(name);
    m_body += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::text(std::string_view name, std::string_view value)
{
    key(name);
    m_body += quote(value);
    return *this;
}

JsonObject& JsonObject::null(std::string_view name)
{
    key(name);
    m_body += "null";
    return *this;
}

JsonObject& JsonObject::raw(std::string_view name, std::string_view json)
{
    key(name);
    m_body += json;
    return *this;
}

std::string JsonObject::quote(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string JsonObject::formatNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[32];
    // Whole numbers read best without an exponent.
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    std::snprintf(text, sizeof text, "%.17g", value);
    // Prefer the shortest text that reads back to the same double.
    for (int digits = 1; digits < 17; ++digits) {
        char shorter[32];
        std::snprintf(shorter, sizeof shorter, "%.*g", digits, value);
        if (std::strtod(shorter, nullptr) == value)
            return shorter;
    }
    return text;
}

} // namespace tarvex::cli
