# Shared by scripts/run.sh and tests/e2e/run-e2e.sh: a private X display, Wine prefixes and
# CD-ROM drives made of folders. Source it; every wait here is bounded.

# No Mono or Gecko prompts in a new prefix (there is no network), and quiet logs.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# Wine spells file names in the Unix locale's character set: without a working UTF-8 locale every
# name outside ASCII is mangled, through the wide functions too. C.UTF-8 is in every Debian
# (libc-bin); Wine still reports en-US and Windows-1252 as the system's legacy code page.
export LANG=C.UTF-8
unset LC_ALL LC_CTYPE
if command -v locale >/dev/null && ! locale -a 2>/dev/null | grep -qix 'c\.utf-\?8'; then
  echo "wine.sh: no C.UTF-8 locale here; Wine will mangle every name outside ASCII" >&2
fi
WINE=${WINE:-wine}

XVFB_PID=
# Starts Xvfb on a display no one else uses and exports DISPLAY. Xvfb itself picks the number
# (-displayfd), so two runs starting at once cannot take the same one.
start_xvfb() {
  local size=${1:-1024x768} logfile=${2:-/dev/null} fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fdfile" >"$logfile" 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 100); do
    [ -s "$fdfile" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then
    rm -f "$fdfile"
    echo "Xvfb did not start" >&2
    stop_xvfb
    return 1
  fi
  export DISPLAY=":$(tr -dc 0-9 <"$fdfile")"
  rm -f "$fdfile"
}

stop_xvfb() {
  [ -n "$XVFB_PID" ] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  local i
  for i in $(seq 50); do kill -0 "$XVFB_PID" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}

# Stops the wineserver of one prefix (and with it every Wine process of that prefix).
stop_wineserver() {
  WINEPREFIX="$1" timeout 30 wineserver -k 2>/dev/null || true
  WINEPREFIX="$1" timeout 30 wineserver -w 2>/dev/null || true
}

# Imports a .reg file into a prefix and waits until the registry is saved.
import_reg() {
  local prefix=$1 regfile=$2
  WINEPREFIX="$prefix" timeout 120 "$WINE" regedit /S "$(winpath "$regfile")" >/dev/null 2>&1
  WINEPREFIX="$prefix" timeout 60 wineserver -w
}

# The Windows path of a Unix path (Wine shows / as Z:).
winpath() {
  printf 'Z:%s' "$1" | tr / '\\'
}

# Creates a prefix: the first start of Wine in it takes about 15 s. The registry gets a virtual
# desktop (windows and the tray look as on a real desktop, inside one X window of the given
# size) and Windows' own CD-ROM AutoRun switched on, as on a fresh Windows.
make_prefix() {
  local prefix=$1 size=${2:-1024x768}
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  WINEPREFIX="$prefix" timeout 180 "$WINE" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$prefix" timeout 120 wineserver -w
  # Debian's Wine does not find its own Marlett (the caption buttons' glyphs) in its data folder;
  # the prefix's Fonts folder is always searched. Only Marlett: the other fonts would replace the
  # system's own sans-serif faces in captions and dialogs.
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  local reg="$prefix/vexamo-setup.reg"
  cat >"$reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="$size"

[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Cdrom]
"AutoRun"=dword:00000001
EOF
  import_reg "$prefix" "$reg"
  rm -f "$reg"
  [ -f "$prefix/system.reg" ]
}

# Makes the prefix's CD-ROM drives exactly the given ones: arguments are LETTER:FOLDER:LABEL,
# none for a machine without a CD-ROM drive. The wineserver must not be running (Wine reads its
# drives when it starts). Further registry lines (REGEDIT4 syntax, starting with a [key]) may
# come in $EXTRA_REG, saving a second start of Wine.
set_cdrom_drives() {
  local prefix=$1; shift
  local reg="$prefix/vexamo-drives.reg" letter entry folder label l type
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n' >"$reg"
  # Forget earlier CD-ROM drives first; C: and Z: stay as Wine made them.
  for l in d e f g h i j k l m n o p q r s t u v w x y; do
    if grep -Eq "^\"$l:\"=\"(cdrom|floppy)\"" "$prefix/system.reg" 2>/dev/null; then
      printf '"%s:"=-\n' "$l" >>"$reg"
      rm -f "$prefix/dosdevices/$l:"
    fi
  done
  for entry in "$@"; do
    letter=$(printf '%s' "${entry%%:*}" | tr A-Z a-z)
    folder=${entry#*:}; label=${folder#*:}; folder=${folder%%:*}
    # An entry may end in ":floppy": Wine reports such a drive as removable (a USB stick).
    type=cdrom
    case "$label" in *:floppy) type=floppy; label=${label%:floppy} ;; esac
    mkdir -p "$folder"
    printf '%s\n' "$label" >"$folder/.windows-label"
    ln -sfn "$folder" "$prefix/dosdevices/$letter:"
    printf '"%s:"="%s"\n' "$letter" "$type" >>"$reg"
  done
  [ -z "${EXTRA_REG:-}" ] || printf '\n%s\n' "$EXTRA_REG" >>"$reg"
  import_reg "$prefix" "$reg"
  rm -f "$reg"
  stop_wineserver "$prefix"
}
