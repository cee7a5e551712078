#pragma once

#include <quarvessin/model/Halite.h>
#include <quarvessin/model/LiquidNaCl.h>
#include <quarvessin/model/Stateless.h>

namespace quarvessin {

// Melting curve of pure NaCl (halite + liquid NaCl), a straight line in the
// t-p plane starting at the triple point of NaCl, and the changes on melting:
// melting temperature at the owner's pressure, melting pressure at the owner's
// temperature, volume and enthalpy of melting, and the volume and enthalpy of
// liquid NaCl at the melting point that anchor the halite liquidus.
//
// Bound to its owner's t (C) and p (bar). The halite and liquid members are
// bound to this object's own tState and pState, which Refresh moves to the
// melting-point states it needs and puts back to the owner's values at the end.
class HaliteMelting {
  public:
    HaliteMelting(double* tPtr, double* pPtr);
    HaliteMelting(const HaliteMelting&) = delete;
    HaliteMelting& operator=(const HaliteMelting&) = delete;

    void Refresh();

    double MeltingTemperature(const double* p) const;  // melting temperature of halite at p [C]
    double MeltingPressure(const double* t) const;     // pressure on the melting curve at t [bar]
    double MeltingSlope() const;                       // slope dThm/dp of the melting curve [C/bar]
    double MeltingEnthalpy(const double* p) const;     // enthalpy of melting at p [J/kg]
    double MeltingVolume();   // liquid minus halite molar volume at (tState, pState) [cm3/mol]
    double LiquidVolume();    // liquid NaCl molar volume at (tState, pState) [cm3/mol]
    double LiquidEnthalpy();  // liquid NaCl specific enthalpy at (tState, pState) [J/kg]
    double LiquidVolumeSlope(
        const double* p);  // dVmLiqMelt/dp along the melting curve at Thm [cm3/(mol bar)]

    double tState;           // temperature the members see; the owner's t between refreshes [C]
    double pState;           // pressure the members see; the owner's p between refreshes [bar]
    double Thm = 0.0;        // melting temperature at the owner's p [C]
    double pMelt = 0.0;      // pressure on the melting curve at the owner's t [bar]
    double dVm = 0.0;        // volume of melting at (Thm, p) [cm3/mol]
    double VmLiqMelt = 0.0;  // liquid NaCl molar volume at (Thm, p) [cm3/mol]
    double VmLiqAtT = 0.0;   // liquid NaCl molar volume at (t, pMelt) [cm3/mol]
    double dHm = 0.0;        // enthalpy of melting at p [J/kg]
    double hLiqMelt = 0.0;   // liquid NaCl specific enthalpy at (Thm, p) [J/kg]
    // Total derivative of VmLiqMelt along the melting curve [cm3/(mol bar)]
    double dVmLiqMeltdP = 0.0;
    double* tPtr;       // owner's temperature (not owned) [C]
    double* pPtr;       // owner's pressure (not owned) [bar]
    bool stale = true;  // true until the first Refresh has computed [-]
    Stateless marker;   // empty marker [-]
    Halite halite;      // halite bound to (tState, pState) [-]
    LiquidNaCl liquid;  // liquid NaCl bound to (tState, pState) [-]
};

}  // namespace quarvessin
