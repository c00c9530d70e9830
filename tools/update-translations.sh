#!/usr/bin/env bash
# Brings every i18n/LanguageData_*.ts up to date with the sources and forms:
# new texts are added untranslated, the translations already written stay,
# and texts the program no longer has are dropped. Edit the result with
# Qt Linguist (or by hand), then commit it; the build compiles it.
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-lupdate}
for ts in i18n/LanguageData_*.ts; do
    code=${ts#i18n/LanguageData_}
    code=${code%.ts}
    "$LUPDATE" -no-obsolete -locations none -target-language "$code" -I . \
        app protocol link settings i18n ui -ts "$ts"
done
