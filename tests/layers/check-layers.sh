#!/usr/bin/env bash
# Every source folder includes only the folders below it: the engine
# (core, catalogue, draw, files, calc, session) in that order, then print,
# the window (app), the command line (cli) and its renderer (render).
#   check-layers.sh SOURCE_DIR/src
set -u
src=${1:?the src folder}
declare -A allowed=(
    [core]="core"
    [catalogue]="core catalogue"
    [draw]="core draw"
    [files]="core catalogue files"
    [calc]="core catalogue draw files calc"
    [session]="core catalogue draw files calc session"
    [print]="core catalogue draw files calc session print"
    [app]="core catalogue draw files calc session print app"
    [cli]="core catalogue draw files calc session cli"
    [render]="core catalogue draw files calc session print app cli render"
)
status=0
for folder in "${!allowed[@]}"; do
    for file in "$src/$folder"/*.h "$src/$folder"/*.cpp; do
        [ -f "$file" ] || continue
        while IFS= read -r line; do
            header=${line:1}
            # <…> names a system or Qt header, unless it is folder/header of ours
            # (<print> is the standard's, not src/print).
            if [[ $line == '<'* && ($header != */* || -z ${allowed[${header%%/*}]+set}) ]]; then
                continue
            fi
            if [[ $header == */* ]]; then
                used=${header%%/*}
            elif [ -f "$src/$folder/$header" ]; then
                used=$folder
            else
                # A header of another folder named without its folder.
                found=$(cd "$src" && ls -- */"$header" 2>/dev/null | head -n 1)
                used=${found%%/*}
            fi
            if [[ " ${allowed[$folder]} " != *" $used "* ]]; then
                echo "${file#"$src"/} includes \"$header\" (${used:-unknown}), above its layer"
                status=1
            fi
        done < <(sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]*)[">].*/\1\2/p' "$file")
    done
done
[ $status -eq 0 ] && echo "every include follows the layers"
exit $status
