# Windows build: the launcher, the stand-ins, and the tests that run under Wine.
enable_language(RC)

# No libstdc++, libgcc or winpthread DLL next to any of our programs.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static")
set(CMAKE_SHARED_LINKER_FLAGS "${CMAKE_SHARED_LINKER_FLAGS} -static")

set(LAUNCHER_FLAGS -Os -fno-exceptions -fno-rtti -municode -Wall -Wextra)
target_compile_options(launcher_pure PRIVATE -Os)

# The launcher's Win32 operations, in a library so that the tests call them in-process.
add_library(launcher_win STATIC
    launcher/install_layout_win.cpp
    launcher/acquisition_win.cpp
    probe/platform_win.cpp
    probe/dotnet_win.cpp
    housekeeping/process_terminator_win.cpp
    housekeeping/staged_update_win.cpp
    housekeeping/desktop_shortcut_win.cpp
    download/download_worker_win.cpp
    download/progress_window_win.cpp
)
target_compile_options(launcher_win PRIVATE ${LAUNCHER_FLAGS})
# Process enumeration from psapi.dll, which every Windows version has, rather
# than the K32 entry points that kernel32 gained only in Windows 7.
target_compile_definitions(launcher_win PRIVATE PSAPI_VERSION=1)
target_link_libraries(launcher_win PUBLIC launcher_pure
    wininet psapi ole32 uuid shell32 user32 gdi32 advapi32)

add_executable(OrvaneLauncher WIN32 launcher/main_win.cpp resources/launcher.rc)
target_compile_options(OrvaneLauncher PRIVATE ${LAUNCHER_FLAGS})
target_link_options(OrvaneLauncher PRIVATE -municode -mwindows $<$<CONFIG:Release>:-s>)
target_link_libraries(OrvaneLauncher PRIVATE launcher_win)
set_property(SOURCE resources/launcher.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/launcher.ico
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/launcher.manifest
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/version.h)

add_subdirectory(stand-ins)

if(LAUNCHER_TESTS AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    # 64-bit programs are the ones that run here, under Wine.
    add_subdirectory(tests/windows)
elseif(LAUNCHER_TESTS)
    # The shipped 32-bit build is inspected, never run.
    add_test(NAME shipped_build_inspection
        COMMAND ${TEST_PYTHON} ${CMAKE_SOURCE_DIR}/tests/inspect_shipped.py)
    set_tests_properties(shipped_build_inspection PROPERTIES
        ENVIRONMENT "LAUNCHER_EXE=$<TARGET_FILE:OrvaneLauncher>")
endif()
