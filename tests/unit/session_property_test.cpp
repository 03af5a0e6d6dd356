#include <gtest/gtest.h>

#include "RandomOperations.h"

namespace vem::test {
namespace {

// Random sequences of what an operator can do, from the sample project on; after every step
// the Session's invariants hold.
TEST(Session, InvariantsHoldAfterEveryRandomOperation) {
    const SampleFolder folder("vem-property-");
    RandomOperator op;
    Session s;
    ASSERT_TRUE(s.startUp().ok);
    for (int step = 0; step < 4000; ++step) {
        const std::string what = op.operate(s, true);
        ASSERT_FALSE(::testing::Test::HasFailure()) << "step " << step << ": " << what;
        const std::string broken = brokenInvariant(s);
        ASSERT_EQ(broken, "") << "step " << step << ": " << what;
    }
}

}  // namespace
}  // namespace vem::test
