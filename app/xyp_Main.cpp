// The xyp executable: an embedded Python interpreter with the application ready.
//   xyp script.py [args...]   runs the script with session, xyPlot and oskavoMath defined
//   xyp                       opens an interactive prompt with the same names
#include <pybind11/embed.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace py = pybind11;

namespace {

// The package sits in python/ beside the executable (the build folder's layout).
std::string PackageFolder() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return XYP_PACKAGE_DIR;
  std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/')) + "/python";
}

int ExitCodeOf(py::error_already_set& e) {
  if (e.matches(PyExc_SystemExit)) {
    py::object code = e.value().attr("code");
    if (code.is_none()) return 0;
    if (PyLong_Check(code.ptr())) return code.cast<int>();
    py::print(code, py::arg("file") = py::module_::import("sys").attr("stderr"));
    return 1;
  }
  e.restore();
  PyErr_Print();
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Configured as python3 configures itself: the user's locale (UTF-8 mode under the C or POSIX
  // locale), the environment's PYTHON* variables; xyp's own arguments are not Python's options.
  PyConfig config;
  PyConfig_InitPythonConfig(&config);
  config.parse_argv = 0;
  config.install_signal_handlers = 1;
  py::scoped_interpreter interpreter(&config, 0, nullptr, true);
  int status = 0;
  try {
    py::module_ sys = py::module_::import("sys");
    sys.attr("path").attr("insert")(0, PackageFolder());
    py::list args;
    for (int i = 1; i < argc; ++i) args.append(argv[i]);
    if (argc < 2) args.append("");
    sys.attr("argv") = args;

    py::module_ xyp = py::module_::import("xyp");
    py::dict names = xyp.attr("script_namespace")();
    try {
      if (argc >= 2) {
        names["__name__"] = "__main__";
        names["__file__"] = argv[1];
        py::module_::import("runpy").attr("run_path")(argv[1], names, "__main__");
      } else {
        names["__name__"] = "__main__";
        py::module_ code = py::module_::import("code");
        try {
          py::module_::import("readline");
        } catch (py::error_already_set&) {
        }
        code.attr("interact")(
            py::arg("banner") = "xyp: session, xyPlot, oskavoMath and xyp are ready.",
            py::arg("local") = names, py::arg("exitmsg") = "");
      }
    } catch (py::error_already_set& e) {
      status = ExitCodeOf(e);
    }
    xyp.attr("shutdown")();
  } catch (py::error_already_set& e) {
    status = ExitCodeOf(e);
  }
  std::fflush(stdout);
  return status;
}
