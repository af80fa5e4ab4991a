// Key selection and the Newton interpolants of a key track.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "math/Track.h"

namespace vardel {
namespace {

TEST(Track, SegmentChoiceAtAndAroundKeys) {
    const std::vector<double> five = {0, 10, 20, 30, 40};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::vector<double> frames;
        double t;
        TrackForm form;
        int first;
    } const cases[] = {
        {five, -5, TrackForm::none, 0},
        {five, 0, TrackForm::exact, 0},
        {five, std::nextafter(10.0, 0.0), TrackForm::quadratic, 0},
        {five, 10, TrackForm::exact, 1},
        {five, std::nextafter(10.0, 11.0), TrackForm::cubic, 0},
        {five, 25, TrackForm::cubic, 1},
        {five, std::nextafter(30.0, 31.0), TrackForm::quadratic, 2},
        {five, 40, TrackForm::exact, 4},
        {five, nan, TrackForm::exact, 4},
        {{0, 10}, 5, TrackForm::linear, 0},
        {{0, 10}, -1, TrackForm::none, 0},
        {{7}, -100, TrackForm::exact, 0},
        {{}, 3, TrackForm::none, 0},
    };
    for (const Case& c : cases) {
        const TrackSegment segment =
            findTrackSegment(static_cast<int>(c.frames.size()), c.t,
                             [&](int k) { return c.frames[static_cast<std::size_t>(k)]; });
        EXPECT_EQ(segment.form, c.form) << "n=" << c.frames.size() << " t=" << c.t;
        if (c.form != TrackForm::none) {
            EXPECT_EQ(segment.first, c.first) << "n=" << c.frames.size() << " t=" << c.t;
        }
    }
}

TEST(Track, NewtonFormsMatchHandComputedValues) {
    // Line through (0, 1), (10, 3); parabola 1 + t^2 through t = 0, 1, 3; cubic t^3 through
    // t = 0, 1, 2, 4 (unevenly spaced, so a wrong divided difference shows).
    const double lineT[] = {0, 10}, lineY[] = {1, 3};
    EXPECT_DOUBLE_EQ(newtonValue(TrackForm::linear, lineT, lineY, 2.5), 1.5);
    const double quadT[] = {0, 1, 3}, quadY[] = {1, 2, 10};
    EXPECT_DOUBLE_EQ(newtonValue(TrackForm::quadratic, quadT, quadY, 2.0), 5.0);
    const double cubeT[] = {0, 1, 2, 4}, cubeY[] = {0, 1, 8, 64};
    EXPECT_DOUBLE_EQ(newtonValue(TrackForm::cubic, cubeT, cubeY, 3.0), 27.0);
    EXPECT_DOUBLE_EQ(newtonValue(TrackForm::cubic, cubeT, cubeY, 0.5), 0.125);
}

} // namespace
} // namespace vardel
