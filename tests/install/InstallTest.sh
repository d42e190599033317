#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and runs the installed
# velmora-cli there as a user with a temporary home: the desktop files are in
# place and valid, and the program keeps its settings in the home's
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
[ -e "$build/bin/velmora" ] && expected+=(bin/velmora)
for f in "${expected[@]}"; do
  [ -s "$usr/$f" ] || fail "$f is not installed"
done

out=$(desktop-file-validate "$usr/share/applications/$appId.desktop" 2>&1) || fail "desktop entry: $out"
[ -z "$out" ] || fail "desktop entry: $out"
out=$(appstreamcli validate --no-net "$usr/share/metainfo/$appId.metainfo.xml" 2>&1) || fail "metadata: $out"
out=$(gzip -dc "$usr/share/man/man1/velmora-cli.1.gz" | groff -man -ww -z 2>&1) || fail "manual page: $out"
[ -z "$out" ] || fail "manual page: $out"

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
