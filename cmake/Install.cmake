# What `cmake --install` puts in place, and so what the Debian package holds:
# the program, the simulated player and the sender, the translations, and what
# a desktop needs to list the program (entry, icons, AppStream metainfo).

set(QUORVEX_APP_ID example.brenvale.Quorvex)

install(TARGETS quorvex quorvex-player-sim quorvex-send RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QUORVEX_QM_FILES} DESTINATION ${QUORVEX_TRANSLATIONS_INSTALL_DIR})

install(FILES dist/${QUORVEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 128)
    install(FILES Images/icons/AppIcon_${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${QUORVEX_APP_ID}.png)
endforeach()

configure_file(dist/${QUORVEX_APP_ID}.metainfo.xml.in
    ${PROJECT_BINARY_DIR}/${QUORVEX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${QUORVEX_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# What a Debian system expects of a package's commands and documents: a
# manual page for each program, the sender's bash completion, and the
# copyright and change log, the compressed ones gzipped without a timestamp.
set(QUORVEX_GZIPPED)
foreach(source man/quorvex.1 man/quorvex-player-sim.1 man/quorvex-send.1 debian/changelog)
    get_filename_component(name ${source} NAME)
    set(gzipped ${PROJECT_BINARY_DIR}/dist/${name}.gz)
    add_custom_command(OUTPUT ${gzipped}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/dist
        COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/dist/${source} ${gzipped}
        DEPENDS dist/${source} VERBATIM)
    list(APPEND QUORVEX_GZIPPED ${gzipped})
endforeach()
add_custom_target(quorvex_dist_files ALL DEPENDS ${QUORVEX_GZIPPED})
list(FILTER QUORVEX_GZIPPED INCLUDE REGEX "\\.1\\.gz$")
install(FILES ${QUORVEX_GZIPPED} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/dist/changelog.gz dist/debian/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvex)
install(FILES dist/bash-completion/quorvex-send
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
