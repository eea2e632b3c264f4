#include "utl_Translate.h"

#include "thr_ThreadSingleton.h"
#include "uti_ResourceManager.h"

cow_String utl_tr(const cow_String& text) {
  const cow_String translated =
      thr_ThreadSingleton<uti_ResourceManager>::Instance().GetStringResource(text, text);
  if (translated != text) return translated;
  // Untranslated, a text keeps no "\@context" suffix (the context only tells translations of
  // the same word apart).
  const std::size_t at = text.View().rfind("\\@");
  return at == std::string_view::npos ? text : cow_String(text.View().substr(0, at));
}
