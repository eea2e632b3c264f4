#pragma once
// What probing reads of an entity and which columns the Probe Values dialog shows. The probe
// toolset keeps a current and a default record; the column titles come from here.
//
// Of the sixteen flags the probe step reads the model's ones (part instance ... field results,
// the results-available flag) and interpolateXy; legend, xValue, yValue, sequenceID and the
// identity flags only record the dialog's columns: no cell and no report reads them.
#include "cow_List.h"
#include "cow_String.h"
#include "prbC_Enumerations.h"
#include "res_Enumerations.h"

class prbC_ProbeOptionsCTX {
 public:
  bool initialized = false;  // set when the toolset first copies the defaults in
  prbC_ProbeEntityEnm probeEntity = prbC_NODES;
  res_OutputPositionEnm probeOutputPosition = res_NODAL;
  bool partInstance = true;
  bool elementId = true;
  bool elementType = true;
  bool elementConnectivity = true;
  bool elementFieldResults = true;
  bool nodeId = true;
  bool baseCoordinates = true;
  bool deformedCoordinates = true;
  bool attachedElements = true;
  bool nodeFieldResults = true;
  bool isFieldOutputAvailable = false;
  bool legend = true;
  bool xValue = true;
  bool yValue = true;
  bool sequenceID = true;
  bool interpolateXy = false;

  void SetOutputPos(res_OutputPositionEnm position) { probeOutputPosition = position; }

  // The column titles for the object probed ("XYPlot", "ODB"; anything else has no client and
  // one empty title), and those of them that may be sorted by.
  void BuildHeader(cow_List<cow_String>& header, const cow_String& objectName) const;
  void BuildSortHeader(cow_List<cow_String>& header, const cow_String& objectName) const;

  // The title of the field output column, which the table replaces by the variable's label.
  static constexpr const char* kFieldOutputTitle = "Field Output";

 private:
  void Build(cow_List<cow_String>& header, const cow_String& objectName, bool sortable) const;
};
