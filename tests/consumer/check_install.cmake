# Installs the build into a scratch prefix, then configures, builds and runs the consumer project
# (a C++ and a C host) against it through find_package(Quillmark), and both once more through
# pkg-config.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer)
run(${WORK_DIR}/build/consumer_c)

# The same through pkg-config. Qt is a private requirement: the C++ host, which uses Qt itself,
# names Qt5Gui beside quillmark; the C host finds <quillmark.h> with -I<prefix>/include alone and
# links with `pkg-config --libs quillmark` where no Qt .pc file is visible, as on a machine
# without Qt's development files.
set(pc_dirs ${prefix}/lib/pkgconfig:${prefix}/lib/x86_64-linux-gnu/pkgconfig)
function(pkg_config_flags variable)
  execute_process(COMMAND pkg-config ${ARGN}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pkg-config ${ARGN} failed")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${variable} ${flags} PARENT_SCOPE)
endfunction()

set(ENV{PKG_CONFIG_PATH} ${pc_dirs})
pkg_config_flags(cxx_flags --cflags --libs quillmark Qt5Gui)
run(c++ -std=c++17 -fPIC ${CONSUMER_DIR}/main.cpp ${cxx_flags} -o ${WORK_DIR}/consumer-pc)

set(ENV{PKG_CONFIG_LIBDIR} ${pc_dirs})
unset(ENV{PKG_CONFIG_PATH})
pkg_config_flags(c_libs --libs quillmark)
run(cc -std=c89 -pedantic-errors -Wall -Wextra -I${prefix}/include ${CONSUMER_DIR}/main.c ${c_libs}
    -o ${WORK_DIR}/consumer-c-pc)

set(ENV{LD_LIBRARY_PATH} ${prefix}/lib:${prefix}/lib/x86_64-linux-gnu)
run(${WORK_DIR}/consumer-pc)
run(${WORK_DIR}/consumer-c-pc)

# The Python package, installed by pip into a fresh environment that sees the system's packages
# (offline: no index, no build isolation), finds the installed library through the folder that
# pkg-config named at its install, with neither QUILLMARK_LIBRARY nor LD_LIBRARY_PATH set.
if(PYTHON)
  file(COPY ${PYTHON_DIR}/ DESTINATION ${WORK_DIR}/python-package
       PATTERN build EXCLUDE PATTERN *.egg-info EXCLUDE PATTERN __pycache__ EXCLUDE)
  run(${PYTHON} -m venv --system-site-packages --without-pip ${WORK_DIR}/venv)
  run(${WORK_DIR}/venv/bin/python -m pip install --quiet --no-index --no-build-isolation
      ${WORK_DIR}/python-package)
  unset(ENV{LD_LIBRARY_PATH})
  unset(ENV{QUILLMARK_LIBRARY})
  run(${WORK_DIR}/venv/bin/python ${CONSUMER_DIR}/main.py ${prefix})
endif()
