#include "utl_Libraries.h"

#include <map>

#include "cmdC_WIP.h"
#include "cmdC_XypMessageTable.h"
#include "g3d_ConstantsModule.h"
#include "gdy_ModelSceneManager.h"
#include "odb_AccessModule.h"
#include "odb_SessionFragment.h"
#include "omi_Singleton.h"
#include "pyo_OskavoMath.h"
#include "qryK_QueryRegistrarRole.h"
#include "sesC_PostIdMap.h"
#include "sesK_ColorMap.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "thr_ThreadSingleton.h"
#include "typ_ArchCompTable.h"
#include "uti_ResourceManager.h"

std::vector<std::string>& utl_LibraryLog::Events() {
  static std::vector<std::string> events;
  return events;
}

namespace {
std::map<std::string, int>& Users() {
  static std::map<std::string, int> users;
  return users;
}

using Action = void (*)();
void Nothing() {}

void Up(const char* prefix, Action bringUp) {
  if (Users()[prefix]++ != 0) return;
  utl_LibraryLog::Events().push_back(std::string(prefix) + "_initialize");
  bringUp();
}

void Down(const char* prefix, Action takeDown) {
  int& users = Users()[prefix];
  if (users <= 0) return;  // more finalises than initialises: nothing is up
  if (--users != 0) return;
  takeDown();
  utl_LibraryLog::Events().push_back(std::string(prefix) + "_finalize");
}

void UtlUp() {
  uti_ResourceManager::InstallLabelLookup();
}
void UtlDown() {
  qryK_QueryRegistrarRole::Finalize();
  typ_ArchCompTable::Finalize();
  thr_ThreadSingleton<uti_ResourceManager>::Finalize();
}
void PyoUp() {
  pyo_OskavoMath::Instance();
}
void PyoDown() {
  pyo_OskavoMath::Finalize();
}
void CmdUp() {
  omi_Singleton<cmdC_WIP>::Instance();
}
void G3dUp() {
  g3d_ConstantsModule::Create();
}
void G3dDown() {
  g3d_ConstantsModule::Destroy();
}
void OdbUp() {
  odb_SessionFragment::Create();
  odb_AccessModule::Create();
}
void OdbDown() {
  odb_AccessModule::Destroy();
  odb_SessionFragment::Destroy();  // closes every open database first
}
void GdyUp() {
  gdy_ModelSceneManager::Create();
}
void GdyDown() {
  gdy_ModelSceneManager::Destroy();  // unregisters itself from the role first
  smg_SceneManagerRole::Finalize();
}
void SesDown() {
  sesK_ColorMap::Finalize();
  sesK_SessionState::Finalize();
  sesC_PostIdMap::Finalize();
}
void CmdDown() {
  cmdC_XypMessageTable::Finalize();
  omi_Singleton<cmdC_WIP>::Finalize();
}
}  // namespace

bool utl_LibraryLog::IsUp(const std::string& prefix) {
  auto it = Users().find(prefix);
  return it != Users().end() && it->second > 0;
}

#define UTL_LIBRARY(prefix, up, down) \
  void prefix##_initialize(int&) {    \
    Up(#prefix, up);                  \
  }                                   \
  void prefix##_finalize(int&) {      \
    Down(#prefix, down);              \
  }

UTL_LIBRARY(utl, UtlUp, UtlDown)
UTL_LIBRARY(omu, Nothing, Nothing)
UTL_LIBRARY(pyo, PyoUp, PyoDown)
UTL_LIBRARY(mdl, Nothing, Nothing)
UTL_LIBRARY(g3d, G3dUp, G3dDown)
UTL_LIBRARY(cmdC, CmdUp, CmdDown)
UTL_LIBRARY(sesC, Nothing, SesDown)
UTL_LIBRARY(xypC, Nothing, Nothing)
UTL_LIBRARY(modC, Nothing, Nothing)
UTL_LIBRARY(res, Nothing, Nothing)
UTL_LIBRARY(ddb, Nothing, Nothing)
UTL_LIBRARY(odb, OdbUp, OdbDown)
UTL_LIBRARY(oda, Nothing, Nothing)
UTL_LIBRARY(bas, Nothing, Nothing)
UTL_LIBRARY(odpK, Nothing, Nothing)
UTL_LIBRARY(gdy, GdyUp, GdyDown)
UTL_LIBRARY(mmgK, Nothing, Nothing)
UTL_LIBRARY(gtkK, Nothing, Nothing)
