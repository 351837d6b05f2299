# kv_add_library(<target> [PUBLIC_LIBS ...] [PRIVATE_LIBS ...] [EXTRA_DIRS ...])
# One static library per source folder; every .cpp/.h of the folder (not its subfolders
# that are libraries of their own) belongs to it.
#
# A library sees only its own headers and those of the libraries it links: its headers are
# reached through a folder of links in the build tree that holds them alone (under their path
# below src/), so an include of a higher layer's header does not compile.
set(KV_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/include)

function(kv_add_library target)
    cmake_parse_arguments(ARG "" "" "PUBLIC_LIBS;PRIVATE_LIBS;EXTRA_DIRS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(dir IN LISTS ARG_EXTRA_DIRS)
        file(GLOB extra CONFIGURE_DEPENDS
            ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
        list(APPEND sources ${extra})
    endforeach()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${KV_INCLUDE_ROOT}/${target}>)
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})

    set(root ${KV_INCLUDE_ROOT}/${target})
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root})
    foreach(file IN LISTS sources)
        if(NOT file MATCHES "\\.h$")
            continue()
        endif()
        file(RELATIVE_PATH path ${PROJECT_SOURCE_DIR}/src ${file})
        get_filename_component(folder ${root}/${path} DIRECTORY)
        file(MAKE_DIRECTORY ${folder})
        file(CREATE_LINK ${file} ${root}/${path} RESULT failed SYMBOLIC)
        if(failed)
            # Without links (some Windows set-ups) every library sees all of src/ again; the
            # layer check of .ci/run still catches an include reaching up.
            message(WARNING "${target}: no link for ${path} (${failed}); using src/ as include root")
            target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
            break()
        endif()
    endforeach()
endfunction()

# kv_add_tests(LIBS ...): every tst_*.cpp in the calling folder becomes one QtTest
# executable registered with CTest, run offscreen.
function(kv_add_tests)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    foreach(src IN LISTS tests)
        get_filename_component(name ${src} NAME_WE)
        get_filename_component(sub ${CMAKE_CURRENT_SOURCE_DIR} NAME)
        set(target ${sub}_${name})
        add_executable(${target} ${src})
        target_link_libraries(${target} PRIVATE ${ARG_LIBS} kv_testutils Qt6::Test)
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
        add_test(NAME ${target} COMMAND ${target})
        set_tests_properties(${target} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KV_TESTDATA=${KV_TESTDATA_DIR};KV_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
            TIMEOUT 600)
    endforeach()
endfunction()
