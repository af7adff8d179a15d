#pragma once

#include "common/status.h"
#include "geometry/records.h"
#include "graphs/graph_data.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::evaluation {

/// The quantity sampled along a straight or polar section.
enum SectionMode : int {
    SectionFluxDensity = 0, ///< B or D: elementFluxDensity
    SectionField = 1, ///< H or E: elementFieldIntensity
    SectionPressure = 2, ///< Maxwell stress: elementForceDensity
};

/// The induced-current quantity sampled along a straight section.
enum InducedSectionMode : int {
    SectionCurrentDensity = 0, ///< |J| and its two parts (A/mm²)
    SectionLossDensity = 1, ///< W/m³
};

/// One sample: where it lies and the three values there. For the current density `tangential`
/// and `normal` hold the real and imaginary parts; the loss density has only `magnitude`.
struct SectionSample {
    double x = 0.0;
    double y = 0.0;
    double magnitude = 0.0;
    double tangential = 0.0;
    double normal = 0.0;
    double key = 0.0; ///< the value the chain ordering compares
};

/// The samples of a section, from the P1 end, each with its abscissa.
struct SectionCurves {
    Status status; ///< msg::PontoForaDominio: a crossed triangle has no region
    std::vector<SectionSample> samples;
    std::vector<double> distance; ///< drawing units, from the first sample
    /// Polar sections: the chords drawn as the section and the points found on the triangles.
    std::vector<geometry::Ponto> chords;
    std::vector<geometry::Ponto> marks;
    /// Polar sections: the "Valor absurdo" texts met, each once, in the order met.
    std::vector<std::string_view> warnings;
    bool ok() const { return status.ok; }
};

/**
 * Orders samples into a chain: from the sample nearest to `end`, each step goes to the nearest
 * remaining sample whose distance or whose key difference is below a tolerance that starts at
 * 1e-8 and grows tenfold until some sample qualifies; the result is the chain reversed, so it
 * runs towards `end`. Non-finite keys never qualify by value, so the chain always ends.
 */
void orderChain(std::vector<SectionSample>& samples, const geometry::Ponto& end);

/**
 * `sampleSection`: the values of `mode` in every triangle the segment P1–P2 crosses, at the
 * points where it enters and leaves it, components along (tangential) and across (normal) the
 * section. A section that crosses no triangle gives no samples.
 */
SectionCurves sampleSection(const solver::SolverModel& model, const geometry::Ponto& p1,
    const geometry::Ponto& p2, int mode);

/// `sampleSectionInduced`: current or loss density (InducedSectionMode) at the section's points,
/// from the potential's two parts at each point.
SectionCurves sampleSectionInduced(const solver::SolverModel& model, const geometry::Ponto& p1,
    const geometry::Ponto& p2, int mode);

/**
 * `samplePolarSection`: `mode` along the arc about `centre` from P1 counter-clockwise to P2, cut
 * into chords of half a degree (at most 18°). The first axis is tangential (clockwise), the
 * second radial outwards. When the centre is not equidistant from the end points it is moved
 * onto their bisector. Fails (no status message when nothing is wrong with the model) when the
 * arc has no extent or yields fewer than two samples.
 */
bool samplePolarSection(const solver::SolverModel& model, const geometry::Ponto& p1,
    const geometry::Ponto& p2, const geometry::Ponto& centre, int mode, SectionCurves& out);

/// The callers' polar sampling: a failing first try is repeated once with P1 moved by (+a, +a)
/// and P2 by (-a, -a), a = 1e-5 times the model's scale factor; not when P1 and P2 coincide,
/// which the displacement would turn into an arc of arbitrary extent.
bool samplePolarSectionRetrying(const solver::SolverModel& model, const geometry::Ponto& p1,
    const geometry::Ponto& p2, const geometry::Ponto& centre, int mode, SectionCurves& out);

/// Which graph a section fills.
enum class SectionGraph {
    FluxDensity, ///< "Densidade Fluxo sobre a Seção"
    Field, ///< "Campo sobre a Seção"
    FieldPolar, ///< the same with the polar ordinate captions
    Pressure, ///< "Pressão sobre a Seção"
    CurrentDensity, ///< "Densidade de Corrente sobre a Seção"
    LossDensity, ///< "Densidade de Perdas sobre a Seção"
};

/// The graph of a section: title, captions and curve names of the kind and analysis, and the
/// curves (three, or one for the loss density) over the samples' abscissae.
graphs::GraphData sectionGraph(const SectionCurves& curves, SectionGraph kind, bool magnetic);

} // namespace tarvex::evaluation
