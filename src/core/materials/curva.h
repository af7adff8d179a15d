#pragma once

#include <cstddef>
#include <vector>

namespace tarvex::materials {

/**
 * A curve of points (x_i, y_i) numbered from 1, with a natural cubic spline through them. Used for
 * magnetisation (B-H) and polarisation (E-D) curves and for plotted curves.
 *
 * The arrays are one-based: slot 0 holds no value. Nothing sorts the points; the abscissae must
 * be ascending for the curve to mean anything.
 */
class Curva {
public:
    virtual ~Curva() = default;

    std::size_t count() const { return m_x.empty() ? 0 : m_x.size() - 1; }
    /// Replaces the points (given zero-based) and clears the coefficients.
    void definePontos(const std::vector<double>& xs, const std::vector<double>& ys);
    /// Appends one point.
    void adicionaPonto(double xValue, double yValue);
    void limpa();

    /// One-based access, 1..count().
    double x(std::size_t i) const { return m_x[i]; }
    double y(std::size_t i) const { return m_y[i]; }
    double& x(std::size_t i) { return m_x[i]; }
    double& y(std::size_t i) { return m_y[i]; }

    void calculaSpline();
    double valor(double v) const;
    double derivada(double v) const;
    /// Area under the polyline of the points (trapezoidal rule on the points).
    double integral() const;
    /// Exchanges abscissae and ordinates (B(H) into H(B)); the spline must be computed again.
    void trocaEixos();

    bool splineCalculado() const { return m_b.size() + 1 == m_x.size() && count() >= 2; }

private:
    std::vector<double> m_x { 0.0 };
    std::vector<double> m_y { 0.0 };
    std::vector<double> m_a;
    std::vector<double> m_b;
    std::vector<double> m_c;
    std::vector<double> m_d;
};

} // namespace tarvex::materials
