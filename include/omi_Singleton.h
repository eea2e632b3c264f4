// omi_Singleton<T>: the one instance of T, created at first use and destroyed by Finalize() (a
// later Instance() creates a fresh one). T may keep its constructor private and befriend
// omi_SingletonBase<T>.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "omi_Assert.h"

template <class T>
class omi_SingletonBase {
 public:
  static T& Instance() {
    if (T* p = Slot().load(std::memory_order_acquire)) return *p;
    std::lock_guard<std::recursive_mutex> lock(Mutex());
    if (!Owner()) {
      // A constructor of T that asks for the instance would otherwise get a second one.
      OMI_ASSERT(!Constructing() && "singleton constructor asks for its own instance");
      Constructing() = true;
      try {
        Owner().reset(new T());
      } catch (...) {
        Constructing() = false;
        throw;
      }
      Constructing() = false;
      Slot().store(Owner().get(), std::memory_order_release);
    }
    return *Owner();
  }

  static void Finalize() {
    std::unique_ptr<T> doomed;
    {
      std::lock_guard<std::recursive_mutex> lock(Mutex());
      Slot().store(nullptr, std::memory_order_release);
      doomed = std::move(Owner());
    }
    // Destroyed outside the lock, so T's destructor may use other singletons, or this one
    // (which then creates a fresh instance).
  }

  static bool Exists() { return Slot().load(std::memory_order_acquire) != nullptr; }

 protected:
  omi_SingletonBase() = default;

 private:
  static std::unique_ptr<T>& Owner() {
    static std::unique_ptr<T> owner;
    return owner;
  }
  // Lock-free fast path for Instance() once the object exists.
  static std::atomic<T*>& Slot() {
    static std::atomic<T*> slot{nullptr};
    return slot;
  }
  static std::recursive_mutex& Mutex() {
    static std::recursive_mutex mutex;
    return mutex;
  }
  static bool& Constructing() {
    static bool constructing = false;
    return constructing;
  }
};

template <class T>
class omi_Singleton : public omi_SingletonBase<T> {};
