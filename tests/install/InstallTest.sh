#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and runs the installed
# velmora-cli there as a user with a temporary home: the desktop files and
# manual pages are in place and valid, the velmora-cli page holds everything
# its --help lists, and the program keeps its settings in the home's
# configuration folder and its pages in the home's documents, writing nothing
# beside itself.
# Usage: InstallTest.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 appId=$2 version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$work/root/usr"

expected=(bin/velmora-cli
  "share/applications/$appId.desktop"
  "share/metainfo/$appId.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$appId.svg"
  share/man/man1/velmora-cli.1.gz)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$appId.png")
done
pages=(velmora-cli)
[ -e "$build/bin/velmora" ] && expected+=(bin/velmora share/man/man1/velmora.1.gz) && pages+=(velmora)
for f in "${expected[@]}"; do
  [ -s "$usr/$f" ] || fail "$f is not installed"
done

out=$(desktop-file-validate "$usr/share/applications/$appId.desktop" 2>&1) || fail "desktop entry: $out"
[ -z "$out" ] || fail "desktop entry: $out"
out=$(appstreamcli validate --no-net "$usr/share/metainfo/$appId.metainfo.xml" 2>&1) || fail "metadata: $out"
for page in "${pages[@]}"; do
  gzip -dc "$usr/share/man/man1/$page.1.gz" > "$work/$page.1"
  out=$(groff -man -ww -z "$work/$page.1" 2>&1) || fail "manual page $page: $out"
  [ -z "$out" ] || fail "manual page $page: $out"
  out=$(MANROFFOPT=-ww man -l "$work/$page.1" 2>&1 >/dev/null) || fail "man -l $page: $out"
  [ -z "$out" ] || fail "man -l $page: $out"
done

# Each command's usage heads its part of the velmora-cli page, which holds
# every positional and option of its --help with the same description (the
# program's own under OPTIONS; --help is described there only). Commands are
# found through the help's lists of subcommands.
page=$(LC_ALL=C MANWIDTH=250 man -l "$work/velmora-cli.1")
help_items() { # the "TAG DESCRIPTION" of each positional and option of a help text
  awk 'function flush() { if (tag != "") print tag " " desc; tag = "" }
    /^(Positionals|Options):$/ { on = 1; next }
    !on { next }
    /^$/ || /^[^ ]/ { flush(); on = 0; next }
    /^  [^ ]/ { flush(); line = substr($0, 3); at = index(line, "  ")
                tag = at ? substr(line, 1, at - 1) : line; desc = at ? substr(line, at) : ""
                sub(/^ +/, "", desc); gsub(/,/, ", ", tag); next }
    { desc = $0; sub(/^ +/, "", desc) }
    END { flush() }'
}
check_page_part() { # the words of a command, none for the program
  local help usage part item sub
  help=$("$usr/bin/velmora-cli" "$@" --help) || fail "velmora-cli $* --help"
  usage=$(sed -n 's/^Usage: //p' <<<"$help")
  if [ $# -eq 0 ]; then
    part=$(awk '/^[A-Z]/ { on = ($0 == "OPTIONS"); next } on' <<<"$page")
  else
    part=$(awk -v head="   $usage" '/^[A-Z]/ || /^   velmora-cli / { on = ($0 == head); next } on' <<<"$page")
  fi
  [ -n "$part" ] || fail "the manual page has no part for $usage"
  part=" $(tr -s ' \n' '  ' <<<"$part")"
  while IFS= read -r item; do
    [ $# -gt 0 ] && [[ $item == "-h, --help "* ]] && continue
    [[ $part == *" $item "* ]] || fail "the manual page lacks \"$item\" under $usage"
  done < <(help_items <<<"$help")
  for sub in $(awk '/^Subcommands:$/ { on = 1; next } /^[^ ]/ || /^$/ { on = 0 } on { print $1 }' <<<"$help"); do
    check_page_part "$@" "$sub"
  done
}
check_page_part

before=$(cd "$work/root" && find . -printf '%p %s %T@\n' | sort)

# A user with an empty home and a documents folder; XDG variables unset.
export HOME="$work/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME/Documents" "$work/run"
cd "$work/run"
cli="$usr/bin/velmora-cli"

[ "$("$cli" --version)" = "velmora-cli $version" ] || fail "--version prints $("$cli" --version)"

# The settings file in the home's configuration folder names the current profile.
echo '{"html": {"title": "Installed run"}}' > title.json
"$cli" profile new current.cfg --from-json title.json
mkdir -p "$HOME/.config/velmora"
printf '[Profiles]\nProfile #0=%s\n' "$work/run/current.cfg" > "$HOME/.config/velmora/velmora.ini"
printf 'player: hello\n' > dump.txt

out=$("$cli" convert dump.txt) || fail "convert: $out"
[ "$out" = "$work/run/dump.txt: Converted -> $HOME/Documents/dump.htm" ] || fail "convert printed: $out"
grep -q '<TITLE>Installed run</TITLE>' "$HOME/Documents/dump.htm" || fail "the page lacks the current profile's title"

after=$(cd "$work/root" && find . -printf '%p %s %T@\n' | sort)
[ "$before" = "$after" ] || fail "the program wrote into the install tree: $(diff <(echo "$before") <(echo "$after"))"
home=$(cd "$HOME" && find . | sort | tr '\n' ' ')
[ "$home" = ". ./.config ./.config/velmora ./.config/velmora/velmora.ini ./Documents ./Documents/dump.htm " ] ||
  fail "the home holds: $home"
echo "installed program OK"
