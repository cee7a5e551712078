// Haar-Gallagher-Kell (1984) equation of state for water (L. Haar,
// J. S. Gallagher and G. S. Kell, NBS/NRC Steam Tables, Hemisphere, 1984).
//
// A(T, rho) = A_base + A_residual + A_ideal [kJ/kg], T in K, rho in g/cm3.
// - A_base = R T [ (169/z^2 - 260/z + 91)/6 - ln z + rho (B - 3.5 b)
//                  + ln(rho R T / P0) ],  z = 1 - b rho / 4,
//   the base function with alpha = 11, beta = 133/3, gamma = 7/2.
// - A_residual = sum_k (1/k) (1 - e^-rho)^k P_k(T0/T) plus four terms
//   g_i delta_i^l_i exp(-alpha_i delta_i^k_i - beta_i tau_i^2) that shape the
//   surface near the critical point (three) and in the cold dense liquid (one).
// - A_ideal = -R [ T (1 + X(tau) - 7.6180802) - 4328.455039 ], tau = T/100;
//   the two constants put u = s = 0 for the saturated liquid at the triple
//   point.
#include "water/eos.h"

#include <cmath>

namespace quarvessin {

namespace water_internal {
namespace {

// Reducing temperature of b(T), B(T) and the residual sum [K].
constexpr double T0 = 647.073;
// Reference pressure of the ideal-gas logarithm [MPa].
constexpr double P0 = 0.101325;
constexpr double R = kGasConstant;

// Excluded-volume function b(T) = bCoef[0] + bCoef[1] ln(T/T0) + bCoef[2] c^3
// + bCoef[3] c^5 and second-virial-like function B(T) = BCoef[0] + BCoef[1] c
// + BCoef[2] c^2 + BCoef[3] c^4, c = T0/T [cm3/g].
constexpr double bCoef[4] = {0.7478629, -0.3540782, 0.007159876, -0.003528426};
constexpr double BCoef[4] = {1.1278334, -0.5944001, -5.010996, 0.63684256};

// Temperature scale of the ideal-gas part, tau = T / idealTscale [K], and its
// two constants, which put u = s = 0 for the saturated liquid at the triple
// point [-], [K].
constexpr double idealTscale = 100.0;
constexpr double idealConstU = 7.6180802;
constexpr double idealConstS = 4328.455039;

// Main residual coefficients g [kJ/kg] as a 9 x 6 table: row k-1 holds the
// terms with (1 - e^-rho)^k, the columns the powers 0, 1, 2, 3, 4 and 6 of
// T0/T. Row k = 8 is empty in the formulation.
constexpr double G[9][6] = {
    {0.0, -5.3062968529023e+02, 2.2744901424408e+03, -2.6627944829770e+03, 7.8779333020687e+02,
     -6.9830527374994e+01},
    {0.0, 1.7863832875422e+04, -3.9514731563338e+04, 0.0, 3.3803884280753e+04,
     -1.3855050202703e+04},
    {6.8833257944332e+03, -2.5637436613260e+05, 4.8212575981415e+05, 2.1757245522644e+04,
     -3.4183016969660e+05, 1.2223156417448e+05},
    {0.0, 1.1797433655832e+06, -2.1734810110373e+06, 0.0, 1.0829952168620e+06,
     -2.5441998064049e+05},
    {0.0, -3.1377774947767e+06, 5.2911910757704e+06, -7.0730418082074e+04, -1.3802577177877e+06,
     -2.5109914369001e+05},
    {0.0, 4.6561826115608e+06, -7.2752773275387e+06, 0.0, 4.1774246148294e+05, 1.4016358244614e+06},
    {0.0, -3.1555231392127e+06, 4.7929666384584e+06, 0.0, 4.0912664781209e+05,
     -1.3626369388386e+06},
    {0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    {0.0, 6.9625220862664e+05, -1.0834900096447e+06, 0.0, -2.2722827401688e+05,
     3.8365486000660e+05},
};

// Ideal-gas coefficients c1..c18 [-] (C[0] is c1).
constexpr double C[18] = {
    19.730271018,       20.9662681977,     -0.483429455355,   6.05743189245,      // c1..c4
    22.56023885,        -9.87532442,       -4.3135538513,     0.458155781,        // c5..c8
    -0.047754901883,    0.0041238460633,   -0.00027929052852, 1.4481695261e-05,   // c9..c12
    -5.6473658748e-07,  1.6200446e-08,     -3.303822796e-10,  4.51916067368e-12,  // c13..c16
    -3.70734122708e-14, 1.37546068238e-16,                                        // c17, c18
};

// Four additional terms: coefficient g [kJ/kg], reducing density [g/cm3],
// reducing temperature [K], alpha, beta, power k of delta in the exponent,
// power l of delta in front.
constexpr double addG[4] = {-0.225, -1.68, 0.055, -93.0};
constexpr double addRho[4] = {0.319, 0.319, 0.319, 1.55};
constexpr double addT[4] = {640.0, 640.0, 641.6, 270.0};
constexpr double addAlpha[4] = {34.0, 40.0, 30.0, 1050.0};
constexpr double addBeta[4] = {20000.0, 20000.0, 40000.0, 25.0};
constexpr int addK[4] = {2, 2, 2, 4};
constexpr int addL[4] = {0, 2, 0, 0};

// x^n for a small non-negative integer n, by repeated multiplication.
double ipow(double x, int n) {
    double r = 1.0;
    for (int i = 0; i < n; ++i) r *= x;
    return r;
}

// Row polynomial P(c) = G0 + G1 c + G2 c^2 + G3 c^3 + G4 c^4 + G6 c^6 and its
// first three derivatives in c, by Horner's rule (power 5 absent).
double rowValue(const double* g, double c) {
    return g[0] + c * (g[1] + c * (g[2] + c * (g[3] + c * (g[4] + c * (c * g[5])))));
}
double rowC(const double* g, double c) {
    return g[1] + c * (2.0 * g[2] + c * (3.0 * g[3] + c * (4.0 * g[4] + c * (c * (6.0 * g[5])))));
}
double rowCC(const double* g, double c) {
    return 2.0 * g[2] + c * (6.0 * g[3] + c * (12.0 * g[4] + c * (c * (30.0 * g[5]))));
}
double rowCCC(const double* g, double c) {
    return 6.0 * g[3] + c * (24.0 * g[4] + c * (c * (120.0 * g[5])));
}

// Sums over the rows of the main residual part, by Horner's rule in q from
// k = 9 down to 1: S0 = sum (1/k) P_k q^k, S1 = sum P_k q^(k-1),
// S2 = sum (k-1) P_k q^(k-2), S3 = sum (k-1)(k-2) P_k q^(k-3). In S0 the
// factor 1/k is formed first and then multiplies the row polynomial.
double sum0(const double* P, double q) {
    double acc = 0.0;
    for (int k = 9; k >= 1; --k) acc = (acc + (1.0 / k) * P[k - 1]) * q;
    return acc;
}
double sum1(const double* P, double q) {
    double acc = P[8];
    for (int k = 8; k >= 1; --k) acc = acc * q + P[k - 1];
    return acc;
}
double sum2(const double* P, double q) {
    double acc = 8.0 * P[8];
    for (int k = 8; k >= 2; --k) acc = acc * q + (k - 1) * P[k - 1];
    return acc;
}
double sum3(const double* P, double q) {
    double acc = 56.0 * P[8];
    for (int k = 8; k >= 3; --k) acc = acc * q + (k - 1) * (k - 2) * P[k - 1];
    return acc;
}

// Derivatives of c = T0/T with respect to T.
struct CDerivs {
    double cT, cTT, cTTT;
};
CDerivs cDerivs(double c, double T) { return {-c / T, 2.0 * c / (T * T), -6.0 * c / (T * T * T)}; }

// First three derivatives in tau of the ideal-gas power sum
// sum_{n=1..12} c_(n+6) tau^n, by Horner's rule.
struct IdealSum {
    double x1, x2, x3;
};
IdealSum idealPowers(double tau) {
    // a_n = c_(n+6) multiplies tau^n, n = 1..12; C[n + 5] is a_n.
    IdealSum r{12.0 * C[17], 132.0 * C[17], 1320.0 * C[17]};
    for (int n = 11; n >= 1; --n) {
        const double a = C[n + 5];
        r.x1 = r.x1 * tau + n * a;
        if (n >= 2) r.x2 = r.x2 * tau + n * (n - 1) * a;
        if (n >= 3) r.x3 = r.x3 * tau + n * (n - 1) * (n - 2) * a;
    }
    return r;
}

// Second derivative in tau of X(tau): the logarithmic and inverse-power terms,
// then the power sum x2 of idealPowers.
double idealX2(double tau, double lnTau, double x2) {
    const double t2 = tau * tau;
    const double t3 = t2 * tau;
    const double t4 = t3 * tau;
    const double t5 = t4 * tau;
    return 2.0 * C[0] * lnTau / t3 - 3.0 * C[0] / t3 - C[1] / t2 + 12.0 * C[2] / t5 +
           6.0 * C[3] / t4 + 2.0 * C[4] / t3 + x2;
}

}  // namespace

void tempTerms(double T, EosWork& w) {
    w.T = T;
    const double c = T0 / T;
    w.c = c;
    const double c2 = c * c;
    const double c3 = c2 * c;
    const double c4 = c3 * c;
    const double c5 = c4 * c;
    const CDerivs cd = cDerivs(c, T);

    // b(T) and its temperature derivatives.
    w.b = bCoef[0] + bCoef[1] * std::log(T / T0) + bCoef[2] * c3 + bCoef[3] * c5;
    w.bT = (bCoef[1] - 3.0 * bCoef[2] * c3 - 5.0 * bCoef[3] * c5) / T;
    w.bTT = (-bCoef[1] + 12.0 * bCoef[2] * c3 + 30.0 * bCoef[3] * c5) / (T * T);

    // B(T) and its temperature derivatives, through c.
    w.B = BCoef[0] + BCoef[1] * c + BCoef[2] * c2 + BCoef[3] * c4;
    const double Bc = BCoef[1] + 2.0 * BCoef[2] * c + 4.0 * BCoef[3] * c3;
    const double Bcc = 2.0 * BCoef[2] + 12.0 * BCoef[3] * c2;
    w.BT = Bc * cd.cT;
    w.BTT = Bcc * cd.cT * cd.cT + Bc * cd.cTT;

    // Ideal-gas part.
    const double tau = T / idealTscale;
    const double lnTau = std::log(tau);
    const IdealSum ps = idealPowers(tau);
    // X(tau) term by term, left to right: the logarithmic and inverse-power
    // terms, then c7 tau + c8 tau^2 + ... + c18 tau^12 with each power the
    // previous one times tau.
    double X = (C[0] / tau + C[1]) * lnTau + C[2] / (tau * tau * tau) + C[3] / (tau * tau) +
               C[4] / tau + C[5];
    double tauN = 1.0;
    for (int j = 6; j < 18; ++j) {
        tauN = tauN * tau;
        X = X + C[j] * tauN;
    }
    const double t2 = tau * tau;
    const double t3 = t2 * tau;
    const double t4 = t3 * tau;
    const double X1 = -C[0] * lnTau / t2 + (C[0] / tau + C[1]) / tau - 3.0 * C[2] / t4 -
                      2.0 * C[3] / t3 - C[4] / t2 + ps.x1;
    const double X2 = idealX2(tau, lnTau, ps.x2);
    w.ideal = HelmholtzPart{};
    w.ideal.a = -R * (T * (1.0 + X - idealConstU) - idealConstS);
    w.ideal.aT = -R * (1.0 + X - idealConstU + tau * X1);
    w.ideal.aTT = -R * (2.0 * X1 + tau * X2) / idealTscale;
}

void densityTerms(double T, double rho, EosWork& w) {
    w.rho = rho;
    const double RT = R * T;

    // Base function, written as R T Phi(z(T, rho), rho, T).
    {
        const double z = 1.0 - w.b * rho / 4.0;
        w.z = z;
        const double z2 = z * z;
        const double z3 = z2 * z;
        const double z4 = z3 * z;
        const double zd = -w.b / 4.0;
        const double zT = -w.bT * rho / 4.0;
        const double zdT = -w.bT / 4.0;
        const double zTT = -w.bTT * rho / 4.0;
        const double F1 = (-338.0 / z3 + 260.0 / z2) / 6.0 - 1.0 / z;
        const double F2 = (1014.0 / z4 - 520.0 / z3) / 6.0 + 1.0 / z2;
        const double Gb = w.B - 3.5 * w.b;
        const double GbT = w.BT - 3.5 * w.bT;
        const double GbTT = w.BTT - 3.5 * w.bTT;
        const double phi = (169.0 / z2 - 260.0 / z + 91.0) / 6.0 - std::log(z) + rho * Gb +
                           std::log(rho * R * T / P0);
        const double phiD = F1 * zd + Gb + 1.0 / rho;
        const double phiDD = F2 * zd * zd - 1.0 / (rho * rho);
        const double phiT = F1 * zT + rho * GbT + 1.0 / T;
        const double phiTT = F2 * zT * zT + F1 * zTT + rho * GbTT - 1.0 / (T * T);
        const double phiDT = F2 * zd * zT + F1 * zdT + GbT;
        w.base.a = R * T * phi;
        w.base.ad = RT * phiD;
        w.base.add = RT * phiDD;
        w.base.aT = R * phi + RT * phiT;
        w.base.aTT = 2.0 * R * phiT + RT * phiTT;
        w.base.adT = R * phiD + RT * phiDT;
    }

    // Residual function: main sum.
    {
        const double c = T0 / T;
        const CDerivs cd = cDerivs(c, T);
        for (int k = 0; k < 9; ++k) {
            w.row[k] = rowValue(G[k], c);
            w.rowC[k] = rowC(G[k], c);
            w.rowCC[k] = rowCC(G[k], c);
        }
        const double e = std::exp(-rho);
        const double q = 1.0 - e;
        w.e = e;
        w.q = q;
        const double S1 = sum1(w.row, q);
        const double S1c = sum1(w.rowC, q);
        const double S0c = sum0(w.rowC, q);
        w.res.a = sum0(w.row, q);
        w.res.ad = e * S1;
        w.res.add = e * e * sum2(w.row, q) - e * S1;
        w.res.aT = cd.cT * S0c;
        w.res.aTT = cd.cT * cd.cT * sum0(w.rowCC, q) + cd.cTT * S0c;
        w.res.adT = e * cd.cT * S1c;
    }

    // Residual function: the four additional terms. A distance |delta| below
    // the machine epsilon is floored to it, so that the factors delta^(l-1)
    // and 1/delta of the derivatives stay finite.
    for (int i = 0; i < 4; ++i) {
        double delta = (rho - addRho[i]) / addRho[i];
        if (std::fabs(delta) < kEpsilon) delta = kEpsilon;
        const double tau = (T - addT[i]) / addT[i];
        const int k = addK[i];
        const int l = addL[i];
        const double dk = ipow(delta, k);
        const double dl = ipow(delta, l);
        // exp(-alpha delta^k - beta tau^2), the square formed before the
        // product with beta.
        const double ex = std::exp(-addAlpha[i] * dk - addBeta[i] * (tau * tau));
        const double E = addG[i] * ex;
        w.addDelta[i] = delta;
        w.addTau[i] = tau;
        w.addExp[i] = E;
        // Exponent psi(delta) = -alpha delta^k and chi(tau) = -beta tau^2, and
        // the prefactor L(delta) = delta^l, with their derivatives.
        const double psi1 = -addAlpha[i] * k * dk / delta;
        const double psi2 = -addAlpha[i] * k * (k - 1) * dk / (delta * delta);
        const double L1 = l * dl / delta;
        const double L2 = l * (l - 1) * dl / (delta * delta);
        const double chi1 = -2.0 * addBeta[i] * tau;
        const double chi2 = -2.0 * addBeta[i];
        const double hD = L1 + dl * psi1;  // d/ddelta of L e^psi, / e^psi
        const double hDD = L2 + 2.0 * L1 * psi1 + dl * (psi1 * psi1 + psi2);
        const double r1 = 1.0 / addRho[i];
        const double t1 = 1.0 / addT[i];
        w.res.a += addG[i] * dl * ex;  // g delta^l exp(...), left to right
        w.res.ad += hD * E * r1;
        w.res.add += hDD * E * r1 * r1;
        w.res.aT += dl * chi1 * E * t1;
        w.res.aTT += dl * (chi1 * chi1 + chi2) * E * t1 * t1;
        w.res.adT += hD * chi1 * E * r1 * t1;
    }

    // Combination into the properties.
    w.f = w.base.a + w.res.a + w.ideal.a;
    w.p = rho * rho * (w.base.ad + w.res.ad);
    w.dpdd = 2.0 * w.p / rho + rho * rho * (w.base.add + w.res.add);
    w.dpdT = rho * rho * (w.base.adT + w.res.adT);
    w.s = -(w.base.aT + w.res.aT + w.ideal.aT);
    w.u = w.f + T * w.s;
    w.h = w.u + w.p / rho;
    w.g = w.f + w.p / rho;
    w.cv = -T * (w.base.aTT + w.res.aTT + w.ideal.aTT);
    w.cp = w.cv + T * (w.dpdT * w.dpdT) / (rho * rho * w.dpdd);
}

void evalTd(double T, double rho, EosWork& work) {
    tempTerms(T, work);
    densityTerms(T, rho, work);
}

void thirdDerivatives(double T, double rho, EosWork& w) {
    const double c = w.c;
    const double c3 = c * c * c;
    const double c5 = c3 * c * c;
    const CDerivs cd = cDerivs(c, T);
    const double RT = R * T;

    // Third temperature derivatives of b, B and the ideal-gas part.
    w.bTTT = (2.0 * bCoef[1] - 60.0 * bCoef[2] * c3 - 210.0 * bCoef[3] * c5) / (T * T * T);
    {
        const double Bc = BCoef[1] + 2.0 * BCoef[2] * c + 4.0 * BCoef[3] * c3;
        const double Bcc = 2.0 * BCoef[2] + 12.0 * BCoef[3] * c * c;
        const double Bccc = 24.0 * BCoef[3] * c;
        w.BTTT = Bccc * cd.cT * cd.cT * cd.cT + 3.0 * Bcc * cd.cT * cd.cTT + Bc * cd.cTTT;
    }
    {
        const double tau = T / idealTscale;
        const double lnTau = std::log(tau);
        const IdealSum ps = idealPowers(tau);
        const double t2 = tau * tau;
        const double t3 = t2 * tau;
        const double t4 = t3 * tau;
        const double t5 = t4 * tau;
        const double t6 = t5 * tau;
        const double X2 = idealX2(tau, lnTau, ps.x2);
        const double X3 = -6.0 * C[0] * lnTau / t4 + 11.0 * C[0] / t4 + 2.0 * C[1] / t3 -
                          60.0 * C[2] / t6 - 24.0 * C[3] / t5 - 6.0 * C[4] / t4 + ps.x3;
        w.ideal.aTTT = -R * (3.0 * X2 + tau * X3) / (idealTscale * idealTscale);
    }

    // Base function.
    {
        const double z = w.z;
        const double z2 = z * z;
        const double z3 = z2 * z;
        const double z4 = z3 * z;
        const double z5 = z4 * z;
        const double zd = -w.b / 4.0;
        const double zT = -w.bT * rho / 4.0;
        const double zdT = -w.bT / 4.0;
        const double zTT = -w.bTT * rho / 4.0;
        const double zdTT = -w.bTT / 4.0;
        const double zTTT = -w.bTTT * rho / 4.0;
        const double F1 = (-338.0 / z3 + 260.0 / z2) / 6.0 - 1.0 / z;
        const double F2 = (1014.0 / z4 - 520.0 / z3) / 6.0 + 1.0 / z2;
        const double F3 = (-4056.0 / z5 + 1560.0 / z4) / 6.0 - 2.0 / z3;
        const double GbT = w.BT - 3.5 * w.bT;
        const double GbTT = w.BTT - 3.5 * w.bTT;
        const double GbTTT = w.BTTT - 3.5 * w.bTTT;
        const double phiDD = F2 * zd * zd - 1.0 / (rho * rho);
        const double phiDT = F2 * zd * zT + F1 * zdT + GbT;
        const double phiTT = F2 * zT * zT + F1 * zTT + rho * GbTT - 1.0 / (T * T);
        const double phiDDD = F3 * zd * zd * zd + 2.0 / (rho * rho * rho);
        const double phiDDT = F3 * zd * zd * zT + 2.0 * F2 * zd * zdT;
        const double phiDTT =
            F3 * zT * zT * zd + F2 * (2.0 * zdT * zT + zd * zTT) + F1 * zdTT + GbTT;
        const double phiTTT =
            F3 * zT * zT * zT + 3.0 * F2 * zT * zTT + F1 * zTTT + rho * GbTTT + 2.0 / (T * T * T);
        w.base.addd = RT * phiDDD;
        w.base.addT = R * phiDD + RT * phiDDT;
        w.base.adTT = 2.0 * R * phiDT + RT * phiDTT;
        w.base.aTTT = 3.0 * R * phiTT + RT * phiTTT;
    }

    // Residual main sum.
    {
        const double e = w.e;
        const double q = w.q;
        double rowCCC_[9];
        for (int k = 0; k < 9; ++k) rowCCC_[k] = rowCCC(G[k], c);
        const double S1c = sum1(w.rowC, q);
        w.res.addd = e * e * e * sum3(w.row, q) - 3.0 * e * e * sum2(w.row, q) + e * sum1(w.row, q);
        w.res.addT = cd.cT * (e * e * sum2(w.rowC, q) - e * S1c);
        w.res.adTT = e * (cd.cT * cd.cT * sum1(w.rowCC, q) + cd.cTT * S1c);
        w.res.aTTT = cd.cT * cd.cT * cd.cT * sum0(rowCCC_, q) +
                     3.0 * cd.cT * cd.cTT * sum0(w.rowCC, q) + cd.cTTT * sum0(w.rowC, q);
    }

    // Residual additional terms.
    for (int i = 0; i < 4; ++i) {
        const double delta = w.addDelta[i];
        const double tau = w.addTau[i];
        const double E = w.addExp[i];
        const int k = addK[i];
        const int l = addL[i];
        const double dk = ipow(delta, k);
        const double dl = ipow(delta, l);
        const double d2 = delta * delta;
        const double d3 = d2 * delta;
        const double psi1 = -addAlpha[i] * k * dk / delta;
        const double psi2 = -addAlpha[i] * k * (k - 1) * dk / d2;
        const double psi3 = -addAlpha[i] * k * (k - 1) * (k - 2) * dk / d3;
        const double L1 = l * dl / delta;
        const double L2 = l * (l - 1) * dl / d2;
        const double L3 = l * (l - 1) * (l - 2) * dl / d3;
        const double chi1 = -2.0 * addBeta[i] * tau;
        const double chi2 = -2.0 * addBeta[i];
        const double hD = L1 + dl * psi1;
        const double hDD = L2 + 2.0 * L1 * psi1 + dl * (psi1 * psi1 + psi2);
        const double hDDD = L3 + 3.0 * L2 * psi1 + 3.0 * L1 * (psi1 * psi1 + psi2) +
                            dl * (psi1 * psi1 * psi1 + 3.0 * psi1 * psi2 + psi3);
        const double mT = chi1;
        const double mTT = chi1 * chi1 + chi2;
        const double mTTT = chi1 * chi1 * chi1 + 3.0 * chi1 * chi2;
        const double r1 = 1.0 / addRho[i];
        const double t1 = 1.0 / addT[i];
        w.res.addd += hDDD * E * r1 * r1 * r1;
        w.res.addT += hDD * mT * E * r1 * r1 * t1;
        w.res.adTT += hD * mTT * E * r1 * t1 * t1;
        w.res.aTTT += dl * mTTT * E * t1 * t1 * t1;
    }

    // Second derivatives of pressure and the temperature derivative of cv.
    const double rho2 = rho * rho;
    const double aDDD = w.base.addd + w.res.addd;
    const double aDDT = w.base.addT + w.res.addT;
    const double aDTT = w.base.adTT + w.res.adTT;
    const double aTTT = w.base.aTTT + w.res.aTTT + w.ideal.aTTT;
    w.d2pdd2 = -6.0 * w.p / rho2 + 4.0 * w.dpdd / rho + rho2 * aDDD;
    w.d2pdTdd = 2.0 * w.dpdT / rho + rho2 * aDDT;
    w.d2pdT2 = rho2 * aDTT;
    w.dcvdT = w.cv / T - T * aTTT;
}

}  // namespace water_internal

}  // namespace quarvessin
