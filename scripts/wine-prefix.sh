#!/usr/bin/env bash
# Makes the project's Wine prefix once: a 1024x768 virtual desktop (without
# it hides and destroys stall and keys follow the pointer) and a CJK font for
# the dialog faces.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

stamp="$WINEPREFIX/.passbook-ready"
# Wine draws the caption buttons with Marlett, and finds it only among the
# prefix's own fonts: without it the close box shows the letter "r".
install_fonts() {
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
}
if [[ -f "$stamp" ]]; then
  install_fonts
  exit 0
fi

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
install_fonts
wineserver -w
touch "$stamp"
