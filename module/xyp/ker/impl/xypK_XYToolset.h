#pragma once
// The one long-lived object of the XY-plot kernel: the dictionary of XY plots, the options new
// plots start from, the clients other modules register, and the module's scripting parts. It
// carries changes of repository data into every plot that shows that data.
#include <functional>
#include <memory>

#include "cow_List.h"
#include "cow_Map.h"
#include "cow_String.h"
#include "omi_Btree.h"
#include "xypC_XYPlotOptions.h"
#include "xypK_HistoryFile.h"
#include "xypK_ModeFactory.h"
#include "xypK_XYPlot.h"

class xypK_LayerFragment;
class xypK_SessionFragment;
class xypK_OdbFragment;
class xypK_PytModule;
class xypK_ProbeToolsetClient;
class xypK_SceneManager;
class xypK_XYToolsetClient;
class odiK_Model;
class ddb_History;

class xypK_XYToolset {
 public:
  using PlotDictionary = cow_Map<cow_String, xypK_XYPlot>;

  static xypK_XYToolset& Instance();
  static void Finalize();
  static bool Exists();

  xypK_XYToolset();
  ~xypK_XYToolset();
  xypK_XYToolset(const xypK_XYToolset&) = delete;
  xypK_XYToolset& operator=(const xypK_XYToolset&) = delete;

  // Clients are owned by the toolset once added; RemoveClient hands one back without deleting it.
  void AddClient(xypK_XYToolsetClient* client);
  void RemoveClient(xypK_XYToolsetClient* client);
  // Tells every client, over a snapshot of the list; a client removed meanwhile is skipped.
  void ActivateXYPlot(int viewport);
  void CleanupFromFile(const cow_String& fileName);

  PlotDictionary& GetXYPlotDictionary() { return plots_; }
  const PlotDictionary& ConstGetXYPlotDictionary() const { return plots_; }
  // The plot must exist (IsXYPlot).
  xypK_XYPlot& GetXYPlot(const cow_String& name) { return plots_.Get(name); }
  const xypK_XYPlot& ConstGetXYPlot(const cow_String& name) const { return plots_.ConstGet(name); }
  bool IsXYPlot(const cow_String& name) const { return plots_.IsMember(name); }
  // For handles that may outlive what they name: the plot, or the curve of the plot, or a
  // catalogue error naming what is missing ("XYPlot not found: ", "Curve not found: ").
  xypK_XYPlot& GetExistingXYPlot(const cow_String& name);
  xypK_Curve& GetExistingCurve(const cow_String& plotName, const cow_String& curveName);

  // Recalculates the plot. When that fails: `undo` puts the old options back, the plot is
  // recalculated again (its failure, if the data changed meanwhile, is ignored), `query` is
  // fired, and the first error is raised.
  void RecalculateOrUndo(const cow_String& plotName, const std::function<void()>& undo,
                         const cow_String& query);

  // Removes the plot and asks for a redraw of its name; false when there was no such plot.
  bool DeleteXYPlot(const cow_String& name);
  // Copies plot `from` to `to`, replacing a plot of that name; false when `from` does not exist.
  bool CopyXYPlot(cow_String from, cow_String to);

  // Repository data of `name` was deleted, renamed or changed: every curve showing it follows,
  // and every plot that draws such a curve is redrawn once.
  void DeleteXYData(const cow_String& name);
  void RenameXYData(const cow_String& oldName, const cow_String& newName);
  void UpdateXYData(const cow_String& name);

  const xypC_XYPlotOptions& GetDefaultOptions() const { return defaultOptions_; }
  // New plots start from these; existing plots keep theirs.
  void SetDefaultOptions(const xypC_XYPlotOptions& options) { defaultOptions_ = options; }

  void CleanupViewport(int viewport);

  // The history lists of results files (by file name), built from the open database of a
  // model's file and rebuilt when its stamp changes; CleanupFromFile drops a file's lists.
  void UpdateHistoryLists(const odiK_Model& model);
  cow_List<cow_String> HistoryVariableLabelList(const odiK_Model& model);
  cow_List<cow_String> HistoryVariableLegendList(const odiK_Model& model);
  // The legend of a label; empty for a file or label without lists (no update).
  cow_String HistoryVariableLegend(const cow_String& fileName, const cow_String& label) const;
  bool IsComplex(const odiK_Model& model);
  // False for an unknown file, label or step.
  bool StepHistoryLabelListIsMember(const cow_String& label, const cow_String& fileName,
                                    int stepIndex) const;
  // -1 for an unknown file, label or step.
  int StepHistoryLabelListKey(const cow_String& label, const cow_String& fileName,
                              int stepIndex) const;
  // The lists of a file; null when it has none.
  const xypK_HistoryFile* HistoryFile(const cow_String& fileName) const;
  // One history output's label and legend; `withInstance` puts the instance's name in.
  static void GenerateHistoryLabels(const odiK_Model& model, const ddb_History& history,
                                    cow_String& label, cow_String& legend, bool withInstance);

  xypK_SceneManager& SceneManager() { return *sceneManager_; }
  // The probe client of XY plots: made and registered with the probe toolset here, and
  // unregistered before it goes with this toolset.
  xypK_ProbeToolsetClient& ProbeClient() { return *probeClient_; }
  xypK_PytModule& Module() { return *module_; }

 private:
  void RemoveAllClients();
  // Calls `change` on the real plot for each curve that showed `dataName` or `otherName` when
  // the call began; `change` returns whether that plot must be redrawn (once, after its curves).
  template <class Change>
  void ChangeCurves(const cow_String& dataName, const cow_String& otherName, Change change);

  cow_List<xypK_XYToolsetClient*> clients_;
  std::unique_ptr<xypK_LayerFragment> layerFragment_;
  std::unique_ptr<xypK_SessionFragment> sessionFragment_;
  std::unique_ptr<xypK_OdbFragment> odbFragment_;
  PlotDictionary plots_;
  std::unique_ptr<xypK_SceneManager> sceneManager_;
  xypC_XYPlotOptions defaultOptions_;
  xypK_ModeFactory modeFactory_;
  std::unique_ptr<xypK_PytModule> module_;
  std::unique_ptr<xypK_ProbeToolsetClient> probeClient_;
  int closeListener_ = 0;  // hears the results databases that close
  omi_Btree<cow_String, std::shared_ptr<xypK_HistoryFile>> historyFiles_;
};
