#pragma once
// One step of a results database: its name, domain, total time at its start and time stamp, its
// frames of field output and its history outputs in the order they were written.
#include <cstdint>
#include <vector>

#include "cow_String.h"
#include "ddb_Frame.h"
#include "ddb_History.h"
#include "res_Enumerations.h"

class ddb_Step {
 public:
  cow_String name;
  res_DomainEnm domain = res_TIME;
  double totalTime = 0.0;
  std::int32_t timeStamp = 0;
  std::vector<ddb_Frame> frames;
  std::vector<ddb_History> histories;

  bool hasHistory() const { return !histories.empty(); }
  int numHistory() const { return static_cast<int>(histories.size()); }
};
