#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <limits>
#include <new>

#include "model/WaterVaporQuadratic.h"

namespace quarvessin {

namespace {

using namespace water_quadratic;

constexpr double barToPa = model_units::barToPa;  // [Pa/bar]
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// Temperature limit of the library's saturation states and the density given
// to the states at and above it: the critical point of water [K], [kg/m3].
constexpr double Tcrit = WaterCriticalPoint::Tc + model_units::kelvinOffset;
constexpr double rhoCrit = WaterCriticalPoint::rhoc;
// Critical temperature of water in the model [C].
constexpr double tcrit = WaterCriticalPoint::Tc;

bool Refused(const WaterProps* rec) { return rec->status != 0; }

// A record from the water library; std::bad_alloc where it finds no memory
// (the library returns null then).
WaterProps* NewRecord(char var1, char var2, int deriv) {
    WaterProps* rec = newProp(var1, var2, deriv);
    if (rec == nullptr) throw std::bad_alloc();
    return rec;
}

}  // namespace

PureWater::PureWater(double* tPtr_, double* pPtr_)
    : t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      T(0.0),
      P(0.0),
      rhoGuess(500.0),
      relTol(1e-8),
      kelvinOffset(model_units::kelvinOffset),
      molarMass(model_units::molarMassH2O * 1000.0),
      dVdP(0.0),
      beta(0.0),
      dP(0.01),
      dT(0.01),
      dVdT(0.0),
      tPtr(tPtr_),
      pPtr(pPtr_) {
    try {
        recBase = NewRecord('T', 'p', 1);
        recPplus = NewRecord('T', 'p', 1);
        recTstep = NewRecord('T', 'p', 1);
        recTminus = NewRecord('T', 'p', 1);
        satLiqP = NewRecord('T', 'p', 1);
        satVapP = NewRecord('T', 'p', 1);
        satLiqT = NewRecord('T', 'p', 1);
        satVapT = NewRecord('T', 'p', 1);
        satLiqTplus = NewRecord('T', 'p', 0);
        satVapTplus = NewRecord('T', 'p', 0);
        satLiqTminus = NewRecord('T', 'p', 0);
        satVapTminus = NewRecord('T', 'p', 0);
    } catch (const std::bad_alloc&) {
        // No destructor runs for an object not constructed: the records
        // created so far are released here.
        ReleaseRecords();
        throw;
    }
}

PureWater::~PureWater() { ReleaseRecords(); }

void PureWater::ReleaseRecords() {
    recBase = freeProp(recBase);
    recPplus = freeProp(recPplus);
    recTstep = freeProp(recTstep);
    recTminus = freeProp(recTminus);
    satLiqP = freeProp(satLiqP);
    satVapP = freeProp(satVapP);
    satLiqT = freeProp(satLiqT);
    satVapT = freeProp(satVapT);
    satLiqTplus = freeProp(satLiqTplus);
    satVapTplus = freeProp(satVapTplus);
    satLiqTminus = freeProp(satLiqTminus);
    satVapTminus = freeProp(satVapTminus);
}

double PureWater::V(const WaterProps* rec) const { return molarMass / rec->d; }

double PureWater::BoilingTemperature() {
    p = *pPtr;
    P = p * barToPa;
    satPropP(P, satLiqP, satVapP);
    if (Refused(satLiqP)) {
        return notANumber;
    }
    return satLiqP->T - kelvinOffset;
}

double PureWater::VaporPressure() {
    t = *tPtr;
    T = t + kelvinOffset;
    if (tLow < t && t < tcrit) {
        const double t2 = t * t;
        const double q = (sTcTc * t - sTc * t2 - sTlTcTc + P1TcTc - P1TlTc2 + sTlTlTc - P2Tl2 * t +
                          P1Tl2 * t + P2 * t2 + P2TlTl - sTlTl * t - P1 * t2 + sTl * t2) /
                         g;
        return q * barToPa;
    }
    satPropT(T, satLiqT, satVapT);
    if (Refused(satLiqT)) {
        return notANumber;
    }
    return satLiqT->p;
}

double PureWater::SatLiquidPressureBelow() const {
    if (Refused(satLiqTminus)) {
        return notANumber;
    }
    return satLiqTminus->p;
}

void PureWater::RefreshDerivatives() {
    t = *tPtr;
    p = *pPtr;
    T = t + kelvinOffset;
    P = p * barToPa;
    const double dPPa = dP * barToPa;

    propTp(T, P, rhoGuess, relTol, recBase);
    propTp(T, P + dPPa, rhoGuess, relTol, recPplus);
    propTp(T + dT, P, rhoGuess, relTol, recTstep);
    propTp(T - dT, P, rhoGuess, relTol, recTminus);

    if (T >= Tcrit) {
        dVdP = (V(recPplus) - V(recBase)) / dP / barToPa;
        beta = (-1 / V(recBase)) * dVdP;
        dVdT = (V(recTstep) - V(recBase)) / dT;
        if (T - dT < Tcrit) {
            satPropT(T - dT, satLiqTminus, satVapTminus);
        } else {
            propTd(T - dT, rhoCrit, satLiqTminus);
            propTd(T - dT, rhoCrit, satVapTminus);
        }
        return;
    }

    satPropP(P, satLiqP, satVapP);
    satPropT(T, satLiqT, satVapT);
    if (P == satVapT->p || P == satLiqT->p) {
        // On the saturation curve: one-sided differences on the liquid side.
        dVdP = (V(recPplus) - V(satLiqT)) / (recPplus->p - P);
        beta = -(1 / V(satLiqT)) * dVdP;
        propTp(T - dT, P, rhoGuess, relTol, recTstep);
        dVdT = (V(satLiqT) - V(recTstep)) / dT;
        propTp(T + dT, P, rhoGuess, relTol, recTstep);
    } else if (P < satVapT->p && P + dPPa >= satVapT->p) {
        // Vapour within one pressure step below the curve.
        dVdP = (V(satVapT) - V(recBase)) / (satVapT->p - P);
        beta = -(1 / V(recBase)) * dVdP;
        dVdT = (V(recTstep) - V(recBase)) / dT;
    } else if (P > satLiqT->p && P - dPPa <= satLiqT->p) {
        // Liquid within one pressure step above the curve.
        dVdP = (V(recBase) - V(satLiqT)) / (P - satLiqT->p);
        beta = -(1 / V(recBase)) * dVdP;
        propTp(T - dT, P, rhoGuess, relTol, recTstep);
        dVdT = (V(recBase) - V(recTstep)) / dT;
        propTp(T + dT, P, rhoGuess, relTol, recTstep);
    } else {
        dVdP = (V(recPplus) - V(recBase)) / dP / barToPa;
        beta = -(1 / V(recBase)) * dVdP;
        dVdT = (V(recTstep) - V(recBase)) / dT;
    }

    satPropT(T - dT, satLiqTminus, satVapTminus);
    if (t + dT < tcrit) {
        satPropT(T + dT, satLiqTplus, satVapTplus);
    } else {
        propTd(T + dT, rhoCrit, satLiqTplus);
        propTd(T + dT, rhoCrit, satVapTplus);
    }
}

}  // namespace quarvessin
