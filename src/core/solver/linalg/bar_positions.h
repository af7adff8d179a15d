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
    BarPositions(Progress* progress, int order)
        : m_progress(progress)
        , m_order(order)
    {
    }

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

/// What a solver does once an iteration's relative residual is known.
enum class AfterIteration { Continue, Converged, Interrupted, LimitReached };

/**
 * The rules that end an iteration, shared by the real and the complex solvers: the convergence
 * test, then the bar position and the question whether to go on (asked only when the run goes
 * on), then the limit of 10 n iterations.
 */
class IterationControl {
public:
    IterationControl(Progress* progress, int order, double tolerance)
        : m_bar(progress, order)
        , m_progress(progress)
        , m_tolerance(tolerance)
        , m_limit(10 * order)
    {
    }

    BarPositions& bar() { return m_bar; }

    AfterIteration after(int iteration, double relativeResidual)
    {
        if (relativeResidual < m_tolerance) {
            m_bar.finish();
            return AfterIteration::Converged;
        }
        m_bar.iteration(iteration);
        if (m_progress && !m_progress->goOn())
            return AfterIteration::Interrupted;
        if (iteration + 1 > m_limit)
            return AfterIteration::LimitReached;
        return AfterIteration::Continue;
    }

private:
    BarPositions m_bar;
    Progress* m_progress;
    double m_tolerance;
    int m_limit;
};

} // namespace tarvex::linalg
