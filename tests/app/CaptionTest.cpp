#include <gtest/gtest.h>

#include "app/Caption.h"

namespace Vexa {
namespace {

TEST(FrameRate, RoundsHalfAwayFromZero) {
  EXPECT_EQ(roundedFrameRate(1.0 / 59.6), 60.0);
  EXPECT_EQ(roundedFrameRate(1.0 / 59.4), 59.0);
  EXPECT_EQ(roundedFrameRate(1.0 / 60.5), 61.0);
  EXPECT_EQ(roundedFrameRate(-1.0 / 59.6), -60.0);
}

TEST(Caption, ShowsStatisticsAndCullingNote) {
  EXPECT_EQ(captionText(true, 1.0 / 59.6, 12, true),
            "Vexa's Voyage | FPS: 60 | # drawn objects: 12 | View-Frustum-Culling on");
  EXPECT_EQ(captionText(true, 1.0 / 59.4, 0, false),
            "Vexa's Voyage | FPS: 59 | # drawn objects: 0");
}

TEST(Caption, IsTheTitleAloneWithoutStatistics) {
  EXPECT_EQ(captionText(false, 0.016, 12, true), "Vexa's Voyage");
  EXPECT_EQ(captionText(false, 0.016, 12, false), "Vexa's Voyage");
}

// The loop's first frame lasts no time at all; the caption shows a whole rate
// in the format of every other frame, never "inf" or "9.09091e+06".
TEST(Caption, AFrameShorterThanAMillisecondShowsAThousand) {
  EXPECT_EQ(captionText(true, 0.0, 1, false), "Vexa's Voyage | FPS: 1000 | # drawn objects: 1");
  EXPECT_EQ(captionText(true, 1.1e-7, 1, false), "Vexa's Voyage | FPS: 1000 | # drawn objects: 1");
  EXPECT_EQ(roundedFrameRate(0.000999), 1000.0);
  EXPECT_EQ(roundedFrameRate(0.0015), 667.0) << "a real fast frame keeps its own rate";
}

}  // namespace
}  // namespace Vexa
