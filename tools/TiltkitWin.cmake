# Compiler settings and target helpers for the Windows XP binaries.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 STRICT)
# A debug build may route the trace hook to the debugger output; the
# delivered binaries are built without it and carry no debug output.
option(TILTKIT_DEBUG_TRACE "trace hook writes to OutputDebugString" OFF)
if(TILTKIT_DEBUG_TRACE)
  add_compile_definitions(TILTKIT_DEBUG_TRACE)
endif()
set(TILTKIT_XP_LINK
  -static -static-libgcc -static-libstdc++
  -Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,1
  -Wl,--major-os-version,5 -Wl,--minor-os-version,1
  -Wl,--enable-stdcall-fixup -Wl,--kill-at)

if(TILTKIT_PART STREQUAL "win")
  # Deliverables: small, no exceptions, no debug output.
  add_compile_options(-Os -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers
                      -ffunction-sections -fdata-sections
                      $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
  add_link_options(${TILTKIT_XP_LINK} -Wl,--gc-sections -s)
else()
  add_compile_options(-O2 -Wall -Wno-unused-parameter -Wno-missing-field-initializers)
  add_link_options(${TILTKIT_XP_LINK})
endif()

set(TILTKIT_VERSION_MAJOR 1)
set(TILTKIT_VERSION_MINOR 0)
set(TILTKIT_VERSION_PATCH 0)
set(TILTKIT_VERSION_BUILD 1)

# tiltkit_version_resource(target "Описание" "File.exe")
# Every binary carries a VERSIONINFO block made from one template.
function(tiltkit_version_resource target desc filename)
  set(TK_DESCRIPTION "${desc}")
  set(TK_INTERNAL "${target}")
  set(TK_FILENAME "${filename}")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(TK_FILETYPE "VFT_DLL")
  else()
    set(TK_FILETYPE "VFT_APP")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${TILTKIT_ROOT}/tools/version.rc.in ${out} @ONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()

# Every program and library defined outside standins/ is a deliverable: the
# win tree lists them in deliverables.txt next to its bin folder, and the XP
# check (tools/xpcheck.py) fails when one of them was not built.
function(tiltkit_deliverable filename)
  file(RELATIVE_PATH rel ${TILTKIT_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT rel MATCHES "^standins")
    set_property(GLOBAL APPEND PROPERTY TILTKIT_DELIVERABLES ${filename})
  endif()
endfunction()

function(tiltkit_write_deliverables)
  get_property(files GLOBAL PROPERTY TILTKIT_DELIVERABLES)
  list(SORT files)
  list(JOIN files "\n" text)
  file(WRITE ${CMAKE_BINARY_DIR}/deliverables.txt "${text}\n")
endfunction()
if(TILTKIT_PART STREQUAL "win")
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tiltkit_write_deliverables)
endif()

# tiltkit_program(Name GUI|CONSOLE DESC "..." SOURCES ... [LIBS ...])
function(tiltkit_program name kind)
  cmake_parse_arguments(A "" "DESC" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  if(kind STREQUAL "GUI")
    target_link_options(${name} PRIVATE -mwindows)
  else()
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  target_include_directories(${name} PRIVATE ${TILTKIT_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  if(NOT A_DESC)
    set(A_DESC "${name}")
  endif()
  tiltkit_version_resource(${name} "${A_DESC}" "${name}.exe")
  tiltkit_deliverable(${name}.exe)
endfunction()

# tiltkit_library(Name DEF file.def DESC "..." SOURCES ... [LIBS ...])
# Exports come only from the .def file, undecorated.
function(tiltkit_library name)
  cmake_parse_arguments(A "" "DEF;DESC" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES} ${A_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
  target_include_directories(${name} PRIVATE ${TILTKIT_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  if(NOT A_DESC)
    set(A_DESC "${name}")
  endif()
  tiltkit_version_resource(${name} "${A_DESC}" "${name}.dll")
  tiltkit_deliverable(${name}.dll)
endfunction()
