#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tarvex::graphs {

struct GraphData;

/// The symmetry the samples are taken with (the dialog's mode number).
enum class HarmonicMode {
    PeriodoInteiro = 0, ///< a full period; sine and cosine
    Par = 1, ///< f(x) = f(-x), half a period; cosine only
    Impar = 2, ///< f(x) = -f(-x), half a period; sine only
    MeiaOnda = 3, ///< f(x) = -f(x+T/2), half a period; odd orders, sine and cosine
    ImparMeiaOnda = 4, ///< odd and half-wave, a quarter period; odd orders, sine only
    ParMeiaOnda = 5, ///< even and half-wave, a quarter period; odd orders, cosine only
};

inline constexpr std::size_t HarmonicOrders = 15;
/// Curves 1 to 3 are analysed.
inline constexpr std::size_t HarmonicCurves = 3;

/// The mode of a number 0 to 5; false for any other number.
bool harmonicModeFromNumber(int number, HarmonicMode& mode);
/// The menu text of a mode, e.g. "Período &Inteiro".
std::string_view harmonicMenuText(HarmonicMode mode);

using HarmonicTerms = std::array<double, HarmonicOrders>;

struct HarmonicResult {
    std::array<int, HarmonicOrders> orders {};
    /// Terms per curve (0 is curve 1); the kind a mode does not compute is all zeros.
    std::array<HarmonicTerms, HarmonicCurves> sine {};
    std::array<HarmonicTerms, HarmonicCurves> cosine {};
};

/**
 * Sine and cosine terms of the first fifteen orders the mode allows, for curves 1 to 3 (a graph
 * with fewer curves repeats its last one). The span L of curve 1's abscissae is one period, half
 * a period or a quarter of a period by the mode. Samples are taken in pairs (1,2), (3,4), ...:
 * the pair's width times the first sample's value, at the pair's midpoint measured from x = 0.
 * A graph with no curve or with no span gives zero terms.
 */
HarmonicResult computeHarmonics(const GraphData& data, HarmonicMode mode);

/// The results normalised to the largest term of each array, in percent, with the texts of the
/// dialog's six fields: sine of curves 1, 2, 3 and cosine of curves 1, 2, 3.
struct HarmonicTables {
    std::array<int, HarmonicOrders> orders {};
    std::array<HarmonicTerms, HarmonicCurves> sine {};
    std::array<HarmonicTerms, HarmonicCurves> cosine {};
    /// The largest absolute term of each array, or 1 when it is below 1e-200.
    std::array<double, HarmonicCurves> sineReference {};
    std::array<double, HarmonicCurves> cosineReference {};
    std::array<std::string, 2 * HarmonicCurves> texts;
};

HarmonicTables harmonicTables(const HarmonicResult& result);

/// Caption and labels of the dialog.
inline constexpr std::string_view AnaliseHarmonicaTitulo = "Análise Harmônica";
inline constexpr std::string_view TermosEmSeno = "Termos em Seno";
inline constexpr std::string_view TermosEmCosseno = "Termos em Cosseno";

} // namespace tarvex::graphs
