# SPDX-License-Identifier: Apache-2.0
# What the headless end-to-end tests of the file managers share: package
# installation, the build, a virtual X display, a file manager started with the
# extension in a private mount namespace, and checks of the trace log, of the
# screen and of the command files. Each tests/hosts/<host>/run-e2e sources it
# and keeps only what differs: how its file manager is started, its window
# class and how its items and menus are reached.
#
# A test script runs, in this order:
#   source tests/hosts/e2e-lib.sh
#   e2e_begin HOST PACKAGE...     # cd to the repository, install, make $work
#   open_window_with_badges FOLDER CLASS COMMAND...
#                                 # the module as its .deb installs it, and the
#                                 # badges checks; or, step by step:
#                                 # install_module_package HOST FOLDER,
#                                 # start_xvfb, launch_with_extension_folder
#                                 # FOLDER COMMAND... (or a launch of its own),
#                                 # expect_window_with_badges CLASS
#   ... checks ...
#   e2e_end
#
# Variables it sets: $source_dir, $build_dir, $work (removed at exit),
# $finder (the container's finder folder), $commands, $root (the sample
# project laid out by tests/hosts/sample-tree), $artefacts (screenshots),
# $icons (the hicolor theme the emblems are found in), $app_pid (the file manager's
# process group), $e2e_host (the host's name in file names) and $e2e_app (in
# messages). Every check that fails ends the script with "FAIL: ..." and
# status 1; skip ends it with "SKIPPED: ..." and status 0.

set -uo pipefail

checks=0
say() { printf '%s\n' "$*"; }
pass() { checks=$((checks + 1)); say "ok - $*"; }
fail() { say "FAIL: $*"; exit 1; }
skip() { say "SKIPPED: $*"; exit 0; }

# Polls `command` every half second for at most `seconds`.
# Usage: wait_until SECONDS COMMAND [ARG ...]
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.5
  done
}

# Starts a test of HOST: moves to the repository, installs PACKAGE..., the
# build's packages and the tools every test uses through scripts/install-deps
# (which installs only what is missing; the test is skipped when that cannot
# be done here: not root, or apt-get failed), makes the work folder and lays
# out the sample project.
# Usage: e2e_begin HOST PACKAGE...
e2e_begin() {
  e2e_host=$1 e2e_app=${1^}
  shift
  cd "$(dirname "${BASH_SOURCE[0]}")/../.." || exit 1
  source_dir=$PWD build_dir=${BUILD_DIR:-build}
  scripts/install-deps "$@" xvfb xdotool xclip dbus-x11 imagemagick \
    at-spi2-core python3-gi gir1.2-atspi-2.0 >/dev/null ||
    skip "cannot install $* and the build's packages here"
  unshare -m true 2>/dev/null || skip "no private mount namespace here (unshare -m refused)"
  work=$(mktemp -d "/tmp/quorbitz-$e2e_host.XXXXXX")
  trap e2e_cleanup EXIT
  finder=$work/container/finder commands=$work/container/finder/commands root=$work/Film
  mkdir -p "$build_dir/artefacts" "$work/extensions" "$work/home/.local/share"
  mkdir -m 700 "$work/run"
  artefacts=$(realpath "$build_dir")/artefacts
  rm -f "$artefacts/$e2e_host"-*.png
  tests/hosts/sample-tree "$work/container" "$root"

  export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/home/.local/share
  export QUORBITZ_GROUP_CONTAINER=$work/container
  # The accessibility bridge stays on: menus are chosen through it by name.
  export GSETTINGS_BACKEND=memory QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  export GDK_BACKEND=x11 GSK_RENDERER=cairo
  unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
  # Where a module run from the build tree draws its emblems;
  # install_module_package points it at the package's.
  icons=$XDG_RUNTIME_DIR/quorbitz/icons/hicolor
}

# Builds TARGETs in $build_dir, for the benchmarks that load the module as
# built. Configured again so that a build folder made before the extension
# headers were installed picks up the extension.
# Usage: build_targets TARGET ...
build_targets() {
  cmake -G Ninja -S "$source_dir" -B "$build_dir" -DQUORBITZ_WERROR=ON >"$work/cmake.log" 2>&1 ||
    { cat "$work/cmake.log"; fail "cmake failed"; }
  ninja -C "$build_dir" "$@" >"$work/ninja.log" 2>&1 ||
    { tail -n 40 "$work/ninja.log"; fail "the build failed"; }
}

# Builds the Debian packages (scripts/build-packages, which builds them once
# per state of the tree), unpacks those of HOST's module and of the files all
# modules share with dpkg -x into $work/package-root as dpkg would lay them
# out, and puts the module the package holds, taken from FOLDER (the file
# manager's extension folder), into $work/extensions: the test runs what
# users install. The file manager finds the package's emblems through
# XDG_DATA_DIRS, the module its translations through QUORBITZ_LOCALE_DIR.
# MODULE is the module's file name, libquorbitz-HOST.so unless given.
# Usage: install_module_package HOST FOLDER [MODULE]
install_module_package() {
  local host=$1 folder=$2 module=${3:-libquorbitz-$1.so} package_root=$work/package-root debs deb
  debs=$(BUILD_DIR=$build_dir scripts/build-packages) || fail "the Debian packages did not build"
  for deb in "$debs/quorbitz-common_"*.deb "$debs/quorbitz-${host}_"*.deb; do
    dpkg -x "$deb" "$package_root" || fail "dpkg -x $deb failed"
  done
  [ -f "$package_root$folder/$module" ] || fail "quorbitz-$host does not install $module into $folder"
  cp "$package_root$folder/$module" "$work/extensions/"
  export XDG_DATA_DIRS=$package_root/usr/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}
  export QUORBITZ_LOCALE_DIR=$package_root/usr/share/locale
  icons=$package_root/usr/share/icons/hicolor
  pass "the quorbitz-$host and quorbitz-common packages unpacked, their module loaded"
}

# Xvfb picks a free display and writes its number to the descriptor given.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_until 10 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$(head -n 1 "$work/display")
}

# Runs COMMAND on a private session bus with its accessibility bus up
# (tests/hosts/a11y-session), with FOLDER (the file manager's
# system extension folder) holding just the modules of $work/extensions, in
# its own mount namespace only. An existing FOLDER is replaced by a bind
# mount; a missing one (nothing installed an extension yet) is added by an
# overlay on its nearest existing parent, so the system's folders stay as they
# are. Its output goes to $work/$e2e_host.log.
# Usage: launch_with_extension_folder FOLDER COMMAND [ARG ...]
launch_with_extension_folder() {
  local folder=$1 kind=bind source=$work/extensions target=$1
  shift
  if [ ! -d "$folder" ]; then
    kind=overlay target=$folder
    while [ ! -d "$target" ]; do target=$(dirname "$target"); done
    source=$work/overlay/upper
    mkdir -p "$source${folder#"$target"}" "$work/overlay/work"
    cp -r "$work/extensions/." "$source${folder#"$target"}/"
    unshare -m mount -t overlay overlay \
      -o "lowerdir=$target,upperdir=$source,workdir=$work/overlay/work" "$target" 2>/dev/null ||
      skip "no overlay mount here, and $folder does not exist"
  fi
  setsid timeout 300 unshare -m bash -c '
    if [ "$1" = bind ]; then mount --bind "$2" "$3"
    else mount -t overlay overlay -o "lowerdir=$3,upperdir=$2,workdir=$4" "$3"; fi &&
    shift 4 && exec "$0" "$@"' \
    "$source_dir/tests/hosts/a11y-session" \
    "$kind" "$source" "$target" "$work/overlay/work" "$@" >"$work/$e2e_host.log" 2>&1 &
  app_pid=$!
}

# Installs the module from $e2e_host's package into FOLDER, starts the
# display and COMMAND, and checks the window of X class CLASS as
# expect_window_with_badges does.
# Usage: open_window_with_badges FOLDER CLASS COMMAND [ARG ...]
open_window_with_badges() {
  install_module_package "$e2e_host" "$1"
  start_xvfb
  launch_with_extension_folder "$1" "${@:3}"
  expect_window_with_badges "$2"
}

# The first visible window of X class CLASS, if any.
window_of_class() { xdotool search --onlyvisible --class "$1" 2>/dev/null | head -n 1; }
has_window_of_class() { [ -n "$(window_of_class "$1")" ]; }

# --- Badges -----------------------------------------------------------------
# The badges tests/hosts/sample-tree's project shows in its root, and every
# badge there is.
declare -A expected_badges=([Cuts]=synced [Footage]=synced [Masters]=masters [Review]=review
                            [Scratch]=kept [intro.mov]=synced [notes.txt]=pending)
all_badges="synced pending locked kept masters review"

# True when the trace log says the badge of PATH was asked for and was BADGE.
answered() { cut -d' ' -f2- "$finder/appex-trace.log" 2>/dev/null | grep -Fxq "badge? $1 -> $2"; }
all_badges_answered() {
  local item
  for item in "${!expected_badges[@]}"; do
    answered "$root/$item" "${expected_badges[$item]}" || return 1
  done
}

# Waits for a window of X class CLASS, then checks that the file manager
# asked for every badge of the root and observed the shown root, that the
# six badges are emblem files, and that the grid shows them (the emblems are
# drawn a moment after the questions were answered; the screenshot is
# <host>-1-grid.png). $failed_emblem_pattern, if set, is what the file
# manager prints when it finds no icon for an emblem.
# Usage: expect_window_with_badges CLASS
expect_window_with_badges() {
  local badge size pattern=${failed_emblem_pattern:-}
  wait_until 60 has_window_of_class "$1" || fail "no $e2e_app window within 60 s"
  pass "$e2e_app opened a window with the extension loaded"
  wait_until 30 all_badges_answered ||
    fail "$e2e_app did not ask for every badge, or got a wrong one"
  pass "$e2e_app asked for the badge of every item and got the right one"
  grep -q " observe $root\$" "$finder/appex-trace.log" || fail "the shown folder was not observed"
  pass "showing the root counted as observing it"
  for badge in $all_badges; do
    for size in 16x16 24x24 48x48; do
      [ -s "$icons/$size/emblems/emblem-quorbitz-$badge.png" ] || fail "no $size emblem for $badge"
    done
  done
  [ ! -e "$XDG_DATA_HOME/icons" ] || fail "the extension wrote into the user's icon folder"
  pass "the six badges are installed as emblems at 16, 24 and 48 px; the user's icons untouched"
  check_colour_checks
  wait_until 10 shot_shows 1-grid synced pending kept masters review ||
    fail "not every badge is visible in $e2e_host-1-grid.png"
  shows 1-grid locked && fail "a locked emblem is visible before anything was locked"
  if [ -n "$pattern" ] && grep -q "$pattern" "$work/$e2e_host.log"; then
    fail "$e2e_app found no icon for some emblems: $(grep -m 1 "$pattern" "$work/$e2e_host.log")"
  fi
  pass "the grid shows the synced, syncing, kept-local, masters and review emblems"
}

# ImageMagick's own tools: another "convert" may come first on the PATH.
convert=/usr/bin/convert
# How opaque the file manager draws emblems: GNOME Files 44 and later dim
# every emblem, whoever's, as it dims secondary text.
emblem_opacity=1
# The disc colour of a badge's emblem as the file manager shows it over a
# white view, as #RRGGBB.
disc_colour() {
  "$convert" "$icons/24x24/emblems/emblem-quorbitz-$1.png" -alpha off -depth 8 \
    -crop 1x1+12+2 +repage rgb:- | od -An -tu1 |
    awk -v opacity="$emblem_opacity" '{
      printf "#"; for (i = 1; i <= 3; i++) printf "%02X", 255 - (255 - $i) * opacity + 0.5 }'
}
# How many pixels of the image FILE have the disc colour of BADGE, within 3%.
# ImageMagick paints them white and the rest black and writes one raw byte a
# pixel; the count is that of the bytes that are not zero. Raw bytes read the
# same under ImageMagick 6 and 7, where its own statistics do not.
pixels_of() {
  local colour
  colour=$(disc_colour "$2")
  "$convert" "$1" -alpha off -fuzz 3% -fill black +opaque "$colour" -fill white \
    -opaque "$colour" -depth 8 gray:- | tr -d '\000' | wc -c
}
# Saves the screen as $artefacts/<host>-NAME.png.
shoot() { timeout 10 /usr/bin/import -window root "$artefacts/$e2e_host-$1.png"; }
# True when the picture FILE shows BADGE's emblem.
picture_shows() { [ "$(pixels_of "$1" "$2")" -ge 40 ]; }
# True when screenshot NAME shows BADGE's emblem.
shows() { picture_shows "$artefacts/$e2e_host-$1.png" "$2"; }

# The colour checks, tried on two pictures whose answer is known: a blank
# screen shows no badge, and a screen with each emblem pasted on it shows
# every one, so "shown" cannot pass on nothing and "gone" cannot pass on a
# badge still there.
check_colour_checks() {
  local blank=$work/blank.png badged=$work/badged.png badge x=100 pasted=()
  # In colour, as a screenshot is: ImageMagick 7 keeps a white picture grey,
  # and pastes into it in grey.
  "$convert" -size 1280x800 xc:white -type TrueColor "PNG24:$blank" ||
    fail "ImageMagick cannot draw a blank screen"
  for badge in $all_badges; do
    pasted+=(\( "$icons/48x48/emblems/emblem-quorbitz-$badge.png" -channel A -evaluate multiply
             "$emblem_opacity" +channel \) -geometry "+$x+300" -composite)
    x=$((x + 100))
  done
  "$convert" "$blank" "${pasted[@]}" "PNG24:$badged" || fail "ImageMagick cannot paste the emblems"
  for badge in $all_badges; do
    ! picture_shows "$blank" "$badge" || fail "the colour check sees $badge on a blank screen"
    picture_shows "$badged" "$badge" || fail "the colour check misses $badge where it is shown"
  done
  pass "the colour checks see no badge on a blank screen and every badge where one is shown"
}

# True when a new screenshot NAME shows the emblem of every BADGE, or, for
# the one BADGE "none", no emblem at all.
# Usage: shot_shows NAME BADGE...
shot_shows() {
  local name=$1 badge
  shift
  shoot "$name" || return 1
  if [ "$1" = none ]; then
    for badge in $all_badges; do ! shows "$name" "$badge" || return 1; done
  else
    for badge in "$@"; do shows "$name" "$badge" || return 1; done
  fi
}

# --- Menus and commands -----------------------------------------------------
# Where the choosers below click, in window coordinates: an empty part
# of the item view, which focuses the view and clears the selection. Hosts
# whose menus follow the pointer also set rest_point, where the pointer waits
# while keys drive the menu; keys go to the window under the pointer when
# there is no window manager.
view_point="500 420" rest_point=""
# Items are selected by typing their names (the file manager's type-ahead);
# typeahead_end is the key that closes the type-ahead box, where the file
# manager has one. A host whose typing does something else names the keys
# that select an item in item_keys instead. Menu entries are chosen by their
# titles through the accessibility bus (tests/hosts/choose-by-name), where
# menu_app names the file manager, so no entry of another plugin changes what
# is chosen.
typeahead_end=Escape menu_app=""
declare -A item_keys=()
# The key that opens the context menu of the selection or the folder.
context_menu_key=shift+F10

# Focuses the view with a click on view_point, which clears the selection,
# selects ITEM (none: "") and opens the context menu.
# Usage: open_context_menu CLASS ITEM
open_context_menu() {
  select_item "$@"
  xdotool key "$context_menu_key"
}

# Focuses the view with a click on view_point, which clears the selection,
# and selects ITEM (none: "").
# Usage: select_item CLASS ITEM
select_item() {
  local id
  id=$(window_of_class "$1")
  # shellcheck disable=SC2086  # the points are "X Y"
  xdotool mousemove --window "$id" $view_point click 1
  sleep 0.5
  # shellcheck disable=SC2086
  [ -n "$rest_point" ] && xdotool mousemove --window "$id" $rest_point
  # An empty subscript is an error in bash's associative arrays.
  if [ -n "$2" ] && [ -n "${item_keys[$2]:-}" ]; then
    # shellcheck disable=SC2086  # the keys are split
    xdotool key ${item_keys[$2]}
  elif [ -n "$2" ]; then
    xdotool type --delay 50 "$2"
    sleep 0.5
    [ -n "$typeahead_end" ] && xdotool key "$typeahead_end"
  fi
  sleep 0.5
}

# Chooses "Quorbitz" > TITLE in the context menu of ITEM (as
# open_context_menu takes it) with the keyboard: Up walks the menu until the
# accessibility bus says "Quorbitz" has the focus, Right opens it, Down walks
# to TITLE. The screen is saved as <host>-SHOT.png unless SHOT is "", and
# Return chooses the entry.
# Usage: choose_by_focus CLASS SHOT ITEM Quorbitz TITLE
choose_by_focus() {
  open_context_menu "$1" "$3"
  tests/hosts/choose-by-name "$menu_app" Up "$4" || return 1
  xdotool key Right
  tests/hosts/choose-by-name "$menu_app" Down "$5" || return 1
  [ -n "$2" ] && shoot "$2"
  xdotool key Return
}

# The three menu choices every host's test makes, each checked by what it
# writes: Lock Folder on Cuts in the selection's menu, Sync Now in the
# folder's own menu, Copy Project Link on intro.mov. The menu of Cuts is saved
# as <host>-2-menu.png.
# Usage: check_menu_choices CLASS
check_menu_choices() {
  check_no_commands_yet
  choose_by_focus "$1" 2-menu Cuts Quorbitz "Lock Folder"
  expect_command "$(lock_cuts_command)" "Quorbitz > Lock Folder on the selected folder"
  choose_by_focus "$1" "" "" Quorbitz "Sync Now"
  expect_command '{"action":"sync_now"}' "Quorbitz > Sync Now in the folder's own menu"
  choose_by_focus "$1" "" intro.mov Quorbitz "Copy Project Link"
  expect_link_copied "Quorbitz > Copy Project Link on a file"
}

has_command() { grep -rqFx -- "$1" "$commands" 2>/dev/null; }
check_no_commands_yet() {
  [ -z "$(ls -A "$commands" 2>/dev/null)" ] || fail "commands were written before any was chosen"
}
# Waits for the command file holding exactly JSON; WHAT names the menu choice.
# Usage: expect_command JSON WHAT
expect_command() {
  wait_until 15 has_command "$1" || fail "$2 did not write $1"
  pass "$2 wrote $1"
}
path_json() { printf '%s' "${1//\//\\/}"; }
# The JSON of "Lock Folder" on the sample project's Cuts.
lock_cuts_command() { printf '{"action":"toggle_lock","path":"%s"}' "$(path_json "$root/Cuts")"; }

clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }
link_copied() { [ "$(clipboard)" = "https://quorbitz.test/p/film" ]; }
# Usage: expect_link_copied WHAT
expect_link_copied() {
  wait_until 15 link_copied || fail "$1 left \"$(clipboard)\" on the clipboard"
  pass "$1 put the project's link on the clipboard"
}

# --- The main application's answer --------------------------------------------
# The main application locks Cuts, writing aside and renaming; the status
# file's monitor makes the file manager ask again at once (screenshot
# <host>-3-locked.png). Past 3 s, the polling interval, the monitor did not
# work.
check_lock_shown() {
  tests/hosts/sample-tree "$work/container" "$root" Cuts
  wait_until 3 shot_shows 3-locked locked ||
    fail "no locked emblem within 3 s of the rewrite in $e2e_host-3-locked.png"
  pass "the locked emblem showed within 3 s of the rewrite"
}

# A main application that creates the status file, then writes it in two
# steps and closes it, gives no "decode failed" line: nothing reads the file
# before the close. A timer tick may still fall between the steps, so the
# write is tried twice before the check fails.
check_two_step_write() {
  two_step_write_is_quiet || two_step_write_is_quiet ||
    fail "a status file created, then written in two steps, was read half written: " \
         "$(grep -m 1 'decode failed' "$work/$e2e_host.log")"
  pass "a status file created, then written in two steps, was read only once complete"
}
two_step_write_is_quiet() {
  local failures half
  failures=$(grep -c 'decode failed' "$work/$e2e_host.log")
  mv "$finder/status.json" "$work/status.json"
  half=$(($(stat -c %s "$work/status.json") / 2))
  { sleep 0.02; head -c "$half" "$work/status.json"
    sleep 0.02; tail -c +$((half + 1)) "$work/status.json"; } >"$finder/status.json"
  sleep 1
  [ "$(grep -c 'decode failed' "$work/$e2e_host.log")" -eq "$failures" ]
}

# The main application drops the root: every emblem leaves the open window
# with no key pressed (screenshot <host>-4-withdrawn.png).
check_root_withdrawn() {
  printf '{"version":1,"roots":[]}\n' >"$finder/status.tmp"
  mv "$finder/status.tmp" "$finder/status.json"
  wait_until 10 shot_shows 4-withdrawn none ||
    fail "emblems are still visible 10 s after the root was withdrawn: $e2e_host-4-withdrawn.png"
  pass "every emblem left the window within 10 s of the root's withdrawal"
}

# --- Sync status in words -------------------------------------------------------
# The list view's "Sync Status" column and the "Quorbitz" section of the
# Properties dialog, read through the accessibility bus as a screen reader
# reads them (tests/hosts/screen-reader), never from pixels.

# Makes the file manager started next show folders in its list view with the
# "Sync Status" column, as a user who added the column through the view's
# settings has it: GSettings keys in a key file (GSETTINGS_BACKEND=keyfile,
# where the other checks use the memory backend). SCHEMA is the path of the
# file manager's settings (org/gnome/nautilus, org/nemo, org/mate/caja).
# Usage: use_status_column SCHEMA
use_status_column() {
  mkdir -p "$HOME/.config/glib-2.0/settings"
  printf "[%s/preferences]\ndefault-folder-viewer='list-view'\n\n[%s/list-view]\n%s\n" \
    "$1" "$1" "default-visible-columns=['name', 'size', 'quorbitz_status']" \
    >"$HOME/.config/glib-2.0/settings/keyfile"
  export GSETTINGS_BACKEND=keyfile
}

# True when the screen reader reads, for each KEY=TEXT given, TEXT: in
# KEY's row of the "Sync Status" column (WHERE "column"), or after the label
# KEY (WHERE "after"). The text read is left in $heard.
# Usage: reads WHERE KEY=TEXT...
reads() {
  local where=$1
  shift
  [ "$where" = column ] && set -- "Sync Status" "$@"
  heard=$(tests/hosts/screen-reader "$menu_app" "$where" "${@%%=*}" 2>/dev/null)
  [ "$where" = column ] && shift
  [ "$heard" = "$(printf '%s\n' "$@")" ]
}

# Ends the file manager, lays out the sample project afresh and starts
# COMMAND (as launch_with_extension_folder takes FOLDER and COMMAND) in its
# list view with the "Sync Status" column (use_status_column SCHEMA), whose
# window of X class CLASS is then checked by check_status_column and
# check_properties_section with PROPERTIES-KEY. Later launches get the
# memory backend again.
# Usage: check_status_in_words SCHEMA CLASS PROPERTIES-KEY FOLDER COMMAND...
check_status_in_words() {
  local schema=$1 class=$2 key=$3
  shift 3
  stop_app
  tests/hosts/sample-tree "$work/container" "$root"
  use_status_column "$schema"
  launch_with_extension_folder "$@"
  wait_until 60 has_window_of_class "$class" || fail "no $e2e_app window within 60 s"
  check_status_column
  check_properties_section "$class" "$key"
  check_still_running
  export GSETTINGS_BACKEND=memory
}

# Chooses the "Quorbitz" tab, where the dialog has tabs, and reads on.
quorbitz_section_reads() {
  tests/hosts/screen-reader "$menu_app" press Quorbitz >/dev/null 2>&1
  reads after "$@"
}

# The column of the sample project's root, as laid out afresh, reads each
# item's badge in words, and follows the main application's lock of Cuts.
check_status_column() {
  wait_until 30 reads column Cuts=Synced notes.txt=Syncing intro.mov=Synced \
    "Masters=Masters — clients download this" Scratch="Kept local" ||
    fail "the Sync Status column read: $(echo $heard)"
  pass "the Sync Status column reads Synced, Syncing, Masters and Kept local through AT-SPI"
  tests/hosts/sample-tree "$work/container" "$root" Cuts
  wait_until 10 reads column Cuts=Locked notes.txt=Syncing ||
    fail "10 s after Cuts was locked the column read: $(echo $heard)"
  pass "the column read Locked for Cuts once the main application locked it"
}

# The Properties dialog of the locked Cuts, opened with PROPERTIES-KEY, has
# a "Quorbitz" section with its status, project, lock and link. Dialogs that
# keep their pages in tabs show the section's words once its tab is chosen.
# Usage: check_properties_section CLASS PROPERTIES-KEY
check_properties_section() {
  select_item "$1" Cuts
  xdotool key "$2"
  if [ -n "${section_page_unread:-}" ]; then
    wait_until 15 tests/hosts/screen-reader "$menu_app" shows Quorbitz ||
      fail "the Properties dialog of Cuts lists no Quorbitz section"
    pass "the Properties dialog of Cuts lists the Quorbitz section ($section_page_unread)"
    return
  fi
  wait_until 15 quorbitz_section_reads Status=Locked Project=Film "Folder locked=Yes" \
    "Project link=https://quorbitz.test/p/film" ||
    fail "the Properties dialog of Cuts read: $(echo $heard)"
  pass "the Properties dialog of Cuts reads its status, project, lock and link"
}

# --- Items in sight first ----------------------------------------------------
# Builds bench/peers/emblem_log.c for the file manager, with FLAG... (its
# -D options), into $emblem_log. Started with LD_PRELOAD=$emblem_log and
# QUORBITZ_EMBLEM_LOG=$emblem_notes, the file manager notes there every
# emblem handed to it, in order.
# Usage: build_emblem_log FLAG...
build_emblem_log() {
  emblem_log=$work/emblem_log.so emblem_notes=$work/emblems
  # shellcheck disable=SC2046  # pkg-config's words are split
  gcc -O2 -shared -fPIC "$@" -o "$emblem_log" bench/peers/emblem_log.c \
    $(pkg-config --cflags --libs gio-2.0 gmodule-2.0) -ldl || fail "the emblem log did not build"
}

# How many distinct files of Many the emblem notes from line FROM on handed
# EMBLEM to.
# Usage: noted_since FROM EMBLEM
noted_since() {
  tail -n "+$1" "$emblem_notes" | grep -Eo "f[0-9]{4}\.mov emblem-quorbitz-$2\$" | sort -u | wc -l
}
all_noted_since() { [ "$(noted_since "$1" "$2")" -ge "$3" ]; }

# A folder of 2,000 files, Many, opened in the window (typed ahead and
# opened with Return) and brought to its top (Home: Thunar at times shows a
# folder it loaded scrolled down), changes every badge in one rewrite: the
# files in sight, the first 8 by name, are all among the first 300 new
# emblems handed over. Without the items in sight first they come spread
# over all 2,000.
# Usage: check_items_in_sight_first CLASS
check_items_in_sight_first() {
  local many=$root/Many count=2000 mark number first
  mkdir -p "$many"
  seq -f "$many/f%04g.mov" 1 "$count" | xargs touch
  wait_until 30 grep -Fq "badge? $many -> " "$finder/appex-trace.log" ||
    fail "$e2e_app did not ask about Many"
  select_item "$1" Many
  xdotool key Return
  wait_until 60 all_noted_since 1 pending "$count" ||
    fail "Many's $count files were not all handed their emblems within 60 s"
  xdotool key Home
  mark=$(($(wc -l <"$emblem_notes") + 1))
  SAMPLE_SYNCED=$(seq -f '"Many/f%04g.mov"' 1 "$count" | paste -sd,) \
    tests/hosts/sample-tree "$work/container" "$root"
  wait_until 60 all_noted_since "$mark" synced "$count" ||
    fail "Many's $count files were not all handed their new emblems within 60 s"
  first=$(tail -n "+$mark" "$emblem_notes" | grep -Eo "f[0-9]{4}\.mov emblem-quorbitz-synced\$" | head -n 300)
  for number in 1 2 3 4 5 6 7 8; do
    grep -q "^f000$number\.mov " <<<"$first" ||
      fail "f000$number.mov, in sight, was not among the first 300 files handed their new emblem"
  done
  pass "after a rewrite of 2,000 badges, the 8 files in sight were among the first 300 handed over"
}

check_still_running() {
  kill -0 "$app_pid" 2>/dev/null || fail "$e2e_app is no longer running"
  grep -Eq "quorbitz-(WARNING|CRITICAL)" "$work/$e2e_host.log" &&
    fail "the extension logged a warning"
  pass "$e2e_app is still running and the extension logged no warning"
}

e2e_end() {
  say "screenshots: $(ls "$artefacts/$e2e_host"-*.png 2>/dev/null | tr '\n' ' ')"
  say "PASS: $e2e_app end-to-end ($checks checks)"
}

# Ends the file manager started by launch_with_extension_folder.
stop_app() {
  [ -n "${app_pid:-}" ] || return 0
  kill -TERM -- "-$app_pid" 2>/dev/null
  wait_until 5 bash -c "! kill -0 -- -$app_pid 2>/dev/null"
  kill -KILL -- "-$app_pid" 2>/dev/null
  app_pid=""
}

e2e_cleanup() {
  local status=$?
  stop_app
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  if [ $status -ne 0 ] && [ -f "${work:-}/$e2e_host.log" ]; then
    say "--- $e2e_app's output (last 40 lines)"
    tail -n 40 "$work/$e2e_host.log"
    say "--- trace log"
    cat "$finder/appex-trace.log" 2>/dev/null
  fi
  rm -rf "${work:-}"
  exit $status
}
