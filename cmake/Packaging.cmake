# `make package`: a Debian package of both programs. Library dependencies are computed from the
# binaries by dpkg-shlibdeps; what the binaries load at run time by name (Qt plug-ins, the MeCab
# dictionary) is listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sonavel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Sonavel developers")
set(CPACK_PACKAGE_CONTACT "The Sonavel developers <dev@sonavel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music player with karaoke lyrics, and a batch renamer")
# The extended description as Debian wants it: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Sonavel plays the music of your folders and lights up the lyrics of each\ntrack word by word as they are sung. Brindle renames the files of a folder\nfrom a list of old and new names. Both speak Japanese and English.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, mecab-ipadic-utf8")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n, qt6-image-formats-plugins")
include(CPack)
