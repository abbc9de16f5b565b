#!/usr/bin/env bash
# Checks the package that build-package.sh left in BUILD_DIR:
#   check-package.sh contents|lintian|desktop|appstream|runs|completion BUILD_DIR
# Every check but lintian's looks at the package unpacked into a fresh root.
set -euo pipefail
check=$1
debs=("$2"/vistrel_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "expected one vistrel_*.deb in $2, found: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
cli=$root/usr/bin/vistrel-cli
share=$root/usr/share

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The printer window's module, opened by the window at the first File > Print.
module=
for found in "$root"/usr/lib/*/vistrel/libvistrel-printwindow.so; do
    [ -f "$found" ] && module=${found#"$root"/}
done

contents() {
    [ -n "$module" ] || fail "the printer window's module is missing"
    local expected=(
        usr/bin/vistrel usr/bin/vistrel-cli usr/libexec/vistrel/vistrel-render "$module"
        usr/share/vistrel/ModelInfo.ini usr/share/vistrel/Language.ini
        usr/share/vistrel/Language.de.ini usr/share/vistrel/Language.fr.ini
        usr/share/vistrel/Language.es.ini
        usr/share/applications/vistrel.desktop
        usr/share/icons/hicolor/scalable/apps/vistrel.svg
        usr/share/man/man1/vistrel.1.gz usr/share/man/man1/vistrel-cli.1.gz
        usr/share/bash-completion/completions/vistrel-cli
        usr/share/doc/vistrel/copyright usr/share/doc/vistrel/changelog.gz)
    for f in "${expected[@]}"; do
        [ -f "$root/$f" ] || fail "$f is missing"
    done
    # Each PNG icon holds the size its folder names (width and height from the header).
    for size in 48 64 128 256; do
        local png=$share/icons/hicolor/${size}x${size}/apps/vistrel.png
        [ -f "$png" ] || fail "no ${size}x${size} icon"
        read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
            awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
        [ "$w $h" = "$size $size" ] || fail "the ${size}x${size} icon is ${w}x${h}"
    done
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libc6 libqt6core6 libqt6widgets6 libqt6printsupport6; do
        [[ $depends == *"$lib "* ]] || fail "Depends lacks $lib: $depends"
    done
    [[ $depends == *fonts-dejavu-core* ]] || fail "Depends lacks the font of the texts: $depends"
    # The calculation alone loads Qt Core only; the widgets come with vistrel-render.
    if readelf -d "$root/usr/bin/vistrel-cli" | grep -E 'NEEDED.*Qt6(Gui|Widgets|PrintSupport)'; then
        fail "vistrel-cli needs more than Qt Core"
    fi
    # The window starts without printing; its module brings Print Support and CUPS.
    if readelf -d "$root/usr/bin/vistrel" | grep -E 'NEEDED.*(Qt6PrintSupport|libcups)'; then
        fail "vistrel loads printing at start"
    fi
    readelf -d "$root/$module" | grep -q 'NEEDED.*libcups' || fail "the module does not print with CUPS"
    # Release binaries: no sanitizer runtime, stripped.
    for bin in "$root"/usr/bin/* "$root"/usr/libexec/vistrel/* "$root/$module"; do
        if readelf -d "$bin" | grep -E 'NEEDED.*lib(a|ub|t)san'; then
            fail "$bin needs a sanitizer runtime"
        fi
        if readelf -S "$bin" | grep -E '\.(symtab|debug_info) ' >/dev/null; then
            fail "$bin is not stripped"
        fi
    done
    zcat "$share/doc/vistrel/changelog.gz" | sed -n 1p | grep -F "vistrel ($version)" >/dev/null ||
        fail "the changelog does not start with $version"
    echo "contents of $deb:"
    dpkg-deb -c "$deb" | awk '{ print $1, $3, $6 }'
}

appstream() {
    local metainfo=("$share"/metainfo/*.metainfo.xml)
    appstreamcli validate --no-net "${metainfo[@]}"
    grep -qF "<release version=\"$version\"" "${metainfo[0]}" ||
        fail "the metainfo file lists no release $version"
    grep -qF '<launchable type="desktop-id">vistrel.desktop</launchable>' "${metainfo[0]}" ||
        fail "the metainfo file does not launch vistrel.desktop"
}

# The unpacked program reads its data from the unpacked usr/share/vistrel:
# a model added there must show up.
runs() {
    export HOME=$root/home LANGUAGE= LC_ALL=C.UTF-8
    printf 'Unpacked Root,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230\r\n' \
        >>"$share/vistrel/ModelInfo.ini"
    local list
    list=$("$cli" --list-models)
    echo "$list"
    [[ $list == 0$'\t'* ]] || fail "the first model is not number 0"
    [[ $list == *$'\t'"Unpacked Root" ]] || fail "the models did not come from $share/vistrel"
    [[ $(LANGUAGE=de "$cli" --model "Unpacked Root" | sed -n 1p) == "Typ: Unpacked Root" ]] ||
        fail "LANGUAGE=de does not choose the German texts"
    "$cli" --png "$root/window.png" --json >/dev/null
    [ -s "$root/window.png" ] || fail "--png wrote nothing"
}

# What bash offers after the words given (the last one is being completed).
complete_words() {
    bash -c 'source /usr/share/bash-completion/bash_completion
             source "$1"; shift
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
             COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
             _vistrel_cli "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
             printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$share/bash-completion/completions/vistrel-cli" "$@"
}

completion() {
    export HOME=$root/home LANGUAGE= LC_ALL=C.UTF-8
    local got
    got=$(complete_words "$cli" --un)
    [ "$got" = "--unit" ] || fail "--un completes to: $got"
    got=$(complete_words "$cli" --aspect "" | sort | tr '\n' ' ')
    [ "$got" = "16:9 4:3 5:4 " ] || fail "--aspect offers: $got"
    got=$(complete_words "$cli" --model "")
    [ "$got" = "$("$cli" --list-models | cut -f2)" ] || fail "--model offers: $got"
    printf 'h\r\nOnly Here,1,2,1,2,1,0,1,0,0,0,0,0,0,0,0,0,0,0\r\n' >"$root/other.ini"
    got=$(complete_words "$cli" --catalogue "$root/other.ini" --model "")
    [ "$got" = "Only Here" ] || fail "--model after --catalogue offers: $got"
    # Every option the program knows is offered and has its entry in the manual.
    local offered manual option
    offered=" $(complete_words "$cli" -- | tr '\n' ' ') "
    manual=$(zcat "$share/man/man1/vistrel-cli.1.gz" | sed 's/\\-/-/g')
    for option in $("$cli" --help | grep -o -- '--[a-z-]*' | sort -u); do
        [[ $offered == *" $option "* ]] || fail "completion does not offer $option"
        [[ $manual == *"$option"* ]] || fail "the manual does not describe $option"
    done
}

case $check in
contents) contents ;;
lintian) lintian --fail-on error --display-info "$deb" ;;
desktop) desktop-file-validate "$share"/applications/*.desktop ;;
appstream) appstream ;;
runs) runs ;;
completion) completion ;;
*) fail "unknown check $check" ;;
esac
echo "$check: passed"
