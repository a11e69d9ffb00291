# Installs the build into a fresh prefix, checks that only the public headers went in, builds the
# consumer (a view created through them) against it with find_package and with pkg-config, builds
# the embedding example from examples/embed against it and runs it offscreen until it has painted
# a polled value, and runs the installed qxflow-run on the installed demo script. The prefix is
# removed afterwards, also when a step fails.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DLIBDIR=lib -DCXX=... "-DCXX_FLAGS=..." -P InstallTest.cmake
execute_process(COMMAND mktemp -d OUTPUT_VARIABLE work OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(prefix ${work}/prefix)

function(step name)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        file(REMOVE_RECURSE ${work})
        message(FATAL_ERROR "${name} failed (${rc}):\n${out}\n${err}")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

step("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
# Only include/qxflow is public: the library's inside stays out of an integrator's reach.
foreach(inside view/QX_FlowWiz.h support/ResourceComponent.h device/JobBook.h platform/VirtualScheduler.h)
    if(EXISTS ${prefix}/include/qxflow/${inside})
        file(REMOVE_RECURSE ${work})
        message(FATAL_ERROR "the private header ${inside} was installed")
    endif()
endforeach()
foreach(public FlowWizView.h Export.h host/DataModel.h platform/Controls.h)
    if(NOT EXISTS ${prefix}/include/qxflow/${public})
        file(REMOVE_RECURSE ${work})
        message(FATAL_ERROR "the public header ${public} was not installed")
    endif()
endforeach()
step("consumer configure" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/install/consumer -B ${work}/consumer -G Ninja
     -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
     "-DCMAKE_EXE_LINKER_FLAGS=${CXX_FLAGS}")
step("consumer build" ${CMAKE_COMMAND} --build ${work}/consumer)
step("consumer run" ${work}/consumer/consumer)
if(NOT output STREQUAL "QX_FlowWiz PC1\n")
    file(REMOVE_RECURSE ${work})
    message(FATAL_ERROR "the consumer made \"${output}\" instead of a view with its flow chart")
endif()
# The same consumer built with what pkg-config says, from the installed qxflow.pc alone.
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
step("pkg-config" pkg-config --cflags --libs qxflow)
separate_arguments(pc_flags UNIX_COMMAND "${output}")
separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
step("pkg-config consumer build" ${CXX} -std=c++20 ${cxx_flags} ${SOURCE_DIR}/tests/install/consumer/main.cpp
     ${pc_flags} -o ${work}/consumer-pc)
step("pkg-config consumer run" ${work}/consumer-pc)
if(NOT output STREQUAL "QX_FlowWiz PC1\n")
    file(REMOVE_RECURSE ${work})
    message(FATAL_ERROR "the consumer built by pkg-config made \"${output}\"")
endif()
# The example embeds the view in a main window with a frame of its own, from the package alone.
step("example configure" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/embed -B ${work}/embed -G Ninja
     -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
     "-DCMAKE_EXE_LINKER_FLAGS=${CXX_FLAGS}")
step("example build" ${CMAKE_COMMAND} --build ${work}/embed)
step("example run" ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${work}/embed/embed-flowwizard
     --quit-after 4000)
if(NOT output MATCHES "^painted LaFS \"[0-9]+ Bit\"\n$")
    file(REMOVE_RECURSE ${work})
    message(FATAL_ERROR "the example did not paint a polled flow: \"${output}\"")
endif()
# The console runs from anywhere: it reaches the library, and the library its data, by location.
file(GLOB demo ${prefix}/share/qxflow/scripts/demo.qxs)
if(NOT demo)
    file(REMOVE_RECURSE ${work})
    message(FATAL_ERROR "the demo script was not installed")
endif()
step("installed qxflow-run" ${CMAKE_COMMAND} -E chdir ${work} ${prefix}/bin/qxflow-run ${demo})
file(REMOVE_RECURSE ${work})
