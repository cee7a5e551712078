#pragma once

#include <cstdint>

namespace quarvessin {

// Properties of one phase of an H2O-NaCl fluid state: one column of the
// property table of Fluid (bulk, liquid, vapour, halite). A plain record of
// twenty doubles and one 32-bit field; construction and destruction do
// nothing, so the owner sets the values (Fluid zeroes them). Nothing in this
// program fills the table after the zeroing.
struct PhaseProperties {
    PhaseProperties() = default;  // leaves the fields unset
    ~PhaseProperties() = default;

    double t;            // temperature [C]
    double p;            // pressure [bar]
    double x;            // composition [mole fraction NaCl]
    double w;            // composition [wt% NaCl]
    double fraction;     // amount of the phase in the bulk [mole fraction of the bulk]
    double rho;          // density [kg/m3]
    double V;            // molar volume [cm3/mol]
    double M;            // molar mass [g/mol]
    double h;            // specific enthalpy [J/kg]
    double cp;           // specific isobaric heat capacity [J/(kg K)]
    double alpha;        // thermal expansivity [1/K]
    double beta;         // isothermal compressibility [1/bar]
    double dVdT;         // temperature slope of the molar volume [cm3/(mol K)]
    double dVdP;         // pressure slope of the molar volume [cm3/(mol bar)]
    double dXdT;         // temperature slope of the composition [1/C]
    double dXdP;         // pressure slope of the composition [1/bar]
    double dHdT;         // temperature slope of the specific enthalpy [J/(kg K)]
    double dHdP;         // pressure slope of the specific enthalpy [J/(kg bar)]
    double mu;           // dynamic viscosity [Pa s]
    double s;            // specific entropy [J/(kg K)]
    std::int32_t state;  // phase-state code; 0 = not evaluated [-]

    // Sets every field to zero.
    void Zero();
};

}  // namespace quarvessin
