// The run state: every model object bound to the section variables it reads,
// built in the order the run needs them (declaration order is construction
// order, and destruction runs in reverse), and nothing evaluated before a
// section starts.
#include "engine/RunState.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace quarvessin;

namespace {

std::uintptr_t At(const void* member) { return reinterpret_cast<std::uintptr_t>(member); }

TEST(RunState, ModelObjectsAreBoundToTheSectionVariables) {
    RunState s;
    // Documented initial values of the section variables.
    EXPECT_EQ(s.t, 100.0);
    EXPECT_EQ(s.p, 100.0);
    EXPECT_EQ(s.x, 0.01);
    EXPECT_EQ(s.t2, 100.0);

    EXPECT_EQ(s.critical.tPtr, &s.t);
    EXPECT_EQ(s.melting.tPtr, &s.t);
    EXPECT_EQ(s.melting.pPtr, &s.p);
    EXPECT_EQ(s.boiling.pPtr, &s.p);
    EXPECT_EQ(s.sublimation.tPtr, &s.t);
    EXPECT_EQ(s.halite.tPtr, &s.t);
    EXPECT_EQ(s.liquidNaCl.pPtr, &s.p);
    EXPECT_EQ(s.naclVapor.tPtr, &s.t);
    EXPECT_EQ(s.liquidus.pPtr, &s.p);
    EXPECT_EQ(s.water.tPtr, &s.t);
    EXPECT_EQ(s.water.pPtr, &s.p);
    EXPECT_EQ(s.hlv.tPtr, &s.t);
    EXPECT_EQ(s.haliteVapor.pPtr, &s.p);
    EXPECT_EQ(s.liquidBranch.tPtr, &s.t);
    EXPECT_EQ(s.vaporBranch.pPtr, &s.p);
    EXPECT_EQ(s.holder.tPtr, &s.t);
    EXPECT_EQ(s.holder.xPtr, &s.x);
    EXPECT_EQ(s.holder2.tPtr, &s.t2);  // the second holder reads the second temperature
    EXPECT_EQ(s.holder2.pPtr, &s.p);
    EXPECT_EQ(s.modelSet.xPtr, &s.x);
    EXPECT_EQ(s.fluid.tPtr, &s.t);
    EXPECT_EQ(s.fluid.xPtr, &s.x);
    EXPECT_EQ(s.boundaries.tPtr, &s.t);
    EXPECT_EQ(s.boundaries.pPtr, &s.p);
    EXPECT_EQ(s.boundaries.xPtr, &s.x);

    // Nothing is evaluated by construction.
    EXPECT_TRUE(s.critical.stale);
    EXPECT_TRUE(s.liquidus.stale);
    EXPECT_TRUE(s.hlv.stale);
}

// Members of one access level are laid out in declaration order, so rising
// addresses show the construction order of the dialogue's table: variables
// first, then the model objects from the critical curve to the four records.
TEST(RunState, ModelObjectsAreBuiltInTheTablesOrder) {
    RunState s;
    const std::uintptr_t order[] = {
        At(&s.t2),          At(&s.triplePoint), At(&s.marker),      At(&s.waterCritical),
        At(&s.critical),    At(&s.melting),     At(&s.boiling),     At(&s.sublimation),
        At(&s.halite),      At(&s.liquidNaCl),  At(&s.naclVapor),   At(&s.liquidus),
        At(&s.water),       At(&s.hlv),         At(&s.haliteVapor), At(&s.liquidBranch),
        At(&s.vaporBranch), At(&s.holder),      At(&s.holder2),     At(&s.modelSet),
        At(&s.fluid),       At(&s.boundaries),  At(&s.records[0]),
    };
    for (std::size_t i = 1; i < sizeof order / sizeof order[0]; ++i) {
        EXPECT_LT(order[i - 1], order[i]) << "object " << i;
    }
}

}  // namespace
