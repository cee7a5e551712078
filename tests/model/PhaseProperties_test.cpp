#include <gtest/gtest.h>
#include <quarvessin/model/PhaseProperties.h>

#include <cstddef>
#include <cstring>
#include <new>

using namespace quarvessin;

namespace {

// Zero clears every field, including the 32-bit one after the twenty
// doubles: a record built over memory full of set bits reads all zero bytes
// afterwards, up to the end of the last field.
TEST(PhasePropertiesTest, ZeroClearsEveryField) {
    alignas(PhaseProperties) unsigned char storage[sizeof(PhaseProperties)];
    std::memset(storage, 0xFF, sizeof storage);
    auto* record = new (storage) PhaseProperties;
    record->Zero();

    const std::size_t used = offsetof(PhaseProperties, state) + sizeof record->state;
    // Twenty doubles and one 32-bit field: the layout of the record.
    EXPECT_EQ(used, 20 * sizeof(double) + 4);
    for (std::size_t i = 0; i < used; ++i) {
        EXPECT_EQ(storage[i], 0u) << "byte " << i;
    }
    record->~PhaseProperties();
}

}  // namespace
