#pragma once

#include <string>
#include <vector>

/// Each verb takes the words after its name and returns the process exit status. Failures print
/// their message on stderr; --json output is one JSON object on stdout.
int runInfo(const std::vector<std::string>& args);
int runConvert(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);
