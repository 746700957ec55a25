# Where `cmake --install` and the Debian package put the game.
#
# The game reads its data from the folder of its executable, so both programs
# live in one program folder, lib/quaderwelt/ (compiled code belongs under
# lib/, not share/). The data files themselves are architecture-independent
# and go to share/quaderwelt/; the program folder holds a relative link to
# each of them. bin/ holds relative links to the two programs: the kernel
# resolves /proc/self/exe through the link, so the game finds its folder from
# any working directory without a launcher script.
include(GNUInstallDirs)

set(QUADERWELT_INSTALL_PROGRAMDIR "lib/quaderwelt" CACHE STRING
    "Program folder of the game and its tool, relative to the install prefix")
set(QUADERWELT_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/quaderwelt")
set(QUADERWELT_APP_ID "de.korland.quaderwelt")
set(QUADERWELT_FULL_PROGRAMDIR "${CMAKE_INSTALL_PREFIX}/${QUADERWELT_INSTALL_PROGRAMDIR}")
set(QUADERWELT_FULL_BINDIR "${CMAKE_INSTALL_FULL_BINDIR}")

set(packaging_source "${CMAKE_CURRENT_LIST_DIR}")
set(packaging_build "${PROJECT_BINARY_DIR}/packaging")
file(MAKE_DIRECTORY "${packaging_build}/program" "${packaging_build}/bin")

# A symbolic link in the build tree that install(FILES) copies as a link.
# Its target is relative, so it holds under any prefix and inside a package.
function(quaderwelt_relative_link link_path from_dir to_path)
  file(RELATIVE_PATH target "${from_dir}" "${to_path}")
  file(CREATE_LINK "${target}" "${link_path}" SYMBOLIC)
endfunction()

# Programs and their launchers.
install(TARGETS quaderwelt quaderwelt-world RUNTIME DESTINATION "${QUADERWELT_INSTALL_PROGRAMDIR}")
foreach(program quaderwelt quaderwelt-world)
  quaderwelt_relative_link("${packaging_build}/bin/${program}"
    "${QUADERWELT_FULL_BINDIR}" "${QUADERWELT_FULL_PROGRAMDIR}/${program}")
  install(FILES "${packaging_build}/bin/${program}" DESTINATION "${CMAKE_INSTALL_BINDIR}")
endforeach()

# Data files, and their links in the program folder.
file(GLOB data_files LIST_DIRECTORIES false CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/data/*")
install(FILES ${data_files} DESTINATION "${QUADERWELT_INSTALL_DATADIR}")
foreach(data_file IN LISTS data_files)
  get_filename_component(name "${data_file}" NAME)
  quaderwelt_relative_link("${packaging_build}/program/${name}"
    "${QUADERWELT_FULL_PROGRAMDIR}" "${CMAKE_INSTALL_PREFIX}/${QUADERWELT_INSTALL_DATADIR}/${name}")
  install(FILES "${packaging_build}/program/${name}" DESTINATION "${QUADERWELT_INSTALL_PROGRAMDIR}")
endforeach()

# Menu entry, icons and AppStream data.
install(FILES "${packaging_source}/${QUADERWELT_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${packaging_source}/${QUADERWELT_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
file(GLOB icon_sizes LIST_DIRECTORIES true CONFIGURE_DEPENDS "${packaging_source}/icons/*x*")
foreach(icon_dir IN LISTS icon_sizes)
  get_filename_component(size "${icon_dir}" NAME)
  install(FILES "${icon_dir}/quaderwelt.png" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps")
endforeach()

# Manual pages and documents, compressed as Debian expects (-n: no time
# stamp, so the package is reproducible).
configure_file("${packaging_source}/quaderwelt.6.in" "${packaging_build}/quaderwelt.6" @ONLY)
set(compressed_files)
foreach(source "${packaging_build}/quaderwelt.6" "${packaging_source}/quaderwelt-world.6"
                "${packaging_source}/changelog")
  get_filename_component(name "${source}" NAME)
  add_custom_command(OUTPUT "${packaging_build}/${name}.gz"
    COMMAND gzip -9 -n -c "${source}" > "${packaging_build}/${name}.gz"
    DEPENDS "${source}" VERBATIM)
  list(APPEND compressed_files "${packaging_build}/${name}.gz")
endforeach()
add_custom_target(quaderwelt_compressed_docs ALL DEPENDS ${compressed_files})
install(FILES "${packaging_build}/quaderwelt.6.gz" "${packaging_build}/quaderwelt-world.6.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
install(FILES "${packaging_build}/changelog.gz" "${packaging_source}/copyright"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

include("${CMAKE_CURRENT_LIST_DIR}/DebianPackage.cmake")
