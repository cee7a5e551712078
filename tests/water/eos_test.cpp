// Equation of state of water: published check values, the near-critical
// terms at their reducing densities, and the third-derivative stage against
// finite differences of the second derivatives.
#include "water/eos.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quarvessin;

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

// The base and residual functions written out term by term, from the 36 main
// coefficients in the order of the 1984 publication (term i: power k_i of
// 1 - e^-rho, power l_i of T0/T, coefficient g_i [kJ/kg]). The evaluation
// order is fixed (rows and the sum over k by Horner's rule with the factor
// 1/k formed before it multiplies the row, every product left to right,
// squares and integer powers formed before they multiply), so the
// library must agree to the last bit; a transposed coefficient, a regrouped
// product or a misplaced term shows up here and in nothing coarser.
struct MainTerm {
    int k, l;
    double g;
};
constexpr MainTerm kMainTerms[36] = {
    {1, 1, -5.3062968529023e+02}, {1, 2, 2.2744901424408e+03},  {1, 4, 7.8779333020687e+02},
    {1, 6, -6.9830527374994e+01}, {2, 1, 1.7863832875422e+04},  {2, 2, -3.9514731563338e+04},
    {2, 4, 3.3803884280753e+04},  {2, 6, -1.3855050202703e+04}, {3, 1, -2.5637436613260e+05},
    {3, 2, 4.8212575981415e+05},  {3, 4, -3.4183016969660e+05}, {3, 6, 1.2223156417448e+05},
    {4, 1, 1.1797433655832e+06},  {4, 2, -2.1734810110373e+06}, {4, 4, 1.0829952168620e+06},
    {4, 6, -2.5441998064049e+05}, {5, 1, -3.1377774947767e+06}, {5, 2, 5.2911910757704e+06},
    {5, 4, -1.3802577177877e+06}, {5, 6, -2.5109914369001e+05}, {6, 1, 4.6561826115608e+06},
    {6, 2, -7.2752773275387e+06}, {6, 4, 4.1774246148294e+05},  {6, 6, 1.4016358244614e+06},
    {7, 1, -3.1555231392127e+06}, {7, 2, 4.7929666384584e+06},  {7, 4, 4.0912664781209e+05},
    {7, 6, -1.3626369388386e+06}, {9, 1, 6.9625220862664e+05},  {9, 2, -1.0834900096447e+06},
    {9, 4, -2.2722827401688e+05}, {9, 6, 3.8365486000660e+05},  {3, 0, 6.8833257944332e+03},
    {3, 3, 2.1757245522644e+04},  {1, 3, -2.6627944829770e+03}, {5, 3, -7.0730418082074e+04},
};

double residualWrittenOut(double T, double rho) {
    const double T0 = 647.073;
    double row[10][7] = {};  // row[k][l]
    for (const MainTerm& t : kMainTerms) row[t.k][t.l] = t.g;
    const double c = T0 / T;
    const double q = 1.0 - std::exp(-rho);
    double sum = 0.0;
    for (int k = 9; k >= 1; --k) {
        double P = row[k][6];
        for (int l = 5; l >= 0; --l) P = P * c + row[k][l];
        sum = (sum + (1.0 / k) * P) * q;
    }
    // g delta^l exp(-alpha delta^k - beta tau^2); |delta| floored at the
    // machine epsilon.
    const double g[4] = {-0.225, -1.68, 0.055, -93.0};
    const double rhoI[4] = {0.319, 0.319, 0.319, 1.55};
    const double TI[4] = {640.0, 640.0, 641.6, 270.0};
    const double alpha[4] = {34.0, 40.0, 30.0, 1050.0};
    const double beta[4] = {20000.0, 20000.0, 40000.0, 25.0};
    for (int i = 0; i < 4; ++i) {
        double delta = (rho - rhoI[i]) / rhoI[i];
        if (std::fabs(delta) < 2.220446049250313e-16) delta = 2.220446049250313e-16;
        const double tau = (T - TI[i]) / TI[i];
        const double d2 = delta * delta;
        const double dk = i == 3 ? d2 * delta * delta : d2;
        const double dl = i == 1 ? d2 : 1.0;
        sum += g[i] * dl * std::exp(-alpha[i] * dk - beta[i] * (tau * tau));
    }
    return sum;
}

double baseWrittenOut(double T, double rho) {
    const double R = 0.461522;
    const double T0 = 647.073;
    const double c = T0 / T;
    const double b = 0.7478629 - 0.3540782 * std::log(T / T0) + 0.007159876 * (c * c * c) -
                     0.003528426 * (c * c * c * c * c);
    const double B = 1.1278334 - 0.5944001 * c - 5.010996 * (c * c) + 0.63684256 * (c * c * c * c);
    const double z = 1.0 - b * rho / 4.0;
    return R * T *
           ((169.0 / (z * z) - 260.0 / z + 91.0) / 6.0 - std::log(z) + rho * (B - 3.5 * b) +
            std::log(rho * R * T / 0.101325));
}

// Ideal-gas part with the 18 coefficients of the formulation, X(tau) term by
// term left to right, tau^n as the running product.
double idealWrittenOut(double T) {
    const double c[18] = {
        19.730271018,      20.9662681977,      -0.483429455355,   6.05743189245,   22.56023885,
        -9.87532442,       -4.3135538513,      0.458155781,       -0.047754901883, 0.0041238460633,
        -0.00027929052852, 1.4481695261e-05,   -5.6473658748e-07, 1.6200446e-08,   -3.303822796e-10,
        4.51916067368e-12, -3.70734122708e-14, 1.37546068238e-16};
    const double tau = T / 100.0;
    double X = (c[0] / tau + c[1]) * std::log(tau) + c[2] / (tau * tau * tau) + c[3] / (tau * tau) +
               c[4] / tau + c[5];
    double tauN = 1.0;
    for (int j = 7; j <= 18; ++j) {
        tauN = tauN * tau;
        X = X + c[j - 1] * tauN;
    }
    return -0.461522 * (T * (1.0 + X - 7.6180802) - 4328.455039);
}

TEST(WaterEos, HelmholtzPartsAgreeBitForBitWithATermByTermEvaluation) {
    // Liquid, vapour, the near-critical terms' region and the cold dense
    // liquid where the fourth additional term counts; the states 639.5 K to
    // 288 K are ones where forming beta tau^2 or g delta^l exp(...) in
    // another grouping moves the last bit.
    const double states[][2] = {{300, 0.997}, {450, 0.002}, {640, 0.319},   {641.0, 0.29},
                                {645, 0.35},  {650, 0.3},   {270, 1.0},     {275, 1.2},
                                {260, 1.55},  {2000, 0.5},  {639.5, 0.249}, {647.5, 0.391},
                                {283, 1.285}, {288, 1.3}};
    for (const auto& st : states) {
        EosWork w;
        evalTd(st[0], st[1], w);
        EXPECT_EQ(w.res.a, residualWrittenOut(st[0], st[1])) << st[0] << " K " << st[1];
        EXPECT_EQ(w.base.a, baseWrittenOut(st[0], st[1])) << st[0] << " K " << st[1];
        EXPECT_EQ(w.ideal.a, idealWrittenOut(st[0])) << st[0] << " K";
    }
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
        // cv of the cold dense liquid is a difference of terms of order 1e6
        // kJ/kg and carries a rounding noise of up to about 2e-10 kJ/(kg K),
        // which the difference quotient divides by its step.
        EXPECT_NEAR(w.dcvdT, cvT, 1e-6 * std::fabs(cvT) + 2e-10 / hT) << T << " " << rho;
    }
}

}  // namespace
