# lockwatch_icon(target): generates Lockwatch's icon into the target's binary
# folder and makes Lockwatch.rc wait for it.
function(lockwatch_icon target)
  set(ico ${CMAKE_CURRENT_BINARY_DIR}/lockwatch.ico)
  add_custom_command(OUTPUT ${ico}
    COMMAND python3 ${TILTKIT_ROOT}/motionlock/lockicon.py ${ico}
    DEPENDS ${TILTKIT_ROOT}/motionlock/lockicon.py
    COMMENT "Lockwatch icon")
  add_custom_target(${target}_icon DEPENDS ${ico})
  add_dependencies(${target} ${target}_icon)
  set_source_files_properties(${TILTKIT_ROOT}/motionlock/Lockwatch.rc PROPERTIES OBJECT_DEPENDS ${ico})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
