#pragma once
// The checks that a results file's writer and reader share: what a history output, a set, an
// element class or a field refers to must exist in the model. Each returns "" when sound, else the
// reason, starting with the name of the item at fault ("node: no node 12 in instance 'PLATE'"),
// so that the writer can raise it as a ValueError and the reader as a damaged file.
#include <string>

#include "bme_ElementClass.h"
#include "ddb_FieldOutput.h"
#include "ddb_History.h"
#include "odiK_Model.h"

class odb_Checks {
 public:
  // Also resolves the history's nodeNumber, elementClass and elementNumber.
  static std::string History(const odiK_Model& model, ddb_History& history);
  static std::string Set(const odiK_Model& model, const odiK_Set& set);
  // The class's shape, node count and connectivity (every node in `instance`).
  static std::string ElementClass(const odiK_PartInstance& instance,
                                  const bme_ElementClass& elements);
  static std::string Field(const odiK_Model& model, const ddb_FieldOutput& field);
  // Faces of an element of that shape (edges for lines and plane shapes).
  static int Faces(res_ElementShapeEnm shape);
};
