#pragma once

#include "problem/mesher/triangulation.h"

#include <string>
#include <vector>

namespace tarvex::problem {
class ProblemData;
}

namespace tarvex::problem::mesher {

/// What verifyMesh() checks beyond the structure itself.
struct VerifyOptions {
    /// The count of a triangulation that still fills its box: triangles = 2 × nodes + 2.
    bool boxCount = false;
    std::size_t nodeCount = 0;
    /// Boundary edges that must be present: as mesh edges, or as chains of mesh edges through
    /// vertices on them.
    const std::vector<ArestaVertices>* boundary = nullptr;
};

/// The first broken invariant, or empty when none.
struct VerifyResult {
    std::string problem;
    bool ok() const { return problem.empty(); }
};

/**
 * Invariants of the working triangulation: every live triangle turns counter-clockwise with a
 * proper area; neighbours are live and mutual across the same side; a side without neighbour has
 * no other triangle on it; no two vertices in use coincide; plus the options.
 */
VerifyResult verifyMesh(const Triangulacao& mesh, const VerifyOptions& options = {});

/**
 * Invariants of a document's mesh: every triangle turns the same way with a proper area, every
 * side is shared by at most two triangles that run it in opposite directions, no two distinct
 * vertices coincide, and `numTriangulos` matches the list.
 */
VerifyResult verifyTriangulos(const ProblemData& data);

} // namespace tarvex::problem::mesher
