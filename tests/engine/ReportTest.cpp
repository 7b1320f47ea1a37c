// Reports: prefixed lines on stderr, once a run when asked, or to a sink.

#include "engine/EngineTestSupport.h"

using namespace Flurr;

TEST(Report, PrefixedLinesOnStderrOnceARunAndSinksThatHandThemBack) {
    testing::internal::CaptureStderr();
    Warn("bad data");
    ReportError("no save");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Warning: bad data\nError: no save\n");

    std::vector<Warning> seen;
    EXPECT_FALSE(SetWarningSink([&](const Warning& w) { seen.push_back(w); })) << "stderr's";
    {
        EngineTest::WarningLog log; // in front of `seen` until it goes
        static int runs = 0;        // "once" lasts the run: each run has its own texts
        const std::string run = std::to_string(++runs);
        for (int i = 0; i < 2; ++i) {
            WarnOnce("missing " + run);
            WarnOnce("key " + run, "effect " + std::to_string(i) + " names it");
        }
        EXPECT_EQ(log.Texts(), (std::vector<std::string>{"missing " + run, "effect 0 names it"}));
    }
    ReportError("failed");
    EXPECT_TRUE(SetWarningSink(nullptr)) << "the replaced sink is handed back";
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].severity == Severity::Error && seen[0].text == "failed");
}
