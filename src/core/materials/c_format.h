#pragma once

#include <string>

namespace tarvex::materials {

/**
 * printf-style formatting that always writes numbers with a decimal point. The GUI toolkit sets
 * the C library's locale from the environment, where "%g" might write "0,5"; the files and the
 * fixed texts of the plots and dialogs are defined with the point.
 */
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace tarvex::materials
