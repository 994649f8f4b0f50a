# Bash completion for zyl: its commands (after 'help' too), each command's options and the values
# an option lists, as zyl's own help gives them; file names elsewhere.
_zyl() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} words
  [[ $prev == = ]] && prev=${COMP_WORDS[COMP_CWORD-2]}  # bash splits --escape=WHEN at the '='
  if [[ $COMP_CWORD -eq 1 || ($COMP_CWORD -eq 2 && $prev == help) ]]; then
    words=$("${COMP_WORDS[0]}" --help 2>/dev/null | sed -n '/^Commands:/,$s/^  \([a-z][a-z-]*\) .*/\1/p')
    [[ $COMP_CWORD -eq 1 ]] && words+=" --help --version"
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
  elif [[ $prev == -* ]] && words=$("${COMP_WORDS[0]}" help "${COMP_WORDS[1]}" 2>/dev/null |
    sed -n "s/^ .*[ ,]$prev [A-Z]*:{\([^}]*\)}.*/\1/p") && [[ -n $words ]]; then
    COMPREPLY=($(compgen -W "${words//,/ }" -- "$cur"))  # "--escape WHEN:{auto,always,never}"
  elif [[ $cur == -* ]]; then
    words=$("${COMP_WORDS[0]}" help "${COMP_WORDS[1]}" 2>/dev/null |
      sed -n 's/^  \(-[^ ]*\).*/\1/p' | tr ',' ' ')
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
  fi
}
complete -o default -F _zyl zyl
