include(GoogleTest)

# pennaro_library(NAME [DIRS dir...] [EXCLUDE file...] [DEPS lib...])
#   Builds the *.cpp of the given folders (default: the current one) into the
#   static library NAME. Folders whose code calls each other both ways (the
#   engine and its media layer) share one library.
function(pennaro_library name)
    cmake_parse_arguments(M "" "" "DIRS;EXCLUDE;DEPS" ${ARGN})
    if(NOT M_DIRS)
        set(M_DIRS "${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
    set(srcs "")
    foreach(dir ${M_DIRS})
        if(NOT IS_ABSOLUTE "${dir}")
            set(dir "${PROJECT_SOURCE_DIR}/${dir}")
        endif()
        file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
        list(APPEND srcs ${found})
    endforeach()
    foreach(file ${M_EXCLUDE})
        list(REMOVE_ITEM srcs "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    endforeach()
    if(NOT srcs)
        # A folder whose code has not been written yet still gives a library.
        set(srcs "${PROJECT_SOURCE_DIR}/cmake/empty.cpp")
    endif()
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${M_DEPS})
    # The libraries that call each other in a ring are repeated on the link
    # line until every member has followed every other once more.
    set_property(TARGET ${name} PROPERTY LINK_INTERFACE_MULTIPLICITY 3)
    target_precompile_headers(${name} PRIVATE "${PROJECT_SOURCE_DIR}/cmake/pch.h")
endfunction()

# pennaro_program(EXE SOURCES file... [LIBS lib...])
#   A Windows GUI program in build/bin.
function(pennaro_program exe)
    cmake_parse_arguments(M "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${exe} WIN32 ${M_SOURCES})
    target_link_libraries(${exe} PRIVATE ${M_LIBS})
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")
endfunction()

# pennaro_tests(NAME [LIBS lib...] [SOURCES extra...] [OWN_MAIN] [TIMEOUT s]
#               [FIXTURE fixture] [LOCK name] [ALONE suites] [SETTINGS suites])
#   LOCK names the resource the cases hold while they run (default: NAME), for
#   folders whose tests share state outside their own program.
#   ALONE is a regular expression of suites (or Suite.Case names) whose cases
#   drive the real pointer or keyboard or read the screen: they run with no
#   other test alongside (see pennaro_run_alone).
#   SETTINGS is one of suites whose cases read and reset the program's
#   settings in the registry: they hold the shell's lock too, as the shell's
#   and the gallery's cases do.
#   FIXTURE names one fixture: the discovered tests' properties are a flat list,
#   so a second name would be read as a property. Several set-up tests may share it.
#   Builds the current folder's tests/*.cpp into NAME_tests (a console program
#   in build/tests) and registers it with ctest, which runs it under Wine.
function(pennaro_tests name)
    cmake_parse_arguments(M "OWN_MAIN" "TIMEOUT;FIXTURE;LOCK;ALONE;SETTINGS" "LIBS;SOURCES" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp")
    if(NOT tests)
        return()
    endif()
    add_executable(${name}_tests ${tests} ${M_SOURCES})
    target_link_libraries(${name}_tests PRIVATE ${M_LIBS} gmock)
    if(NOT M_OWN_MAIN)
        target_link_libraries(${name}_tests PRIVATE gtest_main)
    endif()
    target_include_directories(${name}_tests PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/tests")
    target_precompile_headers(${name}_tests PRIVATE "${PROJECT_SOURCE_DIR}/cmake/test_pch.h")
    set_target_properties(${name}_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
    if(NOT M_TIMEOUT)
        set(M_TIMEOUT 120)
    endif()
    if(NOT M_LOCK)
        set(M_LOCK ${name})
    endif()
    set(fixtures "")
    if(M_FIXTURE)
        set(fixtures FIXTURES_REQUIRED ${M_FIXTURE})
    endif()
    # Each test case runs in a process of its own, listed by ctest under the
    # folder's name; the list is read from the program when ctest starts.
    # A folder's cases share windows, registry keys and files with each other,
    # so they run one at a time; folders run side by side.
    gtest_discover_tests(${name}_tests
        TEST_PREFIX "${name}."
        EXTRA_ARGS --gtest_color=no
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT ${M_TIMEOUT} RESOURCE_LOCK ${M_LOCK} ${fixtures})
    # The cases are only known when ctest starts: a script that ctest reads
    # after the list marks the matching ones.
    set(marks "")
    if(M_ALONE)
        pennaro_case_mark(marks ${name} "${M_ALONE}" "RUN_SERIAL TRUE")
    endif()
    if(M_SETTINGS)
        pennaro_case_mark(marks ${name} "${M_SETTINGS}" "RESOURCE_LOCK \"${M_LOCK};shell\"")
    endif()
    if(marks)
        set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_tests_marks.cmake")
        file(WRITE "${script}" "${marks}")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
    endif()
endfunction()

# Appends to the variable `out` the lines of a ctest script that give the
# discovered cases of folder NAME whose Suite or Suite.Case matches PATTERN
# the properties PROPERTIES (written as in set_tests_properties).
function(pennaro_case_mark out name pattern properties)
    string(REPLACE "\\" "\\\\" pattern "${pattern}")
    string(CONCAT lines "${${out}}foreach(test IN LISTS ${name}_tests_TESTS)\n"
        "    if(test MATCHES \"^${name}\\\\.(${pattern})(\\\\.|$)\")\n"
        "        set_tests_properties(\"\${test}\" PROPERTIES ${properties})\n"
        "    endif()\n"
        "endforeach()\n")
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# pennaro_run_alone(TEST...)
#   A test that drives the real pointer or keyboard, or reads its pixels from
#   the screen, runs with no other test alongside: another folder's window
#   shown over its own would take its clicks and keys and show through its
#   pixels, and its clicks and keys would land in that window.
function(pennaro_run_alone)
    set_tests_properties(${ARGN} PROPERTIES RUN_SERIAL TRUE)
endfunction()
