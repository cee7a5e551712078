#pragma once

namespace quarvessin {

// Properties of pure NaCl vapour, an ideal gas of molar mass 58.443 g/mol:
// molar volume, density, specific enthalpy (zero at 273.15 K) and specific
// isobaric heat capacity. No range checks: a pressure of 0 gives an infinite
// molar volume and a density of 0.
//
// Bound to its owner's t (C) and p (bar); Refresh recomputes the cached fields
// only after an input changed (see <quarvessin/model/Caching.h>).
class NaClVapor {
  public:
    NaClVapor(double* tPtr, double* pPtr);
    NaClVapor(const NaClVapor&) = delete;
    NaClVapor& operator=(const NaClVapor&) = delete;

    void Refresh();

    double MolarVolume(const double* T, const double* p)
        const;  // ideal-gas molar volume at T [K], p [bar] [cm3/mol]
    double HeatCapacity(
        const double* T) const;              // specific isobaric heat capacity at T [K] [J/(kg K)]
    double Enthalpy(const double* T) const;  // specific enthalpy at T [K], 0 at 273.15 K [J/kg]

    double* tPtr;       // owner's temperature (not owned) [C]
    double* pPtr;       // owner's pressure (not owned) [bar]
    double T = 0.0;     // temperature of the last refresh [K]
    double t;           // temperature of the last refresh [C]
    double p;           // pressure of the last refresh [bar]
    double rho = 0.0;   // density [kg/m3]
    double Vm = 0.0;    // molar volume [cm3/mol]
    double h = 0.0;     // specific enthalpy [J/kg]
    double cp = 0.0;    // specific isobaric heat capacity [J/(kg K)]
    bool stale = true;  // true until the first Refresh has computed [-]
};

}  // namespace quarvessin
