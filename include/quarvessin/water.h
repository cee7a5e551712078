// Thermodynamic properties of pure water from the Haar-Gallagher-Kell (1984)
// equation of state (L. Haar, J. S. Gallagher and G. S. Kell, NBS/NRC Steam
// Tables, Hemisphere, 1984).
//
// Units at this interface are SI: temperature K, density kg/m3, pressure Pa,
// specific energies J/kg, entropy and heat capacities J/(kg K).
//
// A caller creates a record with newProp, passes it to the evaluators as often
// as it likes (each call overwrites what it fills and sets `status`), and
// releases it with freeProp. The library holds no mutable global state:
// separate records may be evaluated from separate threads.
#pragma once

namespace quarvessin {

// Derivatives of one property Z of a WaterProps record [SI units of Z per SI
// unit of the variable].
struct PropDerivs {
    double perT;   // (dZ/dT) at constant density
    double perD;   // (dZ/dd) at constant temperature
    double perH;   // (dZ/dh) at constant pressure
    double perPh;  // (dZ/dp) at constant enthalpy
    double perPs;  // (dZ/dp) at constant entropy
    double perS;   // (dZ/ds) at constant pressure
    // Owned derivative records of entries 1..6 above (perT ... perS), null
    // where not allocated: second[0]->perT is d2Z/dT2, second[0]->perD the
    // mixed derivative.
    PropDerivs* second[6];
};

// One state of water, filled by propTp, propTd, satPropT or satPropP.
struct WaterProps {
    double x;   // vapour mass fraction of a two-phase mixture; written only when phase == 2 [-]
    double T;   // temperature [K]
    double d;   // density [kg/m3]
    double p;   // pressure [Pa]
    double f;   // specific Helmholtz energy [J/kg]
    double g;   // specific Gibbs energy [J/kg]
    double s;   // specific entropy [J/(kg K)]
    double u;   // specific internal energy [J/kg]
    double h;   // specific enthalpy [J/kg]
    double cv;  // isochoric heat capacity [J/(kg K)]
    double cp;  // isobaric heat capacity; 0 for a two-phase mixture [J/(kg K)]
    // Owned derivative records of the values above, in the same order; null
    // where the letters and grade given to newProp do not call for them.
    PropDerivs* dx;
    PropDerivs* dT;
    PropDerivs* dd;
    PropDerivs* dp;
    PropDerivs* df;
    PropDerivs* dg;
    PropDerivs* ds;
    PropDerivs* du;
    PropDerivs* dh;
    PropDerivs* dcv;
    PropDerivs* dcp;
    int phase;   // 1 = single phase (also each side of a saturation pair), 2 = two-phase mixture
    int status;  // 0 = last evaluation succeeded, 1 = it failed
    char var1;   // first independent-variable letter given to newProp
    char var2;   // second independent-variable letter given to newProp
    int deriv;   // derivative grade 0, 1 or 2
};

// Creates a record for the independent variables (var1, var2) and derivative
// grade 0..2. Returns null when memory runs out. A grade outside 0..2 prints
// "newProp(): deriv out of range" on standard error and ends the process with
// status 1.
WaterProps* newProp(char var1, char var2, int deriv);

// Releases a record and all its derivative records. Accepts null; always
// returns null.
WaterProps* freeProp(WaterProps* prop);

// Water at temperature T [K] and pressure p [Pa]: solves for the density
// starting from dGuess [kg/m3] to the relative pressure tolerance relTol (on
// the liquid side a residual of 0.01 Pa, the rounding error of a liquid's
// pressure, is accepted as well). Refuses states on the saturation curve and
// where water is solid.
void propTp(double T, double p, double dGuess, double relTol, WaterProps* rec);

// Water at temperature T [K] and density d [kg/m3]; inside the two-phase dome
// the record describes the liquid-vapour mixture (phase 2).
void propTd(double T, double d, WaterProps* rec);

// Saturated liquid (liq) and vapour (vap) at temperature T [K], 273.16 to
// 647.126 K.
void satPropT(double T, WaterProps* liq, WaterProps* vap);

// Saturated liquid (liq) and vapour (vap) at pressure p [Pa], from the triple
// point to 22.054915 MPa.
void satPropP(double p, WaterProps* liq, WaterProps* vap);

}  // namespace quarvessin
