#pragma once

#include <quarvessin/model/LiquidNaCl.h>
#include <quarvessin/model/NaClVapor.h>
#include <quarvessin/model/Stateless.h>

namespace quarvessin {

// Boiling (vapour-pressure) curve of liquid NaCl, a Clausius-Clapeyron form
// anchored at the triple point of NaCl, and the liquid and vapour properties
// along it: boiling pressure and slope at the owner's temperature, molar
// volumes, densities, enthalpies and heat capacities of liquid NaCl and NaCl
// vapour at (t, Pboil), and the volume and enthalpy of vaporization.
//
// Bound to its owner's t (C) and p (bar); the members are bound to this
// object's t and pState, and pState holds Pboil after a refresh. So the
// results depend on t only, and a Refresh recomputes whenever the owner's p
// differs from Pboil, without changing any result (see <quarvessin/model/Caching.h>).
class NaClBoilingCurve {
  public:
    NaClBoilingCurve(double* tPtr, double* pPtr);
    NaClBoilingCurve(const NaClBoilingCurve&) = delete;
    NaClBoilingCurve& operator=(const NaClBoilingCurve&) = delete;

    void Refresh();

    double PfromT(const double* t) const;  // boiling pressure of NaCl at t [bar]
    double dPdT(const double* t) const;    // slope of the boiling pressure [bar/K]

    double T = 0.0;         // temperature of the last refresh [K]
    double t;               // temperature of the last refresh [C]
    double pState;          // pressure the members see; Pboil after a refresh [bar]
    double Pboil = 0.0;     // boiling pressure of NaCl at t [bar]
    double dPboildT = 0.0;  // slope of the boiling pressure [bar/K]
    double VmLiq = 0.0;     // liquid NaCl molar volume at (t, Pboil) [cm3/mol]
    double rhoLiq = 0.0;    // liquid NaCl density at (t, Pboil) [kg/m3]
    double VmVap = 0.0;     // NaCl vapour molar volume at (t, Pboil) [cm3/mol]
    double rhoVap = 0.0;    // NaCl vapour density at (t, Pboil) [kg/m3]
    double hLiq = 0.0;      // liquid NaCl specific enthalpy [J/kg]
    double hVap = 0.0;      // NaCl vapour specific enthalpy [J/kg]
    double cpLiq = 0.0;     // liquid NaCl specific isobaric heat capacity [J/(kg K)]
    double cpVap = 0.0;     // NaCl vapour specific isobaric heat capacity [J/(kg K)]
    double dVvap = 0.0;     // volume of vaporization VmVap - VmLiq [cm3/mol]
    double dHvap = 0.0;     // enthalpy of vaporization hVap - hLiq [J/kg]
    double* tPtr;           // owner's temperature (not owned) [C]
    double* pPtr;           // owner's pressure (not owned) [bar]
    bool stale = true;      // true until the first Refresh has computed [-]
    Stateless marker;       // empty marker [-]
    LiquidNaCl liquid;      // liquid NaCl bound to (t, pState) [-]
    NaClVapor vapor;        // NaCl vapour bound to (t, pState) [-]
};

}  // namespace quarvessin
