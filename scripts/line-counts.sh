#!/usr/bin/env bash
# Non-blank, non-comment lines of C++ in the program's source (src/) and in its tests (tests/), and
# the tests' share of the source: the tests are kept at most at 35 % of it.
#   bash scripts/line-counts.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

code_lines() {  # code_lines <folder>: lines with code once // and /* */ comments are taken out
    find "$1" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 cat | awk '
        {
            line = $0; out = ""
            while (length(line) > 0) {
                if (inBlock) {
                    end = index(line, "*/")
                    if (end == 0) { line = ""; break }
                    line = substr(line, end + 2); inBlock = 0
                    continue
                }
                # The first comment opener outside a string literal.
                n = length(line); quote = 0; cut = 0
                for (i = 1; i <= n; i++) {
                    c = substr(line, i, 1)
                    if (quote) { if (c == "\\") i++; else if (c == "\"") quote = 0; continue }
                    if (c == "\"") { quote = 1; continue }
                    if (c == "\x27") { i += (substr(line, i + 1, 1) == "\\") ? 3 : 2; continue }
                    two = substr(line, i, 2)
                    if (two == "//") { cut = i; kind = "line"; break }
                    if (two == "/*") { cut = i; kind = "block"; break }
                }
                if (!cut) { out = out line; break }
                out = out substr(line, 1, cut - 1)
                if (kind == "line") break
                line = substr(line, cut + 2); inBlock = 1
            }
            if (out ~ /[^ \t\r]/) count++
        }
        END { print count + 0 }'
}

source=$(code_lines src)
tests=$(code_lines tests)
echo "source (src/):  $source lines"
echo "tests (tests/): $tests lines"
awk -v t="$tests" -v s="$source" 'BEGIN {
    printf "tests / source: %.2f %%\n", 100 * t / s
    cap = int(0.35 * s)
    if (t <= cap) printf "within the 35 %% cap (%d lines at most; %d to spare)\n", cap, cap - t
    else printf "over the 35 %% cap (%d lines at most; %d too many)\n", cap, t - cap
}'
