#include "gdy_FieldChoice.h"

#include "odb_Odb.h"

gdy_FieldChoice gdy_FieldChoice::Default(const odb_Odb& odb) {
  gdy_FieldChoice choice;
  if (odb.Steps().empty()) return choice;
  choice.step = 0;
  choice.frame = LastFrame(odb.Steps().front());
  if (const ddb_Frame* frame = FrameOf(odb, choice.step, choice.frame))
    choice.field = FieldOf(*frame, cow_String());
  return choice;
}

int gdy_FieldChoice::LastFrame(const ddb_Step& step) {
  return static_cast<int>(step.frames.size()) - 1;
}

bool gdy_FieldChoice::HasField(const ddb_Frame& frame, const cow_String& label) {
  for (const ddb_FieldOutput& field : frame.fields)
    if (field.label == label) return true;
  return false;
}

cow_String gdy_FieldChoice::FieldOf(const ddb_Frame& frame, const cow_String& wanted) {
  if (!wanted.IsEmpty() && HasField(frame, wanted)) return wanted;
  return frame.fields.empty() ? cow_String() : frame.fields.front().label;
}

const ddb_Frame* gdy_FieldChoice::FrameOf(const odb_Odb& odb, int step, int frame) {
  if (step < 0 || step >= static_cast<int>(odb.Steps().size())) return nullptr;
  const ddb_Step& s = odb.Steps()[static_cast<std::size_t>(step)];
  if (frame < 0 || frame >= static_cast<int>(s.frames.size())) return nullptr;
  return &s.frames[static_cast<std::size_t>(frame)];
}
