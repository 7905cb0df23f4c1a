# Windows build: the program itself, its Win32 platform, and the end-to-end tests that run the
# real Vexamo.exe under Wine. Included from the top CMakeLists when building for Windows, either
# cross from Debian (preset "windows") or on Windows with MSYS2's MinGW packages.
enable_language(RC)
enable_testing()

# Every program must run on a bare Windows (or Wine) without MinGW's runtime DLLs beside it.
add_link_options(-static -static-libgcc -static-libstdc++)

# The agent waits for the user nearly all day, and what it does then waits on the disc, the file
# system and the shell: it is built for size. Each function and object in a section of its own lets
# the linker drop what nothing calls. The walk of a disc keeps -O2 (below). No -flto: GCC 12 stops
# with an internal error on -Os -flto.
if(CMAKE_BUILD_TYPE STREQUAL "Release")
  string(REGEX REPLACE "-O[0-9s]" "-Os" CMAKE_C_FLAGS_RELEASE "${CMAKE_C_FLAGS_RELEASE}")
  string(REGEX REPLACE "-O[0-9s]" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
  string(APPEND CMAKE_C_FLAGS " -ffunction-sections -fdata-sections")
  string(APPEND CMAKE_CXX_FLAGS " -ffunction-sections -fdata-sections")
  add_link_options(-Wl,--gc-sections)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/model/general.cpp ${CMAKE_SOURCE_DIR}/src/model/DiscSearch.cpp
    PROPERTIES COMPILE_OPTIONS -O2)
endif()

set(VEXAMO_WIN32_LIBS user32 gdi32 shell32 comctl32 comdlg32 advapi32 ole32 uxtheme)

# --- The Win32 platform ------------------------------------------------------------------------
file(GLOB VEXAMO_WIN32PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/*.cpp)
if(VEXAMO_WIN32PLATFORM_SOURCES)
  add_library(vexamo_win32platform STATIC ${VEXAMO_WIN32PLATFORM_SOURCES})
  target_link_libraries(vexamo_win32platform PUBLIC vexamo_core ${VEXAMO_WIN32_LIBS})
else()
  add_library(vexamo_win32platform INTERFACE)
  target_link_libraries(vexamo_win32platform INTERFACE vexamo_core ${VEXAMO_WIN32_LIBS})
endif()

# --- DLLs loaded on first use -------------------------------------------------------------------
# comctl32 serves only the windows and the tray menu's pictures, and loading it registers every one
# of its window classes: linked as usual it is loaded before the program's first instruction, at
# each start of the agent that then waits in the tray. Vexamo.exe takes it through a delay-import
# library made here from the toolchain's own import library instead, so that it comes with the
# first window or menu (a DLL that cannot be had is named by the program entry's failure hook).
function(vexamo_delay_import variable name dll)
  find_library(VEXAMO_${name}_IMPORT_LIB ${name} REQUIRED)
  foreach(tool NM DLLTOOL)
    if(NOT CMAKE_${tool})
      string(TOLOWER ${tool} program)
      find_program(CMAKE_${tool} NAMES x86_64-w64-mingw32-${program} ${program} REQUIRED)
    endif()
  endforeach()
  set(output ${CMAKE_BINARY_DIR}/delayimp/lib${name}_delay.a)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayimp
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL} -DIMPORT_LIB=${VEXAMO_${name}_IMPORT_LIB}
      -DDLL=${dll} -DOUTPUT=${output} -P ${CMAKE_SOURCE_DIR}/cmake/DelayImport.cmake
    DEPENDS ${VEXAMO_${name}_IMPORT_LIB} ${CMAKE_SOURCE_DIR}/cmake/DelayImport.cmake
    COMMENT "Delay-import library for ${dll}" VERBATIM)
  add_custom_target(${name}_delay DEPENDS ${output})
  set(${variable} ${output} PARENT_SCOPE)
endfunction()
vexamo_delay_import(VEXAMO_COMCTL32_DELAY comctl32 COMCTL32.dll)

# --- Vexamo.exe ----------------------------------------------------------------------------------
# The window bindings and the program entry are the *_win32.cpp files beside each window's
# portable class; dialog templates may sit beside them as .rc files.
file(GLOB_RECURSE VEXAMO_BINDING_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/*_win32.cpp ${CMAKE_SOURCE_DIR}/src/*.rc)
list(FILTER VEXAMO_BINDING_SOURCES EXCLUDE REGEX "/src/platform/win32/")
if(EXISTS ${CMAKE_SOURCE_DIR}/src/program/Program_win32.cpp)
  add_executable(Vexamo WIN32 ${VEXAMO_BINDING_SOURCES} ${CMAKE_SOURCE_DIR}/resources/Vexamo.rc)
  set_target_properties(Vexamo PROPERTIES OUTPUT_NAME Vexamo)
  target_include_directories(Vexamo PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
  # The delay-import library before the platform's own -lcomctl32 takes every call of the exe and
  # of its libraries, so that the plain import is never linked.
  target_link_libraries(Vexamo PRIVATE vexamo_win32platform vexamo_core ${VEXAMO_COMCTL32_DELAY} ${VEXAMO_WIN32_LIBS})
  add_dependencies(Vexamo comctl32_delay)
  # windres reports no dependencies: what the resource script pulls in (manifest, included
  # scripts, icons, pictures) is named here so that changing it rebuilds the resources.
  file(GLOB VEXAMO_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
  list(FILTER VEXAMO_RESOURCE_FILES EXCLUDE REGEX "/Vexamo\\.rc$")
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/Vexamo.rc APPEND PROPERTY OBJECT_DEPENDS
    ${VEXAMO_RESOURCE_FILES})
  # Dialog templates beside their windows draw on the same pictures and their own headers.
  foreach(rc IN LISTS VEXAMO_BINDING_SOURCES)
    if(rc MATCHES "\\.rc$")
      get_filename_component(rc_dir ${rc} DIRECTORY)
      file(GLOB rc_headers CONFIGURE_DEPENDS ${rc_dir}/*_res.h)
      set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${VEXAMO_RESOURCE_FILES} ${rc_headers})
    endif()
  endforeach()
else()
  message(STATUS "Vexamo.exe: no program entry (src/program/Program_win32.cpp) yet; not built")
endif()

# --- Installer -----------------------------------------------------------------------------------
# build/windows/VexamoSetup-<version>.exe, made with NSIS. It ships a stripped copy of Vexamo.exe
# (most of the build's size is debug information); the unstripped build stays for debugging.
find_program(VEXAMO_MAKENSIS makensis)
if(TARGET Vexamo AND VEXAMO_MAKENSIS)
  set(VEXAMO_SETUP_NAME VexamoSetup-${PROJECT_VERSION}.exe)
  set(VEXAMO_SETUP ${CMAKE_BINARY_DIR}/${VEXAMO_SETUP_NAME})
  set(VEXAMO_SHIPPED_EXE ${CMAKE_BINARY_DIR}/installer/Vexamo.exe)
  if(NOT CMAKE_STRIP)
    find_program(CMAKE_STRIP NAMES x86_64-w64-mingw32-strip strip REQUIRED)
  endif()
  add_custom_command(OUTPUT ${VEXAMO_SHIPPED_EXE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/installer
    COMMAND ${CMAKE_STRIP} --strip-all -o ${VEXAMO_SHIPPED_EXE} $<TARGET_FILE:Vexamo>
    DEPENDS Vexamo
    COMMENT "Stripping a copy of Vexamo.exe for the installer" VERBATIM)
  # A licence page only when the project has a licence.
  file(GLOB VEXAMO_LICENCE ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/LICENSE.txt
    ${CMAKE_SOURCE_DIR}/LICENCE ${CMAKE_SOURCE_DIR}/LICENCE.txt ${CMAKE_SOURCE_DIR}/COPYING)
  set(VEXAMO_NSIS_DEFINES -DVERSION=${PROJECT_VERSION} -DPROGRAM=${VEXAMO_SHIPPED_EXE}
    -DICON=${CMAKE_SOURCE_DIR}/resources/app.ico -DOUTFILE=${VEXAMO_SETUP})
  if(VEXAMO_LICENCE)
    list(GET VEXAMO_LICENCE 0 VEXAMO_LICENCE)
    list(APPEND VEXAMO_NSIS_DEFINES -DLICENSE=${VEXAMO_LICENCE})
  endif()
  add_custom_command(OUTPUT ${VEXAMO_SETUP}
    COMMAND ${VEXAMO_MAKENSIS} -V2 ${VEXAMO_NSIS_DEFINES} ${CMAKE_SOURCE_DIR}/installer/Vexamo.nsi
    DEPENDS ${VEXAMO_SHIPPED_EXE} ${CMAKE_SOURCE_DIR}/installer/Vexamo.nsi ${CMAKE_SOURCE_DIR}/installer/wizard.bmp
      ${CMAKE_SOURCE_DIR}/resources/app.ico
      ${VEXAMO_LICENCE}
    COMMENT "Making ${VEXAMO_SETUP_NAME}" VERBATIM)
  add_custom_target(installer DEPENDS ${VEXAMO_SETUP})
elseif(TARGET Vexamo)
  message(STATUS "Installer: makensis not found (Debian package nsis); not built")
endif()

# --- GoogleTest for Windows ----------------------------------------------------------------------
set(VEXAMO_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources to build for Windows")
if(EXISTS ${VEXAMO_GTEST_SOURCE}/CMakeLists.txt)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${VEXAMO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(VEXAMO_GTEST gtest)
  set(VEXAMO_GTEST_MAIN gtest_main)
else()
  # MSYS2 and other systems with GoogleTest installed as a package.
  find_package(GTest REQUIRED)
  set(VEXAMO_GTEST GTest::gtest)
  set(VEXAMO_GTEST_MAIN GTest::gtest_main)
endif()

# --- End-to-end tests ----------------------------------------------------------------------------
# Test-only programs; none of them is shipped.
add_executable(StandInPlayer WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/standin/StandInPlayer.cpp)

# Test programs that call the platform run under the program's manifest (UTF-8 code page).
set(VEXAMO_TEST_MANIFEST ${CMAKE_SOURCE_DIR}/tests/support/TestManifest.rc)
set_property(SOURCE ${VEXAMO_TEST_MANIFEST} APPEND PROPERTY OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/resources/Vexamo.manifest)

file(GLOB VEXAMO_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(vexamo_e2e ${VEXAMO_E2E_SOURCES} ${VEXAMO_TEST_MANIFEST})
target_include_directories(vexamo_e2e PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src
  ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(vexamo_e2e PRIVATE vexamo_win32platform vexamo_core ${VEXAMO_GTEST_MAIN} ${VEXAMO_GTEST}
  ${VEXAMO_WIN32_LIBS})
# The player wizard on its own, for driving it apart from the configuration window.
if(EXISTS ${CMAKE_SOURCE_DIR}/src/ui/PlayerWizard_win32.cpp)
  add_executable(WizardHost WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/wizardhost/WizardHost.cpp
    ${CMAKE_SOURCE_DIR}/src/ui/PlayerWizard_win32.cpp ${CMAKE_SOURCE_DIR}/src/ui/PlayerWizard.rc
    ${CMAKE_SOURCE_DIR}/resources/Vexamo.rc)
  target_include_directories(WizardHost PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
  target_link_libraries(WizardHost PRIVATE vexamo_win32platform vexamo_core ${VEXAMO_WIN32_LIBS})
endif()

# The driver starts the stand-in (and Vexamo.exe) from its own folder, and runs the installer
# from there too; building the tests builds the installer.
add_dependencies(vexamo_e2e StandInPlayer)
if(TARGET WizardHost)
  add_dependencies(vexamo_e2e WizardHost)
endif()
if(TARGET installer)
  add_dependencies(vexamo_e2e installer)
  target_compile_definitions(vexamo_e2e PRIVATE VEXAMO_SETUP_EXE="${VEXAMO_SETUP_NAME}")
endif()

# The tour that takes the README's pictures (scripts/screenshots.sh); not a test group.
add_executable(vexamo_tour ${CMAKE_SOURCE_DIR}/tests/e2e/tour/Tour.cpp ${CMAKE_SOURCE_DIR}/tests/e2e/E2E.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/AgentE2E.cpp ${VEXAMO_TEST_MANIFEST})
target_include_directories(vexamo_tour PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src
  ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(vexamo_tour PRIVATE ${VEXAMO_GTEST_MAIN} ${VEXAMO_GTEST} ${VEXAMO_WIN32_LIBS})
add_dependencies(vexamo_tour StandInPlayer)
if(TARGET installer)
  add_dependencies(vexamo_tour installer)
  target_compile_definitions(vexamo_tour PRIVATE VEXAMO_SETUP_EXE="${VEXAMO_SETUP_NAME}")
endif()

file(GLOB VEXAMO_CONFORMANCE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/conformance/*.cpp)
if(VEXAMO_CONFORMANCE_SOURCES)
  list(APPEND VEXAMO_CONFORMANCE_SOURCES ${CMAKE_SOURCE_DIR}/tests/support/IniCases.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/ArgvSplit.cpp ${VEXAMO_TEST_MANIFEST})
  add_executable(ini_conformance ${VEXAMO_CONFORMANCE_SOURCES})
  target_include_directories(ini_conformance PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/resources)
  target_link_libraries(ini_conformance PRIVATE vexamo_win32platform vexamo_core ${VEXAMO_GTEST_MAIN}
    ${VEXAMO_GTEST})
endif()

# --- Timing programs ------------------------------------------------------------------------------
# Google Benchmark is not built for Windows: plain timing programs, run by hand under Wine or on
# Windows. Tests only; not shipped.
add_executable(ScanBench ${CMAKE_SOURCE_DIR}/bench/win32/ScanBench.cpp ${VEXAMO_TEST_MANIFEST})
target_include_directories(ScanBench PRIVATE ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/src
  ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(ScanBench PRIVATE vexamo_win32platform vexamo_core ${VEXAMO_WIN32_LIBS})
# A disc's arrival at the agent against a bare walk of the disc (scripts/bench-lighter.sh).
add_executable(ArrivalBench ${CMAKE_SOURCE_DIR}/bench/win32/ArrivalBench.cpp ${VEXAMO_TEST_MANIFEST})
target_include_directories(ArrivalBench PRIVATE ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/src
  ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(ArrivalBench PRIVATE vexamo_win32platform vexamo_core ${VEXAMO_WIN32_LIBS})
# The configuration window's model for many players (scripts/bench-lighter.sh).
add_executable(PlayersBench ${CMAKE_SOURCE_DIR}/bench/win32/PlayersBench.cpp ${VEXAMO_TEST_MANIFEST})
target_include_directories(PlayersBench PRIVATE ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/src
  ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(PlayersBench PRIVATE vexamo_win32platform vexamo_core ${VEXAMO_WIN32_LIBS})

# Each test group (a GoogleTest suite of the driver) runs in a fresh copy of one Wine prefix made
# per run, on its own virtual display. The drive setup follows the suite's name: suites named
# NoCd... run on a machine without a CD-ROM drive, TwoCd... with D: and E:, ThreeCd... with D:, E:
# and F:, all others with one CD-ROM drive D: labelled VEXAMO_DEMO. HiDpi... suites run at 144 DPI.
if(CMAKE_CROSSCOMPILING OR NOT CMAKE_HOST_WIN32)
  set(VEXAMO_E2E_WRAPPER bash ${CMAKE_SOURCE_DIR}/tests/e2e/run-e2e.sh
    --work ${CMAKE_BINARY_DIR}/e2e)
  set(VEXAMO_E2E_TIMEOUT 300 CACHE STRING "Seconds one end-to-end test group may take")

  add_test(NAME e2e.prefix COMMAND ${VEXAMO_E2E_WRAPPER} --make-base)
  set_tests_properties(e2e.prefix PROPERTIES LABELS e2e TIMEOUT 240 FIXTURES_SETUP e2e_prefix)

  function(vexamo_add_e2e_group suite exe)
    if(suite MATCHES "^NoCd")
      set(drives --no-cdrom)
    elseif(suite MATCHES "^TwoCd")
      set(drives --cdrom D:VEXAMO_DEMO --cdrom E:VEXAMO_TWO)
    elseif(suite MATCHES "^Usb")
      set(drives --cdrom D:VEXAMO_DEMO --removable G:VEXAMO_STICK)
    elseif(suite MATCHES "^ThreeCd")
      set(drives --cdrom D:VEXAMO_DEMO --cdrom E:VEXAMO_TWO --cdrom F:VEXAMO_THREE)
    elseif(suite MATCHES "CyrillicDisc$")
      # A label in another script than the system's.
      set(drives --cdrom "D:Фильмы")
    else()
      set(drives --cdrom D:VEXAMO_DEMO)
    endif()
    # Suites named HiDpi... run at 144 DPI on a screen scaled to match.
    if(suite MATCHES "^HiDpi")
      list(APPEND drives --dpi 144)
    endif()
    add_test(NAME e2e.${suite}
      COMMAND ${VEXAMO_E2E_WRAPPER} --group ${suite} ${drives} -- ${exe} ${ARGN})
    set_tests_properties(e2e.${suite} PROPERTIES LABELS e2e TIMEOUT ${VEXAMO_E2E_TIMEOUT}
      FIXTURES_REQUIRED e2e_prefix)
  endfunction()

  set(VEXAMO_E2E_SUITES)
  foreach(source IN LISTS VEXAMO_E2E_SOURCES)
    # A suite added to an existing file becomes a test group at the next build.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(STRINGS ${source} lines REGEX "^[ \t]*TEST(_F)?\\([A-Za-z0-9_]+,")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${line}")
      list(APPEND VEXAMO_E2E_SUITES ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES VEXAMO_E2E_SUITES)
  foreach(suite IN LISTS VEXAMO_E2E_SUITES)
    vexamo_add_e2e_group(${suite} $<TARGET_FILE:vexamo_e2e> --gtest_filter=${suite}.*)
  endforeach()

  if(TARGET ini_conformance)
    vexamo_add_e2e_group(IniConformance $<TARGET_FILE:ini_conformance>)
  endif()
endif()
# The agent's start-up and idle memory against the least tray program with the same toolchain and
# manifest (scripts/bench-lighter.sh).
add_executable(BareTray WIN32 ${CMAKE_SOURCE_DIR}/bench/win32/BareTray.cpp ${VEXAMO_TEST_MANIFEST})
target_include_directories(BareTray PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(BareTray PRIVATE shell32)
add_executable(StartBench ${CMAKE_SOURCE_DIR}/bench/win32/StartBench.cpp ${VEXAMO_TEST_MANIFEST})
target_include_directories(StartBench PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(StartBench PRIVATE psapi shell32)
