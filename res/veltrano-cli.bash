# SPDX-License-Identifier: MIT
# bash completion for veltrano-cli: options, init files, and the cultures and
# name types of the data in use, as `veltrano-cli --list` names them.

# Fills COMPREPLY with the lines of a command that begin with the word being
# completed. Names may hold blanks: inside an open quote they are offered as
# they are, and readline closes the quote; otherwise they are escaped.
_veltrano_cli_offer() {
    local cur=$1 name prefix quote=
    shift
    case $cur in
        \"* | \'*)
            quote=${cur:0:1}
            prefix=${cur:1}
            ;;
        *) prefix=$(dequote "$cur") ;;
    esac
    COMPREPLY=()
    while IFS= read -r name; do
        [[ $name == "$prefix"* ]] || continue
        if [[ $quote ]]; then
            COMPREPLY+=("$name")
        else
            COMPREPLY+=("$(printf %q "$name")")
        fi
    done < <("$@" 2>/dev/null)
}

_veltrano_cli() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        -n | --count | -s | --seed | --starts-with | --ends-with | --min-length | --max-length)
            return
            ;;
        -i | --init | --learn | --avoid | --avoid-containing)
            _filedir
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--count --seed --unique --crlf --starts-with
            --ends-with --min-length --max-length --avoid --avoid-containing
            --explain --init --list --check --learn --stats --tsv --help --version' -- "$cur"))
        return
    fi

    # What is given so far: the init file, --list or --learn, and the names
    # before the word being completed.
    local i word list= learn= options_done= command
    local -a init=() names=()
    command=$(dequote "${words[0]}")
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        if [[ $options_done ]]; then
            names+=("$(dequote "$word")")
            continue
        fi
        case $word in
            -i | --init)
                ((i++))
                init=(--init "$(dequote "${words[i]}")")
                ;;
            --init=*) init=(--init "$(dequote "${word#--init=}")") ;;
            --learn)
                ((i++))
                learn=1
                ;;
            --learn=*) learn=1 ;;
            -n | --count | -s | --seed | --starts-with | --ends-with | --min-length | --max-length)
                ((i++))
                ;;
            --avoid | --avoid-containing) ((i++)) ;;
            -l | --list) list=1 ;;
            -c | --check | -h | --help | -V | --version) return ;;
            --) options_done=1 ;;
            -*) ;;
            *) names+=("$(dequote "$word")") ;;
        esac
    done

    case ${#names[@]} in
        0) _veltrano_cli_offer "$cur" "$command" "${init[@]}" --list ;;
        1)
            # --learn adds a name type: none of the known ones will do.
            [[ $list || $learn ]] ||
                _veltrano_cli_offer "$cur" "$command" "${init[@]}" --list -- "${names[0]}"
            ;;
    esac
}
complete -F _veltrano_cli veltrano-cli
