#include <gtest/gtest.h>
#include <quarvessin/model/VLLiquidBranch.h>

#include <cmath>

using namespace quarvessin;

namespace {

class VLLiquidBranchTest : public ::testing::Test {
  protected:
    double t = 500.0;
    double p = 450.0;
    VLLiquidBranch vl{&t, &p};

    // Refreshes at (tNew, pNew).
    void At(double tNew, double pNew) {
        t = tNew;
        p = pNew;
        vl.Refresh();
    }
    double XAt(double pressure) { return vl.XfromTP(&vl.t, &pressure); }
};

// The member quantities of the liquid branch at one temperature; moving them
// along their slopes gives X as a function of temperature through the chain
// rule only, which is what dXdT must be the derivative of.
struct BranchQuantities {
    double Pc, Xc, Pv, Pw, Pb, Xs, a, b;

    explicit BranchQuantities(const VLLiquidBranch& vl)
        : Pc(vl.Pc), Xc(vl.Xc), Pv(vl.Pv), Pw(vl.Pw), Pb(vl.Pb), Xs(vl.Xs), a(vl.a), b(vl.b) {}

    // Writes the quantities moved by h along their slopes into vl.
    void MoveInto(VLLiquidBranch& vl, double h) const {
        vl.Pc = Pc + h * vl.dPcdT;
        vl.Xc = Xc + h * vl.dXcdT;
        vl.Pv = Pv + h * vl.dPvdT;
        vl.Pw = Pw + h * vl.dPwdT;
        vl.Pb = Pb + h * vl.dPbdT;
        vl.Xs = Xs + h * vl.dXsdT;
        vl.a = a + h * vl.dadT;
        vl.b = b + h * vl.dbdT;
        vl.Pc2 = vl.Pc * vl.Pc;
        vl.Pv2 = vl.Pv * vl.Pv;
        vl.Pw2 = vl.Pw * vl.Pw;
    }
};

TEST_F(VLLiquidBranchTest, AnchorsBelowTheCriticalTemperatureOfWater) {
    At(300.0, 70.0);
    // The members see this object's temperature, the liquidus the pressure Pv.
    double tRef = 300.0;
    HaliteLiquidVaporCurve hlv(&tRef);
    hlv.Refresh();
    EXPECT_DOUBLE_EQ(vl.Pv, hlv.P);
    EXPECT_DOUBLE_EQ(vl.dPvdT, hlv.dPdT);
    double pRef = hlv.P;
    HaliteLiquidus liquidus(&tRef, &pRef);
    liquidus.Refresh();
    EXPECT_DOUBLE_EQ(vl.Xs, liquidus.xL);
    EXPECT_DOUBLE_EQ(vl.dXsdT, liquidus.dxLdT);
    PureWater water(&tRef, &pRef);
    EXPECT_DOUBLE_EQ(vl.Pw, water.VaporPressure() * 1e-05);

    // Pure water at its vapour pressure, halite-saturated liquid at Pv (to
    // rounding of the square roots).
    EXPECT_NEAR(XAt(vl.Pw), 0.0, 1e-13);
    EXPECT_NEAR(XAt(vl.Pv), vl.Xs, 1e-13);
    // In between the liquid holds less NaCl the closer it is to pure water.
    double previous = vl.Xs;
    for (double f : {0.2, 0.4, 0.6, 0.8}) {
        const double x = XAt(vl.Pv + f * (vl.Pw - vl.Pv));
        EXPECT_GT(x, 0.0);
        EXPECT_LT(x, previous);
        previous = x;
    }
    // The cached result is the evaluation at the cached state.
    EXPECT_DOUBLE_EQ(vl.X, vl.XfromTP(&vl.t, &vl.p));
    EXPECT_DOUBLE_EQ(vl.dXdT, vl.dXdTAt(&vl.t, &vl.p));
}

TEST_F(VLLiquidBranchTest, WaterVaporPressureSlope) {
    // Below 373 C: backward difference of the water vapour pressure over
    // 0.01 K, against the same difference from a separate water object and the
    // steam-table slope at 300 C (about 1.21 bar/K).
    At(300.0, 70.0);
    double tRef = 300.0;
    double pRef = 70.0;
    PureWater water(&tRef, &pRef);
    const double upper = water.VaporPressure();
    tRef = 300.0 - 0.01;
    const double lower = water.VaporPressure();
    EXPECT_NEAR(vl.dPwdT, (upper - lower) / 0.01 * 1e-05, 1e-3 * vl.dPwdT);
    EXPECT_NEAR(vl.dPwdT, 1.21, 0.05);

    // Inside 373 < t < 373.976: the slope of the quadratic in its defining
    // form, P1 + s (t - 373) + c (t - 373)^2 / g.
    At(373.5, 210.0);
    const double s = 2.6147419296;
    const double c = 220.54915 - 217.988790346 - s * 0.976;
    const double g = (373.976 - 373.0) * (373.976 - 373.0);
    EXPECT_NEAR(vl.dPwdT, s + 2.0 * c * (373.5 - 373.0) / g, 1e-9);
    EXPECT_NEAR(XAt(vl.Pw), 0.0, 1e-13);
    EXPECT_NEAR(XAt(vl.Pv), vl.Xs, 1e-13);
}

TEST_F(VLLiquidBranchTest, AnchorsBetweenWaterAndNaClCriticalPoints) {
    At(500.0, 450.0);  // between Pv (about 322 bar) and Pc (about 581 bar)
    double tRef = 500.0;
    CriticalCurve critical(&tRef);
    critical.Refresh();
    EXPECT_DOUBLE_EQ(vl.Pc, critical.Pcrit);
    EXPECT_DOUBLE_EQ(vl.Xc, critical.Xcrit);
    EXPECT_DOUBLE_EQ(vl.dPcdT, critical.dPdT);
    EXPECT_DOUBLE_EQ(vl.dXcdT, critical.dXdT);
    // Halite-saturated liquid at Pv, the critical composition at Pc (the
    // square root vanishes there, so exactly).
    EXPECT_NEAR(XAt(vl.Pv), vl.Xs, 1e-13);
    EXPECT_EQ(XAt(vl.Pc), vl.Xc);
    EXPECT_GT(vl.X, vl.Xc);
    EXPECT_LT(vl.X, vl.Xs);

    // At exactly 373.976 C this branch applies: X(Pc) is exactly Xc = 0,
    // which the first branch (with the vapour pressure of water never set on
    // this path) would not give.
    At(373.976, 250.0);
    EXPECT_EQ(XAt(vl.Pc), 0.0);
    EXPECT_NEAR(XAt(vl.Pv), vl.Xs, 1e-13);

    // At exactly 800.7 C too: the anchor is the three-phase pressure, the
    // NaCl boiling pressure is not evaluated.
    At(800.7, 1.0);
    EXPECT_EQ(vl.Pb, 0.0);
    EXPECT_NEAR(XAt(vl.Pv), vl.Xs, 1e-12);
    EXPECT_EQ(XAt(vl.Pc), vl.Xc);
}

TEST_F(VLLiquidBranchTest, AnchorsAboveTheNaClTriplePoint) {
    At(900.0, 500.0);
    double tRef = 900.0;
    double pRef = 500.0;
    NaClBoilingCurve boiling(&tRef, &pRef);
    boiling.Refresh();
    EXPECT_DOUBLE_EQ(vl.Pb, boiling.Pboil);
    EXPECT_DOUBLE_EQ(vl.dPbdT, boiling.dPboildT);
    EXPECT_EQ(vl.Xs, 1.0);
    // Pure NaCl at its boiling pressure, the critical composition at Pc.
    EXPECT_NEAR(XAt(vl.Pb), 1.0, 1e-13);
    EXPECT_EQ(XAt(vl.Pc), vl.Xc);
    EXPECT_GT(vl.X, vl.Xc);
    EXPECT_LT(vl.X, 1.0);
}

TEST_F(VLLiquidBranchTest, SlopeIsTheChainRuleDerivative) {
    // dXdT against central differences of XfromTP with every member quantity
    // moved along its slope (pressure and temperature held), in each branch:
    // backward-difference water slope, quadratic water slope, the critical
    // branch on both sides of 600 C and above the triple point of NaCl.
    struct Case {
        double t, p;
    };
    for (const Case c : {Case{25.0, 0.02}, Case{300.0, 70.0}, Case{373.5, 210.0},
                         Case{450.0, 300.0}, Case{700.0, 400.0}, Case{900.0, 500.0}}) {
        At(c.t, c.p);
        const double slope = vl.dXdTAt(&vl.t, &vl.p);
        const BranchQuantities held(vl);
        const double h = 1e-4;
        held.MoveInto(vl, h);
        const double xPlus = vl.XfromTP(&vl.t, &vl.p);
        held.MoveInto(vl, -h);
        const double xMinus = vl.XfromTP(&vl.t, &vl.p);
        held.MoveInto(vl, 0.0);
        const double fd = (xPlus - xMinus) / (2 * h);
        // Central difference: truncation of order h^2 and rounding of about
        // 1e-16 / h in X.
        EXPECT_NEAR(slope, fd, 1e-6 * std::fabs(fd) + 1e-11) << c.t << " C, " << c.p << " bar";
        EXPECT_DOUBLE_EQ(vl.dXdT, slope);
    }
}

TEST_F(VLLiquidBranchTest, ShapeCoefficientsAndTheirSlopes) {
    // Hand evaluation at the midpoints of the logistic terms, where the
    // exponentials are 1 and the logistic factors 1/2.
    At(438.58, 300.0);
    EXPECT_NEAR(vl.a, 0.001465481 / 2.0 + 0.000219379 - 5.6765e-10 * 438.58 * 438.58, 1e-18);
    EXPECT_NEAR(vl.dadT, -0.001465481 / 4.0 / 18.4508 - 2.0 * 5.6765e-10 * 438.58, 1e-18);
    At(384.904, 300.0);
    const double e3 = std::exp(-0.00762859 * 384.904);
    EXPECT_NEAR(vl.b, 6.592089e-06 / 2.0 + 1.44951e-07 + 6.06896e-05 * e3, 1e-20);
    EXPECT_NEAR(vl.dbdT, -6.592089e-06 / 4.0 / 7.07477 - 0.00762859 * 6.06896e-05 * e3, 1e-20);

    // dadT and dbdT are the derivatives of a(t) and b(t): central differences
    // of the object's own coefficients.
    for (double t0 : {100.0, 384.904, 438.58, 700.0}) {
        const double h = 1e-3;
        At(t0 + h, 300.0);
        const double aPlus = vl.a;
        const double bPlus = vl.b;
        At(t0 - h, 300.0);
        const double aMinus = vl.a;
        const double bMinus = vl.b;
        At(t0, 300.0);
        EXPECT_NEAR(vl.dadT, (aPlus - aMinus) / (2 * h), 1e-6 * std::fabs(vl.dadT)) << t0;
        EXPECT_NEAR(vl.dbdT, (bPlus - bMinus) / (2 * h), 1e-6 * std::fabs(vl.dbdT)) << t0;
    }
}

TEST_F(VLLiquidBranchTest, CompositionBetweenTheAnchorsInAnotherArrangement) {
    // With g(P) = a (Pc - P) + b (Pc - P)^2 every branch is g(p) plus a
    // constant plus a multiple of sqrt(Pc - p), fixed by the two anchors:
    // below 373.976 C  X = g(p) - g(Pw) + (Xs - g(Pv) + g(Pw)) (sp - sw) / (sv - sw),
    // above            X = g(p) + Xc + (XA - Xc - g(PA)) sqrt((Pc - p) / (Pc - PA)),
    // with the anchor (PA, XA) = (Pv, Xs) up to 800.7 C and (Pb, 1) above.
    struct Case {
        double t, p;
    };
    for (const Case c : {Case{25.0, 0.02}, Case{300.0, 70.0}, Case{373.5, 210.0},
                         Case{450.0, 300.0}, Case{700.0, 400.0}, Case{900.0, 500.0}}) {
        At(c.t, c.p);
        auto g = [this](double P) { return vl.a * (vl.Pc - P) + vl.b * (vl.Pc - P) * (vl.Pc - P); };
        double x;
        if (c.t < 373.976) {
            const double sv = std::sqrt(vl.Pc - vl.Pv), sw = std::sqrt(vl.Pc - vl.Pw);
            const double sp = std::sqrt(vl.Pc - c.p);
            x = g(c.p) - g(vl.Pw) + (vl.Xs - g(vl.Pv) + g(vl.Pw)) * (sp - sw) / (sv - sw);
        } else {
            const double pa = c.t <= 800.7 ? vl.Pv : vl.Pb;
            const double xa = c.t <= 800.7 ? vl.Xs : 1.0;
            x = g(c.p) + vl.Xc + (xa - vl.Xc - g(pa)) * std::sqrt((vl.Pc - c.p) / (vl.Pc - pa));
        }
        // Rounding only; terms are of order 1 at most.
        EXPECT_NEAR(vl.X, x, 1e-13) << c.t << " C, " << c.p << " bar";
        EXPECT_GT(vl.X, 0.0);
    }
}

TEST_F(VLLiquidBranchTest, AboveTheCriticalPressureIsNotANumber) {
    At(400.0, 300.0);  // the critical pressure at 400 C is about 280 bar
    ASSERT_LT(vl.Pc, 300.0);
    EXPECT_TRUE(std::isnan(vl.X));
    EXPECT_TRUE(std::isnan(vl.dXdT));
}

TEST_F(VLLiquidBranchTest, RefreshRecomputesOnlyAfterAChange) {
    At(500.0, 450.0);
    const double x = vl.X;
    // Unchanged inputs: a hand-written value survives.
    vl.X = -1.0;
    vl.dXdT = -1.0;
    vl.Refresh();
    EXPECT_EQ(vl.X, -1.0);
    EXPECT_EQ(vl.dXdT, -1.0);
    // A change of p alone, however small, recomputes everything.
    p = std::nextafter(450.0, 500.0);
    vl.Refresh();
    EXPECT_NE(vl.X, -1.0);
    EXPECT_NEAR(vl.X, x, 1e-12);
    EXPECT_DOUBLE_EQ(vl.dXdT, vl.dXdTAt(&vl.t, &vl.p));
    vl.Xc = -1.0;
    t = std::nextafter(500.0, 0.0);
    vl.Refresh();
    EXPECT_NE(vl.Xc, -1.0);
}

TEST(VLLiquidBranchPriming, FirstEvaluationAtThePrimingValues) {
    // Primed with (t - 1, p - 1), its members one lower again: a first Refresh
    // at either still computes, and agrees with an object primed elsewhere.
    for (double back : {1.0, 2.0}) {
        double t = 300.0 + back;
        double p = 70.0 + back;
        VLLiquidBranch vl(&t, &p);
        t = 300.0;
        p = 70.0;
        vl.Refresh();
        double tRef = 300.0;
        double pRef = 90.0;
        VLLiquidBranch reference(&tRef, &pRef);
        reference.Refresh();
        pRef = 70.0;
        reference.Refresh();
        EXPECT_EQ(vl.Pc, reference.Pc) << back;
        EXPECT_EQ(vl.Pv, reference.Pv) << back;
        EXPECT_EQ(vl.Xs, reference.Xs) << back;
        EXPECT_EQ(vl.Pw, reference.Pw) << back;
        EXPECT_EQ(vl.X, reference.X) << back;
        EXPECT_EQ(vl.dXdT, reference.dXdT) << back;
        EXPECT_FALSE(std::isnan(vl.X));
    }
}

TEST(VLLiquidBranchNearTheCriticalPointOfWater, LoopOfItsNeighbours) {
    // Within about 1e-6 C below 373.976 C the computed vapour pressure of
    // water (an expanded quadratic, rounded to some 1e-8 bar) can lie above the
    // critical-curve extension, which exactly lies above it. The branch there
    // joins the critical branch at 373.976 C (a separate formula) and lies near
    // the loop at 373.9759 C, whose composition moves by up to a few per cent
    // over that 1e-4 C next to the top.
    double tHigh = 373.976, tLow = 373.9759, pHigh = 200.0, pLow = 200.0;
    VLLiquidBranch high(&tHigh, &pHigh);
    VLLiquidBranch low(&tLow, &pLow);
    for (double t0 : {373.97599999999994, 373.97599999999, 373.9759999999, 373.97599999}) {
        double t = t0, p = 200.0;
        VLLiquidBranch vl(&t, &p);
        vl.Refresh();
        ASSERT_GT(vl.Pw, vl.Pc) << t0;  // the rounding this covers
        EXPECT_EQ(vl.XfromTP(&vl.t, &vl.Pw), 0.0) << t0;
        EXPECT_NEAR(vl.XfromTP(&vl.t, &vl.Pv), vl.Xs, 1e-13) << t0;
        for (double f : {0.01, 0.5, 0.9, 0.99, 0.999}) {
            p = pHigh = pLow = vl.Pv + f * (vl.Pw - vl.Pv);
            vl.Refresh();
            high.Refresh();
            low.Refresh();
            ASSERT_TRUE(std::isfinite(vl.X)) << t0 << " C, " << p << " bar";
            EXPECT_NEAR(vl.X, high.X, 1e-6 * high.X) << t0 << " C, " << p << " bar";
            EXPECT_NEAR(vl.X, low.X, 0.02 * low.X) << t0 << " C, " << p << " bar";
        }
    }
}

}  // namespace
