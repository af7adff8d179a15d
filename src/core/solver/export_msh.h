#pragma once

#include "common/status.h"

#include <cstdint>
#include <string>

namespace tarvex::problem {
class ProblemData;
}

namespace tarvex::solver {

struct SolverModel;

/// Where an export stopped on a node, for the view to mark (a slave without a master).
struct ExportResult {
    Status status;
    bool hasMark = false;
    double markX = 0.0;
    double markY = 0.0;
    /// Element outside every region (see AssemblyResult), -1 otherwise.
    std::int64_t elementOutsideRegions = -1;
    /// The materials file of a non-linear region that could not be read (MshArquivoMaterial).
    std::string materialFile;
    explicit operator bool() const { return status.ok; }
};

/**
 * `exportMsh` without the file dialog: builds the solver model of a meshed problem (node classes,
 * numbering, symmetry pairing, oriented elements, linear system with 40 slots per row folded by
 * the symmetry, conductivity block, curves of the non-linear regions read from their materials
 * files). All or nothing: `out` is replaced only on success.
 */
ExportResult buildSolverModel(const problem::ProblemData& data, SolverModel& out);

/// The proposed .msh name for a problem file: ".dat" replaced by ".msh" (other names get ".msh"
/// appended).
std::string nomeMshProposto(const std::string& datPath);
/**
 * The name a chosen save-dialog name is written under: ending in "dat" → ".dat" replaced by
 * ".msh"; ending in "msh" → as chosen; any other name → empty (not written).
 */
std::string nomeMshEscolhido(const std::string& chosen);

} // namespace tarvex::solver
