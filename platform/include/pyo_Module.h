#pragma once
// A scripting module: commands (a method table, as on any scripting object), symbolic constants
// of enumerations, object types, and names imported from another module. Modules register
// themselves while they exist; the binding publishes every registered module to scripts.
#include <vector>

#include "omu_InterfaceObj.h"
#include "omu_PrimEnumBase.h"

class pyo_Module : public omu_InterfaceObj {
 public:
  // How the host offers the module: 0 not at all, 1 as an importable module, 2 also as a name
  // that scripts find ready without importing it.
  enum ImportEnm { NO_IMPORT = 0, IMPORTABLE = 1, PREIMPORTED = 2 };
  using Function = omu_Result (*)(omu_Arguments&);
  struct FunctionRow {
    cow_String name;
    Function function;
    const omu_Signature* signature = nullptr;
  };
  struct Constant {
    cow_String name;
    int value;
  };

  pyo_Module(const char* name, const omu_MethodRow* methods, ImportEnm importMode);
  ~pyo_Module() override;
  pyo_Module(const pyo_Module&) = delete;
  pyo_Module& operator=(const pyo_Module&) = delete;

  static const char* TypeName() { return "pyo_Module"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override { return "<module '" + name_ + "'>"; }

  const cow_String& Name() const { return name_; }
  ImportEnm ImportMode() const { return importMode_; }

  // Publishes every value of the enumeration of `e` (a name already published is kept once).
  void DefineConstant(const omu_PrimEnumBase& e);
  void DefineType(const char* typeName);
  // Copies the functions and constants that module `moduleName` has now into this module.
  void ImportStar(const char* moduleName);
  void AddFunction(const cow_String& name, Function function,
                   const omu_Signature* signature = nullptr);

  const std::vector<Constant>& Constants() const { return constants_; }
  const std::vector<cow_String>& Types() const { return types_; }
  const std::vector<FunctionRow>& Functions() const { return functions_; }
  const FunctionRow* FindFunction(const cow_String& name) const;

  static const std::vector<pyo_Module*>& Modules();
  static pyo_Module* Find(const cow_String& name);

 private:
  static std::vector<pyo_Module*>& Registry();
  cow_String name_;
  ImportEnm importMode_;
  std::vector<Constant> constants_;
  std::vector<cow_String> types_;
  std::vector<FunctionRow> functions_;
};
