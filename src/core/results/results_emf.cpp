#include "results/results_emf.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/helpers.h"
#include "results/auxiliary_lines.h"
#include "results/emf_writer.h"
#include "solver/equipotentials.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace tarvex::results {

namespace {

/// Far beyond any picture, yet leaves readers room to scale without overflowing 32 bits.
constexpr double CoordinateLimit = 1.0e9;
/// Largest angle of one chord of an arc contour (2 degrees).
constexpr double ArcStep = 3.14159265358979323846 / 90.0;

std::int32_t emfCoordinate(double v, double divisor)
{
    const double scaled = v / divisor;
    if (std::isnan(scaled))
        return 0;
    return static_cast<std::int32_t>(
        std::lround(std::clamp(scaled, -CoordinateLimit, CoordinateLimit)));
}

class EmfPicture {
public:
    EmfPicture(EmfWriter& writer, double divisor)
        : m_writer(writer)
        , m_divisor(divisor)
    {
    }

    std::int32_t coord(double v) const { return emfCoordinate(v, m_divisor); }

    void line(double x1, double y1, double x2, double y2)
    {
        m_writer.line(coord(x1), coord(y1), coord(x2), coord(y2));
    }

    void element(const problem::SegmentoContorno& e)
    {
        if (e.ehArco == 0) {
            line(e.x1, e.y1, e.x2, e.y2);
            return;
        }
        // An arc runs counterclockwise from its first end point, or from its second when its
        // `sentido` is 0; its ends at the same angle make the whole circle.
        const geometry::Arco arco = e.sentido != 0 ? geometry::Arco { e.p1(), e.p2(), e.centro() }
                                                   : geometry::Arco { e.p2(), e.p1(), e.centro() };
        const geometry::ExtensaoArco ext = geometry::extensaoArco(arco);
        double sweep = ext.fim - ext.inicio;
        if (!(sweep > 0.0))
            sweep = 2.0 * 3.14159265358979323846;
        const int pieces = std::clamp(static_cast<int>(std::ceil(sweep / ArcStep)), 1, 180);
        double px = arco.PC.x + ext.raio * std::cos(ext.inicio);
        double py = arco.PC.y + ext.raio * std::sin(ext.inicio);
        for (int k = 1; k <= pieces; ++k) {
            const double a = ext.inicio + sweep * k / pieces;
            const double qx = arco.PC.x + ext.raio * std::cos(a);
            const double qy = arco.PC.y + ext.raio * std::sin(a);
            line(px, py, qx, qy);
            px = qx;
            py = qy;
        }
    }

private:
    EmfWriter& m_writer;
    double m_divisor;
};

bool validNode(const solver::SolverModel& model, std::int32_t k)
{
    return k >= 1 && k <= model.nodeCount();
}

} // namespace

double emfDivisor(double scaleFactor, double largerSide)
{
    if (!(scaleFactor > 0.0) || !std::isfinite(scaleFactor) || !(largerSide > 0.0)
        || !std::isfinite(largerSide))
        return 0.0;
    double divisor = scaleFactor;
    // Each step multiplies the quotient by 10, so the loop ends; a divisor that would leave the
    // normal doubles means a window too small to show.
    while (largerSide / divisor < 10000.0) {
        divisor /= 10.0;
        if (divisor < std::numeric_limits<double>::min())
            return 0.0;
    }
    return divisor;
}

Status resultsEmf(solver::SolverModel& model, const EmfExport& options, std::string& out)
{
    const geometry::Caixa& w = options.window;
    const double side = std::max(w.xMax - w.xMin, w.yMax - w.yMin);
    const double divisor = emfDivisor(model.scaleFactor, side);
    if (divisor == 0.0 || !std::isfinite(w.xMin) || !std::isfinite(w.yMin) || !std::isfinite(w.xMax)
        || !std::isfinite(w.yMax))
        return Status::failure(msg::EmfJanelaInvalida);

    const EmfRect frame { emfCoordinate(w.xMin, divisor), -emfCoordinate(w.yMax, divisor),
        emfCoordinate(w.xMax, divisor), -emfCoordinate(w.yMin, divisor) };
    EmfWriter writer(frame);
    EmfPicture draw(writer, divisor);
    writer.setMapMode(EmfWriter::MapModeHiMetric);

    std::uint32_t linePen = 0;
    if ((options.displayMode == 3 && model.equipotentialsTraced) || options.displayMode == 1) {
        linePen = writer.createPen(EmfLinePen, 0);
        writer.selectObject(linePen);
    }
    if (options.displayMode == 3 && model.equipotentialsTraced) {
        solver::traceEquipotentials(model, options.equipotentialCount);
        for (const solver::ContourSegment& s : model.equipotentialSegments.inStorageOrder())
            draw.line(s.x1, s.y1, s.x2, s.y2);
    } else if (options.displayMode == 1) {
        for (const solver::MeshElement& e : model.elements.inStorageOrder()) {
            if (!validNode(model, e.t1) || !validNode(model, e.t2) || !validNode(model, e.t3))
                continue;
            const solver::MeshNode& a = model.nodes[static_cast<std::size_t>(e.t1)];
            const solver::MeshNode& b = model.nodes[static_cast<std::size_t>(e.t2)];
            const solver::MeshNode& c = model.nodes[static_cast<std::size_t>(e.t3)];
            draw.line(a.x, a.y, b.x, b.y);
            draw.line(b.x, b.y, c.x, c.y);
            draw.line(c.x, c.y, a.x, a.y);
        }
    }
    const std::uint32_t contourPen = writer.createPen(EmfContourPen, 0);
    writer.selectObject(contourPen);
    // Only a pen no longer selected may be deleted.
    if (linePen != 0)
        writer.deleteObject(linePen);
    for (const problem::Regiao& regiao : model.regions.inListOrder())
        for (const problem::SegmentoContorno& e : regiao.segmentos.inListOrder())
            if (!options.hidden || !contemLinha(*options.hidden, e))
                draw.element(e);
    out = writer.finish();
    return Status::success();
}

Status writeResultsEmf(
    const std::string& path, solver::SolverModel& model, const EmfExport& options)
{
    std::string bytes;
    if (Status s = resultsEmf(model, options, bytes); !s)
        return s;
    return common::writeFileAtomically(path, bytes);
}

std::string emfFileName(const std::string& chosen)
{
    std::string ext = common::extensionOf(chosen);
    std::transform(ext.begin(), ext.end(), ext.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "emf")
        return chosen;
    return common::replaceExtension(chosen, ".emf");
}

} // namespace tarvex::results
