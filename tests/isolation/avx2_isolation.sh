#!/usr/bin/env bash
# The files compiled for AVX2 may emit their own copies of inline code that the rest of the library
# shares (weak symbols). The linker keeps one copy of each for the whole library, so none of these
# copies may use AVX instructions: on a processor without AVX2 the library would fault wherever it
# ran them. Prints each copy that does, and fails.
set -euo pipefail
status=0
for object in "$@"; do
    shared=$(nm --defined-only "$object" | awk '$2 == "W" || $2 == "V" { print $3 }')
    [ -n "$shared" ] || continue
    found=$(objdump -d --no-show-raw-insn "$object" | awk -v list="$shared" '
        BEGIN { n = split(list, names, "\n"); for (i = 1; i <= n; i++) weak[names[i]] = 1 }
        /^[0-9a-f]+ <.*>:$/ { name = substr($2, 2, length($2) - 3); next }
        (name in weak) && /:\t(v[a-z]|.*%[yz]mm)/ { print name; delete weak[name] }')
    if [ -n "$found" ]; then
        echo "$object: shared code compiled with AVX instructions:"
        echo "$found" | c++filt | sed 's/^/  /'
        status=1
    fi
done
exit $status
