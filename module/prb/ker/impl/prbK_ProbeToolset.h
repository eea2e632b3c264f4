#pragma once
// The probe toolset: one client per kind of displayed object, the current one, the probe and
// report options (current and default records), and the tuple size, the number of cells one
// probed item yields (no client 1, XY plot 4, results model: 6 per node, 5 per element). Probe
// requests go to the current client; the value tables are re-initialised whenever the client,
// the entity or the field model changes, so their width always equals the tuple size.
#include <memory>

#include "cow_1DArray.h"
#include "cow_List.h"
#include "cow_String.h"
#include "g3d_Point.h"
#include "prbC_ProbeOptionsCTX.h"
#include "prbC_ProbeReportCTX.h"
#include "prbK_ProbeToolsetClient.h"

class prbK_ModeFactory;
class prbK_PytModule;
class prbK_SessionFragment;

class prbK_ProbeToolset {
 public:
  static constexpr int kOdb = 4;
  static constexpr int kXyPlot = 5;

  static prbK_ProbeToolset& Instance();
  static void Finalize();
  static bool Exists();
  prbK_ProbeToolset();
  ~prbK_ProbeToolset();

  // Registering does not make a client current. The toolset owns registered clients:
  // RemoveAllClients destroys those still registered; RemoveClient hands one back (and it is
  // no longer current).
  void AddClient(prbK_ProbeToolsetClient* client);
  void RemoveClient(prbK_ProbeToolsetClient* client);
  void RemoveAllClients();

  // Makes the registered client of the type current (none when no client has it).
  prbK_ProbeToolsetClient* GetClient(int type);
  // The client of the type made current for probing; false when there is none or its object
  // is not shown (it stays current then).
  bool SetClient(int type);
  prbK_ProbeToolsetClient* Client() const { return client_; }
  // The current client's display type; 0 without one.
  int ProbeObject() const;
  // "ODB" or "XYPlot" for the current client; empty without one.
  cow_String ObjectTypeName() const;
  void ObjectName(cow_String& name) const;

  void ReleaseMapId();
  void Refresh();
  void UpdateScene();
  void UpdateDMagSettings();
  void DisableProbe();
  // Copies the default records in on first use, then enables the client's probing.
  void EnableProbe();
  int Probe(const g3d_Point& point);
  void ClearHighlights();
  // Results models (the client's operations of the same names).
  ddr_Shortcut<odiK_Model> GetModel();
  void HighlightEntity(const ddr_Shortcut<odiK_BaseInstance>& instance, int first, int second);
  void UnMapId(int id, const ddr_Shortcut<odiK_Model>& model,
               ddr_Shortcut<odiK_BaseInstance>& instance, int& elementClass, int& element,
               int& node);
  void BaseCoordStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node, cow_String& text);
  void DefCoordStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node, cow_String& text);
  void ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int elementClass,
                      int element, cow_String& text);
  void ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node, bool attached,
                      cow_String& text);
  // The XY client's values of the item; false for other clients (the probe step prepares
  // results-model values).
  bool PrepareValue(cow_1DArray<cow_String>& values, int id, const g3d_Point& point);
  void StepFrameLabel(cow_String& step, cow_String& frame, cow_String& extra);
  void VariableLabel(cow_String& label);
  const cow_1DArrayList<cow_String>& CategorySectionPointList();
  const cow_1DArrayList<int>& AvailableOutputPositions() const;

  void SetProbeOptionsCTX(const prbC_ProbeOptionsCTX& options);
  // Totals and extremes only while the selected values hold field output.
  void SetProbeReportCTX(const prbC_ProbeReportCTX& options);
  // The displayed results changed (results-model clients).
  void ResetFieldModel();

  // The current records as scripts see them: the defaults until the first use copies them in.
  const prbC_ProbeOptionsCTX& ProbeOptions() const {
    return options_.initialized ? options_ : defaultOptions_;
  }
  const prbC_ProbeReportCTX& ReportOptions() const {
    return reportOptions_.initialized ? reportOptions_ : defaultReportOptions_;
  }
  // The default records, for reading and writing.
  prbC_ProbeOptionsCTX& DefaultProbeOptions() { return defaultOptions_; }
  prbC_ProbeReportCTX& DefaultReportOptions() { return defaultReportOptions_; }
  int TupleSize() const { return tupleSize_; }

 private:
  prbK_ProbeToolsetClient& Current() const;
  prbK_ProbeToolsetClient& CurrentOdb() const;
  void SetTupleSize();
  void SetClientOutputPosition();
  bool SetClientFieldModel();
  // Output position, field model and its flags, tables and the query: what follows a change of
  // the results model's entity, position or results.
  void RenewFieldModel();
  static void ReinitializeTables();

  prbK_ProbeToolsetClient* client_ = nullptr;
  // The scripting objects of probing: the session's members and the module "probe".
  std::unique_ptr<prbK_SessionFragment> sessionFragment_;
  std::unique_ptr<prbK_PytModule> module_;
  std::unique_ptr<prbK_ModeFactory> modeFactory_;
  cow_List<prbK_ProbeToolsetClient*> clients_;
  prbC_ProbeOptionsCTX options_;
  prbC_ProbeOptionsCTX defaultOptions_;
  prbC_ProbeReportCTX reportOptions_;
  prbC_ProbeReportCTX defaultReportOptions_;
  int tupleSize_ = 1;
};
