#pragma once

namespace quarvessin {

// Properties of solid NaCl (halite) at a temperature and pressure: density,
// molar volume, thermal expansivity, compressibility, specific isobaric heat
// capacity and specific enthalpy. The enthalpy is zero at 800.7 C and 0 bar,
// the melting point of halite at low pressure. The correlations are evaluated
// at any t and p without range checks.
//
// Bound to its owner's t (C) and p (bar); Refresh recomputes the cached fields
// only after an input changed (see <quarvessin/model/Caching.h>).
class Halite {
  public:
    Halite(double* tPtr, double* pPtr);
    Halite(const Halite&) = delete;
    Halite& operator=(const Halite&) = delete;

    void Refresh();

    double Density(const double* t, const double* p) const;  // density at (t, p) [kg/m3]
    double Density0(const double* t) const;                  // density at (t, 0 bar) [kg/m3]
    double dRhodP(const double* t) const;  // pressure slope of the density [kg/(m3 bar)]
    double dRhodT(const double* t,
                  const double* p) const;  // temperature slope of the density [kg/(m3 K)]
    double HeatCapacity(const double* t,
                        const double* p) const;  // specific isobaric heat capacity [J/(kg K)]
    double Enthalpy(const double* t, const double* p) const;  // specific enthalpy [J/kg]

    double* tPtr;        // owner's temperature (not owned) [C]
    double* pPtr;        // owner's pressure (not owned) [bar]
    double T = 0.0;      // temperature of the last refresh [K]
    double t;            // temperature of the last refresh [C]
    double p;            // pressure of the last refresh [bar]
    double rho = 0.0;    // density [kg/m3]
    double Vm = 0.0;     // molar volume [cm3/mol]
    double beta = 0.0;   // compressibility (1/rho) drho/dp [1/bar]
    double alpha = 0.0;  // thermal expansivity -(1/rho) drho/dt [1/K]
    double h = 0.0;      // specific enthalpy [J/kg]
    double cp = 0.0;     // specific isobaric heat capacity [J/(kg K)]
    bool stale = true;   // true until the first Refresh has computed [-]
};

}  // namespace quarvessin
