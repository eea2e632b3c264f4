#pragma once
// A fragment adds methods and members to a host object type (the session, a viewport layer).
// Constructing a fragment attaches it to every object of the host type; destroying it detaches it.
#include <algorithm>
#include <vector>

#include "omu_InterfaceObj.h"

template <class Host>
class omu_Fragment : public omu_InterfaceObj {
 public:
  // The fragments attached to `Host`, in the order they were made.
  static const std::vector<omu_InterfaceObj*>& Attached() { return Registry(); }

 protected:
  omu_Fragment() { Registry().push_back(this); }
  omu_Fragment(const omu_Fragment& other) : omu_InterfaceObj(other) {}  // copies stay detached
  ~omu_Fragment() override {
    std::vector<omu_InterfaceObj*>& r = Registry();
    r.erase(std::remove(r.begin(), r.end(), this), r.end());
  }

 private:
  // Never destroyed: a fragment held by a singleton may be destroyed at exit after the
  // registry's own static storage would be.
  static std::vector<omu_InterfaceObj*>& Registry() {
    static auto* fragments = new std::vector<omu_InterfaceObj*>();
    return *fragments;
  }
};
