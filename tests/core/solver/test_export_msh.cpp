#include "common/messages.h"
#include "materials/mat_io.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace tarvex;
using geometry::Ponto;
using problem::ProblemData;
using problem::Regiao;
using problem::SegmentoContorno;
using problem::Triangulo;
using solver::ExportResult;
using solver::MeshElement;
using solver::MeshNode;
using solver::SolverModel;

Regiao rectangle(double x0, double y0, double x1, double y1)
{
    Regiao r;
    const Ponto a { x0, y0 }, b { x1, y0 }, c { x1, y1 }, d { x0, y1 };
    r.segmentos.pushBack(SegmentoContorno::reta(a, b));
    r.segmentos.pushBack(SegmentoContorno::reta(b, c));
    r.segmentos.pushBack(SegmentoContorno::reta(c, d));
    r.segmentos.pushBack(SegmentoContorno::reta(d, a));
    return r;
}

/// A clockwise triangle, as the mesh generator writes them (D < 0).
Triangulo clockwise(const Ponto& a, const Ponto& b, const Ponto& c)
{
    Triangulo t { a.x, a.y, b.x, b.y, c.x, c.y };
    if ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y) > 0.0)
        t = { a.x, a.y, c.x, c.y, b.x, b.y };
    return t;
}

/// The square [0, n]² cut into unit cells, two triangles each, in list order row by row; the
/// outer contour and one region over the whole square.
ProblemData grid(int n)
{
    ProblemData data;
    data.regioes.pushBack(rectangle(0, 0, n, n));
    data.regioes.pushBack(rectangle(0, 0, n, n));
    data.janela = { 0, double(n), 0, double(n) };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const Ponto a { double(i), double(j) }, b { i + 1.0, double(j) },
                c { i + 1.0, j + 1.0 }, d { double(i), j + 1.0 };
            data.triangulos.pushBack(clockwise(a, b, c));
            data.triangulos.pushBack(clockwise(a, c, d));
        }
    data.numTriangulos = static_cast<std::int32_t>(data.triangulos.size());
    data.derivarListas();
    return data;
}

SegmentoContorno reta(double x1, double y1, double x2, double y2, double potential = 0.0)
{
    SegmentoContorno s = SegmentoContorno::reta({ x1, y1 }, { x2, y2 });
    s.potencial = potential;
    return s;
}

double twiceArea(const SolverModel& m, const MeshElement& e)
{
    const MeshNode& a = m.nodes[static_cast<std::size_t>(e.t1)];
    const MeshNode& b = m.nodes[static_cast<std::size_t>(e.t2)];
    const MeshNode& c = m.nodes[static_cast<std::size_t>(e.t3)];
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}

/// Node number by position.
std::map<std::pair<double, double>, int> numbersByPosition(const SolverModel& m)
{
    std::map<std::pair<double, double>, int> byPosition;
    for (int i = 1; i <= m.nodeCount(); ++i)
        byPosition[{
            m.nodes[static_cast<std::size_t>(i)].x, m.nodes[static_cast<std::size_t>(i)].y }]
            = i;
    return byPosition;
}

std::set<std::pair<double, double>> corners(const SolverModel& m, const MeshElement& e)
{
    std::set<std::pair<double, double>> s;
    for (const int n : { e.t1, e.t2, e.t3 })
        s.insert(
            { m.nodes[static_cast<std::size_t>(n)].x, m.nodes[static_cast<std::size_t>(n)].y });
    return s;
}

std::set<std::pair<double, double>> corners(const Triangulo& t)
{
    return { { t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 } };
}

ExportResult exportOf(const ProblemData& data, SolverModel& m)
{
    ExportResult r = solver::buildSolverModel(data, m);
    EXPECT_TRUE(r.status.ok) << r.status.message;
    return r;
}

TEST(MshExport, RefusesAProblemWithoutMesh)
{
    ProblemData data = grid(2);
    data.triangulos.clear();
    data.numTriangulos = 0;
    SolverModel m;
    m.version = "untouched";
    const ExportResult r = solver::buildSolverModel(data, m);
    EXPECT_EQ(r.status.message, msg::MshSemMalha);
    EXPECT_EQ(m.version, "untouched");
}

TEST(MshExport, RefusesAnOddNumberOfSymmetryLines)
{
    ProblemData data = grid(2);
    data.tipoSimetria = problem::SymmetryKind::Symmetry;
    data.segmentosSimetria.pushBack(reta(0, 0, 0, 2));
    data.segmentosSimetria.pushBack(reta(2, 0, 2, 2));
    data.segmentosSimetria.pushBack(reta(0, 2, 2, 2));
    SolverModel m;
    m.version = "untouched";
    const ExportResult r = solver::buildSolverModel(data, m);
    EXPECT_EQ(r.status.message, msg::MshErroSimetria);
    EXPECT_EQ(m.version, "untouched");
}

TEST(MshExport, RefusesASymmetryKindOutsideItsValues)
{
    // The .dat keeps such a value as stored; the .msh reader would refuse the exported model.
    for (const int kind : { -1, 3, 5 }) {
        ProblemData data = grid(2);
        data.tipoSimetria = static_cast<problem::SymmetryKind>(kind);
        SolverModel m;
        const ExportResult r = solver::buildSolverModel(data, m);
        EXPECT_EQ(r.status.message, msg::MshErroSimetria) << kind;
    }
}

TEST(MshExport, NumbersInteriorNodesFirstAndImposedOnesLast)
{
    ProblemData data = grid(4);
    // The corner (0, 0) lies on both segments: the first one listed imposes it.
    data.segmentosPotencial.pushBack(reta(0, 4, 0, 0, 1.0));
    data.segmentosPotencial.pushBack(reta(0, 0, 4, 0, 0.0));
    data.potenciaisPonto.pushBack({ 2.0, 2.0, 5.0 });
    data.potenciaisPonto.pushBack({ 0.0, 4.0, -2.0 }); // a point wins over a segment
    data.potenciaisPonto.pushBack({ 2.5, 2.5, 9.0 }); // at no node: imposes nothing
    SolverModel m;
    exportOf(data, m);

    EXPECT_EQ(m.version, "versao 01.00.01");
    EXPECT_EQ(m.nodeCount(), 25);
    EXPECT_EQ(m.slaveCount, 0);
    EXPECT_EQ(m.symmetryKind, problem::SymmetryKind::None);
    EXPECT_EQ(m.calculationKind, solver::CalculationKind::NotCalculated);
    EXPECT_EQ(m.storedError, 1e200);
    // 9 nodes on the two sides and the one point at (2, 2).
    EXPECT_EQ(m.freeCount(), 15);
    EXPECT_EQ(m.interiorCount(), 15);
    EXPECT_EQ(m.matrix.order(), 15);
    EXPECT_EQ(m.rhs.count(), 15u);
    for (int i = 1; i <= 15; ++i) {
        const MeshNode& node = m.nodes[static_cast<std::size_t>(i)];
        EXPECT_TRUE(node.x > 0.0 && node.y > 0.0) << i;
        EXPECT_FALSE(node.x == 2.0 && node.y == 2.0);
        EXPECT_EQ(node.value, 0.0);
    }
    const auto number = numbersByPosition(m);
    const auto value = [&](double x, double y) {
        return m.nodes[static_cast<std::size_t>(number.at({ x, y }))].value;
    };
    EXPECT_EQ(value(0, 0), 1.0);
    EXPECT_EQ(value(0, 3), 1.0);
    EXPECT_EQ(value(0, 4), -2.0);
    EXPECT_EQ(value(3, 0), 0.0);
    EXPECT_EQ(value(2, 2), 5.0);
    EXPECT_GT(number.at({ 2, 2 }), 15);
}

TEST(MshExport, ElementsFollowTheTrianglesAndTurnClockwise)
{
    ProblemData data = grid(3);
    // Turn every second triangle counter-clockwise: the export must put them right.
    ProblemData mixed = data;
    mixed.triangulos.clear();
    int k = 0;
    for (const Triangulo& t : data.triangulos.inListOrder())
        mixed.triangulos.pushBack(
            k++ % 2 == 0 ? t : Triangulo { t.x1, t.y1, t.x3, t.y3, t.x2, t.y2 });
    SolverModel m;
    exportOf(mixed, m);
    ASSERT_EQ(m.elements.size(), mixed.triangulos.size());
    for (std::size_t i = 0; i < m.elements.size(); ++i) {
        EXPECT_LT(twiceArea(m, m.elements.at(i)), 0.0) << i;
        EXPECT_EQ(corners(m, m.elements.at(i)), corners(mixed.triangulos.at(i))) << i;
    }

    // A load gives the element list back reversed, the regions in their order.
    SolverModel back;
    ASSERT_TRUE(solver::readMsh(solver::writeMsh(m), back).ok);
    const std::size_t n = back.elements.size();
    ASSERT_EQ(n, mixed.triangulos.size());
    for (std::size_t i = 0; i < n; ++i)
        EXPECT_EQ(back.elements.at(i), m.elements.at(n - 1 - i)) << i;
    ASSERT_EQ(back.regions.size(), 2u);
    EXPECT_EQ(back.slaveMasters.size(), 1u);
    EXPECT_EQ(solver::writeMsh(back).size(), solver::writeMsh(m).size());
}

TEST(MshExport, KeepsTheRegionsInTheirOrder)
{
    ProblemData data = grid(4);
    // Region 2 covers the left half, region 3 the rest.
    data.regioes.clear();
    data.regioes.pushBack(rectangle(0, 0, 4, 4));
    data.regioes.pushBack(rectangle(0, 0, 2, 4));
    data.regioes.pushBack(rectangle(0, 0, 4, 4));
    data.regioes.at(1).permRelativa = 1000.0;
    data.regioes.at(2).densCorrente = 2.0;
    data.derivarListas();
    SolverModel m;
    exportOf(data, m);
    SolverModel back;
    ASSERT_TRUE(solver::readMsh(solver::writeMsh(m), back).ok);
    for (const SolverModel* model : { &m, &back }) {
        ASSERT_EQ(model->regions.size(), 3u);
        EXPECT_EQ(model->regions.at(1).permRelativa, 1000.0);
        EXPECT_EQ(model->regions.at(2).densCorrente, 2.0);
        EXPECT_EQ(model->findRegionAt(1.0, 1.0), 2);
        EXPECT_EQ(model->findRegionAt(3.0, 1.0), 3);
    }
}

TEST(MshExport, PairsSlavesWithMastersAtTheSameHeight)
{
    for (const int kind : { 1, 2 }) {
        ProblemData data = grid(4);
        data.tipoSimetria = static_cast<problem::SymmetryKind>(kind);
        data.segmentosPotencial.pushBack(reta(0, 0, 4, 0, 0.0));
        data.segmentosPotencial.pushBack(reta(0, 4, 4, 4, 0.0));
        // The master line runs down, the slave line up: pairing goes by height, not by order.
        data.segmentosSimetria.pushBack(reta(0, 4, 0, 0));
        data.segmentosSimetria.pushBack(reta(4, 0, 4, 4));
        SolverModel m;
        exportOf(data, m);
        EXPECT_EQ(m.symmetryKind, static_cast<problem::SymmetryKind>(kind));
        ASSERT_EQ(m.slaveCount, 3);
        EXPECT_EQ(m.interiorCount(), 9);
        EXPECT_EQ(m.freeCount(), 12);
        EXPECT_EQ(m.matrix.order(), 12);
        ASSERT_EQ(m.slaveMasters.size(), 4u);
        for (int k = 1; k <= 3; ++k) {
            const MeshNode& master = m.nodes[static_cast<std::size_t>(9 + k)];
            const MeshNode& slave = m.nodes[static_cast<std::size_t>(12 + k)];
            EXPECT_EQ(master.x, 0.0);
            EXPECT_EQ(master.value, 9 + k);
            EXPECT_EQ(slave.x, 4.0);
            EXPECT_EQ(slave.y, master.y);
            EXPECT_EQ(slave.value, 9 + k);
            EXPECT_EQ(m.slaveMasters[static_cast<std::size_t>(k)], 9 + k);
        }
        // Imposed potential wins over the symmetry at the corners.
        for (int i = 16; i <= 25; ++i)
            EXPECT_EQ(m.nodes[static_cast<std::size_t>(i)].value, 0.0);

        // Not stored before a calculation: rebuilt from the slaves' values at load.
        SolverModel back;
        ASSERT_TRUE(solver::readMsh(solver::writeMsh(m), back).ok);
        EXPECT_EQ(back.slaveMasters, m.slaveMasters);
    }
}

TEST(MshExport, SymmetryLinesWithoutASymmetryKindImposeNothing)
{
    ProblemData data = grid(2);
    data.segmentosSimetria.pushBack(reta(0, 0, 0, 2));
    data.segmentosSimetria.pushBack(reta(2, 0, 2, 2));
    SolverModel m;
    exportOf(data, m);
    EXPECT_EQ(m.slaveCount, 0);
    EXPECT_EQ(m.interiorCount(), 9);
}

TEST(MshExport, SlaveOrMasterWithoutPartnerStopsTheExport)
{
    ProblemData data = grid(4);
    data.tipoSimetria = problem::SymmetryKind::Symmetry;
    data.segmentosSimetria.pushBack(reta(0, 0, 0, 2));
    data.segmentosSimetria.pushBack(reta(4, 0, 4, 4));
    SolverModel m;
    m.version = "untouched";
    ExportResult r = solver::buildSolverModel(data, m);
    EXPECT_EQ(r.status.message, msg::MshErroListaDireita);
    ASSERT_TRUE(r.hasMark);
    EXPECT_EQ(r.markX, 4.0);
    EXPECT_EQ(r.markY, 3.0);
    EXPECT_EQ(m.version, "untouched");

    data.segmentosSimetria.clear();
    data.segmentosSimetria.pushBack(reta(0, 0, 0, 4));
    data.segmentosSimetria.pushBack(reta(4, 0, 4, 2));
    r = solver::buildSolverModel(data, m);
    EXPECT_EQ(r.status.message, msg::MshErroListaEsquerda);
    ASSERT_TRUE(r.hasMark);
    EXPECT_EQ(r.markX, 0.0);
    EXPECT_EQ(r.markY, 3.0);
    EXPECT_EQ(m.version, "untouched");
}

/// An annulus sector about the origin: radii 5, 7.5 and 10, `steps` angular steps over
/// [0, sweep]; regions are two squares around it.
ProblemData sector(int steps, double sweep)
{
    ProblemData data;
    data.regioes.pushBack(rectangle(-20, -20, 20, 20));
    data.regioes.pushBack(rectangle(-20, -20, 20, 20));
    const double radii[] = { 5.0, 7.5, 10.0 };
    const auto at = [&](int ring, int k) {
        const double a = sweep * k / steps;
        return Ponto { radii[ring] * std::cos(a), radii[ring] * std::sin(a) };
    };
    for (int ring = 0; ring < 2; ++ring)
        for (int k = 0; k < steps; ++k) {
            data.triangulos.pushBack(clockwise(at(ring, k), at(ring + 1, k), at(ring + 1, k + 1)));
            data.triangulos.pushBack(clockwise(at(ring, k), at(ring + 1, k + 1), at(ring, k + 1)));
        }
    data.numTriangulos = static_cast<std::int32_t>(data.triangulos.size());
    data.derivarListas();
    return data;
}

TEST(MshExport, PotentialOnAnArcHoldsEveryNodeOfTheArc)
{
    const double pi = 4.0 * std::atan(1.0);
    for (const bool swapped : { false, true }) {
        // 24 steps over half a turn; the arc covers the first quarter of the outer ring.
        ProblemData data = sector(24, pi);
        SegmentoContorno arc = SegmentoContorno::arco(
            { 10.0 * std::cos(0.0), 0.0 }, { 10.0 * std::cos(pi / 2), 10.0 }, { 0.0, 0.0 });
        if (swapped) {
            std::swap(arc.x1, arc.x2);
            std::swap(arc.y1, arc.y2);
            arc.sentido = 0;
        }
        arc.potencial = 3.0;
        data.segmentosPotencial.pushBack(arc);
        SolverModel m;
        exportOf(data, m);
        ASSERT_EQ(m.nodeCount(), 75);
        int imposed = 0;
        for (int i = 1; i <= m.nodeCount(); ++i) {
            const MeshNode& node = m.nodes[static_cast<std::size_t>(i)];
            const bool onArc = std::fabs(std::hypot(node.x, node.y) - 10.0) < 1e-9 && node.y > -1e-9
                && node.x > -1e-9;
            EXPECT_EQ(i > m.unknownCount(), onArc) << node.x << ", " << node.y;
            if (onArc) {
                EXPECT_EQ(node.value, 3.0);
                ++imposed;
            }
        }
        EXPECT_EQ(imposed, 13); // angles 0, 7.5, ... 90 degrees
    }
}

TEST(MshExport, InteriorNumberingKeepsCouplingsNearTheDiagonal)
{
    // The triangles listed in a scattered order must not scatter the numbering.
    ProblemData data = grid(40);
    std::vector<Triangulo> triangles(
        data.triangulos.inListOrder().begin(), data.triangulos.inListOrder().end());
    std::vector<Triangulo> shuffled;
    for (std::size_t step = 0; step < 7; ++step)
        for (std::size_t i = step; i < triangles.size(); i += 7)
            shuffled.push_back(triangles[i]);
    data.triangulos.clear();
    for (const Triangulo& t : shuffled)
        data.triangulos.pushBack(t);
    data.segmentosPotencial.pushBack(reta(0, 0, 40, 0, 0.0));
    SolverModel m;
    exportOf(data, m);
    int widest = 0;
    for (const MeshElement& e : m.elements.inListOrder())
        for (const auto& [a, b] :
            { std::pair { e.t1, e.t2 }, std::pair { e.t2, e.t3 }, std::pair { e.t1, e.t3 } })
            if (a <= m.interiorCount() && b <= m.interiorCount())
                widest = std::max(widest, std::abs(a - b));
    // A front of a 40-node wide grid: the bandwidth stays near the width.
    EXPECT_LE(widest, 2 * 41);
    EXPECT_EQ(m.interiorCount(), 41 * 40);
}

TEST(MshExport, ReadsTheCurvesOfNonLinearRegions)
{
    const std::string path = ::testing::TempDir() + "tarvex_export_bh.mat";
    ASSERT_TRUE(materials::saveMat(path, { { 0.0, 0.0 }, { 100.0, 1.0 }, { 1000.0, 1.5 } }).ok);
    for (const std::uint8_t magnetic : { std::uint8_t { 1 }, std::uint8_t { 0 } }) {
        ProblemData data = grid(2);
        data.tipoAnalise = static_cast<problem::AnalysisType>(magnetic);
        data.regioes.at(1).linear = 0;
        data.regioes.at(1).arquivoMaterial = path;
        data.regioes.at(0).linear = 0; // the outer contour: never read
        data.regioes.at(0).arquivoMaterial = "/nonexistent.mat";
        SolverModel m;
        exportOf(data, m);
        const materials::Curva& c = m.regions.at(1).curva1;
        ASSERT_EQ(c.count(), 3u);
        // A magnetic model keeps B first; an electric one keeps the file's order.
        EXPECT_EQ(c.x(3), magnetic != 0 ? 1.5 : 1000.0);
        EXPECT_EQ(c.y(3), magnetic != 0 ? 1000.0 : 1.5);
        EXPECT_TRUE(m.hasNonlinearRegion);

        SolverModel back;
        ASSERT_TRUE(solver::readMsh(solver::writeMsh(m), back).ok);
        EXPECT_EQ(back.regions.at(1).curva1.x(2), c.x(2));
    }
    std::remove(path.c_str());

    ProblemData data = grid(2);
    data.regioes.at(1).linear = 0;
    data.regioes.at(1).arquivoMaterial = path + ".missing";
    SolverModel m;
    m.version = "untouched";
    const ExportResult r = solver::buildSolverModel(data, m);
    EXPECT_EQ(r.status.message, msg::MshArquivoMaterial);
    EXPECT_EQ(r.materialFile, path + ".missing");
    EXPECT_EQ(m.version, "untouched");
}

TEST(MshExport, ConductingRegionAddsTheInducedCurrentBlock)
{
    ProblemData data = grid(3);
    data.segmentosPotencial.pushBack(reta(0, 0, 3, 0, 1.0));
    SolverModel m;
    exportOf(data, m);
    EXPECT_EQ(m.conductive, 0);

    data.regioes.at(1).condutividade = 1e6;
    exportOf(data, m);
    EXPECT_EQ(m.conductive, 1);
    EXPECT_EQ(m.conductivityMatrix.order(), m.freeCount());
    EXPECT_EQ(m.conductivityRhs.count(), static_cast<std::size_t>(m.freeCount()));
    ASSERT_EQ(m.imaginaryNodes.size(), m.nodes.size());
    for (int i = m.unknownCount() + 1; i <= m.nodeCount(); ++i)
        EXPECT_EQ(m.imaginaryNodes[static_cast<std::size_t>(i)].value, 0.0);
    SolverModel back;
    ASSERT_TRUE(solver::readMsh(solver::writeMsh(m), back).ok);
    EXPECT_EQ(back.conductive, 1);
}

TEST(MshExport, NamesOfTheWrittenFile)
{
    EXPECT_EQ(solver::nomeMshProposto("/p/motor.dat"), "/p/motor.msh");
    EXPECT_EQ(solver::nomeMshProposto("/p/MOTOR.DAT"), "/p/MOTOR.msh");
    EXPECT_EQ(solver::nomeMshProposto("/p/motor"), "/p/motor.msh");
    EXPECT_EQ(solver::nomeMshEscolhido("/p/a.dat"), "/p/a.msh");
    EXPECT_EQ(solver::nomeMshEscolhido("/p/a.msh"), "/p/a.msh");
    EXPECT_EQ(solver::nomeMshEscolhido("/p/a.MSH"), "/p/a.MSH");
    EXPECT_EQ(solver::nomeMshEscolhido("/p/a.txt"), "");
    EXPECT_EQ(solver::nomeMshEscolhido("/p/a"), "");
}

} // namespace
