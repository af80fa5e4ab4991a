// The capture's progress line, the benchmark report and where the data is found.
#include "app/DataLocation.h"
#include "capture/BenchReport.h"
#include "capture/CaptureProgress.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vardel {
namespace {

TEST(CaptureProgress, ShowsTheShareDoneAndEstimatesTheTimeLeftFromThePace) {
    EXPECT_EQ(progressLine({3, 4380, 73.0, 146.0, 20.0}),
              "[##########..........]  50%  part 3  frame 4380  1:13.0 of 2:26.0  about 0:20 left");
    // The total is an estimate: past it the bar waits at 99 %.
    EXPECT_EQ(progressLine({6, 9000, 150.0, 149.0, 60.0}).substr(0, 27),
              "[###################.]  99%");
    EXPECT_EQ(progressLine({2, 10, 0.1666, 0.0, 1.0}),
              "[????????????????????]   0%  part 2  frame 10  0:00.1");
}

TEST(BenchReport, MedianAndNinetyNinthPercentilePerPartAndOverall) {
    BenchReport report;
    report.setLoadSeconds(0.0042);
    for (int i = 1; i <= 100; ++i)
        report.addFrame(2, i / 1000.0); // 1 ... 100 ms
    report.addFrame(5, 0.004);
    report.addFrame(5, 0.002);

    const auto two = report.figures(2);
    EXPECT_EQ(two.frames, 100);
    EXPECT_NEAR(two.medianMs, 50.5, 1e-3);
    EXPECT_NEAR(two.p99Ms, 99.0, 1e-3);
    EXPECT_NEAR(two.framesPerSecond(), 100 / 5.05, 1e-3);
    EXPECT_NEAR(report.figures(5).medianMs, 3.0, 1e-3);
    EXPECT_EQ(report.figures(-1).frames, 102);
    EXPECT_EQ(report.figures(0).frames, 0);

    const std::string text = report.text();
    EXPECT_NE(text.find("loading the data: 4.2 ms"), std::string::npos) << text;
    EXPECT_NE(text.find("\n2 "), std::string::npos) << text;
    EXPECT_NE(text.find("\n5 "), std::string::npos) << text;
    EXPECT_EQ(text.find("\n0 "), std::string::npos) << "parts that did not run are left out";
    EXPECT_NE(text.find("\nall        102"), std::string::npos) << text;
}

TEST(DataLocation, TheCurrentFolderFirstThenTheInstalledData) {
    test::TempDir dir;
    const auto program = dir.path() / "prefix" / "bin" / "vardel";
    const auto here = dir.path() / "here";
    std::filesystem::create_directories(here);
    EXPECT_EQ(chooseDataRoot(here, program), "") << "nothing installed: the current folder";
    dir.write("prefix/share/vardel/data/krs.xm", "x");
    EXPECT_EQ(chooseDataRoot(here, program), dir.path() / "prefix/share/vardel");
    dir.write("here/data/krs.xm", "x");
    EXPECT_EQ(chooseDataRoot(here, program), "") << "a data folder here wins";
}

} // namespace
} // namespace vardel
