# `cpack -G DEB` in the build folder makes an installable Debian package of
# the install rules. A Debian package installs under /usr, whatever prefix the
# build was configured with for `cmake --install`.
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_CONTACT "The Tarnwick developers <developers@tarnwick.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps your latest screenshots at hand")
set(CPACK_PACKAGE_DESCRIPTION
  "Tarnwick notices every screenshot you take, saved to the screenshot folder or\n\
put on the clipboard, and keeps the last 100. The newest 20 are in a popover\n\
under the tray icon, all of them in a library window. For any capture it\n\
offers copy, copy recognised text, QR code and bar code payloads, open, show\n\
in folder, drag out, share, anonymous Imgur upload, a device frame, a colour\n\
picker and an annotation editor.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tarnwick.com")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside what the binary links: Tesseract is opened at run time, so its
# library is named here; the X11 platform plugin and the WebP/TIFF readers are
# Qt plugins, loaded at run time too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libtesseract5, tesseract-ocr-eng, qt6-qpa-plugins, qt6-image-formats-plugins")
# Send by Email and the fallback of Open With call the xdg-utils commands; the
# portal gives Open With its chooser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, xdg-desktop-portal")

include(CPack)
