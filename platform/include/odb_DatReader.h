#pragma once
// Reads the printed output of a CalculiX job (.dat: the tables of *NODE PRINT and *EL PRINT)
// into a results-file writer as history output. Every table
//   " <quantity> (<components>) for set <SET> and time <t>"
// gives, per row entity (a node; an element and integration point) and component, one history
// output whose x values are the table times; "total <quantity> for set <SET> and time <t>"
// tables give whole-set outputs of that set. Labels follow the writer's names ("U2" for the
// second displacement component, "S11" for sxx, "ALLKE" for the total kinetic energy; see
// LabelOf), descriptions the quantity.
//
// Tables go to the steps the .frd gave (the first time step whose last frame is at or after the
// table's time); without them, the reader makes its own steps, a new one whenever a table's time
// goes back. The sets named by the tables are added to the model, with the entities their rows
// list. Text that is neither a known table nor its rows (eigenvalue output, unknown tables) is
// skipped with one warning line naming it and its line; so are rows at nodes or elements the
// .frd's model does not hold, which the solver prints for labels of generated sets that are no
// node and for the original nodes and elements of beams and shells it expanded into solids.
// A malformed number and a truncated table raise odb_OdbException naming file and line.
#include <string>
#include <string_view>
#include <vector>

#include "cow_String.h"
#include "odb_FrdReader.h"

class odb_Writer;

class odb_DatReader {
 public:
  // `instance`: the model's instance (already added to the writer, with its nodes and elements).
  // `steps`: the .frd's steps; the reader appends the steps it makes.
  odb_DatReader(const cow_String& path, const cow_String& instance, odb_Writer& writer,
                std::vector<odb_FrdReader::Step>& steps);
  // Reads the whole file, then adds the sets and history outputs to the writer.
  void Read();

  // The history label and description of a component of a quantity ("displacements", "vy")
  // or of a total ("total kinetic energy", "").
  struct Label {
    cow_String label;
    cow_String description;
  };
  static Label LabelOf(std::string_view quantity, std::string_view component);

 private:
  struct Impl;
  cow_String path_;
  cow_String instance_;
  odb_Writer& writer_;
  std::vector<odb_FrdReader::Step>& steps_;
};
