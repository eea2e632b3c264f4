#include "utl_Translate.h"

#include "thr_ThreadSingleton.h"
#include "uti_ResourceManager.h"

cow_String utl_tr(const cow_String& text) {
  return thr_ThreadSingleton<uti_ResourceManager>::Instance().GetStringResource(text, text);
}
