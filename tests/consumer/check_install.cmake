# Installs the builds BUILD_DIRS into one scratch prefix, then for each of them configures, builds
# and runs the consumer project (a C++ and a C host) against it through find_package(<its entry of
# PACKAGES>), and the C++ host once more through pkg-config (<its entry of PC_MODULES>). With a
# Qt 5 and a Qt 6 build, this shows that the two install side by side.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()

foreach(build_dir IN LISTS BUILD_DIRS)
  run(${CMAKE_COMMAND} --install ${build_dir} --prefix ${prefix})
endforeach()

set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig:${prefix}/lib/x86_64-linux-gnu/pkgconfig)
set(ENV{LD_LIBRARY_PATH} ${prefix}/lib:${prefix}/lib/x86_64-linux-gnu)
list(LENGTH PACKAGES count)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  list(GET PACKAGES ${i} package)
  list(GET PC_MODULES ${i} module)
  set(work ${WORK_DIR}/${package})
  run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${work} -DCMAKE_PREFIX_PATH=${prefix}
      -DQUILLMARK_PACKAGE=${package})
  run(${CMAKE_COMMAND} --build ${work})
  run(${work}/consumer)
  run(${work}/consumer_c)

  # The same through pkg-config.
  execute_process(COMMAND pkg-config --cflags --libs ${module}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pkg-config does not find ${module}")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(c++ -std=c++17 -fPIC ${CONSUMER_DIR}/main.cpp ${flags} -o ${work}/consumer-pc)
  run(${work}/consumer-pc)
endforeach()
