#include "common/messages.h"
#include "core/hand_bytes.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tarvex;
using solver::SolverModel;

struct Bytes : tarvex::test::HandBytes<Bytes> {
    std::map<std::string, std::size_t> at; ///< offsets of fields the hostile tests patch

    Bytes& mark(const std::string& name)
    {
        at[name] = data.size();
        return *this;
    }
};

struct Seg {
    double x1, y1, x2, y2, xc = 0, yc = 0;
    std::uint8_t arc = 0, sentido = 1;
    double potential = 0;
};

struct Region {
    double mu = 1.0;
    double sigma = 0.0;
    std::uint8_t linear = 1;
    std::string file;
    std::vector<Seg> segments; ///< file order
    std::vector<double> b, h; ///< curve of a non-linear region
    std::int32_t curveCountH = -1; ///< stored count of the H array; -1: as many as given
};

struct Matrix {
    std::int32_t order = 0;
    std::vector<std::int32_t> rowStarts; ///< 1..order
    std::vector<std::int32_t> columns; ///< 1..nnz
    std::vector<double> values; ///< 1..nnz
    std::int32_t slotsAgain = -1; ///< second copy of nnz; -1: the same
    std::int32_t orderAgain = -1;
};

using Node = std::array<double, 3>;

/// Everything a .msh image holds, in file order; build() lays it out by hand.
struct Image {
    std::string version = "versao 01.00.01";
    std::uint8_t magnetic = 1;
    double scale = 1000.0;
    std::array<double, 4> window { -1.0, 11.0, -2.0, 12.0 };
    std::vector<Region> regions; ///< file order: the last region of the list first
    std::vector<Seg> potentialSegments;
    std::vector<Node> points;
    std::vector<std::array<std::int32_t, 3>> elements;
    std::vector<Node> nodes; ///< 1..n
    std::vector<double> rhs;
    Matrix matrix;
    std::uint8_t conductive = 0;
    Matrix conductivity;
    std::vector<double> rhs2;
    std::vector<Node> imaginary;
    double frequency = 0.0;
    std::int32_t symmetryKind = 0;
    std::int32_t slaveCount = 0;
    std::int32_t calculationKind = 0;
    double storedError = 1e200;
    std::vector<std::int32_t> slaveMasters; ///< 1..g, written when g and the kind are non-zero
};

void segment(Bytes& b, const Seg& s)
{
    b.f64(s.x1)
        .f64(s.y1)
        .f64(s.x2)
        .f64(s.y2)
        .f64(s.xc)
        .f64(s.yc)
        .u8(s.arc)
        .u8(s.sentido)
        .zeros(6)
        .f64(s.potential);
}

void matrix(Bytes& b, const Matrix& m, const std::string& name)
{
    b.mark(name + ".order").i32(m.order).i32(0);
    for (std::size_t i = 0; i < m.rowStarts.size(); ++i)
        b.mark(name + ".row" + std::to_string(i + 1)).i32(m.rowStarts[i]);
    const auto nnz = static_cast<std::int32_t>(m.columns.size());
    b.mark(name + ".nnz").i32(nnz).i32(0);
    for (std::size_t s = 0; s < m.columns.size(); ++s)
        b.mark(name + ".col" + std::to_string(s + 1)).i32(m.columns[s]);
    b.i32(m.slotsAgain < 0 ? nnz : m.slotsAgain).i32(m.orderAgain < 0 ? m.order : m.orderAgain);
    b.f64(0.0);
    for (const double v : m.values)
        b.f64(v);
}

void doubles(Bytes& b, const std::vector<double>& v, const std::string& name)
{
    b.mark(name).i32(static_cast<std::int32_t>(v.size())).f64(0.0);
    for (const double x : v)
        b.f64(x);
}

void nodes(Bytes& b, const std::vector<Node>& v, const std::string& name)
{
    b.mark(name).i32(static_cast<std::int32_t>(v.size())).zeros(24);
    for (std::size_t i = 0; i < v.size(); ++i)
        b.mark(name + std::to_string(i + 1)).f64(v[i][0]).f64(v[i][1]).f64(v[i][2]);
}

Bytes build(const Image& m)
{
    Bytes b;
    b.field(m.version, 31).u8(m.magnetic).mark("scale").f64(m.scale);
    for (const double w : m.window)
        b.f64(w);
    b.mark("regions").i32(static_cast<std::int32_t>(m.regions.size()));
    for (const Region& r : m.regions) {
        b.f64(r.mu).f64(2.0).f64(3.0).f64(4.0).f64(0.5).f64(-0.5); // mu_r, eps_r, J, rho, Br x, y
        b.f64(0.25).f64(0.125).f64(r.sigma).f64(0.0).f64(0.0); // Br r, Br t, sigma, reserved
        b.u8(r.linear).field(r.file, 1000);
        b.f64(1.0).f64(2.0).f64(3.0).f64(4.0).u8(7).u8(8).zeros(1000).i32(11).i32(12);
        b.i32(static_cast<std::int32_t>(r.segments.size()));
        for (const Seg& s : r.segments)
            segment(b, s);
        if (r.linear == 0) {
            doubles(b, r.b, "curveB");
            b.mark("curveH").i32(
                r.curveCountH < 0 ? static_cast<std::int32_t>(r.h.size()) : r.curveCountH);
            b.f64(0.0);
            for (const double x : r.h)
                b.f64(x);
        }
    }
    b.mark("segments").i32(static_cast<std::int32_t>(m.potentialSegments.size()));
    for (const Seg& s : m.potentialSegments)
        segment(b, s);
    b.mark("points").i32(static_cast<std::int32_t>(m.points.size()));
    for (const Node& p : m.points)
        b.f64(p[0]).f64(p[1]).f64(p[2]);
    b.mark("elements").i32(static_cast<std::int32_t>(m.elements.size()));
    for (std::size_t e = 0; e < m.elements.size(); ++e)
        b.mark("element" + std::to_string(e + 1))
            .i32(m.elements[e][0])
            .i32(m.elements[e][1])
            .i32(m.elements[e][2]);
    nodes(b, m.nodes, "node");
    doubles(b, m.rhs, "rhs");
    matrix(b, m.matrix, "matrix");
    if (m.version != "versao 01.00.00") {
        b.mark("conductive").u8(m.conductive);
        if (m.conductive != 0) {
            matrix(b, m.conductivity, "q");
            doubles(b, m.rhs2, "rhs2");
            nodes(b, m.imaginary, "imaginary");
            b.f64(m.frequency);
        }
    }
    b.mark("symmetry").i32(m.symmetryKind).mark("slaveCount").i32(m.slaveCount);
    b.mark("calculation").i32(m.calculationKind).f64(m.storedError);
    if (m.slaveCount != 0 && m.calculationKind != 0) {
        b.mark("slaveMasters").i32(static_cast<std::int32_t>(m.slaveMasters.size())).i32(0);
        for (const std::int32_t s : m.slaveMasters)
            b.i32(s);
    }
    return b;
}

/**
 * A small model with every part of the file: node 1 interior, node 2 master, node 3 its slave,
 * node 4 imposed; an outer square and a non-linear triangle; the induced-current block.
 */
Image sample()
{
    Image m;
    Region triangle;
    triangle.mu = 1000.0;
    triangle.linear = 0;
    triangle.file = "/materiais/a\xE7o.mat"; // Windows-1252 in files
    triangle.segments = { { 0, 0, 10, 0 }, { 10, 0, 5, 10 }, { 5, 10, 0, 0 } };
    triangle.b = { 0.0, 1.0, 1.8 };
    triangle.h = { 0.0, 200.0, 5000.0 };
    triangle.sigma = 5.8e7;
    Region outer;
    outer.segments = { { 0, 0, 10, 0 }, { 10, 0, 10, 10 }, { 10, 10, 0, 10 }, { 0, 10, 0, 0 } };
    m.regions = { triangle, outer };
    m.potentialSegments
        = { { 0, 10, 10, 10, 0, 0, 0, 1, 7.5 }, { 10, 5, 5, 10, 5, 5, 1, 0, -1.0 } };
    m.points = { { 5.0, 10.0, 7.5 } };
    m.elements = { { 1, 2, 3 }, { 1, 3, 4 } };
    m.nodes = { { 5, 5, 0 }, { 0, 2, 2 }, { 10, 2, 2 }, { 5, 10, 7.5 } };
    m.rhs = { 0.5, -0.25 };
    m.matrix = { 2, { 1, 3 }, { 1, 0, 2, 1 }, { 4.0, 0.0, 5.0, -1.0 } };
    m.conductive = 1;
    m.conductivity = { 2, { 1, 2 }, { 1, 2, 1 }, { 0.5, 0.25, 0.125 } };
    m.rhs2 = { 0.1, 0.2 };
    m.imaginary = { { 5, 5, 0 }, { 0, 2, 0 }, { 10, 2, 0 }, { 5, 10, 0 } };
    m.frequency = 60.0;
    m.symmetryKind = 2;
    m.slaveCount = 1;
    return m;
}

/// What a write of the loaded `m` gives: the three record lists stand reversed after a load.
Image rewritten(Image m)
{
    m.version = "versao 01.00.01";
    std::reverse(m.potentialSegments.begin(), m.potentialSegments.end());
    std::reverse(m.points.begin(), m.points.end());
    std::reverse(m.elements.begin(), m.elements.end());
    for (Region& r : m.regions)
        std::reverse(r.segments.begin(), r.segments.end());
    return m;
}

void patch32(std::string& bytes, std::size_t offset, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<std::size_t>(i)]
            = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
}

/// The read fails with `message` and leaves the model it was given alone.
void expectRefused(std::string_view bytes, std::string_view message)
{
    SolverModel out;
    out.version = "untouched";
    const Status s = solver::readMsh(bytes, out);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, message);
    EXPECT_EQ(out.version, "untouched");
}

TEST(MshIo, ReadsEveryFieldOfAHandMadeImage)
{
    SolverModel m;
    ASSERT_TRUE(solver::readMsh(build(sample()).data, m).ok);
    EXPECT_EQ(m.version, "versao 01.00.01");
    EXPECT_EQ(m.magnetic, 1);
    EXPECT_EQ(m.scaleFactor, 1000.0);
    EXPECT_EQ(m.window, (std::array<double, 4> { -1.0, 11.0, -2.0, 12.0 }));

    // Regions stored last to first come back in list order, the outer contour first.
    ASSERT_EQ(m.regions.size(), 2u);
    const problem::Regiao& outer = m.regions.at(0);
    const problem::Regiao& triangle = m.regions.at(1);
    EXPECT_EQ(outer.segmentos.size(), 4u);
    EXPECT_EQ(outer.linear, 1);
    EXPECT_EQ(triangle.permRelativa, 1000.0);
    EXPECT_EQ(triangle.brR, 0.25);
    EXPECT_EQ(triangle.brT, 0.125);
    EXPECT_EQ(triangle.condutividade, 5.8e7);
    EXPECT_EQ(triangle.arquivoMaterial, "/materiais/aço.mat");
    EXPECT_EQ(triangle.reservadoI2, 12);
    ASSERT_EQ(triangle.curva1.count(), 3u);
    EXPECT_EQ(triangle.curva1.x(3), 1.8);
    EXPECT_EQ(triangle.curva1.y(3), 5000.0);
    EXPECT_TRUE(m.hasNonlinearRegion);
    EXPECT_EQ(m.regionPolygons.size(), 2u);
    EXPECT_EQ(m.findRegionAt(5.0, 3.0), 2);

    // The record lists stand in reverse file order.
    ASSERT_EQ(m.potentialSegments.size(), 2u);
    EXPECT_EQ(m.potentialSegments.at(0).ehArco, 1);
    EXPECT_EQ(m.potentialSegments.at(0).sentido, 0);
    EXPECT_EQ(m.potentialSegments.at(0).potencial, -1.0);
    EXPECT_EQ(m.potentialSegments.at(1).potencial, 7.5);
    ASSERT_EQ(m.potentialPoints.size(), 1u);
    EXPECT_EQ(m.potentialPoints.at(0), (problem::PotencialPonto { 5.0, 10.0, 7.5 }));
    ASSERT_EQ(m.elements.size(), 2u);
    EXPECT_EQ(m.elements.at(0), (solver::MeshElement { 1, 3, 4 }));
    EXPECT_EQ(m.elements.at(1), (solver::MeshElement { 1, 2, 3 }));

    ASSERT_EQ(m.nodeCount(), 4);
    EXPECT_EQ(m.nodes[4], (solver::MeshNode { 5, 10, 7.5 }));
    ASSERT_EQ(m.rhs.count(), 2u);
    EXPECT_EQ(m.rhs[2], -0.25);
    EXPECT_EQ(m.matrix.order(), 2);
    EXPECT_EQ(m.matrix.storageSlotCount(), 4);
    EXPECT_EQ(linalg::sparseEntry(m.matrix, 1, 2), -1.0);
    EXPECT_EQ(linalg::sparseEntry(m.matrix, 2, 2), 5.0);

    EXPECT_EQ(m.conductive, 1);
    EXPECT_EQ(m.conductivityMatrix.order(), 2);
    EXPECT_EQ(linalg::sparseEntry(m.conductivityMatrix, 2, 1), 0.125);
    EXPECT_EQ(m.conductivityRhs[2], 0.2);
    EXPECT_EQ(m.imaginaryNodes.size(), 5u);
    EXPECT_EQ(m.frequency, 60.0);

    EXPECT_EQ(m.symmetryKind, problem::SymmetryKind::AntiSymmetry);
    EXPECT_EQ(m.slaveCount, 1);
    EXPECT_EQ(m.calculationKind, solver::CalculationKind::NotCalculated);
    EXPECT_EQ(m.storedError, 1e200);
    // Not calculated: the slave's value names its master.
    EXPECT_EQ(m.slaveMasters, (std::vector<std::int32_t> { 0, 2 }));
    EXPECT_EQ(m.freeCount(), 2);
    EXPECT_EQ(m.interiorCount(), 1);
}

TEST(MshIo, WritingTheLoadedModelReversesOnlyTheRecordLists)
{
    const Image image = sample();
    SolverModel once;
    ASSERT_TRUE(solver::readMsh(build(image).data, once).ok);
    const std::string first = solver::writeMsh(once);
    EXPECT_EQ(first, build(rewritten(image)).data);

    // A second load turns the lists back: the bytes of the first image return.
    SolverModel twice;
    ASSERT_TRUE(solver::readMsh(first, twice).ok);
    EXPECT_EQ(solver::writeMsh(twice), build(image).data);

    // Through a stream as well.
    std::istringstream in(first);
    SolverModel streamed;
    ASSERT_TRUE(solver::readMsh(in, streamed).ok);
    EXPECT_EQ(solver::writeMsh(streamed), build(image).data);
}

TEST(MshIo, MatricesAreHeldWithoutFreeSlotsAndWrittenBackSlotForSlot)
{
    // The sample's rows are filled from their first slot: held without the free slot.
    SolverModel packed;
    ASSERT_TRUE(solver::readMsh(build(sample()).data, packed).ok);
    EXPECT_TRUE(packed.matrix.trimmed());
    EXPECT_EQ(packed.matrix.slotCount(), 3);
    EXPECT_EQ(packed.matrix.storageSlotCount(), 4);

    // Layouts that cannot be told by their entries alone are kept as they are, and still come
    // back byte for byte: a hole before an entry, a value left in a free slot, a negative zero.
    for (const auto& [columns, values] :
        { std::pair { std::vector<std::int32_t> { 1, 0, 0, 2, 0, 1 },
              std::vector<double> { 4, 0, 0, 5, 0, -1 } },
            std::pair {
                std::vector<std::int32_t> { 1, 0, 2, 1 }, std::vector<double> { 4, 9, 5, -1 } },
            std::pair { std::vector<std::int32_t> { 1, 0, 2, 1 },
                std::vector<double> { 4, -0.0, 5, -1 } } }) {
        Image image = sample();
        image.matrix.columns = columns;
        image.matrix.values = values;
        image.matrix.rowStarts = { 1, static_cast<std::int32_t>(columns.size()) / 2 + 1 };
        SolverModel once;
        ASSERT_TRUE(solver::readMsh(build(image).data, once).ok) << values[1];
        EXPECT_FALSE(once.matrix.trimmed());
        SolverModel twice;
        ASSERT_TRUE(solver::readMsh(solver::writeMsh(once), twice).ok);
        EXPECT_EQ(solver::writeMsh(twice), build(image).data) << values[1];
    }
}

TEST(MshIo, CalculatedModelKeepsItsSlaveMastersAndPreparesItsCurves)
{
    Image image = sample();
    image.calculationKind = 2;
    image.nodes[2][2] = -0.75; // after a run a slave holds its potential
    image.slaveMasters = { 2 };
    image.storedError = 0.003;
    SolverModel m;
    ASSERT_TRUE(solver::readMsh(build(image).data, m).ok);
    EXPECT_EQ(m.slaveMasters, (std::vector<std::int32_t> { 0, 2 }));
    EXPECT_EQ(m.storedError, 0.003);
    const problem::Regiao& triangle = m.regions.at(1);
    EXPECT_TRUE(triangle.curva1.splineCalculado());
    EXPECT_GT(triangle.curva2.count(), 0u);
    EXPECT_EQ(solver::writeMsh(m), build(rewritten(image)).data);
}

TEST(MshIo, OldVersionHasNoConductiveByteAndIsSavedAsTheNewOne)
{
    Image image = sample();
    image.version = "versao 01.00.00";
    SolverModel m;
    ASSERT_TRUE(solver::readMsh(build(image).data, m).ok);
    EXPECT_EQ(m.version, "versao 01.00.00");
    EXPECT_EQ(m.conductive, 0);
    EXPECT_EQ(m.symmetryKind, problem::SymmetryKind::AntiSymmetry);
    EXPECT_EQ(m.slaveMasters, (std::vector<std::int32_t> { 0, 2 }));

    Image expected = rewritten(image);
    expected.conductive = 0;
    EXPECT_EQ(solver::writeMsh(m), build(expected).data);
}

TEST(MshIo, ImposedNodesLoseAnyImaginaryPart)
{
    Image image = sample();
    image.imaginary[1][2] = 0.5; // a master: kept
    image.imaginary[3][2] = 9.0; // the imposed node
    SolverModel m;
    ASSERT_TRUE(solver::readMsh(build(image).data, m).ok);
    EXPECT_EQ(m.imaginaryNodes[2].value, 0.5);
    EXPECT_EQ(m.imaginaryNodes[4].value, 0.0);
}

TEST(MshIo, ModelWithoutSymmetryOrConduction)
{
    Image image = sample();
    image.symmetryKind = 0;
    image.slaveCount = 0;
    image.conductive = 0;
    image.calculationKind = 1;
    SolverModel m;
    ASSERT_TRUE(solver::readMsh(build(image).data, m).ok);
    EXPECT_EQ(m.slaveMasters.size(), 1u);
    EXPECT_EQ(m.interiorCount(), 2);
    EXPECT_EQ(solver::writeMsh(m), build(rewritten(image)).data);
}

TEST(MshIo, EveryTruncationIsRefusedWithoutTouchingTheModel)
{
    Image image = sample();
    image.calculationKind = 1;
    image.slaveMasters = { 2 };
    const std::string bytes = build(image).data;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SolverModel out;
        out.version = "untouched";
        const Status s = solver::readMsh(std::string_view(bytes).substr(0, length), out);
        ASSERT_FALSE(s.ok) << length;
        ASSERT_EQ(out.version, "untouched") << length;
    }
}

TEST(MshIo, RefusesUnknownVersionAndDamagedHeader)
{
    Image image = sample();
    image.version = "versao 01.00.02";
    expectRefused(build(image).data, msg::MshErroVersao);
    EXPECT_EQ(msg::MshErroVersao, " Não é possível ler arquivo: erro de versão !");

    Bytes b = build(sample());
    std::string bytes = b.data;
    const double zero = 0.0;
    std::memcpy(&bytes[b.at["scale"]], &zero, 8);
    expectRefused(bytes, msg::DesBadScale);

    bytes = b.data;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(&bytes[b.at["node3"]], &nan, 8);
    expectRefused(bytes, msg::DesBadCoordinate);
}

TEST(MshIo, RefusesImpossibleCounts)
{
    const Bytes b = build(sample());
    const auto patched = [&](const std::string& field, std::int32_t value) {
        std::string bytes = b.data;
        patch32(bytes, b.at.at(field), value);
        return bytes;
    };
    expectRefused(patched("regions", -1), msg::DesBadCount);
    expectRefused(patched("regions", 1 << 30), msg::DesTruncated);
    expectRefused(patched("segments", -3), msg::DesBadCount);
    expectRefused(patched("elements", 0x7FFFFFFF), msg::DesTruncated);
    expectRefused(patched("node", -1), msg::DesBadCount);
    expectRefused(patched("node", 0x7FFFFFFF), msg::DesTruncated);
    expectRefused(patched("rhs", 0x10000000), msg::DesTruncated);
    expectRefused(patched("matrix.order", -2), msg::DesBadCount);
    expectRefused(patched("matrix.nnz", 0x7FFFFFFE), msg::DesTruncated);
    expectRefused(patched("curveB", 1 << 28), msg::DesTruncated);
}

TEST(MshIo, RefusesMatricesThatDoNotDescribeOne)
{
    const Bytes b = build(sample());
    const auto patched = [&](const std::string& field, std::int32_t value) {
        std::string bytes = b.data;
        patch32(bytes, b.at.at(field), value);
        return bytes;
    };
    expectRefused(patched("matrix.row2", 9), msg::MshMatrizInvalida); // past the last slot
    expectRefused(patched("matrix.row2", 0), msg::MshMatrizInvalida); // before the first row
    expectRefused(patched("matrix.row1", 2), msg::MshMatrizInvalida); // rows must start at 1
    expectRefused(patched("matrix.col3", 3), msg::MshMatrizInvalida); // beyond the order
    expectRefused(patched("matrix.col1", 2), msg::MshMatrizInvalida); // above the diagonal
    expectRefused(patched("matrix.col4", -1), msg::MshMatrizInvalida);
    expectRefused(patched("q.col2", 7), msg::MshMatrizInvalida);

    Image image = sample();
    image.matrix.slotsAgain = 3;
    expectRefused(build(image).data, msg::MshMatrizInvalida);
    image = sample();
    image.matrix.orderAgain = 1;
    expectRefused(build(image).data, msg::MshMatrizInvalida);
}

TEST(MshIo, RefusesModelsWhosePartsDisagree)
{
    const auto refused = [](void (*change)(Image&), std::string_view message) {
        Image image = sample();
        change(image);
        expectRefused(build(image).data, message);
    };
    // Element nodes outside 1..node count.
    refused([](Image& m) { m.elements[1][2] = 5; }, msg::MshNoInexistente);
    refused([](Image& m) { m.elements[0][0] = 0; }, msg::MshNoInexistente);
    refused([](Image& m) { m.elements[0][1] = -7; }, msg::MshNoInexistente);
    // A right-hand side of another count than the order.
    refused([](Image& m) { m.rhs = { 1.0 }; }, msg::MshModeloIncoerente);
    // Fewer nodes than free nodes and slaves.
    refused(
        [](Image& m) {
            m.nodes.resize(2);
            m.imaginary.resize(2);
            m.elements = { { 1, 2, 2 } };
        },
        msg::MshModeloIncoerente);
    // More slaves than free nodes, or a negative count.
    refused([](Image& m) { m.slaveCount = 3; }, msg::MshModeloIncoerente);
    refused([](Image& m) { m.slaveCount = -1; }, msg::MshModeloIncoerente);
    refused([](Image& m) { m.symmetryKind = 3; }, msg::MshModeloIncoerente);
    refused([](Image& m) { m.calculationKind = 9; }, msg::MshModeloIncoerente);
    // The induced-current block must match the system.
    refused(
        [](Image& m) {
            m.conductivity = { 1, { 1 }, { 1 }, { 1.0 } };
        },
        msg::MshModeloIncoerente);
    refused([](Image& m) { m.rhs2 = { 1.0, 2.0, 3.0 }; }, msg::MshModeloIncoerente);
    refused([](Image& m) { m.imaginary.pop_back(); }, msg::MshModeloIncoerente);
    refused([](Image& m) { m.conductive = 2; }, msg::MshModeloIncoerente);
    // A curve with more B than H values.
    refused(
        [](Image& m) {
            m.regions[0].curveCountH = 2;
            m.regions[0].h.pop_back();
        },
        msg::GrpUnequalCurve);
}

TEST(MshIo, RefusesSlavesWhoseMasterIsNoFreeNode)
{
    const auto refused = [](void (*change)(Image&), std::string_view message) {
        Image image = sample();
        change(image);
        expectRefused(build(image).data, message);
    };
    // Rebuilt from the slave's value before a calculation.
    refused([](Image& m) { m.nodes[2][2] = 0.0; }, msg::MshNoInexistente);
    refused([](Image& m) { m.nodes[2][2] = 3.0; }, msg::MshNoInexistente);
    refused([](Image& m) { m.nodes[2][2] = 1e300; }, msg::MshNoInexistente);
    refused([](Image& m) { m.nodes[2][2] = std::nan(""); }, msg::MshNoInexistente);
    // Stored after one.
    refused(
        [](Image& m) {
            m.calculationKind = 1;
            m.slaveMasters = { 3 };
        },
        msg::MshNoInexistente);
    refused(
        [](Image& m) {
            m.calculationKind = 1;
            m.slaveMasters = { 0 };
        },
        msg::MshNoInexistente);
    refused(
        [](Image& m) {
            m.calculationKind = 1;
            m.slaveMasters = { 1, 2 };
        },
        msg::MshModeloIncoerente);
}

TEST(MshIo, FilesOpenAndSaveWhole)
{
    const std::string path = ::testing::TempDir() + "tarvex_msh_io_model.msh";
    SolverModel m;
    ASSERT_TRUE(solver::readMsh(build(sample()).data, m).ok);
    ASSERT_TRUE(solver::saveMsh(path, m).ok);
    SolverModel back;
    ASSERT_TRUE(solver::openMsh(path, back).ok);
    EXPECT_EQ(solver::writeMsh(back), build(sample()).data);
    std::remove(path.c_str());

    SolverModel untouched;
    untouched.version = "untouched";
    EXPECT_FALSE(solver::openMsh(path + ".missing", untouched).ok);
    EXPECT_EQ(untouched.version, "untouched");
    EXPECT_FALSE(solver::saveMsh("/nonexistent-folder/x.msh", m).ok);
}

} // namespace
