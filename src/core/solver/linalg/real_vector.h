#pragma once

#include <cstddef>
#include <vector>

namespace tarvex::linalg {

/**
 * Vector of doubles numbered from 1 to count(). The storage holds count() + 1 doubles and slot 0
 * holds no value, so indices read as the node and row numbers they stand for. Operations over two
 * vectors of different counts give an empty vector (or 0 for the dot product) instead of reading
 * out of range.
 */
class RealVector {
public:
    RealVector() = default;
    /// count() zeros.
    explicit RealVector(std::size_t count)
        : m_data(count + 1, 0.0)
    {
    }

    std::size_t count() const { return m_data.size() - 1; }
    bool empty() const { return count() == 0; }

    /// One-based access, 1..count().
    double operator[](std::size_t i) const { return m_data[i]; }
    double& operator[](std::size_t i) { return m_data[i]; }

    /// Storage including slot 0, for loops that must not bounds-check per entry.
    const double* data() const { return m_data.data(); }
    double* data() { return m_data.data(); }

    /// New count, all entries 0.
    void assignZero(std::size_t count) { m_data.assign(count + 1, 0.0); }
    void fill(double value);

    double dot(const RealVector& other) const;
    double norm() const;

private:
    std::vector<double> m_data { 0.0 };
};

RealVector operator-(const RealVector& v);
RealVector operator+(const RealVector& a, const RealVector& b);
RealVector operator-(const RealVector& a, const RealVector& b);
RealVector operator*(double factor, const RealVector& v);
/// Entry by entry product.
RealVector elementProduct(const RealVector& a, const RealVector& b);

} // namespace tarvex::linalg
