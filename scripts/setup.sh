#!/usr/bin/env bash
# Stratalyser set-up on Debian 12. Installs what is missing (quietly when nothing is), builds,
# then either starts the program or runs every test.
#
#   bash scripts/setup.sh run     release build, then start Stratalyser with the demonstration core
#                                 (or with the arguments given after "run", for example a radiograph)
#   bash scripts/setup.sh test    build with AddressSanitizer + UBSan, run every test (CTest)
#   bash scripts/setup.sh bench   release build, run stratalyser-bench
#   bash scripts/setup.sh fuzz [SECONDS | long]
#                                 clang + libFuzzer build of the fuzz targets, each run SECONDS
#                                 (default 60) from the seeds in fuzz/corpus, or with "long" until
#                                 10 million executions each; a crash, leak, timeout (5 s) or
#                                 running out of memory (2 GB) fails the command
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

PACKAGES=(cmake ninja-build g++ pkgconf qt6-base-dev qt6-image-formats-plugins libgtest-dev libbenchmark-dev
          fonts-dejavu-core xvfb xauth)
JOBS=$(nproc 2>/dev/null || echo 2)

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
        install_missing
        build build/release -DCMAKE_BUILD_TYPE=Release -DSTRATALYSER_TESTS=OFF -DSTRATALYSER_BENCH=ON
        exec build/release/bin/stratalyser-bench --benchmark_min_time=0.5
        ;;
    fuzz)
        PACKAGES+=(clang)
        install_missing
        limit=(-max_total_time="${2:-60}")
        [ "${2:-}" = long ] && limit=(-runs=10000000)
        CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DSTRATALYSER_FUZZ=ON -DSTRATALYSER_TESTS=OFF -DSTRATALYSER_BENCH=OFF >/dev/null
        # ProgramImport (the import into the whole program) is replayed by the tests only, for now: it
        # makes every window anew for each input, about 3 executions a second.
        targets=(FieldReader Settings XrfImport ImageHeader)
        # Longest input per target: room for every seed's structure (the settings file's 100 rows,
        # an XRF table's header and rows) while keeping executions fast.
        declare -A max_len=([FieldReader]=2048 [Settings]=4096 [XrfImport]=4096 [ImageHeader]=4096)
        cmake --build build/fuzz -j "$JOBS" --target "${targets[@]/#/fuzz-}"
        mkdir -p build/fuzz/crashes
        for target in "${targets[@]}"; do
            work=build/fuzz/corpus/$target
            log=build/fuzz/$target.log
            mkdir -p "$work"
            echo "fuzz-$target: ${limit[*]}"
            status=0
            seeds=("fuzz/corpus/$target")  # and the inputs that once made it fail
            [ -d "fuzz/regressions/$target" ] && seeds+=("fuzz/regressions/$target")
            build/fuzz/bin/fuzz-"$target" "$work" "${seeds[@]}" "${limit[@]}" \
                -timeout=5 -rss_limit_mb=2048 -max_len="${max_len[$target]}" -print_final_stats=1 \
                -artifact_prefix=build/fuzz/crashes/"$target"- >"$log" 2>&1 || status=$?
            grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb|SUMMARY)|^#[0-9]+ +DONE' "$log" || true
            if [ "$status" -ne 0 ]; then
                tail -40 "$log" >&2
                echo "fuzz-$target failed (exit $status): the input is in build/fuzz/crashes" >&2
                exit 1
            fi
        done
        ;;
    *)
        echo "usage: bash scripts/setup.sh run|test|bench|fuzz" >&2
        exit 2
        ;;
esac
