# The Debian package of xyp (cpack -G DEB, or scripts/package.sh): the executable in /usr/bin and
# the package xyp in /usr/lib/python3/dist-packages, as installed by cmake --install.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME xyp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "XY plots, XY reports and probing of finite-element results, scripted in Python")
set(CPACK_PACKAGE_DESCRIPTION
    "xyp creates XY data from typed pairs, text files and the history output of results files,
plots it into PNG, SVG and PDF files, writes XY reports and probes plots and models. The xyp
command runs Python scripts with the application ready; the Python package xyp gives the same
to Debian's python3.")
set(CPACK_PACKAGE_CONTACT "xyp developers <xyp@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # xyp_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the binaries link (cairo, HDF5, libpython3.11, ...) through dpkg-shlibdeps;
# the extension module is built for CPython 3.11 only; numpy and the fonts are used at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
math(EXPR XYP_PYTHON_NEXT_MINOR "${Python_VERSION_MINOR} + 1")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "python3 (>= ${Python_VERSION_MAJOR}.${Python_VERSION_MINOR}), python3 (<< ${Python_VERSION_MAJOR}.${XYP_PYTHON_NEXT_MINOR}), python3-numpy, fonts-dejavu-core")
# xyp view serves its page with aiohttp; everything else runs without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3-aiohttp")
# Python writes byte code beside the package's modules: removed with the package.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
