#include <gtest/gtest.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>

#include <cmath>

using namespace quarvessin;

namespace {

class HaliteSaturatedVaporTest : public ::testing::Test {
  protected:
    double t = 500.0;
    double p = 100.0;
    HaliteSaturatedVapor vapor{&t, &p};

    void At(double tc, double pc) {
        t = tc;
        p = pc;
        vapor.Refresh();
    }

    // Vapour composition written out independently, with every member value
    // and temperature function moved along its own slope by a temperature
    // step h: its derivative at h = 0 is the chain-rule slope with the member
    // values and slopes held fixed.
    double Linearised(double h) const {
        const HaliteSaturatedVapor& v = vapor;
        const double pc = v.Pcrit + v.dPcritdT * h, pn = v.PNaCl + v.dPNaCldT * h;
        const double xl = v.xLH + v.dxLHdT * h, xn = v.xLHn + v.dxLHndT * h;
        const double a0 = v.j0 + v.dj0dT * h, a1 = v.j1 + v.dj1dT * h;
        const double a2 = v.j2 + v.dj2dT * h, a3 = v.j3 + v.dj3dT * h;
        const double w = (pc - p) / (pc - pn);
        const double s =
            1.0 + a0 * std::pow(w, a1) + a2 * w + a3 * w * w - (1.0 + a0 + a2 + a3) * w * w * w;
        const double e = (1.0 - s) * std::log10(xn) + s * std::log10(pn / pc) - std::log10(pn / p);
        return xl * std::pow(10.0, -e);
    }

    // Analytic dxVH/dt from the member values and slopes held by the object,
    // written independently of the class: d(ln x)/dt = dxLH/xLH - ln10 dE.
    double ClosedFormSlope() const {
        const HaliteSaturatedVapor& v = vapor;
        const double ln10 = std::log(10.0);
        const double span = v.Pcrit - v.PNaCl;
        const double w = (v.Pcrit - p) / span;
        const double dw =
            (v.dPcritdT * span - (v.Pcrit - p) * (v.dPcritdT - v.dPNaCldT)) / (span * span);
        const double k = 1.0 + v.j0 + v.j2 + v.j3;
        const double wj = std::pow(w, v.j1);
        const double s = 1.0 + v.j0 * wj + v.j2 * w + v.j3 * w * w - k * w * w * w;
        const double ds = v.dj0dT * wj + v.j0 * wj * (v.dj1dT * std::log(w) + v.j1 * dw / w) +
                          v.dj2dT * w + v.j2 * dw + v.dj3dT * w * w + 2.0 * v.j3 * w * dw -
                          (v.dj0dT + v.dj2dT + v.dj3dT) * w * w * w - 3.0 * k * w * w * dw;
        const double l1 = std::log10(v.xLHn), l2 = std::log10(v.PNaCl / v.Pcrit);
        const double dl1 = v.dxLHndT / v.xLHn / ln10;
        const double dl2 = (v.dPNaCldT / v.PNaCl - v.dPcritdT / v.Pcrit) / ln10;
        const double e = (1.0 - s) * l1 + s * l2 - std::log10(v.PNaCl / p);
        const double de = (1.0 - s) * dl1 + s * dl2 + ds * (l2 - l1) - v.dPNaCldT / v.PNaCl / ln10;
        const double x = v.xLH * std::pow(10.0, -e);
        return x * (v.dxLHdT / v.xLH - ln10 * de);
    }
};

TEST_F(HaliteSaturatedVaporTest, AnchorsAtSublimationAndCriticalPressure) {
    for (double tc : {300.0, 500.0, 700.0}) {
        double tRef = tc, pRef = 0.0;
        CriticalCurve critical(&tRef);
        NaClSublimationCurve sublimation(&tRef, &pRef);
        HaliteLiquidus liquidus(&tRef, &pRef);
        At(tc, sublimation.PfromT(&tRef));
        EXPECT_NEAR(vapor.xVH, 1.0, 1e-12) << tc;  // design: pure NaCl vapour at PNaCl

        pRef = critical.PfromT(&tRef);
        liquidus.Refresh();
        At(tc, pRef);
        EXPECT_NEAR(vapor.xVH / liquidus.xL, 1.0, 1e-12) << tc;  // design: the liquidus at Pcrit
        EXPECT_TRUE(std::isnan(vapor.dxVHdT));                   // design: 0^j1 times ln 0 at W = 0
        At(tc, pRef * 1.01);
        EXPECT_TRUE(std::isnan(vapor.xVH));  // design: above Pcrit W < 0, not a number
    }
}

TEST_F(HaliteSaturatedVaporTest, CompositionFromStandAloneMembers) {
    for (double tc : {300.0, 450.0, 600.0}) {
        for (double pc : {1.0, 10.0, 100.0}) {
            At(tc, pc);
            double tRef = tc, pRef = pc, pnRef = vapor.PNaCl;
            CriticalCurve critical(&tRef);
            NaClSublimationCurve sublimation(&tRef, &pRef);
            HaliteLiquidus atP(&tRef, &pRef), atPNaCl(&tRef, &pnRef);
            atP.Refresh();
            atPNaCl.Refresh();
            EXPECT_EQ(vapor.Pcrit, critical.PfromT(&tRef));
            EXPECT_EQ(vapor.dPcritdT, critical.dPdTAt(&tRef));
            EXPECT_EQ(vapor.PNaCl, sublimation.PfromT(&tRef));
            EXPECT_EQ(vapor.dPNaCldT, sublimation.dPdT(&tRef));
            EXPECT_EQ(vapor.xLH, atP.xL);
            EXPECT_EQ(vapor.dxLHdT, atP.dxLdT);
            EXPECT_EQ(vapor.xLHn, atPNaCl.xL);
            EXPECT_EQ(vapor.dxLHndT, atPNaCl.dxLdT);
            if (vapor.Pn < 1.0) {  // above Pcrit not a number (tested above)
                EXPECT_NEAR(Linearised(0.0) / vapor.xVH, 1.0, 1e-11) << tc << " C " << pc << " bar";
            }
        }
    }
}

TEST_F(HaliteSaturatedVaporTest, TemperatureFunctionsAndSlopes) {
    // Hand evaluation at 396.848 C, the midpoint of the logistic term (G = 1).
    const double tm = 396.848;
    At(tm, 1.0);
    EXPECT_NEAR(vapor.j0, -0.188838 / std::exp(0.004 * tm) - 0.235694, 1e-15);
    EXPECT_NEAR(vapor.j1, 0.66918 - 0.6139334 / 2.0 - 3.2719e-07 * 538.547 * 538.547, 1e-15);
    EXPECT_NEAR(vapor.j2, -0.292631 + tm * (-0.00139991 + tm * (1.95965e-06 - 7.3653e-10 * tm)),
                1e-15);
    EXPECT_NEAR(vapor.j3, 0.904411 + tm * (0.000769766 - 1.18658e-06 * tm), 1e-15);
    // Their slopes are exact derivatives.
    for (double tc : {100.0, tm, 600.0}) {
        At(tc + 1e-3, 1.0);
        const double up[4] = {vapor.j0, vapor.j1, vapor.j2, vapor.j3};
        At(tc - 1e-3, 1.0);
        const double down[4] = {vapor.j0, vapor.j1, vapor.j2, vapor.j3};
        At(tc, 1.0);
        const double slope[4] = {vapor.dj0dT, vapor.dj1dT, vapor.dj2dT, vapor.dj3dT};
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(slope[k], (up[k] - down[k]) / 2e-3, 1e-10) << k << " " << tc;
    }
}

TEST_F(HaliteSaturatedVaporTest, SlopeIsChainRuleOfMemberSlopes) {
    // The critical slope is a fit and the liquidus slope along PNaCl(t) is
    // taken at constant pressure, so no finite difference of xVH can match.
    const double states[][2] = {
        {300.0, 10.0}, {450.0, 300.0}, {500.0, 1.0}, {600.0, 500.0}, {700.0, 1e-4}};
    for (const auto& s : states) {
        At(s[0], s[1]);
        const double fd = (Linearised(1e-4) - Linearised(-1e-4)) / 2e-4;
        EXPECT_NEAR(vapor.dxVHdT, fd, 1e-6 * std::fabs(fd)) << s[0] << " C " << s[1] << " bar";
        // The same slope in closed form, arranged as the logarithmic
        // derivative x (dxLH/xLH - ln10 dE) with W = (Pcrit - p)/(Pcrit - PNaCl);
        // agreement to rounding, far tighter than the difference above.
        EXPECT_NEAR(vapor.dxVHdT, ClosedFormSlope(), 1e-11 * std::fabs(vapor.dxVHdT))
            << s[0] << " C " << s[1] << " bar";
    }
}

TEST_F(HaliteSaturatedVaporTest, ConstructionAndRefreshCaching) {
    // Every input primed to owner's value - 1 before any member is built.
    EXPECT_EQ(vapor.pLiq, 99.0);
    EXPECT_EQ(vapor.liquidus.t, 498.0);
    At(499.0, 99.0);  // first evaluation exactly at the priming values still computes
    double tRef = 499.0, pRef = 99.0;
    HaliteSaturatedVapor reference(&tRef, &pRef);
    reference.Refresh();
    EXPECT_GT(vapor.xVH, 0.0);
    EXPECT_EQ(vapor.xVH, reference.xVH);
    EXPECT_EQ(vapor.dxVHdT, reference.dxVHdT);
    // Afterwards the liquidus is bound to (t, p) again, last computed at PNaCl.
    EXPECT_EQ(vapor.tLiq, 499.0);
    EXPECT_EQ(vapor.pLiq, 99.0);
    EXPECT_EQ(vapor.liquidus.p, vapor.PNaCl);

    vapor.xVH = -1.0;
    vapor.Refresh();
    EXPECT_EQ(vapor.xVH, -1.0);  // unchanged inputs: nothing recomputed
    At(499.0, std::nextafter(99.0, 0.0));
    EXPECT_NEAR(vapor.xVH, reference.xVH, 1e-9 * reference.xVH);  // p changed: recomputed
    vapor.xVH = -1.0;
    At(std::nextafter(499.0, 0.0), p);
    EXPECT_GT(vapor.xVH, 0.0);  // t changed: recomputed
}

}  // namespace
