// Every kind of save killed at random moments inside it, a few times each: the
// stores stay whole and in step, and the real program then starts without a
// question. bench/killtest runs the same rounds a thousand times per case.
#include "dbcrash/KillRounds.h"

#include <gtest/gtest.h>

TEST(DatabaseCrash, EverySaveIsAllOrNothingUnderAKill)
{
    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    for (const CrashCase& crashCase : CrashCases()) {
        const KillCounts counts = RunKillRounds(crashCase, 3, 3, random);
        EXPECT_EQ(counts.kills, 3) << crashCase.name;
        EXPECT_GT(counts.acknowledged, 0) << crashCase.name;
        EXPECT_TRUE(counts.Clean()) << crashCase.name << ": " << counts.firstFault.toStdString();
    }
}
