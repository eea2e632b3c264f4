#include "pyb_Signature.h"

#include "pyb_Convert.h"

namespace {

// The default of an argument whose default is not a Python literal (LINEAR, "unchanged"): shows
// as its text in signatures and help.
struct DefaultMarker {
  std::string text;
};

py::object DefaultValue(const std::string& text) {
  try {
    return py::module_::import("ast").attr("literal_eval")(text);
  } catch (py::error_already_set&) {
    return py::cast(DefaultMarker{text});
  }
}

constexpr const char* kUnchanged = "unchanged";

void AppendIndented(std::string& out, const std::string& text, const char* indent) {
  if (text.empty()) return;
  out.append(indent).append(text).append("\n");
}

}  // namespace

void pyb_Signature::Register(py::module_& m) {
  py::class_<DefaultMarker>(m, "Default").def("__repr__", [](const DefaultMarker& d) {
    return d.text;
  });
}

pyb_Signature::Resolved pyb_Signature::Resolve(const omu_Parameter& p, omu_InterfaceObj* target) {
  Resolved r{p.keyword, p.kind ? p.kind : "", p.defaultText, p.doc ? p.doc : ""};
  if ((!p.kind || !p.doc) && target) {
    omu_InterfaceObj::Entry e = target->Lookup(cow_String(p.keyword));
    if (e.kind == omu_InterfaceObj::EntryKind::Member) {
      if (!p.kind && e.valueKind) r.kind = e.valueKind;
      if (!p.doc && e.doc) r.doc = e.doc;
    }
  }
  return r;
}

std::string pyb_Signature::DefaultText(const Resolved& p, const omu_Signature& s) {
  if (p.defaultText) return p.defaultText;
  return s.form == omu_Signature::Form::Unchanged ? kUnchanged : "";
}

py::object pyb_Signature::Make(const omu_Signature* signature, omu_InterfaceObj* target) {
  py::module_ inspect = py::module_::import("inspect");
  py::object parameter = inspect.attr("Parameter");
  py::list parameters;
  if (!signature) {
    parameters.append(parameter("args", parameter.attr("VAR_POSITIONAL")));
    parameters.append(parameter("kwargs", parameter.attr("VAR_KEYWORD")));
    return inspect.attr("Signature")(parameters);
  }
  py::list positional, keywordOnly;
  const std::vector<const omu_Parameter*> all = signature->All();
  for (const omu_Parameter* p : all) {
    const bool first = p == all.front();
    const Resolved r = Resolve(*p, target);
    const std::string fallback = DefaultText(r, *signature);
    if (first && signature->form == omu_Signature::Form::Variadic) {
      positional.append(parameter(r.keyword, parameter.attr("VAR_POSITIONAL")));
    } else if (fallback.empty()) {
      positional.append(parameter(r.keyword, parameter.attr("POSITIONAL_OR_KEYWORD")));
    } else {
      keywordOnly.append(parameter(r.keyword, parameter.attr("KEYWORD_ONLY"),
                                   py::arg("default") = DefaultValue(fallback)));
    }
  }
  for (py::handle p : keywordOnly) positional.append(p);
  py::object returns = inspect.attr("Signature").attr("empty");
  if (signature->returns) returns = py::cast(DefaultMarker{signature->returns});
  return inspect.attr("Signature")(positional, py::arg("return_annotation") = returns);
}

std::string pyb_Signature::Arguments(const omu_Signature* signature, omu_InterfaceObj* target) {
  return py::str(Make(signature, target)).cast<std::string>();
}

std::string pyb_Signature::Doc(const std::string& name, const omu_Signature* signature,
                               omu_InterfaceObj* target) {
  if (!signature) return name + Arguments(signature, target) + "\n";
  std::string doc = std::string(signature->summary) + "\n";
  if (signature->Count() > 0) doc.append("\nArguments:\n");
  const std::vector<const omu_Parameter*> all = signature->All();
  for (const omu_Parameter* p : all) {
    const bool first = p == all.front();
    const Resolved r = Resolve(*p, target);
    std::string line = std::string("  ") + r.keyword;
    if (first && signature->form == omu_Signature::Form::Variadic) line = "  *" + line;
    line.append(" : ").append(r.kind);
    const std::string fallback = DefaultText(r, *signature);
    if (fallback.empty())
      line.append(", required");
    else
      line.append(", default ").append(fallback);
    doc.append(line).append("\n");
    AppendIndented(doc, r.doc, "      ");
  }
  doc.append("\nReturns: ").append(signature->returns ? signature->returns : "None").append("\n");
  return doc;
}

std::string pyb_Signature::ObjectDoc(omu_InterfaceObj& object) {
  std::string doc = std::string(object.ObjectTypeName()) + " " + object.FullRepr().Std() + "\n";
  std::string methods, members;
  for (const cow_String& name : object.MemberNames()) {
    omu_InterfaceObj::Entry e = object.Lookup(name);
    std::string line = "  " + name.Std();
    if (e.kind == omu_InterfaceObj::EntryKind::Method) {
      line.append(Arguments(e.signature, e.target));
      methods.append(line).append("\n");
      if (e.signature) AppendIndented(methods, e.signature->summary, "      ");
    } else {
      if (e.valueKind) line.append(" : ").append(e.valueKind);
      members.append(line).append("\n");
      if (e.doc) AppendIndented(members, e.doc, "      ");
    }
    if (e.deprecatedVersion) {
      std::string note = std::string("deprecated since ") + e.deprecatedVersion;
      if (e.replacement) note.append("; use ").append(e.replacement);
      AppendIndented(e.kind == omu_InterfaceObj::EntryKind::Method ? methods : members, note,
                     "      ");
    }
  }
  if (!methods.empty()) doc.append("\nMethods:\n").append(methods);
  if (!members.empty()) doc.append("\nMembers:\n").append(members);
  return doc;
}
