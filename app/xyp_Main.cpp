// The xyp executable: an embedded Python interpreter with the application ready. The command
// line (xyp [option] ... [-c cmd | -m mod | file | -] [arg] ...) is handled by xyp._launcher.
#include <pybind11/embed.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace py = pybind11;

namespace {

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The path without "..", as the package's modules will show it in __file__ and tracebacks.
std::string RealPath(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  std::string result(real);
  std::free(real);
  return result;
}

// The folder holding the package xyp beside the executable: python/ in the build folder,
// ../lib/python3/dist-packages where it is installed. Empty when neither holds it, and the
// interpreter's own search path is left to find it.
std::string PackageFolder() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  std::string exe(path, static_cast<std::size_t>(n));
  std::string dir = exe.substr(0, exe.rfind('/'));
  for (std::string folder : {dir + "/python", dir + "/../" XYP_INSTALL_PYTHON_DIR}) {
    if (IsFile(folder + "/xyp/__init__.py")) return RealPath(folder);
  }
  return {};
}

// Runs the command line in the interpreter; returns the exit status, or minus a signal number.
int Run(int argc, char** argv) {
  // Configured as python3 configures itself: the user's locale (UTF-8 mode under the C or POSIX
  // locale), the environment's PYTHON* variables; xyp's own arguments are not Python's options.
  PyConfig config;
  PyConfig_InitPythonConfig(&config);
  config.parse_argv = 0;
  config.install_signal_handlers = 1;
  py::scoped_interpreter interpreter(&config, 0, nullptr, true);
  try {
    std::string folder = PackageFolder();
    if (!folder.empty()) py::module_::import("sys").attr("path").attr("insert")(0, folder);
    py::list args;
    for (int i = 0; i < argc; ++i) {
      // Decoded as python3 decodes its arguments: bytes that are not text survive as surrogates.
      PyObject* arg = PyUnicode_DecodeFSDefault(argv[i]);
      if (arg == nullptr) throw py::error_already_set();
      args.append(py::reinterpret_steal<py::object>(arg));
    }
    return py::module_::import("xyp._launcher").attr("main")(args).cast<int>();
  } catch (py::error_already_set& e) {
    e.restore();
    PyErr_Print();
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  int status = Run(argc, argv);
  std::fflush(stdout);
  if (status < 0) {
    // Ended by an uncaught KeyboardInterrupt: die by the signal, as python3 does, so that the
    // calling shell sees the interrupt.
    std::signal(-status, SIG_DFL);
    kill(getpid(), -status);
    return 128 - status;
  }
  return status;
}
