# `make package`: a Debian package of the installed files, to /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quaderwelt)
set(CPACK_PACKAGE_VENDOR Korland)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Seed 4036827d maintainers <maintainers@users.noreply.c-seed-4036827d.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D block-world game for one or two players")
set(CPACK_PACKAGE_DESCRIPTION [[
One player, or two players on one screen split in half, walk, dig and
build in a world of 201 x 201 x 201 blocks that wraps around in every
direction. Hunt for a hidden emerald, fight with missiles against each
other or a computer opponent, or build freely in creative mode, where
the world is kept. The figures can wear your own Minecraft skins.

Also contains quaderwelt-world, a command-line tool that makes,
describes, converts and draws the game's world files.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps derives the library packages from the programs themselves;
# wxWidgets' German texts are data that no program links against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "wx3.2-i18n")

include(CPack)
