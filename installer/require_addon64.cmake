# cmake -DDLL=<path> -P require_addon64.cmake: stops the setup file's build,
# with the commands that make it, while the 64-bit add-on is not built.
if(NOT EXISTS "${DLL}")
  message(FATAL_ERROR "Setup needs the 64-bit add-on ${DLL}; build the 64-bit tree first:\n"
    "  cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DKRX_ADDON_ONLY=ON\n"
    "  cmake --build build/win64 --target krx_addon\n"
    "(or point KRX_WIN64_TREE at another 64-bit tree)")
endif()
