#pragma once

#include "common/front_list.h"
#include "problem/records.h"
#include "problem/region_locator.h"
#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::solver {

/// The version texts of .msh files; the document always writes the second.
inline constexpr std::string_view MshVersao00 = "versao 01.00.00";
inline constexpr std::string_view MshVersao01 = "versao 01.00.01";

/// A mesh node: position in drawing units and its value (see SolverModel::nodes). 24 bytes in
/// files.
struct MeshNode {
    double x = 0.0;
    double y = 0.0;
    double value = 0.0;
    bool operator==(const MeshNode&) const = default;
};

/// A first-order triangle by its three node numbers (1-based). 12 bytes in files.
struct MeshElement {
    std::int32_t t1 = 0;
    std::int32_t t2 = 0;
    std::int32_t t3 = 0;
    bool operator==(const MeshElement&) const = default;
};

/// One piece of a contour line (equipotential or induced-current line), model coordinates.
struct ContourSegment {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    bool operator==(const ContourSegment&) const = default;
};

/// Which run the node values come from; the values are the ones .msh files store.
enum class CalculationKind : std::int32_t {
    NotCalculated = 0,
    Linear = 1,
    Nonlinear = 2,
    InducedCurrents = 3,
};

/// A region conducts above this conductivity (S/m); below it the induced currents ignore it.
inline constexpr double ConductivityFloor = 1e-30;

/// A node's 1-based number: its position in SolverModel::nodes, as elements and files hold it.
using NodeIndex = std::int32_t;
/// An element's 0-based position in SolverModel::elements (list order) and elementRegion.
using ElementIndex = std::size_t;
/// A region's 1-based position in SolverModel::regions; 0 is "no region". Regions carry their
/// materials, so it also names the material of an element.
using RegionIndex = std::int32_t;

/**
 * Everything the solver and the result evaluations need, numbered for the solver. The members
 * down to `slaveMasters` are the .msh file's, in file order.
 *
 * Node numbering: 1..interiorCount() interior free nodes, then the masters up to freeCount()
 * (n_m), then the slaves up to freeCount() + slaveCount, then the imposed nodes. Before the first
 * calculation a node's value is 0 (interior), its own number (master), its master's number
 * (slave) or its imposed potential; after a calculation it is the node's potential.
 */
struct SolverModel {
    std::string version = std::string(MshVersao01);
    std::uint8_t magnetic = 1; ///< 1 magnetic (vector potential), 0 electric (scalar potential)
    double scaleFactor = 1000.0; ///< drawing units per metre
    std::array<double, 4> window {}; ///< the problem's `janela`
    common::FrontList<problem::Regiao> regions; ///< region 1 (list position 1) is the outer contour
    common::FrontList<problem::SegmentoContorno> potentialSegments;
    common::FrontList<problem::PotencialPonto> potentialPoints;
    common::FrontList<MeshElement> elements;
    std::vector<MeshNode> nodes { MeshNode {} }; ///< one-based: item 0 is unused
    linalg::RealVector rhs;
    linalg::SparseSymMatrix matrix;
    std::uint8_t conductive = 0;
    // Induced-current block, meaningful when `conductive` is 1.
    linalg::SparseSymMatrix conductivityMatrix;
    linalg::RealVector conductivityRhs;
    std::vector<MeshNode> imaginaryNodes { MeshNode {} }; ///< one-based, parallel to `nodes`
    double frequency = 0.0; ///< Hz
    problem::SymmetryKind symmetryKind = problem::SymmetryKind::None;
    std::int32_t slaveCount = 0; ///< g
    CalculationKind calculationKind = CalculationKind::NotCalculated;
    double storedError = 1e200;
    std::vector<NodeIndex> slaveMasters { 0 }; ///< one-based, count slaveCount

    // Not stored.
    std::int32_t freeNodes = 0; ///< n_m: interior nodes and masters (the order of the system)
    std::vector<RegionIndex> elementRegion; ///< per element in list order; empty until assembled
    std::vector<problem::PoligonoRegiao> regionPolygons; ///< parallel to `regions`, list order
    problem::RegionLocator regionLocator; ///< over `regionPolygons`
    bool hasNonlinearRegion = false;
    common::FrontList<ContourSegment> equipotentialSegments;
    bool equipotentialsTraced = false;
    common::FrontList<ContourSegment> inducedCurrentSegments;
    bool inducedLinesTraced = false;
    /// Point-location index of the evaluations, built on first use (evaluation/point_location.h).
    mutable std::shared_ptr<const void> evaluationIndex;

    std::int32_t nodeCount() const { return static_cast<std::int32_t>(nodes.size()) - 1; }
    std::int32_t freeCount() const { return freeNodes; }
    std::int32_t interiorCount() const { return freeNodes - slaveCount; }
    /// n_m + g: nodes above it are imposed.
    std::int32_t unknownCount() const { return freeNodes + slaveCount; }

    /// Rebuilds the region polygons and their index from the regions' contours, and the
    /// non-linear flag (after a load or an export).
    void derivarRegioes();

    /**
     * `findRegionAt`: 1-based number of the first region from region 2 on whose polygon contains
     * the point; 0 when none.
     */
    RegionIndex findRegionAt(double x, double y) const;

    /// Region by 1-based number; null when out of range.
    const problem::Regiao* region(RegionIndex number) const;

    MeshNode& node(NodeIndex number) { return nodes[static_cast<std::size_t>(number)]; }
    const MeshNode& node(NodeIndex number) const { return nodes[static_cast<std::size_t>(number)]; }
};

} // namespace tarvex::solver
