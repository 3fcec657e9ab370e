#!/usr/bin/env bash
# The installer under Wine: installed silently for this user, the installed program played
# headless to its first save (in Saved Games), then uninstalled silently: the program's folder
# and the Start menu entry are gone, the save is not.
# Arguments: the installer, a work folder, a replay case whose keys save a new hero on drive C.
set -u
setup=$1
work=$2
case=$3
fail() {
  echo "FAILED: $*"
  exit 1
}
[ -f "$setup" ] || fail "no installer at $setup (build the target windows_packages)"
rm -rf "$work" && mkdir -p "$work" || exit 1

unix_folder() {  # the Unix path of a Windows folder variable, e.g. LOCALAPPDATA
  winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"
}
program_folder="$(unix_folder LOCALAPPDATA)/Programs/KESTRAN"
saves="$(unix_folder USERPROFILE)/Saved Games/KESTRAN/drives/C"
start_menu="$(unix_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/KESTRAN.lnk"
rm -rf "$program_folder" "$saves"

wine "$setup" /S || fail "the installer failed"
for file in kestran.exe kestran_errmsg.dll unifont_jp.hex kestran.html uninstall.exe; do
  [ -f "$program_folder/$file" ] || fail "not installed: $file"
done
[ -f "$start_menu" ] || fail "no Start menu entry"

wine "$program_folder/kestran.exe" --backend=headless --seed="$(cat "$case/seed")" --keys-file="$case/keys" \
  --trace="$work/installed.trace" || fail "the installed program failed"
cmp -s "$work/installed.trace" "$case/expected.trace" || fail "the installed program's trace differs"
[ -f "$saves/KSSAVE" ] || fail "no save in $saves"
cp "$saves/KSSAVE" "$work/KSSAVE"

# The uninstaller copies itself away and returns at once: wait for it to finish.
wine "$program_folder/uninstall.exe" /S || fail "the uninstaller failed"
for _ in $(seq 100); do
  [ -e "$program_folder" ] || break
  sleep 0.2
done
[ ! -e "$program_folder" ] || fail "the program's folder is still there: $(ls "$program_folder")"
[ ! -e "$start_menu" ] || fail "the Start menu entry is still there"
cmp -s "$saves/KSSAVE" "$work/KSSAVE" || fail "the uninstaller touched the save"
echo "passed"
