#!/usr/bin/env bash
# Whole-program speed: velmora-cli converting a generated CR LF dump, broken
# lines on and case ignored, with 0, 100 and 1,000 highlight names, against a
# crash-safe copy of the same dump (dd ... conv=fsync, then mv: the least a
# writer that never leaves a half-written file must do) and against cat.
# The first 100 names are the dump's players (about half the lines hold one
# of them); more names add "Player000:" ..., which no line holds.
#
# Every round runs each command once, in an order that turns by one each
# round, so that load from elsewhere touches all of them alike; ratios are
# taken within a round and their medians printed. Peak memory (maximum
# resident set) of each conversion comes from /usr/bin/time.
#
# usage: bench/compare_cat.sh [RUNS [MEGABYTES [NAMES...]]]
#        (defaults: 9 runs, 64 MB, names 0 100 1000)
# Uses the programs in build/bin (or $VELMORA_BIN): build them first, as
# scripts/test does (RelWithDebInfo). Work files go to $TMPDIR and are
# removed at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${VELMORA_BIN:-$root/build/bin}
runs=${1:-9}
megabytes=${2:-64}
shift $(($# < 2 ? $# : 2))
counts=("$@")
[ ${#counts[@]} -eq 0 ] && counts=(0 100 1000)
cli=$bin/velmora-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/out"
dump=$work/dump.txt
"$bin/velmora_make_dump" "$dump" $((megabytes << 20))
dumpKB=$(($(stat -c %s "$dump") / 1024))

profile() { # names count -> profile path
  local n=$1 json=$work/p$1.json sep=""
  {
    printf '{"app":{"ignoreCase":true},"html":{"brokenLines":true},"names":['
    while IFS= read -r name; do printf '%s{"name":"%s"}' "$sep" "$name"; sep=","; done < <("$bin/velmora_make_dump" --names "$n")
    printf ']}'
  } >"$json"
  "$cli" profile new "$work/p$n.cfg" --from-json "$json" --force >/dev/null
  echo "$work/p$n.cfg"
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
now() { date +%s%N; }

velmora() { "$cli" convert --profile "$1" --dest "$work/out" --images "$work/out" --existing overwrite --quiet "$dump" >/dev/null; }
safecopy() { dd if="$dump" of="$work/out/copy.tmp" bs=1M conv=fsync status=none && mv "$work/out/copy.tmp" "$work/out/copy.txt"; }
catcopy() { cat "$dump" >"$work/out/cat.txt"; }

commands=(safecopy catcopy)
labels=(safe cat)
for n in "${counts[@]}"; do
  commands+=("velmora $(profile "$n")")
  labels+=("c$n")
done
safecopy; catcopy; ${commands[2]} # warm the page cache and the output files

printf '%s MB dump, %s rounds; load average before: %s\n' "$megabytes" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
for ((r = 0; r < runs; r++)); do
  for ((k = 0; k < ${#commands[@]}; k++)); do
    i=$(((k + r) % ${#commands[@]}))
    t0=$(now); ${commands[$i]}; t1=$(now)
    echo $(((t1 - t0) / 1000)) >>"$work/${labels[$i]}"
  done
done
printf 'load average after: %s\n\n' "$(cut -d' ' -f1-3 /proc/loadavg)"

ms() { median <"$work/$1" | awk '{printf "%.1f", $1 / 1000}'; }
ratio() { paste "$work/$1" "$work/$2" | awk '{printf "%.3f\n", $1 / $2}' | median; } # within each round
peak() { # names count
  [ -x /usr/bin/time ] || { echo "-"; return; }
  /usr/bin/time -f %M -o "$work/peak" "$cli" convert --profile "$work/p$1.cfg" --dest "$work/out" \
    --images "$work/out" --existing overwrite --quiet "$dump" >/dev/null
  awk -v d="$dumpKB" '{printf "%.1f MB (%.2fx the dump)", $1 / 1024, $1 / d}' "$work/peak"
}
printf 'safe copy %s ms, cat %s ms (medians)\n' "$(ms safe)" "$(ms cat)"
printf '%-6s %11s %12s %6s %8s  %s\n' names "convert ms" "/ safe copy" goal "/ cat" "peak memory"
for ((k = 2; k < ${#commands[@]}; k++)); do
  n=${labels[$k]#c}
  goal="-"; [ "$n" = 0 ] && goal="1.4x"; [ "$n" = 100 ] && goal="1.8x"
  printf '%-6s %11s %11sx %6s %7sx  %s\n' "$n" "$(ms "c$n")" "$(ratio "c$n" safe)" "$goal" "$(ratio "c$n" cat)" "$(peak "$n")"
done
if [ -f "$work/c100" ] && [ -f "$work/c1000" ]; then
  printf '1,000 names / 100 names: %sx (goal 1.2x)\n' "$(ratio c1000 c100)"
fi
