# Installs the builds BUILD_DIRS into one scratch prefix, then for each of them configures, builds
# and runs the consumer project (a C++ and a C host) against it through find_package(<its entry of
# PACKAGES>), and both once more through pkg-config (<its entry of PC_MODULES>). With a Qt 5 and a
# Qt 6 build, this shows that the two install side by side.
#
# Qt is a private requirement of the pkg-config module: the C++ host, which uses Qt itself, names
# Qt's Gui module beside quillmark; the C host finds <quillmark_c.h> with -I<prefix>/include alone
# and links with `pkg-config --libs <module>` where no Qt .pc file is visible, as on a machine
# without Qt's development files.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()

function(pkg_config_flags variable)
  execute_process(COMMAND pkg-config ${ARGN}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pkg-config ${ARGN} failed")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${variable} ${flags} PARENT_SCOPE)
endfunction()

foreach(build_dir IN LISTS BUILD_DIRS)
  run(${CMAKE_COMMAND} --install ${build_dir} --prefix ${prefix})
endforeach()

# A host sees include/ and include/quillmark/ at once: no two headers there may differ only in
# case, or a file system that ignores case hands it one for the other.
file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*.h)
set(seen "")
foreach(header IN LISTS headers)
  get_filename_component(name ${header} NAME)
  string(TOLOWER ${name} folded)
  list(FIND seen ${folded} at)
  if(at GREATER -1)
    message(FATAL_ERROR "two installed headers differ only in case: ${name}")
  endif()
  list(APPEND seen ${folded})
endforeach()

set(pc_dirs ${prefix}/lib/pkgconfig:${prefix}/lib/x86_64-linux-gnu/pkgconfig)
set(lib_dirs ${prefix}/lib:${prefix}/lib/x86_64-linux-gnu)
list(LENGTH PACKAGES count)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  list(GET PACKAGES ${i} package)
  list(GET PC_MODULES ${i} module)
  set(work ${WORK_DIR}/${package})
  run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${work} -DCMAKE_PREFIX_PATH=${prefix}
      -DQUILLMARK_PACKAGE=${package})
  run(${CMAKE_COMMAND} --build ${work})
  set(ENV{LD_LIBRARY_PATH} ${lib_dirs})
  run(${work}/consumer)
  run(${work}/consumer_c)

  if(module MATCHES "-qt6$")
    set(qt_gui Qt6Gui)
  else()
    set(qt_gui Qt5Gui)
  endif()
  unset(ENV{PKG_CONFIG_LIBDIR})
  set(ENV{PKG_CONFIG_PATH} ${pc_dirs})
  pkg_config_flags(cxx_flags --cflags --libs ${module} ${qt_gui})
  run(c++ -std=c++17 -fPIC ${CONSUMER_DIR}/main.cpp ${cxx_flags} -o ${work}/consumer-pc)

  set(ENV{PKG_CONFIG_LIBDIR} ${pc_dirs})
  unset(ENV{PKG_CONFIG_PATH})
  pkg_config_flags(c_libs --libs ${module})
  run(cc -std=c89 -pedantic-errors -Wall -Wextra -I${prefix}/include ${CONSUMER_DIR}/main.c
      ${c_libs} -o ${work}/consumer-c-pc)

  run(${work}/consumer-pc)
  run(${work}/consumer-c-pc)
endforeach()

# The Python package, installed by pip into a fresh environment that sees the system's packages
# (offline: no index, no build isolation), finds the installed library through the folder that
# pkg-config named at its install, with neither QUILLMARK_LIBRARY nor LD_LIBRARY_PATH set. It
# takes the Qt 5 build where both are installed.
if(PYTHON)
  set(ENV{PKG_CONFIG_PATH} ${pc_dirs})
  unset(ENV{PKG_CONFIG_LIBDIR})
  file(COPY ${PYTHON_DIR}/ DESTINATION ${WORK_DIR}/python-package
       PATTERN build EXCLUDE PATTERN *.egg-info EXCLUDE PATTERN __pycache__ EXCLUDE)
  run(${PYTHON} -m venv --system-site-packages --without-pip ${WORK_DIR}/venv)
  run(${WORK_DIR}/venv/bin/python -m pip install --quiet --no-index --no-build-isolation
      ${WORK_DIR}/python-package)
  unset(ENV{LD_LIBRARY_PATH})
  unset(ENV{QUILLMARK_LIBRARY})
  run(${WORK_DIR}/venv/bin/python ${CONSUMER_DIR}/main.py ${prefix})
endif()
