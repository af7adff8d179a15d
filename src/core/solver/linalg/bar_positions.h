#pragma once

#include "common/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tarvex::linalg {

/// The bar position sequence the calculation dialogs have always shown: a ramp over the first
/// iterations that then rests near the end, filled up to the end on convergence. Shared by the
/// real and the complex conjugate-gradient solvers so that both runs look alike.
class BarPositions {
public:
    BarPositions(Progress* progress, int order) : m_progress(progress), m_order(order) {}

    void iteration(int k)
    {
        if (!m_progress)
            return;
        const double ramp = static_cast<double>(k) * 100.0 / m_order * 40.0;
        const int pos = static_cast<int>(std::trunc(ramp - m_offset));
        if (static_cast<std::uint16_t>(pos) > 100)
            m_offset = static_cast<std::uint16_t>(pos);
        send(pos);
    }

    void finish()
    {
        if (!m_progress)
            return;
        for (int pos = m_last; pos < 130; pos += 10)
            send(pos);
    }

private:
    void send(int pos)
    {
        m_last = pos;
        m_progress->percent(std::clamp(pos, 0, 100));
    }

    Progress* m_progress;
    int m_order;
    std::uint16_t m_offset = 0;
    int m_last = 0;
};

} // namespace tarvex::linalg
