#!/usr/bin/env bash
# quintor-coach's manual page and bash completion: well-formed, naming every
# option that --help names, and completing level and row names.
#   coach_docs.sh COACH MANPAGE COMPLETION GAME_MANPAGE
set -uo pipefail
coach=$1 man=$2 completion=$3 game_man=$4
fail() { echo "FAIL: $*"; exit 1; }

for page in "$man" "$game_man"; do
    out=$(groff -ww -z -man "$page" 2>&1) || fail "groff failed on $page: $out"
    [ -z "$out" ] || fail "groff warns on $page: $out"
done

options=$("$coach" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u)
[ "$(echo "$options" | wc -l)" -ge 10 ] || fail "too few options in --help: $options"
for option in $options; do
    grep -qF -- "\\fB${option//-/\\-}\\fR" "$man" || fail "$option is not in the manual page"
    grep -qF -- "$option" "$completion" || fail "$option is not in the completion"
done

# shellcheck source=/dev/null
source "$completion"
complete_words() { # the words typed so far, the last one being completed
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _quintor_coach 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}"
}
check() { # WANTED WORDS...
    local wanted=$1 got
    shift
    got=$(complete_words quintor-coach "$@")
    [ "$got" = "$wanted" ] || fail "'$*' completes to '$got', not '$wanted'"
}
check medium --level me
check --simulate --si
check 'aces,full\ house' --booked aces,FU
check 'sixs' --booked Si
# A record for --review from the folder it is typed in.
records=$(mktemp -d) && trap 'rm -rf "$records"' EXIT && cd "$records" && touch game.json || fail "no folder"
check game.json --review ga
echo PASS
