#pragma once

#include "common/front_list.h"
#include "geometry/records.h"
#include "materials/curva.h"

#include <array>
#include <cstdint>
#include <string>

namespace tarvex::problem {

using geometry::Ponto;

/// The field a problem solves; the values are the byte .dat files store.
enum class AnalysisType : std::uint8_t { Electric = 0, Magnetic = 1 };

/// How the symmetry lines pair their nodes; the values are the ones .dat and .msh files store.
enum class SymmetryKind : std::int32_t {
    None = 0,
    Symmetry = 1, ///< a slave takes its master's potential
    AntiSymmetry = 2, ///< a slave takes its master's potential negated
};

/**
 * A contour element: a straight segment or a counterclockwise arc in the three-point form of the
 * drawing, with the potential imposed on it (boundary-condition lists only). 64 bytes in files.
 */
struct SegmentoContorno {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    double xc = 0.0; ///< arc centre (0 for a straight segment)
    double yc = 0.0;
    std::uint8_t ehArco = 0; ///< 0 straight, non-zero arc
    std::uint8_t sentido = 1; ///< 1: counterclockwise from the first to the second end point
    double potencial = 0.0;

    Ponto p1() const { return { x1, y1 }; }
    Ponto p2() const { return { x2, y2 }; }
    Ponto centro() const { return { xc, yc }; }
    void defineP1(const Ponto& p)
    {
        x1 = p.x;
        y1 = p.y;
    }
    void defineP2(const Ponto& p)
    {
        x2 = p.x;
        y2 = p.y;
    }

    static SegmentoContorno reta(const Ponto& a, const Ponto& b);
    static SegmentoContorno arco(const Ponto& a, const Ponto& b, const Ponto& c);
};

/// Same kind and the same geometry: straight elements in either orientation; arcs with the same
/// centre and end points in the same order when their `sentido` agree, swapped when they differ.
bool iguais(const SegmentoContorno& a, const SegmentoContorno& b);

/// Length of a straight element, or the arc length of an arc.
double comprimentoElemento(const SegmentoContorno& s);

inline constexpr int SegmentoContornoBytes = 64;

/// A point with an imposed potential. 24 bytes in files.
struct PotencialPonto {
    double x = 0.0;
    double y = 0.0;
    double potencial = 0.0;
    bool operator==(const PotencialPonto&) const = default;
};

/// A mesh triangle by its three vertices. 48 bytes in files.
struct Triangulo {
    double x1 = 0.0, y1 = 0.0;
    double x2 = 0.0, y2 = 0.0;
    double x3 = 0.0, y3 = 0.0;
    bool operator==(const Triangulo&) const = default;
};

inline constexpr std::size_t ArquivoMaterialBytes = 1000;
inline constexpr std::size_t ReservadoSBytes = 500;

/// A closed region of the domain (or a special area) with its material and source data. The
/// reserved fields have no meaning but are kept, copied and written.
struct Regiao {
    common::FrontList<SegmentoContorno> segmentos; ///< the contour
    double permRelativa = 1.0;
    double permissividadeRelativa = 1.0;
    double densCorrente = 0.0; ///< A/mm²
    double densCargas = 0.0;
    double brX = 0.0;
    double brY = 0.0;
    double brT = 0.0;
    double brR = 0.0;
    double condutividade = 0.0;
    double reservado1 = 0.0;
    double reservado2 = 0.0;
    std::uint8_t linear = 1;
    /// Full path of the materials file, in UTF-8 (Windows-1252 and NUL-terminated in files).
    std::string arquivoMaterial;
    materials::Curva curva1; ///< filled from the materials file when needed; never stored
    materials::Curva curva2;
    std::array<double, 4> reservadoD {};
    std::uint8_t reservadoB1 = 0;
    std::uint8_t reservadoB2 = 0;
    /// The reserved texts are kept byte for byte, all 500 of each.
    std::string reservadoS1 = std::string(ReservadoSBytes, '\0');
    std::string reservadoS2 = std::string(ReservadoSBytes, '\0');
    std::int32_t reservadoI1 = 0;
    std::int32_t reservadoI2 = 0;
};

/// Fixed part of a region record in files (without its contour count and segments).
inline constexpr int RegiaoFixedBytes = 2131;

} // namespace tarvex::problem
