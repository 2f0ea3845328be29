# bash completion for kvr: its commands, each command's options, and puzzle files.
_kvr()
{
    local cur prev words cword
    _init_completion || return

    local commands="show check solve count rate generate convert"
    local command= i
    for ((i = 1; i < cword; i++)); do
        if [[ " $commands " == *" ${words[i]} "* ]]; then
            command=${words[i]}
            break
        fi
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi

    case $prev in
        -n | --seed | --limit | -j | --jobs | --rating)
            return ;;
        --difficulty)
            COMPREPLY=($(compgen -W "easy medium hard expert extreme" -- "$cur"))
            return ;;
        --symmetry)
            COMPREPLY=($(compgen -W "none rotational mirror" -- "$cur"))
            return ;;
        -o)
            _filedir '@(kvr|KVR)'
            return ;;
    esac

    local options="--help"
    case $command in
        solve) options+=" -j --jobs" ;;
        count) options+=" --limit -j --jobs" ;;
        rate) options+=" --explain --json -j --jobs" ;;
        generate) options+=" -n --seed --solution -o --difficulty --rating --symmetry" ;;
        convert) options+=" --all" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    else
        _filedir
    fi
} &&
    complete -F _kvr kvr
