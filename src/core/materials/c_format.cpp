#include "materials/c_format.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace tarvex::materials {

namespace {

/// The "C" numeric conventions, made once and kept for the life of the program.
locale_t cNumericLocale()
{
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

} // namespace

std::string formatC(const char* format, ...)
{
    const locale_t c = cNumericLocale();
    const locale_t none = static_cast<locale_t>(0);
    const locale_t previous = c != none ? uselocale(c) : none;

    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char small[128];
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string text;
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(length));
    } else if (length >= 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(again);

    if (previous != none)
        uselocale(previous);
    return text;
}

} // namespace tarvex::materials
