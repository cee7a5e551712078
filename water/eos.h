// Haar-Gallagher-Kell (1984) equation of state for water: the Helmholtz
// function A(T, rho) = A_base + A_residual + A_ideal and its derivatives.
//
// Units inside the library: temperature K, density g/cm3, pressure MPa,
// specific energies kJ/kg (= J/g), entropy and heat capacities kJ/(kg K).
// With rho in g/cm3, p = rho^2 dA/drho comes out directly in MPa.
//
// The evaluation is split in stages so that a density solver pays for the
// temperature-only terms once: tempTerms (b(T), B(T), ideal-gas part), then
// densityTerms for every density, and thirdDerivatives only where second
// derivatives of the properties are wanted.
#pragma once

namespace quarvessin {

namespace water_internal {

// Gas constant of water [kJ/(kg K)].
constexpr double kGasConstant = 0.461522;
// Critical temperature of this equation of state [K].
constexpr double kTcrit = 647.126;
// Critical density of this equation of state [g/cm3].
constexpr double kDcrit = 0.32189;
// Critical pressure of this equation of state, p(kTcrit, kDcrit) [MPa].
constexpr double kPcrit = 22.054915;
// Temperature of the solid-liquid-vapour triple point [K].
constexpr double kTtriple = 273.16;
// Vapour pressure of this equation of state at the triple point [MPa].
constexpr double kPtriple = 0.0006117316720236433;
// Double-precision machine epsilon, used as the smallest density [g/cm3] and
// as the floor of the distance variables of the near-critical terms [-].
constexpr double kEpsilon = 2.220446049250313e-16;

// Value and partial derivatives of one part of the Helmholtz function; "d"
// is density, "T" temperature [kJ/kg per g/cm3 and per K to the powers
// shown].
struct HelmholtzPart {
    double a;     // A [kJ/kg]
    double aT;    // dA/dT
    double aTT;   // d2A/dT2
    double ad;    // dA/drho
    double add;   // d2A/drho2
    double adT;   // d2A/drho dT
    double addd;  // d3A/drho3 (third-derivative stage)
    double addT;  // d3A/drho2 dT (third-derivative stage)
    double adTT;  // d3A/drho dT2 (third-derivative stage)
    double aTTT;  // d3A/dT3 (third-derivative stage)
};

// Evaluation area of the equation of state; plain data, copied by value where
// a solver must keep one evaluation while computing another.
struct EosWork {
    // Combined results at (T, rho).
    double p;     // pressure [MPa]
    double dpdT;  // (dp/dT) at constant density [MPa/K]
    double dpdd;  // (dp/drho) at constant temperature [MPa per g/cm3]
    double f;     // Helmholtz energy [kJ/kg]
    double g;     // Gibbs energy [kJ/kg]
    double s;     // entropy [kJ/(kg K)]
    double u;     // internal energy [kJ/kg]
    double h;     // enthalpy [kJ/kg]
    double cv;    // isochoric heat capacity [kJ/(kg K)]
    double cp;    // isobaric heat capacity [kJ/(kg K)]
    // Scratch partials filled by the (p,h) and (p,s) derivative sets.
    double dhdT;  // (dh/dT) at constant density [kJ/(kg K)]
    double dhdd;  // (dh/drho) at constant temperature [kJ/kg per g/cm3]
    double dsdT;  // (ds/dT) at constant density [kJ/(kg K2)]
    double dsdd;  // (ds/drho) at constant temperature [kJ/(kg K) per g/cm3]
    // Third-derivative stage results.
    double d2pdT2;   // (d2p/dT2) at constant density [MPa/K2]
    double d2pdTdd;  // d2p/dT drho [MPa/K per g/cm3]
    double d2pdd2;   // (d2p/drho2) at constant temperature [MPa per (g/cm3)^2]
    double dcvdT;    // (dcv/dT) at constant density [kJ/(kg K2)]

    HelmholtzPart base;   // base (hard-sphere-like) function
    HelmholtzPart res;    // residual function: main sum plus four near-critical terms
    HelmholtzPart ideal;  // ideal-gas function (temperature derivatives only)

    // Temperature stage.
    double T;     // temperature [K]
    double c;     // T0/T [-]
    double b;     // excluded-volume function b(T) [cm3/g]
    double bT;    // db/dT [cm3/(g K)]
    double bTT;   // d2b/dT2 [cm3/(g K2)]
    double bTTT;  // d3b/dT3 (third-derivative stage) [cm3/(g K3)]
    double B;     // second-virial-like function B(T) [cm3/g]
    double BT;    // dB/dT [cm3/(g K)]
    double BTT;   // d2B/dT2 [cm3/(g K2)]
    double BTTT;  // d3B/dT3 (third-derivative stage) [cm3/(g K3)]

    // Density stage intermediates kept for the third-derivative stage.
    double rho;          // density [g/cm3]
    double z;            // 1 - b rho / 4 [-]
    double e;            // exp(-rho) [-]
    double q;            // 1 - exp(-rho) [-]
    double row[9];       // row polynomials P_k(c) of the main residual sum [kJ/kg]
    double rowC[9];      // dP_k/dc [kJ/kg]
    double rowCC[9];     // d2P_k/dc2 [kJ/kg]
    double addDelta[4];  // (rho - rho_i)/rho_i of the near-critical terms, floored [-]
    double addTau[4];    // (T - T_i)/T_i of the near-critical terms [-]
    double addExp[4];    // g_i exp(-alpha_i delta^k_i - beta_i tau^2) [kJ/kg]
};

// Temperature stage at T [K]: b(T), B(T) with two temperature derivatives and
// the ideal-gas part. Must run before densityTerms for the same temperature.
void tempTerms(double T, EosWork& work);

// Density stage at (T [K], rho [g/cm3]): base and residual parts, then the
// combined properties. Uses the temperature stage already in work.
void densityTerms(double T, double rho, EosWork& work);

// tempTerms followed by densityTerms.
void evalTd(double T, double rho, EosWork& work);

// Third-derivative stage at the (T, rho) of the last densityTerms: second
// derivatives of pressure and the temperature derivative of cv.
void thirdDerivatives(double T, double rho, EosWork& work);

}  // namespace water_internal

}  // namespace quarvessin
