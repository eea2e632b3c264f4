#include "pyb_Object.h"

#include <pybind11/stl.h>

#include "omu_Arguments.h"
#include "omu_Deprecation.h"
#include "omu_DictIntObjABC.h"
#include "omu_PrimString.h"
#include "omu_ScriptingGate.h"
#include "omu_TypeErrorException.h"
#include "omu_ValueErrorException.h"
#include "pyb_CommandScope.h"
#include "pyb_Convert.h"
#include "pyb_Errors.h"
#include "pyb_Signature.h"

namespace {

omu_DictIntObjABC* AsDict(const pyb_Object& self) {
  return dynamic_cast<omu_DictIntObjABC*>(self.object.get());
}

// The stored name a Python key stands for. A key that cannot name an entry (not a str, or a text
// with no UTF-8 form) raises KeyError naming it.
std::string KeyOf(py::handle key) {
  if (PyUnicode_Check(key.ptr())) {
    try {
      return pyb_Convert::Bytes(key);
    } catch (const omu_ValueErrorException&) {
    }
  }
  PyErr_SetObject(PyExc_KeyError, key.ptr());
  throw py::error_already_set();
}

// The stored name a key stands for, or false when no entry can have it.
bool NameOf(py::handle key, std::string& name) {
  if (!PyUnicode_Check(key.ptr())) return false;
  try {
    name = pyb_Convert::Bytes(key);
    return true;
  } catch (const omu_ValueErrorException&) {
    return false;
  }
}

// A conversion error names the argument it came from: "name: the text holds ...".
template <class Convert>
std::unique_ptr<omu_Primitive> ConvertArgument(const std::string& argument, Convert convert) {
  try {
    return convert();
  } catch (const omu_ValueErrorException& e) {
    throw omu_ValueErrorException(cow_String(argument) + ": " + e.Message());
  } catch (const omu_TypeErrorException& e) {
    throw omu_TypeErrorException(cow_String(argument) + ": " + e.Message());
  }
}

py::object CallMethod(const pyb_BoundMethod& m, const py::args& positional,
                      const py::kwargs& keywords) {
  pyb_CommandScope scope;
  if (m.deprecatedVersion)
    omu_Deprecation::Warn(
        omu_Deprecation::Text(m.name.c_str(), m.deprecatedVersion, m.replacement));
  omu_Arguments args(cow_String(m.name));
  args.Declare(m.signature);
  pyb_ObjectType::FillArguments(args, positional, keywords);
  return pyb_Convert::ToPython(m.method(*m.target, args));
}

py::list DictValues(const pyb_Object& self) {
  pyb_CommandScope scope;
  omu_DictIntObjABC* dict = AsDict(self);
  py::list out;
  for (const cow_String& k : dict->Keys()) out.append(pyb_Convert::ToPython(dict->Subscript(k)));
  return out;
}

py::list DictItems(const pyb_Object& self) {
  pyb_CommandScope scope;
  omu_DictIntObjABC* dict = AsDict(self);
  py::list out;
  for (const cow_String& k : dict->Keys())
    out.append(
        py::make_tuple(pyb_Convert::Text(k.View()), pyb_Convert::ToPython(dict->Subscript(k))));
  return out;
}

py::object DictGet(const pyb_Object& self, py::handle key, py::object fallback) {
  pyb_CommandScope scope;
  std::string name;
  if (!NameOf(key, name)) return fallback;
  omu_Result value = AsDict(self)->Subscript(cow_String(name));
  return value ? pyb_Convert::ToPython(std::move(value)) : fallback;
}

py::object GetAttribute(const pyb_Object& self, py::str attribute) {
  pyb_CommandScope scope;
  std::string name;
  if (!NameOf(attribute, name))
    throw py::attribute_error("'" + std::string(self.object->ObjectTypeName()) +
                              "' object has no such attribute");
  omu_InterfaceObj::Entry e = self.object->Lookup(cow_String(name));
  switch (e.kind) {
    case omu_InterfaceObj::EntryKind::Member:
      if (e.deprecatedVersion)
        omu_Deprecation::Warn(
            omu_Deprecation::Text(name.c_str(), e.deprecatedVersion, e.replacement));
      return pyb_Convert::ToPython(e.getter(*e.target));
    case omu_InterfaceObj::EntryKind::Method:
      return py::cast(pyb_BoundMethod{self.object, e.target, e.method, name, e.deprecatedVersion,
                                      e.replacement, e.signature});
    case omu_InterfaceObj::EntryKind::None:
      break;
  }
  if (AsDict(self)) {
    if (name == "values") return py::cpp_function([self] { return DictValues(self); });
    if (name == "items") return py::cpp_function([self] { return DictItems(self); });
    if (name == "get")
      return py::cpp_function(
          [self](py::handle key, py::object fallback) { return DictGet(self, key, fallback); },
          py::arg("key"), py::arg("default") = py::none());
  }
  PyErr_Format(PyExc_AttributeError, "'%s' object has no attribute %R",
               self.object->ObjectTypeName(), attribute.ptr());
  throw py::error_already_set();
}

py::list Keys(omu_DictIntObjABC& dict) {
  py::list keys;
  for (const cow_String& k : dict.Keys()) keys.append(pyb_Convert::Text(k.View()));
  return keys;
}

py::object Item(const pyb_Object& self, py::handle key) {
  pyb_CommandScope scope;
  if (omu_DictIntObjABC* dict = AsDict(self)) {
    const std::string name = KeyOf(key);
    omu_Result value = dict->Subscript(cow_String(name));
    if (!value) {
      PyErr_SetObject(PyExc_KeyError, key.ptr());
      throw py::error_already_set();
    }
    return pyb_Convert::ToPython(std::move(value));
  }
  const long n = self.object->SequenceLength();
  if (n < 0)
    throw py::type_error("'" + std::string(self.object->ObjectTypeName()) +
                         "' object is not subscriptable");
  if (!PyIndex_Check(key.ptr())) throw py::type_error("indices must be integers");
  Py_ssize_t i = PyNumber_AsSsize_t(key.ptr(), PyExc_IndexError);
  if (i == -1 && PyErr_Occurred()) throw py::error_already_set();
  if (i < 0) i += n;
  if (i < 0 || i >= n) throw py::index_error("index out of range");
  return pyb_Convert::ToPython(self.object->SequenceItem(i));
}

long Length(const pyb_Object& self) {
  pyb_CommandScope scope;
  if (omu_DictIntObjABC* dict = AsDict(self)) return dict->Length();
  const long n = self.object->SequenceLength();
  if (n < 0)
    throw py::type_error("object of type '" + std::string(self.object->ObjectTypeName()) +
                         "' has no len()");
  return n;
}

}  // namespace

void pyb_ObjectType::FillArguments(omu_Arguments& args, const py::args& positional,
                                   const py::kwargs& keywords) {
  std::size_t position = 0;
  for (py::handle value : positional)
    args.AddPositional(ConvertArgument("argument " + std::to_string(++position),
                                       [&] { return pyb_Convert::ToArgument(value); }));
  // Over a snapshot: converting a value may run code that changes the keywords' dictionary.
  py::list items = keywords.attr("items")();
  items = py::list(items);
  for (py::handle item : items) {
    py::handle key = PyTuple_GET_ITEM(item.ptr(), 0);
    py::handle value = PyTuple_GET_ITEM(item.ptr(), 1);
    // A keyword with no UTF-8 form is no keyword of ours: it is refused as unknown, quoted.
    std::string keyword;
    if (!NameOf(key, keyword)) keyword = py::repr(key).cast<std::string>();
    args.AddKeyword(cow_String(keyword),
                    ConvertArgument(keyword, [&] { return pyb_Convert::ToArgument(value); }));
  }
}

py::object pyb_ObjectType::Wrap(std::shared_ptr<omu_InterfaceObj> object) {
  if (!object) return py::none();
  return py::cast(pyb_Object{std::move(object)});
}

// The object's arithmetic with another operand (or none): NotImplemented when it has none, so
// that Python tries the other operand or raises its TypeError.
py::object Arithmetic(const pyb_Object& self, char op, py::handle other, bool reflected) {
  pyb_CommandScope scope;
  std::unique_ptr<omu_Primitive> operand;
  if (other) {
    try {
      operand = pyb_Convert::ToPrimitive(other);
    } catch (const std::exception&) {
      return py::reinterpret_borrow<py::object>(Py_NotImplemented);
    }
  }
  omu_Result result = self.object->Arithmetic(op, operand.get(), reflected);
  if (!result) {
    if (!other)
      throw py::type_error("bad operand type for this operation: '" +
                           std::string(self.object->ObjectTypeName()) + "'");
    return py::reinterpret_borrow<py::object>(Py_NotImplemented);
  }
  return pyb_Convert::ToPython(std::move(result));
}

// The buffer protocol, for numpy: the pairs an object lends as a read-only (n, 2) float array.
// Written against the C API rather than through the binding library, so that an object with
// nothing to lend raises BufferError instead of ending the process.
struct LentPairs {
  std::shared_ptr<const void> keeper;  // keeps the storage alive while the view exists
  Py_ssize_t shape[2];
  Py_ssize_t strides[2];
};

int GetBuffer(PyObject* obj, Py_buffer* view, int flags) {
  view->obj = nullptr;
  try {
    const pyb_Object& self = py::handle(obj).cast<const pyb_Object&>();
    pyb_CommandScope scope;
    auto lent = std::make_unique<LentPairs>();
    std::size_t pairs = 0;
    const float* data = self.object->LendPairs(pairs, lent->keeper);
    if (!data) {
      PyErr_Format(PyExc_BufferError, "'%s' objects do not lend their values as a buffer",
                   self.object->ObjectTypeName());
      return -1;
    }
    if ((flags & PyBUF_WRITABLE) == PyBUF_WRITABLE) {
      PyErr_SetString(PyExc_BufferError, "XY data lends its pairs read-only");
      return -1;
    }
    const auto item = static_cast<Py_ssize_t>(sizeof(float));
    lent->shape[0] = static_cast<Py_ssize_t>(pairs);
    lent->shape[1] = 2;
    lent->strides[0] = 2 * item;
    lent->strides[1] = item;
    view->buf = const_cast<float*>(data);
    view->len = lent->shape[0] * 2 * item;
    view->readonly = 1;
    view->itemsize = item;
    view->format = (flags & PyBUF_FORMAT) == PyBUF_FORMAT ? const_cast<char*>("f") : nullptr;
    const bool shaped = (flags & PyBUF_ND) == PyBUF_ND;
    view->ndim = shaped ? 2 : 1;
    view->shape = shaped ? lent->shape : nullptr;
    view->strides = (flags & PyBUF_STRIDES) == PyBUF_STRIDES ? lent->strides : nullptr;
    view->suboffsets = nullptr;
    view->internal = lent.release();
    view->obj = obj;
    Py_INCREF(obj);
    return 0;
  } catch (py::error_already_set& e) {
    e.restore();
  } catch (const py::builtin_exception& e) {
    e.set_error();
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_BufferError, e.what());
  }
  return -1;
}

void ReleaseBuffer(PyObject*, Py_buffer* view) {
  delete static_cast<LentPairs*>(view->internal);
}

void pyb_ObjectType::Register(py::module_& m) {
  pyb_Signature::Register(m);
  // Methods and functions look like routines to inspect and pydoc (a descriptor that binds to
  // nothing), with a docstring and a signature made from what the command reads.
  py::class_<pyb_BoundMethod>(m, "Method")
      .def("__call__", &CallMethod)
      .def(
          "__get__", [](py::object self, py::handle, py::handle) { return self; },
          py::arg("instance"), py::arg("owner") = py::none())
      // __name__ cannot be a property of the type (it names the type itself): it is looked up.
      .def("__getattr__",
           [](const pyb_BoundMethod& b, const std::string& attribute) {
             if (attribute == "__name__" || attribute == "__qualname__") return b.name;
             throw py::attribute_error("'Method' object has no attribute '" + attribute + "'");
           })
      .def_property_readonly("__doc__",
                             [](const pyb_BoundMethod& b) {
                               pyb_CommandScope scope;
                               return pyb_Signature::Doc(b.name, b.signature, b.target);
                             })
      .def_property_readonly("__signature__",
                             [](const pyb_BoundMethod& b) {
                               pyb_CommandScope scope;
                               return pyb_Signature::Make(b.signature, b.target);
                             })
      .def("__repr__", [](const pyb_BoundMethod& b) {
        pyb_CommandScope scope;
        return pyb_Convert::Text("<method " + b.name + " of " + b.target->FullRepr().Std() + ">");
      });

  py::class_<pyb_Function>(m, "Function")
      .def("__call__",
           [](const pyb_Function& f, const py::args& positional, const py::kwargs& keywords) {
             pyb_CommandScope scope;
             omu_Arguments args(cow_String(f.name));
             args.Declare(f.signature);
             FillArguments(args, positional, keywords);
             return pyb_Convert::ToPython(f.function(args));
           })
      .def(
          "__get__", [](py::object self, py::handle, py::handle) { return self; },
          py::arg("instance"), py::arg("owner") = py::none())
      .def("__getattr__",
           [](const pyb_Function& f, const std::string& attribute) {
             if (attribute == "__name__" || attribute == "__qualname__") return f.name;
             throw py::attribute_error("'Function' object has no attribute '" + attribute + "'");
           })
      .def_property_readonly(
          "__doc__",
          [](const pyb_Function& f) { return pyb_Signature::Doc(f.name, f.signature, nullptr); })
      .def_property_readonly(
          "__signature__",
          [](const pyb_Function& f) { return pyb_Signature::Make(f.signature, nullptr); })
      .def("__repr__", [](const pyb_Function& f) { return "<function " + f.name + ">"; });

  py::class_<pyb_Object> objectType(m, "ScriptObject", py::buffer_protocol());
  // The type's buffer slots (set up by buffer_protocol) are ours; see GetBuffer.
  auto* heapType = reinterpret_cast<PyTypeObject*>(objectType.ptr());
  heapType->tp_as_buffer->bf_getbuffer = &GetBuffer;
  heapType->tp_as_buffer->bf_releasebuffer = &ReleaseBuffer;
  // numpy's operators and ufuncs leave our objects alone (numpy.float64(2) * xy calls our
  // __rmul__ instead of turning xy into an array); numpy.asarray(xy) still reads the buffer.
  objectType.attr("__array_ufunc__") = py::none();
  objectType
      .def("__add__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, '+', o, false); })
      .def("__radd__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, '+', o, true); })
      .def("__sub__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, '-', o, false); })
      .def("__rsub__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, '-', o, true); })
      .def("__mul__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, '*', o, false); })
      .def("__rmul__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, '*', o, true); })
      .def("__truediv__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, '/', o, false); })
      .def("__rtruediv__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, '/', o, true); })
      .def("__pow__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, 'p', o, false); })
      .def("__rpow__",
           [](const pyb_Object& s, py::object o) { return Arithmetic(s, 'p', o, true); })
      .def("__neg__", [](const pyb_Object& s) { return Arithmetic(s, 'n', py::handle(), false); })
      .def("__abs__", [](const pyb_Object& s) { return Arithmetic(s, 'a', py::handle(), false); })
      .def("__getattr__", &GetAttribute)
      .def_property_readonly("__doc__",
                             [](const pyb_Object& self) {
                               pyb_CommandScope scope;
                               return pyb_Signature::ObjectDoc(*self.object);
                             })
      .def("__setattr__",
           [](const pyb_Object& self, const std::string& name, py::handle) {
             throw py::attribute_error("'" + std::string(self.object->ObjectTypeName()) +
                                       "' attribute '" + name +
                                       "' is read-only; use setValues() to change it");
           })
      .def("__dir__",
           [](const pyb_Object& self) {
             py::list names;
             for (const cow_String& n : self.object->MemberNames())
               names.append(pyb_Convert::Text(n.View()));
             if (AsDict(self)) {
               for (const char* n : {"values", "items", "get"}) names.append(n);
             }
             return names;
           })
      .def("__repr__",
           [](const pyb_Object& self) {
             pyb_CommandScope scope;
             return pyb_Convert::Text(self.object->FullRepr().View());
           })
      .def("__eq__",
           [](const pyb_Object& self, py::object other) {
             return py::isinstance<pyb_Object>(other) &&
                    other.cast<const pyb_Object&>().object == self.object;
           })
      .def("__hash__",
           [](const pyb_Object& self) { return std::hash<const void*>()(self.object.get()); })
      .def("__bool__",
           [](const pyb_Object& self) {
             if (AsDict(self) || self.object->SequenceLength() >= 0) return Length(self) > 0;
             return true;
           })
      .def("__len__", &Length)
      .def("__getitem__", &Item)
      .def("__setitem__",
           [](const pyb_Object& self, py::handle key, py::handle value) {
             pyb_CommandScope scope;
             omu_DictIntObjABC* dict = AsDict(self);
             if (!dict) throw py::type_error("object does not support item assignment");
             dict->Assign(cow_String(KeyOf(key)), *pyb_Convert::ToPrimitive(value));
           })
      .def("__delitem__",
           [](const pyb_Object& self, py::handle key) {
             pyb_CommandScope scope;
             omu_DictIntObjABC* dict = AsDict(self);
             if (!dict) throw py::type_error("object does not support item deletion");
             const std::string name = KeyOf(key);
             if (dict->Remove(cow_String(name))) return;
             // A dictionary whose entries cannot be removed still holds the key.
             if (dict->Keys().IsMember(cow_String(name))) {
               PyErr_Format(PyExc_TypeError, "%s does not support item deletion: %R stays",
                            self.object->ObjectTypeName(), key.ptr());
               throw py::error_already_set();
             }
             PyErr_SetObject(PyExc_KeyError, key.ptr());
             throw py::error_already_set();
           })
      .def("__contains__",
           [](const pyb_Object& self, py::handle key) {
             pyb_CommandScope scope;
             omu_DictIntObjABC* dict = AsDict(self);
             if (!dict) {
               for (py::handle item : py::iter(py::cast(self)))
                 if (item.equal(key)) return true;
               return false;
             }
             std::string name;
             if (!NameOf(key, name)) return false;
             return dict->Keys().IsMember(cow_String(name));
           })
      .def("__iter__", [](const pyb_Object& self) -> py::object {
        pyb_CommandScope scope;
        if (omu_DictIntObjABC* dict = AsDict(self)) return Keys(*dict).attr("__iter__")();
        const long n = Length(self);
        py::list items;
        for (long i = 0; i < n; ++i)
          items.append(pyb_Convert::ToPython(self.object->SequenceItem(i)));
        return items.attr("__iter__")();
      });
}
