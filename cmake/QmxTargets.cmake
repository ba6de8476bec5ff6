# Common settings for the project's own targets.

# Warnings for our own code; fatal with QMX_WERROR (CI turns it on).
function(qmx_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
    -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough
    $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>)
  if(QMX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # GCC's flow analysis reports false "maybe uninitialized" inside the standard library once the
  # sanitizers instrument it.
  if(QMX_SANITIZE)
    target_compile_options(${target} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
  endif()
endfunction()

if(QMX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# A layer library (sdk, platform, toolkit): shared, every public name visible, so that types,
# exceptions and RTTI are one across the host, the module and the outside libraries.
function(qmx_library target)
  add_library(${target} SHARED ${ARGN})
  qmx_warnings(${target})
endfunction()

# A plug-in (the module, the outside libraries, server modules): hidden visibility, only the
# entry points marked QMX_EXPORT are exported.
function(qmx_plugin target)
  add_library(${target} MODULE ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  qmx_warnings(${target})
endfunction()

# A GoogleTest executable registered with CTest, test by test.
function(qmx_test target)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  qmx_warnings(${target})
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(T_QT)
    target_link_libraries(${target} PRIVATE qmx_qt_test_main)
  else()
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${target}."
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
