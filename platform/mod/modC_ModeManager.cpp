#include "modC_ModeManager.h"

#include "mmgK_ModeFactory.h"
#include "omi_Singleton.h"
#include "omu_RuntimeErrorException.h"

modC_ModeManager& modC_ModeManager::Instance() {
  return omi_Singleton<modC_ModeManager>::Instance();
}

void modC_ModeManager::Finalize() {
  omi_Singleton<modC_ModeManager>::Finalize();
}

bool modC_ModeManager::Exists() {
  return omi_Singleton<modC_ModeManager>::Exists();
}

modC_ModeManager::~modC_ModeManager() {
  running_.reset();
  ended_.reset();
}

void modC_ModeManager::Collect() {
  ended_.reset();
}

void modC_ModeManager::Enter(const cow_String& factory, const cow_String& name, int viewport) {
  Leave();
  mmgK_ModeFactory* maker = mmgK_ModeFactory::Find(factory);
  std::unique_ptr<mmgK_Procedure> made = maker ? maker->MakeProcedure(name) : nullptr;
  auto* procedure = dynamic_cast<modC_Procedure*>(made.get());
  if (!procedure) NEX_THROW(omu_RuntimeErrorException("no mode " + name + " of " + factory));
  made.release();
  running_.reset(procedure);
  viewport_ = viewport;
  try {
    procedure->Install(nullptr);
  } catch (...) {
    running_.reset();
    Collect();
    throw;
  }
  Collect();
}

void modC_ModeManager::Leave() {
  Collect();
  std::unique_ptr<modC_Procedure> leaving = std::move(running_);
  leaving.reset();
  Collect();
}

void modC_ModeManager::LeaveViewport(int viewport) {
  if (running_ && viewport_ == viewport) Leave();
}

void modC_ModeManager::Suspend() {
  if (running_) running_->Suspend();
}

void modC_ModeManager::Resume() {
  if (running_) running_->Resume();
}

void modC_ModeManager::Ended(modC_Procedure& procedure) {
  if (running_.get() == &procedure) ended_ = std::move(running_);
}
