#include "materials/curva.h"

#include <utility>

namespace tarvex::materials {

void Curva::definePontos(const std::vector<double>& xs, const std::vector<double>& ys)
{
    const std::size_t n = xs.size() < ys.size() ? xs.size() : ys.size();
    m_x.assign(1, 0.0);
    m_y.assign(1, 0.0);
    m_x.insert(m_x.end(), xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(n));
    m_y.insert(m_y.end(), ys.begin(), ys.begin() + static_cast<std::ptrdiff_t>(n));
    m_a.clear();
    m_b.clear();
    m_c.clear();
    m_d.clear();
}

void Curva::adicionaPonto(double xValue, double yValue)
{
    m_x.push_back(xValue);
    m_y.push_back(yValue);
}

void Curva::limpa()
{
    definePontos({}, {});
}

void Curva::calculaSpline()
{
    const std::size_t n = count();
    m_a.assign(n + 1, 0.0);
    m_b.assign(n > 0 ? n : 1, 0.0);
    m_c.assign(n + 1, 0.0);
    m_d.assign(n > 0 ? n : 1, 0.0);
    if (n < 2) {
        // No interval: a single point is a constant.
        if (n == 1)
            m_a[1] = m_y[1];
        m_b.assign(n, 0.0);
        m_d.assign(n, 0.0);
        return;
    }
    for (std::size_t i = 1; i <= n; ++i)
        m_a[i] = m_y[i];
    std::vector<double> h(n, 0.0);
    for (std::size_t i = 1; i < n; ++i)
        h[i] = m_x[i + 1] - m_x[i];

    if (n >= 3) {
        // Interior second-derivative terms c_2..c_(n-1): a symmetric tridiagonal system, solved
        // exactly by elimination (diagonally dominant for ascending abscissae).
        const std::size_t m = n - 2;
        std::vector<double> diag(m), upper(m), rhs(m);
        for (std::size_t k = 0; k < m; ++k) {
            const std::size_t i = k + 2;
            diag[k] = 2.0 * (h[i - 1] + h[i]);
            upper[k] = h[i];
            rhs[k] = 3.0 * (m_a[i + 1] - m_a[i]) / h[i] - 3.0 * (m_a[i] - m_a[i - 1]) / h[i - 1];
        }
        for (std::size_t k = 1; k < m; ++k) {
            const double factor = upper[k - 1] / diag[k - 1];
            diag[k] -= factor * upper[k - 1];
            rhs[k] -= factor * rhs[k - 1];
        }
        m_c[m + 1] = rhs[m - 1] / diag[m - 1];
        for (std::size_t k = m - 1; k-- > 0;)
            m_c[k + 2] = (rhs[k] - upper[k] * m_c[k + 3]) / diag[k];
    }
    for (std::size_t i = 1; i < n; ++i) {
        m_b[i] = (m_a[i + 1] - m_a[i]) / h[i] - h[i] * (m_c[i + 1] + 2.0 * m_c[i]) / 3.0;
        m_d[i] = (m_c[i + 1] - m_c[i]) / (3.0 * h[i]);
    }
}

double Curva::valor(double v) const
{
    const std::size_t n = count();
    if (n == 0)
        return 0.0;
    if (n == 1)
        return m_y[1];
    if (v > m_x[n])
        return m_y[n - 1] + (m_y[n] - m_y[n - 1]) * (v - m_x[n - 1]) / (m_x[n] - m_x[n - 1]);
    if (v < m_x[1])
        return m_y[2] - (m_y[2] - m_y[1]) * (m_x[2] - v) / (m_x[2] - m_x[1]);
    if (!splineCalculado())
        return 0.0;
    for (std::size_t i = 1; i < n; ++i) {
        if (m_x[i] <= v && v <= m_x[i + 1]) {
            const double t = v - m_x[i];
            return ((m_d[i] * t + m_c[i]) * t + m_b[i]) * t + m_a[i];
        }
    }
    return 0.0;
}

double Curva::derivada(double v) const
{
    const std::size_t n = count();
    if (n < 2 || !splineCalculado())
        return 0.0;
    if (v > m_x[n]) {
        const double h = m_x[n] - m_x[n - 1];
        return 3.0 * m_d[n - 1] * h * h + 2.0 * m_c[n - 1] * h + m_b[n - 1];
    }
    if (v < m_x[1])
        return m_b[1];
    for (std::size_t i = 1; i < n; ++i) {
        if (m_x[i] <= v && v <= m_x[i + 1]) {
            const double t = v - m_x[i];
            return (3.0 * m_d[i] * t + 2.0 * m_c[i]) * t + m_b[i];
        }
    }
    return 0.0;
}

double Curva::integral() const
{
    double area = 0.0;
    for (std::size_t i = 1; i < count(); ++i)
        area += (m_x[i + 1] - m_x[i]) * (m_y[i] + m_y[i + 1]) / 2.0;
    return area;
}

void Curva::trocaEixos()
{
    std::swap(m_x, m_y);
    m_a.clear();
    m_b.clear();
    m_c.clear();
    m_d.clear();
}

} // namespace tarvex::materials
