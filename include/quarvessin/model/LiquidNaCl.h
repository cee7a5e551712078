#pragma once

namespace quarvessin {

// Properties of molten NaCl at a temperature and pressure: molar volume,
// density, thermal expansivity, the pressure coefficient of the logarithmic
// volume law, specific isobaric heat capacity and specific enthalpy. The
// enthalpy scale is that of Halite: at 800.7 C and 0 bar the liquid lies the
// enthalpy of melting, 481803 J/kg, above halite. No range checks; where the
// logarithm of the volume law gets a negative argument (high pressure, low
// temperature) the volume is not a number.
//
// Bound to its owner's t (C) and p (bar); Refresh recomputes the cached fields
// only after an input changed (see <quarvessin/model/Caching.h>).
class LiquidNaCl {
  public:
    LiquidNaCl(double* tPtr, double* pPtr);
    LiquidNaCl(const LiquidNaCl&) = delete;
    LiquidNaCl& operator=(const LiquidNaCl&) = delete;

    void Refresh();

    double MolarVolume(const double* t, const double* p) const;  // molar volume [cm3/mol]
    double dVdTAt(const double* t,
                  const double* p) const;  // temperature slope of the molar volume [cm3/(mol K)]
    double CompressionCoefficient(
        const double* t) const;  // pressure coefficient b(t) of the volume law [1/bar]
    double dBdT() const;         // temperature slope of b [1/(bar K)]
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
    double b = 0.0;      // pressure coefficient of the volume law [1/bar]
    double alpha = 0.0;  // thermal expansivity (1/Vm) dVm/dt [1/K]
    double h = 0.0;      // specific enthalpy [J/kg]
    double cp = 0.0;     // specific isobaric heat capacity [J/(kg K)]
    double dVdT = 0.0;   // temperature slope of the molar volume [cm3/(mol K)]
    bool stale = true;   // true until the first Refresh has computed [-]
};

}  // namespace quarvessin
