#pragma once

#include <string>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::bench {

/**
 * Solves `model` (linear run, not timed) and times the results commands on it: the point-location
 * index, a straight section across the whole model (flux density; the first call builds the
 * index), the force on that section, a polar section round the disc and the total losses.
 * Appends `key=value` figures (medians of `repeat` calls, wall and CPU seconds) to `line`.
 */
void resultsFigures(solver::SolverModel& model, int repeat, std::string& line);

} // namespace tarvex::bench
