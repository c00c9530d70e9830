# The French translation: compiled from the checked-in .ts into the build
# folder's root, beside the executable, so the panel started from there (as
# `make run` does) finds it; installed under the data folder.

set(QUORVEX_TS_FILES ${PROJECT_SOURCE_DIR}/i18n/LanguageData_fr.ts)
set_source_files_properties(${QUORVEX_TS_FILES} PROPERTIES OUTPUT_LOCATION ${PROJECT_BINARY_DIR})
qt5_add_translation(QUORVEX_QM_FILES ${QUORVEX_TS_FILES})
add_custom_target(quorvex_translations ALL DEPENDS ${QUORVEX_QM_FILES})

set(QUORVEX_TRANSLATIONS_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/quorvex/translations)
# Relative to the executable, so an installation under any prefix finds its files.
file(RELATIVE_PATH QUORVEX_TRANSLATIONS_FROM_BINDIR
    ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_PREFIX}/${QUORVEX_TRANSLATIONS_INSTALL_DIR})
