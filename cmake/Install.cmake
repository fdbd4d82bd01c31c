# Build-time assets and the installed layout: bin/tesk, the desktop entry, the AppStream
# metainfo, the icon in the hicolor theme, the chimes in share/tesk/sounds, the manual
# page and the documents a Debian package carries in share/doc/tesk.

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

# The manual page names the version; it and the Debian changelog are installed
# compressed, as man and Debian's tools expect. gzip -n leaves out the time stamp, so the
# same sources give the same files.
set(tesk_manual_page "${PROJECT_BINARY_DIR}/doc/tesk.1")
set(tesk_changelog "${PROJECT_BINARY_DIR}/doc/changelog")
set(TESK_VERSION "${PROJECT_VERSION}")
configure_file(data/tesk.1 "${tesk_manual_page}" @ONLY)
configure_file(packaging/changelog "${tesk_changelog}" COPYONLY)
file(STRINGS packaging/changelog tesk_changelog_head LIMIT_COUNT 1)
if(NOT tesk_changelog_head MATCHES "^tesk \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not start with an entry for ${PROJECT_VERSION}")
endif()
add_custom_command(OUTPUT "${tesk_manual_page}.gz" "${tesk_changelog}.gz"
                   COMMAND gzip -9nkf "${tesk_manual_page}" "${tesk_changelog}"
                   DEPENDS "${tesk_manual_page}" "${tesk_changelog}"
                   COMMENT "Compressing the manual page and the changelog"
                   VERBATIM)
add_custom_target(tesk-docs ALL DEPENDS "${tesk_manual_page}.gz" "${tesk_changelog}.gz")
add_dependencies(tesk tesk-docs)

# The machine-readable copyright file carries the text of LICENSE, indented as its format
# wants, with an empty line written as " .".
file(READ LICENSE tesk_license)
string(STRIP "${tesk_license}" tesk_license)
string(REGEX REPLACE "\n\n" "\n.\n" tesk_license "${tesk_license}")
string(REPLACE "\n" "\n " tesk_license "${tesk_license}")
set(TESK_LICENSE_TEXT " ${tesk_license}")
configure_file(packaging/copyright.in "${PROJECT_BINARY_DIR}/doc/copyright" @ONLY)

install(FILES data/org.example.tesk.desktop DESTINATION share/applications)
install(FILES data/org.example.tesk.metainfo.xml DESTINATION share/metainfo)
install(FILES "${tesk_manual_page}.gz" DESTINATION share/man/man1)
install(FILES "${PROJECT_BINARY_DIR}/doc/copyright" "${tesk_changelog}.gz"
        DESTINATION share/doc/tesk)
# The licence under its own name for `cmake --install`; the package has it in copyright
# (Debian wants no second licence file), so it is a component the package leaves out.
install(FILES LICENSE DESTINATION share/doc/tesk COMPONENT license)
install(FILES data/tesk.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size IN LISTS tesk_icon_sizes)
  install(FILES "${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/tesk.png"
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
# The program looks for them in ../share/tesk relative to its bin folder.
install(FILES ${tesk_sounds} DESTINATION share/tesk/sounds)

# The install-tree tests install this very build into a temporary prefix, and pack it.
if(TARGET install_tests)
  add_dependencies(install_tests tesk)
  target_compile_definitions(install_tests PRIVATE TESK_BUILD_DIR="${PROJECT_BINARY_DIR}"
                                                   TESK_CMAKE_COMMAND="${CMAKE_COMMAND}"
                                                   TESK_CPACK_COMMAND="${CMAKE_CPACK_COMMAND}"
                                                   TESK_VERSION_TEXT="${PROJECT_VERSION}"
                                                   TESK_SANITIZED=$<BOOL:${TESK_SANITIZE}>)
endif()
