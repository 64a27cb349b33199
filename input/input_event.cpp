#include "input/input_event.h"

#include "input/keyboard.h"

InputReply applyInput(SceneState& state, Drag& drag, const InputEvent& event) {
  InputReply reply;
  switch (event.kind) {
    case InputKind::Key:
      return event.key.special ? applySpecialKey(state, event.key.code)
                               : applyKey(state, static_cast<unsigned char>(event.key.code));
    case InputKind::Press:
      reply.keep = true;
      beginDrag(drag, event.x, event.y);
      break;
    case InputKind::Release:
      reply.keep = true;
      endDrag(drag);
      break;
    case InputKind::Motion:
      // Only a drag's motion is kept. Like the x/X and z/Z keys, one that moves the view draws
      // at once.
      reply.keep = drag.active;
      reply.drawNow = dragTo(drag, state, event.x, event.y);
      break;
  }
  return reply;
}
