# The Debian package: `cmake --build <build> --target package` (scripts/package)
# makes velmora_<version>_<arch>.deb of everything `cmake --install` installs,
# its library dependencies computed by dpkg-shlibdeps.
set(VELMORA_MAINTAINER "Velmora developers <velmora@example.org>" CACHE STRING
  "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines of the long description stay short, as Debian's tools show them unwrapped.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Velmora collects Quake 3 Arena console dumps in a list and converts them"
  "into HTML pages. The pages' colours, images and custom HTML and the player"
  "names to highlight are kept in a profile. velmora-cli converts from a"
  "terminal or a script.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMORA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
