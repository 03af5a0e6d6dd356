#include <gtest/gtest.h>

#include <fstream>

#include "RandomOperations.h"

namespace vem::test {
namespace {

// Random sequences of what an operator can do, from the sample project on; after every step
// the Session's invariants hold, and every save is accepted by the checks and opens as saved.
// Then the same on a template that marks no data set available.
TEST(Session, InvariantsHoldAfterEveryRandomOperation) {
    const SampleFolder folder("vem-property-");
    RandomOperator op;
    for (const int steps : {4000, 1000}) {
        Session s;
        ASSERT_TRUE(s.document().startUp().ok);
        for (int step = 0; step < steps; ++step) {
            const std::string what = op.operate(s, true);
            ASSERT_FALSE(::testing::Test::HasFailure()) << "step " << step << ": " << what;
            const std::string broken = brokenInvariant(s);
            ASSERT_EQ(broken, "") << "step " << step << ": " << what;
        }
        std::fstream bin("default.bin", std::ios::in | std::ios::out | std::ios::binary);
        bin.seekp(MainAt::DataSetAvailable);
        bin.write("\0\0\0\0", DataSetCount);
    }
}

}  // namespace
}  // namespace vem::test
