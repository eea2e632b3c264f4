#pragma once
// What a scripting command reads: a line on what it does, what it returns, and its arguments,
// each with its keyword, kind, default and a line of its own. The binding makes the command's
// docstring and Python signature from it, and a call refuses to read a keyword that its command
// does not declare, so that the description cannot drift from what the command reads.
#include <cstddef>
#include <vector>

struct omu_Parameter {
  const char* keyword;      // null ends a table
  const char* kind;         // as a script writer reads it: "str", "sequence of (x, y) pairs", ...
  const char* defaultText;  // a Python expression; null for a required argument
  const char* doc;
};

struct omu_Signature {
  enum class Form {
    Keywords,   // required arguments by position or keyword, optional ones by keyword only
    Variadic,   // the first argument is any number of positional values (or one sequence)
    Unchanged,  // every argument is optional and an absent one keeps its current value
  };
  const char* summary;
  const omu_Parameter* parameters;  // ended by a row with a null keyword; null for none
  const char* returns = nullptr;    // null: None
  Form form = Form::Keywords;
  const omu_Parameter* more = nullptr;  // parameters shared by several commands, after these

  // Every parameter, in order (the command's own, then the shared ones).
  std::vector<const omu_Parameter*> All() const;
  // The parameter of that keyword, or null.
  const omu_Parameter* Find(const char* keyword) const;
  std::size_t Count() const { return All().size(); }
};
