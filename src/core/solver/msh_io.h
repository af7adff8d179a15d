#pragma once

#include "common/status.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace tarvex::solver {

struct SolverModel;

/**
 * Reads a .msh image, either version. All or nothing: `out` is replaced only on success. Regions
 * and the three record lists are inserted at the front as read; the region polygons are rebuilt,
 * `slaveMasters` is rebuilt from the slaves' values for a model not yet calculated, and the
 * splines of non-linear regions are prepared for a calculated one. Counts, row starts and column
 * numbers that do not describe a consistent model are refused with a message.
 */
Status readMsh(std::string_view bytes, SolverModel& out);
Status readMsh(std::istream& in, SolverModel& out);

/// The .msh image of a model, always "versao 01.00.01".
std::string writeMsh(const SolverModel& model);

Status openMsh(const std::string& path, SolverModel& out);
/// Writes the image without ever leaving a truncated file; reports a failed write.
Status saveMsh(const std::string& path, const SolverModel& model);

} // namespace tarvex::solver
