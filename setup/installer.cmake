# TiltkitSetup.exe, the installer, built with NSIS (makensis) from
# TiltkitSetup.nsi and two generated includes: defaults.nsh, made from the
# defaults table by nsisgen (compiled for the build machine), and files.nsh,
# the deliverables built in this tree. Included by setup/CMakeLists.txt after
# every deliverable's folder, so that the targets are known.
find_program(TILTKIT_MAKENSIS makensis)
if(NOT TILTKIT_MAKENSIS)
  message(WARNING "makensis not found (Debian package nsis): TiltkitSetup.exe is not built")
  return()
endif()
find_program(TILTKIT_HOST_CXX NAMES c++ g++ clang++ REQUIRED)

set(setup_gen ${CMAKE_CURRENT_BINARY_DIR}/installer)
file(MAKE_DIRECTORY ${setup_gen})

add_custom_command(OUTPUT ${setup_gen}/nsisgen
  COMMAND ${TILTKIT_HOST_CXX} -std=c++17 -O1 -Wall -I${TILTKIT_ROOT} -o ${setup_gen}/nsisgen
          ${CMAKE_CURRENT_SOURCE_DIR}/nsisgen.cpp ${CMAKE_CURRENT_SOURCE_DIR}/nsisgen_main.cpp
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/nsisgen.cpp ${CMAKE_CURRENT_SOURCE_DIR}/nsisgen_main.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/nsisgen.h ${CMAKE_CURRENT_SOURCE_DIR}/defaults.h
          ${TILTKIT_ROOT}/common/regpaths.h
  COMMENT "Building nsisgen for the build machine"
  VERBATIM)
add_custom_command(OUTPUT ${setup_gen}/defaults.nsh
  COMMAND ${setup_gen}/nsisgen ${setup_gen}/defaults.nsh
  DEPENDS ${setup_gen}/nsisgen
  COMMENT "Installer include from the defaults table"
  VERBATIM)

# The deliverables by folder; those not built in this tree are left out of
# the installer, and the uninstaller deletes every name.
set(setup_main Gravmon.dll Feedrun.exe Feedcfg.dll Joltrun.exe Joltcfg.dll Tiltdesk.exe
               Gravcal.dll Provisio.dll Tiltextra.dll)
set(setup_quadrix Lockwatch.exe Quadlock.dll)
set(setup_files "; The deliverables built in this tree (setup/installer.cmake).\n")
set(setup_deps "")
foreach(group main quadrix)
  if(group STREQUAL "main")
    string(APPEND setup_files "!macro TkFilesTiltkit\n")
  else()
    string(APPEND setup_files "!macro TkFilesQuadrix\n")
  endif()
  foreach(name ${setup_${group}})
    get_filename_component(target ${name} NAME_WE)
    if(TARGET ${target})
      string(APPEND setup_files "  File \"$<TARGET_FILE:${target}>\"\n")
      list(APPEND setup_deps ${target})
    else()
      message(STATUS "Installer: ${name} is not built in this tree and is left out")
    endif()
  endforeach()
  string(APPEND setup_files "!macroend\n")
endforeach()
string(APPEND setup_files "!macro TkDeleteTiltkit\n")
foreach(name ${setup_main})
  string(APPEND setup_files "  Delete \"$INSTDIR\\${name}\"\n")
endforeach()
string(APPEND setup_files "!macroend\n")

# The help files (help/CMakeLists.txt) go to the "Help" folder, where the
# machine-wide "HelpFilePath" values point; the uninstaller deletes each.
get_property(setup_help GLOBAL PROPERTY TILTKIT_HELP_FILES)
string(APPEND setup_files "!macro TkFilesHelp\n")
foreach(file ${setup_help})
  string(APPEND setup_files "  File \"${file}\"\n")
endforeach()
string(APPEND setup_files "!macroend\n!macro TkDeleteHelp\n")
foreach(file ${setup_help})
  get_filename_component(name ${file} NAME)
  string(APPEND setup_files "  Delete \"$INSTDIR\\Help\\${name}\"\n")
endforeach()
string(APPEND setup_files "!macroend\n")
file(GENERATE OUTPUT ${setup_gen}/files.nsh CONTENT "${setup_files}")

set(setup_version ${TILTKIT_VERSION_MAJOR}.${TILTKIT_VERSION_MINOR}.${TILTKIT_VERSION_PATCH}.${TILTKIT_VERSION_BUILD})
set(setup_out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/TiltkitSetup.exe)
set(setup_icon ${CMAKE_BINARY_DIR}/console/art/tiltdesk.ico)
set(setup_icon_arg "")
set(setup_icon_dep "")
if(TARGET Tiltdesk)
  set(setup_icon_arg -DTK_ICON=${setup_icon})
  set(setup_icon_dep ${setup_icon})
endif()
# The x86-64 test build gets a 64-bit installer of the same script.
set(setup_arch_arg "")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(setup_arch_arg -DTK_AMD64)
endif()
add_custom_command(OUTPUT ${setup_out}
  COMMAND ${TILTKIT_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DTK_GENERATED=${setup_gen}
          -DTK_OUTFILE=${setup_out} -DTK_VERSION=${setup_version} ${setup_icon_arg} ${setup_arch_arg}
          ${CMAKE_CURRENT_SOURCE_DIR}/TiltkitSetup.nsi
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/TiltkitSetup.nsi ${setup_gen}/defaults.nsh
          ${setup_gen}/files.nsh ${setup_deps} ${setup_icon_dep} ${setup_help}
  COMMENT "Building the installer TiltkitSetup.exe"
  VERBATIM)
add_custom_target(TiltkitSetup ALL DEPENDS ${setup_out})
if(TARGET tiltkit_help)
  add_dependencies(TiltkitSetup tiltkit_help)
endif()
