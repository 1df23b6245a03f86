# The Debian package: "cpack -G DEB" in the build folder makes torvane_<version>_<arch>.deb from the
# installed tree (prefix /usr, see installdirs.cmake), with the copyright file, changelog and manual
# pages that deploy/CMakeLists.txt installs into it. Checked by tests/install/check-package.sh.
if(TORVANE_HEADLESS_ONLY OR WIN32)
  return()
endif()

set(TORVANE_PACKAGE_MAINTAINER "Parlenta Torvane team <torvane@parlenta.example>" CACHE STRING
    "Maintainer field of the Debian package: a name and an e-mail address")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR Parlenta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TORVANE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders the install makes on its way are 0755 whatever the umask of whoever builds the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # torvane_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TORVANE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the executables link (Qt, WebEngine, xcb, the C++ runtime) come from dpkg-shlibdeps;
# what follows is loaded at run time and invisible to it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's multimedia module plays the videos and narration through GStreamer, which crashes without
# these plugins: containers and WAV (base), AVI and the rest (good), the video codecs (libav). Qt's
# xcb platform plugin is part of libqt6gui6 on Debian 12, and WebEngine's helper process and
# resources are dependencies of its libraries, so shlibdeps brings both in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav")
# Narration is heard only through a GStreamer audio output; without one the player plays silently. Reading
# a page aloud uses the desktop's speech service (speech-dispatcher with espeak-ng voices, offline) through
# Qt's speech plugin; without them the viewer says what to install at the first use. speech-dispatcher
# speaks espeak-ng's voices only through its module package, speech-dispatcher-espeak-ng.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gstreamer1.0-pulseaudio | gstreamer1.0-pipewire | gstreamer1.0-alsa, qt6-speech-speechd-plugin, speech-dispatcher, speech-dispatcher-espeak-ng")
# The calculator button starts the first of these that is installed.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-calculator | kcalc | mate-calc | galculator | x11-apps")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "viewer for the Torvane technical training course
Torvane shows the 24 modules of the Torvane technical training course in an
embedded browser under a toolbar: contents, section, previous and next
navigation, videos and narration, a full-text search over the course, an
alphabetical index of its words and a history of the pages visited.
Exercises are handed to the circuit simulator Kirvolt and the 3-D laboratory
Solidra, when they are installed.

The package holds a small demo course, which the viewer opens unless a course
web server is named in TORVANE_COURSE_URL, and two tools for course authors:
trvwordlists, which builds the word lists of the search and index windows for
a course folder, and trvcheck, which checks a course folder and its lists.")

include(CPack)
