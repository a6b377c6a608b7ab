#include "platform/RunUtility.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(RunUtilityTest, OutcomeFollowsTheExitStatusAndArgumentsAreNotInterpreted) {
    EXPECT_EQ(RunUtility({"test", "$(false)", "=", "$(false)"}), UtilityOutcome::Succeeded);  // no shell substitutes
    EXPECT_EQ(RunUtility({"test", "a;b", "=", "a"}), UtilityOutcome::Failed);
    EXPECT_EQ(RunUtility({"qorn-no-such-utility"}), UtilityOutcome::NotStarted);
    EXPECT_EQ(RunUtility({}), UtilityOutcome::NotStarted);
}

TEST(RunUtilityTest, EndingThroughASignalIsAFailure) {
    int pipeEnds[2];  // "yes" writing into a pipe nobody reads dies of SIGPIPE
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const int savedStdout = ::dup(1);
    ::dup2(pipeEnds[1], 1);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    const UtilityOutcome outcome = RunUtility({"yes"});
    ::dup2(savedStdout, 1);
    ::close(savedStdout);
    EXPECT_EQ(outcome, UtilityOutcome::Failed);
}

}  // namespace
