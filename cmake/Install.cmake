# What `cmake --install` puts in place, and so what the Debian package holds:
# the program and the simulated player, the translations, and what a desktop
# needs to list the program (entry, icons, AppStream metainfo).

set(QUORVEX_APP_ID example.brenvale.Quorvex)

install(TARGETS quorvex quorvex-player-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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
