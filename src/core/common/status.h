#pragma once

#include <string_view>

namespace tarvex {

/// Outcome of a core operation that the user may have to hear about. `message` always views one
/// of the constants of messages.h, so callers can compare texts and the UI can show them as they
/// stand.
struct [[nodiscard]] Status {
    bool ok = true;
    std::string_view message; ///< one of tarvex::msg::*, empty when ok
    int line = 0; ///< 1-based input line, 0 when not applicable

    static Status success() { return {}; }
    static Status failure(std::string_view text, int atLine = 0) { return { false, text, atLine }; }
    explicit operator bool() const { return ok; }
};

} // namespace tarvex

/// Broken invariant (a programming error, never bad input): aborts in debug builds.
#ifdef NDEBUG
#define TARVEX_ASSERT(cond) ((void)0)
#else
#include <cassert>
#define TARVEX_ASSERT(cond) assert(cond)
#endif
