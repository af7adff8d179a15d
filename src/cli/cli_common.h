#pragma once

#include "common/status.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex::cli {

/// The words of a verb split into positional words and options. A word is an option only when it
/// begins with "--", so negative numbers ("-12.5") stay positional.
class Arguments {
public:
    /// `valued` lists the options that take the next word as their value.
    Arguments(const std::vector<std::string>& words, const std::vector<std::string>& valued);

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(std::string_view option) const;
    /// The value of a valued option, or empty when absent.
    std::string value(std::string_view option) const;
    /// The first problem found while splitting (an unknown use of a valued option), or empty.
    const std::string& error() const { return m_error; }

private:
    std::vector<std::string> m_positional;
    std::vector<std::pair<std::string, std::string>> m_options;
    std::string m_error;
};

/// A whole word as a finite number (a leading minus sign is fine).
bool parseNumber(const std::string& word, double& value);

/// Prints "path:line: message" (or "path: message") on stderr and returns the failure exit code.
int fail(const std::string& path, const Status& status);
/// Prints a usage or argument problem on stderr and returns the usage exit code.
int usage(const std::string& text);

/// Builds one JSON object, keys in insertion order.
class JsonObject {
public:
    JsonObject& number(std::string_view key, double value);
    JsonObject& integer(std::string_view key, long long value);
    JsonObject& text(std::string_view key, std::string_view value);
    JsonObject& null(std::string_view key);
    /// A value already written as JSON (an object or array).
    JsonObject& raw(std::string_view key, std::string_view json);
    std::string str() const { return "{" + m_body + "}"; }

    static std::string quote(std::string_view text);
    static std::string formatNumber(double value);

private:
    void key(std::string_view name);
    std::string m_body;
};

} // namespace tarvex::cli
