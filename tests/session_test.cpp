// A kept session's file, written and read back, and every malformed one refused by its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/key_script.h"
#include "run/session.h"

TEST(KeptSession, ReadsBackWhatItWritesAndRefusesAMalformedFileByItsLine) {
  const std::vector<InputEvent> events = {{0, InputKind::Key, {false, 'p'}},
                                          {41, InputKind::Key, {true, kKeyLeft}},
                                          {97, InputKind::Press, {}, 300, 80},
                                          {97, InputKind::Motion, {}, -4, 90},
                                          {99, InputKind::Release, {}, 340, 90}};
  std::string text = sessionHeader() + "# explored by hand\n\n";
  for (const InputEvent& event : events) {
    text += sessionLine(event);
  }
  Session session;
  ASSERT_EQ(readSession(text + sessionEnd(250), &session), "");
  EXPECT_EQ(session.frames, 250);
  EXPECT_FALSE(session.cutShort);
  ASSERT_EQ(session.events.size(), events.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(sessionLine(session.events[i]), sessionLine(events[i]));
  }
  ASSERT_EQ(readSession("\xEF\xBB\xBF" + text + sessionEnd(250), &session),
            "");  // saved on Windows
  EXPECT_EQ(session.events.size(), events.size());
  ASSERT_EQ(readSession(text, &session), "");  // as a killed viewer leaves it
  EXPECT_TRUE(session.cutShort);
  EXPECT_EQ(session.frames, 100);

  // The maps it was kept with, by any name a system allows, read back byte for byte; a
  // session from before maps were named is read as ever.
  const std::vector<std::string> maps = {"/m/clay.png", "/m/caf\xC3\xA9 au lait%20.png",
                                         "/m/two\nlines\x01.jpg", "/" + std::string(4095, 'x')};
  ASSERT_EQ(readSession(sessionHeader(maps) + sessionLine(events[0]), &session), "");
  EXPECT_EQ(session.maps, maps);
  EXPECT_EQ(sessionHeader({"/m/caf\xC3\xA9 au lait%20.png"}),
            "velkarin-session 2\nmap /m/caf%C3%A9%20au%20lait%2520.png\n");
  ASSERT_EQ(readSession("velkarin-session 1\n0 key p\n", &session), "");
  EXPECT_TRUE(session.maps.empty());

  const std::string header = sessionHeader();
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"", "line 1: not a kept session: the file is empty"},
      {"P6\n", "line 1: not a kept session: the first line must be 'velkarin-session 2'"},
      {"velkarin-session 3\n",
       "line 1: a session of format version 3; this viewer reads versions 1 to 2"},
      {"velkarin-session 1\nmap /a.png\n",
       "line 2: 'map' is not a frame number from 0 to 2147483647"},
      {header + "0 key p\nmap /a.png\n",
       "line 3: 'map' is not a frame number from 0 to 2147483647"},
      {header + "map /a%2\n", "line 2: a map's path writes a byte as % and two capital hex digits"},
      {header + "map /a%e9\n",
       "line 2: a map's path writes a byte as % and two capital hex digits"},
      {header + "map \n", "line 2: a map line names no map"},
      {header + "map /" + std::string(kSessionMapLineLength, 'a') + "\n",
       "line 2: longer than 12293 characters"},
      {header + "3 jump\n", "line 2: unknown event 'jump'"},
      {header + "3 key b\n", "line 2: a key event takes one key, as --keys spells it"},
      {header + "3 key pf\n", "line 2: a key event takes one key, as --keys spells it"},
      {header + "3 press 1\n",
       "line 2: a press event takes the pointer's x and y, each from -32768 to 32767"},
      {header + "0 press 0 0\n1 motion -32769 0\n",
       "line 3: a motion event takes the pointer's x and y, each from -32768 to 32767"},
      {header + "0 press 2147483647 0\n",
       "line 2: a press event takes the pointer's x and y, each from -32768 to 32767"},
      {header + "-3 key p\n", "line 2: '-3' is not a frame number from 0 to 2147483647"},
      {header + "12x key p\n", "line 2: '12x' is not a frame number from 0 to 2147483647"},
      {header + "2147483648 key p\n",
       "line 2: '2147483648' is not a frame number from 0 to 2147483647"},
      {header + "3 press 1 2x\n",
       "line 2: a press event takes the pointer's x and y, each from -32768 to 32767"},
      {header + "5 key <esc>\n",
       "line 2: Escape ends a run and is never kept: end the session with an end line"},
      {header + "9 key p\n8 key p\n",
       "line 3: frame 8 comes before the frame of the event above it"},
      {header + "9 key p\nend 8\n",
       "line 3: the end line takes the frames drawn, from the last event's frame to 2147483647"},
      {header + "end 99999999999\n",
       "line 2: the end line takes the frames drawn, from the last event's frame to 2147483647"},
      {header + "end 8\n9 key p\n", "line 3: a line after the end line"},
      {header + "9 key p", "line 2: half-written: it has no line break at its end"},
      {header + "9 key p" + std::string(80, ' ') + "\n", "line 2: longer than 80 characters"},
  };
  for (const auto& [bad, problem] : refused) {
    EXPECT_EQ(readSession(bad, &session), problem) << bad;
  }
}
