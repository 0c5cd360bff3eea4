# `cpack -G DEB` (or the `package` target) builds player-tarn_VERSION_ARCH.deb
# from the install rules. dpkg-shlibdeps computes the library dependencies
# (libvlc, Qt, X11); the libvlc plugins are loaded at run time and no linker
# sees them, so the demuxers, decoders and audio outputs (vlc-plugin-base)
# and the X11 video outputs (vlc-plugin-video-output) are named here, and so
# is the SQLite driver of Qt SQL (a plugin too) that the history uses.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME player-tarn)
set(CPACK_PACKAGE_VENDOR Mirelva)
set(CPACK_PACKAGE_CONTACT "Mirelva <player-tarn@player-tarn.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "media player with a flat, frameless window")
set(CPACK_PACKAGE_DESCRIPTION "Player Tarn plays local video and audio files, M3U playlists,
network streams, DVD and Blu-ray discs and audio CDs, with the controls
laid over the video.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "vlc-plugin-base, vlc-plugin-video-output, libqt5sql5-sqlite")
# "Set as default player..." runs xdg-mime when it is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
