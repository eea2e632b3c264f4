#pragma once
// The results database's answers about models: the model a shortcut names, while its database
// is open.
#include "ddr_Shortcut.h"

class odiK_Model;

class ddb_DdbToolset {
 public:
  // Null when the shortcut is empty or its database was closed.
  const odiK_Model* ConstGetModel(const ddr_Shortcut<odiK_Model>& model) const {
    return model.Get();
  }
};
