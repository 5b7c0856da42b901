# Run while installing: makes a manual page from its template for the prefix being installed
# to. Expects QV_MAN_IN, QV_MAN_OUT, QV_DATADIR (relative data folder) and
# QUORVEL_VERSION_STRING.
set(CMAKE_INSTALL_FULL_DATADIR "${CMAKE_INSTALL_PREFIX}/${QV_DATADIR}")
# The same folder with break points after every "/", for running text.
string(REPLACE "/" "/\\:" QUORVEL_EXAMPLES_DIR "${CMAKE_INSTALL_FULL_DATADIR}/quorvel/examples")
configure_file("${QV_MAN_IN}" "${QV_MAN_OUT}" @ONLY)
