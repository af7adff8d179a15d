// The shipped saturating-core and conducting-plate examples: their drawings must trace into the
// regions their READMEs describe, and the pipeline a user runs on them (trace, materials, mesh,
// solver model, run) must give the physics they are there to show: a core that saturates, and
// eddy currents crowded at the surface that faces the coil and opposing its current.

#include "common/progress.h"
#include "evaluation/field_at_point.h"
#include "evaluation/flux.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "problem/dat_io.h"
#include "problem/editing.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace tarvex;
using namespace tarvex::problem;

namespace {

const double Pi = 4.0 * std::atan(1.0);

const std::string ExamplesDir = std::string(TARVEX_TEST_DATA) + "/../../examples";
const std::string SteelFile = ExamplesDir + "/materials/aco_nao_orientado_400_50.mat";

std::string examplePath(const std::string& name)
{
    return ExamplesDir + "/" + name + "/" + name + ".pre";
}

geometry::DrawingData exampleDrawing(const std::string& name)
{
    geometry::DrawingData drawing;
    const std::string path = examplePath(name);
    const Status s = geometry::openDrawing(path, "pre", drawing);
    EXPECT_TRUE(s) << path << ": " << s.message;
    return drawing;
}

/// The traced regions' areas (the outer contour's included), sorted. The drawings have straight
/// elements only; a cut line walked both ways adds nothing.
std::vector<double> tracedAreas(const std::string& name)
{
    ResultadoFormacao formed;
    EXPECT_TRUE(formarRegioes(exampleDrawing(name), formed));
    std::vector<double> areas;
    for (const Regiao& region : formed.regioes.inListOrder()) {
        double twice = 0.0;
        for (const SegmentoContorno& s : region.segmentos.inListOrder())
            twice += s.x1 * s.y2 - s.x2 * s.y1;
        areas.push_back(std::fabs(0.5 * twice));
    }
    std::sort(areas.begin(), areas.end());
    return areas;
}

void expectAreas(const std::string& name, const std::vector<double>& expected)
{
    const std::vector<double> areas = tracedAreas(name);
    ASSERT_EQ(areas.size(), expected.size()) << name;
    for (std::size_t k = 0; k < areas.size(); ++k)
        EXPECT_NEAR(areas[k], expected[k], 1e-6) << name << " " << k;
}

/// Picks the region under (x, y) as the edit verb does and lets `change` set its values.
void setRegion(
    ProblemData& data, double x, double y, const std::function<void(ValoresRegiao&)>& change)
{
    int position = 0;
    ASSERT_TRUE(regiaoSobPonto(data, { x, y }, position)) << x << "," << y;
    ValoresRegiao values = valoresDaRegiao(*data.regiaoNaPosicao(position), data.tipoAnalise);
    change(values);
    ASSERT_TRUE(editaRegioes(data, { position }, values)) << x << "," << y;
}

/// The example's drawing traced, edited by `edit`, its outer contour at 0, meshed with the given
/// maximum edge and exported as a solver model (which reads the materials files).
solver::SolverModel exampleModel(
    const std::string& name, double maxEdge, const std::function<void(ProblemData&)>& edit)
{
    const geometry::DrawingData drawing = exampleDrawing(name);
    ResultadoFormacao formed;
    EXPECT_TRUE(formarRegioes(drawing, formed));
    ProblemData data;
    EXPECT_TRUE(readDat(
        std::string_view(escreveDatExportado(drawing.fatorEscala, {}, formed.regioes)), data));
    edit(data);
    potencialContornoExterno(data, 0.0);
    data.arestaMaxima = maxEdge;
    data.tolerancia = maxEdge / 1e6;
    OpcoesMalha options;
    options.verificaAngulo = true;
    options.comprimentoReferencia = maxEdge;
    NoProgress progress;
    EXPECT_TRUE(gerarMalha(data, options, progress));

    solver::SolverModel model;
    const solver::ExportResult exported = solver::buildSolverModel(data, model);
    EXPECT_TRUE(exported) << exported.status.message << " " << exported.materialFile;
    return model;
}

// ---- Saturating core ---------------------------------------------------------------------------

/// The C-core with its coil (inner side +J, outer side -J): the core non-linear steel, or linear
/// with the given relative permeability when `mu` is positive.
solver::SolverModel coreModel(double j, double mu)
{
    return exampleModel("saturating_core", 10.0, [&](ProblemData& data) {
        setRegion(data, 120, 160, [&](ValoresRegiao& v) {
            if (mu > 0.0) {
                v.permeabilidade = mu;
            } else {
                v.linear = false;
                v.arquivoMaterial = SteelFile;
            }
        });
        setRegion(data, 154, 160, [&](ValoresRegiao& v) { v.densidade = j; });
        setRegion(data, 86, 160, [&](ValoresRegiao& v) { v.densidade = -j; });
    });
}

struct CoreResult {
    double limbFlux = 0.0; ///< Wb/m across the wound limb at mid-height
    double limbB = 0.0; ///< T at the wound limb's centre
    double gapB = 0.0; ///< T in the middle of the air gap
};

CoreResult coreResult(const solver::SolverModel& model)
{
    CoreResult r;
    const evaluation::FluxResult flux = evaluation::fluxBetweenPoints(model, 100, 160, 140, 160);
    EXPECT_TRUE(flux.found);
    r.limbFlux = std::fabs(flux.value);
    const evaluation::PointValues limb = evaluation::pointValues(model, 120, 160);
    const evaluation::PointValues gap = evaluation::pointValues(model, 280, 160);
    EXPECT_TRUE(limb.ok());
    EXPECT_TRUE(gap.ok());
    r.limbB = limb.flux.magnitude;
    r.gapB = gap.flux.magnitude;
    return r;
}

CoreResult solvedCore(double j, bool nonlinear)
{
    solver::SolverModel model = coreModel(j, nonlinear ? 0.0 : 5000.0);
    EXPECT_EQ(model.hasNonlinearRegion, nonlinear);
    solver::RunSettings settings;
    settings.linearTolerance = 1e-6;
    solver::NoRunReporter reporter;
    const solver::RunResult run = nonlinear ? solver::runNonlinear(model, settings, reporter)
                                            : solver::runLinear(model, settings, reporter);
    EXPECT_TRUE(run) << run.status.message;
    if (nonlinear) {
        EXPECT_EQ(model.calculationKind, solver::CalculationKind::Nonlinear);
        EXPECT_LE(run.error, settings.errorTarget);
        EXPECT_LT(run.nonlinearSteps, settings.maxIterations);
    }
    return coreResult(model);
}

// ---- Conducting plate --------------------------------------------------------------------------

constexpr double Aluminium = 3.5e7; // S/m
constexpr double Frequency = 50.0;
constexpr double CoilJ = 3.0; // A/mm², the left coil side; the right one carries -CoilJ

/// The coil above the aluminium plate, solved with induced currents at `frequency` (0: the
/// magnetostatic field of the same coil).
solver::SolverModel solvedPlate(double frequency)
{
    solver::SolverModel model = exampleModel("conducting_plate", 6.0, [](ProblemData& data) {
        setRegion(data, 200, 110, [](ValoresRegiao& v) { v.condutividade = Aluminium; });
        setRegion(data, 150, 150, [](ValoresRegiao& v) { v.densidade = CoilJ; });
        setRegion(data, 250, 150, [](ValoresRegiao& v) { v.densidade = -CoilJ; });
    });
    EXPECT_EQ(model.conductive, 1);
    model.frequency = frequency;
    solver::RunSettings settings;
    settings.linearTolerance = 1e-8;
    solver::NoRunReporter reporter;
    const solver::RunResult run = solver::runInducedCurrents(model, settings, reporter);
    EXPECT_TRUE(run) << run.status.message;
    EXPECT_EQ(model.calculationKind, solver::CalculationKind::InducedCurrents);
    return model;
}

/**
 * The part of the induced current density (A/mm²) in phase with the coil's current, at a point
 * of the plate. The stiffness matrix is assembled negative definite (a positive current gives a
 * negative potential) and the conductivity terms enter with +j omega sigma, so the solved system
 * is the time-harmonic one whose eddy current density is -j omega sigma A: its real part is
 * omega sigma Im(A).
 */
double inPhaseEddyDensity(const solver::SolverModel& model, double x, double y)
{
    const evaluation::PointValues v = evaluation::pointValues(model, x, y);
    EXPECT_TRUE(v.ok()) << x << "," << y;
    return 2.0 * Pi * model.frequency * Aluminium * v.potentialIm / 1e6;
}

} // namespace

TEST(SaturatingCoreExample, TracesTheCoreTheCoilSidesAndTheAir)
{
    // Two coil sides 20 × 100; the 200 × 200 frame less its 120 × 120 window and the 40 × 2 gap;
    // the air; the outer contour 400 × 320.
    expectAreas("saturating_core", { 2000.0, 2000.0, 25520.0, 98480.0, 128000.0 });
}

TEST(SaturatingCoreExample, SaturatedCoreCarriesLessFluxThanALinearOne)
{
    // 6 kA: the demonstration's current. A core of constant mu_r 5000 (about the steel's largest)
    // would carry several tesla; the steel, past its knee, stays near 1.7 to 1.9 T.
    const CoreResult steel = solvedCore(3.0, true);
    const CoreResult linear = solvedCore(3.0, false);
    EXPECT_GT(linear.limbB, 3.0);
    EXPECT_GT(steel.limbB, 1.5);
    EXPECT_LT(steel.limbB, 2.1);
    EXPECT_LT(steel.limbFlux, 0.6 * linear.limbFlux);
    // The saturated limb drives less flux through the gap as well.
    EXPECT_LT(steel.gapB, 0.6 * linear.gapB);
}

TEST(SaturatingCoreExample, LowCurrentFluxMatchesTheLinearCore)
{
    // 400 A: a few tenths of a tesla, where the steel is nearly linear and the 2 mm gap sets the
    // flux: B ≈ mu0 NI / (gap + path / mu_r) ≈ 0.24 T less the leakage.
    const CoreResult steel = solvedCore(0.2, true);
    const CoreResult linear = solvedCore(0.2, false);
    ASSERT_GT(linear.limbFlux, 0.0);
    EXPECT_NEAR(steel.limbFlux / linear.limbFlux, 1.0, 0.1);
    EXPECT_GT(steel.limbB, 0.1);
    EXPECT_LT(steel.limbB, 0.4);
    // The steel's permeability there is below 5000: the linear core carries a little more.
    EXPECT_LE(steel.limbFlux, linear.limbFlux * 1.001);
}

TEST(ConductingPlateExample, TracesThePlateTheCoilSidesAndTheAir)
{
    // Two coil sides 30 × 20; the plate 300 × 20; the air; the outer contour 400 × 300.
    expectAreas("conducting_plate", { 600.0, 600.0, 6000.0, 112800.0, 120000.0 });
}

TEST(ConductingPlateExample, EddyCurrentsCrowdAtTheSurfaceFacingTheCoil)
{
    const solver::SolverModel model = solvedPlate(Frequency);

    // Under a coil side |J| falls with depth (skin depth about 12 mm in a 20 mm plate).
    for (const double x : { 155.0, 245.0 }) {
        const double top = evaluation::pointValues(model, x, 119.5).currentDensity;
        const double middle = evaluation::pointValues(model, x, 110.0).currentDensity;
        const double bottom = evaluation::pointValues(model, x, 100.5).currentDensity;
        EXPECT_GT(top, middle) << x;
        EXPECT_GT(middle, bottom) << x;
        EXPECT_GT(top, 2.0 * bottom) << x;
    }

    // The largest |J| of the whole plate lies on its top face (|J| is proportional to |A| in a
    // plate of one conductivity).
    const int plate = model.findRegionAt(200, 110);
    ASSERT_GT(plate, 0);
    double largest = -1.0;
    double largestY = 0.0;
    for (std::size_t i = 1; i < model.nodes.size(); ++i) {
        const solver::MeshNode& n = model.nodes[i];
        if (n.x < 50.0 || n.x > 350.0 || n.y < 100.0 || n.y > 120.0)
            continue;
        const double modulus = std::hypot(n.value, model.imaginaryNodes[i].value);
        if (modulus > largest) {
            largest = modulus;
            largestY = n.y;
        }
    }
    EXPECT_EQ(largestY, 120.0);
}

TEST(ConductingPlateExample, EddyCurrentsOpposeTheCoilCurrent)
{
    const solver::SolverModel induced = solvedPlate(Frequency);
    const solver::SolverModel statics = solvedPlate(0.0);

    // The sign convention the in-phase density rests on: a positive current's potential is
    // negative.
    EXPECT_LT(evaluation::pointValues(statics, 155, 150).potential, 0.0);

    // Under each coil side the in-phase eddy current flows against that side's current.
    EXPECT_LT(inPhaseEddyDensity(induced, 155, 119.5), -0.1 * CoilJ);
    EXPECT_GT(inPhaseEddyDensity(induced, 245, 119.5), 0.1 * CoilJ);

    // The in-phase current of the plate's left half, under the positive side, is a return current
    // smaller than the coil side's 1800 A.
    const int plate = induced.findRegionAt(200, 110);
    double leftHalf = 0.0;
    const std::vector<solver::MeshElement>& elements = induced.elements.inStorageOrder();
    for (const solver::MeshElement& e : elements) {
        const solver::MeshNode* v[3] = { &induced.nodes[static_cast<std::size_t>(e.t1)],
            &induced.nodes[static_cast<std::size_t>(e.t2)],
            &induced.nodes[static_cast<std::size_t>(e.t3)] };
        const double cx = (v[0]->x + v[1]->x + v[2]->x) / 3.0;
        const double cy = (v[0]->y + v[1]->y + v[2]->y) / 3.0;
        if (cx > 200.0 || induced.findRegionAt(cx, cy) != plate)
            continue;
        const double area = 0.5
            * std::fabs((v[1]->x - v[0]->x) * (v[2]->y - v[0]->y)
                - (v[2]->x - v[0]->x) * (v[1]->y - v[0]->y));
        const double im = (induced.imaginaryNodes[static_cast<std::size_t>(e.t1)].value
                              + induced.imaginaryNodes[static_cast<std::size_t>(e.t2)].value
                              + induced.imaginaryNodes[static_cast<std::size_t>(e.t3)].value)
            / 3.0;
        leftHalf += 2.0 * Pi * Frequency * Aluminium * im / 1e6 * area; // A/mm² × mm²
    }
    const double coilSide = CoilJ * 600.0;
    EXPECT_LT(leftHalf, -0.05 * coilSide);
    EXPECT_GT(leftHalf, -coilSide);

    // Whatever the time convention, opposing currents shield: the in-phase potential beneath the
    // plate is smaller than the coil's magnetostatic one there.
    const double below = evaluation::pointValues(induced, 155, 80).potential;
    const double belowStatic = evaluation::pointValues(statics, 155, 80).potential;
    ASSERT_LT(belowStatic, 0.0);
    EXPECT_LT(std::fabs(below), 0.9 * std::fabs(belowStatic));
}
