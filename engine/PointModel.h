#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/NaClBoilingCurve.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/phase_state.h>

#include <limits>

namespace quarvessin {

// The boundaries of H2O-NaCl at one temperature and pressure and the
// classification of a mixture by them: the one home of the stable assemblage,
// used by the point query and the phase state alike.
//
// Units as in the model: t in degrees Celsius, p in bar, compositions as mole
// fraction NaCl.

// Where a point lies in pressure at its temperature; the band decides which
// boundaries cross there.
enum class PressureBand {
    Unknown,      // a pressure the band depends on is not a number
    Vapor,        // vapour alone: below the sublimation pressure of halite (up to
                  // 800.7 C) or the boiling pressure of liquid NaCl (above)
    VaporHalite,  // from the sublimation pressure to below the three-phase pressure
    ThreePhase,   // exactly at the three-phase pressure
    Fluid,        // above: the vapour-liquid surface below the top of the loop,
                  // halite below its melting temperature
};

// A pressure above every vapour pressure of water the model gives: the critical
// pressure of water (220.54915 bar), which the quadratic just below the
// critical temperature exceeds by rounding (by 1e-7 bar), with room to spare
// [bar]. From it up a point at or below 373.976 C is above the vapour-liquid
// loop.
constexpr double aboveWaterVaporPressure = 221.0;

// Bits of PointBoundaries::outOfRange: which composition the correlations put
// outside 0 to 1 mole fraction.
constexpr unsigned vaporOutOfRange = 1;
constexpr unsigned liquidOutOfRange = 2;
constexpr unsigned haliteLiquidOutOfRange = 4;

// The boundaries crossing one (t, p), as the sections have them there.
struct PointBoundaries {
    static constexpr double none = std::numeric_limits<double>::quiet_NaN();

    PressureBand band = PressureBand::Unknown;
    bool loop = false;    // fluid band: the vapour-liquid surface crosses (xV, xL)
    bool halite = false;  // fluid band: halite is stable (xLH), t below its melting point at p
    // The vapour: the halite-saturated vapour below and at the three-phase
    // pressure, the vapour branch of the vapour-liquid surface in the fluid
    // band [mole fraction NaCl]
    double xV = none;
    double xL = none;   // the liquid branch of the vapour-liquid surface [mole fraction NaCl]
    double xLH = none;  // the halite-saturated liquid [mole fraction NaCl]
    // The compositions that were outside 0 to 1 and are not a number now.
    unsigned outOfRange = 0;
};

// One set of model objects for point after point. The work that depends on
// the temperature alone is kept while it is unchanged, the whole answer
// while temperature and pressure are; each answer is the one fresh objects
// give (the objects' caches compare their inputs exactly).
class PointModel {
  public:
    PointModel();
    PointModel(const PointModel&) = delete;
    PointModel& operator=(const PointModel&) = delete;

    // The boundaries at (t, p): t above absolute zero and up to 1000 C, p
    // positive (neither checked).
    const PointBoundaries& boundaries(double t, double p);

    // At the temperature of the last call of boundaries:
    double sublimationPressure() const { return pSub_; }   // not a number above 800.7 C [bar]
    double threePhasePressure() const { return p3_; }      // not a number above 800.7 C [bar]
    double naclBoilingPressure() const { return pBoil_; }  // not a number up to 800.7 C [bar]
    double loopTopPressure(bool& closesAtPureWater);       // see engine/LoopTop.h [bar]

  private:
    void setTemperature(double t);
    bool belowLoopTop(double p);

    double t_ = 0.0;  // temperature the model objects see [C]
    double p_ = 1.0;  // pressure the model objects see [bar]
    CriticalCurve critical_{&t_};
    NaClSublimationCurve sublimation_{&t_, &p_};
    NaClBoilingCurve boiling_{&t_, &p_};
    HaliteMelting melting_{&t_, &p_};
    HaliteLiquidVaporCurve hlv_{&t_};
    PureWater water_{&t_, &p_};
    HaliteLiquidus liquidus_{&t_, &p_};
    HaliteSaturatedVapor haliteVapor_{&t_, &p_};
    VLVaporBranch vaporBranch_{&t_, &p_};

    // Per temperature, valid while tKnown_ and t_ is unchanged.
    bool tKnown_ = false;
    double tOf_ = 0.0;                      // the temperature they belong to [C]
    double pSub_ = PointBoundaries::none;   // sublimation pressure of halite [bar]
    double p3_ = PointBoundaries::none;     // three-phase pressure [bar]
    double pBoil_ = PointBoundaries::none;  // boiling pressure of liquid NaCl [bar]
    bool pTopKnown_ = false;                // pTop_ computed at this temperature
    double pTop_ = PointBoundaries::none;   // top of the vapour-liquid loop [bar]
    bool closesAtPureWater_ = false;
    // The last answer, valid while pointKnown_ and (t, p) are unchanged.
    bool pointKnown_ = false;
    double pOf_ = 0.0;  // its pressure [bar]
    PointBoundaries last_;
};

// The stable assemblage of a mixture of composition x [mole fraction NaCl,
// 0 to 1] at the point of `b`: a composition on a boundary counts to the
// single saturated phase, pure NaCl below its melting point is halite, and
// Unknown where a boundary it depends on is not a number.
Assemblage classify(const PointBoundaries& b, double x);

// The phase state of that mixture, given its assemblage `a` = classify(b, x)
// and its composition wt [wt% NaCl] (the weight percent of x).
PhaseState phaseOf(const PointBoundaries& b, Assemblage a, double wt);

// The phase state where nothing is known: Unknown, every number not a number.
PhaseState unknownPhaseState();

}  // namespace quarvessin
