#!/usr/bin/env bash
# The idle cost of the running clock under Xvfb, side by side in one run with `xclock -update 1`
# and a minimal Qt Widgets window redrawing two dials twice a second (the floor for the toolkit);
# the same window writing the two times as digits shows what text alone adds.
#
# For each program: milliseconds from start to its mapped window, CPU time used over the idle
# window that follows, peak and final resident memory. Medians over the rounds, as a Markdown table.
#
# Usage: bench/idle/idle.sh [seconds per round, 60] [rounds, 3]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
seconds=${1:-60}
rounds=${2:-3}
build="$top/build/bench"

"$top/scripts/setup.sh"
tools=(x11-apps libx11-dev)
for package in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >/dev/null
done
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHORAVISTA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target horavista minimal_dials mapwait >/dev/null

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/horavista"
cp "$top/assets/icon/ico.ico" "$work/horavista/"
export XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb

# A display number of its own, clear of the ones xvfb-run hands out from 99 up.
n=300
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
display=":$n"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# CPU time of every thread of the process, in milliseconds, to the nanosecond the scheduler counts.
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%.3f", ns / 1e6 }'; }
kib() { awk -v k="$2" '$1 == k":" { print $2 }' "/proc/$1/status"; }

names=(horavista xclock qt-floor qt-floor-text)
declare -A results
for round in $(seq "$rounds"); do
    declare -A pid start_cpu
    for name in "${names[@]}"; do
        case $name in
        horavista) command=(env -C "$work/horavista" "$build/app/horavista") ;;
        xclock) command=(xclock -update 1) ;;
        qt-floor) command=("$build/bench/minimal_dials") ;;
        qt-floor-text) command=("$build/bench/minimal_dials" --text) ;;
        esac
        read -r map_ms child < <("$build/bench/mapwait" "${command[@]}")
        pid[$name]=$child
        start_cpu[$name]=$(cpu_ms "$child")
        results[$name,map]+="$map_ms "
    done
    sleep "$seconds"
    for name in "${names[@]}"; do
        p=${pid[$name]}
        results[$name,cpu]+="$(awk -v a="$(cpu_ms "$p")" -v b="${start_cpu[$name]}" 'BEGIN { print a - b }') "
        results[$name,peak]+="$(kib "$p" VmHWM) "
        results[$name,rss]+="$(kib "$p" VmRSS) "
        kill "$p"
    done
    echo "round $round of $rounds done" >&2
done

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
declare -A m
for name in "${names[@]}"; do
    for key in map cpu peak rss; do
        m[$name,$key]=$(echo "${results[$name,$key]}" | median)
    done
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0) ? "%.2f" : "-", a / b }'; }

echo "Idle over $seconds s under Xvfb, median of $rounds rounds ($(date -u +%Y-%m-%d), $(nproc) cores):"
echo
echo "| program | CPU in $seconds s (ms) | peak memory (MB) | final memory (MB) | start to mapped window (ms) |"
echo "|---|---|---|---|---|"
for name in "${names[@]}"; do
    printf '| %s | %.2f | %.1f | %.1f | %.0f |\n' "$name" "${m[$name,cpu]}" \
        "$(awk -v k="${m[$name,peak]}" 'BEGIN { print k / 1024 }')" \
        "$(awk -v k="${m[$name,rss]}" 'BEGIN { print k / 1024 }')" "${m[$name,map]}"
done
echo
echo "Horavista against xclock: CPU $(ratio "${m[horavista,cpu]}" "${m[xclock,cpu]}")x," \
    "peak memory $(ratio "${m[horavista,peak]}" "${m[xclock,peak]}")x;" \
    "against the Qt floor: CPU $(ratio "${m[horavista,cpu]}" "${m[qt-floor,cpu]}")x," \
    "peak memory $(ratio "${m[horavista,peak]}" "${m[qt-floor,peak]}")x," \
    "start to map $(ratio "${m[horavista,map]}" "${m[qt-floor,map]}")x."
