#pragma once

#include "common/status.h"
#include "geometry/records.h"
#include "problem/mesher/triangulation.h"

#include <vector>

namespace tarvex {
class Progress;
}

namespace tarvex::problem {

class ProblemData;
struct SegmentoContorno;

/// The options of the mesh control that the run takes from the view.
struct OpcoesMalha {
    bool verificaAngulo = false; ///< "Verifica condição de ângulo"
    bool recentragem = false; ///< "Recentragem dos elementos"
    /// Reference length of the mesh control; half of it is the shortest boundary half-edge the
    /// angle condition may still split.
    double comprimentoReferencia = 0.0;
};

/**
 * Cuts a contour element into edges of at most `comprimento`: the points from its first to its
 * second end point (an arc is first turned counter-clockwise). A straight element gets
 * n = ⌊L/comprimento⌋ equal pieces, one more when the fraction exceeds 0.2; an arc gets chords of
 * at most `comprimento` and at most `anguloArcoGraus` each (30/18 of it when the arc's chord is
 * shorter than comprimento/5). Empty for an arc of no sweep.
 */
std::vector<geometry::Ponto> cortaElemento(
    const SegmentoContorno& s, double comprimento, double anguloArcoGraus);

/**
 * Generates the mesh of the problem: boundary cut into edges, Delaunay insertion into a box,
 * refinement by circumcentres (general edge, then special regions and areas), the optional angle
 * condition, boundary recovery, removal of the outside, corner repair and the optional smoothing.
 *
 * Reports its status texts and the positions 10, 20, 55, 65, 70, 85, 90 and 100 to `progress`,
 * and asks goOn() at each position before 100. Success fills `triangulos`, `nos`,
 * `numTriangulos`, `numNos` and `qualidadeMalha`. On an interruption (message
 * msg::MalhaInterrompida, nothing to show) or a failure, the document is left without a mesh:
 * `triangulos` and `nos` empty and both counts 0.
 */
Status gerarMalha(ProblemData& data, const OpcoesMalha& opcoes, Progress& progress,
    MeshObserver* observer = nullptr);

} // namespace tarvex::problem
