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
    export HOME=$root/home LANGUAGE='' LC_ALL=C.UTF-8
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
    short_of_memory
}

# Drawing with too little memory (the sanitizers of `make test` cannot run
# under a limit, the release build can): each run ends with a message and
# status 2, or succeeds; never a crash, and the previous file stays whole.
short_of_memory() {
    local kib option status
    for kib in 80000 90000 100000 110000 120000 140000; do
        for option in --report --pdf --png; do
            printf 'previous\n' >"$root/drawn"
            status=0
            (ulimit -v "$kib" && exec "$cli" "$option" "$root/drawn") >/dev/null 2>"$root/err" ||
                status=$?
            case $status in
            0) [ "$(cat "$root/drawn")" != previous ] || fail "$option at $kib KiB wrote nothing" ;;
            2)
                [ -s "$root/err" ] || fail "$option at $kib KiB failed without a word"
                [ "$(cat "$root/drawn")" = previous ] ||
                    fail "$option at $kib KiB spoilt the previous file"
                ;;
            *) fail "$option at $kib KiB ended with status $status: $(head -c 300 "$root/err")" ;;
            esac
        done
    done
}

# What bash offers after the words given, the last one being completed as
# typed: a quote it starts is one the user opened, and readline hands the
# function only the text after it. complete_words gives the replies a Tab
# inserts, list_words the list a second Tab shows.
complete_words() { bash_offers 9 "$@"; }
list_words() { bash_offers 63 "$@"; }
bash_offers() {
    local type=$1 text=${*: -1}
    shift
    [[ $text == [\'\"]* ]] && text=${text:1}
    bash -c 'source /usr/share/bash-completion/bash_completion
             source "$1"; COMP_TYPE=$2 text=$3; shift 3
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
             COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
             _vistrel_cli "$1" "$text" "${COMP_WORDS[COMP_CWORD - 1]}"
             printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$share/bash-completion/completions/vistrel-cli" "$type" "$text" "$@"
}

# Waits (five seconds at most) until the pane of the tmux server on
# $tmux_socket shows TEXT.
pane_shows() {
    local i
    for ((i = 0; i < 50; i++)); do
        [[ $(tmux -S "$tmux_socket" capture-pane -p -J) == *"$1"* ]] && return 0
        sleep 0.1
    done
    return 1
}

completion() {
    export HOME=$root/home LANGUAGE='' LC_ALL=C.UTF-8
    # A broken completion runs what a name holds, here: never in the build tree.
    local work=$root/work
    mkdir -p "$HOME" "$work"
    cd "$work"
    local got
    got=$(complete_words "$cli" --un)
    [ "$got" = "--unit" ] || fail "--un completes to: $got"
    got=$(complete_words "$cli" --aspect "" | sort | tr '\n' ' ')
    [ "$got" = "1.85 16:10 16:9 17:9 2.00 2.39 2.76 4:3 5:4 " ] || fail "--aspect offers: $got"
    got=$(list_words "$cli" --model "")
    [ "$got" = "$("$cli" --list-models | cut -f2)" ] || fail "--model offers: $got"
    printf 'h\r\nOnly Here,1,2,1,2,1,0,1,0,0,0,0,0,0,0,0,0,0,0\r\n' >"$root/other.ini"
    got=$(list_words "$cli" --catalogue "$root/other.ini" --model "")
    [ "$got" = "Only Here" ] || fail "--model after --catalogue offers: $got"
    # A name with a blank is inserted as one word, quoted as the user started it.
    got=$(complete_words "$cli" --catalogue "$root/other.ini" --model On)
    [ "$got" = 'Only\ Here' ] || fail "--model On completes to: $got"
    got=$(complete_words "$cli" "--catalogue=$root/other.ini" --model On)
    [ "$got" = 'Only\ Here' ] || fail "--catalogue=FILE --model On completes to: $got"
    got=$(complete_words "$cli" --catalogue "$root/other.ini" --model "'On")
    [ "$got" = "'Only Here'" ] || fail "--model 'On completes to: $got"
    got=$(complete_words "$cli" --catalogue "$root/other.ini" --model '"On')
    [ "$got" = '"Only Here"' ] || fail "--model \"On completes to: $got"
    got=$(complete_words "$cli" --catalogue "'$root/other.ini'" --model On)
    [ "$got" = 'Only\ Here' ] || fail "--model after a quoted --catalogue completes to: $got"

    # Model names are any text: completing them must run nothing they hold,
    # and insert them so that they read back as written.
    local hostile=$root/hostile.ini name
    {
        printf 'Model\r\n'
        # shellcheck disable=SC2016 # the names are these very characters
        for name in '$(touch PWNED)' '`touch PWNED2`' 'Big Room' '${x[$(touch PWNED3)]}'; do
            printf '%s,1,2,1,2,1,0,1,0,0,0,0,0,0,0,0,0,0,0\r\n' "$name"
        done
    } >"$hostile"
    got=$(complete_words "$cli" --catalogue "$hostile" --model "'\$(")
    [ "$got" = "'\$(touch PWNED)'" ] || fail "--model '\$( completes to: $got"
    got=$(complete_words "$cli" --catalogue "$hostile" --model '\$\(')
    [ "$got" = '\$\(touch\ PWNED\)' ] || fail "--model \\\$\\( completes to: $got"
    got=$(complete_words "$cli" --catalogue "$hostile" --model '"`')
    # shellcheck disable=SC2016 # the backquotes are the name's
    [ "$got" = '"\`touch PWNED2\`"' ] || fail "--model \"\` completes to: $got"
    got=$(list_words "$cli" --catalogue "$hostile" --model "" | tr '\n' '|')
    [ "$got" = "'\$(touch PWNED)'|'\`touch PWNED2\`'|Big Room|'\${x[\$(touch PWNED3)]}'|" ] ||
        fail "--model with the hostile catalogue offers: $got"
    local pwned
    pwned=$(find "$root" -name 'PWNED*')
    [ -z "$pwned" ] || fail "completing model names ran them as commands: $pwned"

    # The same in a real interactive bash, whose readline also hands shown
    # matches back to bash to stat them for colored-stats: type, Tab Tab to
    # list the names, then complete two of them and print the words the line
    # holds. tmux is installed by scripts/install-deps.sh, not here.
    local tty=$root/tty
    mkdir "$tty"
    command -v tmux >/dev/null || fail "tmux is missing (scripts/install-deps.sh installs it)"
    tmux_socket=$root/tmux.sock # global: the EXIT trap stops this server
    trap 'tmux -S "$tmux_socket" kill-server 2>/dev/null || true; rm -rf "$root"' EXIT
    printf 'set colored-stats on\n' >"$root/inputrc"
    env -u TMUX tmux -S "$tmux_socket" -f /dev/null new-session -d -x 250 -y 50 -c "$tty" \
        env -i HOME="$HOME" PATH="$root/usr/bin:/usr/bin:/bin" TERM=screen LC_ALL=C.UTF-8 \
        INPUTRC="$root/inputrc" PS1='$ ' bash --norc --noprofile -i
    local keys
    # shellcheck disable=SC2016 # expanded by the interactive bash
    printf -v keys 'source /usr/share/bash-completion/bash_completion; source %q; echo ready-$((1 + 1))' \
        "$share/bash-completion/completions/vistrel-cli"
    tmux -S "$tmux_socket" send-keys -l "$keys"
    tmux -S "$tmux_socket" send-keys Enter
    pane_shows ready-2 || fail "the interactive bash did not start"
    printf -v keys 'vistrel-cli --catalogue %q --model ' "$hostile"
    tmux -S "$tmux_socket" send-keys -l "$keys"
    tmux -S "$tmux_socket" send-keys Tab Tab
    local listed=0 inserted=0 listing
    pane_shows 'Big Room' && listed=1
    listing=$(tmux -S "$tmux_socket" capture-pane -p -J)
    tmux -S "$tmux_socket" send-keys -l "'\$(t"
    tmux -S "$tmux_socket" send-keys Tab
    tmux -S "$tmux_socket" send-keys -l ' --model Bi'
    tmux -S "$tmux_socket" send-keys Tab C-a
    tmux -S "$tmux_socket" send-keys -l "printf '<%s>\\n' "
    tmux -S "$tmux_socket" send-keys Enter
    pane_shows '<Big Room>' && inserted=1
    local pane
    pane=$(tmux -S "$tmux_socket" capture-pane -p -J)
    tmux -S "$tmux_socket" kill-server
    pwned=$(find "$root" -name 'PWNED*')
    [ -z "$pwned" ] || fail "completing model names in bash ran them: $pwned"$'\n'"$pane"
    ((listed)) || fail "Tab Tab did not list the models:"$'\n'"$listing"
    # Names holding $ or ` are listed single-quoted (see the completion).
    for name in "'\$(touch PWNED)'" "'\`touch PWNED2\`'" "'\${x[\$(touch PWNED3)]}'"; do
        [[ $listing == *"$name"* ]] || fail "Tab Tab did not show $name:"$'\n'"$listing"
    done
    if ((!inserted)) || [[ $pane != *$'\n<--model>\n<$(touch PWNED)>\n<--model>\n<Big Room>\n'* ]]; then
        fail "the completed names do not read back as written:"$'\n'"$pane"
    fi

    # The usage and the completion are written from one option table: the
    # completion offers exactly the options the usage lists, and the manual
    # (held to the table by tst_clioptions) describes each.
    local offered listed manual option
    offered=$(complete_words "$cli" -- | sort -u)
    listed=$("$cli" --help | grep -o -- '--[a-z-]*' | sort -u)
    [ "$offered" = "$listed" ] ||
        fail "completion offers:"$'\n'"$offered"$'\n'"the usage lists:"$'\n'"$listed"
    manual=$(zcat "$share/man/man1/vistrel-cli.1.gz" | sed 's/\\-/-/g')
    for option in $listed; do
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
