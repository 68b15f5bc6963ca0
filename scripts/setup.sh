#!/usr/bin/env bash
# Stratalyser set-up on Debian 12. Installs what is missing (quietly when nothing is), builds,
# then either starts the program or runs every test.
#
#   bash scripts/setup.sh run     release build, then start Stratalyser with the demonstration core
#                                 (or with the arguments given after "run", for example a radiograph)
#   bash scripts/setup.sh test    build with AddressSanitizer + UBSan, run every test (CTest)
#   bash scripts/setup.sh bench   release build, run stratalyser-bench
#   bash scripts/setup.sh package release build, then a Debian package of it in build/package/
#                                 (install it with: apt install ./build/package/stratalyser_*.deb)
#   bash scripts/setup.sh manual  the manual's screenshots (docs/images) made again from the
#                                 demonstration core by the program's own grab tool
#   bash scripts/setup.sh fuzz [SECONDS | long] [TARGET...]
#                                 clang + libFuzzer build of the fuzz targets, each run SECONDS
#                                 (default 60) from the seeds in fuzz/corpus, or with "long" until
#                                 10 million executions or an hour each; a crash, leak, timeout (5 s) or
#                                 running out of memory (2 GB) fails the command; targets run
#                                 as many at once as there are cores
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

PACKAGES=(cmake ninja-build g++ pkgconf qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libgtest-dev libbenchmark-dev
          fonts-dejavu-core xvfb xauth)
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}  # JOBS=1 leaves a core free while fuzzing

install_missing() {
    local missing=() p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

build() {  # build <dir> <cmake options...>
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

case "${1:-}" in
    run)
        install_missing
        build build/release -DCMAKE_BUILD_TYPE=Release -DSTRATALYSER_TESTS=OFF -DSTRATALYSER_BENCH=OFF
        shift
        if (($# == 0)); then set -- --demo; fi
        exec build/release/bin/stratalyser "$@"
        ;;
    test)
        install_missing
        build build/asan -DCMAKE_BUILD_TYPE=Debug -DSTRATALYSER_SANITIZE=ON -DSTRATALYSER_BENCH=OFF
        cd build/asan
        exec ctest --output-on-failure --timeout 600
        ;;
    bench)
        PACKAGES+=(python3-pandas)  # the XRF import is timed against pandas.read_csv of the same table
        install_missing
        build build/release -DCMAKE_BUILD_TYPE=Release -DSTRATALYSER_TESTS=OFF -DSTRATALYSER_BENCH=ON
        exec build/release/bin/stratalyser-bench --benchmark_min_time=0.5
        ;;
    package)
        install_missing
        build build/release -DCMAKE_BUILD_TYPE=Release -DSTRATALYSER_TESTS=OFF -DSTRATALYSER_BENCH=OFF \
            -DCMAKE_INSTALL_PREFIX=/usr
        cpack -G DEB -B "$PWD/build/package" --config build/release/CPackConfig.cmake
        rm -rf build/package/_CPack_Packages
        ls build/package/*.deb
        ;;
    manual)
        PACKAGES+=(openbox imagemagick)  # window captions in the screenshots; palette PNGs
        install_missing
        cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTRATALYSER_SANITIZE=ON \
            -DSTRATALYSER_BENCH=OFF >/dev/null
        cmake --build build/asan -j "$JOBS" --target stratalyser-grab stratalyser
        exec bash scripts/manual-screenshots.sh build/asan/bin/stratalyser-grab docs/images
        ;;
    fuzz)
        PACKAGES+=(clang)
        install_missing
        shift
        limit=(-max_total_time="${1:-60}")
        [ "${1:-}" = long ] && limit=(-runs=10000000 -max_total_time=3600)
        (($# > 0)) && shift
        CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DSTRATALYSER_FUZZ=ON -DSTRATALYSER_TESTS=OFF -DSTRATALYSER_BENCH=OFF >/dev/null
        # The targets, their longest input and their seed folders: fuzz/targets.txt; the names
        # after SECONDS or "long" choose some of them.
        mapfile -t lines < <(grep -E '^[A-Za-z]' fuzz/targets.txt)
        chosen=() programs=()
        for line in "${lines[@]}"; do
            name=${line%% *}
            if (($# == 0)) || [[ " $* " == *" $name "* ]]; then
                chosen+=("$line")
                programs+=("fuzz-$name")
            fi
        done
        cmake --build build/fuzz -j "$JOBS" --target "${programs[@]}"
        mkdir -p build/fuzz/crashes
        # Fontconfig keeps its caches to the end of the process (an input that first draws some
        # text seems to leak them); the Qt objects the tests' list names likewise.
        export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
        run_target() {  # run_target <line of targets.txt>
            local target max_len kind folders work log seeds longest status=0
            read -r target max_len kind folders <<<"$1"
            work=$PWD/build/fuzz/corpus/$target
            log=build/fuzz/$target.log
            mkdir -p "$work"
            seeds=("$PWD/fuzz/corpus/$target")  # and the inputs that once made it fail
            [ -d "fuzz/regressions/$target" ] && seeds+=("$PWD/fuzz/regressions/$target")
            for folder in $folders; do seeds+=("$PWD/$folder"); done
            # A seed longer than the longest input would be cut when it is loaded.
            longest=$(find "${seeds[@]}" -type f -printf '%s\n' | sort -n | tail -1)
            ((longest > max_len)) && max_len=$longest
            build/fuzz/bin/fuzz-"$target" "$work" "${seeds[@]}" "${limit[@]}" \
                -timeout=5 -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1 \
                -artifact_prefix="$PWD/build/fuzz/crashes/$target-" >"$log" 2>&1 || status=$?
            {
                echo "fuzz-$target ($kind, ${limit[*]}, -max_len=$max_len): exit $status"
                grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb|SUMMARY)|^#[0-9]+ +DONE' "$log" || true
                if [ "$status" -ne 0 ]; then
                    grep -v 'This plugin does not support' "$log" | tail -40
                    echo "fuzz-$target failed: the input is in build/fuzz/crashes"
                fi
            } >"$log.summary"
            return "$status"
        }
        # As many targets at once as there are cores; each reports when it ends.
        failed=0
        running=0
        for line in "${chosen[@]}"; do
            if ((running >= JOBS)); then
                wait -n || failed=1
                running=$((running - 1))
            fi
            (run_target "$line"; status=$?; cat "build/fuzz/${line%% *}.log.summary"; exit $status) &
            running=$((running + 1))
        done
        while ((running > 0)); do
            wait -n || failed=1
            running=$((running - 1))
        done
        ((failed == 0)) || { echo "a fuzz target failed: see above" >&2; exit 1; }
        ;;
    *)
        echo "usage: bash scripts/setup.sh run|test|bench|package|manual|fuzz" >&2
        exit 2
        ;;
esac
