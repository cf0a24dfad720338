# The Debian package: `cpack -G DEB` in a build folder. Shared-library
# dependencies are worked out by dpkg-shlibdeps; the fonts the window falls
# back to are named here, as scripts/deps.sh installs them.
set(HAYATE_FONT_PACKAGES "fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-ipaexfont-mincho, fonts-noto-cjk" CACHE STRING
    "Debian packages of the fonts the window needs (comma-separated dependency list)")
set(HAYATE_MAINTAINER "HayateUchi developers <hayateuchi@users.noreply.github.com>" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hayateuchi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${HAYATE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "touch-typing trainer for Japanese keyboards")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${HAYATE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${HAYATE_FONT_PACKAGES})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs speak Japanese only with its translations; on a Wayland
# desktop Qt runs natively only with its Wayland plugin (else through XWayland).
# Without MeCab's dictionary an import keeps kana only (libmecab2 itself comes
# from dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland, mecab-ipadic-utf8")
set(CPACK_PACKAGE_DESCRIPTION
    "ハヤテウチ trains touch typing on timed exercises: the alphabet, digits,
both mixed, romaji input of hiragana, a key-touch course, or ten practice
texts of your own. Every keystroke is judged, kana are typed as romaji with
the usual alternative spellings, and best records and their history are kept
per course and setting in each user's own data folder.")
if(HAYATE_HOMEPAGE_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${HAYATE_HOMEPAGE_URL})
endif()

include(CPack)
