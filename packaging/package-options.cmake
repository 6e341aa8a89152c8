# Per-generator settings, read by CPack when it runs: the Debian package
# installs under /usr, the archive unpacks into a folder of its own.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
