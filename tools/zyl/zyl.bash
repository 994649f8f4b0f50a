# Bash completion for zyl: its commands, and each command's options, as zyl's own help lists
# them; file names elsewhere.
_zyl() {
  local cur=${COMP_WORDS[COMP_CWORD]} words
  if [[ $COMP_CWORD -eq 1 ]]; then
    words=$("${COMP_WORDS[0]}" --help 2>/dev/null | sed -n '/^Commands:/,$s/^  \([a-z][a-z-]*\) .*/\1/p')
    COMPREPLY=($(compgen -W "$words --help --version" -- "$cur"))
  elif [[ $cur == -* ]]; then
    words=$("${COMP_WORDS[0]}" help "${COMP_WORDS[1]}" 2>/dev/null |
      sed -n 's/^  \(-[^ ]*\).*/\1/p' | tr ',' ' ')
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
  fi
}
complete -o default -F _zyl zyl
