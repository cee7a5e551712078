#include <quarvessin/model/PureWater.h>

#include <limits>

#include <quarvessin/model/ModelUnits.h>

namespace quarvessin {

namespace {

constexpr double barToPa = 100000.0;  // [Pa/bar]
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// Temperature limit of the library's saturation states and the density given
// to the states at and above it [K], [kg/m3].
constexpr double Tcrit = 647.126;
constexpr double rhoCrit = 321.89;
// Critical temperature of water in the model [C].
constexpr double tcrit = 373.976;

// Vapour pressure between 373 C and the critical temperature: the quadratic
// q(t) through (373 C, P1) with slope s there and through (373.976 C, P2),
// stored expanded in powers of t and multiplied by g = (373.976 - 373)^2, with
// P1 = 217.988790346 bar (the library's vapour pressure at 373 C), P2 the
// critical pressure 220.54915 bar and s = 2.6147419296 bar/C.
constexpr double tLow = 373.0;  // lower end of the quadratic [C]
constexpr double P1 = 217.988790346;
constexpr double P2 = 220.54915;
constexpr double sTc = 977.8507278640897;         // s*373.976
constexpr double sTcTc = 365692.7038037008;       // s*373.976^2
constexpr double sTlTcTc = 136403378.5187804;     // s*373*373.976^2
constexpr double P1TcTc = 30487486.829234347;     // P1*373.976^2
constexpr double P1TlTc2 = 60815841.59039304;     // 2*P1*373*373.976
constexpr double sTlTlTc = 136047393.91700295;    // s*373^2*373.976
constexpr double P2Tl2 = 164529.6659;             // 2*373*P2
constexpr double P1Tl2 = 162619.637598116;        // 2*373*P1
constexpr double P2TlTl = 30684782.69035;         // P2*373^2
constexpr double sTl = 975.2987397408;            // s*373
constexpr double sTlTl = 363786.4299233184;       // s*373^2
constexpr double g = (tcrit - tLow) * (tcrit - tLow);

bool Refused(const WaterProps* rec) { return rec->status != 0; }

}  // namespace

PureWater::PureWater(double* tPtr_, double* pPtr_)
    : t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      T(0.0),
      P(0.0),
      rhoGuess(500.0),
      relTol(1e-8),
      kelvinOffset(model_units::kelvinOffset),
      molarMass(18015.0),
      dVdP(0.0),
      beta(0.0),
      dP(0.01),
      dT(0.01),
      dVdT(0.0),
      tPtr(tPtr_),
      pPtr(pPtr_) {
    recBase = newProp('T', 'p', 1);
    recPplus = newProp('T', 'p', 1);
    recTstep = newProp('T', 'p', 1);
    recTminus = newProp('T', 'p', 1);
    satLiqP = newProp('T', 'p', 1);
    satVapP = newProp('T', 'p', 1);
    satLiqT = newProp('T', 'p', 1);
    satVapT = newProp('T', 'p', 1);
    satLiqTplus = newProp('T', 'p', 0);
    satVapTplus = newProp('T', 'p', 0);
    satLiqTminus = newProp('T', 'p', 0);
    satVapTminus = newProp('T', 'p', 0);
}

PureWater::~PureWater() {
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
