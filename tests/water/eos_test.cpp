// Equation of state of water: published check values, the near-critical
// terms at their reducing densities, and the third-derivative stage against
// finite differences of the second derivatives.
#include "eos.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using water_internal::EosWork;
using water_internal::evalTd;

// Direct evaluations of A(T, rho) listed with the coefficient sheet of the
// formulation (10 significant digits), library units.
TEST(WaterEos, ReproducesTheCheckTable) {
    struct Row {
        double T, rho, p, f, s, u, h, cv, cp;
    };
    const Row rows[] = {
        {300, 1e-05, 0.001383704776, -273.486819, 8.951703935, 2412.024361, 2550.394839,
         1.409894354, 1.874119408},
        {300, 0.997, 1.066298823, -5.359782068, 0.3925339405, 112.4004001, 113.4699074, 4.128745898,
         4.180421514},
        {400, 0.94, 5.075816341, -107.7822918, 1.596640331, 530.8738405, 536.2736451, 3.632862057,
         4.248562888},
        {500, 0.85, 24.12097755, -317.9194547, 2.541651466, 952.9062783, 981.2838989, 3.204431856,
         4.49292805},
        {647.126, 0.32189, 22.05491494, -835.9495674, 4.4093306, 2017.442906, 2085.959837,
         6.879698475, 4376.071455},
        {700, 0.2, 30.99302288, -1140.826913, 5.107398666, 2434.352154, 2589.317268, 3.073678063,
         11.52122625},
        {1000, 0.1, 41.36894104, -3094.353681, 6.427180493, 3332.826812, 3746.516222, 2.044943657,
         3.010372869},
        {2000, 0.5, 671.1254608, -8618.07016, 6.928024769, 5237.979379, 6580.2303, 2.594750119,
         3.235610103},
    };
    // 10 printed digits: 1e-9 relative, plus 1e-8 MPa absolute on pressure
    // (dense-liquid pressures are differences of terms of order 1e7 kJ/kg).
    auto near = [](double actual, double expected, double abs = 0.0) {
        return std::fabs(actual - expected) <= 1e-9 * std::fabs(expected) + abs;
    };
    for (const Row& r : rows) {
        EosWork w;
        evalTd(r.T, r.rho, w);
        EXPECT_TRUE(near(w.p, r.p, 1e-8)) << r.T << " " << r.rho << " p " << w.p;
        EXPECT_TRUE(near(w.f, r.f)) << r.T << " " << r.rho << " f " << w.f;
        EXPECT_TRUE(near(w.s, r.s)) << r.T << " " << r.rho << " s " << w.s;
        EXPECT_TRUE(near(w.u, r.u)) << r.T << " " << r.rho << " u " << w.u;
        EXPECT_TRUE(near(w.h, r.h)) << r.T << " " << r.rho << " h " << w.h;
        EXPECT_TRUE(near(w.cv, r.cv)) << r.T << " " << r.rho << " cv " << w.cv;
        EXPECT_TRUE(near(w.cp, r.cp)) << r.T << " " << r.rho << " cp " << w.cp;
        // Identities of the combination: g = f + p/rho, h = u + p/rho.
        EXPECT_NEAR(w.g - w.f, w.p / r.rho, 1e-12 * std::fabs(w.g) + 1e-12);
        EXPECT_NEAR(w.h - w.u, w.p / r.rho, 1e-12 * std::fabs(w.h) + 1e-12);
    }
}

TEST(WaterEos, CriticalPointOfTheEquation) {
    EosWork w;
    evalTd(647.126, 0.32189, w);
    // 22.054915 MPa to seven significant digits (critical pressure the
    // saturation and range limits use).
    EXPECT_NEAR(w.p, 22.054915, 0.0000005);
    // Near-zero compressibility term makes cp large (no guard applied).
    EXPECT_GT(w.cp, 1000.0);
}

TEST(WaterEos, AdditionalTermsFiniteAtTheirReducingDensities) {
    // delta = 0 exactly for the near-critical terms (0.319) and the dense
    // liquid term (1.55): the floored distance keeps every value finite.
    for (double rho : {0.319, 1.55}) {
        EosWork w;
        evalTd(640.0, rho, w);
        water_internal::thirdDerivatives(640.0, rho, w);
        for (double v :
             {w.p, w.dpdd, w.dpdT, w.s, w.cv, w.cp, w.d2pdd2, w.d2pdTdd, w.d2pdT2, w.dcvdT}) {
            EXPECT_TRUE(std::isfinite(v)) << rho;
        }
        // Continuity across the reducing density (the term is smooth there).
        EosWork lo;
        evalTd(640.0, rho * (1.0 - 1e-9), lo);
        EXPECT_NEAR(w.dpdd, lo.dpdd, 1e-5 * std::fabs(w.dpdd));
    }
}

TEST(WaterEos, StagesSplitAsOneEvaluation) {
    // tempTerms once and densityTerms at two densities equals evalTd at each
    // (two code paths that must agree exactly).
    EosWork a;
    water_internal::tempTerms(450.0, a);
    water_internal::densityTerms(450.0, 0.002, a);
    water_internal::densityTerms(450.0, 0.89, a);
    EosWork b;
    evalTd(450.0, 0.89, b);
    EXPECT_EQ(a.p, b.p);
    EXPECT_EQ(a.h, b.h);
    EXPECT_EQ(a.cp, b.cp);
}

// The third-derivative stage against central differences of the analytic
// first and second derivatives of the density stage.
TEST(WaterEos, ThirdDerivativesMatchFiniteDifferences) {
    const double states[][2] = {{300, 0.997}, {450, 0.002}, {640, 0.319},
                                {650, 0.3},   {270, 1.0},   {1500, 0.4}};
    for (const auto& st : states) {
        const double T = st[0];
        const double rho = st[1];
        EosWork w;
        evalTd(T, rho, w);
        water_internal::thirdDerivatives(T, rho, w);
        const double hT = 1e-3;
        const double hd = 1e-6;
        EosWork tp, tm, dp, dm;
        evalTd(T + hT, rho, tp);
        evalTd(T - hT, rho, tm);
        evalTd(T, rho + hd, dp);
        evalTd(T, rho - hd, dm);
        const double pTT = (tp.dpdT - tm.dpdT) / (2 * hT);
        const double pTd = (dp.dpdT - dm.dpdT) / (2 * hd);
        const double pdT = (tp.dpdd - tm.dpdd) / (2 * hT);
        const double pdd = (dp.dpdd - dm.dpdd) / (2 * hd);
        const double cvT = (tp.cv - tm.cv) / (2 * hT);
        // Tolerance: rounding of the liquid pressure derivatives (~1e-6 MPa
        // per g/cm3) over the steps, and 1e-6 relative.
        EXPECT_NEAR(w.d2pdT2, pTT, 1e-6 * std::fabs(pTT) + 2e-6) << T << " " << rho;
        EXPECT_NEAR(w.d2pdTdd, pTd, 1e-6 * std::fabs(pTd) + 1e-3) << T << " " << rho;
        EXPECT_NEAR(w.d2pdTdd, pdT, 1e-6 * std::fabs(pdT) + 1e-3) << T << " " << rho;
        EXPECT_NEAR(w.d2pdd2, pdd, 1e-6 * std::fabs(pdd) + 1.0) << T << " " << rho;
        EXPECT_NEAR(w.dcvdT, cvT, 1e-6 * std::fabs(cvT) + 1e-9) << T << " " << rho;
    }
}

}  // namespace
