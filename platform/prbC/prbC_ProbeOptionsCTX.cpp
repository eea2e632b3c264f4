#include "prbC_ProbeOptionsCTX.h"

namespace {
struct Column {
  const char* title;
  bool sortable;
};

constexpr Column kXyColumns[] = {{"Legend", true}, {"Sequence ID", true}, {"X", true}, {"Y", true}};
constexpr Column kElementColumns[] = {{"Part Instance", true},
                                      {"Element ID", true},
                                      {"Type", true},
                                      {"Connectivity", false},
                                      {prbC_ProbeOptionsCTX::kFieldOutputTitle, true}};
constexpr Column kNodeColumns[] = {
    {"Part Instance", true},         {"Node ID", true},
    {"Original Coordinates", false}, {"Deformed Coordinates", false},
    {"Attached Elements", true},     {prbC_ProbeOptionsCTX::kFieldOutputTitle, true}};
constexpr Column kNoClient[] = {{"", true}};

template <std::size_t N>
void Append(cow_List<cow_String>& header, const Column (&columns)[N], bool sortable) {
  for (const Column& c : columns)
    if (!sortable || c.sortable) header.Append(c.title);
}
}  // namespace

void prbC_ProbeOptionsCTX::Build(cow_List<cow_String>& header, const cow_String& objectName,
                                 bool sortable) const {
  header = cow_List<cow_String>();
  if (objectName == "XYPlot")
    Append(header, kXyColumns, sortable);
  else if (objectName == "ODB" && probeEntity == prbC_ELEMENTS)
    Append(header, kElementColumns, sortable);
  else if (objectName == "ODB")
    Append(header, kNodeColumns, sortable);
  else
    Append(header, kNoClient, sortable);
}

void prbC_ProbeOptionsCTX::BuildHeader(cow_List<cow_String>& header,
                                       const cow_String& objectName) const {
  Build(header, objectName, false);
}

void prbC_ProbeOptionsCTX::BuildSortHeader(cow_List<cow_String>& header,
                                           const cow_String& objectName) const {
  Build(header, objectName, true);
}
