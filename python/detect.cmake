# Finds what the Python module needs: the system's Python with its headers, and pybind11.
# The system's Python is the one the Debian package installs the module for, and the one whose
# NumPy and pytest the tests use, so it goes first even when another Python leads the PATH.
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3)
endif()
find_package(Python3 COMPONENTS Interpreter Development.Module QUIET)
if(Python3_FOUND)
  find_package(pybind11 CONFIG QUIET)
endif()
if(Python3_FOUND AND pybind11_FOUND)
  set(QAVSEC_PYTHON_FOUND ON)
else()
  set(QAVSEC_PYTHON_FOUND OFF)
endif()
# A module loaded into Python cannot bring the sanitizers' or the fuzzer's runtime along.
if(QAVSEC_SANITIZE OR QAVSEC_FUZZ)
  set(QAVSEC_PYTHON_FOUND OFF)
endif()
