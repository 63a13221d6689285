#!/usr/bin/env bash
# The idle cost of the running clock under Xvfb, side by side in one run with `xclock -update 1`
# and a minimal Qt Widgets window redrawing two dials twice a second (the floor for the toolkit);
# the same window writing the two times as digits shows what text alone adds. A window of the clock's
# kinds of widgets (menu bar, combo box, labels in its two fonts) redrawn once a second in Qt's
# ordinary way shows what those widgets need.
#
# Each round starts the five programs on one virtual screen, side by side without overlapping, lets
# them settle for two seconds and then leaves them alone while it measures, for each program:
#   - CPU time of all its threads, from the scheduler's counters, scaled to a minute;
#   - wake-ups: voluntary context switches of all its threads, scaled to a minute;
#   - how late after each second of the computer's clock the window first changes (the X server's
#     DAMAGE reports, received by bench/idle/damagewatch, against the wall clock): the median, the
#     95th percentile and the share of seconds within 20 ms; a second without any change counts as
#     a whole second late;
#   - peak and final resident memory, and the milliseconds from start to its mapped window.
# Then it chooses a city in Horavista's list once a second, from the keyboard, and measures the same
# for that busier minute, the lateness being that of the chosen city's dial after the key (the X
# server's DAMAGE reports against the moment the key went to it, bench/idle/choosewatch).
# It prints a Markdown table of the medians over the rounds, with the lowest and highest round in
# brackets where rounds disagree, and the machine's load before and after, to paste into the README.
# The figures depend on what else the machine does: run it on a quiet machine.
#
# Usage: bench/idle/idle.sh [seconds per round, 60] [rounds, 3]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
seconds=${1:-60}
rounds=${2:-3}
build="$top/build/bench"

"$top/scripts/setup.sh"
tools=(x11-apps libx11-dev libxdamage-dev libxtst-dev)
for package in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >/dev/null
done
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHORAVISTA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target horavista minimal_dials widget_floor mapwait damagewatch choosewatch >/dev/null

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/horavista"
chmod 700 "$work"
cp "$top/assets/icon/ico.ico" "$work/horavista/"
export XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb

# A fresh X server for each round. It picks a free display number itself and tells it when it is
# ready to take clients.
start_display() {
    rm -f "$work/display"
    Xvfb -displayfd 3 -noreset -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { echo "idle: Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
}

# CPU time of every thread of the process, in milliseconds, to the nanosecond the scheduler counts.
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%.3f", ns / 1e6 }'; }
# Times any thread of the process went to sleep of its own accord: its wake-ups.
wakeups() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '$1 == "voluntary_ctxt_switches:" { n += $2 } END { print n }'; }
kib() { awk -v k="$2" '$1 == k":" { print $2 }' "/proc/$1/status"; }
load() { cut -d' ' -f1-3 /proc/loadavg; }

names=(horavista xclock qt-floor qt-floor-text qt-widgets)
# Choices to make: one a second; a third of the idle time, at least ten.
choices=$((seconds / 3 > 10 ? seconds / 3 : 10))
# Horavista's city list and the margin below it take the bottom 32 pixels of its window.
list_height=40
declare -A label=(
    [horavista]="Horavista"
    [horavista-choosing]="Horavista, a city chosen in its list each second (change after the key)"
    [xclock]="\`xclock -update 1\`"
    [qt-floor]="minimal Qt window, two dials redrawn twice a second (the floor)"
    [qt-floor-text]="the same, also writing the two times as digits"
    [qt-widgets]="a Qt window of the clock's kinds of widgets, redrawn once a second in Qt's ordinary way"
)
declare -A results
load_before=$(load)
for round in $(seq "$rounds"); do
    start_display
    declare -A pid window start_cpu start_wakeups
    # Horavista centres its window on the screen; the others go to the left and right edges, clear of it.
    for name in "${names[@]}"; do
        case $name in
        horavista) command=(env -C "$work/horavista" "$build/app/horavista") ;;
        xclock) command=(xclock -update 1 -geometry +0+0) ;;
        qt-floor) command=("$build/bench/minimal_dials" -geometry +0+200) ;;
        qt-floor-text) command=("$build/bench/minimal_dials" --text -geometry +0+520) ;;
        qt-widgets) command=("$build/bench/widget_floor" -geometry +1180+0) ;;
        esac
        read -r map_ms child id < <("$build/bench/mapwait" "${command[@]}")
        pid[$name]=$child
        window[$name]=$id
        results[$name,map]+="$map_ms "
    done
    sleep 2
    for name in "${names[@]}"; do
        start_cpu[$name]=$(cpu_ms "${pid[$name]}")
        start_wakeups[$name]=$(wakeups "${pid[$name]}")
    done
    started=$(date +%s.%N)
    lateness=$("$build/bench/damagewatch" "$seconds" "${window[@]}")
    elapsed=$(awk -v a="$(date +%s.%N)" -v b="$started" 'BEGIN { print a - b }')
    for name in "${names[@]}"; do
        p=${pid[$name]}
        results[$name,cpu]+="$(awk -v a="$(cpu_ms "$p")" -v b="${start_cpu[$name]}" -v t="$elapsed" 'BEGIN { print (a - b) * 60 / t }') "
        results[$name,wake]+="$(awk -v a="$(wakeups "$p")" -v b="${start_wakeups[$name]}" -v t="$elapsed" 'BEGIN { print (a - b) * 60 / t }') "
        read -r _ _ median p95 within _ < <(grep "^${window[$name]} " <<<"$lateness")
        results[$name,median]+="$median "
        results[$name,p95]+="$p95 "
        results[$name,within]+="$within "
        results[$name,peak]+="$(kib "$p" VmHWM) "
        results[$name,rss]+="$(kib "$p" VmRSS) "
        [ "$name" = horavista ] || kill "$p"
    done
    # The same window with a city chosen each second.
    p=${pid[horavista]}
    choosing_cpu=$(cpu_ms "$p")
    choosing_wakeups=$(wakeups "$p")
    started=$(date +%s.%N)
    read -r _ _ median p95 within _ < <("$build/bench/choosewatch" "$choices" "$list_height" "${window[horavista]}")
    elapsed=$(awk -v a="$(date +%s.%N)" -v b="$started" 'BEGIN { print a - b }')
    results[horavista-choosing,cpu]+="$(awk -v a="$(cpu_ms "$p")" -v b="$choosing_cpu" -v t="$elapsed" 'BEGIN { print (a - b) * 60 / t }') "
    results[horavista-choosing,wake]+="$(awk -v a="$(wakeups "$p")" -v b="$choosing_wakeups" -v t="$elapsed" 'BEGIN { print (a - b) * 60 / t }') "
    results[horavista-choosing,median]+="$median "
    results[horavista-choosing,p95]+="$p95 "
    results[horavista-choosing,within]+="$within "
    results[horavista-choosing,peak]+="$(kib "$p" VmHWM) "
    results[horavista-choosing,rss]+="$(kib "$p" VmRSS) "
    kill "$p"
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
    echo "round $round of $rounds done" >&2
done
load_after=$(load)

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The median, and the lowest and highest round in brackets when they differ in the shown precision.
spread() {
    tr ' ' '\n' | grep -v '^$' | sort -g | awk -v f="$1" '
        { v[NR] = $1 }
        END {
            m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            lo = sprintf(f, v[1]); hi = sprintf(f, v[NR])
            printf f, m
            if (lo != hi) printf " (%s–%s)", lo, hi
        }'
}
declare -A m
rows=(horavista horavista-choosing xclock qt-floor qt-floor-text qt-widgets)
for name in "${rows[@]}"; do
    for key in map cpu wake peak rss; do
        if [ -n "${results[$name,$key]:-}" ]; then
            m[$name,$key]=$(echo "${results[$name,$key]}" | median)
        fi
    done
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0) ? "%.2f" : "-", a / b }'; }

echo "Idle over $seconds s under Xvfb, median of $rounds rounds, lowest and highest round in brackets" \
    "($(date -u +%Y-%m-%d), $(nproc) cores, load average $load_before before, $load_after after):"
echo
echo "| program | CPU a minute (ms) | wake-ups a minute | change after the second, median (ms) |" \
    "95th percentile (ms) | seconds changed within 20 ms | peak memory (MB) | final memory (MB) |" \
    "start to mapped window (ms) |"
echo "|---|---|---|---|---|---|---|---|---|"
for name in "${rows[@]}"; do
    echo "| ${label[$name]} | $(echo "${results[$name,cpu]}" | spread %.1f) | $(echo "${results[$name,wake]}" | spread %.0f)" \
        "| $(echo "${results[$name,median]}" | spread %.0f) | $(echo "${results[$name,p95]}" | spread %.0f)" \
        "| $(echo "${results[$name,within]}" | spread %.0f%%)" \
        "| $(awk -v k="${m[$name,peak]}" 'BEGIN { printf "%.1f", k / 1024 }')" \
        "| $(awk -v k="${m[$name,rss]}" 'BEGIN { printf "%.1f", k / 1024 }')" \
        "| $([ -n "${results[$name,map]:-}" ] && printf %.0f "${m[$name,map]}") |"
done
echo
echo "Horavista against xclock: CPU $(ratio "${m[horavista,cpu]}" "${m[xclock,cpu]}")x," \
    "wake-ups $(ratio "${m[horavista,wake]}" "${m[xclock,wake]}")x," \
    "peak memory $(ratio "${m[horavista,peak]}" "${m[xclock,peak]}")x;" \
    "against the Qt floor: CPU $(ratio "${m[horavista,cpu]}" "${m[qt-floor,cpu]}")x," \
    "wake-ups $(ratio "${m[horavista,wake]}" "${m[qt-floor,wake]}")x," \
    "peak memory $(ratio "${m[horavista,peak]}" "${m[qt-floor,peak]}")x," \
    "start to map $(ratio "${m[horavista,map]}" "${m[qt-floor,map]}")x;" \
    "against the window of its kinds of widgets: CPU $(ratio "${m[horavista,cpu]}" "${m[qt-widgets,cpu]}")x," \
    "peak memory $(ratio "${m[horavista,peak]}" "${m[qt-widgets,peak]}")x."
