#pragma once

namespace tarvex::geometry {

/// A point in drawing units. Entities carry no identifiers: they are found again by comparing
/// coordinates with coincide().
struct Ponto {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const Ponto&) const = default;
};

/// A straight segment from P1 to P2.
struct Segmento {
    Ponto P1;
    Ponto P2;
    bool operator==(const Segmento&) const = default;
};

/// A circular arc running counterclockwise from P1 to P2 about PC. A full circle is never one arc.
struct Arco {
    Ponto P1;
    Ponto P2;
    Ponto PC;
    bool operator==(const Arco&) const = default;
};

/// Sizes of the records in the binary files.
inline constexpr int PontoBytes = 16;
inline constexpr int SegmentoBytes = 32;
inline constexpr int ArcoBytes = 48;

} // namespace tarvex::geometry
