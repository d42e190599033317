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
# taken within a round and their medians printed. On a busy machine the
# conversions (CPU-bound) suffer more than the copy (which waits for the
# disk), so the CPU time (user + system, all threads) of each command is
# printed too, and the largest resident set of each conversion (peak memory),
# both from /usr/bin/time.
#
# The page is larger than the dump (highlighted lines carry their markup),
# so each conversion is also set against a crash-safe copy of its own page
# ("/ page copy"): the least any program writing that page safely needs.
# Every command replaces its own output of the round before.
#
# usage: bench/compare_cat.sh [RUNS [MEGABYTES [NAMES...]]]   (needs /usr/bin/time)
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

profile() { # names count: writes $work/p<count>.cfg
  local n=$1 json=$work/p$1.json sep=""
  {
    printf '{"app":{"ignoreCase":true},"html":{"brokenLines":true},"names":['
    while IFS= read -r name; do printf '%s{"name":"%s"}' "$sep" "$name"; sep=","; done < <("$bin/velmora_make_dump" --names "$n")
    printf ']}'
  } >"$json"
  "$cli" profile new "$work/p$n.cfg" --from-json "$json" --force >/dev/null
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
now() { date +%s%N; }

# run LABEL: one command, timed by /usr/bin/time into $work/cpu. Labels:
# safe (the crash-safe copy), cat, c<N> (velmora-cli with N names) and
# p<N> (the crash-safe copy of the page that c<N> writes).
run() {
  local cpu=(/usr/bin/time -f "%U %S %M" -o "$work/cpu")
  local safeCopy='dd if="$1" of="$2.tmp" bs=1M conv=fsync status=none && mv "$2.tmp" "$2"'
  case $1 in
  safe) "${cpu[@]}" sh -c "$safeCopy" sh "$dump" "$work/out/copy.txt" ;;
  p*) "${cpu[@]}" sh -c "$safeCopy" sh "$work/out/c${1#p}/dump.htm" "$work/out/page${1#p}.htm" ;;
  cat) "${cpu[@]}" sh -c 'cat "$1" >"$2"' sh "$dump" "$work/out/cat.txt" ;;
  c*) "${cpu[@]}" "$cli" convert --profile "$work/p${1#c}.cfg" --dest "$work/out/$1" --images "$work/out/$1" \
    --existing overwrite --quiet "$dump" >/dev/null ;;
  esac
}

labels=(safe cat)
for n in "${counts[@]}"; do
  profile "$n"
  mkdir "$work/out/c$n"
  labels+=("c$n" "p$n")
done
for label in "${labels[@]}"; do run "$label"; done # warm the page cache and the output files

printf '%s MB dump, %s rounds; load average before: %s\n' "$megabytes" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
for ((r = 0; r < runs; r++)); do
  for ((k = 0; k < ${#labels[@]}; k++)); do
    label=${labels[$(((k + r) % ${#labels[@]}))]}
    t0=$(now); run "$label"; t1=$(now)
    echo $(((t1 - t0) / 1000)) >>"$work/$label"
    awk '{print ($1 + $2) * 1000}' "$work/cpu" >>"$work/$label.cpu"
    awk '{print $3}' "$work/cpu" >>"$work/$label.kb"
  done
done
printf 'load average after: %s\n\n' "$(cut -d' ' -f1-3 /proc/loadavg)"

ms() { median <"$work/$1" | awk '{printf "%.1f", $1 / 1000}'; }
cpu() { median <"$work/$1.cpu" | awk '{printf "%.0f", $1}'; }
ratio() { paste "$work/$1" "$work/$2" | awk '{printf "%.3f\n", $1 / $2}' | median; } # within each round
peak() { sort -g "$work/$1.kb" | tail -1 | awk -v d="$dumpKB" '{printf "%.1f MB (%.2fx the dump)", $1 / 1024, $1 / d}'; }
printf 'safe copy %s ms (CPU %s ms), cat %s ms (CPU %s ms) (medians)\n' "$(ms safe)" "$(cpu safe)" "$(ms cat)" "$(cpu cat)"
printf '%-6s %11s %8s %12s %6s %8s %8s %12s  %s\n' names "convert ms" "CPU ms" "/ safe copy" goal "/ cat" \
  "page MB" "/ page copy" "peak memory"
for n in "${counts[@]}"; do
  goal="-"; [ "$n" = 0 ] && goal="1.4x"; [ "$n" = 100 ] && goal="1.8x"
  printf '%-6s %11s %8s %11sx %6s %7sx %8s %11sx  %s\n' "$n" "$(ms "c$n")" "$(cpu "c$n")" "$(ratio "c$n" safe)" \
    "$goal" "$(ratio "c$n" cat)" "$(($(stat -c %s "$work/out/c$n/dump.htm") >> 20))" "$(ratio "c$n" "p$n")" "$(peak "c$n")"
done
printf 'a safe copy of the page alone / the safe copy of the dump:'
for n in "${counts[@]}"; do printf ' %s names %sx' "$n" "$(ratio "p$n" safe)"; done
printf '\n'
if [ -f "$work/c100" ] && [ -f "$work/c1000" ]; then
  printf '1,000 names / 100 names: %sx (goal 1.2x)\n' "$(ratio c1000 c100)"
fi
