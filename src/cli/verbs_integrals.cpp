#include "cli_common.h"
#include "verbs.h"

#include "common/messages.h"
#include "results/integrals.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarvex::cli {
namespace {

const char* const IntegralsUsage
    = "usage: tarvex-cli eval IN.msh integrals (--region X Y | --total) [--length M] [--json]\n"
      "       tarvex-cli eval IN.msh inductance --current I [--length M] [--json]\n"
      "       tarvex-cli eval IN.msh capacitance [--voltage V] [--length M] [--json]\n"
      "  (X Y in drawing units; per metre of depth, or for a device of length M metres;\n"
      "   capacitance without --voltage takes the span of the imposed potentials)";

/// The options of the three verbs; each number option takes the words after it.
struct Options {
    bool json = false;
    bool total = false;
    bool hasRegion = false;
    double x = 0.0;
    double y = 0.0;
    bool hasLength = false;
    double length = 1.0;
    bool hasCurrent = false;
    double current = 0.0;
    bool hasVoltage = false;
    double voltage = 0.0;
};

bool parseOptions(const std::vector<std::string>& words, Options& o)
{
    const auto number = [&](std::size_t& i, double& value) {
        return i + 1 < words.size() && parseNumber(words[++i], value);
    };
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--json")
            o.json = true;
        else if (w == "--total" && !o.total)
            o.total = true;
        else if (w == "--region" && !o.hasRegion)
            o.hasRegion = number(i, o.x) && number(i, o.y);
        else if (w == "--length" && !o.hasLength)
            o.hasLength = number(i, o.length);
        else if (w == "--current" && !o.hasCurrent)
            o.hasCurrent = number(i, o.current);
        else if (w == "--voltage" && !o.hasVoltage)
            o.hasVoltage = number(i, o.voltage);
        else
            return false;
        if ((w == "--region" && !o.hasRegion) || (w == "--length" && !o.hasLength)
            || (w == "--current" && !o.hasCurrent) || (w == "--voltage" && !o.hasVoltage))
            return false;
    }
    return true;
}

/// A length in the output's unit note: per metre, or for the device.
const char* perLength(const Options& o, const char* perMetre, const char* whole)
{
    return o.hasLength ? whole : perMetre;
}

int evalIntegrals(const std::string& in, const Options& o, const solver::SolverModel& model)
{
    results::Integrals r;
    const Status s = o.total ? results::integrateTotal(model, r)
                             : results::integrateRegion(model, o.x, o.y, r);
    if (!s)
        return fail(in, s);
    r = results::withLength(r, o.length);
    if (o.json) {
        JsonObject json;
        json.number("area", r.area).number("current", r.current);
        if (r.induced)
            json.number("current_im", r.currentIm);
        json.number("energy", r.energy);
        if (r.nonlinear)
            json.number("coenergy", r.coenergy);
        json.number("mean_potential", r.meanPotential);
        if (r.induced)
            json.number("losses", r.losses);
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    std::printf("area: %.6g m2\n", r.area);
    if (r.induced)
        std::printf("current: %.6g %+.6g j A (|I| %.6g A, %.2f deg)\n", r.current, r.currentIm,
            r.currentModulus(), r.currentPhaseDegrees());
    else if (r.magnetic)
        std::printf("current: %.6g A\n", r.current);
    std::printf("energy: %.6g %s\n", r.energy, perLength(o, "J/m", "J"));
    if (r.nonlinear)
        std::printf("coenergy: %.6g %s\n", r.coenergy, perLength(o, "J/m", "J"));
    std::printf("mean potential: %.6g %s\n", r.meanPotential, r.magnetic ? "Wb/m" : "V");
    if (r.induced)
        std::printf("losses: %.6g %s\n", r.losses, perLength(o, "W/m", "W"));
    return 0;
}

/// Inductance (`inductance`) or capacitance from the energy of the whole model.
int evalFromEnergy(
    const std::string& in, const Options& o, const solver::SolverModel& model, bool inductance)
{
    if (inductance && model.magnetic == 0)
        return fail(in, Status::failure(msg::IndutanciaSoMagnetico));
    if (!inductance && model.magnetic != 0)
        return fail(in, Status::failure(msg::CapacitanciaSoEletrico));
    results::Integrals total;
    if (Status s = results::integrateTotal(model, total); !s)
        return fail(in, s);
    total = results::withLength(total, o.length);
    double value = 0.0;
    const double drive = inductance
        ? o.current
        : (o.hasVoltage ? o.voltage : results::imposedPotentialSpan(model));
    const Status s = inductance ? results::inductanceFromEnergy(total.energy, drive, value)
                                : results::capacitanceFromEnergy(total.energy, drive, value);
    if (!s)
        return fail(in, s);
    const char* key = inductance ? "inductance" : "capacitance";
    if (o.json) {
        std::printf(
            "%s\n", JsonObject().number(key, value).number("energy", total.energy).str().c_str());
        return 0;
    }
    std::printf("%s: %.6g %s\n", key, value,
        inductance ? perLength(o, "H/m", "H") : perLength(o, "F/m", "F"));
    std::printf("energy: %.6g %s\n", total.energy, perLength(o, "J/m", "J"));
    return 0;
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

bool isIntegralsVerb(const std::vector<std::string>& words)
{
    return words.size() >= 2
        && (words[1] == "integrals" || words[1] == "inductance" || words[1] == "capacitance");
}

int runEvalIntegrals(const std::vector<std::string>& words)
{
    Options o;
    if (!isIntegralsVerb(words) || !parseOptions(words, o))
        return usage(IntegralsUsage);
    const std::string& verb = words[1];
    if (verb == "integrals" && o.total == o.hasRegion)
        return usage(IntegralsUsage);
    if (verb != "integrals" && (o.total || o.hasRegion))
        return usage(IntegralsUsage);
    if ((verb == "inductance") != o.hasCurrent || (o.hasVoltage && verb != "capacitance"))
        return usage(IntegralsUsage);
    const std::string& in = words[0];
    if (o.hasLength && !results::validLength(o.length))
        return fail(in, Status::failure(msg::ComprimentoInvalido));

    solver::SolverModel model;
    if (Status s = solver::openMsh(in, model); !s)
        return fail(in, s);
    if (verb == "integrals")
        return evalIntegrals(in, o, model);
    return evalFromEnergy(in, o, model, verb == "inductance");
}
