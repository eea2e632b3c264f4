#pragma once
// An extension that the application attaches to a model to keep data of its own with it.
#include <memory>

class mdl_Extension {
 public:
  virtual ~mdl_Extension() = default;
  virtual std::unique_ptr<mdl_Extension> Copy() const = 0;
};
