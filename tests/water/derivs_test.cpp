// Derivative sets of the property records against central finite
// differences of the library's own values, in single-phase states and in
// liquid-vapour mixtures: (T, rho) derivatives of grades 1 and 2, and the
// (p,h) and (p,s) sets with their grade-2 entries.
#include <gtest/gtest.h>
#include <quarvessin/water.h>

#include <cmath>
#include <functional>
#include <string>

using namespace quarvessin;

namespace {

using Getter = std::function<double(const WaterProps&)>;

// Partial derivatives in temperature (constant density) and density
// (constant temperature), SI.
struct Partials {
    double T, d;
};

struct State {
    double T;  // [K]
    double d;  // [kg/m3]
    int phase;
};

// Single-phase states (liquid, compressed liquid, vapour, supercritical near
// and far from the critical point) and mixtures across the dome.
const State kStates[] = {
    {300.0, 997.0, 1},  {500.0, 850.0, 1},  {500.0, 5.0, 1},  {650.0, 300.0, 1},
    {1000.0, 100.0, 1}, {373.15, 500.0, 2}, {450.0, 50.0, 2}, {600.0, 300.0, 2},
};

// Central differences of a record value around (T, d) on a record of the
// given letters and grade; the perturbed states must keep the phase.
class Differencer {
  public:
    Differencer(char v1, char v2, int grade) : rec_(newProp(v1, v2, grade)) {}
    ~Differencer() { freeProp(rec_); }
    Differencer(const Differencer&) = delete;
    Differencer& operator=(const Differencer&) = delete;

    Partials at(const State& s, const Getter& get) {
        // Steps 0.01 K and 1e-5 relative in density, with Richardson
        // extrapolation over h and h/2 (error of order h^4): the truncation
        // error stays below 1e-8 relative even next to the critical point,
        // and the rounding of the liquid pressure (about 1e-3 Pa) stays well
        // below the differences.
        const double hT = 0.01;
        const double hd = 1e-5 * s.d;
        auto dT = [&](double h) {
            return (value(s.T + h, s.d, s.phase, get) - value(s.T - h, s.d, s.phase, get)) /
                   (2 * h);
        };
        auto dd = [&](double h) {
            return (value(s.T, s.d + h, s.phase, get) - value(s.T, s.d - h, s.phase, get)) /
                   (2 * h);
        };
        return {(4.0 * dT(hT / 2) - dT(hT)) / 3.0, (4.0 * dd(hd / 2) - dd(hd)) / 3.0};
    }
    WaterProps* eval(const State& s) {
        propTd(s.T, s.d, rec_);
        EXPECT_EQ(rec_->status, 0);
        EXPECT_EQ(rec_->phase, s.phase) << s.T << " " << s.d;
        return rec_;
    }

  private:
    double value(double T, double d, int phase, const Getter& get) {
        propTd(T, d, rec_);
        EXPECT_EQ(rec_->status, 0);
        EXPECT_EQ(rec_->phase, phase) << T << " " << d;
        return get(*rec_);
    }
    WaterProps* rec_;
};

// |actual - expected| within rel of the larger of |expected| and the scale
// of the terms the expected value was formed from.
void expectClose(double actual, double expected, double scale, double rel, const std::string& what,
                 double floor = 0.0) {
    const double bound = rel * std::fmax(std::fabs(expected), scale) + floor;
    EXPECT_NEAR(actual, expected, bound) << what;
}

std::string label(const State& s, const char* what) {
    return std::string(what) + " at " + std::to_string(s.T) + " K, " + std::to_string(s.d) +
           " kg/m3";
}

// Relative tolerance of a first derivative (second derivatives of the
// (p,h) set: five times this). The extrapolated differences agree with the
// analytic values to 1.5e-6 at worst (rounding of the cold liquid); mixtures
// also carry the convergence error of the coexistence solve, which is smooth
// in T.
double tolOf(const State&) { return 1e-5; }

TEST(WaterDerivs, TemperatureDensityGrades1And2) {
    for (const State& s : kStates) {
        Differencer fd('T', 'd', 2);
        const WaterProps r = *fd.eval(s);
        const PropDerivs dp = *r.dp;
        const PropDerivs dx = *r.dx;
        const PropDerivs dp0 = *r.dp->second[0];
        const PropDerivs dp1 = *r.dp->second[1];
        const PropDerivs dx0 = *r.dx->second[0];
        const PropDerivs dx1 = *r.dx->second[1];
        const double cvT = r.dcv->perT;
        const double tol = tolOf(s);

        const Partials p = fd.at(s, [](const WaterProps& w) { return w.p; });
        expectClose(dp.perT, p.T, 0.0, tol, label(s, "dp/dT"));
        expectClose(dp.perD, p.d, std::fabs(p.T) * 1e-3, tol, label(s, "dp/dd"));
        const Partials pT = fd.at(s, [](const WaterProps& w) { return w.dp->perT; });
        const Partials pd = fd.at(s, [](const WaterProps& w) { return w.dp->perD; });
        expectClose(dp0.perT, pT.T, 0.0, tol, label(s, "d2p/dT2"));
        expectClose(dp0.perD, pT.d, std::fabs(pT.T) * 1e-3, tol, label(s, "d2p/dTdd"));
        expectClose(dp1.perT, pd.T, std::fabs(pT.T) * 1e-3, tol, label(s, "d2p/dddT"));
        expectClose(dp1.perD, pd.d, std::fabs(pd.T) * 1e-3, tol, label(s, "d2p/dd2"));
        const Partials cv = fd.at(s, [](const WaterProps& w) { return w.cv; });
        expectClose(cvT, cv.T, 0.0, tol, label(s, "dcv/dT"));
        if (s.phase == 2) {
            const Partials x = fd.at(s, [](const WaterProps& w) { return w.x; });
            expectClose(dx.perT, x.T, 0.0, tol, label(s, "dx/dT"));
            expectClose(dx.perD, x.d, 0.0, tol, label(s, "dx/dd"));
            const Partials xT = fd.at(s, [](const WaterProps& w) { return w.dx->perT; });
            const Partials xd = fd.at(s, [](const WaterProps& w) { return w.dx->perD; });
            expectClose(dx0.perT, xT.T, 0.0, tol, label(s, "d2x/dT2"));
            expectClose(dx0.perD, xT.d, 0.0, tol, label(s, "d2x/dTdd"));
            expectClose(dx1.perT, xd.T, 0.0, tol, label(s, "d2x/dddT"));
            expectClose(dx1.perD, xd.d, 0.0, tol, label(s, "d2x/dd2"));
            // In the dome p depends on T alone.
            EXPECT_EQ(dp.perD, 0.0);
            EXPECT_EQ(dp1.perD, 0.0);
        }
    }
}

// Derivatives in the (p, Y) plane from finite-difference partials in (T, rho),
// through the ratio of Jacobian determinants
//   (dZ/dY)p = d(Z,p)/d(T,rho) / d(Y,p)/d(T,rho),
//   (dZ/dp)Y = d(Z,Y)/d(T,rho) / d(p,Y)/d(T,rho).
struct PlaneFd {
    double perY, perP, scaleY, scaleP;
};
PlaneFd plane(const Partials& Z, const Partials& P, const Partials& Y) {
    const double J = Y.T * P.d - Y.d * P.T;
    return {(Z.T * P.d - Z.d * P.T) / J, (Z.d * Y.T - Z.T * Y.d) / J,
            (std::fabs(Z.T * P.d) + std::fabs(Z.d * P.T)) / std::fabs(J),
            (std::fabs(Z.d * Y.T) + std::fabs(Z.T * Y.d)) / std::fabs(J)};
}

// One property of the (p, Y) sets: its value and its derivative record.
struct Prop {
    const char* name;
    Getter value;
    std::function<PropDerivs*(const WaterProps&)> derivs;
};

void checkPlane(char var2, const Getter& Yget, const Prop* props, int n) {
    const bool isH = var2 == 'h';
    for (const State& s : kStates) {
        Differencer fd('p', var2, 2);
        const double tol = tolOf(s);
        const WaterProps* r = fd.eval(s);
        // Where a second derivative vanishes (a mixture is linear in h along
        // an isobar) both sides are rounding noise: allow 1e-8 of the first
        // derivative per unit of h or p.
        const double floorH = 1e-8 / std::fabs(r->h);
        const double floorP = 1e-8 / std::fabs(r->p);
        const Partials P = fd.at(s, [](const WaterProps& w) { return w.p; });
        const Partials Y = fd.at(s, Yget);
        for (int i = 0; i < n; ++i) {
            const Prop& z = props[i];
            if (std::string(z.name) == "x" && s.phase == 1) continue;  // written in mixtures only
            fd.eval(s);
            const PropDerivs got = *z.derivs(*r);
            const bool children = isH && got.second[2] != nullptr;
            const PropDerivs c2 = children ? *got.second[2] : PropDerivs{};
            const PropDerivs c3 = children ? *got.second[3] : PropDerivs{};
            const PlaneFd e = plane(fd.at(s, z.value), P, Y);
            expectClose(isH ? got.perH : got.perS, e.perY, e.scaleY, tol, label(s, z.name));
            expectClose(isH ? got.perPh : got.perPs, e.perP, e.scaleP, tol, label(s, z.name));
            if (!children) continue;
            // Grade 2 of the (p,h) set: children 2 and 3 hold the (p,h)
            // derivatives of perH and perPh.
            auto dz = z.derivs;
            const PlaneFd e2 =
                plane(fd.at(s, [&](const WaterProps& w) { return dz(w)->perH; }), P, Y);
            const PlaneFd e3 =
                plane(fd.at(s, [&](const WaterProps& w) { return dz(w)->perPh; }), P, Y);
            const double tol2 = 5.0 * tol;
            const double W = std::fabs(got.perH);
            const double V = std::fabs(got.perPh);
            const std::string what = label(s, z.name);
            expectClose(c2.perH, e2.perY, e2.scaleY, tol2, what + " d2/dh2", W * floorH);
            expectClose(c2.perPh, e2.perP, e2.scaleP, tol2, what + " d2/dhdp", W * floorP);
            expectClose(c3.perH, e3.perY, e3.scaleY, tol2, what + " d2/dpdh", V * floorH);
            expectClose(c3.perPh, e3.perP, e3.scaleP, tol2, what + " d2/dp2", V * floorP);
        }
    }
}

Prop prop(const char* name, double WaterProps::*field, PropDerivs* WaterProps::*slot) {
    return {name, [field](const WaterProps& w) { return w.*field; },
            [slot](const WaterProps& w) { return w.*slot; }};
}

TEST(WaterDerivs, PressureEnthalpySet) {
    const Prop props[] = {
        prop("x", &WaterProps::x, &WaterProps::dx),   prop("T", &WaterProps::T, &WaterProps::dT),
        prop("d", &WaterProps::d, &WaterProps::dd),   prop("s", &WaterProps::s, &WaterProps::ds),
        prop("u", &WaterProps::u, &WaterProps::du),   prop("cv", &WaterProps::cv, &WaterProps::dcv),
        prop("cp", &WaterProps::cp, &WaterProps::dcp)};
    checkPlane(
        'h', [](const WaterProps& w) { return w.h; }, props, 7);
}

TEST(WaterDerivs, PressureEntropySet) {
    const Prop props[] = {
        prop("x", &WaterProps::x, &WaterProps::dx),   prop("T", &WaterProps::T, &WaterProps::dT),
        prop("d", &WaterProps::d, &WaterProps::dd),   prop("h", &WaterProps::h, &WaterProps::dh),
        prop("u", &WaterProps::u, &WaterProps::du),   prop("cv", &WaterProps::cv, &WaterProps::dcv),
        prop("cp", &WaterProps::cp, &WaterProps::dcp)};
    checkPlane(
        's', [](const WaterProps& w) { return w.s; }, props, 7);
}

// Thermodynamic identities of the plane derivatives: dh = T ds + v dp.
TEST(WaterDerivs, PlaneIdentities) {
    WaterProps* ph = newProp('p', 'h', 1);
    WaterProps* ps = newProp('p', 's', 1);
    for (const State& s : kStates) {
        propTd(s.T, s.d, ph);
        propTd(s.T, s.d, ps);
        const std::string at = label(s, "");
        EXPECT_NEAR(ph->ds->perH, 1.0 / s.T, 1e-12 / s.T) << at;  // (ds/dh)p = 1/T
        EXPECT_NEAR(ph->ds->perPh, -1.0 / (s.T * ph->d), 1e-9 / (s.T * ph->d)) << at;  // -v/T
        EXPECT_NEAR(ps->dh->perS, s.T, 1e-12 * s.T) << at;            // (dh/ds)p = T
        EXPECT_NEAR(ps->dh->perPs, 1.0 / ps->d, 1e-9 / ps->d) << at;  // (dh/dp)s = v
        if (s.phase == 1) {
            EXPECT_NEAR(ph->dT->perH, 1.0 / ph->cp, 1e-9 / ph->cp) << at;  // (dT/dh)p = 1/cp
        } else {
            EXPECT_EQ(ph->dT->perH, 0.0) << at;  // isobars are isotherms in the dome
            EXPECT_NEAR(ph->dT->perPh, 1.0 / ph->dp->perT, 1e-9 / ph->dp->perT) << at;
        }
    }
    freeProp(ph);
    freeProp(ps);
}

}  // namespace
