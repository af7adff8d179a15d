#include "solver/linalg/real_vector.h"

#include <cmath>

namespace tarvex::linalg {

void RealVector::fill(double value)
{
    for (std::size_t i = 1; i < m_data.size(); ++i)
        m_data[i] = value;
}

double RealVector::dot(const RealVector& other) const
{
    if (other.count() != count())
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = 1; i < m_data.size(); ++i)
        sum += m_data[i] * other.m_data[i];
    return sum;
}

double RealVector::norm() const
{
    return std::sqrt(dot(*this));
}

namespace {
template <typename Op> RealVector combine(const RealVector& a, const RealVector& b, Op op)
{
    if (a.count() != b.count())
        return RealVector();
    RealVector result(a.count());
    for (std::size_t i = 1; i <= a.count(); ++i)
        result[i] = op(a[i], b[i]);
    return result;
}
} // namespace

RealVector operator-(const RealVector& v)
{
    RealVector result(v.count());
    for (std::size_t i = 1; i <= v.count(); ++i)
        result[i] = -v[i];
    return result;
}

RealVector operator+(const RealVector& a, const RealVector& b)
{
    return combine(a, b, [](double x, double y) { return x + y; });
}

RealVector operator-(const RealVector& a, const RealVector& b)
{
    return combine(a, b, [](double x, double y) { return x - y; });
}

RealVector operator*(double factor, const RealVector& v)
{
    RealVector result(v.count());
    for (std::size_t i = 1; i <= v.count(); ++i)
        result[i] = factor * v[i];
    return result;
}

RealVector elementProduct(const RealVector& a, const RealVector& b)
{
    return combine(a, b, [](double x, double y) { return x * y; });
}

} // namespace tarvex::linalg
