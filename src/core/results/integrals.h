#pragma once

#include "common/status.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::results {

/**
 * Integrals over a region or over the whole model of a solved model, per metre of depth.
 *
 * Magnetic results: `energy` is W = ½∫B·H dS in linear regions and W = ∫∫₀ᴮ H dB dS with the
 * B-H curve in the non-linear regions of a non-linear result, `coenergy` ∫B·H dS − W there (equal
 * to the energy elsewhere). Electric results: W = ½∫D·E dS. Induced-current results: the phasors
 * are peak values, as the loss density reads them (½σω²|A|²), so the time-averaged energy is
 * ¼∫(|∇Aᵣ|² + |∇Aᵢ|²)/μ dS and the current density is J = Js − jωσA.
 */
struct Integrals {
    int region = 0; ///< 1-based region number; 0 for the whole model
    bool magnetic = true;
    bool induced = false; ///< induced-current result: currentIm, meanPotentialIm, losses
    bool nonlinear = false; ///< some triangle's energy came from a B-H curve
    double area = 0.0; ///< m²
    double current = 0.0; ///< A: ∫J dS (source J; the real part for induced results)
    double currentIm = 0.0; ///< A: imaginary part of the induced-current total
    double energy = 0.0; ///< J/m (time-averaged for induced results)
    double coenergy = 0.0; ///< J/m
    double meanPotential = 0.0; ///< ∫A dS / S (Wb/m; V for electric results)
    double meanPotentialIm = 0.0;
    double losses = 0.0; ///< W/m, induced results only

    /// |I| and its phase in degrees (0 for a real current).
    double currentModulus() const;
    double currentPhaseDegrees() const;
};

/// Every triangle of the model. Fails without results (the model's node values are not
/// potentials then).
Status integrateTotal(const solver::SolverModel& model, Integrals& out);

/**
 * The triangles of the region that contains (x, y) in drawing units. Fails with
 * msg::PontoForaDominio outside every region, and without results.
 */
Status integrateRegion(const solver::SolverModel& model, double x, double y, Integrals& out);

/// L = 2W / I² (H/m; magnetic results). Fails for a current of zero or not finite.
Status inductanceFromEnergy(double energy, double current, double& out);
/// C = 2W / V² (F/m; electric results). Fails for a voltage of zero or not finite.
Status capacitanceFromEnergy(double energy, double voltage, double& out);

/// The difference between the largest and the smallest imposed potential (0 when fewer than two
/// nodes are imposed).
double imposedPotentialSpan(const solver::SolverModel& model);

/// Multiplies the per-metre results (energy, co-energy, losses) by a device length in metres.
Integrals withLength(const Integrals& perMetre, double length);

/// The lines of the "Integrais da Região" dialog, (label, "%12.4g" value), per metre: area,
/// current (modulus and phase for induced results), energy (time-averaged for induced results),
/// co-energy (non-linear), mean potential, losses (induced).
std::vector<std::pair<std::string_view, std::string>> integralFields(const Integrals& values);

/// A device length must be a finite positive number of metres.
bool validLength(double length);

} // namespace tarvex::results
