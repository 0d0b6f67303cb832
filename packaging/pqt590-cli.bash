# bash completion of pqt590-cli: its commands, each command's options and the sheets that
# --sheet names, all asked of the program itself (so that they never drift from it), and files
# by the extension each place wants.

# The program to ask: the one being completed when it is a path, else the one on PATH.
_pqt590_cli_program() {
    local program=${COMP_WORDS[0]}
    program=${program/#\~/$HOME}
    command -v "$program" 2>/dev/null || command -v pqt590-cli
}

# Words matching the current one; each quoted as the shell needs it ("[St_Common]...").
_pqt590_cli_words() {
    local cur=$1 word
    shift
    for word in "$@"; do
        [[ $word == "$cur"* ]] && COMPREPLY+=("$(printf '%q' "$word")")
    done
}

# Files with one of the given extensions (any letter case), and directories to descend into.
_pqt590_cli_files() {
    local cur=$1 entry ext
    shift
    local IFS=$'\n'
    local -a entries
    entries=($(compgen -f -- "$cur"))
    unset IFS
    for entry in "${entries[@]}"; do
        if [[ -d $entry ]]; then
            COMPREPLY+=("$entry")
            continue
        fi
        for ext in "$@"; do
            if [[ ${entry,,} == *."${ext,,}" ]]; then
                COMPREPLY+=("$entry")
                break
            fi
        done
    done
    # Quoting and the slash after a directory as for any file name.
    compopt -o filenames 2>/dev/null
    return 0
}

_pqt590_cli() {
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local program
    program=$(_pqt590_cli_program) || return 0

    # The command: the help's "Commands:" list.
    if ((COMP_CWORD == 1)); then
        local -a commands
        commands=($("$program" --help 2>/dev/null |
            sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z]*\) .*/\1/p'))
        if [[ $cur == -* ]]; then
            _pqt590_cli_words "$cur" --help --version
        else
            _pqt590_cli_words "$cur" "${commands[@]}"
        fi
        return 0
    fi
    local command=${COMP_WORDS[1]}

    # The value of an option.
    case $prev in
    --sheet)
        local -a sheets
        local IFS=$'\n'
        sheets=($("$program" sheets 2>/dev/null | cut -f1))
        unset IFS
        _pqt590_cli_words "$cur" "${sheets[@]}"
        return 0
        ;;
    --port)
        local -a devices=()
        local device
        for device in /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* /dev/ttyS*; do
            [[ -e $device ]] && devices+=("$device")
        done
        _pqt590_cli_words "$cur" 1 2 3 4 "${devices[@]}"
        return 0
        ;;
    --page-size)
        _pqt590_cli_words "$cur" A4 Letter Legal A3 A5
        return 0
        ;;
    --resources)
        local IFS=$'\n'
        COMPREPLY=($(compgen -d -- "$cur"))
        compopt -o filenames 2>/dev/null
        return 0
        ;;
    -o | --output)
        case $command in
        print) _pqt590_cli_files "$cur" pdf ;;
        export) _pqt590_cli_files "$cur" csv ;;
        *) _pqt590_cli_files "$cur" t590 ;;
        esac
        return 0
        ;;
    --backup)
        _pqt590_cli_files "$cur" t590
        return 0
        ;;
    esac

    # The options of the command: those its --help lists.
    if [[ $cur == -* ]]; then
        local -a options
        options=($("$program" "$command" --help 2>/dev/null |
            sed -n '/^Options:/,/^$/s/^  \(-.*\)/\1/p' | sed 's/   *.*//' |
            grep -oE -- '--?[a-z][a-z-]*' | sort -u))
        _pqt590_cli_words "$cur" "${options[@]}"
        return 0
    fi

    # The files the command takes.
    case $command in
    check | print | export | diff | write) _pqt590_cli_files "$cur" t590 ;;
    import) _pqt590_cli_files "$cur" t590 csv ;;
    esac
    return 0
}

complete -F _pqt590_cli pqt590-cli
