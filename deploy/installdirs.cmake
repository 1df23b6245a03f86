# Where an installed viewer lives. The viewer looks for its course ("course/") and its word lists
# ("files.trv", "words.trv") in its own folder, the folder of the executable once symbolic links are
# followed. On Linux that folder is a private program folder, lib/torvane, holding the executable and
# links into share/torvane, where the demo course and its lists lie as architecture-independent data;
# bin/torvane is a link to the executable. On Windows everything lies in one folder.
include(GNUInstallDirs)

set(TORVANE_APP_ID com.parlenta.Torvane)
set(TORVANE_ICON_SIZES 16 24 32 48 64 128 256)

if(WIN32)
  set(_programdir "${CMAKE_INSTALL_BINDIR}")
  set(_datadir "${CMAKE_INSTALL_BINDIR}")
else()
  set(_programdir "lib/torvane")
  set(_datadir "${CMAKE_INSTALL_DATADIR}/torvane")
endif()
set(TORVANE_INSTALL_PROGRAMDIR "${_programdir}" CACHE STRING
    "Folder, relative to the prefix, of the installed viewer executable")
set(TORVANE_INSTALL_DATADIR "${_datadir}" CACHE STRING
    "Folder, relative to the prefix, of the installed demo course and its word lists")
unset(_programdir)
unset(_datadir)
