#!/usr/bin/env bash
# Makes the project's Wine prefix once: a 1024x768 virtual desktop (without
# it hides and destroys stall and keys follow the pointer) and a CJK font for
# the dialog faces.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

stamp="$WINEPREFIX/.passbook-ready"
[[ -f "$stamp" ]] && exit 0

echo "wine: making the prefix $WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
wineserver -w

reg() { wine reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default
reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
  reg "$subst" /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei"
done
wineserver -w
touch "$stamp"
