#include "graphs/harmonics.h"

#include "graphs/graph_data.h"
#include "materials/c_format.h"

#include <algorithm>
#include <cmath>

namespace tarvex::graphs {

namespace {

struct ModeRule {
    std::string_view menuText;
    double periodsPerSpan; ///< T / L
    double factor; ///< F of the term F / T times the sum
    bool oddOrders;
    bool sine;
    bool cosine;
};

constexpr std::array<ModeRule, 6> Rules = { {
    { "Período &Inteiro", 1.0, 2.0, false, true, true },
    { "f(x)= + f(-x)", 2.0, 4.0, false, false, true },
    { "f(x)= - f(-x)", 2.0, 4.0, false, true, false },
    { "f(x)= - f(x+T/2)", 2.0, 4.0, true, true, true },
    { "f(x)= - f(-x)  e  f(x)= - f(x+T/2)", 4.0, 8.0, true, true, false },
    { "f(x)= + f(-x)  e  f(x)= - f(x+T/2)", 4.0, 8.0, true, false, true },
} };

const ModeRule& ruleOf(HarmonicMode mode)
{
    return Rules[static_cast<std::size_t>(mode)];
}

constexpr std::array<std::string_view, HarmonicCurves> SineHeaders
    = { " ordem normal \n", " ordem   tangencial \n", " ordem módulo \n" };
constexpr std::array<std::string_view, HarmonicCurves> CosineHeaders
    = { " ordem   normal \n", " ordem   tangencial \n", " ordem módulo \n" };

std::string tableText(std::string_view header, const std::array<int, HarmonicOrders>& orders,
    const HarmonicTerms& terms, double reference)
{
    std::string text(header);
    text += "----------------------------\n";
    for (std::size_t k = 0; k < HarmonicOrders; ++k)
        text += materials::formatC("  %02d%3s%+9.3f\n", orders[k], "|", terms[k]);
    text += materials::formatC("\n val. ref : %-9.3g", reference);
    return text;
}

/// Scales the terms to percent of the largest one; returns that reference.
double normalise(HarmonicTerms& terms)
{
    double reference = 0.0;
    for (const double t : terms)
        reference = std::fmax(reference, std::fabs(t));
    if (reference < 1e-200)
        reference = 1.0;
    for (double& t : terms)
        t = 100.0 * t / reference;
    return reference;
}

} // namespace

bool harmonicModeFromNumber(int number, HarmonicMode& mode)
{
    if (number < 0 || number >= static_cast<int>(Rules.size()))
        return false;
    mode = static_cast<HarmonicMode>(number);
    return true;
}

std::string_view harmonicMenuText(HarmonicMode mode)
{
    return ruleOf(mode).menuText;
}

HarmonicResult computeHarmonics(const GraphData& data, HarmonicMode mode)
{
    const ModeRule& rule = ruleOf(mode);
    HarmonicResult result;
    for (std::size_t k = 0; k < HarmonicOrders; ++k)
        result.orders[k] = rule.oddOrders ? static_cast<int>(2 * k + 1) : static_cast<int>(k + 1);
    if (data.curves.empty())
        return result;

    const materials::Curva& first = data.curves.front();
    const std::size_t n = first.count();
    const double span = n > 0 ? std::fabs(first.x(n) - first.x(1)) : 0.0;
    const double period = span * rule.periodsPerSpan;
    // No span, no period: every order's frequency would be infinite.
    if (!(period >= 1e-200) || !std::isfinite(period))
        return result;
    const double twoPi = 8.0 * std::atan(1.0);

    for (std::size_t c = 0; c < HarmonicCurves; ++c) {
        const materials::Curva& curve = data.curves[std::min(c, data.curves.size() - 1)];
        for (std::size_t k = 0; k < HarmonicOrders; ++k) {
            const double omega = twoPi * result.orders[k] / period;
            double sineSum = 0.0;
            double cosineSum = 0.0;
            // Pairs of samples; with an odd count the last one is left out.
            for (std::size_t j = 1; j + 1 <= curve.count(); j += 2) {
                const double width = curve.x(j + 1) - curve.x(j);
                const double middle = curve.x(j) + width / 2.0;
                sineSum += width * curve.y(j) * std::sin(omega * middle);
                cosineSum += width * curve.y(j) * std::cos(omega * middle);
            }
            if (rule.sine)
                result.sine[c][k] = sineSum * rule.factor / period;
            if (rule.cosine)
                result.cosine[c][k] = cosineSum * rule.factor / period;
        }
    }
    return result;
}

HarmonicTables harmonicTables(const HarmonicResult& result)
{
    HarmonicTables tables;
    tables.orders = result.orders;
    tables.sine = result.sine;
    tables.cosine = result.cosine;
    for (std::size_t c = 0; c < HarmonicCurves; ++c) {
        tables.sineReference[c] = normalise(tables.sine[c]);
        tables.cosineReference[c] = normalise(tables.cosine[c]);
        tables.texts[c]
            = tableText(SineHeaders[c], tables.orders, tables.sine[c], tables.sineReference[c]);
        tables.texts[HarmonicCurves + c] = tableText(
            CosineHeaders[c], tables.orders, tables.cosine[c], tables.cosineReference[c]);
    }
    return tables;
}

} // namespace tarvex::graphs
