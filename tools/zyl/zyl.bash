# Bash completion for zyl: its commands (after 'help' too), each command's options and the values
# an option lists, as zyl's own help gives them, after a blank or an '='; file names for an
# argument or a FILE, nothing for another value (a count, a TIME, a TEXT).
_zyl() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} words prefix= option
  # Bash splits --escape=WHEN at the '=' when COMP_WORDBREAKS holds it: "--escape" "=" "al".
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  elif [[ $cur == --*=* ]]; then  # one word: the replies carry the option
    prev=${cur%%=*} prefix=$prev= cur=${cur#*=}
  fi
  if [[ $COMP_CWORD -eq 1 || ($COMP_CWORD -eq 2 && $prev == help) ]]; then
    words=$("${COMP_WORDS[0]}" --help 2>/dev/null | sed -n '/^Commands:/,$s/^  \([a-z][a-z-]*\) .*/\1/p')
    [[ $COMP_CWORD -eq 1 ]] && words+=" --help --version"
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
  elif [[ $prev == -* ]] && option=$("${COMP_WORDS[0]}" help "${COMP_WORDS[1]}" 2>/dev/null |
    sed -n "s/^  \([^ ]*,\)\{0,1\}$prev\(,[^ ]*\)\{0,1\} \([A-Z][^ ]*\).*/\3/p") &&
    [[ -n $option ]]; then
    # "--escape WHEN:{auto,always,never}": those; "--file FILE": file names; else nothing.
    if [[ $option == *:{*} ]]; then
      words=${option#*:\{}
      words=${words%\}}
      COMPREPLY=($(compgen -P "$prefix" -W "${words//,/ }" -- "$cur"))
    elif [[ $option == FILE || $option == SOCKET ]]; then
      COMPREPLY=($(compgen -P "$prefix" -f -- "$cur"))
    else
      compopt +o default 2>/dev/null
      COMPREPLY=()
    fi
  elif [[ $cur == -* ]]; then
    words=$("${COMP_WORDS[0]}" help "${COMP_WORDS[1]}" 2>/dev/null |
      sed -n 's/^  \(-[^ ]*\).*/\1/p' | tr ',' ' ')
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
  fi
}
complete -o default -F _zyl zyl
