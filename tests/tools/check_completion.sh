#!/usr/bin/env bash
# Completes zyl's command lines with tools/zyl/zyl.bash and compares the replies.
# Usage: check_completion.sh <zyl.bash> <folder of zyl>
source "$1"
PATH=$(cd "$2" && pwd):$PATH
cd "$(mktemp -d)" && touch app.log && trap 'rm -rf "$PWD"' EXIT
failed=0
expect() {  # expect WANT WORD...: the replies for the last WORD
  COMP_WORDS=("${@:2}") COMP_CWORD=$(($# - 2)) COMPREPLY=()
  _zyl
  [[ "${COMPREPLY[*]}" == "$1" ]] || { echo "${*:2}: got '${COMPREPLY[*]}', want '$1'"; failed=1; }
}
expect "auto always never" zyl show --escape =  # bash makes the '=' a word of its own
expect "always" zyl show --escape = al
expect "--escape=auto --escape=always" zyl show --escape=a  # '=' not a word break
expect "app.log" zyl log --file = ap
expect "app.log" zyl show --cursor-file ""
expect "" zyl show -n =  # a count: no file names
expect "" zyl show --since ""
expect "rotate" zyl help ro
expect "--json" zyl show --js
exit $failed
