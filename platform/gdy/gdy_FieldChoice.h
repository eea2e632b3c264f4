#pragma once
// How a viewport's step, frame and field variable fall into place in a results database: the
// defaults (the first step, its last frame, the frame's first field), and the field kept across
// a change of frame when the new frame has it.
#include "cow_String.h"

class ddb_Frame;
class ddb_Step;
class odb_Odb;

class gdy_FieldChoice {
 public:
  int step = -1;     // 0-based; -1 when the database has no step
  int frame = -1;    // 0-based; -1 when the step has no frame
  cow_String field;  // empty when the frame has no field

  // The defaults of a database.
  static gdy_FieldChoice Default(const odb_Odb& odb);
  // The last frame of a step, -1 for none.
  static int LastFrame(const ddb_Step& step);
  static bool HasField(const ddb_Frame& frame, const cow_String& label);
  // `wanted` when the frame has it, else its first field's label (empty for none).
  static cow_String FieldOf(const ddb_Frame& frame, const cow_String& wanted);
  // The frame of a choice, null when it names none.
  static const ddb_Frame* FrameOf(const odb_Odb& odb, int step, int frame);

  bool operator==(const gdy_FieldChoice&) const = default;
};
