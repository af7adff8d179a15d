// Independent reference for the saturating C-core test: a node-based finite-volume solution of
// -div(nu grad A) = J on a fine regular grid of square cells, with the reluctivity of each cell
// taken from its flux density by damped fixed-point (Picard) iteration. It shares nothing with
// the program's solver: its own grid, stencil, spline and linear solver.
//
// Geometry (mm), A = 0 on the border of the box [0, 160]²:
//   core: the square ring [40, 120]² minus the window [60, 100]², cut by the air gap
//         x in [100, 120], y in [78, 82];
//   coil: J = +J0 in [62, 78] x [62, 98] (inside the window), -J0 in [22, 38] x [62, 98].
// Flux per metre through the top yoke: A(80, 120) - A(80, 100).
//
// Usage: ccore_fd CURVE.mat CELL_MM J0_A_PER_MM2

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const double Pi = 4.0 * std::atan(1.0);
const double Mu0 = 4.0 * Pi * 1e-7;

/// Natural cubic spline H(B), straight beyond its ends.
struct CurveHB {
    std::vector<double> b, h, m; // second derivatives m

    bool read(const std::string& path)
    {
        std::ifstream in(path);
        int n = 0, unused = 0;
        if (!(in >> n >> unused) || n < 3)
            return false;
        b.resize(static_cast<std::size_t>(n));
        h.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            if (!(in >> h[static_cast<std::size_t>(i)] >> b[static_cast<std::size_t>(i)]))
                return false;
        // Tridiagonal system of the natural spline, solved by elimination.
        const std::size_t k = b.size();
        m.assign(k, 0.0);
        std::vector<double> c(k, 0.0), d(k, 0.0);
        for (std::size_t i = 1; i + 1 < k; ++i) {
            const double h0 = b[i] - b[i - 1], h1 = b[i + 1] - b[i];
            const double rhs = 6.0 * ((h[i + 1] - h[i]) / h1 - (h[i] - h[i - 1]) / h0);
            const double den = 2.0 * (h0 + h1) - h0 * c[i - 1];
            c[i] = h1 / den;
            d[i] = (rhs - h0 * d[i - 1]) / den;
        }
        for (std::size_t i = k - 2; i >= 1; --i)
            m[i] = d[i] - c[i] * m[i + 1];
        return true;
    }

    double field(double x) const
    {
        const std::size_t k = b.size();
        if (x >= b[k - 1])
            return h[k - 2] + (h[k - 1] - h[k - 2]) * (x - b[k - 2]) / (b[k - 1] - b[k - 2]);
        std::size_t i = 0;
        while (i + 2 < k && x > b[i + 1])
            ++i;
        const double w = b[i + 1] - b[i];
        const double p = (b[i + 1] - x) / w, q = (x - b[i]) / w;
        return p * h[i] + q * h[i + 1]
            + ((p * p * p - p) * m[i] + (q * q * q - q) * m[i + 1]) * w * w / 6.0;
    }

    double reluctivity(double x) const
    {
        const double floor = 1e-4; // below this H(B)/B is its limit, the initial slope
        return x > floor ? field(x) / x : field(floor) / floor;
    }
};

bool inRect(double x, double y, double x1, double y1, double x2, double y2)
{
    return x > x1 && x < x2 && y > y1 && y < y2;
}

bool inCore(double x, double y)
{
    return inRect(x, y, 40, 40, 120, 120) && !inRect(x, y, 60, 60, 100, 100)
        && !inRect(x, y, 100, 78, 120, 82);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CURVE.mat CELL_MM J0_A_PER_MM2\n", argv[0]);
        return 2;
    }
    CurveHB curve;
    if (!curve.read(argv[1])) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const double cellMm = std::stod(argv[2]);
    const double j0 = std::stod(argv[3]) * 1e6; // A/m²
    const int n = static_cast<int>(std::lround(160.0 / cellMm)); // cells per side
    const double h = cellMm * 1e-3;
    const int side = n + 1;
    auto at = [side](int i, int j) { return static_cast<std::size_t>(j) * side + i; };

    // Cell data: material and source.
    std::vector<char> iron(static_cast<std::size_t>(n) * n);
    std::vector<double> source(static_cast<std::size_t>(n) * n, 0.0);
    std::vector<double> nu(static_cast<std::size_t>(n) * n, 1.0 / Mu0);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const double x = (i + 0.5) * cellMm, y = (j + 0.5) * cellMm;
            const std::size_t c = static_cast<std::size_t>(j) * n + i;
            iron[c] = inCore(x, y);
            if (inRect(x, y, 62, 62, 78, 98))
                source[c] = j0;
            else if (inRect(x, y, 22, 62, 38, 98))
                source[c] = -j0;
            if (iron[c])
                nu[c] = curve.reluctivity(1.0);
        }
    auto cellNu = [&](int i, int j) {
        if (i < 0 || j < 0 || i >= n || j >= n)
            return 0.0;
        return nu[static_cast<std::size_t>(j) * n + i];
    };
    auto cellJ = [&](int i, int j) {
        if (i < 0 || j < 0 || i >= n || j >= n)
            return 0.0;
        return source[static_cast<std::size_t>(j) * n + i];
    };

    const std::size_t total = static_cast<std::size_t>(side) * side;
    std::vector<double> a(total, 0.0), rhs(total, 0.0), east(total, 0.0), north(total, 0.0),
        diag(total, 1.0), r(total), z(total), p(total), q(total);
    for (int j = 1; j < n; ++j)
        for (int i = 1; i < n; ++i)
            rhs[at(i, j)] = h * h / 4.0
                * (cellJ(i - 1, j - 1) + cellJ(i, j - 1) + cellJ(i - 1, j) + cellJ(i, j));

    auto apply = [&](const std::vector<double>& x, std::vector<double>& y) {
        for (int j = 1; j < n; ++j)
            for (int i = 1; i < n; ++i) {
                const std::size_t s = at(i, j);
                y[s] = diag[s] * x[s] - east[s] * x[s + 1] - east[s - 1] * x[s - 1]
                    - north[s] * x[s + side] - north[s - side] * x[s - side];
            }
    };
    auto dotInterior = [&](const std::vector<double>& x, const std::vector<double>& y) {
        double sum = 0.0;
        for (int j = 1; j < n; ++j)
            for (int i = 1; i < n; ++i)
                sum += x[at(i, j)] * y[at(i, j)];
        return sum;
    };

    double flux = 0.0, previousFlux = 1e300;
    const int ix = static_cast<int>(std::lround(80.0 / cellMm));
    const int jTop = static_cast<int>(std::lround(120.0 / cellMm));
    const int jIn = static_cast<int>(std::lround(100.0 / cellMm));
    double relax = 0.5;
    double previousChange = 1e300;
    for (int picard = 1; picard <= 2000; ++picard) {
        // Five-point coefficients: each face of a node's dual cell lies half in each of the two
        // cells beside the grid edge.
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i) {
                const std::size_t s = at(i, j);
                east[s] = 0.5 * (cellNu(i, j - 1) + cellNu(i, j));
                north[s] = 0.5 * (cellNu(i - 1, j) + cellNu(i, j));
            }
        for (int j = 1; j < n; ++j)
            for (int i = 1; i < n; ++i) {
                const std::size_t s = at(i, j);
                diag[s] = east[s] + east[s - 1] + north[s] + north[s - side];
            }
        // Jacobi-preconditioned conjugate gradients from the last iterate.
        apply(a, q);
        for (int j = 1; j < n; ++j)
            for (int i = 1; i < n; ++i) {
                const std::size_t s = at(i, j);
                r[s] = rhs[s] - q[s];
                z[s] = r[s] / diag[s];
                p[s] = z[s];
            }
        const double normRhs = std::sqrt(dotInterior(rhs, rhs));
        double rz = dotInterior(r, z);
        int it = 0;
        for (; it < 200000 && std::sqrt(dotInterior(r, r)) > 1e-11 * normRhs; ++it) {
            apply(p, q);
            const double alpha = rz / dotInterior(p, q);
            for (int j = 1; j < n; ++j)
                for (int i = 1; i < n; ++i) {
                    const std::size_t s = at(i, j);
                    a[s] += alpha * p[s];
                    r[s] -= alpha * q[s];
                    z[s] = r[s] / diag[s];
                }
            const double rzNew = dotInterior(r, z);
            const double beta = rzNew / rz;
            rz = rzNew;
            for (int j = 1; j < n; ++j)
                for (int i = 1; i < n; ++i) {
                    const std::size_t s = at(i, j);
                    p[s] = z[s] + beta * p[s];
                }
        }
        // New reluctivities from the cells' flux density, damped.
        double largestChange = 0.0, largestB = 0.0;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const std::size_t c = static_cast<std::size_t>(j) * n + i;
                if (!iron[c])
                    continue;
                const double bx
                    = (a[at(i, j + 1)] + a[at(i + 1, j + 1)] - a[at(i, j)] - a[at(i + 1, j)])
                    / (2 * h);
                const double by
                    = -(a[at(i + 1, j)] + a[at(i + 1, j + 1)] - a[at(i, j)] - a[at(i, j + 1)])
                    / (2 * h);
                const double b = std::sqrt(bx * bx + by * by);
                largestB = std::max(largestB, b);
                const double target = curve.reluctivity(b);
                largestChange = std::max(largestChange, std::fabs(target - nu[c]) / nu[c]);
                // Geometric damping: the reluctivity spans three decades between the knee and
                // saturation, where an arithmetic mean overshoots and oscillates.
                nu[c] *= std::pow(target / nu[c], relax);
            }
        if (largestChange > previousChange)
            relax = std::max(0.05, relax * 0.7);
        previousChange = largestChange;
        flux = a[at(ix, jTop)] - a[at(ix, jIn)];
        std::fprintf(stderr, "picard %3d  cg %6d  flux %.9e  dnu %.3e  Bmax %.3f\n", picard, it,
            flux, largestChange, largestB);
        if (largestChange < 1e-5 && std::fabs(flux - previousFlux) < 1e-9 * std::fabs(flux))
            break;
        previousFlux = flux;
    }
    const int im = static_cast<int>(std::lround(50.0 / cellMm));
    std::printf("cell_mm %g J0_A_per_mm2 %g flux_top_yoke_Wb_per_m %.9e A_80_120 %.9e "
                "A_80_100 %.9e A_50_80 %.9e\n",
        cellMm, j0 * 1e-6, flux, a[at(ix, jTop)], a[at(ix, jIn)],
        a[at(im, static_cast<int>(std::lround(80.0 / cellMm)))]);
    return 0;
}
