#pragma once

#include <quarvessin/water.h>

namespace quarvessin {

// Pure water at the owner's temperature and pressure, taken from the water
// property library: the boiling temperature at p, the vapour pressure at t
// (replaced just below the critical temperature by a quadratic that meets the
// critical pressure), and the molar-volume derivatives at (t, p) together with
// the saturation states one temperature step below and above t.
//
// Bound to the owner's t [C] and p [bar] (pointers, not owned). Nothing is
// cached between calls: every operation reads the owner's values and evaluates
// afresh. The object owns the twelve water-property records it creates and
// releases them when it is destroyed; where memory runs out for them the
// constructor throws std::bad_alloc, having released those it had. Where the library refuses a
// saturation evaluation (below the triple point, above the critical point) the results that depend
// on it are not a number.
class PureWater {
  public:
    PureWater(double* tPtr, double* pPtr);
    ~PureWater();
    PureWater(const PureWater&) = delete;
    PureWater& operator=(const PureWater&) = delete;

    // Boiling temperature of water at the owner's pressure; not a number where
    // the library refuses the pressure [C]
    double BoilingTemperature();
    // Vapour pressure of water at the owner's temperature; not a number where
    // the library refuses the temperature [Pa]
    double VaporPressure();
    // Evaluates dVdP, beta and dVdT at the owner's (t, p) and fills the
    // records at T - dT and T + dT.
    void RefreshDerivatives();
    // Pressure of satLiqTminus after RefreshDerivatives (the saturated liquid
    // at T - dT below the critical temperature); not a number where the
    // library refused that evaluation [Pa]
    double SatLiquidPressureBelow() const;

    double t;             // owner's temperature at the last evaluation [C]
    double p;             // owner's pressure at the last evaluation [bar]
    double T;             // t + 273.15 [K]
    double P;             // p x 100000 [Pa]
    double rhoGuess;      // start density of the (T, P) evaluations [kg/m3]
    double relTol;        // relative pressure tolerance of the (T, P) evaluations [-]
    double kelvinOffset;  // K at 0 C [K]
    double molarMass;     // molar mass of water [g/kmol]
    double dVdP;          // dV/dP of water at (T, P) [cm3/mol per Pa]
    double beta;          // isothermal compressibility -(1/V) dV/dP [1/Pa]
    double dP;            // pressure step of the differences [bar]
    double dT;            // temperature step of the differences [K]
    double dVdT;          // dV/dT of water at (T, P) [cm3/mol per K]
    double* tPtr;         // owner's temperature [C]
    double* pPtr;         // owner's pressure [bar]

    WaterProps* recBase = nullptr;    // water at (T, P), grade 1
    WaterProps* recPplus = nullptr;   // water at (T, P + dP), grade 1
    WaterProps* recTstep = nullptr;   // water at T + dT (in some cases first T - dT) and P, grade 1
    WaterProps* recTminus = nullptr;  // water at (T - dT, P), grade 1
    WaterProps* satLiqT = nullptr;    // saturated liquid at T, grade 1
    WaterProps* satVapT = nullptr;    // saturated vapour at T, grade 1
    // At T + dT and T - dT: the saturated liquid and vapour, or the states at
    // 321.89 kg/m3 where the temperature is at or above the critical one;
    // grade 0.
    WaterProps* satLiqTplus = nullptr;   // liquid side at T + dT
    WaterProps* satVapTplus = nullptr;   // vapour side at T + dT
    WaterProps* satLiqTminus = nullptr;  // liquid side at T - dT
    WaterProps* satVapTminus = nullptr;  // vapour side at T - dT
    WaterProps* satLiqP = nullptr;       // saturated liquid at P, grade 1
    WaterProps* satVapP = nullptr;       // saturated vapour at P, grade 1

  private:
    // Releases every record there is (freeProp accepts null) and nulls it.
    void ReleaseRecords();
    // Molar volume of the state in a record [cm3/mol]
    double V(const WaterProps* rec) const;
};

}  // namespace quarvessin
