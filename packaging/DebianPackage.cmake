# The Debian package of everything installed above: cpack -G DEB in the
# build folder (or the "package" target) writes drovane_VERSION_ARCH.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME drovane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chromatic guitar tuner with a needle gauge and reference tones")
# Lines of at most 80 characters, as Debian wants them.
set(CPACK_PACKAGE_DESCRIPTION
"Drovane listens to the microphone and shows on a needle gauge how far the
played note lies from the nearest tempered note: Ok, Up or Down. It plays a
plucked reference tone for each guitar string, moves the reference A in steps
of 0.1 Hz or calibrates it to a played note, and has a precise mode that reads
within a fraction of a cent.

The package also holds drovane-analyze, which measures recordings the way the
tuner does (table, CSV or JSON), and drovane-tone, which plays or writes a
string's reference tone.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Drovane authors <drovane@quorla.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://drovane.quorla.org)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps finds the linked libraries. SDL2 is loaded at run time for
# the window and live sound, so it is named here, with the font the phone's
# screen is drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, libsdl2-2.0-0 (>= 2.0.16)")
# libjack is loaded only for a JACK device (jack[:PORT]), and whoever runs a
# JACK server has it already: a suggestion, not a recommendation that would
# bring it to every desktop.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libjack-jackd2-0 | libjack-0.125")
include(CPack)
