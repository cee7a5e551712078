#pragma once

#include <quarvessin/model/HaliteMelting.h>

namespace quarvessin {

// Liquid saturated with halite at a temperature and pressure (the halite
// liquidus): its composition, the slopes of the composition in t and p, its
// molar volume with slopes, density, specific enthalpy and specific isobaric
// heat capacity. The composition is a quintic in tau = t / Thm whose
// coefficients are quadratics in p, anchored so that the liquid is pure NaCl
// at the melting temperature Thm of halite; volume and enthalpy are anchored
// to those of liquid NaCl at the melting point, taken from the melting member.
//
// Bound to its owner's t (C) and p (bar); the melting member is bound to this
// object's fields t and p. Refresh recomputes only after an input changed
// (see <quarvessin/model/Caching.h>). No range checks.
class HaliteLiquidus {
  public:
    HaliteLiquidus(double* tPtr, double* pPtr);
    HaliteLiquidus(const HaliteLiquidus&) = delete;
    HaliteLiquidus& operator=(const HaliteLiquidus&) = delete;

    void Refresh();

    // Evaluation at the pressure of the last refresh, from the coefficient fields.
    double Composition(const double* tau)
        const;  // liquidus composition at reduced temperature tau [mole fraction NaCl]
    double dXdT(const double* tau) const;        // dxL/dt at constant p [1/C]
    double dXdP(const double* tau) const;        // dxL/dp at constant t [1/bar]
    double MolarVolume(const double* t) const;   // molar volume of the saturated liquid [cm3/mol]
    double dVdT(const double* t) const;          // dVL/dt [cm3/(mol C)]
    double dVdP(const double* t) const;          // dVL/dp [cm3/(mol bar)]
    double HeatCapacity(const double* t) const;  // specific isobaric heat capacity [J/(kg K)]
    double Enthalpy(const double* t) const;      // specific enthalpy [J/kg]

    double t;                // temperature of the last refresh [C]
    double p;                // pressure of the last refresh [bar]
    double xL = 0.0;         // liquidus composition [mole fraction NaCl]
    double dxLdT = 0.0;      // dxL/dt at constant p [1/C]
    double dxLdP = 0.0;      // dxL/dp at constant t [1/bar]
    double VL = 0.0;         // molar volume of the halite-saturated liquid [cm3/mol]
    double rhoL = 0.0;       // density of the halite-saturated liquid [g/cm3]
    double dVLdT = 0.0;      // dVL/dt [cm3/(mol C)]
    double dVLdP = 0.0;      // dVL/dp [cm3/(mol bar)]
    double hL = 0.0;         // specific enthalpy of the saturated liquid [J/kg]
    double cpL = 0.0;        // specific isobaric heat capacity of the saturated liquid [J/(kg K)]
    double Thm = 0.0;        // melting temperature of halite at p [C]
    double tau = 0.0;        // reduced temperature t / Thm [-]
    double VmMelt = 0.0;     // liquid NaCl molar volume at (Thm, p) [cm3/mol]
    double a0 = 0.0;         // molar volume of the saturated liquid at 20 C [cm3/mol]
    double dThmdP = 0.0;     // slope of the melting curve [C/bar]
    double dtaudP = 0.0;     // dtau/dp [1/bar]
    double da0dP = 0.0;      // da0/dp [cm3/(mol bar)]
    double dVmMeltdP = 0.0;  // total derivative of VmMelt along the melting curve [cm3/(mol bar)]
    double c0 = 0.0;         // constant term of the volume cubic [cm3/mol]
    double c1 = 0.0;         // linear coefficient of the volume cubic [cm3/(mol C)]
    double a2 = 0.0;         // quadratic coefficient of the volume cubic [cm3/(mol C2)]
    double a3 = 0.0;         // cubic coefficient of the volume cubic [cm3/(mol C3)]
    double dc0dP = 0.0;      // dc0/dp [cm3/(mol bar)]
    double dc1dP = 0.0;      // dc1/dp [cm3/(mol C bar)]
    double da2dP = 0.0;      // da2/dp [cm3/(mol C2 bar)]
    double da3dP = 0.0;      // da3/dp [cm3/(mol C3 bar)]
    // Liquidus polynomial coefficients in tau [mole fraction NaCl] and their
    // pressure slopes [1/bar].
    double e0 = 0.0, e1 = 0.0, e2 = 0.0, e3 = 0.0, e4 = 0.0, e5 = 0.0;
    double de0dP = 0.0, de1dP = 0.0, de2dP = 0.0, de3dP = 0.0, de4dP = 0.0, de5dP = 0.0;
    double b2 = 0.0;        // t^2 coefficient of the enthalpy polynomial [J/(kg C2)]
    double b3 = 0.0;        // t^3 coefficient of the enthalpy polynomial [J/(kg C3)]
    double b5 = 0.0;        // t^5 coefficient of the enthalpy polynomial [J/(kg C5)]
    double cp100 = 0.0;     // heat capacity of the saturated liquid at 100 C [J/(kg K)]
    double hMelt = 0.0;     // liquid NaCl specific enthalpy at (Thm, p) [J/kg]
    double* tPtr;           // owner's temperature (not owned) [C]
    double* pPtr;           // owner's pressure (not owned) [bar]
    bool stale = true;      // true until the first Refresh has computed [-]
    HaliteMelting melting;  // halite melting curve bound to this object's (t, p) [-]

  private:
    void UpdateCoefficients();  // member values and all p-dependent coefficients at (t, p)
    double HeatCapacityConstant() const;  // constant K of the heat-capacity polynomial [J/(kg K)]
};

}  // namespace quarvessin
