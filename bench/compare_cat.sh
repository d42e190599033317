#!/usr/bin/env bash
# Whole-program speed: velmora-cli converting a generated dump against cat
# copying the same dump, with 0, 100 and 1,000 highlight names ("Player000:"
# ..., case ignored). Prints the median of paired runs for each and the peak
# memory of the conversion against the dump's size.
#
# usage: bench/compare_cat.sh [RUNS [MEGABYTES]]   (defaults: 7 runs, 64 MB)
# Uses the programs in build/bin (or $VELMORA_BIN): build them first, as
# scripts/test does (RelWithDebInfo).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${VELMORA_BIN:-$root/build/bin}
runs=${1:-7}
megabytes=${2:-64}
cli=$bin/velmora-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/out"
dump=$work/dump.txt
"$bin/velmora_make_dump" "$dump" $((megabytes << 20))
dumpKB=$(( $(stat -c %s "$dump") / 1024 ))

# The JSON key of the case option, as this build of the tool spells it.
"$cli" profile new "$work/probe.cfg" >/dev/null
caseKey=caseSensitive
if "$cli" profile show "$work/probe.cfg" --json | grep -q '"ignoreCase"'; then caseKey=ignoreCase; fi

profile() { # names count -> profile path
  local n=$1 json=$work/p$1.json sep=""
  {
    printf '{"app":{"%s":true},"names":[' "$caseKey"
    for ((k = 0; k < n; k++)); do printf '%s{"name":"Player%03d:"}' "$sep" "$k"; sep=","; done
    printf ']}'
  } >"$json"
  "$cli" profile new "$work/p$n.cfg" --from-json "$json" --force >/dev/null
  echo "$work/p$n.cfg"
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
now() { date +%s%N; }

convert() { "$cli" convert --profile "$1" --dest "$work/out" --images "$work/out" --existing overwrite --quiet "$dump" >/dev/null; }

printf '%s MB dump, %s paired runs, medians\n' "$megabytes" "$runs"
printf '%-7s %9s %12s %7s %7s %s\n' names "cat ms" "convert ms" ratio goal "peak memory / dump"
for n in 0 100 1000; do
  cfg=$(profile "$n")
  convert "$cfg" # warm the page cache and the output file
  : >"$work/ratios"; : >"$work/cat"; : >"$work/conv"
  for ((r = 0; r < runs; r++)); do
    # Alternate which goes first, so that neither always finds the other's dirty pages.
    if ((r % 2)); then
      t0=$(now); convert "$cfg"; t1=$(now); cat "$dump" >"$work/out/copy.txt"; t2=$(now)
      c=$((t2 - t1)); v=$((t1 - t0))
    else
      t0=$(now); cat "$dump" >"$work/out/copy.txt"; t1=$(now); convert "$cfg"; t2=$(now)
      c=$((t1 - t0)); v=$((t2 - t1))
    fi
    echo "$((c / 1000))" >>"$work/cat"; echo "$((v / 1000))" >>"$work/conv"
    awk -v v="$v" -v c="$c" 'BEGIN {printf "%.3f\n", v / c}' >>"$work/ratios"
  done
  peak="-"
  if [ -x /usr/bin/time ]; then
    kb=$( { /usr/bin/time -f %M "$cli" convert --profile "$cfg" --dest "$work/out" --images "$work/out" \
      --existing overwrite --quiet "$dump" >/dev/null; } 2>&1 | tail -1)
    peak=$(awk -v k="$kb" -v d="$dumpKB" 'BEGIN {printf "%.2fx", k / d}')
  fi
  goal="-"; [ "$n" = 0 ] && goal="2.5x"; [ "$n" = 100 ] && goal="3.5x"
  printf '%-7s %9.1f %12.1f %6.2fx %7s %s\n' "$n" "$(median <"$work/cat" | awk '{print $1 / 1000}')" \
    "$(median <"$work/conv" | awk '{print $1 / 1000}')" "$(median <"$work/ratios")" "$goal" "$peak"
done
