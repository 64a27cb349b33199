// Dragging with the left button: pixels to whole degrees of the view angles.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "input/mouse.h"

TEST(Drag, TwoPixelsMakeADegreeAndSmallMovesAddUp) {
  SceneState state;
  Drag drag;
  beginDrag(drag, 100, 50);
  EXPECT_TRUE(dragTo(drag, state, 120, 56));  // 20 right, 6 down
  EXPECT_EQ(state.viewTurnY, 10);
  EXPECT_EQ(state.viewTiltX, 3);

  EXPECT_FALSE(dragTo(drag, state, 121, 56));  // half a degree waits
  EXPECT_TRUE(dragTo(drag, state, 122, 56));
  EXPECT_EQ(state.viewTurnY, 11);

  EXPECT_TRUE(dragTo(drag, state, 119, 53));  // back left and up: -1.5 and -1.5 degrees
  EXPECT_EQ(state.viewTurnY, 10);
  EXPECT_EQ(state.viewTiltX, 2);
  EXPECT_TRUE(dragTo(drag, state, 118, 52));
  EXPECT_EQ(state.viewTurnY, 9);
  EXPECT_EQ(state.viewTiltX, 1);
}

TEST(Drag, OnlyAnActiveDragMovesTheViewAndANewOneStartsFresh) {
  SceneState state;
  Drag drag;
  EXPECT_FALSE(dragTo(drag, state, 300, 300));
  beginDrag(drag, 0, 0);
  dragTo(drag, state, 3, 0);  // one degree and half a degree pending
  endDrag(drag);
  EXPECT_FALSE(dragTo(drag, state, 50, 50));
  beginDrag(drag, 50, 50);
  EXPECT_FALSE(dragTo(drag, state, 51, 50));  // the old half degree is gone
  EXPECT_EQ(state.viewTurnY, 1);
  EXPECT_EQ(state.viewTiltX, 0);
}

TEST(Drag, ViewAnglesWrapAsTheKeysDo) {
  SceneState state;
  state.viewTurnY = std::numeric_limits<std::int32_t>::max();
  state.viewTiltX = std::numeric_limits<std::int32_t>::min();
  Drag drag;
  beginDrag(drag, 10, 10);
  dragTo(drag, state, 12, 8);
  EXPECT_EQ(state.viewTurnY, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(state.viewTiltX, std::numeric_limits<std::int32_t>::max());
}
