// The recovery points of the Windows deliverables (built without exceptions), run natively:
// the fallback comes back, what the body did before stays done, points nest, the stack and
// the caller's locals are whole after a cut, and with no point open the process ends with
// ERROR_NOT_ENOUGH_MEMORY.
#include <gtest/gtest.h>

#include "tests/unit/runtime/recovery_subject.h"

namespace {

TEST(RecoveryTest, FailureGivesTheFallbackAndSuccessTheResult) {
    EXPECT_EQ(recovery_subject::plain(false), 7);
    EXPECT_EQ(recovery_subject::plain(true), -1);
    EXPECT_EQ(recovery_subject::text(false), std::string(10, 'x'));
    EXPECT_EQ(recovery_subject::text(true), "fallback");
    // A point closed by a failure leaves the chain as it was: the next one works.
    EXPECT_EQ(recovery_subject::plain(false), 7);
}

TEST(RecoveryTest, InnerPointsTakeInnerFailuresAndTheOuterOneTheRest) {
    EXPECT_EQ(recovery_subject::nested(false), (std::vector<int>{1, 2, -20, 3, 30}));
    EXPECT_EQ(recovery_subject::nested(true), (std::vector<int>{1, 2, -20, -10}));
}

TEST(RecoveryTest, DeepFailuresLeaveTheCallerWhole) {
    // Each of three rounds: -1 plus 11..13 * 1000 + 22..24 * 100 + 33..35 * 10 + 44..46.
    long expected = 0;
    for (long k = 0; k < 3; ++k) expected += -1 + (11 + k) * 1000 + (22 + k) * 100 + (33 + k) * 10 + 44 + k;
    EXPECT_EQ(recovery_subject::deep(), expected);
}

TEST(RecoveryDeathTest, FailureWithNoPointEndsTheProcessWithNotEnoughMemory) {
    EXPECT_EXIT(recovery_subject::withoutPoint(), ::testing::ExitedWithCode(8), "");
}

}  // namespace
