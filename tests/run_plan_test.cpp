// A run's plan, frame by frame: its keys, its last frame, its pace and its frame-rate lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/frame_counter.h"
#include "run/run_plan.h"

TEST(FrameCounter, ReportsTheFramesOfEachFiveSecondsInTheFormDemoUsersKnow) {
  FrameCounter counter;
  EXPECT_EQ(countFrame(counter, 100.0), "");  // starts the count
  for (int frame = 1; frame < 300; ++frame) {
    ASSERT_EQ(countFrame(counter, 100.0 + frame / 60.0), "") << frame;
  }
  EXPECT_EQ(countFrame(counter, 105.0), "300 frames in 5.0 seconds = 60.000 FPS\n");
  EXPECT_EQ(countFrame(counter, 107.0), "");
  EXPECT_EQ(countFrame(counter, 110.5), "2 frames in 5.5 seconds = 0.364 FPS\n");
  // A whole run's line: a two-frame run of 0.17 s is not "2 frames in 0.2 seconds".
  EXPECT_EQ(frameRateLine(2, 0.1704, kRunSecondsDecimals),
            "2 frames in 0.170 seconds = 11.737 FPS\n");
  // One frame is a frame; a run stopped before its first took no time, at no rate.
  EXPECT_EQ(frameRateLine(1, 0.025, kRunSecondsDecimals),
            "1 frame in 0.025 seconds = 40.000 FPS\n");
  EXPECT_EQ(frameRateLine(0, 0.0, kRunSecondsDecimals), "0 frames in 0.000 seconds = 0.000 FPS\n");
}

TEST(FrameCounter, FrameTimesGiveTheMedianThe99thPercentileAndTheLongest) {
  FrameTimes times;
  EXPECT_EQ(frameTimesWords(times), "");
  // 1,000 frames: 980 of 10 ms, 15 of 20 ms, 5 of 50 ms; the 990th is one of 20 ms.
  for (int frame = 0; frame < 1000; ++frame) {
    addFrameTime(times, frame < 980 ? 0.010 : frame < 995 ? 0.020 : 0.050);
  }
  EXPECT_NEAR(frameTimeAt(times, 0.5), 0.010, 0.010 * 0.0005);
  EXPECT_NEAR(frameTimeAt(times, 0.99), 0.020, 0.020 * 0.0005);
  EXPECT_EQ(frameTimeAt(times, 1.0), 0.050);
  EXPECT_EQ(frameTimesWords(times),
            "; frame times: median 10.00 ms, 99th percentile 20.00 ms, max 50.00 ms");
  // The nearest rank, rounded up (rank ⌈p·n⌉): the median of three times is the second, and
  // the 99th percentile of 150 the 149th (⌈148.5⌉), where rounding down gives the 1st and 148th.
  const struct {
    std::vector<double> times;
    double fraction;
    double expected;
  } ranks[] = {{{0.001, 0.002, 0.003}, 0.5, 0.002},
               {[] {
                  std::vector<double> many(148, 0.010);
                  many.insert(many.end(), {0.050, 0.050});
                  return many;
                }(),
                0.99, 0.050}};
  for (const auto& rank : ranks) {
    FrameTimes set;
    for (const double time : rank.times) {
      addFrameTime(set, time);
    }
    EXPECT_NEAR(frameTimeAt(set, rank.fraction), rank.expected, rank.expected * 0.0005)
        << rank.times.size() << " times";
  }
  // Beyond the bins' ends, and one frame alone: the figures stay within what was measured.
  FrameTimes extremes;
  addFrameTime(extremes, 30.0);
  EXPECT_EQ(frameTimeAt(extremes, 0.5), 30.0);
  addFrameTime(extremes, 1e-7);
  EXPECT_EQ(frameTimeAt(extremes, 0.5), 1e-7);
  // A five-second line carries its own frames' times, and the next begins afresh.
  FrameCounter counter;
  countFrame(counter, 0.0, &times);
  EXPECT_EQ(countFrame(counter, 5.0, &times),
            "1 frame in 5.0 seconds = 0.200 FPS; frame times: median 10.00 ms, 99th percentile "
            "20.00 ms, max 50.00 ms\n");
  EXPECT_EQ(times.count, 0u);
}

TEST(FrameRate, FramesFallDueOnAFixedGridThatALateFrameDoesNotMove) {
  Pace pace;                                             // 50 frames a second: due every 0.02 s
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.000), 10.000);  // the first at once
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.001), 10.020);  // early: waits for its time
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.045), 10.045);  // a little late: at once...
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.046), 10.060);  // ...and the grid holds
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.110), 10.110);  // late by 1.5 periods: at once,
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.111), 10.111);  // the next one too, to catch up,
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.112), 10.120);  // and the grid still holds
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.500), 10.500);  // stalled: no burst, a new grid
  EXPECT_DOUBLE_EQ(frameDue(pace, 50, 10.501), 10.520);
}

TEST(ScriptedRun, PressesAKeyAFrameAndEndsOnItsLastFrameWhichTheReadoutNumbers) {
  RunPlan plan;
  plan.frames = 3;
  std::string unknown;
  ASSERT_TRUE(parseKeyScript("p<left>", &plan.keys, &unknown));
  RunProgress progress;
  std::string seen;
  for (int frame = 1; frame <= plan.frames; ++frame) {
    const ScriptKey* key = takeNextKey(plan, progress);
    seen += std::to_string(frameNumberShown(progress)) + (key ? spellKeys({*key}) : "-") +
            (isLastFrame(plan, progress) ? " last" : " ");
    countDrawnFrame(progress);
  }
  EXPECT_EQ(seen, "1p 2<left> 3- last");
  // Said to a person, a key pressed three times or more in a row is counted.
  ASSERT_TRUE(parseKeyScript("pxx<pagedown><pagedown><pagedown>xxxx", &plan.keys, &unknown));
  EXPECT_EQ(countKeys(plan.keys), "pxx<pagedown>\u00d73x\u00d74");
  EXPECT_EQ(countKeys(plan.keys, 2), "x<pagedown>\u00d73x\u00d74");
}
