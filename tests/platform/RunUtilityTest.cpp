#include "platform/RunUtility.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(RunUtilityTest, ExitStatusDecidesTheOutcome) {
    EXPECT_EQ(RunUtility({"true"}), UtilityOutcome::Succeeded);
    EXPECT_EQ(RunUtility({"false"}), UtilityOutcome::Failed);
    EXPECT_EQ(RunUtility({"ls", "/definitely/not/there"}), UtilityOutcome::Failed);
    EXPECT_EQ(RunUtility({"qorn-no-such-utility"}), UtilityOutcome::NotStarted);
    EXPECT_EQ(RunUtility({}), UtilityOutcome::NotStarted);
}

TEST(RunUtilityTest, ArgumentsAreNotInterpreted) {
    // With a shell in between, "$(false)" or ";" would change the outcome.
    EXPECT_EQ(RunUtility({"test", "$(false)", "=", "$(false)"}), UtilityOutcome::Succeeded);
    EXPECT_EQ(RunUtility({"test", "a;b", "=", "a"}), UtilityOutcome::Failed);
}

TEST(RunUtilityTest, EndingThroughASignalIsAFailure) {
    // "yes" writing into a pipe nobody reads dies of SIGPIPE.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
    const int savedStdout = ::dup(1);
    ::dup2(pipeEnds[1], 1);
    ::close(pipeEnds[1]);
    const UtilityOutcome outcome = RunUtility({"yes"});
    ::dup2(savedStdout, 1);
    ::close(savedStdout);
    EXPECT_EQ(outcome, UtilityOutcome::Failed);
}

}  // namespace
