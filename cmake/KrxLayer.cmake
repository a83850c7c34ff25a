# krx_layer(name [DEPS ...]): one static library per folder of src/, built
# from every .cpp in it. Files ending in _win32.cpp build only for Windows,
# files ending in _posix.cpp only natively. New files need no CMake edit.
function(krx_layer name)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${L_DEPS})
  target_compile_options(${name} PRIVATE ${KRX_WARNINGS})
endfunction()
