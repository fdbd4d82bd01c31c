# Build-time assets and the installed layout: bin/tesk, the desktop entry, the icon in
# the hicolor theme and the chimes in share/tesk/sounds.

# make-assets writes the chimes to <build>/sounds and the icon pictures to <build>/icons
# (see tesk_assets_env for how it runs).
set(tesk_icon_sizes 16 32 48 64 128)
add_subdirectory(tools/make-assets)
set(tesk_sounds "${PROJECT_BINARY_DIR}/sounds/online.wav" "${PROJECT_BINARY_DIR}/sounds/message.wav")
set(tesk_icons "")
foreach(size IN LISTS tesk_icon_sizes)
  list(APPEND tesk_icons "${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/tesk.png")
endforeach()
add_custom_command(OUTPUT ${tesk_sounds} ${tesk_icons}
                   COMMAND ${CMAKE_COMMAND} -E env ${tesk_assets_env}
                           $<TARGET_FILE:make-assets> "${PROJECT_BINARY_DIR}" ${tesk_icon_sizes}
                   DEPENDS make-assets
                   COMMENT "Painting the icon and synthesizing the chimes"
                   VERBATIM)
add_custom_target(tesk-assets ALL DEPENDS ${tesk_sounds} ${tesk_icons})

# Built with the program, so that a copy run from the build tree (scripts/run.sh) finds
# the chimes and its notification icon there when nothing is installed.
add_dependencies(tesk tesk-assets)
target_compile_definitions(tesk_platform PRIVATE TESK_BUILD_DATA_DIR="${PROJECT_BINARY_DIR}")
target_compile_definitions(tesk_notifications PRIVATE TESK_BUILD_DATA_DIR="${PROJECT_BINARY_DIR}")

install(FILES data/org.example.tesk.desktop DESTINATION share/applications)
install(FILES LICENSE DESTINATION share/doc/tesk)
install(FILES data/tesk.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size IN LISTS tesk_icon_sizes)
  install(FILES "${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/tesk.png"
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
# The program looks for them in ../share/tesk relative to its bin folder.
install(FILES ${tesk_sounds} DESTINATION share/tesk/sounds)

# The install-tree tests install this very build into a temporary prefix.
if(TARGET install_tests)
  add_dependencies(install_tests tesk)
  target_compile_definitions(install_tests PRIVATE TESK_BUILD_DIR="${PROJECT_BINARY_DIR}"
                                                   TESK_CMAKE_COMMAND="${CMAKE_COMMAND}")
endif()
