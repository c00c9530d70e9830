# The French translation: compiled from the checked-in .ts into the build
# folder's root, beside the executable, so the panel started from there (as
# `make run` does) finds it; installed under QUORVEX_TRANSLATIONS_INSTALL_DIR.

set(QUORVEX_TS_FILES ${PROJECT_SOURCE_DIR}/i18n/LanguageData_fr.ts)
set_source_files_properties(${QUORVEX_TS_FILES} PROPERTIES OUTPUT_LOCATION ${PROJECT_BINARY_DIR})
qt5_add_translation(QUORVEX_QM_FILES ${QUORVEX_TS_FILES})
add_custom_target(quorvex_translations ALL DEPENDS ${QUORVEX_QM_FILES})
