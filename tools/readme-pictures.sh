#!/usr/bin/env bash
# Draws the README's pictures from the real app: the popover, the library,
# the annotation editor and the colour picker, each grabbed from its own
# window on a private X server and written to docs/images/; then the popover
# and the library again in the dark scheme (popover-dark.png, library-dark.png).
#
#   tools/readme-pictures.sh [--only light|dark] [path/to/tarnwick]     (default: build/tarnwick)
#
# Builds nothing. Needs xvfb-run, dbus-run-session, gdbus, trayer, xdotool,
# ImageMagick and qrencode (all installed by tools/setup.sh). Nothing of the
# user's is touched: HOME and the XDG folders live in a temporary directory
# and the X server and session bus exist only for the run.

# Points are printed as "x y" and split into two arguments on purpose.
# shellcheck disable=SC2046
set -euo pipefail

screen=1000x750  # the editor fills the screen, so this is its picture's size
max_bytes=153600

die() {
  echo "readme-pictures: $*" >&2
  # Inside the session, the windows on screen usually tell what went wrong.
  if [ -n "${DISPLAY:-}" ]; then xwininfo -root -tree >&2; fi
  exit 1
}

if [ "${1:-}" != --inside ]; then
  schemes=(light dark)
  if [ "${1:-}" = --only ]; then
    case "${2:-}" in light | dark) schemes=("$2") ;; *) die "--only takes light or dark" ;; esac
    shift 2
  fi
  repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  binary=${1:-$repo/build/tarnwick}
  [ -x "$binary" ] || die "no tarnwick binary at $binary (build it first, or pass its path)"
  for tool in xvfb-run dbus-run-session gdbus trayer xdotool import convert compare qrencode; do
    command -v "$tool" >/dev/null || die "$tool is not installed"
  done
  mkdir -p "$repo/docs/images"
  for scheme in "${schemes[@]}"; do
    xvfb-run -a -s "-screen 0 ${screen}x24" dbus-run-session -- \
      "$(realpath "${BASH_SOURCE[0]}")" --inside "$(realpath "$binary")" "$repo/docs/images" "$scheme"
  done
  exit 0
fi

# ---------------------------------------------------------------------------
# Believable captures, drawn with ImageMagick: a desktop with a top bar and
# one window. The draw helpers add to `args`, with coordinates relative to the
# window's content area (OX, OY), baselines for text.

sans=DejaVu-Sans
bold=DejaVu-Sans-Bold
mono=DejaVu-Sans-Mono

begin_shot() {  # begin_shot <width> <height> <window title> <window background> [dark]
  W=$1 H=$2
  local title=$3 background=$4 dark=${5:-}
  WX=$((W / 14)) WY=$((H / 10))
  local right=$((W - W / 14)) bottom=$((H - H / 14))
  CW=$((right - WX)) CH=$((bottom - WY - 34))
  local bar=#e9eaee ink=#3a3d44
  [ -n "$dark" ] && bar=#2b2d33 ink=#c9ccd3
  args=(-size "${W}x${H}" gradient:'#4f6f96-#1f2d40'
    -fill '#14161a' -draw "rectangle 0,0 $W,27"
    -font "$sans" -pointsize 13 -fill '#e6e6e6' -annotate +14+19 'Activities'
    -annotate "+$((W / 2 - 46))+19" 'Tue 10:42'
    -fill '#00000055' -draw "roundrectangle $((WX + 3)),$((WY + 6)),$((right + 3)),$((bottom + 8)),10,10"
    -fill "$bar" -draw "roundrectangle $WX,$WY,$right,$bottom,9,9"
    -fill "$background" -draw "rectangle $WX,$((WY + 34)),$right,$((bottom - 9))"
    -draw "roundrectangle $WX,$((bottom - 20)),$right,$bottom,9,9"
    -font "$bold" -pointsize 13 -fill "$ink" -gravity north -annotate "+$(((WX - (W - right)) / 2))+$((WY + 10))" "$title"
    +gravity -font "$sans" -pointsize 16 -annotate "+$((right - 30))+$((WY + 23))" '×'
    -annotate "+$((right - 56))+$((WY + 23))" '□' -annotate "+$((right - 82))+$((WY + 22))" '–')
  OX=$WX OY=$((WY + 34))
}

text() {  # text <x> <baseline y> <points> <colour> <string> [font]
  # Leading spaces are not drawn: indent by a monospace advance each.
  local body=${5#"${5%%[! ]*}"}
  local indent=$(((${#5} - ${#body}) * $3 * 602 / 1000))
  args+=(-font "${6:-$sans}" -pointsize "$3" -fill "$4" -annotate "+$((OX + $1 + indent))+$((OY + $2))" "$body")
}

box() {  # box <x1> <y1> <x2> <y2> <colour> [corner radius]
  local corners=
  [ "${6:-0}" -gt 0 ] && corners=",$6,$6"
  args+=(-fill "$5" -draw "${corners:+round}rectangle $((OX + $1)),$((OY + $2)),$((OX + $3)),$((OY + $4))$corners")
}

picture() {  # picture <file> <x> <y>
  args+=("$1" -geometry "+$((OX + $2))+$((OY + $3))" -composite)
}

end_shot() {  # end_shot <file>
  # Without gAMA/cHRM, as a screenshot tool writes it: the pixels are sRGB
  # as they stand, so the picker shows the values the swatches are labelled with.
  convert "${args[@]}" -depth 8 -define png:exclude-chunk=bKGD,cHRM,gAMA,sRGB,date,time "$1"
}

shot_code() {
  begin_shot 1280 800 'capture_queue.cpp — ~/src/tarnwick' '#1f2329' dark
  box 0 0 220 $CH '#191c21'
  box 0 80 220 103 '#2c3340'
  local y=24 f
  for f in 'src' '  core' '    capture' '      CaptureQueue.cpp' '      CaptureQueue.h' '      Thumbnailer.cpp' '    picker' '  ui' 'tests' 'CMakeLists.txt'; do
    text 14 $y 13 '#9aa3b0' "$f" "$mono"; y=$((y + 24))
  done
  local lines=(
    '#c678dd|#include "capture/CaptureQueue.h"'
    '#abb2bf|'
    '#c678dd|namespace {'
    '#7f848e|// Newest first; a path seen twice keeps its first place.'
    '#61afef|constexpr int maxItems = 100;'
    '#c678dd|}  // namespace'
    '#abb2bf|'
    '#e5c07b|void CaptureQueue::push(ScreenshotItem item)'
    '#abb2bf|{'
    '#abb2bf|    if (contains(item.filePath()))'
    '#c678dd|        return;'
    '#abb2bf|    m_items.prepend(std::move(item));'
    '#abb2bf|    while (m_items.size() > maxItems)'
    '#abb2bf|        m_items.removeLast();'
    '#98c379|    Q_EMIT changed();'
    '#abb2bf|}'
    '#abb2bf|'
    '#e5c07b|bool CaptureQueue::contains(const QString &path) const'
    '#abb2bf|{'
    '#abb2bf|    return std::ranges::any_of(m_items, [&](const auto &i) {'
    '#abb2bf|        return i.filePath() == path;'
    '#abb2bf|    });'
    '#abb2bf|}')
  local n=1 line
  y=26
  for line in "${lines[@]}"; do
    text 236 $y 14 '#4b5263' "$(printf '%3d' $n)" "$mono"
    text 280 $y 14 "${line%%|*}" "${line#*|}" "$mono"
    y=$((y + 25)) n=$((n + 1))
  done
  end_shot "$1"
}

shot_terminal() {
  begin_shot 1100 700 'Terminal — build' '#101214' dark
  local lines=(
    '#8ae234|~/src/tarnwick $ cmake --build build -j2'
    '#d3d7cf|[118/158] Building CXX object src/core/CMakeFiles/tarnwick_core.dir/picker/ColorSampler.cpp.o'
    '#d3d7cf|[119/158] Building CXX object src/core/CMakeFiles/tarnwick_core.dir/picker/PickHistory.cpp.o'
    '#d3d7cf|[120/158] Building CXX object src/ui/CMakeFiles/tarnwick_ui.dir/library/LibraryView.cpp.o'
    '#d3d7cf|[158/158] Linking CXX executable tarnwick'
    '#8ae234|~/src/tarnwick $ ctest --test-dir build -j2'
    '#d3d7cf|Test project /home/ana/src/tarnwick/build'
    '#d3d7cf|    Start 1: test_capture_queue'
    '#4e9a06|1/42 Test  #1: test_capture_queue ...............   Passed    0.04 sec'
    '#4e9a06|2/42 Test  #2: test_color_sampler ...............   Passed    0.11 sec'
    '#4e9a06|3/42 Test  #3: test_folder_capture ..............   Passed    1.32 sec'
    '#d3d7cf|   ...'
    '#4e9a06|100% tests passed, 0 tests failed out of 42'
    '#8ae234|~/src/tarnwick $ git log --oneline -3'
    '#c4a000|4c1e9b2 Picker: the loupe follows the pointer'
    '#c4a000|a73d0f1 Library: rows show the capture time'
    '#c4a000|19be6c3 Editor: text marks wrap at 360 px'
    '#8ae234|~/src/tarnwick $ ')
  local y=26 line
  for line in "${lines[@]}"; do
    text 16 $y 14 "${line%%|*}" "${line#*|}" "$mono"; y=$((y + 24))
  done
  box 190 $((y - 40)) 199 $((y - 22)) '#d3d7cf'
  end_shot "$1"
}

shot_article() {
  begin_shot 1280 800 'Release notes — Web Browser' '#ffffff'
  box 0 0 $CW 44 '#f1f2f5'
  box 90 8 $((CW - 90)) 36 '#ffffff' 14
  text 110 28 13 '#5f6368' 'https://notes.example.org/releases/2026-12'
  text 120 110 34 '#1b1f24' 'What is new in December' "$bold"
  text 120 146 15 '#6a737d' 'Published 6 December 2026 · 4 min read'
  box 120 176 760 400 '#dfe8f3' 8
  box 150 206 420 370 '#8fb3dd' 6
  box 450 206 730 280 '#c3d6ec' 6
  box 450 296 730 370 '#c3d6ec' 6
  local y=440 line
  for line in 'Captures now arrive in the library the moment they are saved, with' \
    'their thumbnails drawn in the background so nothing waits on a large' \
    'image. The colour picker keeps the last few picks, and the editor' \
    'remembers the colour and line width you used last.' '' \
    'Text recognition runs on demand: copy the words in any capture with' \
    'one click, or scan the QR codes and bar codes it contains.'; do
    text 120 $y 17 '#24292e' "$line"; y=$((y + 30))
  done
  box 890 110 $((CW - 30)) 420 '#f6f8fa' 8
  text 906 145 15 '#1b1f24' 'In this release' "$bold"
  y=180
  for line in 'Library' 'Colour picker' 'Annotation editor' 'Text and codes' 'Known issues'; do
    text 906 $y 15 '#0366d6' "$line"; y=$((y + 32))
  done
  end_shot "$1"
}

shot_qr() {
  begin_shot 1200 760 'Join meeting — Calendar' '#fafafa'
  qrencode -o "$work/qr.png" -s 7 -m 2 'https://meet.example.com/j/4F7K-Q2XZ'
  box 60 60 560 560 '#ffffff' 12
  text 100 120 26 '#202124' 'Design review' "$bold"
  text 100 160 16 '#5f6368' 'Thursday, 11 December · 14:00 – 15:00'
  text 100 210 16 '#202124' 'Scan to join from your phone, or open'
  text 100 238 16 '#1a73e8' 'meet.example.com/j/4F7K-Q2XZ'
  text 100 300 15 '#5f6368' 'Guests'
  local y=334 who
  for who in 'Ana Ribeiro (organiser)' 'Tomas Lindqvist' 'Mei Okafor' 'Jon Haraldsen'; do
    args+=(-fill '#7baaf7' -draw "circle $((OX + 112)),$((OY + y - 5)) $((OX + 123)),$((OY + y - 5))")
    text 136 $y 15 '#202124' "$who"; y=$((y + 36))
  done
  box 610 60 $((CW - 60)) 560 '#ffffff' 12
  picture "$work/qr.png" 680 130
  text 690 500 15 '#5f6368' 'Meeting code 4F7K-Q2XZ'
  end_shot "$1"
}

shot_chart() {
  begin_shot 1280 800 'Weekly report — Dashboard' '#f4f6fa'
  local i x colours=('#4f7cff' '#20b486' '#ff9f43' '#ee5a6f')
  local labels=('Visitors' 'Sign-ups' 'Orders' 'Refunds') values=('48 210' '1 932' '3 407' '58')
  for i in 0 1 2 3; do
    x=$((40 + i * 262))
    box $x 30 $((x + 240)) 130 '#ffffff' 10
    box $x 30 $((x + 6)) 130 "${colours[i]}" 3
    text $((x + 24)) 66 14 '#6b7280' "${labels[i]}"
    text $((x + 24)) 108 28 '#111827' "${values[i]}" "$bold"
  done
  box 40 160 760 $((CH - 40)) '#ffffff' 10
  text 64 196 16 '#111827' 'Orders per day' "$bold"
  local heights=(150 200 175 250 280 230 320 300 350 260 370 330 390 360)
  for i in "${!heights[@]}"; do
    x=$((70 + i * 48))
    box $x $((CH - 70 - heights[i])) $((x + 30)) $((CH - 70)) '#4f7cff' 4
  done
  box 790 160 $((CW - 40)) $((CH - 40)) '#ffffff' 10
  text 814 196 16 '#111827' 'Top regions' "$bold"
  local regions=('Nordics|150|#20b486' 'Iberia|120|#4f7cff' 'Benelux|95|#ff9f43' 'Baltics|60|#ee5a6f' 'Alps|45|#8b5cf6')
  local y=240 r
  for r in "${regions[@]}"; do
    IFS='|' read -r name width colour <<<"$r"
    text 814 $y 14 '#374151' "$name"
    box 880 $((y - 14)) $((880 + width)) $((y + 2)) "$colour" 4
    y=$((y + 44))
  done
  end_shot "$1"
}

shot_chat() {
  begin_shot 1000 720 'Team chat — #release' '#ffffff'
  box 0 0 240 $CH '#3f0f40'
  text 20 34 17 '#ffffff' 'Tarnwick crew' "$bold"
  local y=80 c
  for c in '# general' '# release' '# design' '# random'; do
    text 20 $y 15 '#d9c6da' "$c"; y=$((y + 30))
  done
  box 0 88 240 116 '#1164a3'
  text 20 110 15 '#ffffff' '# release'
  local msgs=(
    'Mei|#e8912d|10:31|The library window looks great on the small laptop screen.'
    'Jon|#2eb67d|10:33|Can we ship the picker today? The loupe fix is merged.'
    'Ana|#36c5f0|10:36|Yes — tagging 2.4 after the last review.'
    'Tomas|#ecb22e|10:40|Screenshot of the final build attached below.')
  y=50
  local m who colour at body
  for m in "${msgs[@]}"; do
    IFS='|' read -r who colour at body <<<"$m"
    box 270 $((y - 24)) 306 $((y + 12)) "$colour" 6
    text 318 $((y - 8)) 15 '#1d1c1d' "$who" "$bold"
    text $((330 + ${#who} * 10)) $((y - 8)) 12 '#616061' "$at"
    text 318 $((y + 16)) 15 '#1d1c1d' "$body"
    y=$((y + 74))
  done
  box 318 $((y - 30)) 620 $((y + 120)) '#e8eef7' 8
  box 338 $((y - 10)) 600 $((y + 100)) '#7aa2d6' 6
  box 262 $((CH - 80)) $((CW - 20)) $((CH - 30)) '#ffffff' 8
  args+=(-fill none -stroke '#bbbbbb' -draw "roundrectangle $((OX + 262)),$((OY + CH - 80)),$((OX + CW - 20)),$((OY + CH - 30)),8,8" -stroke none)
  text 280 $((CH - 48)) 15 '#999999' 'Message #release'
  end_shot "$1"
}

shot_palette() {
  begin_shot 1000 900 'Brand colours — Design' '#ffffff'
  text 40 50 26 '#1f2933' 'Colour tokens' "$bold"
  local swatches=('#0b3d91|Navy' '#1e6fd9|Ocean' '#35a7ff|Sky' '#2bb673|Mint' '#f9c80e|Sun'
    '#f86624|Ember' '#ea3546|Signal' '#662e9b|Plum' '#43bccd|Lagoon' '#2d2d2a|Ink')
  local i=0 s colour name x y
  for s in "${swatches[@]}"; do
    colour=${s%%|*} name=${s#*|}
    x=$((40 + (i % 5) * 160)) y=$((80 + (i / 5) * 220))
    box $x $y $((x + 140)) $((y + 130)) "$colour" 10
    text $x $((y + 156)) 15 '#1f2933' "$name" "$bold"
    text $x $((y + 178)) 13 '#616e7c' "${colour^^}" "$mono"
    i=$((i + 1))
  done
  text 40 540 18 '#1f2933' 'Ocean tints' "$bold"
  local tints=('#e3eefc' '#bcd5f7' '#8fb8f1' '#5f98ea' '#1e6fd9' '#1859b0' '#124386' '#0c2d5c')
  for i in "${!tints[@]}"; do
    box $((40 + i * 95)) 560 $((40 + i * 95 + 88)) 640 "${tints[i]}" 6
  done
  end_shot "$1"
}

shot_settings() {
  begin_shot 1000 700 'Settings — Network' '#f6f6f6'
  box 0 0 230 $CH '#ececec'
  local y=40 item
  for item in 'Wi-Fi' 'Network' 'Bluetooth' 'Displays' 'Sound' 'Power' 'Privacy'; do
    text 24 $y 15 '#2e3436' "$item"; y=$((y + 36))
  done
  box 10 55 220 85 '#3584e4' 6
  text 24 76 15 '#ffffff' 'Network'
  text 270 50 22 '#2e3436' 'Wired' "$bold"
  box 270 70 $((CW - 40)) 190 '#ffffff' 10
  text 290 108 15 '#2e3436' 'Connected — 1000 Mb/s'
  text 290 150 14 '#77767b' 'IPv4 192.168.1.42   ·   Gateway 192.168.1.1'
  box $((CW - 110)) 92 $((CW - 60)) 118 '#3584e4' 13
  args+=(-fill white -draw "circle $((OX + CW - 74)),$((OY + 105)) $((OX + CW - 64)),$((OY + 105))")
  text 270 240 22 '#2e3436' 'VPN' "$bold"
  box 270 260 $((CW - 40)) 380 '#ffffff' 10
  text 290 298 15 '#2e3436' 'Office (WireGuard)'
  text 290 340 14 '#77767b' 'Not connected'
  box $((CW - 110)) 282 $((CW - 60)) 308 '#c0bfbc' 13
  args+=(-fill white -draw "circle $((OX + CW - 96)),$((OY + 295)) $((OX + CW - 86)),$((OY + 295))")
  text 270 430 22 '#2e3436' 'Proxy' "$bold"
  box 270 450 $((CW - 40)) 520 '#ffffff' 10
  text 290 492 15 '#2e3436' 'Off'
  end_shot "$1"
}

shot_calendar() {
  begin_shot 1280 800 'December 2026 — Calendar' '#ffffff'
  text 40 50 26 '#202124' 'December 2026' "$bold"
  local days=(Mon Tue Wed Thu Fri Sat Sun) i cw=$(((CW - 80) / 7)) ch=$(((CH - 120) / 5))
  for i in "${!days[@]}"; do
    text $((40 + i * cw + 8)) 90 13 '#70757a' "${days[i]}"
  done
  local row col day x y
  for row in 0 1 2 3 4; do
    for col in 0 1 2 3 4 5 6; do
      x=$((40 + col * cw)) y=$((100 + row * ch))
      args+=(-fill none -stroke '#dadce0' -draw "rectangle $((OX + x)),$((OY + y)),$((OX + x + cw)),$((OY + y + ch))" -stroke none)
      day=$((row * 7 + col))
      [ $day -ge 1 ] && [ $day -le 31 ] && text $((x + 8)) $((y + 22)) 14 '#3c4043' "$day"
    done
  done
  local events=('8|Design review|#1a73e8' '10|Release 2.4|#d93025' '16|Team lunch|#188038' '18|1:1 Mei|#f29900' '23|Holiday|#9334e6' '11|Standup|#1a73e8')
  local e d title colour
  for e in "${events[@]}"; do
    IFS='|' read -r d title colour <<<"$e"
    row=$((d / 7)) col=$((d % 7))
    x=$((40 + col * cw + 6)) y=$((100 + row * ch + 32))
    box $x $y $((x + cw - 12)) $((y + 22)) "$colour" 4
    text $((x + 6)) $((y + 16)) 12 '#ffffff' "$title"
  done
  end_shot "$1"
}

shot_files() {
  begin_shot 1100 720 'Pictures — Files' '#ffffff'
  box 0 0 200 $CH '#f6f5f4'
  box 10 160 190 186 '#dcdcdc' 6
  local y=40 place
  for place in 'Recent' 'Home' 'Documents' 'Downloads' 'Pictures' 'Music' 'Trash'; do
    text 24 $y 14 '#2e3436' "$place"; y=$((y + 34))
  done
  local names=('Holidays' 'Screenshots' 'Wallpapers' 'Scans' 'sunset.jpg' 'harbour.jpg' 'cat.png' 'plan.svg' 'receipt.pdf' 'avatar.png')
  local tones=('#62a0ea' '#62a0ea' '#62a0ea' '#62a0ea' '#f5a36b' '#5d8aa8' '#c9a27e' '#9bd08f' '#e66100' '#b58ede')
  local i x
  for i in "${!names[@]}"; do
    x=$((230 + (i % 5) * 138)) y=$((40 + (i / 5) * 170))
    if [ "$i" -lt 4 ]; then
      box $x $((y + 8)) $((x + 110)) $((y + 96)) "${tones[i]}" 8
      box $x $y $((x + 46)) $((y + 20)) "${tones[i]}" 5
    else
      box $((x + 10)) $y $((x + 100)) $((y + 100)) "${tones[i]}" 4
    fi
    text $((x + 8)) $((y + 126)) 13 '#2e3436' "${names[i]}"
  done
  end_shot "$1"
}

shot_sheet() {
  begin_shot 1280 800 'budget-2027.ods — Spreadsheet' '#ffffff'
  box 0 0 $CW 36 '#f3f3f3'
  text 14 24 13 '#333333' 'A1' "$mono"
  text 80 24 13 '#333333' '=SUM(C2:C14)' "$mono"
  local cols=(A B C D E F G) widths=(60 260 140 140 140 140 140)
  local x=40 c r y
  for c in "${!cols[@]}"; do
    text $((x + widths[c] / 2 - 4)) 58 12 '#666666' "${cols[c]}"; x=$((x + widths[c]))
  done
  local rows=('Item|Q1|Q2|Q3|Q4' 'Rent|3 600|3 600|3 600|3 750' 'Cloud hosting|1 240|1 310|1 420|1 515'
    'Laptops|4 800|0|2 400|0' 'Travel|620|1 150|480|930' 'Conferences|0|1 900|0|2 100'
    'Software|890|890|910|910' 'Coffee|210|230|220|260' 'Total|11 360|9 080|9 030|9 465')
  y=70
  for r in "${!rows[@]}"; do
    IFS='|' read -r -a cells <<<"${rows[r]}"
    [ "$r" -eq 0 ] || [ "$r" -eq 8 ] && box 40 $y $((CW - 40)) $((y + 30)) '#e8f0fe'
    text 14 $((y + 21)) 12 '#666666' "$((r + 1))"
    x=100
    for c in "${!cells[@]}"; do
      text $((x + 8)) $((y + 21)) 14 '#202124' "${cells[c]}" "$([ "$r" -eq 0 ] && echo "$bold" || echo "$sans")"
      x=$((x + (c == 0 ? 260 : 140)))
    done
    args+=(-fill none -stroke '#e0e0e0' -draw "line $((OX + 40)),$((OY + y + 30)) $((OX + CW - 40)),$((OY + y + 30))" -stroke none)
    y=$((y + 30))
  done
  box 100 $((y + 40)) 700 $((y + 240)) '#fafafa' 6
  local i h
  for i in 0 1 2 3; do
    h=$((60 + i * 30))
    box $((140 + i * 140)) $((y + 220 - h)) $((200 + i * 140)) $((y + 220)) '#34a853' 3
  done
  end_shot "$1"
}

shot_photo() {
  begin_shot 1280 800 'harbour.jpg — Image Viewer' '#1c1c1c' dark
  args+=(\( -size "$((CW - 80))x$((CH - 80))" gradient:'#f6b26b-#3d6e99' \)
    -geometry "+$((OX + 40))+$((OY + 30))" -composite)
  box 40 $((CH - 200)) $((CW - 40)) $((CH - 50)) '#1e3a5c'
  local i
  for i in 0 1 2 3 4 5; do
    box $((120 + i * 160)) $((CH - 260 + (i % 3) * 12)) $((200 + i * 160)) $((CH - 200)) '#2b2b33'
  done
  args+=(-fill '#fff3c4' -draw "circle $((OX + 900)),$((OY + 220)) $((OX + 960)),$((OY + 220))")
  text 40 $((CH - 18)) 13 '#bbbbbb' 'harbour.jpg   4032 × 3024   2.8 MB'
  end_shot "$1"
}

# ---------------------------------------------------------------------------
# The session: a tray, the app, twelve captures arriving in the watched
# folder, then each window driven the way a user would and grabbed.

binary=$2
outdir=$3
scheme=${4:-light}
work=$(mktemp -d)
pids=()

cleanup() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
# Stands in for the desktop's choice, which this bare X server has none of.
export TARNWICK_COLOR_SCHEME=$scheme
unset XDG_PICTURES_DIR XDG_CURRENT_DESKTOP QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
mkdir -p "$XDG_CONFIG_HOME/Tarnwick" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$HOME/Pictures" "$work/staged"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# shellcheck disable=SC2016  # the file's own syntax: expanded by whoever reads it
printf 'XDG_PICTURES_DIR="$HOME/Pictures"\n' >"$XDG_CONFIG_HOME/user-dirs.dirs"
# Nothing else runs on this display; this keeps the captures to the folder's.
printf '[General]\nclipboardCaptureEnabled=false\n' >"$XDG_CONFIG_HOME/Tarnwick/Tarnwick.conf"
watched=$(xdg-user-dir PICTURES)/Screenshots
mkdir -p "$watched"

wait_until() {  # wait_until <what> <command...>: polls for up to 20 s
  local what=$1 deadline=$((SECONDS + 20))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || die "timed out waiting for $what"
    sleep 0.2
  done
}

window_size() {  # window_size <id>: prints "width height"
  xdotool getwindowgeometry --shell "$1" | awk -F= '/^WIDTH/ {w = $2} /^HEIGHT/ {h = $2} END {print w, h}'
}

window_id() {  # window_id <title> [<width>x<height>]: a mapped window's id
  local id
  for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    if [ -z "${2:-}" ] || [ "$(window_size "$id")" = "${2/x/ }" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

bus_property() {
  gdbus call --session --dest com.tarnwick.Tarnwick --object-path / \
    --method org.freedesktop.DBus.Properties.Get com.tarnwick.Tarnwick "$1"
}

has_captures() {  # has_captures <count>
  [ "$(bus_property Screenshots | grep -o "\.png'" | wc -l)" -eq "$1" ]
}

rest_pointer() {  # away from every window, so no hover state shows
  xdotool mousemove 0 "$(xdotool getdisplaygeometry | cut -d' ' -f2)"
}

grab() {  # grab <window id> <file>: once two grabs half a second apart agree
  local i
  import -window "$1" "$work/before.png"
  for i in $(seq 30); do
    sleep 0.5
    import -window "$1" "$2"
    [ "$(compare -metric AE "$work/before.png" "$2" null: 2>&1)" = 0 ] && return 0
    mv "$2" "$work/before.png"
  done
  echo "readme-pictures: window $1 was still changing; keeping the last grab" >&2
  mv "$work/before.png" "$2"
}

publish() {  # publish <grab> <name>: written small enough for a README
  local out=$outdir/$2.png
  local width
  width=$(identify -format '%w' "$1")
  local fit=()
  [ "$width" -gt 1000 ] && fit=(-resize 1000x)
  convert "$1" "${fit[@]}" -strip -define png:exclude-chunk=date,time "$out"
  if [ "$(stat -c %s "$out")" -gt "$max_bytes" ]; then
    convert "$1" "${fit[@]}" -strip -dither None -colors 256 -define png:exclude-chunk=date,time "$out"
  fi
  echo "$out: $(identify -format '%wx%h' "$out"), $(($(stat -c %s "$out") / 1024)) KB"
}

click() {  # click <window id> <x> <y>
  xdotool mousemove --window "$1" "$2" "$3" click 1 sleep 0.25
}

drag() {  # drag <window id> <x1> <y1> <x2> <y2>: a press, two moves and a release
  xdotool mousemove --window "$1" "$2" "$3" mousedown 1 sleep 0.1 \
    mousemove --window "$1" $((($2 + $4) / 2)) $((($3 + $5) / 2)) sleep 0.1 \
    mousemove --window "$1" "$4" "$5" sleep 0.1 mouseup 1 sleep 0.3
}

# The tray first, so the app docks its icon and the popover hangs under it.
trayer --edge top --align right --widthtype request --height 24 --SetDockType true --transparent false \
  >/dev/null 2>&1 &
pids+=($!)
wait_until "the tray" window_id panel
"$binary" >"$work/tarnwick.log" 2>&1 &
pids+=($!)
wait_until "the app on the session bus" bus_property UnreadCount
# An icon embedded in the tray is out of xdotool's reach; xwininfo lists it.
docked() { xwininfo -root -tree | grep -q '"Tarnwick": .* 22x22+'; }
wait_until "the tray icon" docked

# Oldest first, a second apart so each name is its own; the last is the one
# the popover opens on (its QR code gets the badge).
kinds=(photo files calendar sheet settings palette terminal chat chart code article qr)
for kind in "${kinds[@]}"; do
  "shot_$kind" "$work/staged/$kind.png"
done
count=0
declare -A saved
for kind in "${kinds[@]}"; do
  saved[$kind]="$watched/Screenshot from $(date +'%Y-%m-%d %H-%M-%S').png"
  mv "$work/staged/$kind.png" "${saved[$kind]}"
  count=$((count + 1))
  wait_until "capture $count" has_captures "$count"
  sleep 1
done

# The popover, on the newest capture.
"$binary" --toggle
wait_until "the popover" window_id Tarnwick 360x480
rest_pointer
sleep 1  # the code scan starts once the popover shows
grab "$(window_id Tarnwick 360x480)" "$work/popover.png"
"$binary" --toggle
popover_closed() { ! window_id Tarnwick 360x480; }
wait_until "the popover to close" popover_closed

# The library, with the fourth row (the dashboard) selected. Rows are 46
# pixels high under a 51-pixel header.
"$binary" --library
wait_until "the library" window_id Library
library=$(window_id Library)
click "$library" 140 $((51 + 3 * 46 + 23))
rest_pointer
grab "$library" "$work/library.png"

if [ "$scheme" = dark ]; then
  for name in popover library; do
    publish "$work/$name.png" "$name-dark"
  done
  exit 0
fi

# The editor fills the screen; the image is fitted below the 44-pixel toolbar
# and its divider, centred. Marks are placed in the article's own pixels.
"$binary" --annotate "${saved[article]}"
wait_until "the editor" window_id Annotate
editor=$(window_id Annotate)
sleep 0.5  # the image is decoded in the background
read -r ew eh <<<"$(window_size "$editor")"
read -r iw ih <<<"$(identify -format '%w %h' "${saved[article]}")"
at() {  # at <image x> <image y>: the window point showing it
  awk -v x="$1" -v y="$2" -v w="$ew" -v h="$eh" -v iw="$iw" -v ih="$ih" 'BEGIN {
    ah = h - 45; s = w / iw < ah / ih ? w / iw : ah / ih
    printf "%d %d", (w - iw * s) / 2 + x * s, 45 + (ah - ih * s) / 2 + y * s }'
}
# Toolbar: 32-pixel tool buttons from x 6, 2 apart (arrow, rectangle, circle,
# highlight, text); the colours are 35 apart from x 216 (red, orange, green,
# blue, yellow, white); with the text tool, font size 24 sits at x 511.
tool() { click "$editor" $((22 + 34 * $1)) 22; }
colour() { click "$editor" $((216 + 35 * $1)) 22; }
deselect() { click "$editor" $(at 40 785); }  # a click on nothing drops the selection
tool 0; colour 0
drag "$editor" $(at 988 629) $(at 815 691)
deselect
tool 1; colour 3
drag "$editor" $(at 985 236) $(at 1160 440)
deselect
tool 3; colour 4
drag "$editor" $(at 207 684) $(at 803 709)
deselect
tool 4; colour 0; click "$editor" 511 22
click "$editor" $(at 862 566)
sleep 0.3
xdotool type --delay 40 'Try this first!'
xdotool key Escape  # ends the text
tool 0
deselect
rest_pointer
grab "$editor" "$work/editor.png"

# The picker, over the editor: three picks, the last one showing in the bar.
"$binary" --pick-color "${saved[palette]}"
wait_until "the picker" window_id 'Color Picker'
picker=$(window_id 'Color Picker')
sleep 0.5
spot() {  # spot <colour>: the middle of where the colour shows in the picker
  import -window "$picker" "$work/spot.png"
  convert "$work/spot.png" -alpha off -fuzz 3% -fill black +opaque "$1" -fill white -opaque "$1" -format '%@' info: |
    awk -F'[x+]' '{printf "%d %d", $3 + $1 / 2, $4 + $2 / 2}'
}
for swatch in '#662e9b' '#2bb673' '#ea3546'; do
  click "$picker" $(spot "$swatch")
done
rest_pointer
grab "$picker" "$work/picker.png"

for name in popover library editor picker; do
  publish "$work/$name.png" "$name"
done
