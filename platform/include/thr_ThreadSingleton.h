#pragma once
// A singleton per thread of the application. The module runs on one thread only, so this is the
// process singleton under the name the application's services are reached by.
#include "omi_Singleton.h"

template <class T>
class thr_ThreadSingleton {
 public:
  static T& Instance() { return omi_Singleton<T>::Instance(); }
  static void Finalize() { omi_Singleton<T>::Finalize(); }
};
