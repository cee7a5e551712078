// The surfaces of the phase diagram as meshes: every vertex on its own
// surface, the surfaces meeting along their shared curves, triangles within
// pieces, and the files read back by small readers of their own.
#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>
#include <quarvessin/section.h>
#include <quarvessin/surfaces.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>

namespace quarvessin {
namespace {

// The surfaces of the default options, computed once for the suite.
class SurfacesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { surfaces_ = new Surfaces(computeSurfaces()); }
    static void TearDownTestSuite() {
        delete surfaces_;
        surfaces_ = nullptr;
    }
    static const SurfaceMesh& mesh(const std::string& name) {
        for (const SurfaceMesh& m : surfaces_->surfaces) {
            if (m.name == name) return m;
        }
        ADD_FAILURE() << "no surface " << name;
        return surfaces_->surfaces.front();
    }
    static Surfaces* surfaces_;
};
Surfaces* SurfacesTest::surfaces_ = nullptr;

// Relative agreement to 1e-9 (exact agreement for zero).
::testing::AssertionResult near(double a, double b) {
    if (std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b))) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << a << " and " << b << " differ by more than 1e-9";
}

// Model objects of their own, bound to (t, p).
struct Model {
    double t = 0.0, p = 1.0;
    VLLiquidBranch liquid{&t, &p};
    VLVaporBranch vapor{&t, &p};
    HaliteLiquidus liquidus{&t, &p};
    HaliteSaturatedVapor haliteVapor{&t, &p};
    HaliteLiquidVaporCurve three{&t};
    CriticalCurve critical{&t};
    void at(double tC, double pBar) {
        t = tC;
        p = pBar;
    }
};

TEST_F(SurfacesTest, EveryVertexLiesOnItsSurface) {
    ASSERT_TRUE(surfaces_->accepted);
    ASSERT_EQ(surfaces_->surfaces.size(), 6u);
    Model m;
    for (const SurfaceMesh& s : surfaces_->surfaces) {
        SCOPED_TRACE(s.name);
        EXPECT_GT(s.vertices.size(), 100u);
        ASSERT_EQ(s.pieces.size(), s.vertices.size());
        for (const auto& v : s.vertices) {
            const double t = v[0], p = v[1], wt = v[2];
            EXPECT_TRUE(t >= 0.0 && t <= 1000.0 && p >= 1e-4 && p <= 5000.0) << t << " " << p;
            m.at(t, p);
            if (s.name == "vapor+liquid-liquid") {
                m.liquid.Refresh();
                EXPECT_TRUE(near(wt, wtPercent(m.liquid.X))) << t << " C " << p << " bar";
            } else if (s.name == "vapor+liquid-vapor") {
                m.vapor.Refresh();
                EXPECT_TRUE(near(wt, wtPercent(m.vapor.X))) << t << " C " << p << " bar";
            } else if (s.name == "liquidus") {
                m.liquidus.Refresh();
                EXPECT_TRUE(near(wt, wtPercent(m.liquidus.xL))) << t << " C " << p << " bar";
            } else if (s.name == "vapor+halite") {
                m.haliteVapor.Refresh();
                EXPECT_TRUE(near(wt, wtPercent(m.haliteVapor.xVH))) << t << " C " << p << " bar";
            } else if (s.name == "three-phase") {
                // At the three-phase pressure of its temperature, at one of
                // the corners of the tie line: vapour, liquid or halite.
                m.three.Refresh();
                EXPECT_TRUE(near(p, m.three.P)) << t << " C";
                m.at(t, m.three.P);
                m.haliteVapor.Refresh();
                m.liquidus.Refresh();
                EXPECT_TRUE(near(wt, wtPercent(m.haliteVapor.xVH)) ||
                            near(wt, wtPercent(m.liquidus.xL)) || wt == 100.0)
                    << t << " C " << wt << " wt%";
            } else {
                m.critical.Refresh();
                EXPECT_TRUE(near(p, m.critical.Pcrit)) << t << " C";
                EXPECT_TRUE(near(wt, wtPercent(m.critical.Xcrit))) << t << " C";
            }
        }
    }
}

// The vertices of a surface on the isotherm t, by rising pressure.
std::vector<std::array<double, 3>> onIsotherm(const SurfaceMesh& s, double t) {
    std::vector<std::array<double, 3>> out;
    for (const auto& v : s.vertices) {
        if (v[0] == t) out.push_back(v);
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return a[1] < b[1] || (a[1] == b[1] && a[2] < b[2]);
    });
    return out;
}

TEST_F(SurfacesTest, SurfacesMeetAlongTheirSharedCurves) {
    const SurfaceMesh& liquid = mesh("vapor+liquid-liquid");
    const SurfaceMesh& vapor = mesh("vapor+liquid-vapor");
    const SurfaceMesh& liquidus = mesh("liquidus");
    const SurfaceMesh& three = mesh("three-phase");
    const SurfaceMesh& haliteVapor = mesh("vapor+halite");
    const SurfaceMesh& critical = mesh("critical-curve");
    int tieLines = 0, criticalPoints = 0;
    double highestThree = 0.0, richestVaporCorner = 0.0;
    for (double t : surfaces_->temperatures) {
        SCOPED_TRACE(t);
        const auto tie = onIsotherm(three, t);
        if (tie.size() == 3) {
            // The tie line's vapour corner ends the vapour sheet and the vapour +
            // halite surface; its liquid corner ends the liquid sheet and the liquidus.
            ++tieLines;
            const auto& v = tie[0];
            const auto& l = tie[1];
            EXPECT_EQ(tie[2][2], 100.0);
            highestThree = std::max(highestThree, v[1]);
            richestVaporCorner = std::max(richestVaporCorner, v[2]);
            const auto vs = onIsotherm(vapor, t), ls = onIsotherm(liquid, t);
            const auto hs = onIsotherm(haliteVapor, t), lh = onIsotherm(liquidus, t);
            if (t > 0.011) {
                ASSERT_FALSE(vs.empty());
                ASSERT_FALSE(ls.empty());
                EXPECT_EQ(vs.front()[1], v[1]);
                EXPECT_TRUE(near(vs.front()[2], v[2]));
                EXPECT_EQ(ls.front()[1], l[1]);
                EXPECT_TRUE(near(ls.front()[2], l[2]));
            }
            ASSERT_FALSE(hs.empty());
            ASSERT_FALSE(lh.empty());
            EXPECT_EQ(hs.back()[1], v[1]);
            EXPECT_TRUE(near(hs.back()[2], v[2]));
            EXPECT_EQ(lh.front()[1], l[1]);
            EXPECT_TRUE(near(lh.front()[2], l[2]));
        }
        const auto c = onIsotherm(critical, t);
        if (t > WaterCriticalPoint::Tc) {
            // Both sheets close at the critical point of the solution.
            ASSERT_EQ(c.size(), 1u);
            ++criticalPoints;
            const auto vs = onIsotherm(vapor, t), ls = onIsotherm(liquid, t);
            ASSERT_FALSE(vs.empty());
            ASSERT_FALSE(ls.empty());
            EXPECT_EQ(vs.back()[1], c[0][1]);
            EXPECT_EQ(ls.back()[1], c[0][1]);
            EXPECT_TRUE(near(vs.back()[2], c[0][2]));
            EXPECT_TRUE(near(ls.back()[2], c[0][2]));
        } else if (t > 0.011 && t < WaterCriticalPoint::Tc) {
            // Below the critical temperature of water both close at pure water.
            EXPECT_TRUE(c.empty());
            const auto vs = onIsotherm(vapor, t), ls = onIsotherm(liquid, t);
            EXPECT_EQ(vs.back()[1], ls.back()[1]);
            EXPECT_LT(std::fabs(vs.back()[2]), 1e-9);
            EXPECT_LT(std::fabs(ls.back()[2]), 1e-9);
        }
    }
    EXPECT_GT(tieLines, 150);
    EXPECT_GT(criticalPoints, 100);
    // The three-phase curve peaks at 390.147 bar near 595 C, and its vapour
    // corner reaches almost pure NaCl towards the triple point of NaCl.
    EXPECT_NEAR(highestThree, 390.147, 0.001);
    EXPECT_GT(richestVaporCorner, 99.0);
    // The critical curve starts at the critical point of water.
    ASSERT_FALSE(critical.vertices.empty());
    EXPECT_EQ(critical.vertices.front()[0], WaterCriticalPoint::Tc);
    EXPECT_EQ(critical.vertices.front()[1], WaterCriticalPoint::Pc);
    EXPECT_EQ(critical.vertices.front()[2], 0.0);
    EXPECT_EQ(critical.lines.size(), critical.vertices.size() - 1);
}

TEST_F(SurfacesTest, TrianglesJoinNeighboursOfOnePiece) {
    const std::vector<double>& grid = surfaces_->temperatures;
    ASSERT_TRUE(std::is_sorted(grid.begin(), grid.end()));
    auto gridIndex = [&](double t) {
        return std::lower_bound(grid.begin(), grid.end(), t) - grid.begin();
    };
    for (const SurfaceMesh& s : surfaces_->surfaces) {
        SCOPED_TRACE(s.name);
        // The neighbours along each isotherm: the vertices in the order
        // written, by rising pressure (and composition on the tie line).
        std::map<double, std::vector<std::uint32_t>> columns;
        for (std::uint32_t i = 0; i < s.vertices.size(); ++i) {
            columns[s.vertices[i][0]].push_back(i);
        }
        std::map<std::uint32_t, std::size_t> rank;
        for (const auto& [t, ids] : columns) {
            EXPECT_EQ(grid[static_cast<std::size_t>(gridIndex(t))], t) << "not an isotherm";
            for (std::size_t k = 0; k < ids.size(); ++k) {
                rank[ids[k]] = k;
                if (k == 0) continue;
                const auto &a = s.vertices[ids[k - 1]], &b = s.vertices[ids[k]];
                EXPECT_TRUE(a[1] < b[1] || (a[1] == b[1] && a[2] <= b[2]))
                    << "out of order at " << t << " C, " << b[1] << " bar";
            }
        }
        auto edgeOk = [&](std::uint32_t a, std::uint32_t b) {
            const auto &va = s.vertices[a], &vb = s.vertices[b];
            if (s.pieces[a] != s.pieces[b]) return false;
            const auto ia = gridIndex(va[0]), ib = gridIndex(vb[0]);
            if (ia == ib) {  // along the isotherm: neighbours only
                const std::size_t ra = rank[a], rb = rank[b];
                return ra + 1 == rb || rb + 1 == ra;
            }
            return ia + 1 == ib || ib + 1 == ia;  // across: neighbouring isotherms
        };
        for (const auto& tri : s.triangles) {
            for (std::uint32_t i : tri) ASSERT_LT(i, s.vertices.size());
            EXPECT_TRUE(edgeOk(tri[0], tri[1]) && edgeOk(tri[1], tri[2]) && edgeOk(tri[0], tri[2]))
                << s.vertices[tri[0]][0] << " C " << s.vertices[tri[0]][1] << " bar";
            EXPECT_FALSE(s.vertices[tri[0]] == s.vertices[tri[1]] ||
                         s.vertices[tri[1]] == s.vertices[tri[2]] ||
                         s.vertices[tri[0]] == s.vertices[tri[2]]);
        }
        for (const auto& line : s.lines) {
            EXPECT_TRUE(edgeOk(line[0], line[1]));
        }
    }
}

// The triangles follow their surfaces: the model's composition at a
// triangle's centre (mean temperature, mean log pressure) lies close to the
// mean of its corners. A triangle across a gap, or columns stitched out of
// step, would stand far off.
TEST_F(SurfacesTest, TrianglesFollowTheirSurfaces) {
    Model m;
    for (const char* name :
         {"vapor+liquid-liquid", "vapor+liquid-vapor", "liquidus", "vapor+halite"}) {
        SCOPED_TRACE(name);
        const SurfaceMesh& s = mesh(name);
        std::vector<double> off;
        for (const auto& tri : s.triangles) {
            double t = 0.0, logP = 0.0, wt = 0.0;
            for (std::uint32_t i : tri) {
                t += s.vertices[i][0] / 3.0;
                logP += std::log(s.vertices[i][1]) / 3.0;
                wt += s.vertices[i][2] / 3.0;
            }
            m.at(t, std::exp(logP));
            double x = NAN;
            if (s.name == "vapor+liquid-liquid") {
                m.liquid.Refresh();
                x = m.liquid.X;
            } else if (s.name == "vapor+liquid-vapor") {
                m.vapor.Refresh();
                x = m.vapor.X;
            } else if (s.name == "liquidus") {
                m.liquidus.Refresh();
                x = m.liquidus.xL;
            } else {
                m.haliteVapor.Refresh();
                x = m.haliteVapor.xVH;
            }
            if (std::isfinite(x)) off.push_back(std::fabs(wtPercent(x) - wt));
        }
        ASSERT_GT(off.size(), s.triangles.size() * 9 / 10);
        std::sort(off.begin(), off.end());
        EXPECT_LT(off[off.size() * 99 / 100], 1.0);  // [wt%]
        EXPECT_LT(off.back(), 5.0);
    }
}

// The isothermal sections the 2-D views draw cut the surfaces along the same
// curves: on isotherms of the grid the section's tie line is the surface's,
// and the top of its vapour-liquid loop closes both sheets.
TEST_F(SurfacesTest, IsothermalSectionsCutTheSurfacesAlongTheirCurves) {
    const SurfaceMesh& three = mesh("three-phase");
    const SurfaceMesh& liquid = mesh("vapor+liquid-liquid");
    const SurfaceMesh& vapor = mesh("vapor+liquid-vapor");
    int compared = 0;
    for (std::size_t i = 3; i < surfaces_->temperatures.size(); i += 17) {
        const double t = surfaces_->temperatures[i];
        if (!(t < maxSectionTemperature)) break;
        SCOPED_TRACE(t);
        SectionOptions options;
        options.fine = true;
        options.fields = false;
        const Section section = computeSection(SectionKind::Isothermal, t, options);
        ASSERT_TRUE(section.accepted);
        const auto tie = onIsotherm(three, t);
        const auto ls = onIsotherm(liquid, t), vs = onIsotherm(vapor, t);
        for (const Boundary& b : section.boundaries) {
            if (b.phases == "vapor+liquid+halite") {
                ASSERT_EQ(b.pieces.size(), 1u);
                ASSERT_EQ(b.pieces[0].size(), 3u);
                ASSERT_EQ(tie.size(), 3u);
                for (std::size_t k = 0; k < 3; ++k) {
                    EXPECT_TRUE(near(b.pieces[0][k].value, tie[k][1]));
                    EXPECT_TRUE(near(b.pieces[0][k].wtPercent, tie[k][2]));
                }
                ++compared;
            }
            if (b.phases == "liquid+vapor" && t > WaterCriticalPoint::Tc) {
                // The loop's highest point: the critical point of the solution.
                const Point* top = nullptr;
                for (const auto& piece : b.pieces) {
                    for (const Point& q : piece) {
                        if (!top || q.value > top->value) top = &q;
                    }
                }
                ASSERT_NE(top, nullptr);
                ASSERT_FALSE(ls.empty() || vs.empty());
                EXPECT_TRUE(near(top->value, ls.back()[1]));
                EXPECT_TRUE(near(top->wtPercent, ls.back()[2]));
                EXPECT_TRUE(near(top->value, vs.back()[1]));
                EXPECT_TRUE(near(top->wtPercent, vs.back()[2]));
            }
        }
    }
    EXPECT_GE(compared, 8);
}

TEST(Surfaces, OptionsNarrowTheRangeOrAreRefused) {
    SurfaceOptions o;
    o.tMin = 700.0;
    o.tMax = 900.0;
    o.resolution = 5;
    o.samples = 7;
    o.pMin = 1.0;
    o.pMax = 2000.0;
    const Surfaces s = computeSurfaces(o);
    ASSERT_TRUE(s.accepted);
    EXPECT_EQ(s.temperatures.front(), 700.0);
    EXPECT_EQ(s.temperatures.back(), 900.0);
    for (const SurfaceMesh& m : s.surfaces) {
        SCOPED_TRACE(m.name);
        EXPECT_FALSE(m.vertices.empty());
        for (const auto& v : m.vertices) {
            EXPECT_TRUE(v[0] >= 700.0 && v[0] <= 900.0 && v[1] >= 1.0 && v[1] <= 2000.0)
                << v[0] << " " << v[1];
        }
        // Columns of the sheets hold at most the samples asked for.
        std::map<double, int> perIsotherm;
        for (const auto& v : m.vertices) ++perIsotherm[v[0]];
        for (const auto& [t, n] : perIsotherm) EXPECT_LE(n, 7) << t;
    }
    // Above the triple point of NaCl neither the tie lines nor the
    // halite-saturated vapour exist.
    for (const auto& v : s.surfaces[3].vertices) EXPECT_LE(v[0], 800.7);
    for (const auto& v : s.surfaces[4].vertices) EXPECT_LT(v[0], 800.7);

    const auto refusedWith = [](SurfaceOptions bad) {
        const Surfaces r = computeSurfaces(bad);
        return !r.accepted && !r.refusal.empty() && r.surfaces.empty();
    };
    SurfaceOptions bad;
    bad.resolution = 1;
    EXPECT_TRUE(refusedWith(bad));
    bad = {};
    bad.resolution = 10000;
    bad.samples = 101;  // a million points and more a sheet
    EXPECT_TRUE(refusedWith(bad));
    bad = {};
    bad.tMax = 1001.0;
    EXPECT_TRUE(refusedWith(bad));
    bad = {};
    bad.tMin = NAN;
    EXPECT_TRUE(refusedWith(bad));
    bad = {};
    bad.pMax = 6000.0;
    EXPECT_TRUE(refusedWith(bad));
    bad = {};
    bad.pMin = 0.0;
    EXPECT_TRUE(refusedWith(bad));
    bad = {};
    bad.tMin = 500.0;
    bad.tMax = 400.0;
    EXPECT_TRUE(refusedWith(bad));
}

std::uint32_t readUint32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

TEST_F(SurfacesTest, GlbReadsBack) {
    const std::string glb = surfacesGlb(*surfaces_);
    EXPECT_LT(glb.size(), 5u * 1000u * 1000u);  // the default resolution under 5 MB
    ASSERT_GT(glb.size(), 28u);
    EXPECT_EQ(glb.substr(0, 4), "glTF");
    EXPECT_EQ(readUint32(glb, 4), 2u);
    EXPECT_EQ(readUint32(glb, 8), glb.size());
    const std::uint32_t jsonLength = readUint32(glb, 12);
    EXPECT_EQ(glb.substr(16, 4), "JSON");
    EXPECT_EQ(jsonLength % 4, 0u);
    const auto gltf = nlohmann::json::parse(glb.substr(20, jsonLength));
    const std::size_t binAt = 20 + jsonLength;
    const std::uint32_t binLength = readUint32(glb, binAt);
    EXPECT_EQ(glb.substr(binAt + 4, 4), std::string("BIN\0", 4));
    EXPECT_EQ(binAt + 8 + binLength, glb.size());
    const std::string bin = glb.substr(binAt + 8, binLength);

    EXPECT_EQ(gltf["asset"]["version"], "2.0");
    EXPECT_EQ(gltf["asset"]["extras"]["axes"]["x"], "temperature [C]");
    EXPECT_EQ(gltf["asset"]["extras"]["axes"]["y"], "pressure [bar]");
    EXPECT_EQ(gltf["asset"]["extras"]["axes"]["z"], "NaCl [wt%]");
    EXPECT_LE(gltf["buffers"][0]["byteLength"].get<std::size_t>(), binLength);
    ASSERT_EQ(gltf["meshes"].size(), surfaces_->surfaces.size());
    for (std::size_t m = 0; m < gltf["meshes"].size(); ++m) {
        const SurfaceMesh& s = surfaces_->surfaces[m];
        const auto& mesh = gltf["meshes"][m];
        SCOPED_TRACE(s.name);
        EXPECT_EQ(mesh["name"], s.name);
        EXPECT_EQ(gltf["nodes"][m]["mesh"], m);
        const auto& primitive = mesh["primitives"][0];
        EXPECT_EQ(primitive["mode"], s.name == "critical-curve" ? 1 : 4);
        const auto& position = gltf["accessors"][primitive["attributes"]["POSITION"].get<int>()];
        const auto& indices = gltf["accessors"][primitive["indices"].get<int>()];
        EXPECT_EQ(position["componentType"], 5126);
        EXPECT_EQ(position["type"], "VEC3");
        ASSERT_EQ(position["count"], s.vertices.size());
        EXPECT_EQ(indices["componentType"], 5125);
        const std::size_t indexCount = s.triangles.size() * 3 + s.lines.size() * 2;
        ASSERT_EQ(indices["count"], indexCount);
        const auto& pv = gltf["bufferViews"][position["bufferView"].get<int>()];
        const auto& iv = gltf["bufferViews"][indices["bufferView"].get<int>()];
        ASSERT_EQ(pv["byteLength"], s.vertices.size() * 12);
        ASSERT_EQ(iv["byteLength"], indexCount * 4);
        const auto pAt = pv["byteOffset"].get<std::size_t>();
        const auto iAt = iv["byteOffset"].get<std::size_t>();
        ASSERT_LE(pAt + s.vertices.size() * 12, binLength);
        ASSERT_LE(iAt + indexCount * 4, binLength);
        // The floats are the vertices, and min/max bound them exactly.
        float lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
        for (std::size_t i = 0; i < s.vertices.size(); ++i) {
            for (std::size_t k = 0; k < 3; ++k) {
                float f;
                const std::uint32_t bits = readUint32(bin, pAt + 12 * i + 4 * k);
                std::memcpy(&f, &bits, 4);
                ASSERT_EQ(f, static_cast<float>(s.vertices[i][k]));
                lo[k] = std::min(lo[k], f);
                hi[k] = std::max(hi[k], f);
            }
        }
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(position["min"][k].get<double>(), static_cast<double>(lo[k]));
            EXPECT_EQ(position["max"][k].get<double>(), static_cast<double>(hi[k]));
        }
        std::vector<std::uint32_t> expected;
        for (const auto& t : s.triangles) expected.insert(expected.end(), t.begin(), t.end());
        for (const auto& l : s.lines) expected.insert(expected.end(), l.begin(), l.end());
        for (std::size_t i = 0; i < indexCount; ++i) {
            ASSERT_EQ(readUint32(bin, iAt + 4 * i), expected[i]);
        }
    }
}

// Reads a PLY file written by surfacePly: counts from the header, the
// vertices and the faces or edges.
struct Ply {
    std::vector<std::string> comments;
    std::vector<std::array<double, 3>> vertices;
    std::vector<std::vector<std::uint32_t>> elements;  // faces or edges
};

Ply readPly(const std::string& bytes) {
    Ply ply;
    std::size_t at = 0;
    auto line = [&] {
        const std::size_t end = bytes.find('\n', at);
        std::string l = bytes.substr(at, end - at);
        at = end + 1;
        return l;
    };
    EXPECT_EQ(line(), "ply");
    const std::string format = line();
    const bool binary = format == "format binary_little_endian 1.0";
    EXPECT_TRUE(binary || format == "format ascii 1.0") << format;
    std::size_t nVertices = 0, nElements = 0;
    bool edges = false;
    for (std::string l = line(); l != "end_header"; l = line()) {
        std::istringstream in(l);
        std::string word, name;
        in >> word;
        if (word == "comment") ply.comments.push_back(l.substr(8));
        if (word == "element") {
            in >> name;
            if (name == "vertex") {
                in >> nVertices;
            } else {
                edges = name == "edge";
                in >> nElements;
            }
        }
        if (at > bytes.size()) {
            ADD_FAILURE() << "no end_header";
            return ply;
        }
    }
    if (binary) {
        for (std::size_t i = 0; i < nVertices; ++i) {
            std::array<double, 3> v;
            std::memcpy(v.data(), bytes.data() + at, 24);  // little-endian host
            at += 24;
            ply.vertices.push_back(v);
        }
        for (std::size_t i = 0; i < nElements; ++i) {
            std::size_t count = 2;
            if (!edges) count = static_cast<unsigned char>(bytes[at++]);
            std::vector<std::uint32_t> e;
            for (std::size_t k = 0; k < count; ++k, at += 4) e.push_back(readUint32(bytes, at));
            ply.elements.push_back(e);
        }
    } else {
        std::istringstream in(bytes.substr(at));
        for (std::size_t i = 0; i < nVertices; ++i) {
            std::array<double, 3> v;
            for (double& c : v) {
                std::string word;
                in >> word;
                std::from_chars(word.data(), word.data() + word.size(), c);
            }
            ply.vertices.push_back(v);
        }
        for (std::size_t i = 0; i < nElements; ++i) {
            std::size_t count = 2;
            if (!edges) in >> count;
            std::vector<std::uint32_t> e(count);
            for (auto& k : e) in >> k;
            ply.elements.push_back(e);
        }
        std::string rest;
        in >> rest;
        at = rest.empty() ? bytes.size() : 0;
    }
    EXPECT_EQ(at, bytes.size()) << "bytes after the last element";
    return ply;
}

TEST_F(SurfacesTest, PlyObjAndJsonReadBackExactly) {
    const auto json = nlohmann::json::parse(surfacesJson(*surfaces_));
    EXPECT_EQ(json["columns"][1], "pressure_bar");
    ASSERT_EQ(json["surfaces"].size(), surfaces_->surfaces.size());
    for (std::size_t m = 0; m < surfaces_->surfaces.size(); ++m) {
        const SurfaceMesh& s = surfaces_->surfaces[m];
        SCOPED_TRACE(s.name);
        const auto& js = json["surfaces"][m];
        EXPECT_EQ(js["name"], s.name);
        EXPECT_EQ(js["boundary"], s.boundary);
        ASSERT_EQ(js["vertices"].size(), s.vertices.size());
        ASSERT_EQ(js["triangles"].size(), s.triangles.size());
        ASSERT_EQ(js["lines"].size(), s.lines.size());
        for (std::size_t i = 0; i < s.vertices.size(); ++i) {
            for (std::size_t k = 0; k < 3; ++k) {
                ASSERT_EQ(js["vertices"][i][k].get<double>(), s.vertices[i][k]);  // round trip
            }
        }
        for (std::size_t i = 0; i < s.triangles.size(); ++i) {
            ASSERT_EQ(js["triangles"][i].get<std::vector<std::uint32_t>>(),
                      std::vector<std::uint32_t>(s.triangles[i].begin(), s.triangles[i].end()));
        }

        for (bool binary : {false, true}) {
            SCOPED_TRACE(binary ? "binary" : "ascii");
            const Ply ply = readPly(surfacePly(s, binary));
            ASSERT_EQ(ply.vertices, s.vertices);
            ASSERT_EQ(ply.elements.size(), s.triangles.size() + s.lines.size());
            for (std::size_t i = 0; i < s.triangles.size(); ++i) {
                ASSERT_EQ(ply.elements[i],
                          std::vector<std::uint32_t>(s.triangles[i].begin(), s.triangles[i].end()));
            }
            const bool axes =
                std::any_of(ply.comments.begin(), ply.comments.end(), [](const std::string& c) {
                    return c.find("temperature [C]") != c.npos &&
                           c.find("pressure [bar]") != c.npos && c.find("NaCl [wt%]") != c.npos;
                });
            EXPECT_TRUE(axes);
        }

        // OBJ: v lines in order, faces and lines counted from 1.
        std::istringstream obj(surfaceObj(s));
        std::size_t nv = 0, nf = 0, nl = 0;
        bool axes = false;
        for (std::string l; std::getline(obj, l);) {
            std::istringstream in(l);
            std::string word;
            in >> word;
            if (word == "#" && l.find("temperature [C]") != l.npos) axes = true;
            if (word == "v") {
                ASSERT_LT(nv, s.vertices.size());
                for (std::size_t k = 0; k < 3; ++k) {
                    std::string text;
                    in >> text;
                    double c = NAN;
                    std::from_chars(text.data(), text.data() + text.size(), c);
                    ASSERT_EQ(c, s.vertices[nv][k]);
                }
                ++nv;
            } else if (word == "f") {
                std::uint32_t a, b, c;
                in >> a >> b >> c;
                ASSERT_LT(nf, s.triangles.size());
                EXPECT_EQ(s.triangles[nf], (std::array<std::uint32_t, 3>{a - 1, b - 1, c - 1}));
                ++nf;
            } else if (word == "l") {
                ++nl;
            }
        }
        EXPECT_TRUE(axes);
        EXPECT_EQ(nv, s.vertices.size());
        EXPECT_EQ(nf, s.triangles.size());
        EXPECT_EQ(nl, s.lines.size());
    }
}

}  // namespace
}  // namespace quarvessin
