# bash completion for vistrel-cli

# The word being completed as the program will receive it: its quotes and
# backslashes removed without expanding anything, since what is typed may hold
# $(...) and the shell's own dequoting (eval, compgen) would run it.
_vistrel_cli_unquote() {
    local word=$1 out='' quote='' c i
    for ((i = 0; i < ${#word}; i++)); do
        c=${word:i:1}
        if [[ $quote == "'" ]]; then
            if [[ $c == "'" ]]; then quote=; else out+=$c; fi
        elif [[ $c == "\\" ]]; then
            c=${word:i+1:1}
            ((++i))
            # Between double quotes a backslash quotes only $ ` " and itself.
            [[ $quote == '"' && -n $c && $c != [\$\`\"\\] ]] && out+="\\"
            out+=$c
        elif [[ $c == '"' ]]; then
            if [[ $quote ]]; then quote=; else quote='"'; fi
        elif [[ $c == "'" && -z $quote ]]; then
            quote="'"
        else
            out+=$c
        fi
    done
    printf '%s' "$out"
}

# Sets `reply` (the caller's) to TEXT written as shell input that reads back
# as TEXT, within QUOTE (' or " as the user opened it, or none), the quote
# closed unless the third argument is `open`. Character by character, so the
# open form of a text starts the closed form of any longer one.
_vistrel_cli_quote() {
    local quote=$1 text=$2 close=$1
    [[ ${3-} == open ]] && close=''
    case $quote in
        "'")
            reply="'${text//\'/\'\\\'\'}$close"
            ;;
        '"')
            reply=${text//\\/\\\\}
            reply=${reply//\$/\\\$}
            reply=${reply//\`/\\\`}
            reply=${reply//\"/\\\"}
            # History expansion sees ! even between double quotes.
            reply="\"${reply//!/\"\'!\'\"}$close"
            ;;
        *)
            reply=''
            [[ $text ]] && printf -v reply %q "$text"
            ;;
    esac
}

# Offers the model names that start with the word being completed. A name is
# any text a catalogue holds, so it only ever goes through literal comparisons
# and our own quoting: compgen -W would run the $(...) and `...` in it, and so
# would readline's stat of a match under `compopt -o filenames` (bash expands
# the match without command substitution, but a command in an array subscript,
# ${x[$(...)]}, still runs).
#   _vistrel_cli_models WORD TEXT PROGRAM [--catalogue FILE]
# WORD is the word as typed, TEXT what readline replaces ($2 of the completion
# function): the end of WORD after any quote the user opened.
_vistrel_cli_models() {
    local word=$1 text=$2 program=$3 typed name reply lead common quote='' models=() names=()
    shift 3
    typed=$(_vistrel_cli_unquote "$word")
    mapfile -t models < <("$program" "$@" --list-models </dev/null 2>/dev/null | cut -f2-)
    for name in "${models[@]}"; do
        [[ $name == "$typed"* ]] && names+=("$name")
    done
    # A second Tab only shows the list: the names as they are, but for those
    # holding $ or `, which bash expands when readline asks it to stat a shown
    # match for its colour (colored-stats): those are shown single-quoted.
    if [[ ${COMP_TYPE-} == 63 ]]; then
        COMPREPLY=()
        for name in "${names[@]}"; do
            if [[ $name == *[\$\`]* ]]; then
                _vistrel_cli_quote "'" "$name"
                name=$reply
            fi
            COMPREPLY+=("$name")
        done
        return
    fi
    # What is inserted must read back as the name. Readline replaces TEXT, and
    # the quote before it too when the reply starts with that quote, so a reply
    # in an open quote reopens it. The rest of the word stays as typed, which
    # is safe to build on only when it is plain characters.
    COMPREPLY=()
    [[ $word == *"$text" ]] || return
    lead=${word%"$text"}
    if [[ $lead == *[\'\"] ]]; then
        quote=${lead: -1}
        lead=${lead%?}
    fi
    [[ $lead =~ ^[[:alnum:]_.,:=@%+/-]*$ ]] || return
    common=${names[0]-}
    for name in "${names[@]}"; do
        _vistrel_cli_quote "$quote" "${name#"$lead"}"
        COMPREPLY+=("$reply")
        while [[ $name != "$common"* ]]; do
            common=${common%?}
        done
    done
    # Readline inserts what the replies have in common, which may end inside a
    # quoted character (Aster\ 1500 and Aster\(2\) share Aster\). The names'
    # common start, quoted and left open, is one more reply to end it there.
    ((${#COMPREPLY[@]} > 1)) || return
    _vistrel_cli_quote "$quote" "${common#"$lead"}" open
    local next=${COMPREPLY[0]:${#reply}:1} other
    for other in "${COMPREPLY[@]}"; do
        [[ ${other:${#reply}:1} == "$next" ]] || return
    done
    COMPREPLY+=("$reply")
}

_vistrel_cli() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --catalogue | --language)
            _filedir ini
            return
            ;;
        --open | --save)
            _filedir cf
            return
            ;;
        --pdf | --report)
            _filedir pdf
            return
            ;;
        --png)
            _filedir png
            return
            ;;
        --model)
            # The models of the catalogue named on the line, else the shipped one.
            local i catalogue=()
            for ((i = 1; i < cword - 1; i++)); do
                if [[ ${words[i]} == --catalogue ]]; then
                    catalogue=(--catalogue "$(_vistrel_cli_unquote "${words[i + 1]}")")
                elif [[ ${words[i]} == --catalogue=* ]]; then
                    catalogue=(--catalogue "$(_vistrel_cli_unquote "${words[i]#--catalogue=}")")
                fi
            done
            _vistrel_cli_models "$cur" "$2" "$1" "${catalogue[@]}"
            return
            ;;
        --zoom)
            mapfile -t COMPREPLY < <(compgen -W 'wide tele' -- "$cur")
            return
            ;;
        --aspect)
            mapfile -t COMPREPLY < <(compgen -W '4:3 5:4 16:9' -- "$cur")
            return
            ;;
        --unit)
            mapfile -t COMPREPLY < <(compgen -W 'in ft cm' -- "$cur")
            return
            ;;
        --position)
            mapfile -t COMPREPLY < <(compgen -W 'top bottom' -- "$cur")
            return
            ;;
        --distance | --diagonal | --width | --height | --gain | --ambient)
            return
            ;;
    esac

    $split && return

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '--catalogue --language --open --model --zoom --aspect
            --unit --position --distance --diagonal --width --height --save --pdf --png
            --gain --ambient --planner --chart --report --list-models --json --help' -- "$cur")
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
    fi
} &&
    complete -F _vistrel_cli vistrel-cli
