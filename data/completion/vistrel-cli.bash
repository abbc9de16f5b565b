# bash completion for vistrel-cli

_vistrel_cli() {
    local cur prev
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
                [[ ${words[i]} == --catalogue ]] && catalogue=(--catalogue "${words[i + 1]}")
            done
            local IFS=$'\n'
            local models
            models=$("$1" "${catalogue[@]}" --list-models 2>/dev/null | cut -f2-)
            COMPREPLY=($(compgen -W "$models" -- "$cur"))
            compopt -o filenames 2>/dev/null # keeps blanks in names quoted
            return
            ;;
        --zoom)
            COMPREPLY=($(compgen -W 'wide tele' -- "$cur"))
            return
            ;;
        --aspect)
            COMPREPLY=($(compgen -W '4:3 5:4 16:9' -- "$cur"))
            return
            ;;
        --unit)
            COMPREPLY=($(compgen -W 'in ft cm' -- "$cur"))
            return
            ;;
        --position)
            COMPREPLY=($(compgen -W 'top bottom' -- "$cur"))
            return
            ;;
        --distance | --diagonal | --width | --height | --gain | --ambient)
            return
            ;;
    esac

    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--catalogue --language --open --model --zoom --aspect
            --unit --position --distance --diagonal --width --height --save --pdf --png
            --gain --ambient --chart --report --list-models --json --help' -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
    fi
} &&
    complete -F _vistrel_cli vistrel-cli
